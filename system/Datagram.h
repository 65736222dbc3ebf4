// UDP datagrams to a program on this PC or on the network: the keyer daemon (cwdaemon) and the
// QSO announcements other programs listen for. Sending never waits for the peer; a peer that is
// not there costs nothing but the datagram. The calls are the system's own, one file per system
// (DatagramPosix.cpp, DatagramWindows.cpp).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "system/Socket.h"

namespace keldra {

class DatagramSocket {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  DatagramSocket() = default;
  ~DatagramSocket() { Close(); }
  DatagramSocket(const DatagramSocket&) = delete;
  DatagramSocket& operator=(const DatagramSocket&) = delete;

  // Resolves `host` (a name or an address, IPv4 or IPv6) and keeps the first address as the one
  // every Send goes to.
  SocketFailure Open(const std::string& host, int port);
  // Listens on `port` of the loopback interface (0: a free one, then told by Port()): the tests'
  // listeners, and a daemon's answers.
  SocketFailure Bind(int port);
  int Port() const { return port_; }
  // One datagram to the opened peer (at most 65,507 bytes).
  SocketFailure Send(std::string_view bytes);
  // One datagram that arrived before the deadline, in `into` (replaced).
  SocketFailure Receive(std::string& into, Deadline deadline);
  void Close();
  bool IsOpen() const { return handle_ != kNoSocket; }

 private:
  static constexpr std::intptr_t kNoSocket = -1;
  std::intptr_t handle_ = kNoSocket;
  int port_ = 0;
};

}  // namespace keldra

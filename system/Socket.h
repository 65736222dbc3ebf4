// A TCP connection to a daemon on this PC or on the network (Hamlib's rigctld and rotctld), with
// every wait bounded by a deadline: a peer that stalls costs its caller one time-out, never more.
// The calls are the system's own, one file per system (SocketPosix.cpp, SocketWindows.cpp); what
// each function means is the same on both.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace keldra {

enum class SocketFailure { kNone, kUnknownHost, kRefused, kTimedOut, kClosed, kOther };

class TcpSocket {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  TcpSocket() = default;
  ~TcpSocket() { Close(); }
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // Tries each address of `host` in turn ("localhost" may be IPv6 and IPv4) until one accepts.
  SocketFailure Connect(const std::string& host, int port, Deadline deadline);
  SocketFailure Send(std::string_view bytes, Deadline deadline);
  // Appends what arrives, at least one byte, or says why nothing did before the deadline.
  SocketFailure Receive(std::string& into, Deadline deadline);
  void Close();
  bool IsOpen() const { return handle_ != kNoSocket; }

 private:
  // An int descriptor on POSIX, a SOCKET (an unsigned pointer-sized handle) on Windows.
  static constexpr std::intptr_t kNoSocket = -1;
  std::intptr_t handle_ = kNoSocket;
};

// A loopback TCP port that no program listens on now, for a daemon this program starts; 0 when
// the system gives none.
int FreeLoopbackPort();

}  // namespace keldra

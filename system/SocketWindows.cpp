// The socket calls of Windows (Winsock 2, ws2_32.dll, part of every Windows).
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <mutex>

#include "system/Datagram.h"
#include "system/Socket.h"

namespace keldra {
namespace {

// Winsock must be started once per process before its first call; it stays up until the end.
bool WinsockReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    WSADATA data{};
    ready = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  });
  return ready;
}

timeval TimeLeft(TcpSocket::Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
      deadline - std::chrono::steady_clock::now());
  const long long micros = std::clamp<long long>(left.count(), 0, 60'000'000);
  return {static_cast<long>(micros / 1'000'000), static_cast<long>(micros % 1'000'000)};
}

// Waits until the socket can be read (or written, or a connect failed); false when the deadline
// passed first. select() rather than WSAPoll, which does not report a refused connect on older
// Windows 10 releases.
bool WaitFor(SOCKET s, bool write, TcpSocket::Deadline deadline) {
  fd_set ready;
  fd_set failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(s, &ready);
  FD_SET(s, &failed);
  timeval left = TimeLeft(deadline);
  return select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &left) > 0;
}

SocketFailure FailureOf(int error) {
  switch (error) {
    case WSAECONNREFUSED:
      return SocketFailure::kRefused;
    case WSAETIMEDOUT:
      return SocketFailure::kTimedOut;
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAESHUTDOWN:
      return SocketFailure::kClosed;
    default:
      return SocketFailure::kOther;
  }
}

SocketFailure ConnectOne(const addrinfo& address, TcpSocket::Deadline deadline, SOCKET& opened) {
  // Not inherited: a program the logger starts must not keep the daemon's connection alive.
  const SOCKET s = WSASocketW(address.ai_family, address.ai_socktype, address.ai_protocol, nullptr,
                              0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
  if (s == INVALID_SOCKET) {
    return FailureOf(WSAGetLastError());
  }
  u_long non_blocking = 1;
  ioctlsocket(s, FIONBIO, &non_blocking);
  int error = 0;
  if (connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
    error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      if (!WaitFor(s, true, deadline)) {
        closesocket(s);
        return SocketFailure::kTimedOut;
      }
      int size = sizeof error;
      getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    }
  }
  if (error != 0) {
    closesocket(s);
    return FailureOf(error);
  }
  // Commands are one short line each: sent at once, not held back to fill a packet.
  const BOOL yes = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes), sizeof yes);
  opened = s;
  return SocketFailure::kNone;
}

}  // namespace

SocketFailure TcpSocket::Connect(const std::string& host, int port, Deadline deadline) {
  Close();
  if (!WinsockReady()) {
    return SocketFailure::kOther;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    return SocketFailure::kUnknownHost;
  }
  // IPv4 first: the daemons listen on IPv4 unless told otherwise, and a refused attempt on "::1"
  // costs Windows about two seconds.
  SocketFailure failure = SocketFailure::kUnknownHost;
  for (const bool ipv4 : {true, false}) {
    for (const addrinfo* address = found; address != nullptr && failure != SocketFailure::kNone;
         address = address->ai_next) {
      if ((address->ai_family == AF_INET) == ipv4) {
        SOCKET opened = INVALID_SOCKET;
        // "Refused" or "no answer" tells more than an address family this PC has no network for.
        const SocketFailure tried = ConnectOne(*address, deadline, opened);
        if (failure == SocketFailure::kUnknownHost || tried != SocketFailure::kOther) {
          failure = tried;
        }
        if (failure == SocketFailure::kNone) {
          handle_ = static_cast<std::intptr_t>(opened);
        }
      }
    }
  }
  freeaddrinfo(found);
  return failure;
}

SocketFailure TcpSocket::Send(std::string_view bytes, Deadline deadline) {
  const auto s = static_cast<SOCKET>(handle_);
  while (!bytes.empty()) {
    const int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 16));
    const int sent = send(s, bytes.data(), chunk, 0);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
    } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
      if (!WaitFor(s, true, deadline)) {
        return SocketFailure::kTimedOut;
      }
    } else {
      return FailureOf(WSAGetLastError());
    }
  }
  return SocketFailure::kNone;
}

SocketFailure TcpSocket::Receive(std::string& into, Deadline deadline) {
  const auto s = static_cast<SOCKET>(handle_);
  char buffer[4096];
  while (true) {
    const int got = recv(s, buffer, sizeof buffer, 0);
    if (got > 0) {
      into.append(buffer, static_cast<size_t>(got));
      return SocketFailure::kNone;
    }
    if (got == 0) {
      return SocketFailure::kClosed;
    }
    if (const int error = WSAGetLastError(); error != WSAEWOULDBLOCK) {
      return FailureOf(error);
    }
    if (!WaitFor(s, false, deadline)) {
      return SocketFailure::kTimedOut;
    }
  }
}

void TcpSocket::Close() {
  if (handle_ != kNoSocket) {
    closesocket(static_cast<SOCKET>(handle_));
    handle_ = kNoSocket;
  }
}

// UDP: the same calls on a datagram socket.

SocketFailure DatagramSocket::Open(const std::string& host, int port) {
  Close();
  if (!WinsockReady()) {
    return SocketFailure::kOther;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    return SocketFailure::kUnknownHost;
  }
  SocketFailure failure = SocketFailure::kUnknownHost;
  // IPv4 first, as for the daemons: the listeners of contest programs bind IPv4.
  for (const bool ipv4 : {true, false}) {
    for (const addrinfo* address = found; address != nullptr && handle_ == kNoSocket;
         address = address->ai_next) {
      if ((address->ai_family == AF_INET) != ipv4) {
        continue;
      }
      const SOCKET s = WSASocketW(address->ai_family, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0,
                                  WSA_FLAG_NO_HANDLE_INHERIT);
      if (s == INVALID_SOCKET) {
        failure = FailureOf(WSAGetLastError());
        continue;
      }
      u_long non_blocking = 1;
      ioctlsocket(s, FIONBIO, &non_blocking);
      if (connect(s, address->ai_addr, static_cast<int>(address->ai_addrlen)) != 0) {
        failure = FailureOf(WSAGetLastError());
        closesocket(s);
      } else {
        handle_ = static_cast<std::intptr_t>(s);
        port_ = port;
        failure = SocketFailure::kNone;
      }
    }
  }
  freeaddrinfo(found);
  return failure;
}

SocketFailure DatagramSocket::Bind(int port) {
  Close();
  if (!WinsockReady()) {
    return SocketFailure::kOther;
  }
  const SOCKET s =
      WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
  if (s == INVALID_SOCKET) {
    return FailureOf(WSAGetLastError());
  }
  u_long non_blocking = 1;
  ioctlsocket(s, FIONBIO, &non_blocking);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  if (bind(s, reinterpret_cast<const sockaddr*>(&address), size) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    const SocketFailure failure = FailureOf(WSAGetLastError());
    closesocket(s);
    return failure;
  }
  handle_ = static_cast<std::intptr_t>(s);
  port_ = ntohs(address.sin_port);
  return SocketFailure::kNone;
}

SocketFailure DatagramSocket::Send(std::string_view bytes) {
  if (handle_ == kNoSocket) {
    return SocketFailure::kClosed;
  }
  // A datagram goes whole or not at all; a full send buffer drops it, as the network may.
  if (send(static_cast<SOCKET>(handle_), bytes.data(), static_cast<int>(bytes.size()), 0) ==
      SOCKET_ERROR) {
    return FailureOf(WSAGetLastError());
  }
  return SocketFailure::kNone;
}

SocketFailure DatagramSocket::Receive(std::string& into, Deadline deadline) {
  if (handle_ == kNoSocket) {
    return SocketFailure::kClosed;
  }
  const auto s = static_cast<SOCKET>(handle_);
  into.resize(65536);
  while (true) {
    const int got = recv(s, into.data(), static_cast<int>(into.size()), 0);
    if (got >= 0) {
      into.resize(static_cast<size_t>(got));
      return SocketFailure::kNone;
    }
    // A datagram the peer refused (ICMP port unreachable) shows as WSAECONNRESET on the next
    // receive; it says nothing about what may still arrive.
    if (const int error = WSAGetLastError(); error != WSAEWOULDBLOCK && error != WSAECONNRESET) {
      into.clear();
      return FailureOf(error);
    }
    if (!WaitFor(s, false, deadline)) {
      into.clear();
      return SocketFailure::kTimedOut;
    }
  }
}

void DatagramSocket::Close() {
  if (handle_ != kNoSocket) {
    closesocket(static_cast<SOCKET>(handle_));
    handle_ = kNoSocket;
  }
}

int FreeLoopbackPort() {
  const SOCKET s = WinsockReady() ? socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : INVALID_SOCKET;
  if (s == INVALID_SOCKET) {
    return 0;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  // Port 0: the system picks one of its free ports.
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  closesocket(s);
  return port;
}

}  // namespace keldra

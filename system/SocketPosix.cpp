// The socket calls of Linux and the other POSIX systems.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "system/Datagram.h"
#include "system/Socket.h"

namespace keldra {
namespace {

// Milliseconds left before the deadline, for poll(); never negative.
int MillisLeft(TcpSocket::Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 60'000));
}

// Waits until the socket can be read (or written); false when the deadline passed first.
bool WaitFor(int socket, short events, TcpSocket::Deadline deadline) {
  while (true) {
    pollfd entry{socket, events, 0};
    const int ready = poll(&entry, 1, MillisLeft(deadline));
    if (ready > 0) {
      return true;
    }
    if (ready == 0 || errno != EINTR) {
      return false;
    }
  }
}

SocketFailure FailureOf(int error) {
  switch (error) {
    case ECONNREFUSED:
      return SocketFailure::kRefused;
    case ETIMEDOUT:
      return SocketFailure::kTimedOut;
    case ECONNRESET:
    case EPIPE:
      return SocketFailure::kClosed;
    default:
      return SocketFailure::kOther;
  }
}

SocketFailure ConnectOne(const addrinfo& address, TcpSocket::Deadline deadline, int& opened) {
  const int s = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                       address.ai_protocol);
  if (s < 0) {
    return FailureOf(errno);
  }
  int error = 0;
  if (connect(s, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      if (!WaitFor(s, POLLOUT, deadline)) {
        close(s);
        return SocketFailure::kTimedOut;
      }
      socklen_t size = sizeof error;
      getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size);
    }
  }
  if (error != 0) {
    close(s);
    return FailureOf(error);
  }
  // Commands are one short line each: sent at once, not held back to fill a packet.
  const int yes = 1;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  opened = s;
  return SocketFailure::kNone;
}

}  // namespace

SocketFailure TcpSocket::Connect(const std::string& host, int port, Deadline deadline) {
  Close();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
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
        int opened = -1;
        // "Refused" or "no answer" tells more than an address family this PC has no network for.
        const SocketFailure tried = ConnectOne(*address, deadline, opened);
        if (failure == SocketFailure::kUnknownHost || tried != SocketFailure::kOther) {
          failure = tried;
        }
        if (failure == SocketFailure::kNone) {
          handle_ = opened;
        }
      }
    }
  }
  freeaddrinfo(found);
  return failure;
}

SocketFailure TcpSocket::Send(std::string_view bytes, Deadline deadline) {
  const int s = static_cast<int>(handle_);
  while (!bytes.empty()) {
    const ssize_t sent = send(s, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
    } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
      if (!WaitFor(s, POLLOUT, deadline)) {
        return SocketFailure::kTimedOut;
      }
    } else {
      return FailureOf(errno);
    }
  }
  return SocketFailure::kNone;
}

SocketFailure TcpSocket::Receive(std::string& into, Deadline deadline) {
  const int s = static_cast<int>(handle_);
  char buffer[4096];
  while (true) {
    const ssize_t got = recv(s, buffer, sizeof buffer, 0);
    if (got > 0) {
      into.append(buffer, static_cast<size_t>(got));
      return SocketFailure::kNone;
    }
    if (got == 0) {
      return SocketFailure::kClosed;
    }
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      return FailureOf(errno);
    }
    if (!WaitFor(s, POLLIN, deadline)) {
      return SocketFailure::kTimedOut;
    }
  }
}

void TcpSocket::Close() {
  if (handle_ != kNoSocket) {
    close(static_cast<int>(handle_));
    handle_ = kNoSocket;
  }
}

// UDP: the same calls on a datagram socket.

SocketFailure DatagramSocket::Open(const std::string& host, int port) {
  Close();
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
      const int s = socket(address->ai_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
      if (s < 0) {
        failure = FailureOf(errno);
      } else if (connect(s, address->ai_addr, address->ai_addrlen) != 0) {
        failure = FailureOf(errno);
        close(s);
      } else {
        handle_ = s;
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
  const int s = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s < 0) {
    return FailureOf(errno);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(s, reinterpret_cast<const sockaddr*>(&address), size) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    const SocketFailure failure = FailureOf(errno);
    close(s);
    return failure;
  }
  handle_ = s;
  port_ = ntohs(address.sin_port);
  return SocketFailure::kNone;
}

SocketFailure DatagramSocket::Send(std::string_view bytes) {
  if (handle_ == kNoSocket) {
    return SocketFailure::kClosed;
  }
  // A datagram goes whole or not at all; a full send buffer drops it, as the network may.
  if (send(static_cast<int>(handle_), bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0) {
    return FailureOf(errno);
  }
  return SocketFailure::kNone;
}

SocketFailure DatagramSocket::Receive(std::string& into, Deadline deadline) {
  if (handle_ == kNoSocket) {
    return SocketFailure::kClosed;
  }
  const int s = static_cast<int>(handle_);
  into.resize(65536);
  while (true) {
    const ssize_t got = recv(s, into.data(), into.size(), 0);
    if (got >= 0) {
      into.resize(static_cast<size_t>(got));
      return SocketFailure::kNone;
    }
    // A datagram the peer refused (ICMP port unreachable) shows as ECONNREFUSED on the next
    // receive; it says nothing about what may still arrive.
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNREFUSED) {
      into.clear();
      return FailureOf(errno);
    }
    if (!WaitFor(s, POLLIN, deadline)) {
      into.clear();
      return SocketFailure::kTimedOut;
    }
  }
}

void DatagramSocket::Close() {
  if (handle_ != kNoSocket) {
    close(static_cast<int>(handle_));
    handle_ = kNoSocket;
  }
}

int FreeLoopbackPort() {
  const int s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s < 0) {
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
  close(s);
  return port;
}

}  // namespace keldra

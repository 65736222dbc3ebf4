#include <winsock2.h>
#include <ws2tcpip.h>

#include "Loopback.h"

namespace keldra::testing::loopback {
namespace {

SOCKET S(Fd fd) { return static_cast<SOCKET>(fd); }

bool Ready(Fd fd, int timeout_ms) {
  WSAPOLLFD p{S(fd), POLLRDNORM, 0};
  return WSAPoll(&p, 1, timeout_ms) > 0;
}

}  // namespace

Fd Listen(int& port) {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int size = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  listen(s, 8);
  return static_cast<Fd>(s);
}

Fd Accept(Fd listener, int timeout_ms) {
  if (!Ready(listener, timeout_ms)) {
    return kNone;
  }
  const SOCKET s = accept(S(listener), nullptr, nullptr);
  return s == INVALID_SOCKET ? kNone : static_cast<Fd>(s);
}

int Receive(Fd fd, std::string& into, int timeout_ms) {
  if (!Ready(fd, timeout_ms)) {
    return -1;
  }
  char buffer[4096];
  const int got = recv(S(fd), buffer, sizeof buffer, 0);
  if (got <= 0) {
    return 0;
  }
  into.append(buffer, static_cast<std::size_t>(got));
  return got;
}

bool SendAll(Fd fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const int sent = send(S(fd), bytes.data(), static_cast<int>(bytes.size()), 0);
    if (sent <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

void Close(Fd fd) {
  if (fd != kNone) {
    shutdown(S(fd), SD_BOTH);
    closesocket(S(fd));
  }
}

}  // namespace keldra::testing::loopback

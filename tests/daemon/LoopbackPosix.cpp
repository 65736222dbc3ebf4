#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "Loopback.h"

namespace keldra::testing::loopback {
namespace {

bool Ready(Fd fd, int timeout_ms) {
  pollfd p{static_cast<int>(fd), POLLIN, 0};
  return poll(&p, 1, timeout_ms) > 0;
}

}  // namespace

Fd Listen(int& port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  listen(s, 8);
  return s;
}

Fd Accept(Fd listener, int timeout_ms) {
  return Ready(listener, timeout_ms) ? accept(static_cast<int>(listener), nullptr, nullptr) : kNone;
}

int Receive(Fd fd, std::string& into, int timeout_ms) {
  if (!Ready(fd, timeout_ms)) {
    return -1;
  }
  char buffer[4096];
  const ssize_t got = recv(static_cast<int>(fd), buffer, sizeof buffer, 0);
  if (got <= 0) {
    return 0;
  }
  into.append(buffer, static_cast<std::size_t>(got));
  return static_cast<int>(got);
}

bool SendAll(Fd fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(static_cast<int>(fd), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

void Close(Fd fd) {
  if (fd != kNone) {
    shutdown(static_cast<int>(fd), SHUT_RDWR);
    close(static_cast<int>(fd));
  }
}

}  // namespace keldra::testing::loopback

#include "Host.h"

#include <chrono>
#include <random>
#include <thread>

#include "system/Socket.h"

namespace keldra::testing {

bool Listening(int port) {
  TcpSocket socket;
  return socket.Connect("127.0.0.1", port,
                        std::chrono::steady_clock::now() + std::chrono::milliseconds(300)) ==
         SocketFailure::kNone;
}

int FreePort() {
  std::random_device seed;
  // Below the ports Linux (32768 up) and Windows (49152 up) hand out to outgoing connections, so
  // that no connection of the test itself holds the daemon's port.
  std::uniform_int_distribution<int> ports(20000, 32767);
  int port = ports(seed);
  while (Listening(port)) {
    port = ports(seed);
  }
  return port;
}

namespace {

void WaitUntil(bool listening, int port) {
  for (int i = 0; i < 200 && Listening(port) != listening; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

}  // namespace

HostDaemon::HostDaemon(std::string program, int port, std::string options)
    : program_(std::move(program)),
      port_(port),
      options_(std::move(options)),
      pid_file_("/tmp/keldra-test-" + program_ + "-" + std::to_string(port) + ".pid") {
  Start();
}

HostDaemon::~HostDaemon() { Kill(); }

void HostDaemon::Start() {
  OnHost(program_ + " -m 1 " + options_ + " -T 127.0.0.1 -t " + std::to_string(port_) +
         " >/dev/null 2>&1 & echo $! >" + pid_file_);
  WaitUntil(true, port_);
}

void HostDaemon::Kill() {
  OnHost("kill -9 $(cat " + pid_file_ + ") && rm -f " + pid_file_);
  WaitUntil(false, port_);
}

void HostDaemon::Pause() {
  OnHost("kill -STOP $(cat " + pid_file_ + ")");
  // A stopped process gives no sign on its port; the signal is delivered well within this.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

void HostDaemon::Resume() { OnHost("kill -CONT $(cat " + pid_file_ + ")"); }

}  // namespace keldra::testing

// For tests and benchmarks of the device links: Hamlib's daemons (rigctld, rotctld) on a free
// loopback port, a daemon that accepts and then answers late or never.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/EventPump.h"

extern char** environ;

namespace keldra::testing {

// A port nobody listens on now.
inline int FreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  close(s);
  return ntohs(address.sin_port);
}

inline bool Listening(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool up = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(s);
  return up;
}

inline bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// rigctld or rotctld with the dummy device, killed at the end of the test.
class Daemon {
 public:
  // `options` go on its command line ({"-P", "RIG"}: the dummy rig keys its own PTT); its
  // standard error goes to `log` when one is given.
  Daemon(std::string program, int port, std::vector<std::string> options = {}, std::string log = {})
      : program_(std::move(program)),
        port_(port),
        options_(std::move(options)),
        log_(std::move(log)) {
    Start();
  }
  ~Daemon() { Kill(); }
  Daemon(const Daemon&) = delete;
  Daemon& operator=(const Daemon&) = delete;

  void Start() {
    const std::string port = std::to_string(port_);
    std::vector<std::string> args = {program_, "-m", "1"};
    args.insert(args.end(), options_.begin(), options_.end());
    args.insert(args.end(), {"-T", "127.0.0.1", "-t", port});
    std::vector<char*> argv;
    for (std::string& arg : args) {
      argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    if (!log_.empty()) {
      posix_spawn_file_actions_addopen(&files, 2, log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawnp(&pid_, program_.c_str(), &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    for (int i = 0; i < 200 && !Listening(port_); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
  }
  void Kill() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = 0;
    }
  }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  std::string program_;
  int port_;
  std::vector<std::string> options_;
  std::string log_;
  pid_t pid_ = 0;
};

// Accepts connections and reads what it is sent, answering each line after `delay` ("RPRT 0"),
// or never when `delay` is negative: a daemon in front of a rig that hangs.
class SlowDaemon {
 public:
  explicit SlowDaemon(std::chrono::milliseconds delay) : delay_(delay) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    listen(listener_, 8);
    thread_ = std::thread([this] { Serve(); });
  }
  ~SlowDaemon() {
    stopping_ = true;
    shutdown(listener_, SHUT_RDWR);
    close(listener_);
    thread_.join();
    for (std::thread& client : clients_) {
      client.join();
    }
  }
  SlowDaemon(const SlowDaemon&) = delete;
  SlowDaemon& operator=(const SlowDaemon&) = delete;
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  void Serve() {
    while (!stopping_) {
      const int client = accept(listener_, nullptr, nullptr);
      if (client < 0) {
        return;
      }
      clients_.emplace_back([this, client] { Answer(client); });
    }
  }
  void Answer(int client) {
    timeval tick{0, 100000};
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
    char buffer[256];
    while (!stopping_) {
      const ssize_t got = recv(client, buffer, sizeof buffer, 0);
      if (got == 0) {
        break;
      }
      if (got < 0 || delay_.count() < 0) {
        continue;
      }
      std::this_thread::sleep_for(delay_);
      const char answer[] = "RPRT 0\n";
      send(client, answer, sizeof answer - 1, MSG_NOSIGNAL);
    }
    close(client);
  }

  std::chrono::milliseconds delay_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_ = false;
  std::thread thread_;
  std::vector<std::thread> clients_;
};

}  // namespace keldra::testing

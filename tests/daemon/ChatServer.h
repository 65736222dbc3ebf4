// A chat server of the tests' own on loopback, speaking the framed interface as the public
// clients' code shows the real one does: LOGINC answered by LOGSTAT (100, or 114 for a wrong
// password, then the line closed), SDONE by the room's users (UA0 ... UE), MSG echoed to the room
// as CH ("/cq CALL text" as a private CH to CALL). The test pushes frames, drops the line, or
// stalls it (the server stays connected and says nothing more).
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Loopback.h"

namespace keldra::testing {

struct ServerUser {
  std::string call, name, locator;
};

class ChatServer {
 public:
  ChatServer(std::string password, std::vector<ServerUser> users)
      : password_(std::move(password)), users_(std::move(users)) {
    listener_ = loopback::Listen(port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ChatServer() {
    stopping_ = true;
    thread_.join();
    loopback::Close(listener_);
  }
  ChatServer(const ChatServer&) = delete;
  ChatServer& operator=(const ChatServer&) = delete;

  int Port() const { return port_; }
  int Connections() const { return connections_; }
  // Every line the clients sent, in order.
  std::vector<std::string> Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }
  // A frame to the connected client (CR LF added).
  void Push(const std::string& frame) {
    std::lock_guard lock(mutex_);
    outgoing_ += frame + "\r\n";
  }
  void Drop() { drop_ = true; }
  void Stall(bool stalled) { stalled_ = stalled; }

 private:
  void Serve() {
    while (!stopping_) {
      const loopback::Fd client = loopback::Accept(listener_, 50);
      if (client == loopback::kNone) {
        continue;
      }
      ++connections_;
      drop_ = false;
      {
        std::lock_guard lock(mutex_);
        outgoing_.clear();
      }
      Talk(client);
      loopback::Close(client);
    }
  }

  void Talk(loopback::Fd client) {
    std::string pending;
    while (!stopping_ && !drop_) {
      const int got = loopback::Receive(client, pending, 20);
      if (got == 0) {
        return;
      }
      for (std::size_t end = pending.find('\n'); end != std::string::npos;
           end = pending.find('\n')) {
        std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') {
          line.pop_back();
        }
        if (!Answer(line)) {
          loopback::SendAll(client, TakeOutgoing());
          return;
        }
      }
      const std::string out = stalled_ ? std::string() : TakeOutgoing();
      if (!out.empty() && !loopback::SendAll(client, out)) {
        return;
      }
    }
  }

  // False when the line ends the connection.
  bool Answer(const std::string& line) {
    {
      std::lock_guard lock(mutex_);
      received_.push_back(line);
    }
    std::vector<std::string> f;
    for (std::size_t at = 0;;) {
      const std::size_t bar = line.find('|', at);
      f.push_back(line.substr(at, bar - at));
      if (bar == std::string::npos) {
        break;
      }
      at = bar + 1;
    }
    if (f[0] == "LOGINC" && f.size() > 3) {
      call_ = f[1];
      room_ = f[3];
      if (f[2] != password_) {
        Push("LOGSTAT|114|Wrong password!|");
        return false;
      }
      Push("LOGSTAT|100|" + room_ + "|TestServer|KEY|0|");
    } else if (f[0] == "SDONE") {
      for (const ServerUser& u : users_) {
        Push("UA0|" + room_ + "|" + u.call + "|" + u.name + "|" + u.locator + "|0|");
      }
      Push("UA0|" + room_ + "|" + call_ + "|me|JN81GD|2|");
      Push("UE|" + room_ + "|" + std::to_string(users_.size() + 1) + "|");
    } else if (f[0] == "MSG" && f.size() > 3 && !f[3].starts_with("/SETLOC")) {
      std::string text = f[3];
      std::string to = "0";
      if (text.starts_with("/cq ")) {
        const std::size_t blank = text.find(' ', 4);
        to = text.substr(4, blank - 4);
        text = blank == std::string::npos ? "" : text.substr(blank + 1);
      }
      Push("CH|" + room_ + "|1700000000|" + call_ + "|me|0|" + text + "|" + to + "|");
    }
    return true;
  }

  std::string TakeOutgoing() {
    std::lock_guard lock(mutex_);
    std::string out;
    out.swap(outgoing_);
    return out;
  }

  std::string password_;
  std::vector<ServerUser> users_;
  loopback::Fd listener_ = loopback::kNone;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> drop_{false};
  std::atomic<bool> stalled_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::vector<std::string> received_;
  std::string outgoing_;
  std::string call_;
  std::string room_ = "2";
};

}  // namespace keldra::testing

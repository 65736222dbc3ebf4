#include "radio/drivers/Cwdaemon.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <utility>

#include "system/Datagram.h"

namespace keldra {
namespace cwdaemon {
namespace {

// Every request but a message starts with ESC.
std::string Request(std::string_view what) { return '\x1b' + std::string(what); }

}  // namespace

std::string Speed(int wpm) { return Request("2" + std::to_string(ClampWpm(wpm))); }
std::string Abort() { return Request("4"); }
std::string Ptt(bool on) { return Request(on ? "a1" : "a0"); }
std::string ReplyAfterNext(std::string_view tag) { return Request("h" + std::string(tag)); }

}  // namespace cwdaemon

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr DeviceTiming kTiming{.poll = 20ms, .answer = 1000ms, .retry = 2000ms};
// The daemon's answer to the presence check, keyed as a word space.
constexpr std::string_view kHello = "keldra";
// cwdaemon takes one datagram a message; its own buffer is 256 bytes.
constexpr std::size_t kLongestMessage = 200;

// "host", "host:port", "[::1]:6789" or nothing (this PC).
std::optional<std::pair<std::string, int>> Address(std::string written) {
  written.erase(0, written.find_first_not_of(' '));
  written.erase(written.find_last_not_of(' ') + 1);
  std::string host = written;
  std::string port;
  if (written.starts_with('[')) {
    const std::size_t close = written.find(']');
    if (close == std::string::npos) {
      return std::nullopt;
    }
    host = written.substr(1, close - 1);
    if (close + 1 < written.size()) {
      if (written[close + 1] != ':') {
        return std::nullopt;
      }
      port = written.substr(close + 2);
    }
  } else if (const std::size_t colon = written.find(':');
             colon != std::string::npos && written.find(':', colon + 1) == std::string::npos) {
    host = written.substr(0, colon);
    port = written.substr(colon + 1);
  }
  int number = cwdaemon::kPort;
  if (!port.empty()) {
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (error != std::errc() || end != port.data() + port.size() || number < 1 || number > 65535) {
      return std::nullopt;
    }
  }
  return std::pair(host.empty() ? std::string("localhost") : host, number);
}

std::string Where(const std::pair<std::string, int>& address) {
  return address.first + ":" + std::to_string(address.second);
}

// How long keying `characters` may take at `wpm` (the longest character, with its gap, is 22 dot
// lengths), and a margin for the daemon.
Clock::duration KeyingTime(std::size_t characters, int wpm) {
  return std::chrono::milliseconds(static_cast<long long>(characters) * 22 * 1200 / ClampWpm(wpm)) +
         3s;
}

// Opens the socket and checks the daemon is there: it answers a word space's reply request.
std::string Reach(DatagramSocket& socket, const std::string& port, int wpm) {
  const auto address = Address(port);
  if (!address) {
    return "indirizzo di cwdaemon non valido: " + port;
  }
  if (socket.Open(address->first, address->second) != SocketFailure::kNone) {
    return "cwdaemon: indirizzo " + Where(*address) + " non trovato";
  }
  socket.Send(cwdaemon::Speed(wpm));
  socket.Send(cwdaemon::ReplyAfterNext(kHello));
  socket.Send(" ");
  std::string reply;
  const Clock::time_point deadline = Clock::now() + kTiming.answer;
  while (socket.Receive(reply, deadline) == SocketFailure::kNone) {
    if (reply.starts_with("h" + std::string(kHello))) {
      return {};
    }
  }
  socket.Close();
  return "cwdaemon non risponde su " + Where(*address) + " (non avviato?)";
}

}  // namespace

class Cwdaemon::Link : public DeviceThread {
 public:
  Link(Cwdaemon& keyer, const KeyerLink& link, PostToUi post)
      : DeviceThread(std::move(post), kTiming), keyer_(keyer), link_(link), wpm_(link.wpm) {}
  ~Link() override { Stop(); }

  void Send(const std::string& text) {
    Enqueue([this, text] {
      if (!socket_.IsOpen()) {
        keyer_.PostSent(post_, text, false);
        return;
      }
      const std::string keyed = text.substr(0, kLongestMessage);
      if (link_.ptt && outstanding_ == 0) {
        socket_.Send(cwdaemon::Ptt(true));
      }
      socket_.Send(cwdaemon::ReplyAfterNext("m"));
      socket_.Send(keyed);
      ++outstanding_;
      characters_ += keyed.size();
      deadline_ = std::max(deadline_, Clock::now() + KeyingTime(characters_, wpm_));
      state_.busy = true;
      Report();
      keyer_.PostSent(post_, text, true);
    });
  }
  void StopKeying() {
    Enqueue([this] {
      if (socket_.IsOpen()) {
        socket_.Send(cwdaemon::Abort());
        Idle();
      }
    });
  }
  void SetSpeed(int wpm) {
    Enqueue([this, wpm] {
      wpm_ = ClampWpm(wpm);
      if (socket_.IsOpen()) {
        socket_.Send(cwdaemon::Speed(wpm_));
        if (outstanding_ > 0) {
          deadline_ = std::max(deadline_, Clock::now() + KeyingTime(characters_, wpm_));
        }
      }
      Report();
    });
  }

 protected:
  void Tick() override {
    if (!socket_.IsOpen()) {
      if (Clock::now() >= next_try_) {
        Open();
      }
      return;
    }
    std::string reply;
    SocketFailure received = SocketFailure::kNone;
    while ((received = socket_.Receive(reply, Clock::now() + 1ms)) == SocketFailure::kNone) {
      // "hm" when a message has been keyed; "break" after an abort.
      if (reply.starts_with("hm") && outstanding_ > 0 && --outstanding_ == 0) {
        Idle();
      }
    }
    if (received == SocketFailure::kRefused) {
      Lost("cwdaemon non in ascolto (fermato?)");
      return;
    }
    if (outstanding_ > 0 && Clock::now() > deadline_) {
      Lost("cwdaemon non risponde (fermato?)");
    }
  }
  void Shutdown() override {
    if (socket_.IsOpen() && outstanding_ > 0) {
      socket_.Send(cwdaemon::Abort());
      if (link_.ptt) {
        socket_.Send(cwdaemon::Ptt(false));
      }
    }
    socket_.Close();
  }

 private:
  void Open() {
    const std::string problem = Reach(socket_, link_.port, wpm_);
    // Said once: a daemon still missing at the next try is not news.
    if (problem.empty() || state_.link != LinkState::kNotConnected) {
      state_.problem = problem;
    }
    state_.link = problem.empty() ? LinkState::kConnected : LinkState::kNotConnected;
    state_.answered = problem.empty() ? "cwdaemon" : "";
    if (!problem.empty()) {
      next_try_ = Clock::now() + timing_.retry;
    }
    Report();
  }
  void Idle() {
    if (link_.ptt) {
      socket_.Send(cwdaemon::Ptt(false));
    }
    outstanding_ = 0;
    characters_ = 0;
    deadline_ = {};
    state_.busy = false;
    Report();
  }
  void Lost(const std::string& problem) {
    socket_.Close();
    outstanding_ = 0;
    characters_ = 0;
    deadline_ = {};
    next_try_ = Clock::now() + timing_.retry;
    state_ = {LinkState::kNotConnected, false, wpm_, problem, {}};
    Report();
  }
  void Report() {
    state_.wpm = wpm_;
    if (state_ != reported_) {
      reported_ = state_;
      keyer_.PostState(post_, state_);
    }
  }

  Cwdaemon& keyer_;
  const KeyerLink link_;
  DatagramSocket socket_;
  int wpm_;
  int outstanding_ = 0;  // messages the daemon has not said it keyed
  std::size_t characters_ = 0;
  Clock::time_point deadline_;
  Clock::time_point next_try_;
  KeyerState state_{LinkState::kConnecting, false, 0, {}, {}};
  KeyerState reported_;
};

Cwdaemon::Cwdaemon(const KeyerLink& link, PostToUi post)
    : link_(std::make_unique<Link>(*this, link, std::move(post))) {
  link_->Start();
}

Cwdaemon::~Cwdaemon() { link_->Stop(); }

void Cwdaemon::Send(const std::string& text) { link_->Send(text); }
void Cwdaemon::Stop() { link_->StopKeying(); }
void Cwdaemon::SetSpeed(int wpm) { link_->SetSpeed(wpm); }

KeyerProbe ProbeCwdaemon(const KeyerLink& link) {
  DatagramSocket socket;
  if (std::string problem = Reach(socket, link.port, link.wpm); !problem.empty()) {
    return {false, std::move(problem)};
  }
  socket.Send(cwdaemon::ReplyAfterNext("vvv"));
  socket.Send("VVV");
  std::string reply;
  const Clock::time_point deadline = Clock::now() + KeyingTime(3, link.wpm);
  while (socket.Receive(reply, deadline) == SocketFailure::kNone) {
    if (reply.starts_with("hvvv")) {
      return {true, "cwdaemon: VVV inviato"};
    }
  }
  return {false, "cwdaemon non ha inviato VVV"};
}

}  // namespace keldra

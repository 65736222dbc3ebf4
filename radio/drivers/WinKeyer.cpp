#include "radio/drivers/WinKeyer.h"

#include <chrono>
#include <deque>
#include <string_view>

#include "system/SerialPort.h"

namespace keldra {
namespace winkeyer {

std::string HostOpen() { return std::string("\x00\x02", 2); }
std::string HostClose() { return std::string("\x00\x03", 2); }
std::string Speed(int wpm) { return {'\x02', static_cast<char>(ClampWpm(wpm))}; }
std::string Clear() { return "\x0A"; }
std::string Ptt(bool on) { return {'\x18', static_cast<char>(on ? 1 : 0)}; }
std::string PotRange() {
  return {'\x05', static_cast<char>(kPotMinimum), static_cast<char>(kPotRange), '\x00'};
}

std::string Text(std::string_view text) {
  constexpr std::string_view kSigns = " \"$'()+,-./:;=?@";
  std::string keyed;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || kSigns.find(c) != kSigns.npos) {
      keyed += c;
    }
  }
  return keyed;
}

Incoming Parse(std::uint8_t byte) {
  Incoming in;
  if ((byte & 0xC0) == 0xC0) {
    in.kind = Incoming::Kind::kStatus;
    in.status = {(byte & 0x01) != 0, (byte & 0x02) != 0, (byte & 0x04) != 0, (byte & 0x08) != 0,
                 (byte & 0x10) != 0};
  } else if ((byte & 0xC0) == 0x80) {
    in.kind = Incoming::Kind::kPot;
    in.pot_wpm = kPotMinimum + (byte & 0x3F);
  } else {
    in.echo = static_cast<char>(byte);
  }
  return in;
}

}  // namespace winkeyer

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const SerialSettings kSettings{.baud = winkeyer::kBaud,
                               .data_bits = 8,
                               .parity = Parity::kNone,
                               .stop_bits = 2,
                               .dtr = true,
                               .rts = false};

// One byte a tick, about the line's own pace at 1200 baud: the system's buffer never holds more
// than the keyer has asked for, so a speed change or a clear goes out at once.
constexpr DeviceTiming kTiming{.poll = 10ms, .answer = 1000ms, .retry = 2000ms};

std::string VersionText(int version) {
  return "WinKeyer " + std::to_string(version / 10) + "." + std::to_string(version % 10);
}

// The keyer opened in host mode: its version, or why not.
struct Opening {
  SerialFailure failure = SerialFailure::kNone;
  int version = 0;
};

Opening OpenHost(SerialPort& port, const std::string& path, int wpm) {
  if (const SerialFailure failure = port.Open(path, kSettings); failure != SerialFailure::kNone) {
    return {failure};
  }
  // What a keyer left talking sent before we came is not an answer.
  std::string stale;
  while (port.Read(stale, Clock::now() + 20ms) == SerialFailure::kNone && stale.size() < 4096) {
  }
  std::string answer;
  SerialFailure failure = port.Write(winkeyer::HostOpen());
  if (failure == SerialFailure::kNone) {
    failure = port.Read(answer, Clock::now() + kTiming.answer);
  }
  if (failure == SerialFailure::kNone) {
    failure = port.Write(winkeyer::Speed(wpm) + winkeyer::PotRange());
  }
  if (failure != SerialFailure::kNone) {
    port.Close();
    return {failure};
  }
  return {SerialFailure::kNone, static_cast<std::uint8_t>(answer[0])};
}

std::string Problem(SerialFailure failure, const std::string& path) {
  return failure == SerialFailure::kTimedOut
             ? "il WinKeyer su " + path + " non risponde all'apertura"
             : SerialFailureText(failure, path);
}

}  // namespace

class WinKeyer::Link : public DeviceThread {
 public:
  Link(WinKeyer& keyer, const KeyerLink& link, PostToUi post)
      : DeviceThread(std::move(post), kTiming), keyer_(keyer), link_(link), wpm_(link.wpm) {}
  ~Link() override { Stop(); }

  void Send(const std::string& text) {
    Enqueue([this, text] {
      if (!port_.IsOpen()) {
        keyer_.PostSent(post_, text, false);
        return;
      }
      std::string bytes = winkeyer::Text(text);
      if (link_.ptt) {
        bytes = winkeyer::Ptt(true) + bytes + winkeyer::Ptt(false);
      }
      queue_.push_back({std::move(bytes), text});
      TickNow();
    });
  }
  void StopKeying() {
    Enqueue([this] {
      DropQueue();
      if (port_.IsOpen()) {
        Check(
            port_.Write(link_.ptt ? winkeyer::Clear() + winkeyer::Ptt(false) : winkeyer::Clear()));
      }
    });
  }
  void SetSpeed(int wpm) {
    Enqueue([this, wpm] {
      wpm_ = ClampWpm(wpm);
      if (port_.IsOpen()) {
        Check(port_.Write(winkeyer::Speed(wpm_)));
      }
      Report();
    });
  }

 protected:
  void Tick() override {
    if (!port_.IsOpen()) {
      if (Clock::now() >= next_try_) {
        Open();
      }
      return;
    }
    std::string in;
    const SerialFailure read = port_.Read(in, Clock::now() + 1ms);
    if (read != SerialFailure::kTimedOut && !Check(read)) {
      return;
    }
    for (const char byte : in) {
      if (!port_.IsOpen()) {
        return;
      }
      Take(winkeyer::Parse(static_cast<std::uint8_t>(byte)));
    }
    WriteNext();
  }
  void Shutdown() override {
    if (port_.IsOpen()) {
      port_.Write(winkeyer::Clear() + winkeyer::HostClose());
      port_.Close();
    }
  }

 private:
  struct Message {
    std::string bytes;  // still to write
    std::string text;
  };

  void Open() {
    const Opening opening = OpenHost(port_, link_.port, wpm_);
    if (opening.failure != SerialFailure::kNone) {
      next_try_ = Clock::now() + timing_.retry;
      state_.answered.clear();
      // Said once: a keyer still missing at the next try is not news.
      if (state_.link != LinkState::kNotConnected) {
        state_.problem = Problem(opening.failure, link_.port);
      }
      state_.link = LinkState::kNotConnected;
      Report();
      return;
    }
    status_ = {};
    state_.answered = VersionText(opening.version);
    state_.problem.clear();
    state_.link = LinkState::kConnected;
    Report();
  }

  void Take(const winkeyer::Incoming& in) {
    switch (in.kind) {
      case winkeyer::Incoming::Kind::kStatus:
        status_ = in.status;
        state_.busy = status_.busy;
        Report();
        break;
      case winkeyer::Incoming::Kind::kPot:
        // The operator turned the knob: the speed follows it.
        if (ClampWpm(in.pot_wpm) != wpm_) {
          wpm_ = ClampWpm(in.pot_wpm);
          Check(port_.Write(winkeyer::Speed(wpm_)));
          Report();
        }
        break;
      case winkeyer::Incoming::Kind::kEcho:
        break;
    }
  }

  void WriteNext() {
    while (!queue_.empty() && queue_.front().bytes.empty()) {
      keyer_.PostSent(post_, queue_.front().text, true);
      queue_.pop_front();
    }
    if (queue_.empty() || status_.xoff || !port_.IsOpen()) {
      return;
    }
    Message& message = queue_.front();
    if (Check(port_.Write(std::string_view(message.bytes).substr(0, 1)))) {
      message.bytes.erase(0, 1);
    }
  }

  // False, and the keyer dropped to be opened again, when the port says the keyer is gone.
  bool Check(SerialFailure failure) {
    if (failure == SerialFailure::kNone) {
      return true;
    }
    port_.Close();
    DropQueue();
    next_try_ = Clock::now() + timing_.retry;
    state_.busy = false;
    state_.answered.clear();
    state_.problem = SerialFailureText(failure, link_.port);
    state_.link = LinkState::kNotConnected;
    Report();
    return false;
  }

  void DropQueue() {
    for (const Message& message : queue_) {
      keyer_.PostSent(post_, message.text, false);
    }
    queue_.clear();
  }

  void Report() {
    state_.wpm = wpm_;
    if (state_ != reported_) {
      reported_ = state_;
      keyer_.PostState(post_, state_);
    }
  }

  WinKeyer& keyer_;
  const KeyerLink link_;
  SerialPort port_;
  int wpm_;
  winkeyer::Status status_;
  std::deque<Message> queue_;
  Clock::time_point next_try_;
  KeyerState state_{LinkState::kConnecting, false, 0, {}, {}};
  KeyerState reported_;
};

WinKeyer::WinKeyer(const KeyerLink& link, PostToUi post)
    : link_(std::make_unique<Link>(*this, link, std::move(post))) {
  link_->Start();
}

WinKeyer::~WinKeyer() { link_->Stop(); }

void WinKeyer::Send(const std::string& text) { link_->Send(text); }
void WinKeyer::Stop() { link_->StopKeying(); }
void WinKeyer::SetSpeed(int wpm) { link_->SetSpeed(wpm); }

KeyerProbe ProbeWinKeyer(const KeyerLink& link) {
  SerialPort port;
  const Opening opening = OpenHost(port, link.port, link.wpm);
  if (opening.failure != SerialFailure::kNone) {
    return {false, Problem(opening.failure, link.port)};
  }
  // "VVV", then the keyer's status until it has keyed it, within what three Vs take at 5 WPM.
  port.Write(winkeyer::Text("VVV"));
  const Clock::time_point deadline = Clock::now() + 9s;
  bool keyed = false;
  bool busy = true;
  std::string in;
  while (busy && Clock::now() < deadline) {
    in.clear();
    if (const SerialFailure read = port.Read(in, deadline);
        read != SerialFailure::kNone && read != SerialFailure::kTimedOut) {
      return {false, SerialFailureText(read, link.port)};
    }
    for (const char byte : in) {
      const winkeyer::Incoming incoming = winkeyer::Parse(static_cast<std::uint8_t>(byte));
      if (incoming.kind == winkeyer::Incoming::Kind::kStatus) {
        keyed = keyed || incoming.status.busy;
        busy = !keyed || incoming.status.busy;
      }
    }
  }
  port.Write(winkeyer::Clear() + winkeyer::HostClose());
  return {true, VersionText(opening.version) + (keyed ? ": VVV inviato" : ": VVV accodato")};
}

}  // namespace keldra

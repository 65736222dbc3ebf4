#include "radio/drivers/DaemonRadio.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <tuple>

namespace keldra {
namespace {

using Clock = std::chrono::steady_clock;

// Hamlib's codes for "the device cannot do that" (RIG_ENIMPL, RIG_ENAVAIL), and for a device
// that does not answer its daemon or cannot be talked to (RIG_ETIMEOUT, RIG_EIO).
constexpr int kNotImplemented = -4;
constexpr int kNotAvailable = -11;
constexpr int kDeviceTimedOut = -5;
constexpr int kDeviceIo = -6;
// Windows tries a refused connection again for about two seconds before it says so; a shorter
// wait would call "nobody listens" a time-out.
constexpr std::chrono::milliseconds kLongestConnect{2500};
// An answer this long without its closing line is no answer of these daemons.
constexpr size_t kLongestAnswer = 1 << 18;

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

// Numbers in the protocol are C-locale ("144300000", "1.80"), whatever locale the program runs.
std::optional<double> Number(const std::optional<std::string>& text) {
  double value = 0;
  if (!text || text->empty()) {
    return std::nullopt;
  }
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  return error == std::errc() && end == text->data() + text->size() ? std::optional<double>(value)
                                                                    : std::nullopt;
}

std::string Decimal(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1).ptr;
  return std::string(text, end);
}

std::optional<int> Whole(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty()
             ? std::optional<int>(value)
             : std::nullopt;
}

// "host:port", "host", ":port", "[::1]:4532" or nothing (this PC); nothing when it is none of
// these.
std::optional<std::pair<std::string, int>> HostAndPort(const std::string& written,
                                                       int default_port) {
  std::string host = written;
  std::string port;
  if (written.starts_with('[')) {
    const size_t close = written.find(']');
    if (close == std::string::npos || (close + 1 < written.size() && written[close + 1] != ':')) {
      return std::nullopt;
    }
    host = written.substr(1, close - 1);
    if (close + 1 < written.size()) {
      port = written.substr(close + 2);
      if (port.empty()) {
        return std::nullopt;
      }
    }
  } else if (const size_t colon = written.find(':');
             colon != std::string::npos && written.find(':', colon + 1) == std::string::npos) {
    host = written.substr(0, colon);
    port = written.substr(colon + 1);
    if (port.empty()) {
      return std::nullopt;
    }
  }  // more colons: an IPv6 address without a port
  int number = default_port;
  if (!port.empty()) {
    const std::optional<int> given = Whole(port);
    if (!given || *given < 1 || *given > 65535) {
      return std::nullopt;
    }
    number = *given;
  }
  return std::pair(host.empty() ? std::string("localhost") : host, number);
}

// A rig's capabilities are one long answer, and a slow network must not make them a time-out.
std::chrono::milliseconds CapsLimit(std::chrono::milliseconds answer) { return answer * 4; }

// The "maker model" a daemon tells in its capabilities, for "Prova".
std::string ModelName(const DaemonAnswer& caps) {
  return Trimmed(caps.Value("Mfg name").value_or("") + " " + caps.Value("Model name").value_or(""));
}

}  // namespace

bool DaemonAnswer::Unsupported() const { return code == kNotImplemented || code == kNotAvailable; }

std::optional<std::string> DaemonAnswer::Value(std::string_view name) const {
  for (const auto& [key, value] : values) {
    if (key == name) {
      return value;
    }
  }
  return std::nullopt;
}

void DaemonConnection::SetAddress(const std::string& address) {
  Close();
  bad_address_.clear();
  if (const auto reached = HostAndPort(Trimmed(address), default_port_)) {
    std::tie(host_, port_) = *reached;
  } else {
    bad_address_ = Trimmed(address);
  }
}

std::string DaemonConnection::Where() const {
  const bool v6 = host_.find(':') != std::string::npos;
  return (v6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
}

DaemonAnswer DaemonConnection::Failed(std::string problem) {
  Close();
  DaemonAnswer answer;
  answer.problem = std::move(problem);
  return answer;
}

DaemonAnswer DaemonConnection::Invalid() { return Failed("risposta non valida da " + daemon_); }

DaemonAnswer DaemonConnection::Ask(std::string_view command,
                                   std::optional<std::chrono::milliseconds> limit) {
  if (!bad_address_.empty()) {
    return Failed("indirizzo non valido: \"" + bad_address_ +
                  "\" (host:porta, es. localhost:" + std::to_string(default_port_) + ")");
  }
  if (!socket_.IsOpen()) {
    switch (socket_.Connect(host_, port_, Clock::now() + std::max(answer_, kLongestConnect))) {
      case SocketFailure::kNone:
        break;
      case SocketFailure::kRefused:
        return Failed("nessun " + daemon_ + " in ascolto su " + Where() + ": avviare " + daemon_ +
                      " (si trova in Hamlib per Windows)");
      case SocketFailure::kUnknownHost:
        return Failed("indirizzo sconosciuto: " + host_);
      case SocketFailure::kTimedOut:
        return Failed(Where() + " non risponde");
      case SocketFailure::kClosed:
      case SocketFailure::kOther:
        return Failed("rete non disponibile verso " + Where());
    }
  }
  const Clock::time_point deadline = Clock::now() + limit.value_or(answer_);
  std::string received;
  SocketFailure failure = socket_.Send("+" + std::string(command) + "\n", deadline);
  DaemonAnswer answer;
  size_t start = 0;
  while (failure == SocketFailure::kNone) {
    const size_t end = received.find('\n', start);
    if (end == std::string::npos) {
      if (received.size() > kLongestAnswer) {
        return Invalid();
      }
      failure = socket_.Receive(received, deadline);
      continue;
    }
    const std::string line = Trimmed(std::string_view(received).substr(start, end - start));
    start = end + 1;
    if (line.starts_with("RPRT ")) {
      const std::optional<int> code = Whole(line.substr(5));
      // Anything after the closing line belongs to no question: start clean next time.
      if (!code || start != received.size()) {
        return Invalid();
      }
      answer.code = *code;
      if (*code == kDeviceTimedOut) {
        answer.problem = device_ + " non risponde a " + daemon_;
      } else if (*code == kDeviceIo) {
        answer.problem = "errore di comunicazione tra " + daemon_ + " e " + device_;
      } else if (answer.Unsupported()) {
        answer.problem = "comando non disponibile per " + device_;
      } else if (*code != 0) {
        answer.problem = daemon_ + ": errore " + std::to_string(-*code);
      }
      return answer;
    }
    // "Frequency: 144300000"; the first line repeats the command ("get_freq:").
    if (const size_t colon = line.find(':'); colon != std::string::npos) {
      answer.values.emplace_back(Trimmed(line.substr(0, colon)), Trimmed(line.substr(colon + 1)));
    }
  }
  if (failure == SocketFailure::kTimedOut) {
    return Failed(daemon_ + " non risponde (" + Where() + ")");
  }
  return Failed(daemon_ + " ha chiuso la connessione");
}

namespace {

// What differs between the rig and the rotator: the daemon, what is read from it and where the
// reading goes.
struct RigDaemon {
  using Reading = RigReading;
  static constexpr const char* kDaemon = "rigctld";
  static constexpr const char* kDevice = "la radio";
  static constexpr const char* kOnlyThroughDaemon =
      "la radio si raggiunge solo tramite rigctld: scegliere \"Hamlib NET rigctl\"";
  static constexpr int kModel = DaemonRadio::kRigDaemonModel;
  static constexpr int kPort = DaemonRadio::kRigDaemonPort;

  // A rig's capabilities run to many lines and tell nothing the polls need: read for "Prova" only.
  static constexpr bool kCapsOnOpening = false;

  static Reading Without(LinkState state) { return {state, 0, {}}; }
  // Frequency and mode; a rig that cannot tell its mode still has a frequency.
  static DaemonAnswer Read(DaemonConnection& daemon, Reading& reading) {
    DaemonAnswer frequency = daemon.Ask("f");
    if (!frequency.Done()) {
      return frequency;
    }
    const std::optional<double> hertz = Number(frequency.Value("Frequency"));
    if (!hertz) {
      return daemon.Invalid();
    }
    DaemonAnswer mode = daemon.Ask("m");
    if (!mode.Done() && !mode.Unsupported()) {
      return mode;
    }
    reading = {LinkState::kConnected, *hertz, mode.Value("Mode").value_or("")};
    return frequency;
  }
  static void Deliver(Radio& radio, const Reading& reading) {
    if (radio.RigChanged) {
      radio.RigChanged(reading);
    }
  }
};

struct RotatorDaemon {
  using Reading = RotatorReading;
  static constexpr const char* kDaemon = "rotctld";
  static constexpr const char* kDevice = "il rotore";
  static constexpr const char* kOnlyThroughDaemon =
      "il rotore si raggiunge solo tramite rotctld: scegliere \"Hamlib NET rotctl\"";
  static constexpr int kModel = DaemonRadio::kRotatorDaemonModel;
  static constexpr int kPort = DaemonRadio::kRotatorDaemonPort;

  // The rotator's range: some run -180..180, some past 360.
  static constexpr bool kCapsOnOpening = true;

  static Reading Without(LinkState state) { return {state, {}}; }
  void Learn(const DaemonAnswer& caps) {
    const std::optional<double> min = Number(caps.Value("Min Azimuth"));
    const std::optional<double> max = Number(caps.Value("Max Azimuth"));
    low = min && max && *min < *max ? *min : 0;
    high = min && max && *min < *max ? *max : 360;
  }
  static DaemonAnswer Read(DaemonConnection& daemon, Reading& reading) {
    DaemonAnswer position = daemon.Ask("p");
    if (!position.Done()) {
      return position;
    }
    const std::optional<double> azimuth = Number(position.Value("Azimuth"));
    if (!azimuth) {
      return daemon.Invalid();
    }
    reading = {LinkState::kConnected, *azimuth};
    return position;
  }
  static void Deliver(Radio& radio, const Reading& reading) {
    if (radio.RotatorChanged) {
      radio.RotatorChanged(reading);
    }
  }

  double low = 0;
  double high = 360;
};

// One device kept linked: connected when its daemon listens, polled, and connected again after
// a pause when the daemon goes away. Each reading is posted only when it changed.
template <class Device>
class DaemonLink : public DeviceThread {
 public:
  DaemonLink(Radio& radio, PostToUi post, DeviceTiming timing)
      : DeviceThread(std::move(post), timing),
        radio_(radio),
        daemon_(Device::kDaemon, Device::kDevice, Device::kPort, timing.answer) {}
  ~DaemonLink() override { Stop(); }
  DaemonLink(const DaemonLink&) = delete;
  DaemonLink& operator=(const DaemonLink&) = delete;

  void SetLink(const DeviceLink& link) {
    Enqueue([this, link] {
      daemon_.SetAddress(link.port);
      model_ = link.model;
      next_try_ = Clock::now();
      TickNow();
      Report(Device::Without(model_ == 0 ? LinkState::kNone : LinkState::kConnecting));
    });
  }
  // Asks the daemon `command` (made on this thread, from what is known of the device) when it is
  // linked; a daemon that stopped answering is dropped.
  void Command(std::function<std::string(const Device&)> command) {
    Enqueue([this, command = std::move(command)] {
      if (daemon_.IsOpen()) {
        daemon_.Ask(command(device_));
        Check();
      }
    });
  }

 protected:
  void Tick() override {
    if (model_ == 0) {
      return;
    }
    if (model_ != Device::kModel) {
      Report(Device::Without(LinkState::kNotConnected));
      return;
    }
    if (!daemon_.IsOpen()) {
      if (Clock::now() < next_try_) {
        return;
      }
      if constexpr (Device::kCapsOnOpening) {
        device_.Learn(daemon_.Ask("\\dump_caps"));
        if (!Check()) {
          return;
        }
      }
    }
    typename Device::Reading reading;
    if (device_.Read(daemon_, reading).Done()) {
      Report(reading);
    } else if (Check()) {
      // The daemon is there, its device is not: asked again at the next poll.
      Report(Device::Without(LinkState::kNotConnected));
    }
  }
  void Shutdown() override { daemon_.Close(); }

  // False, and the next try put off, when the daemon is gone.
  bool Check() {
    if (daemon_.IsOpen()) {
      return true;
    }
    next_try_ = Clock::now() + timing_.retry;
    Report(Device::Without(LinkState::kNotConnected));
    return false;
  }

  Radio& radio_;
  DaemonConnection daemon_;
  Device device_;

 private:
  void Report(const typename Device::Reading& reading) {
    if (reading == last_) {
      return;
    }
    last_ = reading;
    post_([radio = &radio_, reading] { Device::Deliver(*radio, reading); });
  }

  int model_ = 0;
  Clock::time_point next_try_;
  typename Device::Reading last_;
};

// Reaches a device once, reads it and lets it go again: what "Prova" does for each device.
template <class Device>
void ProbeOnce(const DeviceLink& link, std::chrono::milliseconds answer,
               typename Device::Reading& reading, std::string& problem, std::string& name) {
  if (link.model == 0) {
    return;
  }
  reading = Device::Without(LinkState::kNotConnected);
  if (link.model != Device::kModel) {
    problem = Device::kOnlyThroughDaemon;
    return;
  }
  DaemonConnection daemon(Device::kDaemon, Device::kDevice, Device::kPort, answer);
  daemon.SetAddress(link.port);
  // The reading first: a daemon that stalls costs one short time-out, not the long one.
  typename Device::Reading found;
  if (const DaemonAnswer read = Device::Read(daemon, found); !read.Done()) {
    problem = read.problem;
    return;
  }
  reading = found;
  name = ModelName(daemon.Ask("\\dump_caps", CapsLimit(answer)));
}

// Text for the keyer on one line: a line end in a message would end the command early and send
// the rest to the daemon as a command of its own.
std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }, ' ');
  return text;
}

}  // namespace

class DaemonRadio::RigThread : public DaemonLink<RigDaemon> {
 public:
  using DaemonLink::DaemonLink;

  // The message goes to the keyer; whether it got there goes back to the window. A message still
  // queued behind a slow daemon when the operator stops sending is dropped, not sent late.
  void SendMorse(const std::string& text) {
    Enqueue([this, text, asked = stops_.load()] {
      if (asked != stops_.load()) {
        return;
      }
      bool sent = false;
      if (daemon_.IsOpen()) {
        // A rig may answer only once it has keyed the message.
        sent = daemon_.Ask("b " + OneLine(text), timing_.answer * 4).Done();
        Check();
      }
      post_([radio = &radio_, text, sent] {
        if (radio->MorseSent) {
          radio->MorseSent(text, sent);
        }
      });
    });
  }
  void StopMorse() {
    ++stops_;
    Command([](const RigDaemon&) { return "\\stop_morse"; });
  }
  void SetMorseSpeed(int wpm) {
    Command([wpm](const RigDaemon&) { return "L KEYSPD " + std::to_string(wpm); });
  }
  void SetPtt(bool on, std::function<void(const std::string&)> done) {
    Enqueue([this, on, done = std::move(done)] {
      if (!daemon_.IsOpen()) {
        done("rigctld non collegato: PTT non comandato");
        return;
      }
      const DaemonAnswer answer = daemon_.Ask(on ? "T 1" : "T 0");
      Check();
      done(answer.Done() ? std::string() : "PTT via CAT non riuscito: " + answer.problem);
    });
  }

 private:
  std::atomic<int> stops_ = 0;
};

class DaemonRadio::RotatorThread : public DaemonLink<RotatorDaemon> {
 public:
  using DaemonLink::DaemonLink;
};

DaemonRadio::DaemonRadio(PostToUi post, DeviceTiming timing)
    : post_(std::move(post)), timing_(timing) {
  rig_ = std::make_unique<RigThread>(*this, post_, timing_);
  rotator_ = std::make_unique<RotatorThread>(*this, post_, timing_);
  rig_->Start();
  rotator_->Start();
}

DaemonRadio::~DaemonRadio() {
  rig_->Stop();
  rotator_->Stop();
  std::lock_guard lock(probes_mutex_);
  for (std::thread& probe : probes_) {
    probe.join();
  }
}

std::vector<DeviceModel> DaemonRadio::RigModels() {
  return {{kRigDaemonModel, "Hamlib NET rigctl"}};
}

std::vector<DeviceModel> DaemonRadio::RotatorModels() {
  return {{kRotatorDaemonModel, "Hamlib NET rotctl"}};
}

void DaemonRadio::Connect(const DeviceLink& rig, const DeviceLink& rotator) {
  rig_->SetLink(rig);
  rotator_->SetLink(rotator);
}

void DaemonRadio::TurnTo(double azimuth) {
  rotator_->Command([azimuth](const RotatorDaemon& rotator) {
    return "P " + Decimal(InRotatorRange(azimuth, rotator.low, rotator.high)) + " 0";
  });
}

void DaemonRadio::StopTurning() {
  rotator_->Command([](const RotatorDaemon&) { return "S"; });
}

void DaemonRadio::SendMorse(const std::string& text) { rig_->SendMorse(text); }

void DaemonRadio::StopMorse() { rig_->StopMorse(); }

void DaemonRadio::SetMorseSpeed(int wpm) { rig_->SetMorseSpeed(wpm); }

void DaemonRadio::SetPtt(bool on, std::function<void(const std::string&)> done) {
  rig_->SetPtt(on, std::move(done));
}

void DaemonRadio::Probe(const DeviceLink& rig, const DeviceLink& rotator,
                        std::function<void(const ProbeResult&)> done) {
  std::lock_guard lock(probes_mutex_);
  probes_.emplace_back([this, rig, rotator, done = std::move(done)] {
    ProbeResult result;
    ProbeOnce<RigDaemon>(rig, timing_.answer, result.rig, result.rig_problem, result.rig_name);
    ProbeOnce<RotatorDaemon>(rotator, timing_.answer, result.rotator, result.rotator_problem,
                             result.rotator_name);
    post_([done, result] { done(result); });
  });
}

}  // namespace keldra

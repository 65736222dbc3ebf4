// The outside devices the logger drives: the rig (frequency, mode, the keyer for CW messages) and
// the antenna rotator. The windows see only this interface; the real one talks to the devices on
// threads of its own and hands every reading back as an event on the user-interface thread, so a
// device that hangs never holds up a keystroke. Commands return at once.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace keldra {

// How one device is reached: its model number in the device library (0: none), the port (a
// serial device, or host:port for a network daemon) and the serial speed (0: the model's own).
struct DeviceLink {
  int model = 0;
  std::string port;
  int speed = 0;
  bool operator==(const DeviceLink&) const = default;
};

// A model the device library knows, as the operator chooses it.
struct DeviceModel {
  int number = 0;
  std::string name;  // maker and model, UTF-8
};

// kConnecting: set up and the first opening still under way (the library may take seconds to
// find out that nothing answers).
enum class LinkState { kNone, kConnecting, kNotConnected, kConnected };

struct RigReading {
  LinkState state = LinkState::kNone;
  double frequency_hz = 0;
  std::string mode;  // the library's name: "USB", "CW", "FM" ...
  bool operator==(const RigReading&) const = default;
};

struct RotatorReading {
  LinkState state = LinkState::kNone;
  std::optional<double> azimuth;  // degrees, as the rotator reports it
  bool operator==(const RotatorReading&) const = default;
};

// What "Prova" found: each device's reading, and why it failed (UTF-8, empty when it answered).
struct ProbeResult {
  RigReading rig;
  std::string rig_problem;
  RotatorReading rotator;
  std::string rotator_problem;
  // What answered (maker and model, UTF-8), when the link can tell.
  std::string rig_name;
  std::string rotator_name;
};

// A bearing in 0..360 brought into a rotator's own range (some run -180..180, some past 360).
inline double InRotatorRange(double azimuth, double low, double high) {
  if (azimuth > high && azimuth - 360 >= low) {
    return azimuth - 360;
  }
  if (azimuth < low && azimuth + 360 <= high) {
    return azimuth + 360;
  }
  return std::clamp(azimuth, low, high);
}

class Radio {
 public:
  virtual ~Radio() = default;

  virtual std::vector<DeviceModel> RigModels() = 0;
  virtual std::vector<DeviceModel> RotatorModels() = 0;
  // What a device's port field takes, for its tooltip (Italian, UTF-8).
  virtual std::string PortHint(bool rotator) const {
    return std::string("es. /dev/ttyUSB0, oppure host:porta (es. localhost:") +
           (rotator ? "4533" : "4532") + ") con il modello Hamlib NET";
  }
  // Drops the present links and keeps the new ones up (model 0: none), reconnecting whenever a
  // device stops answering.
  virtual void Connect(const DeviceLink& rig, const DeviceLink& rotator) = 0;
  virtual void TurnTo(double azimuth) = 0;
  virtual void StopTurning() = 0;
  virtual void SendMorse(const std::string& text) = 0;
  virtual void StopMorse() = 0;
  // Keys the transmitter through the rig's CAT. `done` runs on the device's own thread once the
  // rig answered, with why it could not (UTF-8; empty when done), so the voice player can wait
  // for the rig before it plays.
  virtual void SetPtt(bool /*on*/, std::function<void(const std::string& problem)> done) {
    // Answered at once, on the caller's thread: there is no rig to ask.
    const std::function<void(const std::string&)> answer = std::move(done);
    answer("nessuna radio collegata per il PTT via CAT");
  }
  // The rig keyer's speed, where the rig lets it be set.
  virtual void SetMorseSpeed(int /*wpm*/) {}
  // Whether a rig of this model has a keyer the program can drive over CAT (a daemon's rig is
  // taken to have one: the daemon says no when it does not).
  virtual bool HasCatKeyer(int model) const { return model != 0; }
  // Opens the devices once with these links, apart from the running ones, and reports.
  virtual void Probe(const DeviceLink& rig, const DeviceLink& rotator,
                     std::function<void(const ProbeResult&)> done) = 0;

  // Hamlib's own programs, for a build that starts its daemons itself: the folder the operator
  // named for them, and what was found there or elsewhere (Italian, UTF-8; it may wait for the
  // search).
  virtual bool StartsDaemons() const { return false; }
  virtual void UseLibraryFolder(const std::string& /*folder*/) {}
  virtual std::string LibraryStatus() { return {}; }

  // Events on the user-interface thread, each when the reading changes.
  std::function<void(const RigReading&)> RigChanged;
  std::function<void(const RotatorReading&)> RotatorChanged;
  // A CW message left for the keyer (or could not).
  std::function<void(const std::string& text, bool sent)> MorseSent;
  // What the operator must hear of a link that failed by itself (a daemon this program started
  // stopped), UTF-8.
  std::function<void(const std::string& problem)> LinkProblem;
};

// No devices at all: the program without a device library, and the model tests that need none.
class NoRadio : public Radio {
 public:
  std::vector<DeviceModel> RigModels() override { return {}; }
  std::vector<DeviceModel> RotatorModels() override { return {}; }
  void Connect(const DeviceLink&, const DeviceLink&) override {}
  void TurnTo(double) override {}
  void StopTurning() override {}
  void SendMorse(const std::string&) override {}
  void StopMorse() override {}
  void Probe(const DeviceLink&, const DeviceLink&,
             std::function<void(const ProbeResult&)> done) override {
    done({});
  }
};

}  // namespace keldra

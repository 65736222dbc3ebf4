#include "radio/drivers/HamlibRadio.h"

#include <hamlib/rig.h>
#include <hamlib/rotator.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>

namespace keldra {
namespace {

using Clock = std::chrono::steady_clock;

// Loads every backend once, before any thread opens a device: Hamlib loads them lazily otherwise,
// and two threads opening their first device at once would race on its tables.
void LoadBackends() {
  static std::once_flag once;
  std::call_once(once, [] {
    rig_set_debug(RIG_DEBUG_NONE);
    rig_load_all_backends();
    rot_load_all_backends();
  });
}

// Hamlib 4.5 keeps global state (its debug buffer, caches in rig_init and the frontend), so
// calls from the rig's and the rotator's threads must not overlap: every call holds this lock.
// A device that hangs therefore delays the other one by its time-out, never the windows.
std::mutex& HamlibCalls() {
  static std::mutex calls;
  return calls;
}
using HamlibLock = std::lock_guard<std::mutex>;

// Why an exchange failed, for the operator (UTF-8).
std::string Problem(int code) {
  switch (-code) {
    case RIG_ETIMEOUT:
      return "nessuna risposta";
    case RIG_EIO:
      return "porta o demone non raggiungibile";
    case RIG_EPROTO:
      return "risposta non valida";
    case RIG_ECONF:
    case RIG_EINVAL:
      return "impostazioni non valide";
    default:
      return std::string("errore di Hamlib: ") + rigerror(code);
  }
}

// A library call that failed because the device cannot do it, not because the link is down.
bool Unsupported(int code) { return code == -RIG_ENAVAIL || code == -RIG_ENIMPL; }

std::string Millis(std::chrono::milliseconds value) { return std::to_string(value.count()); }

RIG* OpenRig(const DeviceLink& link, std::chrono::milliseconds answer, int& error) {
  RIG* rig = rig_init(link.model);
  if (rig == nullptr) {
    error = -RIG_EINVAL;
    return nullptr;
  }
  if (!link.port.empty()) {
    rig_set_conf(rig, rig_token_lookup(rig, "rig_pathname"), link.port.c_str());
  }
  if (link.speed > 0) {
    rig_set_conf(rig, rig_token_lookup(rig, "serial_speed"), std::to_string(link.speed).c_str());
  }
  rig_set_conf(rig, rig_token_lookup(rig, "timeout"), Millis(answer).c_str());
  rig_set_conf(rig, rig_token_lookup(rig, "retry"), "0");
  error = rig_open(rig);
  if (error != RIG_OK) {
    rig_cleanup(rig);
    return nullptr;
  }
  return rig;
}

void CloseRig(RIG* rig) {
  if (rig != nullptr) {
    rig_close(rig);
    rig_cleanup(rig);
  }
}

// Frequency and mode; a rig that cannot tell its mode still has a frequency.
int ReadRig(RIG* rig, RigReading& reading) {
  freq_t frequency = 0;
  if (const int error = rig_get_freq(rig, RIG_VFO_CURR, &frequency); error != RIG_OK) {
    return error;
  }
  rmode_t mode = RIG_MODE_NONE;
  pbwidth_t width = 0;
  const int error = rig_get_mode(rig, RIG_VFO_CURR, &mode, &width);
  if (error != RIG_OK && !Unsupported(error)) {
    return error;
  }
  reading = {LinkState::kConnected, frequency, mode == RIG_MODE_NONE ? "" : rig_strrmode(mode)};
  return RIG_OK;
}

ROT* OpenRotator(const DeviceLink& link, std::chrono::milliseconds answer, int& error) {
  ROT* rot = rot_init(link.model);
  if (rot == nullptr) {
    error = -RIG_EINVAL;
    return nullptr;
  }
  if (!link.port.empty()) {
    rot_set_conf(rot, rot_token_lookup(rot, "rot_pathname"), link.port.c_str());
  }
  if (link.speed > 0) {
    rot_set_conf(rot, rot_token_lookup(rot, "serial_speed"), std::to_string(link.speed).c_str());
  }
  rot_set_conf(rot, rot_token_lookup(rot, "timeout"), Millis(answer).c_str());
  rot_set_conf(rot, rot_token_lookup(rot, "retry"), "0");
  error = rot_open(rot);
  if (error != RIG_OK) {
    rot_cleanup(rot);
    return nullptr;
  }
  return rot;
}

void CloseRotator(ROT* rot) {
  if (rot != nullptr) {
    rot_close(rot);
    rot_cleanup(rot);
  }
}

int ReadRotator(ROT* rot, RotatorReading& reading) {
  azimuth_t azimuth = 0;
  elevation_t elevation = 0;
  if (const int error = rot_get_position(rot, &azimuth, &elevation); error != RIG_OK) {
    return error;
  }
  reading = {LinkState::kConnected, static_cast<double>(azimuth)};
  return RIG_OK;
}

std::string ModelName(const char* maker, const char* model) {
  return std::string(maker != nullptr ? maker : "") + " " + (model != nullptr ? model : "");
}

void SortByName(std::vector<DeviceModel>& models) {
  std::stable_sort(models.begin(), models.end(),
                   [](const DeviceModel& a, const DeviceModel& b) { return a.name < b.name; });
}

}  // namespace

// What differs between the rig and the rotator: the handle, the reading, and where it goes.
struct RigDevice {
  using Handle = RIG;
  using Reading = RigReading;
  static Handle* Open(const DeviceLink& link, std::chrono::milliseconds answer, int& error) {
    const HamlibLock lock(HamlibCalls());
    return OpenRig(link, answer, error);
  }
  static void Close(Handle* rig) {
    const HamlibLock lock(HamlibCalls());
    CloseRig(rig);
  }
  static int Read(Handle* rig, Reading& reading) {
    const HamlibLock lock(HamlibCalls());
    return ReadRig(rig, reading);
  }
  static Reading Without(LinkState state) { return {state, 0, {}}; }
  static void Deliver(HamlibRadio& radio, const Reading& reading) {
    if (radio.RigChanged) {
      radio.RigChanged(reading);
    }
  }
};

struct RotatorDevice {
  using Handle = ROT;
  using Reading = RotatorReading;
  static Handle* Open(const DeviceLink& link, std::chrono::milliseconds answer, int& error) {
    const HamlibLock lock(HamlibCalls());
    return OpenRotator(link, answer, error);
  }
  static void Close(Handle* rot) {
    const HamlibLock lock(HamlibCalls());
    CloseRotator(rot);
  }
  static int Read(Handle* rot, Reading& reading) {
    const HamlibLock lock(HamlibCalls());
    return ReadRotator(rot, reading);
  }
  static Reading Without(LinkState state) { return {state, {}}; }
  static void Deliver(HamlibRadio& radio, const Reading& reading) {
    if (radio.RotatorChanged) {
      radio.RotatorChanged(reading);
    }
  }
};

// One device kept linked: opened when it can be, polled, dropped on the first error that says it
// is gone and opened again after a pause. Each reading is posted only when it changed.
template <class Device>
class LinkThread : public DeviceThread {
 public:
  LinkThread(HamlibRadio& radio, HamlibRadio::Post post, HamlibRadio::Timing timing)
      : DeviceThread(std::move(post), timing), radio_(radio) {}
  ~LinkThread() override { Stop(); }
  LinkThread(const LinkThread&) = delete;
  LinkThread& operator=(const LinkThread&) = delete;

  void SetLink(const DeviceLink& link) {
    Enqueue([this, link] {
      Drop();
      link_ = link;
      next_try_ = Clock::now();
      TickNow();
      Report(Device::Without(link.model == 0 ? LinkState::kNone : LinkState::kConnecting));
    });
  }
  // Runs `command` on the open device; its error drops the link if it says the device is gone.
  void Command(std::function<int(typename Device::Handle*)> command) {
    Enqueue([this, command = std::move(command)] {
      if (handle_ == nullptr) {
        return;
      }
      int error = RIG_OK;
      {
        const HamlibLock lock(HamlibCalls());
        error = command(handle_);
      }
      Check(error);
    });
  }

 protected:
  void Tick() override {
    if (link_.model == 0) {
      return;
    }
    if (handle_ == nullptr) {
      if (Clock::now() < next_try_) {
        return;
      }
      int error = 0;
      handle_ = Device::Open(link_, timing_.answer, error);
      if (handle_ == nullptr) {
        // The first opening that fails ends "connecting": the window says the device is not there.
        next_try_ = Clock::now() + timing_.retry;
        Report(Device::Without(LinkState::kNotConnected));
        return;
      }
    }
    typename Device::Reading reading;
    if (Check(Device::Read(handle_, reading))) {
      Report(reading);
    }
  }
  void Shutdown() override { Drop(); }

  // False, and the link dropped, when the error says the device is gone.
  bool Check(int error) {
    if (error == RIG_OK || Unsupported(error)) {
      return true;
    }
    Drop();
    next_try_ = Clock::now() + timing_.retry;
    Report(Device::Without(LinkState::kNotConnected));
    return false;
  }

  HamlibRadio& radio_;
  typename Device::Handle* handle_ = nullptr;

 private:
  void Drop() {
    Device::Close(handle_);
    handle_ = nullptr;
  }
  void Report(const typename Device::Reading& reading) {
    if (reading == last_) {
      return;
    }
    last_ = reading;
    post_([radio = &radio_, reading] { Device::Deliver(*radio, reading); });
  }

  DeviceLink link_;
  Clock::time_point next_try_;
  typename Device::Reading last_;
};

// Opens a device once, reads it and closes it again: what "Prova" does for each device.
template <class Device>
void ProbeOnce(const DeviceLink& link, std::chrono::milliseconds answer,
               typename Device::Reading& reading, std::string& problem) {
  if (link.model == 0) {
    return;
  }
  int error = 0;
  if (typename Device::Handle* handle = Device::Open(link, answer, error); handle != nullptr) {
    error = Device::Read(handle, reading);
    Device::Close(handle);
  }
  if (error != RIG_OK) {
    reading = Device::Without(LinkState::kNotConnected);
    problem = Problem(error);
  }
}

class HamlibRadio::RigThread : public LinkThread<RigDevice> {
 public:
  using LinkThread::LinkThread;

  // The message goes to the keyer; whether it got there goes back to the window. A message still
  // queued behind a slow rig when the operator stops sending is dropped, not sent late.
  void SendMorse(const std::string& text) {
    Enqueue([this, text, asked = stops_.load()] {
      if (asked != stops_.load()) {
        return;
      }
      int error = -RIG_EIO;
      if (handle_ != nullptr) {
        const HamlibLock lock(HamlibCalls());
        error = rig_send_morse(handle_, RIG_VFO_CURR, text.c_str());
      }
      post_([radio = &radio_, text, sent = error == RIG_OK] {
        if (radio->MorseSent) {
          radio->MorseSent(text, sent);
        }
      });
      if (handle_ != nullptr) {
        Check(error);
      }
    });
  }
  void StopMorse() {
    ++stops_;
    Command([](RIG* rig) { return rig_stop_morse(rig, RIG_VFO_CURR); });
  }
  void SetPtt(bool on, std::function<void(const std::string&)> done) {
    Enqueue([this, on, done = std::move(done)] {
      if (handle_ == nullptr) {
        done("radio non collegata: PTT non comandato");
        return;
      }
      int error = RIG_OK;
      {
        const HamlibLock lock(HamlibCalls());
        error = rig_set_ptt(handle_, RIG_VFO_CURR, on ? RIG_PTT_ON : RIG_PTT_OFF);
      }
      Check(error);
      done(error == RIG_OK ? std::string() : "PTT via CAT non riuscito: " + Problem(error));
    });
  }

 private:
  std::atomic<int> stops_ = 0;
};

class HamlibRadio::RotatorThread : public LinkThread<RotatorDevice> {
 public:
  using LinkThread::LinkThread;
};

HamlibRadio::HamlibRadio(Post post, Timing timing) : post_(std::move(post)), timing_(timing) {
  LoadBackends();
  // The lists are read once, before any device thread runs.
  rig_list_foreach(
      [](const rig_caps* caps, rig_ptr_t data) {
        static_cast<std::vector<DeviceModel>*>(data)->push_back(
            {static_cast<int>(caps->rig_model), ModelName(caps->mfg_name, caps->model_name)});
        return 1;  // go on
      },
      &rig_models_);
  rot_list_foreach(
      [](const rot_caps* caps, rig_ptr_t data) {
        static_cast<std::vector<DeviceModel>*>(data)->push_back(
            {static_cast<int>(caps->rot_model), ModelName(caps->mfg_name, caps->model_name)});
        return 1;
      },
      &rotator_models_);
  SortByName(rig_models_);
  SortByName(rotator_models_);
  // Started once built, and stopped before being taken apart: the threads call their virtual
  // functions.
  rig_ = std::make_unique<RigThread>(*this, post_, timing_);
  rotator_ = std::make_unique<RotatorThread>(*this, post_, timing_);
  rig_->Start();
  rotator_->Start();
}

HamlibRadio::~HamlibRadio() {
  rig_->Stop();
  rotator_->Stop();
  std::lock_guard lock(probes_mutex_);
  for (std::thread& probe : probes_) {
    probe.join();
  }
}

std::vector<DeviceModel> HamlibRadio::RigModels() { return rig_models_; }
std::vector<DeviceModel> HamlibRadio::RotatorModels() { return rotator_models_; }

void HamlibRadio::Connect(const DeviceLink& rig, const DeviceLink& rotator) {
  rig_->SetLink(rig);
  rotator_->SetLink(rotator);
}

void HamlibRadio::TurnTo(double azimuth) {
  rotator_->Command([azimuth](ROT* rot) {
    return rot_set_position(
        rot, static_cast<azimuth_t>(InRotatorRange(azimuth, rot->caps->min_az, rot->caps->max_az)),
        0);
  });
}

void HamlibRadio::StopTurning() {
  rotator_->Command([](ROT* rot) { return rot_stop(rot); });
}
void HamlibRadio::SendMorse(const std::string& text) { rig_->SendMorse(text); }

void HamlibRadio::StopMorse() { rig_->StopMorse(); }

void HamlibRadio::SetPtt(bool on, std::function<void(const std::string&)> done) {
  rig_->SetPtt(on, std::move(done));
}

void HamlibRadio::SetMorseSpeed(int wpm) {
  rig_->Command([wpm](RIG* rig) {
    value_t speed{};
    speed.i = wpm;
    return rig_set_level(rig, RIG_VFO_CURR, RIG_LEVEL_KEYSPD, speed);
  });
}

bool HamlibRadio::HasCatKeyer(int model) const {
  const HamlibLock lock(HamlibCalls());
  const rig_caps* caps = rig_get_caps(model);
  return caps != nullptr && caps->send_morse != nullptr;
}

void HamlibRadio::Probe(const DeviceLink& rig, const DeviceLink& rotator,
                        std::function<void(const ProbeResult&)> done) {
  std::lock_guard lock(probes_mutex_);
  probes_.emplace_back([this, rig, rotator, done = std::move(done)] {
    ProbeResult result;
    ProbeOnce<RigDevice>(rig, timing_.answer, result.rig, result.rig_problem);
    ProbeOnce<RotatorDevice>(rotator, timing_.answer, result.rotator, result.rotator_problem);
    post_([done, result] { done(result); });
  });
}

}  // namespace keldra

// The rig and the rotator through Hamlib. Each device has a thread of its own that owns its
// Hamlib handle: it opens the device, polls it about once a second, carries out the commands
// queued to it in order, and reconnects when the device (or the daemon in front of it) comes
// back. Readings go back through `post`, which must run its job on the user-interface thread;
// nothing here ever waits for a device on the caller's thread, except the end, which waits for
// the threads to finish what they are doing (at most one short time-out).
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "radio/DeviceThread.h"
#include "radio/Radio.h"

namespace keldra {

class HamlibRadio : public Radio {
 public:
  using Post = PostToUi;
  using Timing = DeviceTiming;

  explicit HamlibRadio(Post post, Timing timing = {});
  ~HamlibRadio() override;
  HamlibRadio(const HamlibRadio&) = delete;
  HamlibRadio& operator=(const HamlibRadio&) = delete;

  std::vector<DeviceModel> RigModels() override;
  std::vector<DeviceModel> RotatorModels() override;
  void Connect(const DeviceLink& rig, const DeviceLink& rotator) override;
  void TurnTo(double azimuth) override;
  void StopTurning() override;
  void SendMorse(const std::string& text) override;
  void StopMorse() override;
  void SetPtt(bool on, std::function<void(const std::string&)> done) override;
  void SetMorseSpeed(int wpm) override;
  bool HasCatKeyer(int model) const override;
  void Probe(const DeviceLink& rig, const DeviceLink& rotator,
             std::function<void(const ProbeResult&)> done) override;

  class RigThread;
  class RotatorThread;

 private:
  Post post_;
  Timing timing_;
  std::vector<DeviceModel> rig_models_;
  std::vector<DeviceModel> rotator_models_;
  std::unique_ptr<RigThread> rig_;
  std::unique_ptr<RotatorThread> rotator_;
  std::mutex probes_mutex_;
  std::vector<std::thread> probes_;
};

}  // namespace keldra

// The rig and rotator through Hamlib's daemons that this program starts itself: the operator
// picks a model from the daemon's own list and a serial port, as with the device library, and
// the program runs `rigctld -m MODEL -r PORT -s SPEED` (and rotctld) on a free loopback port,
// with no window, keeps it running (started again when it dies, its last words told), and ends
// it when the settings change or the program ends. Everything said to the daemons is the daemon
// driver's (DaemonRadio), which sees only "Hamlib NET rigctl" at 127.0.0.1:port; a daemon the
// operator runs elsewhere is still reached as "Hamlib NET rigctl" with its host:port.
#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "radio/drivers/DaemonLauncher.h"
#include "radio/drivers/DaemonRadio.h"

namespace keldra {

// What was found of Hamlib on this PC, searched once per folder the operator names.
struct LocalHamlib {
  HamlibFound found;
  ModelList rigs;
  ModelList rotators;
};

class LocalDaemonRadio : public Radio {
 public:
  // `search` finds Hamlib for the operator's folder (tests give their own places).
  using Search = std::function<LocalHamlib(const std::string& folder)>;
  static LocalHamlib SearchThisPc(const std::string& folder);

  explicit LocalDaemonRadio(PostToUi post, DeviceTiming timing = {},
                            Search search = &LocalDaemonRadio::SearchThisPc);
  ~LocalDaemonRadio() override;
  LocalDaemonRadio(const LocalDaemonRadio&) = delete;
  LocalDaemonRadio& operator=(const LocalDaemonRadio&) = delete;

  std::vector<DeviceModel> RigModels() override;
  std::vector<DeviceModel> RotatorModels() override;
  std::string PortHint(bool rotator) const override;
  void Connect(const DeviceLink& rig, const DeviceLink& rotator) override;
  void TurnTo(double azimuth) override { daemons_.TurnTo(azimuth); }
  void StopTurning() override { daemons_.StopTurning(); }
  void SendMorse(const std::string& text) override { daemons_.SendMorse(text); }
  void StopMorse() override { daemons_.StopMorse(); }
  void SetMorseSpeed(int wpm) override { daemons_.SetMorseSpeed(wpm); }
  void SetPtt(bool on, std::function<void(const std::string&)> done) override {
    daemons_.SetPtt(on, std::move(done));
  }
  void Probe(const DeviceLink& rig, const DeviceLink& rotator,
             std::function<void(const ProbeResult&)> done) override;

  bool StartsDaemons() const override { return true; }
  void UseLibraryFolder(const std::string& folder) override;
  std::string LibraryStatus() override;

  // The daemon kept for one device (for tests): its process number (0: none) and port.
  long DaemonId(bool rotator) const;
  int DaemonPort(bool rotator) const;

  class Keeper;

 private:
  // Looks for Hamlib again unless this folder's search is under way or done.
  void StartSearch(const std::string& folder);
  // What was found; it waits for the search under way.
  std::shared_future<LocalHamlib> Hamlib();
  // The link the daemon driver is given for the operator's link.
  DeviceLink Kept(Keeper& keeper, const DeviceLink& link);
  void Reconnect();

  PostToUi post_;
  DeviceTiming timing_;
  Search search_;
  DaemonRadio daemons_;
  std::mutex mutex_;  // guards what follows
  std::string folder_;
  std::shared_future<LocalHamlib> hamlib_;
  int searches_ = 0;  // counts the searches, so a daemon of an older one is started afresh
  DeviceLink rig_;
  DeviceLink rotator_;
  std::shared_ptr<Keeper> rig_keeper_;
  std::shared_ptr<Keeper> rotator_keeper_;
  std::mutex probes_mutex_;
  std::vector<std::thread> probes_;
};

}  // namespace keldra

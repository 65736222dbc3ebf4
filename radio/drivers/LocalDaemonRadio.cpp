#include "radio/drivers/LocalDaemonRadio.h"

#include <algorithm>
#include <atomic>

#include "system/Process.h"
#include "system/SerialPort.h"
#include "system/Socket.h"

namespace keldra {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A daemon on a slow PC (or under an emulator) may take seconds to load its backends.
constexpr milliseconds kLongestStart{15000};
constexpr milliseconds kLongestPause{30000};

bool Answers(int port, milliseconds limit) {
  TcpSocket socket;
  return socket.Connect("127.0.0.1", port, Clock::now() + limit) == SocketFailure::kNone;
}

bool Launched(const DeviceLink& link, int daemon_model) {
  return link.model != 0 && link.model != daemon_model;
}

std::string Loopback(int port) { return "127.0.0.1:" + std::to_string(port); }

// Starts `program` for `link` on `port` and waits until the port answers; why not, when it
// does not (Italian, UTF-8).
std::string StartAndWait(ChildProcess& child, const std::filesystem::path& program,
                         const std::string& daemon, const DeviceLink& link, int port) {
  if (program.empty()) {
    return daemon + " non trovato";
  }
  if (const std::string problem = child.Start(program, DaemonArguments(link, port));
      !problem.empty()) {
    return daemon + " non si avvia: " + problem;
  }
  const Clock::time_point deadline = Clock::now() + kLongestStart;
  while (Clock::now() < deadline) {
    if (!child.Running()) {
      return StoppedDaemonText(daemon, link.port, child.Errors());
    }
    if (Answers(port, milliseconds(300))) {
      // rigctld 4.5 now and then drops a connection made just after the one before it closed.
      std::this_thread::sleep_for(milliseconds(300));
      return {};
    }
    std::this_thread::sleep_for(milliseconds(100));
  }
  child.End();
  return daemon + " non risponde sulla porta " + std::to_string(port);
}

}  // namespace

// One daemon kept running for one device on its own thread: started when the link is set,
// started again (after a growing pause) when it dies, and ended when the link changes.
class LocalDaemonRadio::Keeper : public DeviceThread {
 public:
  Keeper(bool rotator, PostToUi post, DeviceTiming timing,
         std::function<void(const std::string&)> tell, std::function<void()> moved)
      : DeviceThread(std::move(post), timing),
        rotator_(rotator),
        daemon_(rotator ? "rotctld" : "rigctld"),
        tell_(std::move(tell)),
        moved_(std::move(moved)) {}
  ~Keeper() override { Stop(); }
  Keeper(const Keeper&) = delete;
  Keeper& operator=(const Keeper&) = delete;

  // Keeps a daemon for `link` on `port` from now on (model 0: none); a daemon already kept for
  // the same link by the same search goes on running.
  void Keep(std::shared_future<LocalHamlib> hamlib, int search, const DeviceLink& link, int port) {
    {
      const std::lock_guard lock(mutex_);
      if (link == link_ && port == port_ && search == search_) {
        return;
      }
      link_ = link;
      port_ = port;
      search_ = search;
    }
    Enqueue([this, hamlib = std::move(hamlib), link] {
      EndDaemon();
      hamlib_ = hamlib;
      wanted_ = link.model != 0;
      told_.clear();
      failures_ = 0;
      next_start_ = Clock::now();
      TickNow();
    });
  }
  // The port of the daemon kept for this very link, or 0.
  int PortFor(const DeviceLink& link) const {
    const std::lock_guard lock(mutex_);
    return link == link_ ? port_ : 0;
  }
  int Port() const {
    const std::lock_guard lock(mutex_);
    return port_;
  }
  long Id() const { return id_; }
  // Ends the daemon for a while (another holds its serial port) and waits until it is gone.
  void Hold() {
    std::promise<void> done;
    Enqueue([this, &done] {
      held_ = true;
      EndDaemon();
      done.set_value();
    });
    done.get_future().wait();
  }
  void Release() {
    Enqueue([this] {
      held_ = false;
      next_start_ = Clock::now();
      TickNow();
    });
  }

 protected:
  void Tick() override {
    if (!wanted_ || held_) {
      return;
    }
    if (running_ && child_.Running()) {
      return;
    }
    if (running_) {
      running_ = false;
      id_ = 0;
      Failed(StoppedDaemonText(daemon_, link_.port, child_.Errors()));
    }
    if (Clock::now() < next_start_) {
      return;
    }
    // Someone else took the port since it was chosen: another one, and the driver told.
    if (Answers(Port(), milliseconds(200))) {
      {
        const std::lock_guard lock(mutex_);
        port_ = FreeLoopbackPort();
      }
      moved_();
    }
    const LocalHamlib& hamlib = hamlib_.get();
    const std::filesystem::path& program = rotator_ ? hamlib.found.rotctld : hamlib.found.rigctld;
    const std::string problem = StartAndWait(child_, program, daemon_, link_, Port());
    if (!problem.empty()) {
      Failed(program.empty() ? problem + ". " + hamlib.found.Status() : problem);
      return;
    }
    running_ = true;
    id_ = child_.Id();
    failures_ = 0;
    told_.clear();
  }
  void Shutdown() override { EndDaemon(); }

 private:
  void EndDaemon() {
    child_.End();
    running_ = false;
    id_ = 0;
  }
  // Told once until the daemon runs again; tried again after a pause that doubles.
  void Failed(const std::string& problem) {
    if (problem != told_) {
      told_ = problem;
      tell_(problem);
    }
    const int doubled = std::min(failures_++, 4);
    next_start_ =
        Clock::now() + std::min<milliseconds>(timing_.retry * (1 << doubled), kLongestPause);
  }

  const bool rotator_;
  const std::string daemon_;
  std::function<void(const std::string&)> tell_;
  std::function<void()> moved_;
  mutable std::mutex mutex_;  // guards link_ and port_, read by other threads
  DeviceLink link_;
  int port_ = 0;
  int search_ = 0;
  std::atomic<long> id_ = 0;
  // The thread's own.
  std::shared_future<LocalHamlib> hamlib_;
  bool wanted_ = false;
  bool held_ = false;
  bool running_ = false;
  int failures_ = 0;
  std::string told_;
  Clock::time_point next_start_;
  ChildProcess child_;
};

LocalHamlib LocalDaemonRadio::SearchThisPc(const std::string& folder) {
  LocalHamlib hamlib;
  hamlib.found = FindHamlib(HamlibFolders(HamlibPlacesHere(std::filesystem::u8path(folder))));
  hamlib.rigs = ReadModels(hamlib.found.rigctld);
  hamlib.rotators = ReadModels(hamlib.found.rotctld);
  return hamlib;
}

LocalDaemonRadio::LocalDaemonRadio(PostToUi post, DeviceTiming timing, Search search)
    : post_(std::move(post)), timing_(timing), search_(std::move(search)), daemons_(post_, timing) {
  daemons_.RigChanged = [this](const RigReading& reading) {
    if (RigChanged) {
      RigChanged(reading);
    }
  };
  daemons_.RotatorChanged = [this](const RotatorReading& reading) {
    if (RotatorChanged) {
      RotatorChanged(reading);
    }
  };
  daemons_.MorseSent = [this](const std::string& text, bool sent) {
    if (MorseSent) {
      MorseSent(text, sent);
    }
  };
  const auto tell = [this](const std::string& problem) {
    post_([this, problem] {
      if (LinkProblem) {
        LinkProblem(problem);
      }
    });
  };
  rig_keeper_ = std::make_shared<Keeper>(false, post_, timing_, tell, [this] { Reconnect(); });
  rotator_keeper_ = std::make_shared<Keeper>(true, post_, timing_, tell, [this] { Reconnect(); });
  rig_keeper_->Start();
  rotator_keeper_->Start();
  StartSearch("");
}

LocalDaemonRadio::~LocalDaemonRadio() {
  {
    const std::lock_guard lock(probes_mutex_);
    for (std::thread& probe : probes_) {
      probe.join();
    }
  }
  rig_keeper_->Stop();
  rotator_keeper_->Stop();
}

void LocalDaemonRadio::UseLibraryFolder(const std::string& folder) { StartSearch(folder); }

void LocalDaemonRadio::StartSearch(const std::string& folder) {
  const std::lock_guard lock(mutex_);
  if (hamlib_.valid() && folder == folder_) {
    return;
  }
  folder_ = folder;
  ++searches_;
  hamlib_ = std::async(std::launch::async, search_, folder).share();
}

std::shared_future<LocalHamlib> LocalDaemonRadio::Hamlib() {
  const std::lock_guard lock(mutex_);
  return hamlib_;
}

std::string LocalDaemonRadio::LibraryStatus() { return Hamlib().get().found.Status(); }

std::vector<DeviceModel> LocalDaemonRadio::RigModels() {
  std::vector<DeviceModel> models = Hamlib().get().rigs.models;
  return models.empty() ? daemons_.RigModels() : models;
}

std::vector<DeviceModel> LocalDaemonRadio::RotatorModels() {
  std::vector<DeviceModel> models = Hamlib().get().rotators.models;
  return models.empty() ? daemons_.RotatorModels() : models;
}

std::string LocalDaemonRadio::PortHint(bool rotator) const {
  std::string ports;
  for (const SerialPortName& port : ListSerialPorts()) {
    ports += (ports.empty() ? "" : ", ") + port.label;
  }
  return "porta seriale (" + (ports.empty() ? std::string("es. COM3") : "su questo PC: " + ports) +
         "); con \"Hamlib NET " + (rotator ? "rotctl" : "rigctl") + "\" host:porta di un " +
         (rotator ? "rotctld" : "rigctld") + " avviato altrove";
}

DeviceLink LocalDaemonRadio::Kept(Keeper& keeper, const DeviceLink& link) {
  const int daemon_model = &keeper == rotator_keeper_.get() ? DaemonRadio::kRotatorDaemonModel
                                                            : DaemonRadio::kRigDaemonModel;
  if (!Launched(link, daemon_model)) {
    keeper.Keep(hamlib_, searches_, {}, 0);
    return link;
  }
  int port = keeper.PortFor(link);
  if (port == 0) {
    port = FreeLoopbackPort();
  }
  keeper.Keep(hamlib_, searches_, link, port);
  return {daemon_model, Loopback(port), 0};
}

void LocalDaemonRadio::Connect(const DeviceLink& rig, const DeviceLink& rotator) {
  const std::lock_guard lock(mutex_);
  rig_ = rig;
  rotator_ = rotator;
  daemons_.Connect(Kept(*rig_keeper_, rig), Kept(*rotator_keeper_, rotator));
}

void LocalDaemonRadio::Reconnect() {
  const std::lock_guard lock(mutex_);
  const auto moved = [](const DeviceLink& link, const Keeper& keeper, int daemon_model) {
    return Launched(link, daemon_model) ? DeviceLink{daemon_model, Loopback(keeper.Port()), 0}
                                        : link;
  };
  daemons_.Connect(moved(rig_, *rig_keeper_, DaemonRadio::kRigDaemonModel),
                   moved(rotator_, *rotator_keeper_, DaemonRadio::kRotatorDaemonModel));
}

long LocalDaemonRadio::DaemonId(bool rotator) const {
  return (rotator ? rotator_keeper_ : rig_keeper_)->Id();
}

int LocalDaemonRadio::DaemonPort(bool rotator) const {
  return (rotator ? rotator_keeper_ : rig_keeper_)->Port();
}

namespace {

// A device "Prova" reaches: through the kept daemon when it runs for this very link, else
// through a daemon of its own started for the test (the kept one ended meanwhile, as both would
// want the same serial port).
struct ProbedDevice {
  DeviceLink link;  // what the daemon driver probes
  std::shared_ptr<ChildProcess> daemon;
  std::shared_ptr<LocalDaemonRadio::Keeper> held;
  std::string problem;  // the daemon could not be started
};

}  // namespace

void LocalDaemonRadio::Probe(const DeviceLink& rig, const DeviceLink& rotator,
                             std::function<void(const ProbeResult&)> done) {
  const std::lock_guard lock(probes_mutex_);
  probes_.emplace_back([this, rig, rotator, done = std::move(done)] {
    const std::shared_future<LocalHamlib> search = Hamlib();
    const LocalHamlib& hamlib = search.get();
    const auto reach = [&hamlib](const DeviceLink& link, const std::shared_ptr<Keeper>& keeper,
                                 bool is_rotator) {
      ProbedDevice device{link, nullptr, nullptr, {}};
      const int daemon_model =
          is_rotator ? DaemonRadio::kRotatorDaemonModel : DaemonRadio::kRigDaemonModel;
      if (!Launched(link, daemon_model)) {
        return device;
      }
      if (const int port = keeper->PortFor(link); port != 0 && keeper->Id() != 0) {
        device.link = {daemon_model, Loopback(port), 0};
        return device;
      }
      keeper->Hold();
      device.held = keeper;
      device.daemon = std::make_shared<ChildProcess>();
      const int port = FreeLoopbackPort();
      device.problem =
          StartAndWait(*device.daemon, is_rotator ? hamlib.found.rotctld : hamlib.found.rigctld,
                       is_rotator ? "rotctld" : "rigctld", link, port);
      device.link =
          device.problem.empty() ? DeviceLink{daemon_model, Loopback(port), 0} : DeviceLink{};
      return device;
    };
    const ProbedDevice probed_rig = reach(rig, rig_keeper_, false);
    const ProbedDevice probed_rotator = reach(rotator, rotator_keeper_, true);
    daemons_.Probe(probed_rig.link, probed_rotator.link,
                   [done, probed_rig, probed_rotator](ProbeResult result) {
                     for (const ProbedDevice* device : {&probed_rig, &probed_rotator}) {
                       if (device->daemon) {
                         device->daemon->End();
                       }
                       if (device->held) {
                         device->held->Release();
                       }
                     }
                     if (!probed_rig.problem.empty()) {
                       result.rig = {LinkState::kNotConnected, 0, {}};
                       result.rig_problem = probed_rig.problem;
                     }
                     if (!probed_rotator.problem.empty()) {
                       result.rotator = {LinkState::kNotConnected, {}};
                       result.rotator_problem = probed_rotator.problem;
                     }
                     done(result);
                   });
  });
}

}  // namespace keldra

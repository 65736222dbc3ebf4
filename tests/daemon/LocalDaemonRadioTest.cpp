// Hamlib's daemons run by the program: found with their version and model lists, started for the
// chosen model on a free loopback port and reached through it, started again after a kill with
// the operator told, ended when the settings change and when the program ends, and a serial port
// they cannot open told in Italian with their own words. On Linux the real rigctld and rotctld
// (dummy devices) run; under Wine the tests' own stand-in does.
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <thread>

#include "Host.h"
#include "radio/drivers/LocalDaemonRadio.h"
#include "support/EventPump.h"
#include "system/ContestFolder.h"
#include "system/Process.h"

namespace keldra::testing {
namespace {

using std::chrono::milliseconds;

constexpr DeviceTiming kTiming{
    .poll = milliseconds(200), .answer = milliseconds(1500), .retry = milliseconds(300)};
constexpr DeviceLink kDummy{1, "", 0};

class LocalDaemonRadioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("keldra-daemons-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    if (!MakeDaemons(folder_ / "daemons") || !MakeDaemons(folder_ / "old", "3.3.1")) {
      GTEST_SKIP() << "no rigctld and rotctld here (apt-get install libhamlib-utils)";
    }
    std::filesystem::create_directories(folder_ / "empty");
  }
  void TearDown() override {
    radio_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  // A radio that looks for Hamlib only where the test says: nothing, then a Hamlib 3, then ours.
  LocalDaemonRadio& Radio() {
    radio_ = std::make_unique<LocalDaemonRadio>(
        [this](std::function<void()> job) { pump_.Post(std::move(job)); }, kTiming,
        [this](const std::string&) {
          LocalHamlib hamlib;
          hamlib.found = FindHamlib({folder_ / "empty", folder_ / "old", folder_ / "daemons"});
          hamlib.rigs = ReadModels(hamlib.found.rigctld);
          hamlib.rotators = ReadModels(hamlib.found.rotctld);
          return hamlib;
        });
    radio_->RigChanged = [this](const RigReading& reading) { rig_ = reading; };
    radio_->RotatorChanged = [this](const RotatorReading& reading) { rotator_ = reading; };
    radio_->LinkProblem = [this](const std::string& problem) { told_.push_back(problem); };
    return *radio_;
  }
  bool RunUntil(const std::function<bool()>& done) {
    return pump_.RunUntil(done, std::chrono::seconds(40));
  }

  std::filesystem::path folder_;
  EventPump pump_;
  std::unique_ptr<LocalDaemonRadio> radio_;
  RigReading rig_;
  RotatorReading rotator_;
  std::vector<std::string> told_;
};

// For what no event tells: polled.
bool Eventually(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(milliseconds(100));
  }
  return done();
}

bool Lists(const std::vector<DeviceModel>& models, int number, const std::string& name) {
  return std::any_of(models.begin(), models.end(), [&](const DeviceModel& model) {
    return model.number == number && model.name == name;
  });
}

TEST_F(LocalDaemonRadioTest, FoundPastAnotherMajorVersionWithBothModelLists) {
  LocalDaemonRadio& radio = Radio();
  const std::string status = radio.LibraryStatus();
  EXPECT_TRUE(status.starts_with("Hamlib 4.")) << status;
  EXPECT_NE(status.find("daemons"), std::string::npos) << status;
  EXPECT_TRUE(Lists(radio.RigModels(), 1, "Hamlib Dummy"));
  EXPECT_TRUE(Lists(radio.RigModels(), 2, "Hamlib NET rigctl"));
  EXPECT_TRUE(Lists(radio.RotatorModels(), 1, "Hamlib Dummy"));
  EXPECT_TRUE(Lists(radio.RigModels(), 1020, "Yaesu FT-817"));

  // Only the Hamlib 3 there: refused, and the operator told where to get one.
  const HamlibFound old = FindHamlib({folder_ / "empty", folder_ / "old"});
  EXPECT_TRUE(old.rigctld.empty());
  EXPECT_TRUE(old.Status().starts_with("Hamlib 3.3.1 in ")) << old.Status();
  EXPECT_NE(old.Status().find("https://github.com/Hamlib/Hamlib/releases"), std::string::npos);
}

TEST_F(LocalDaemonRadioTest, StartedKeptAfterAKillAndEnded) {
  LocalDaemonRadio& radio = Radio();
  radio.Connect(kDummy, kDummy);
  ASSERT_TRUE(RunUntil([&] {
    return rig_.state == LinkState::kConnected && rotator_.state == LinkState::kConnected;
  }));
  EXPECT_DOUBLE_EQ(rig_.frequency_hz, 145000000);
  // The daemon may answer before its keeper has seen it answer.
  ASSERT_TRUE(Eventually([&] { return radio.DaemonId(false) != 0 && radio.DaemonId(true) != 0; }));
  const long first = radio.DaemonId(false);
  const long rotctld = radio.DaemonId(true);
  ASSERT_NE(first, 0);
  ASSERT_NE(rotctld, 0);
  // A port of its own, not the one an operator's own rigctld would take.
  EXPECT_NE(radio.DaemonPort(false), DaemonRadio::kRigDaemonPort);
  EXPECT_TRUE(Listening(radio.DaemonPort(false)));

  // "Prova" on the running link goes through the running daemon.
  std::optional<ProbeResult> probed;
  radio.Probe(kDummy, {}, [&](const ProbeResult& result) { probed = result; });
  ASSERT_TRUE(RunUntil([&] { return probed.has_value(); }));
  EXPECT_EQ(probed->rig.state, LinkState::kConnected) << probed->rig_problem;
  EXPECT_EQ(probed->rig_name, "Hamlib Dummy");

  // The voice messages' PTT reaches the started daemon too (the stand-in keys; the real dummy
  // rig without "-P RIG" refuses, in its own words).
  std::promise<std::string> keyed;
  radio.SetPtt(true, [&](const std::string& problem) { keyed.set_value(problem); });
  const std::string problem = keyed.get_future().get();
  EXPECT_TRUE(problem.empty() || problem == "PTT via CAT non riuscito: rigctld: errore 1")
      << problem;

  Kill(first);
  ASSERT_TRUE(RunUntil([&] { return rig_.state != LinkState::kConnected; }));
  ASSERT_TRUE(RunUntil([&] { return rig_.state == LinkState::kConnected; }));
  ASSERT_TRUE(Eventually([&] { return radio.DaemonId(false) != 0; }));
  EXPECT_NE(radio.DaemonId(false), first);
  ASSERT_EQ(told_.size(), 1u);
  EXPECT_TRUE(told_[0].starts_with("rigctld si è fermato")) << told_[0];

  // "Prova" on other settings: a daemon of its own meanwhile, and the kept one back after it.
  probed.reset();
  radio.Probe({1, "", 19200}, {}, [&](const ProbeResult& result) { probed = result; });
  ASSERT_TRUE(RunUntil([&] { return probed.has_value(); }));
  EXPECT_EQ(probed->rig.state, LinkState::kConnected) << probed->rig_problem;
  ASSERT_TRUE(Eventually([&] { return radio.DaemonId(false) != 0; }));

  // The rig to "nessuno": its daemon ends, the rotator's stays.
  const long second = radio.DaemonId(false);
  radio.Connect({}, kDummy);
  ASSERT_TRUE(Eventually([&] { return radio.DaemonId(false) == 0; }));
  EXPECT_FALSE(Alive(second));
  EXPECT_TRUE(Alive(rotctld));
  radio_.reset();
  EXPECT_FALSE(Alive(rotctld));
}

TEST_F(LocalDaemonRadioTest, APortItCannotOpenToldInItalian) {
  LocalDaemonRadio& radio = Radio();
  const DeviceLink busy{1020, BusyPort(), 9600};
  std::optional<ProbeResult> probed;
  radio.Probe(busy, {}, [&](const ProbeResult& result) { probed = result; });
  ASSERT_TRUE(RunUntil([&] { return probed.has_value(); }));
  EXPECT_EQ(probed->rig.state, LinkState::kNotConnected);
  EXPECT_TRUE(probed->rig_problem.starts_with("rigctld si è fermato: la porta " + BusyPort()))
      << probed->rig_problem;

  radio.Connect(busy, {});
  ASSERT_TRUE(RunUntil([&] { return !told_.empty(); }));
  EXPECT_EQ(told_[0], probed->rig_problem);
  // Tried again, but told once.
  pump_.RunUntil([] { return false; }, milliseconds(1500));
  EXPECT_EQ(told_.size(), 1u);
}

// Where the helper below tells its daemons' numbers.
std::filesystem::path HelperFile() {
  return std::filesystem::temp_directory_path() / "keldra-daemons-of-a-killed-program.txt";
}

// The program killed with no chance to clean up: run by the next test as a process of its own.
TEST_F(LocalDaemonRadioTest, DISABLED_HoldsDaemonsUntilKilled) {
  LocalDaemonRadio& radio = Radio();
  radio.Connect(kDummy, kDummy);
  ASSERT_TRUE(Eventually([&] { return radio.DaemonId(false) != 0 && radio.DaemonId(true) != 0; }));
  std::ofstream(HelperFile().string() + ".part")
      << radio.DaemonId(false) << " " << radio.DaemonId(true) << "\n";
  std::filesystem::rename(HelperFile().string() + ".part", HelperFile());
  std::this_thread::sleep_for(std::chrono::seconds(60));
}

TEST_F(LocalDaemonRadioTest, NothingOutlivesAKilledProgram) {
  std::filesystem::remove(HelperFile());
  ChildProcess program;
  ASSERT_EQ(program.Start(ExecutableFolder() / ExecutableFileName("test_daemon"),
                          {"--gtest_filter=LocalDaemonRadioTest.DISABLED_HoldsDaemonsUntilKilled",
                           "--gtest_also_run_disabled_tests"}),
            "");
  long rigctld = 0;
  long rotctld = 0;
  ASSERT_TRUE(Eventually([&] {
    return static_cast<bool>(std::ifstream(HelperFile()) >> rigctld >> rotctld);
  })) << program.Errors();
  ASSERT_TRUE(Alive(rigctld));
  Kill(program.Id());
  EXPECT_TRUE(Eventually([&] { return !Alive(rigctld) && !Alive(rotctld); }));
  std::filesystem::remove(HelperFile());
}

}  // namespace
}  // namespace keldra::testing

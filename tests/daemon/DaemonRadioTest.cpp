// The rig and the rotator through Hamlib's real rigctld and rotctld (dummy devices) on loopback:
// readings arrive and follow the rig, CW is keyed and stopped, the rotator turns and stops, a
// daemon killed mid-contest is found again, and a daemon that is missing or stalls is reported
// in Italian without ever holding up the caller's thread.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "Host.h"
#include "radio/drivers/DaemonRadio.h"
#include "support/EventPump.h"

namespace keldra::testing {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr DeviceTiming kTiming{
    .poll = milliseconds(200), .answer = milliseconds(500), .retry = milliseconds(300)};

class DaemonRadioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HostHas("rigctld") || !HostHas("rotctld")) {
      GTEST_SKIP() << "rigctld and rotctld are not installed (apt-get install libhamlib-utils)";
    }
    radio_.RigChanged = [this](const RigReading& reading) { rig_ = reading; };
    radio_.RotatorChanged = [this](const RotatorReading& reading) { rotator_ = reading; };
    radio_.MorseSent = [this](const std::string& text, bool sent) {
      keyed_.push_back(text + (sent ? "" : " (non inviato)"));
    };
  }
  bool RunUntil(const std::function<bool()>& done, milliseconds limit = milliseconds(10000)) {
    return pump_.RunUntil(done, limit);
  }
  // Asks the dummy rig as another program would. On a busy machine rigctld now and then closes a
  // connection made just after another client left; like any client, this one connects again.
  static DaemonAnswer AskRig(const std::string& address, const std::string& command) {
    DaemonConnection rig("rigctld", "la radio", DaemonRadio::kRigDaemonPort, milliseconds(2000));
    rig.SetAddress(address);
    DaemonAnswer answer = rig.Ask(command);
    for (int again = 0; again < 3 && answer.code == DaemonAnswer::kNoAnswer; ++again) {
      std::this_thread::sleep_for(milliseconds(100));
      answer = rig.Ask(command);
    }
    return answer;
  }
  // Sets the dummy rig as the operator would on the rig itself.
  static void Tune(const std::string& address, const std::string& command) {
    const DaemonAnswer answer = AskRig(address, command);
    ASSERT_TRUE(answer.Done()) << command << ": " << answer.code << " " << answer.problem;
  }
  static std::optional<std::string> Frequency(const std::string& address) {
    return AskRig(address, "f").Value("Frequency");
  }
  ProbeResult Probed(const DeviceLink& rig, const DeviceLink& rotator) {
    std::optional<ProbeResult> found;
    radio_.Probe(rig, rotator, [&found](const ProbeResult& result) { found = result; });
    EXPECT_TRUE(RunUntil([&] { return found.has_value(); }));
    return found.value_or(ProbeResult{});
  }

  EventPump pump_;
  DaemonRadio radio_{[this](std::function<void()> job) { pump_.Post(std::move(job)); }, kTiming};
  RigReading rig_;
  RotatorReading rotator_;
  std::vector<std::string> keyed_;
};

constexpr int kNet = DaemonRadio::kRigDaemonModel;

TEST_F(DaemonRadioTest, ReadingsArriveAndFollowTheRig) {
  HostDaemon rig("rigctld", FreePort());
  HostDaemon rotator("rotctld", FreePort());
  Tune(rig.Address(), "F 144300000");
  Tune(rig.Address(), "M CW 0");
  radio_.Connect({kNet, rig.Address(), 0}, {kNet, rotator.Address(), 0});
  ASSERT_TRUE(RunUntil([&] { return rig_.state == LinkState::kConnected; }));
  EXPECT_EQ(rig_, (RigReading{LinkState::kConnected, 144300000, "CW"}));
  ASSERT_TRUE(RunUntil([&] { return rotator_.state == LinkState::kConnected; }));
  EXPECT_EQ(rotator_.azimuth, 0.0);

  // The operator turns the rig to USB: the reading follows.
  Tune(rig.Address(), "M USB 2400");
  Tune(rig.Address(), "F 144250000");
  EXPECT_TRUE(RunUntil([&] {
    return rig_ == RigReading{LinkState::kConnected, 144250000, "USB"};
  })) << rig_.frequency_hz
      << " " << rig_.mode;

  // "Prova" says what answered.
  const ProbeResult found = Probed({kNet, rig.Address(), 0}, {kNet, rotator.Address(), 0});
  EXPECT_EQ(found.rig, (RigReading{LinkState::kConnected, 144250000, "USB"}));
  EXPECT_EQ(found.rig_name, "Hamlib Dummy");
  EXPECT_EQ(found.rig_problem, "");
  EXPECT_EQ(found.rotator.state, LinkState::kConnected);
  EXPECT_EQ(found.rotator_name, "Hamlib Dummy");
}

TEST_F(DaemonRadioTest, MorseIsKeyedAndStopped) {
  HostDaemon rig("rigctld", FreePort());
  radio_.Connect({kNet, rig.Address(), 0}, {});
  ASSERT_TRUE(RunUntil([&] { return rig_.state == LinkState::kConnected; }));
  // A line end in a message stays inside the message.
  radio_.SendMorse("CQ QX0ABC\nF 144100000");
  radio_.SendMorse("TU 5NN");
  ASSERT_TRUE(RunUntil([&] { return keyed_.size() == 2; }));
  EXPECT_EQ(keyed_, (std::vector<std::string>{"CQ QX0ABC\nF 144100000", "TU 5NN"}));
  // The dummy rig cannot stop its keyer: Esc is refused there, and the link stays.
  radio_.StopMorse();
  radio_.SendMorse("73");
  ASSERT_TRUE(RunUntil([&] { return keyed_.size() == 3; }));
  EXPECT_EQ(keyed_.back(), "73");
  EXPECT_EQ(rig_.state, LinkState::kConnected);
  EXPECT_EQ(Frequency(rig.Address()), "145000000");  // the line end sent no "F" command
}

TEST_F(DaemonRadioTest, RotatorTurnsAndStops) {
  HostDaemon rotator("rotctld", FreePort());
  radio_.Connect({}, {kNet, rotator.Address(), 0});
  ASSERT_TRUE(RunUntil([&] { return rotator_.state == LinkState::kConnected; }));
  // The dummy turns a few degrees a second, towards the target.
  radio_.TurnTo(90);
  ASSERT_TRUE(RunUntil([&] { return rotator_.azimuth.value_or(0) >= 3; }));
  radio_.StopTurning();
  pump_.RunUntil([] { return false; }, milliseconds(600));
  const double stopped = rotator_.azimuth.value_or(-1);
  pump_.RunUntil([] { return false; }, milliseconds(1000));
  EXPECT_LT(stopped, 30);
  EXPECT_NEAR(rotator_.azimuth.value_or(-1), stopped, 0.01);
}

TEST_F(DaemonRadioTest, ADaemonKilledAndStartedAgainIsFoundAgain) {
  HostDaemon rig("rigctld", FreePort());
  HostDaemon rotator("rotctld", FreePort());
  radio_.Connect({kNet, rig.Address(), 0}, {kNet, rotator.Address(), 0});
  ASSERT_TRUE(RunUntil([&] {
    return rig_.state == LinkState::kConnected && rotator_.state == LinkState::kConnected;
  }));
  rig.Kill();
  rotator.Kill();
  ASSERT_TRUE(RunUntil([&] {
    return rig_.state == LinkState::kNotConnected && rotator_.state == LinkState::kNotConnected;
  }));
  radio_.SendMorse("CQ");
  ASSERT_TRUE(RunUntil([&] { return !keyed_.empty(); }));
  EXPECT_EQ(keyed_.back(), "CQ (non inviato)");
  rig.Start();
  rotator.Start();
  EXPECT_TRUE(RunUntil([&] {
    return rig_.state == LinkState::kConnected && rotator_.state == LinkState::kConnected;
  }));
}

// What "Prova" and the window say when the daemon is not there, or the link cannot be one.
TEST_F(DaemonRadioTest, NothingListeningIsSaidInItalian) {
  const int port = FreePort();
  const std::string nobody = "127.0.0.1:" + std::to_string(port);
  radio_.Connect({kNet, nobody, 0}, {kNet, nobody, 0});
  EXPECT_TRUE(RunUntil([&] {
    return rig_.state == LinkState::kNotConnected && rotator_.state == LinkState::kNotConnected;
  }));
  const struct {
    DeviceLink link;
    std::string rig_problem;
  } cases[] = {
      {{kNet, nobody, 0},
       "nessun rigctld in ascolto su " + nobody +
           ": avviare rigctld (si trova in Hamlib per Windows)"},
      {{kNet, "localhost:45x", 0},
       "indirizzo non valido: \"localhost:45x\" (host:porta, es. localhost:4532)"},
      {{kNet, "127.0.0.1:70000", 0},
       "indirizzo non valido: \"127.0.0.1:70000\" (host:porta, es. localhost:4532)"},
      {{kNet, "nessuno.invalid", 0}, "indirizzo sconosciuto: nessuno.invalid"},
      {{1, "", 0}, "la radio si raggiunge solo tramite rigctld: scegliere \"Hamlib NET rigctl\""},
  };
  for (const auto& c : cases) {
    const ProbeResult found = Probed(c.link, {});
    EXPECT_EQ(found.rig.state, LinkState::kNotConnected) << c.link.port;
    EXPECT_EQ(found.rig_problem, c.rig_problem);
    EXPECT_EQ(found.rotator.state, LinkState::kNone);
  }
  const ProbeResult rotator = Probed({}, {kNet, "[::1]:" + std::to_string(port), 0});
  EXPECT_EQ(rotator.rotator_problem, "nessun rotctld in ascolto su [::1]:" + std::to_string(port) +
                                         ": avviare rotctld (si trova in Hamlib per Windows)");
}

// A daemon that accepts and never answers (stopped): every call returns at once, the link is
// said lost after one time-out, Esc drops the messages still queued, and the end is brief.
TEST_F(DaemonRadioTest, AStalledDaemonNeverHoldsUpTheCaller) {
  HostDaemon rig("rigctld", FreePort());
  HostDaemon rotator("rotctld", FreePort());
  rig.Pause();
  rotator.Pause();
  const DeviceLink stalled_rig{kNet, rig.Address(), 0};
  const DeviceLink stalled_rotator{kNet, rotator.Address(), 0};
  milliseconds longest{0};
  const auto timed = [&longest](const std::function<void()>& call) {
    const auto start = Clock::now();
    call();
    longest = std::max(longest, std::chrono::duration_cast<milliseconds>(Clock::now() - start));
  };
  std::optional<DaemonRadio> radio;
  radio.emplace([this](std::function<void()> job) { pump_.Post(std::move(job)); }, kTiming);
  radio->RigChanged = [this](const RigReading& reading) { rig_ = reading; };
  radio->MorseSent = [this](const std::string& text, bool) { keyed_.push_back(text); };
  std::optional<ProbeResult> found;
  timed([&] { radio->Connect(stalled_rig, stalled_rotator); });
  std::this_thread::sleep_for(milliseconds(200));  // the rig's thread is waiting for its answer
  timed([&] { radio->SendMorse("CQ"); });
  timed([&] { radio->SendMorse("TU"); });
  timed([&] { radio->StopMorse(); });
  timed([&] { radio->SendMorse("73"); });
  timed([&] { radio->TurnTo(90); });
  timed([&] { radio->StopTurning(); });
  timed([&] {
    radio->Probe(stalled_rig, stalled_rotator, [&found](const ProbeResult& r) { found = r; });
  });
  // Far below one answer time-out (500 ms): nothing waited for the daemon. Starting the probe's
  // thread alone takes some 20 ms under Wine on a busy machine.
  EXPECT_LT(longest, milliseconds(100));

  ASSERT_TRUE(RunUntil([&] { return rig_.state == LinkState::kNotConnected; }, milliseconds(3000)));
  ASSERT_TRUE(RunUntil([&] { return found.has_value(); }, milliseconds(5000)));
  EXPECT_EQ(found->rig_problem, "rigctld non risponde (" + rig.Address() + ")");
  EXPECT_EQ(found->rotator_problem, "rotctld non risponde (" + rotator.Address() + ")");
  ASSERT_TRUE(RunUntil([&] { return !keyed_.empty(); }, milliseconds(3000)));
  EXPECT_EQ(keyed_, std::vector<std::string>{"73"});

  // Ended while an exchange waits for its answer: at most that exchange's time-out.
  std::this_thread::sleep_for(milliseconds(kTiming.retry + milliseconds(100)));
  const auto asked = Clock::now();
  radio.reset();
  EXPECT_LT(Clock::now() - asked, milliseconds(2500));
}

}  // namespace
}  // namespace keldra::testing

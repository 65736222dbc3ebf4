// The main window on Hamlib's dummy rig and rotator, in this process and behind rigctld and
// rotctld on loopback: readings reach the window, "Ruota" turns the rotator, F1 keys a message,
// and a daemon that dies and comes back is followed without holding up the logging.
#include <gtest/gtest.h>

#include "Daemons.h"
#include "TestSupport.h"
#include "core/Text.h"
#include "radio/drivers/HamlibRadio.h"
#include "ui/MainWindow.h"
#include "ui/RadioWindow.h"

namespace keldra::testing {
namespace {

using std::chrono::milliseconds;

class HamlibRadioTest : public ProgramTest {
 protected:
  void SetUp() override { WriteBytes(File("config.txt"), kLoggingStationFile); }
  void TearDown() override { program_.reset(); }

  MainWindow& Linked(const std::string& radio_file) {
    WriteBytes(File("radio.txt"), radio_file);
    program().SetDevices(radio_);
    return program().Get<MainWindow>();
  }
  bool RunUntil(const std::function<bool()>& done, milliseconds limit = milliseconds(20000)) {
    return pump_.RunUntil(done, limit);
  }
  // Sets the dummy rig behind rigctld as another program would.
  static void Tune(const std::string& address, const std::string& commands) {
    ASSERT_EQ(std::system(("rigctl -m 2 -r " + address + " " + commands + " >/dev/null").c_str()),
              0);
  }

  EventPump pump_;
  HamlibRadio radio_{
      [this](std::function<void()> job) { pump_.Post(std::move(job)); },
      {.poll = milliseconds(200), .answer = milliseconds(500), .retry = milliseconds(300)}};
};

TEST_F(HamlibRadioTest, DummiesInThisProcess) {
  MainWindow& m = Linked("rig_model = 1\r\nrotator_model = 1\r\n");
  // The dummy rig starts on 145 MHz FM: shown, and the mode field left alone.
  ASSERT_TRUE(RunUntil([&] { return m.rig_state.Caption() == "connessa, FM"; }));
  EXPECT_EQ(m.rig_frequency.Caption(), "145.000,00");
  EXPECT_EQ(m.mode.Text(), "SSB");
  ASSERT_TRUE(RunUntil([&] { return m.turn_button.Enabled(); }));
  EXPECT_EQ(m.antenna_heading.Caption(), Cp1252("ant. 0°"));
  // A station a little east of north: the dummy rotator turns about six degrees a second.
  m.locator.Type("JN83KA");
  const std::string target = "ant. " + Trim(m.bearing.Caption()) + Cp1252("°");
  m.turn_button.Press();
  EXPECT_TRUE(RunUntil([&] { return m.antenna_heading.Caption() == target; }))
      << m.antenna_heading.Caption() << " " << target;
  // "Prova": the rig answers, a rotator behind a port nobody listens on does not.
  std::optional<ProbeResult> found;
  radio_.Probe({1, "", 0}, {2, "127.0.0.1:" + std::to_string(FreePort()), 0},
               [&](const ProbeResult& result) { found = result; });
  ASSERT_TRUE(RunUntil([&] { return found.has_value(); }));
  EXPECT_EQ(found->rig, (RigReading{LinkState::kConnected, 145e6, "FM"}));
  EXPECT_EQ(found->rotator.state, LinkState::kNotConnected);
  EXPECT_EQ(found->rotator_problem, "porta o demone non raggiungibile");
}

TEST_F(HamlibRadioTest, TheRigsWithoutACatKeyerAreKnownAndSaid) {
  // The dummy, a daemon's rig and a TS-2000 have one; the FT-817, FT-818 and FT-857 none.
  for (const int model : {1, 2, 2014}) {
    EXPECT_TRUE(radio_.HasCatKeyer(model)) << model;
  }
  for (const int model : {1020, 1041, 1022}) {
    EXPECT_FALSE(radio_.HasCatKeyer(model)) << model;
  }
  Linked("rig_model = 1020\r\n").radio_button.Press();
  EXPECT_EQ(program().Get<RadioWindow>().keyer.note.Caption(),
            "La radio scelta non ha un keyer CAT: scegliere WinKeyer.");
}

TEST_F(HamlibRadioTest, DaemonsOnLoopback) {
  if (!OnPath("rigctld") || !OnPath("rotctld")) {
    GTEST_SKIP() << "rigctld and rotctld (libhamlib-utils) are not installed";
  }
  Daemon rig("rigctld", FreePort());
  Daemon rotator("rotctld", FreePort());
  Tune(rig.Address(), "F 144300000 M CW 0");
  MainWindow& m = Linked("rig_model = 2\r\nrig_port = " + rig.Address() +
                         "\r\nrotator_model = 2\r\nrotator_port = " + rotator.Address() + "\r\n");
  ASSERT_TRUE(RunUntil([&] { return m.rig_state.Caption() == "connessa, CW"; }));
  EXPECT_EQ(m.rig_frequency.Caption(), "144.300,00");
  EXPECT_EQ(m.mode.Text(), "CW");
  EXPECT_EQ(m.rst_sent.Text(), "599");

  // F2 keys the exchange with the fields filled in.
  m.call.Type("QX1ZZ");
  EXPECT_TRUE(m.call.PressKey(key::kF1 + 1));
  EXPECT_TRUE(RunUntil([&] {
    return m.rig_state.ToolTip() == "Ultimo messaggio CW: QX1ZZ 5NN 001 JN81GD";
  })) << m.rig_state.ToolTip();

  // The operator turns the rig to USB: the mode field follows.
  Tune(rig.Address(), "M USB 2400 F 144250000");
  ASSERT_TRUE(RunUntil([&] { return m.mode.Text() == "SSB"; }));
  EXPECT_EQ(m.rig_frequency.Caption(), "144.250,00");
  EXPECT_EQ(m.rst_sent.Text(), "59");

  m.locator.Type("JN83KA");
  ASSERT_TRUE(RunUntil([&] { return m.turn_button.Enabled(); }));
  m.turn_button.Press();
  const std::string target = "ant. " + Trim(m.bearing.Caption()) + Cp1252("°");
  EXPECT_TRUE(RunUntil([&] { return m.antenna_heading.Caption() == target; }))
      << m.antenna_heading.Caption();

  // The rig's daemon dies mid-contest: the window says so and the QSO is logged all the same.
  rig.Kill();
  ASSERT_TRUE(RunUntil([&] { return m.rig_state.Caption() == "non connessa"; }));
  m.serial_received.Type("012");
  m.ok_button.Press();
  EXPECT_NE(m.qso_list.Text().find("QX1ZZ"), std::string::npos);
  EXPECT_EQ(m.qso_number.Text(), "002");
  // It comes back, and so does the link.
  rig.Start();
  EXPECT_TRUE(RunUntil([&] { return m.rig_state.Caption() == "connessa, FM"; }))
      << m.rig_state.Caption();
}

}  // namespace
}  // namespace keldra::testing

namespace keldra::testing {
namespace {

// Commands to devices that never answer return at once, and the end waits for one time-out.
TEST(HamlibRadioEnd, ADaemonThatNeverAnswersHoldsUpTheEndBriefly) {
  SlowDaemon daemon{milliseconds(-1)};
  EventPump pump;
  // Asked to end during the first attempt to open the devices, and during the second.
  for (int wait : {300, 2100}) {
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point asked;
    {
      HamlibRadio radio([&pump](std::function<void()> job) { pump.Post(std::move(job)); });
      radio.Connect({2, daemon.Address(), 0}, {2, daemon.Address(), 0});
      radio.SendMorse("TEST");
      radio.TurnTo(90);
      EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(20));
      std::this_thread::sleep_for(milliseconds(wait));
      asked = std::chrono::steady_clock::now();
    }
    // At most the exchanges of one attempt, each cut short by its time-out.
    EXPECT_LT(std::chrono::steady_clock::now() - asked, milliseconds(2500)) << wait;
  }
}

// Messages queued behind a rig that is slow to answer are dropped by Esc, not keyed late.
TEST(HamlibRadioEnd, StoppingDropsTheMessagesStillQueued) {
  SlowDaemon daemon{milliseconds(-1)};
  EventPump pump;
  // Each exchange of the opening may take two seconds, so the rig's thread is surely still opening
  // it when the messages are queued, however loaded the machine.
  DeviceTiming timing;
  timing.answer = milliseconds(2000);
  HamlibRadio radio([&pump](std::function<void()> job) { pump.Post(std::move(job)); }, timing);
  std::vector<std::string> keyed;
  radio.MorseSent = [&keyed](const std::string& text, bool) { keyed.push_back(text); };
  bool connecting = false;
  radio.RigChanged = [&connecting](const RigReading& reading) {
    connecting = connecting || reading.state == LinkState::kConnecting;
  };
  // Linked once the rig's thread has had its first tick, as "Salva" links anew later on: the
  // link is opened at once all the same, not at the next poll.
  std::this_thread::sleep_for(milliseconds(100));
  radio.Connect({2, daemon.Address(), 0}, {});
  // The thread has taken the link and goes on to open it.
  ASSERT_TRUE(pump.RunUntil([&] { return connecting; }, milliseconds(5000)));
  std::this_thread::sleep_for(milliseconds(200));
  radio.SendMorse("CQ");
  radio.SendMorse("TU");
  radio.StopMorse();
  radio.SendMorse("73");
  EXPECT_TRUE(pump.RunUntil([&] { return !keyed.empty(); }, milliseconds(15000)));
  EXPECT_EQ(keyed, std::vector<std::string>{"73"});
}

}  // namespace
}  // namespace keldra::testing

namespace keldra::testing {
namespace {

// A device that cannot be opened at all is said not connected, not left "connecting".
TEST(HamlibRadioEnd, AFirstOpeningThatFailsSaysNotConnected) {
  EventPump pump;
  HamlibRadio radio([&pump](std::function<void()> job) { pump.Post(std::move(job)); });
  std::vector<LinkState> states;
  radio.RigChanged = [&states](const RigReading& reading) { states.push_back(reading.state); };
  radio.Connect({2, "127.0.0.1:" + std::to_string(FreePort()), 0}, {});
  EXPECT_TRUE(pump.RunUntil([&] { return states.size() == 2; }, milliseconds(5000)));
  EXPECT_EQ(states, (std::vector<LinkState>{LinkState::kConnecting, LinkState::kNotConnected}));
}

}  // namespace
}  // namespace keldra::testing

// The rig and the rotator with real keys on the real program, linked through rigctld and rotctld
// (Hamlib's dummy devices) on loopback; the model windows run on a fake rig in the same state.
// The rig is in CW, so the QSO is logged in CW with 599 without the arrow keys; F1 keys a message;
// "Ruota" turns the rotator behind rotctld to the QTF; the rig's daemon killed and started again
// mid-contest. The files must be the model's byte for byte, and the settings window opened and
// left changes none of them. Run against the Windows program under Wine too (KELDRA_WINDOWS_EXE).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "Harness.h"
#include "core/Text.h"
#include "hamlib/Daemons.h"
#include "support/FakeRadio.h"
#include "ui/MainWindow.h"

namespace keldra::e2e {
namespace {

const char kStation[] = "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";

// What the rotator behind rotctld reports, in degrees (NaN when it does not answer).
double RotatorAzimuth(const std::string& address) {
  FILE* pipe = popen(("rotctl -m 2 -r " + address + " p 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) {
    return NAN;
  }
  char line[64] = {};
  const bool read = fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  return read ? std::atof(line) : NAN;
}

class RadioScenarioTest : public ::testing::Test {
 protected:
  XSession x_;
};

TEST_F(RadioScenarioTest, RigModeLogsTheQsoAndRuotaTurnsTheRotator) {
  if (!testing::OnPath("rigctld") || !testing::OnPath("rotctld")) {
    GTEST_SKIP() << "rigctld and rotctld (libhamlib-utils) are not installed";
  }
  testing::Daemon rig("rigctld", testing::FreePort());
  testing::Daemon rotator("rotctld", testing::FreePort());
  ASSERT_EQ(std::system(("rigctl -m 2 -r " + rig.Address() + " F 144300000 M CW 0").c_str()), 0);
  FakeRadio fake;
  const StartState setup{
      {2023, 7, 16, 9, 0, 0},
      120,
      {{"config.txt", kStation},
       {"radio.txt", "rig_model = 2\r\nrig_port = " + rig.Address() +
                         "\r\nrotator_model = 2\r\nrotator_port = " + rotator.Address() + "\r\n"}},
      &fake};
  BothRuns run(x_, setup);
  fake.Rig(LinkState::kConnected, 144300000, "CW");
  fake.Rotator(LinkState::kConnected, 0);

  const std::vector<Step> steps = {
      Click("Form1", "RadioSettings", "e2e_radio_01_settings"),
      Click("RadioWindow", "ExitButton"),
      // Off-line, so both runs log the same time.
      Click("Form1", "Command7"),
      Click("Form1", "Text2"),
      Keys("Form1", std::string(10, '\b') + "16/07/23\n"),
      // The mode field is left as the rig set it; F1 keys CQ from the callsign field, Esc stops it.
      Keys("Form1", std::string(6, '\b') + "0702\n\n\nQX1ZZ\x04\x1b\n\n\n012\nJN83KA",
           "e2e_radio_02_rig_in_cw"),
      Click("Form1", "TurnAntenna"),
      Click("Form1", "Text10"),
      Keys("Form1", "\n\n\n", "e2e_radio_03_logged"),
  };
  run.Play(steps);

  const auto written = FolderFiles(run.real_folder);
  ASSERT_TRUE(written.count("parziale.db"));
  EXPECT_NE(written.at("parziale.db").find("QSO_EDI 230716;0702;QX1ZZ;0;599;001;599;012;;JN83KA;"),
            std::string::npos)
      << written.at("parziale.db");
  EXPECT_EQ(fake.sent, std::vector<std::string>{"CQ TEST QX0ABC"});
  EXPECT_EQ(fake.morse_stops, 1);
  ASSERT_EQ(fake.turned_to.size(), 1u);
  // The real rotator arrives where the model was told to turn (the dummy turns 6 degrees a
  // second).
  double azimuth = NAN;
  for (int i = 0; i < 100; ++i) {
    azimuth = RotatorAzimuth(rotator.Address());
    if (std::abs(azimuth - fake.turned_to[0]) < 0.5) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  EXPECT_NEAR(azimuth, fake.turned_to[0], 0.5);

  // The rig's daemon dies mid-contest: the next QSO is logged all the same, in the mode the field
  // holds. Then it comes back with the rig in USB: the program links again by itself and the mode
  // field follows the rig, so the third QSO is logged in SSB.
  rig.Kill();
  fake.Rig(LinkState::kNotConnected);
  run.Play({Keys("Form1", "0710\n\n\nQX2YY\n\n\n013\nJN63AB\n\n\n", "e2e_radio_04_rig_gone")});
  rig.Start();
  ASSERT_EQ(std::system(("rigctl -m 2 -r " + rig.Address() + " M USB 0").c_str()), 0);
  fake.Rig(LinkState::kConnected, 144300000, "USB");
  std::this_thread::sleep_for(std::chrono::seconds(5));  // a retry after 2 s, then a poll
  run.Play({Keys("Form1", "0720\n\n\nQX3XX\n\n\n014\nJN53AB\n\n\n", "e2e_radio_05_rig_back")});
  const std::string saved = testing::ReadBytes(run.real_folder / "parziale.db");
  EXPECT_NE(saved.find("230716;0710;QX2YY;0;599;002;599;013;;JN63AB;"), std::string::npos) << saved;
  EXPECT_NE(saved.find("230716;0720;QX3XX;1;59;003;59;014;;JN53AB;"), std::string::npos) << saved;
}

}  // namespace
}  // namespace keldra::e2e

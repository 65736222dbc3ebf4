// The rig and the rotator in the main window and in "Radio e rotore", on a fake device.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "core/Text.h"
#include "support/FakeRadio.h"
#include "ui/RadioWindow.h"

namespace keldra::testing {
namespace {

constexpr Color kRed{200, 0, 0};

class RadioTest : public MainWindowTest {
 protected:
  // The main window on the fake devices, with a rig (and rotator) linked as radio.txt says.
  MainWindow& Linked(const std::string& radio_file = "rig_model = 1\r\nrotator_model = 1\r\n") {
    if (!radio_file.empty()) {
      WriteBytes(File("radio.txt"), radio_file);
    }
    program().SetDevices(radio_);
    return Main();
  }
  FakeRadio radio_;
};

TEST_F(RadioTest, RigReadingsReachTheMainWindow) {
  MainWindow& m = Linked();
  EXPECT_EQ(radio_.connects, 1);
  EXPECT_EQ(radio_.connected_rig.model, 1);
  EXPECT_EQ(m.rig_state.Caption(), "nessuna radio");
  const struct {
    LinkState state;
    double hertz;
    const char* rig_mode;
    const char* frequency;
    bool red;
    const char* state_text;
    const char* mode;
    const char* reports;
  } steps[] = {
      {LinkState::kConnecting, 0, "", "", true, "connessione...", "SSB", "59"},
      {LinkState::kNotConnected, 0, "", "", true, "non connessa", "SSB", "59"},
      {LinkState::kConnected, 144300000, "CW", "144.300,00", false, "connessa, CW", "CW", "599"},
      {LinkState::kConnected, 144050000, "CW", "144.050,00", false, "connessa, CW", "CW", "599"},
      {LinkState::kConnected, 432200000, "LSB", "432.200,00", true, "connessa, LSB", "SSB", "59"},
      {LinkState::kConnected, 145500000, "FM", "145.500,00", false, "connessa, FM", "SSB", "59"},
      {LinkState::kConnected, 144300000, "CWR", "144.300,00", false, "connessa, CWR", "CW", "599"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.frequency);
    radio_.Rig(s.state, s.hertz, s.rig_mode);
    EXPECT_EQ(m.rig_frequency.Caption(), s.frequency);
    EXPECT_EQ(m.rig_frequency.ForeColor() == kRed, s.red);
    EXPECT_EQ(m.rig_state.Caption(), s.state_text);
    EXPECT_EQ(m.mode.Text(), s.mode);
    EXPECT_EQ(m.rst_sent.Text(), s.reports);
    EXPECT_EQ(m.rst_received.Text(), s.reports);
  }
  // Tuning the rig without changing its mode keeps the reports the operator typed.
  m.rst_received.SetText("579");
  radio_.Rig(LinkState::kConnected, 144310000, "CWR");
  EXPECT_EQ(m.rst_received.Text(), "579");
}

TEST_F(RadioTest, ADamagedSettingsFileIsReadAsFarAsItGoesAndSaid) {
  MainWindow& m = Linked("rig_model = 1\r\nrotator_model = due\r\n");
  EXPECT_EQ(LastMessage(),
            "radio.txt: righe non valide ignorate: 1. Controllare le impostazioni con "
            "\"Radio...\".");
  EXPECT_EQ(m.RadioSetup().rig.model, 1);
  EXPECT_EQ(radio_.connected_rotator.model, 0);
}

TEST_F(RadioTest, CwMessagesOnlyWithARigInCw) {
  MainWindow& m = Linked("rig_model = 1\r\ncw_f4 = {LOC} {nr}\r\n");
  m.call.Type("qx1zz");
  const struct {
    const char* name;
    LinkState state;
    const char* rig_mode;
    bool used;
  } links[] = {{"not_connected", LinkState::kNotConnected, "", false},
               {"ssb", LinkState::kConnected, "USB", false},
               {"cw", LinkState::kConnected, "CW", true}};
  for (const auto& l : links) {
    SCOPED_TRACE(l.name);
    radio_.sent.clear();
    radio_.Rig(l.state, 144050000, l.rig_mode);
    for (int f = 0; f < 4; ++f) {
      EXPECT_EQ(m.call.PressKey(key::kF1 + f), l.used);
    }
    EXPECT_EQ(m.call.PressKey(key::kEscape), l.used);
    EXPECT_EQ(radio_.sent.size(), l.used ? 4u : 0u);
  }
  EXPECT_EQ(radio_.sent, (std::vector<std::string>{"CQ TEST QX0ABC", "QX1ZZ 5NN 001 JN81GD",
                                                   "TU QX0ABC", "JN81GD 001"}));
  EXPECT_EQ(radio_.morse_stops, 1);
  EXPECT_EQ(m.call.Text(), "QX1ZZ");  // no key typed anything
  radio_.MorseSent("TU QX0ABC", false);
  EXPECT_EQ(m.rig_state.Caption(), "CW non inviato");
}

TEST_F(RadioTest, TurningTheAntenna) {
  MainWindow& m = Linked("rotator_model = 1\r\nantenna_offset = 10\r\n");
  // Without a rotator answering, the keys are the fields' own and nothing turns.
  m.locator.SetText("JN61FW");
  EXPECT_FALSE(m.locator.PressKey('R', {.control = true}));
  EXPECT_FALSE(m.turn_button.Enabled());
  radio_.Rotator(LinkState::kConnected, 0);
  EXPECT_TRUE(m.antenna_needle.Visible());
  EXPECT_EQ(m.antenna_heading.Caption(), Cp1252("ant. 10°"));
  const double qtf = LeadingNumber(m.bearing.Caption());
  ASSERT_GT(qtf, 180);  // Rome-ish from JN81GD is to the west
  m.turn_button.Press();
  EXPECT_TRUE(m.locator.PressKey('L', {.control = true}));
  EXPECT_TRUE(m.locator.PressKey('S', {.control = true}));
  ASSERT_EQ(radio_.turned_to.size(), 2u);
  EXPECT_DOUBLE_EQ(radio_.turned_to[0], qtf - 10);
  EXPECT_DOUBLE_EQ(radio_.turned_to[1], qtf - 190);
  EXPECT_EQ(radio_.stops, 1);
  // The needle follows the antenna's real heading: 270 on the rotator is 280 for the antenna.
  radio_.Rotator(LinkState::kConnected, 270);
  EXPECT_EQ(m.antenna_heading.Caption(), Cp1252("ant. 280°"));
  EXPECT_LT(m.antenna_needle.X2(), m.antenna_needle.X1());
  radio_.Rotator(LinkState::kNotConnected);
  EXPECT_FALSE(m.antenna_needle.Visible());
  EXPECT_FALSE(m.stop_button.Enabled());
}

TEST_F(RadioTest, AutomaticTurnWhenTheLocatorIsComplete) {
  MainWindow& m = Linked("rotator_model = 1\r\nauto_turn = 1\r\n");
  radio_.Rotator(LinkState::kConnected, 0);
  m.locator.Type("JN61F");
  EXPECT_TRUE(radio_.turned_to.empty());
  m.locator.Type("W");
  ASSERT_EQ(radio_.turned_to.size(), 1u);
  EXPECT_DOUBLE_EQ(radio_.turned_to[0], LeadingNumber(m.bearing.Caption()));
}

TEST_F(RadioTest, SettingsWindowSavesProbesAndReportsAFailedWrite) {
  MainWindow& m = Linked("");
  EXPECT_EQ(radio_.connects, 0);  // nothing set up: nothing linked, no file written
  m.radio_button.Press();
  RadioWindow& w = program().Get<RadioWindow>();
  EXPECT_EQ(w.Caption(), "Radio e rotore");
  EXPECT_EQ(w.rig_model.Text(), "nessuno");
  EXPECT_EQ(w.messages[1].Text(), "{CALL} 5NN {NR} {LOC}");
  w.rig_model.SetListIndex(2);  // Hamlib NET rigctl
  w.rig_port.SetText("localhost:4532");
  w.rotator_model.SetListIndex(1);
  // "Prova" says what answered.
  radio_.probe_answer = {{LinkState::kConnected, 144300000, "USB"},
                         "",
                         {LinkState::kNotConnected, {}},
                         "nessuna risposta",
                         "Hamlib Dummy (Niccolò)",
                         ""};
  w.probe_button.Press();
  EXPECT_EQ(
      w.probe_result.Caption(),
      "Radio: connessa (Hamlib Dummy (Niccol\xF2)), 144.300,00 MHz USB.\nRotore: non risponde "
      "(nessuna risposta).");
  // A bad offset is refused before anything is written.
  w.antenna_offset.SetText("9O");
  w.save_button.Press();
  EXPECT_EQ(LastMessage(), "Correzione antenna: un numero intero di gradi tra -360 e 360.");
  EXPECT_FALSE(std::filesystem::exists(File("radio.txt")));
  // A write that fails is reported and the window keeps what was set.
  w.antenna_offset.SetText("-5");
  std::filesystem::create_directory(File("radio.txt"));
  w.save_button.Press();
  EXPECT_NE(LastMessage().find("non sono state salvate"), std::string::npos);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(radio_.connects, 0);
  // Saved: the file, the devices linked anew, and the window shows it on the next opening.
  std::filesystem::remove(File("radio.txt"));
  w.save_button.Press();
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(radio_.connects, 1);
  EXPECT_EQ(radio_.connected_rig, (DeviceLink{2, "localhost:4532", 0}));
  EXPECT_EQ(radio_.connected_rotator.model, 1);
  const RadioSettingsRead read = ReadRadioSettings(ReadBytes(File("radio.txt")));
  EXPECT_EQ(read.settings, m.RadioSetup());
  EXPECT_EQ(read.settings.antenna_offset, -5);
  EXPECT_EQ(program().Get<RadioWindow>().rig_port.Text(), "localhost:4532");
}

}  // namespace
}  // namespace keldra::testing

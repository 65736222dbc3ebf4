// CW through the keyer in the main window and its settings in "Radio e rotore", on fake keyers.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "support/FakeKeyer.h"
#include "support/FakeRadio.h"
#include "ui/RadioWindow.h"

namespace keldra::testing {
namespace {

using Log = std::vector<std::string>;
constexpr const char* kWinKeyerFile =
    "keyer = 2\r\nkeyer_port = /dev/ttyUSB0\r\nkeyer_wpm = 26\r\n";

class KeyerTest : public MainWindowTest {
 protected:
  MainWindow& Linked(const std::string& radio_file) {
    WriteBytes(File("radio.txt"), radio_file);
    program().SetDevices(radio_);
    program().SetKeyers(keyers_);
    return Main();
  }
  Log Taken() { return std::exchange(keyers_.log, {}); }
  void Keyer(LinkState link, bool busy = false, int wpm = 0, std::string problem = {}) {
    keyers_.running->Changed({link, busy, wpm, std::move(problem), "WinKeyer 2.3"});
  }
  FakeRadio radio_;
  FakeKeyers keyers_;
};

TEST_F(KeyerTest, AWinKeyerKeysInCwWithoutARig) {
  MainWindow& m = Linked(kWinKeyerFile);
  EXPECT_EQ(keyers_.made, (std::vector<KeyerLink>{{KeyerKind::kWinKeyer, "/dev/ttyUSB0", 26}}));
  EXPECT_EQ(m.keyer_speed.Caption(), "CW 26 WPM");
  m.call.Type("qx1zz");
  // In SSB the F-keys are not CW's; the speed keys are the keyer's in every mode.
  EXPECT_FALSE(m.call.PressKey(key::kF1));
  for (const int key : {key::kPageUp, key::kPageDown, key::kPageDown}) {
    EXPECT_TRUE(m.call.PressKey(key));
  }
  m.mode.PressKey(key::kDown);
  Keyer(LinkState::kConnected);
  for (const int key : {key::kF1, key::kF1 + 1, key::kPageUp, key::kEscape}) {
    EXPECT_TRUE(m.call.PressKey(key)) << key;
  }
  m.call.PressKey(key::kEnter);  // Enter that sends is off unless asked for
  EXPECT_EQ(Taken(), (Log{"speed 28", "speed 26", "speed 24", "send CQ TEST QX0ABC",
                          "send QX1ZZ 5NN 001 JN81GD", "speed 26", "stop"}));
  EXPECT_EQ(m.call.Text(), "QX1ZZ");
  Keyer(LinkState::kConnected, true, 30);  // the speed pot turned on the keyer
  EXPECT_EQ(m.keyer_speed.Caption(), "CW> 30 WPM");
  m.call.PressKey(key::kPageUp);
  EXPECT_EQ(Taken(), (Log{"speed 32"}));
  // Unplugged: the label says it; a message then is said once, not dropped in silence.
  Keyer(LinkState::kNotConnected, false, 32, "porta scomparsa");
  EXPECT_EQ(m.keyer_speed.Caption(), "CW ---");
  EXPECT_EQ(m.keyer_speed.ToolTip(), "porta scomparsa");
  const std::size_t shown = messages_.shown.size();
  EXPECT_TRUE(m.rst_sent.PressKey(key::kF1 + 2));
  EXPECT_TRUE(m.rst_sent.PressKey(key::kF1 + 2));
  EXPECT_EQ(messages_.shown.size(), shown + 1);
  EXPECT_EQ(LastMessage(),
            "WinKeyer non connesso (porta scomparsa): il messaggio CW non è stato inviato. Il "
            "programma riprova da solo.");
  EXPECT_EQ(m.keyer_speed.Caption(), "CW non inviato");
  EXPECT_TRUE(Taken().empty());
  // The speed the operator ended with is the next start's.
  program().End();
  EXPECT_EQ(ReadRadioSettings(ReadBytes(File("radio.txt"))).settings.keyer.wpm, 32);
}

TEST_F(KeyerTest, ARigWithoutACatKeyerIsSaidOnceAndTheOthersOffered) {
  radio_.rig_without_keyer = 1;  // as an FT-817 is
  MainWindow& m = Linked("rig_model = 1\r\n");
  radio_.Rig(LinkState::kConnected, 144050000, "CW");
  const std::size_t shown = messages_.shown.size();
  EXPECT_TRUE(m.call.PressKey(key::kF1));
  EXPECT_TRUE(m.call.PressKey(key::kF1));
  EXPECT_EQ(messages_.shown.size(), shown + 1);
  EXPECT_EQ(LastMessage(),
            "La radio scelta non ha un keyer CAT: il messaggio CW non è stato inviato.\n"
            "Scegliere un WinKeyer o cwdaemon in \"Radio...\".");
  EXPECT_TRUE(radio_.sent.empty());

  m.radio_button.Press();
  RadioWindow& w = program().Get<RadioWindow>();
  EXPECT_EQ(w.keyer.note.Caption(),
            "La radio scelta non ha un keyer CAT: scegliere WinKeyer o cwdaemon.");
  w.rig_model.SetListIndex(2);  // a rig that has one
  EXPECT_EQ(w.keyer.note.Caption(), "");
  w.keyer.kind.SetListIndex(2);
  // A speed out of range is refused before anything is saved.
  w.keyer.wpm.SetText("70");
  w.save_button.Press();
  EXPECT_EQ(LastMessage(), "Velocità CW: un numero intero di WPM tra 5 e 60.");
  w.keyer.wpm.SetText("28");
  w.keyer.port.SetText("/dev/ttyUSB3");
  w.probe_button.Press();
  EXPECT_EQ(w.keyer.probe_result.Caption(), "Keyer: WinKeyer 2.3: VVV inviato.");
  w.save_button.Press();
  const KeyerLink chosen{KeyerKind::kWinKeyer, "/dev/ttyUSB3", 28, false};
  EXPECT_EQ(ReadRadioSettings(ReadBytes(File("radio.txt"))).settings.keyer, chosen);
  EXPECT_EQ(keyers_.made.back(), chosen);
}

TEST_F(KeyerTest, EnterSendsTheExchangeAndLogsWithTheClosingMessage) {
  MainWindow& m = Linked(std::string(kWinKeyerFile) + "enter_sends = 1\r\n");
  m.mode.PressKey(key::kDown);
  m.call.SetFocus();
  m.call.Type("qx1zz");
  EXPECT_TRUE(m.call.PressKey(key::kEnter));
  EXPECT_EQ(Taken(), (Log{"send QX1ZZ 5NN 001 JN81GD"}));
  EXPECT_EQ(Focused(), "Text7");  // on to the reports, as Enter goes
  m.serial_received.SetFocus();
  m.serial_received.Type("012");
  m.locator.SetFocus();
  m.locator.Type("JN61FW");
  EXPECT_TRUE(m.locator.PressKey(key::kEnter));
  EXPECT_EQ(Taken(), (Log{"send TU QX0ABC"}));
  EXPECT_NE(program().Contest().QsoListText().find("QX1ZZ"), std::string::npos);
  EXPECT_EQ(Focused(), "Text6");
  // A call already in the log gets no exchange; Enter still moves on.
  m.call.Type("QX1ZZ");
  EXPECT_TRUE(m.call.PressKey(key::kEnter));
  EXPECT_TRUE(Taken().empty());
  EXPECT_EQ(Focused(), "Text7");
}

}  // namespace
}  // namespace keldra::testing

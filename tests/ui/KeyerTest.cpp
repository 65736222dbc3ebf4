// CW through the keyer in the main window and its settings in "Radio e rotore", on fake keyers.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "support/FakeKeyer.h"
#include "support/FakeRadio.h"
#include "ui/RadioWindow.h"

namespace keldra::testing {
namespace {

using Log = std::vector<std::string>;

class KeyerTest : public MainWindowTest {
 protected:
  MainWindow& Linked(const std::string& radio_file) {
    WriteBytes(File("radio.txt"), radio_file);
    program().SetDevices(radio_);
    program().SetKeyers(keyers_);
    return Main();
  }
  // The log since the last look.
  Log Taken() { return std::exchange(keyers_.log, {}); }
  void Keyer(LinkState link, bool busy = false, int wpm = 0, std::string problem = {}) {
    keyers_.running->Changed({link, busy, wpm, std::move(problem), "WinKeyer 2.3"});
  }

  FakeRadio radio_;
  FakeKeyers keyers_;
};

constexpr const char* kWinKeyerFile =
    "keyer = 2\r\nkeyer_port = /dev/ttyUSB0\r\nkeyer_wpm = 26\r\n";

TEST_F(KeyerTest, AWinKeyerKeysInCwWithoutARig) {
  MainWindow& m = Linked(kWinKeyerFile);
  ASSERT_EQ(keyers_.made.size(), 1u);
  EXPECT_EQ(keyers_.made[0], (KeyerLink{KeyerKind::kWinKeyer, "/dev/ttyUSB0", 26, false}));
  EXPECT_TRUE(m.keyer_speed.Visible());
  EXPECT_EQ(m.keyer_speed.Caption(), "CW 26 WPM");
  m.call.Type("qx1zz");
  // In SSB the F-keys are not CW's; the speed keys are the keyer's in every mode.
  EXPECT_FALSE(m.call.PressKey(key::kF1));
  EXPECT_TRUE(m.call.PressKey(key::kPageUp));
  EXPECT_TRUE(m.call.PressKey(key::kPageDown));
  EXPECT_TRUE(m.call.PressKey(key::kPageDown));
  EXPECT_EQ(Taken(), (Log{"speed 28", "speed 26", "speed 24"}));
  EXPECT_TRUE(m.mode.PressKey(key::kDown));
  ASSERT_EQ(m.mode.Text(), "CW");
  Keyer(LinkState::kConnected);
  for (const int key : {key::kF1, key::kF1 + 1, key::kPageUp, key::kEscape}) {
    EXPECT_TRUE(m.call.PressKey(key)) << key;
  }
  EXPECT_EQ(Taken(), (Log{"send CQ TEST QX0ABC", "send QX1ZZ 5NN 001 JN81GD", "speed 26", "stop"}));
  EXPECT_EQ(m.call.Text(), "QX1ZZ");
  Keyer(LinkState::kConnected, true, 26);
  EXPECT_EQ(m.keyer_speed.Caption(), "CW> 26 WPM");
  // The speed pot turned on the keyer.
  Keyer(LinkState::kConnected, false, 30);
  EXPECT_EQ(m.keyer_speed.Caption(), "CW 30 WPM");
  EXPECT_TRUE(m.call.PressKey(key::kPageUp));
  EXPECT_EQ(Taken(), (Log{"speed 32"}));
  // Unplugged: the label says it; a message then is said once, not dropped in silence.
  Keyer(LinkState::kNotConnected, false, 32, "porta /dev/ttyUSB0 scomparsa");
  EXPECT_EQ(m.keyer_speed.Caption(), "CW ---");
  EXPECT_EQ(m.keyer_speed.ToolTip(), "porta /dev/ttyUSB0 scomparsa");
  const std::size_t shown = messages_.shown.size();
  EXPECT_TRUE(m.call.PressKey(key::kF1 + 2));
  EXPECT_TRUE(m.call.PressKey(key::kF1 + 2));
  EXPECT_EQ(messages_.shown.size(), shown + 1);
  EXPECT_EQ(LastMessage(),
            "WinKeyer non connesso (porta /dev/ttyUSB0 scomparsa): il messaggio CW non è stato "
            "inviato. Il programma riprova da solo.");
  EXPECT_EQ(m.keyer_speed.Caption(), "CW non inviato");
  EXPECT_TRUE(Taken().empty());
  // The window closing closes the keyer.
  m.Unload();
  EXPECT_TRUE(Taken().empty());
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
  EXPECT_EQ(w.keyer.kind.Items(),
            (std::vector<std::string>{"nessuno", "keyer del rig (CAT)", "WinKeyer", "cwdaemon"}));
  EXPECT_EQ(w.keyer.kind.Text(), "keyer del rig (CAT)");
  EXPECT_EQ(w.keyer.note.Caption(),
            "La radio scelta non ha un keyer CAT: scegliere WinKeyer o cwdaemon.");
  EXPECT_FALSE(w.keyer.port.Visible());
  w.probe_button.Press();
  EXPECT_EQ(w.keyer.probe_result.Caption(), "Keyer: la radio scelta non ha un keyer CAT.");
  w.rig_model.SetListIndex(2);  // a rig that has one
  EXPECT_EQ(w.keyer.note.Caption(), "");
  w.rig_model.SetListIndex(1);
  w.keyer.kind.SetListIndex(2);
  EXPECT_EQ(w.keyer.note.Caption(), "");
  EXPECT_TRUE(w.keyer.ports.Visible());
  EXPECT_EQ(w.keyer.ports.Items().front(), "(scegliere)");
  // A speed out of range and a WinKeyer without its port are refused before anything is saved.
  w.keyer.wpm.SetText("70");
  w.save_button.Press();
  EXPECT_EQ(LastMessage(), "Velocità CW: un numero intero di WPM tra 5 e 60.");
  w.keyer.wpm.SetText("28");
  w.save_button.Press();
  EXPECT_EQ(LastMessage(), "WinKeyer: scegliere la porta seriale.");
  w.keyer.port.SetText("/dev/ttyUSB3");
  w.keyer.enter_sends.SetValue(1);
  keyers_.probe_answer = {true, "WinKeyer 2.3: VVV inviato"};
  w.probe_button.Press();
  EXPECT_EQ(w.keyer.probe_result.Caption(), "Keyer: WinKeyer 2.3: VVV inviato.");
  EXPECT_EQ(keyers_.probed.back(), (KeyerLink{KeyerKind::kWinKeyer, "/dev/ttyUSB3", 28, false}));
  w.save_button.Press();
  EXPECT_FALSE(w.Loaded());
  const RadioSettings saved = ReadRadioSettings(ReadBytes(File("radio.txt"))).settings;
  EXPECT_EQ(saved.keyer, (KeyerLink{KeyerKind::kWinKeyer, "/dev/ttyUSB3", 28, false}));
  EXPECT_TRUE(saved.enter_sends);
  EXPECT_EQ(keyers_.made.back(), saved.keyer);
  EXPECT_EQ(m.keyer_speed.Caption(), "CW 28 WPM");
}

TEST_F(KeyerTest, EnterSendsTheExchangeAndLogsWithTheClosingMessage) {
  MainWindow& m = Linked(std::string(kWinKeyerFile) + "enter_sends = 1\r\n");
  m.mode.PressKey(key::kDown);
  Keyer(LinkState::kConnected);
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
  EXPECT_EQ(m.qso_number.Text(), "002");
  EXPECT_NE(program().Contest().QsoListText().find("QX1ZZ"), std::string::npos);
  EXPECT_EQ(Focused(), "Text6");
  // A call already in the log gets no exchange; Enter still moves on.
  m.call.Type("QX1ZZ");
  EXPECT_TRUE(m.call.PressKey(key::kEnter));
  EXPECT_TRUE(Taken().empty());
}

TEST_F(KeyerTest, EnterIsOnlyEnterUnlessAskedFor) {
  MainWindow& m = Linked(kWinKeyerFile);
  m.mode.PressKey(key::kDown);
  Keyer(LinkState::kConnected);
  m.call.SetFocus();
  m.call.Type("qx1zz");
  m.call.PressKey(key::kEnter);
  EXPECT_TRUE(Taken().empty());
  EXPECT_EQ(Focused(), "Text7");
}

}  // namespace
}  // namespace keldra::testing

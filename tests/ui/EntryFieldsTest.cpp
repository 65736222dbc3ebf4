// The entry row of the main window as the operator types it, field by field, and a whole contest
// logged from the keyboard alone.
#include "MainWindowFixture.h"
#include "core/StateFile.h"
#include "support/ShownState.h"
#include "ui/ContestFile.h"

namespace keldra::testing {
namespace {

class EntryFieldsTest : public MainWindowTest {
 protected:
  TextBox* FocusedBox() { return dynamic_cast<TextBox*>(program().Desktop().ActiveControl()); }
  // Types into whatever field has the focus, one key at a time: "\n" is Enter, and Enter on the
  // "OK" button presses it.
  void Keys(std::string_view keys) {
    for (char c : keys) {
      Control* focus = program().Desktop().ActiveControl();
      ASSERT_NE(focus, nullptr);
      if (auto* button = dynamic_cast<CommandButton*>(focus)) {
        ASSERT_EQ(c, '\n') << "typing into " << button->Name();
        button->Press();
        continue;
      }
      auto* box = dynamic_cast<TextBox*>(focus);
      ASSERT_NE(box, nullptr) << focus->Name();
      if (c == '\n') {
        box->PressKey(key::kEnter);
      } else {
        box->Type(std::string(1, c));
      }
    }
  }
  void Arrow(int key_code) { FocusedBox()->PressKey(key_code); }
  void ShiftTab() { program().Desktop().FocusNext(true); }
};

// --- Moving along the row ---

TEST_F(EntryFieldsTest, EnterAndSpaceMoveOnWithoutTypingABlank) {
  MainWindow& f = Main();
  ASSERT_EQ(Focused(), "Text6");
  Keys("QX1ABC ");
  EXPECT_EQ(f.call.Text(), "QX1ABC");
  EXPECT_EQ(Focused(), "Text7");
  Keys("\n");
  EXPECT_EQ(Focused(), "Text8");
  Keys(" 012\n");
  EXPECT_EQ(Focused(), "Text10");
  EXPECT_EQ(f.serial_received.Text(), "012");
  Keys("JN71GD ");
  EXPECT_EQ(Focused(), "Text11");
  Keys("\n");
  EXPECT_EQ(Focused(), "Command1");
}

TEST_F(EntryFieldsTest, EnteringAFieldTrimsTheOneBeforeAndPutsTheCaretAtTheEnd) {
  MainWindow& f = Main();
  f.rst_sent.SetText(" 57 ");
  f.rst_received.SetText("  55");
  f.rst_received.SetFocus();
  EXPECT_EQ(f.rst_sent.Text(), "57");
  EXPECT_EQ(f.rst_received.Text(), "  55");  // only the field before
  EXPECT_EQ(f.rst_received.SelStart(), 4);
}

// --- Serial number to send ---

TEST_F(EntryFieldsTest, SerialIsZeroFilledToThreeDigits) {
  MainWindow& f = Main();
  for (const auto& [written, shown] : std::vector<std::pair<std::string, std::string>>{
           {"2", "002"}, {"10", "010"}, {"100", "100"}, {"1000", "1000"}}) {
    f.qso_number.SetText(written);
    EXPECT_EQ(f.qso_number.Text(), shown) << written;
  }
}

// --- Date and time ---

TEST_F(EntryFieldsTest, TypedDateIsNormalisedOnLeaving) {
  MainWindow& f = Main();
  GoOffLine("");
  for (const auto& [typed, normal] :
       std::vector<std::pair<std::string, std::string>>{{"1/7/23", "01/07/23"},
                                                        {"16/7/23", "16/07/23"},
                                                        {"160723", "16/07/23"},
                                                        {"16072023", "16/07/23"},
                                                        {"16/07/2023", "16/07/23"},
                                                        {"1723", "01/07/23"},
                                                        {"1/12/23", "01/12/23"}}) {
    f.date.SetText("");
    f.date.SetFocus();
    Keys(typed + "\n");
    EXPECT_EQ(f.date.Text(), normal) << typed;
    EXPECT_EQ(Focused(), "Text3");
  }
}

TEST_F(EntryFieldsTest, TypedTimeIsFormatted) {
  MainWindow& f = Main();
  GoOffLine();
  f.time.SetFocus();
  Keys("0920");
  EXPECT_EQ(f.time.Text(), "09.20");  // at once
  EXPECT_EQ(f.time.SelStart(), 5);

  f.time.SetText("");
  Keys("09:20");
  EXPECT_EQ(f.time.Text(), "09:20");
  Keys("\n");
  EXPECT_EQ(f.time.Text(), "09.20");  // on leaving
}

TEST_F(EntryFieldsTest, OffLineHourIsZeroFilledWhenTheLocatorIsEntered) {
  MainWindow& f = Main();
  GoOffLine();
  for (const auto& [typed, filled] : std::vector<std::pair<std::string, std::string>>{
           {"920", "09.20"}, {"7.20", "07.20"}, {"9:20", "09.20"}, {"13.05", "13.05"}}) {
    f.time.SetText("");
    f.time.SetFocus();
    Keys(typed);
    f.locator.SetFocus();
    EXPECT_EQ(f.time.Text(), filled) << typed;
    EXPECT_EQ(f.date.Text(), "16/07/23") << "off-line the typed date stays";
  }
}

TEST_F(EntryFieldsTest, OnLineDateAndTimeAreTheClocksUtcWhenTheLocatorIsEntered) {
  struct Case {
    DateTime local;
    const char* date;
    const char* time;
  };
  MainWindow& f = Main();
  for (const Case& c : {Case{{2023, 7, 16, 11, 5, 0}, "16/07/23", "09.05"},
                        Case{{2023, 7, 16, 2, 15, 0}, "16/07/23", "00.15"},
                        Case{{2023, 7, 17, 0, 30, 0}, "16/07/23", "22.30"},
                        Case{{2024, 1, 1, 1, 0, 0}, "31/12/23", "23.00"}}) {
    clock_.Set(c.local);
    f.serial_received.SetFocus();
    f.locator.SetFocus();
    EXPECT_EQ(f.date.Text(), c.date);
    EXPECT_EQ(f.time.Text(), c.time);
  }
}

// --- Mode ---

TEST_F(EntryFieldsTest, ArrowsSetModeAndResetBothReports) {
  MainWindow& f = Main();
  f.mode.SetFocus();
  Arrow(key::kDown);
  EXPECT_EQ(f.mode.Text(), "CW");
  EXPECT_EQ(f.rst_sent.Text(), "599");
  EXPECT_EQ(f.rst_received.Text(), "599");
  Arrow(key::kUp);
  EXPECT_EQ(f.mode.Text(), "SSB");
  EXPECT_EQ(f.rst_sent.Text(), "59");
  EXPECT_EQ(f.rst_received.Text(), "59");
  f.rst_sent.SetText("57");
  f.rst_received.SetText("55");
  Arrow(key::kUp);  // the mode stays, the reports go back
  EXPECT_EQ(f.rst_sent.Text(), "59");
  EXPECT_EQ(f.rst_received.Text(), "59");
  EXPECT_EQ(f.mode.SelStart(), 3);
  Keys("x");  // locked: nothing typed
  EXPECT_EQ(f.mode.Text(), "SSB");
  Keys("\n");
  EXPECT_EQ(Focused(), "Text6");
}

// --- Callsign ---

TEST_F(EntryFieldsTest, CallsignUpperCasedAndDuplicateHintedFromFourCharacters) {
  MainWindow& f = Main();
  Row("QX1ABC", "001", "JN71GD");
  f.ok_button.Press();
  ASSERT_EQ(f.total_qsos.Caption(), "1");

  Keys("qx1");
  EXPECT_EQ(f.call.Text(), "QX1");
  EXPECT_EQ(f.call.SelStart(), 3);
  EXPECT_FALSE(f.duplicate_warning.Visible());
  EXPECT_EQ(f.call.BackColor(), kWhite);
  Keys("a");  // part of the logged QX1ABC: an early hint
  EXPECT_TRUE(f.duplicate_warning.Visible());
  EXPECT_EQ(f.call.BackColor(), kYellow);
  Keys("d");
  EXPECT_FALSE(f.duplicate_warning.Visible());
  EXPECT_EQ(f.call.BackColor(), kWhite);
  f.call.Backspace();
  f.call.Backspace();
  EXPECT_EQ(f.call.Text(), "QX1");
  EXPECT_FALSE(f.duplicate_warning.Visible());
}

// --- Serial received and club code ---

TEST_F(EntryFieldsTest, SerialReceivedTrimmedAndZeroFilledOnLeaving) {
  MainWindow& f = Main();
  for (const auto& [typed, filled] : std::vector<std::pair<std::string, std::string>>{
           {"7", "007"}, {"42", "042"}, {"123", "123"}, {"1234", "1234"}}) {
    f.serial_received.SetText("");
    f.serial_received.SetFocus();
    Keys(typed + "\n");
    EXPECT_EQ(f.serial_received.Text(), filled) << typed;
    EXPECT_EQ(Focused(), "Text10");
  }
  f.serial_received.SetText("  7");
  f.serial_received.SetFocus();
  f.locator.SetFocus();
  EXPECT_EQ(f.serial_received.Text(), "007");
}

TEST_F(EntryFieldsTest, ClubCodeFilledFromTheFilesOnEnteringTheSerial) {
  WriteBytes(File("iqrp.txt"), "QX1ABC#7\r\nQX2DEF#9\r\n");
  WriteBytes(File("mqc.txt"), "QX2DEF#5\r\nQX3GHI#123\r\n");
  MainWindow& f = Main();
  struct Case {
    const char* call;
    const char* typed;
    const char* code;
  };
  for (const Case& c : {Case{"QX1ABC/P", "", "I007"}, Case{"QX2DEF", "", "I009"},
                        Case{"QX3GHI", "", "M123"}, Case{"QX4JKL", "M042", "M042"}}) {
    f.club_code.SetText(c.typed);
    f.call.SetText(c.call);
    f.call.SetFocus();
    Keys("\n\n\n");
    ASSERT_EQ(Focused(), "Text9");
    EXPECT_EQ(f.club_code.Text(), c.code) << c.call;
  }
  f.club_code.SetFocus();
  f.club_code.SetText("");
  Keys("i003");
  EXPECT_EQ(f.club_code.Text(), "I003");
}

// --- Locator ---

TEST_F(EntryFieldsTest, LocatorComputesAtTheSixthCharacterAndShowsTheLabels) {
  MainWindow& f = Main();
  Label* const shown[] = {&f.distance_caption, &f.distance,      &f.bearing_caption,
                          &f.bearing,          &f.distance_unit, &f.bearing_unit};
  f.locator.SetFocus();
  Keys("jn71g");
  EXPECT_EQ(f.locator.Text(), "JN71G");
  EXPECT_EQ(f.locator.SelStart(), 5);
  for (const Label* l : shown) {
    EXPECT_FALSE(l->Visible()) << l->Name();
  }
  Keys("d");
  EXPECT_EQ(f.locator.Text(), "JN71GD");
  EXPECT_EQ(f.distance.Caption(), " 168");
  EXPECT_EQ(f.bearing.Caption(), " 271");
  for (const Label* l : shown) {
    EXPECT_TRUE(l->Visible()) << l->Name();
  }
  f.locator.Backspace();
  for (const Label* l : shown) {
    EXPECT_FALSE(l->Visible()) << l->Name();
  }
  EXPECT_EQ(f.distance.Caption(), " 168");  // the last values stay
}

// --- Mode flag ---

TEST_F(EntryFieldsTest, ModeFlagOneSwitchesTheRowOffLine) {
  MainWindow& f = Main();
  f.SetOffLine(true);
  EXPECT_EQ(f.logging_mode.Caption(), "off-line");
  EXPECT_EQ(f.date.Text(), "");
  EXPECT_EQ(f.time.Text(), "");
  EXPECT_TRUE(f.pc_date_time_button.Visible());
  EXPECT_EQ(Focused(), "Text2");
}

// --- A whole contest from the keyboard ---

TEST_F(EntryFieldsTest, TenQsosFromTheKeyboardAlone) {
  WriteBytes(File("iqrp.txt"), "QX1BB#3\r\n");
  WriteBytes(File("mqc.txt"), "QX1DD#123\r\n");
  MainWindow& f = Main();
  struct Qso {
    const char* call;
    const char* serial;
    const char* locator;
    const char* club;  // typed; QX1BB and QX1DD come from the files
    bool cw;
  };
  const Qso qsos[] = {
      {"qx1aa", "1", "jn71gd", "", false},    {"qx1bb", "2", "jn91gd", "", false},
      {"qx1cc", "3", "jn81hd", "", false},    {"qx1dd", "14", "jn80gd", "", false},
      {"qx1ee", "5", "jn82gd", "", false},    {"qx1ff", "6", "jn81gd", "", false},
      {"qx1gg", "7", "jn71gd", "i010", true}, {"qx1hh", "8", "jn91gd", "", true},
      {"qx1ii", "9", "jn80gd", "", false},    {"qx1jj", "10", "jn81hd", "m5", false},
  };
  bool cw = false;
  int minute = 30;
  for (const Qso& q : qsos) {
    clock_.Set({2023, 7, 16, 9, minute++, 0});
    ASSERT_EQ(Focused(), "Text6");
    if (q.cw != cw) {
      ShiftTab();
      ASSERT_EQ(Focused(), "Text5");
      Arrow(q.cw ? key::kDown : key::kUp);
      Keys("\n");
      cw = q.cw;
    }
    Keys(std::string(q.call) + "\n\n\n" + q.serial + " " + q.locator + "\n" + q.club + "\n\n");
    ASSERT_TRUE(messages_.shown.empty()) << LastMessage();
  }
  EXPECT_EQ(f.total_qsos.Caption(), "10");
  EXPECT_EQ(f.total_km.Caption(), "1016");
  EXPECT_EQ(f.total_multipliers.Caption(), "4");
  EXPECT_EQ(f.total_points.Caption(), "1468");
  EXPECT_EQ(f.average_km.Caption(), "102");
  EXPECT_EQ(f.odx_call.Caption(), "QX1AA");
  EXPECT_EQ(f.odx_locator.Caption(), "JN71GD");
  EXPECT_EQ(f.odx_km.Caption(), " 168");
  EXPECT_EQ(f.iqrp_qsos.Caption(), "2");
  EXPECT_EQ(f.mqc_qsos.Caption(), "2");
  EXPECT_EQ(f.qso_number.Text(), "011");

  const std::vector<std::string> lines = SplitLines(f.qso_list.Text());
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[1], "002   16/07/23   07.31   144Mhz   SSB   QX1BB       59-002   JN91GD   I003");
  EXPECT_EQ(lines[3], "004   16/07/23   07.33   144Mhz   SSB   QX1DD       59-014   JN80GD   M123");
  EXPECT_EQ(lines[6], "007   16/07/23   07.36   144Mhz   CW    QX1GG       599-007  JN71GD   I010");
  EXPECT_EQ(lines[9], "010   16/07/23   07.39   144Mhz   SSB   QX1JJ       59-010   JN81HD   M5");
  EXPECT_EQ(SplitLines(f.Log().EdiRecordsText())[5],
            "230716;0735;QX1FF;1;59;006;59;006;;JN81GD;1;;;;");
  EXPECT_EQ(ReadBytes(File("parziale.db")), StateFileText(ContestStateOf(f)));
}

}  // namespace
}  // namespace keldra::testing

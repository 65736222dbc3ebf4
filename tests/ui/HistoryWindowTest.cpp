// The call history as the operator meets it in the main window and the edit window: the known
// locator filled in and accepted, typed over or swapped with F12, the line under the row, the known
// calls while a callsign is typed, the history arriving late from the background, the running
// contest's QSOs and their corrections; and the contest saved byte for byte as without history.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "system/Background.h"
#include "ui/HistoryHint.h"
#include "ui/QsoEditWindow.h"

namespace keldra::testing {
namespace {

// QX1AB heard in 2022 at JN61AB, and listed without a date at JN52CD; QX1ABC and QX7AB elsewhere.
const char kPastLog[] =
    "[REG1TEST;1]\r\nPCall=QX0ABC\r\n[QSORecords;2]\r\n"
    "220717;0705;QX1AB;1;59;001;59;004;;JN61AB;412;;;;\r\n"
    "220717;0712;QX1ABC;1;59;002;59;009;;JN45AA;300;;;;\r\n"
    "[END; an earlier contest]\r\n";
const char kList[] = "QX1AB JN52CD\r\nQX7AB JN70AA 20190101\r\nbroken line\r\n";

class HistoryWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    std::filesystem::create_directories(File("storico"));
    WriteBytes(File("storico") / "2022.edi", kPastLog);
    WriteBytes(File("storico") / "C_W", kList);
  }

  // Keys into whatever has the focus, as the keyboard sends them; Enter on a button presses it.
  static void Keys(Program& program, const std::string& keys) {
    for (char c : keys) {
      Control* focus = program.Desktop().ActiveControl();
      if (auto* box = dynamic_cast<TextBox*>(focus)) {
        box->Type(std::string(1, c));
      } else if (auto* button = dynamic_cast<CommandButton*>(focus); button && c == '\n') {
        button->Press();
      }
    }
  }
  // The operator types the call and goes on with Enter to the locator field.
  void TypeUpToTheLocator(const std::string& call, const std::string& serial = "007") {
    Main().call.SetFocus();
    Keys(program(), call + "\n\n\n" + serial + "\n");
  }
  // Enter to the club field, Enter to "OK", Enter on it.
  void AcceptTheRest() { Keys(program(), "\n\n\n"); }
};

TEST_F(HistoryWindowTest, AKnownCallGetsItsNewestLocatorAllSelectedAndEnterLogsIt) {
  MainWindow& m = Main();
  TypeUpToTheLocator("qx1ab");
  EXPECT_EQ(Focused(), "Text10");
  EXPECT_EQ(m.locator.Text(), "JN61AB");
  EXPECT_EQ(m.locator.SelectedText(), "JN61AB");
  EXPECT_EQ(m.distance.Caption(), " 377") << "distance shown at once";
  EXPECT_TRUE(m.distance.Visible());
  EXPECT_EQ(m.history_line.Caption(), "storico: JN61AB, 17/07/2022  (F12: JN52CD)");
  EXPECT_EQ(m.history_line.ForeColor(), kBlack);

  AcceptTheRest();
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
  EXPECT_EQ(m.Log().EdiRecordsText(), "230716;0730;QX1AB;1;59;001;59;007;;JN61AB;377;;;;\r\n");
  EXPECT_EQ(m.history_line.Caption(), "") << "the row is cleared for the next QSO";
}

TEST_F(HistoryWindowTest, TypingOverTheKnownLocatorLogsTheTypedOneAndShowsTheKnownInRed) {
  MainWindow& m = Main();
  TypeUpToTheLocator("QX1AB");
  struct Step {
    const char* typed;
    const char* locator;
    const char* line;
    bool red;
  };
  const Step steps[] = {
      {"j", "J", "storico: JN61AB, 17/07/2022  (F12: JN52CD)", false},
      {"n5", "JN5", "storico: JN52CD  (F12: JN61AB)", false},
      {"2ce", "JN52CE", "storico: JN61AB", true},
  };
  for (const Step& s : steps) {
    m.locator.Type(s.typed);
    EXPECT_EQ(m.locator.Text(), s.locator);
    EXPECT_EQ(m.history_line.Caption(), s.line) << s.locator;
    EXPECT_EQ(m.history_line.ForeColor() == kHistoryDiffers, s.red) << s.locator;
  }
  AcceptTheRest();
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage() << " (nothing is refused)";
  EXPECT_EQ(m.Log().EdiRecordsText(), "230716;0730;QX1AB;1;59;001;59;007;;JN52CE;538;;;;\r\n");
}

TEST_F(HistoryWindowTest, F12GoesRoundTheKnownLocatorsAndNothingHappensForAnUnknownCall) {
  MainWindow& m = Main();
  TypeUpToTheLocator("QX1AB");
  const char* const rounds[] = {"JN52CD", "JN61AB", "JN52CD"};
  for (const char* expected : rounds) {
    EXPECT_TRUE(m.locator.PressKey(kSwapKnownLocatorKey));
    EXPECT_EQ(m.locator.Text(), expected);
    EXPECT_EQ(m.locator.SelectedText(), expected);
  }
  EXPECT_EQ(m.history_line.Caption(), "storico: JN52CD  (F12: JN61AB)");
  AcceptTheRest();
  EXPECT_EQ(m.Log().EdiRecordsText(), "230716;0730;QX1AB;1;59;001;59;007;;JN52CD;537;;;;\r\n");

  TypeUpToTheLocator("QX9ZZ");
  EXPECT_EQ(m.locator.Text(), "");
  EXPECT_EQ(m.history_line.Caption(), "");
  EXPECT_TRUE(m.locator.PressKey(kSwapKnownLocatorKey)) << "F12 never types";
  EXPECT_EQ(m.locator.Text(), "");
}

TEST_F(HistoryWindowTest, ALocatorAlreadyTypedIsNeverReplaced) {
  MainWindow& m = Main();
  m.locator.SetText("JN70AA");
  TypeUpToTheLocator("QX1AB");
  EXPECT_EQ(m.locator.Text(), "JN70AA");
  EXPECT_EQ(m.locator.SelLength(), 0);
  EXPECT_EQ(m.history_line.Caption(), "storico: JN61AB");
  EXPECT_EQ(m.history_line.ForeColor(), kHistoryDiffers);
}

TEST_F(HistoryWindowTest, KnownCallsFromThreeCharactersTheWorkedOnesMarkedAndNoFocusTaken) {
  MainWindow& m = Main();
  m.call.SetFocus();
  struct Step {
    const char* typed;
    const char* shown;
  };
  const Step steps[] = {{"q", ""},        {"x", ""}, {"1", "QX1AB\nQX1ABC"}, {"a", "QX1AB\nQX1ABC"},
                        {"bc", "QX1ABC"}, {"d", ""}};
  for (const Step& s : steps) {
    m.call.Type(s.typed);
    EXPECT_EQ(m.known_calls.Caption(), s.shown) << m.call.Text();
    EXPECT_EQ(Focused(), "Text6");
  }
  m.call.SetText("");
  TypeUpToTheLocator("QX1ABC");
  AcceptTheRest();
  m.call.Type("1ab");
  EXPECT_EQ(m.known_calls.Caption(), "QX1AB\nQX1ABC  in log");
}

TEST_F(HistoryWindowTest, TheWindowWorksBeforeTheHistoryArrivesAndTakesItWhenItDoes) {
  HeldBackground background;
  program().SetBackground(background);
  MainWindow& m = Main();
  EXPECT_EQ(background.Waiting(), 1u);
  EXPECT_EQ(m.history_status.Caption(), "Storico: lettura in corso");
  TypeUpToTheLocator("QX1AB");
  EXPECT_EQ(m.locator.Text(), "") << "nothing known yet";

  background.Finish();
  EXPECT_EQ(m.history_status.Caption(), "Storico: nominativi 3, righe lette 4, scartate 1, file 2");
  EXPECT_EQ(m.history_status.ToolTip(), "2022.edi: 2 lette, 0 scartate\nC_W: 2 lette, 1 scartate");
  EXPECT_EQ(m.history_line.Caption(), "storico: JN61AB, 17/07/2022  (F12: JN52CD)");
  EXPECT_EQ(m.known_calls.Caption(), "QX1AB\nQX1ABC");
  EXPECT_TRUE(messages_.shown.empty()) << "never a message box";
}

TEST_F(HistoryWindowTest, TheRunningContestJoinsAndACorrectionReplacesWhatItKnew) {
  MainWindow& m = Main();
  TypeUpToTheLocator("QX5NEW");
  m.locator.Type("JN70AA");
  AcceptTheRest();
  // The same station again (the OK refuses it, the history already knows it).
  TypeUpToTheLocator("QX5NEW", "008");
  EXPECT_EQ(m.locator.Text(), "JN70AA");
  EXPECT_EQ(m.history_line.Caption(), "storico: JN70AA, 16/07/2023");
  m.call.SetText("");
  m.locator.SetText("");

  QsoEditWindow& edit = program().Get<QsoEditWindow>();
  edit.search_call.SetText("QX5NEW");
  edit.search_button.Press();
  edit.locator.SetText("JN70AB");
  edit.modify_button.Press();
  EXPECT_EQ(LastMessage(), "I dati del QSO sono stati modificati");

  TypeUpToTheLocator("QX5NEW", "008");
  EXPECT_EQ(m.locator.Text(), "JN70AB") << "the typo corrected is forgotten";
}

TEST_F(HistoryWindowTest, TheEditWindowShowsWhatTheFilesKnewOfTheQsoBeingCorrected) {
  TypeUpToTheLocator("QX1AB");
  Main().locator.Type("JN70AA");
  AcceptTheRest();

  QsoEditWindow& edit = program().Get<QsoEditWindow>();
  edit.search_call.SetText("QX1AB");
  edit.search_button.Press();
  EXPECT_EQ(edit.locator.Text(), "JN70AA");
  EXPECT_EQ(edit.history_line.Caption(), "storico: JN61AB");
  EXPECT_EQ(edit.history_line.ForeColor(), kHistoryDiffers);
  EXPECT_TRUE(edit.locator.PressKey(kSwapKnownLocatorKey));
  EXPECT_EQ(edit.locator.Text(), "JN61AB");
  EXPECT_EQ(edit.history_line.Caption(), "storico: JN61AB, 17/07/2022  (F12: JN52CD)");
  EXPECT_EQ(edit.history_line.ForeColor(), kBlack);
}

// The same QSO logged by accepting the filled-in locator and by typing it with no history at all.
TEST_F(HistoryWindowTest, TheContestIsSavedByteForByteAsWithoutHistory) {
  TypeUpToTheLocator("QX1AB");
  AcceptTheRest();
  const std::string with_history = ReadBytes(File("parziale.db"));

  TempFolder plain;
  WriteBytes(plain / "config.txt", kLoggingStationFile);
  RecordingMessageBox messages;
  FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  {
    Program other(messages, clock, plain.path());
    MainWindow& m = other.Get<MainWindow>();
    m.call.SetFocus();
    Keys(other, "QX1AB\n\n\n007\nJN61AB\n\n\n");
  }
  EXPECT_EQ(with_history, ReadBytes(plain / "parziale.db"));
  EXPECT_EQ(ReadBytes(File("storico") / "C_W"), kList);
}

}  // namespace
}  // namespace keldra::testing

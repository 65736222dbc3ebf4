// Start-up, activation, mode switching, "Crea LOG", "Esci" and the start and restore windows.
#include <gtest/gtest.h>

#include "StartupFixture.h"
#include "ui/ContestFile.h"
#include "ui/Form12.h"
#include "ui/Form2.h"
#include "ui/Form22222.h"
#include "ui/Form3.h"
#include "ui/Form5.h"

namespace keldra::testing {
namespace {

TEST_F(StartupTest, DateAndTimeAreTheClocksUtc) {
  struct Case {
    const char* name;
    DateTime local;
    int offset_minutes;
    const char* date;
    const char* time;
  };
  const Case cases[] = {
      {"summer_0930", {2023, 7, 16, 9, 30}, 120, "16/07/23", "07.30"},
      {"summer_1410", {2023, 7, 16, 14, 10}, 120, "16/07/23", "12.10"},
      {"summer_0205_hour_zero", {2023, 7, 16, 2, 5}, 120, "16/07/23", "00.05"},
      {"summer_0115_day_before", {2023, 7, 16, 1, 15}, 120, "15/07/23", "23.15"},
      {"summer_0040_day_before", {2023, 7, 16, 0, 40}, 120, "15/07/23", "22.40"},
      {"new_year_wraps_year", {2024, 1, 1, 0, 40}, 60, "31/12/23", "23.40"},
      {"winter_one_hour", {2023, 1, 10, 9, 30}, 60, "10/01/23", "08.30"},
      {"pc_on_utc", {2023, 7, 16, 9, 5}, 0, "16/07/23", "09.05"},
  };
  WriteBytes(File("config.txt"), kStationFile);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clock_.Set(c.local);
    clock_.SetOffsetMinutes(c.offset_minutes);
    Form1& main = Start();
    EXPECT_EQ(main.Text2.Text(), c.date);
    EXPECT_EQ(main.Text3.Text(), c.time);
    EXPECT_TRUE(main.Text2.Locked());
    EXPECT_TRUE(main.Text3.Locked());
  }
}

TEST_F(StartupTest, StationFileFillsTheStationFrameTheCalculatorAndTheEdiHeader) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.Label39.Caption(), "QX0ABC");
  EXPECT_EQ(main.Label40.Caption(), "JN71AB");
  EXPECT_EQ(main.Label41.Caption(), "003");
  EXPECT_EQ(main.Label42.Caption(), "");
  EXPECT_EQ(main.Label47.Caption(), "User");
  EXPECT_FALSE(main.Command11.Visible());
  EXPECT_EQ(program().Get<Form22222>().Text3.Text(), "JN71AB");
  Form2& edi = program().Get<Form2>();
  EXPECT_FALSE(edi.Visible());
  EXPECT_EQ(edi.Text2.Text(), "QX0ABC");
  EXPECT_EQ(edi.Text3.Text(), "JN71AB");
  EXPECT_EQ(edi.Text14.Text(), "QX0ABC");
  // On-line the cursor waits in the callsign field.
  EXPECT_EQ(Focused(), "Form1.Text6");
  EXPECT_FALSE(Shown<Form5>());
  EXPECT_FALSE(Shown<Form3>());
}

TEST_F(StartupTest, WithoutStationFileTheStationWindowStandsIn) {
  Form1& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<Form3>());
  EXPECT_FALSE(Shown<Form5>());
  EXPECT_EQ(main.Label39.Caption(), "...");
  // The clock still fills the row, ready for when the main window is shown.
  EXPECT_EQ(main.Text3.Text(), "07.30");
}

TEST_F(StartupTest, UnreadableStationFileIsTreatedAsMissing) {
  WriteBytes(File("config.txt"), kStationFile);
  disk_.unreadable = "config.txt";
  Form1& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<Form3>());
  EXPECT_EQ(main.Label39.Caption(), "...");
}

TEST_F(StartupTest, ContestOnDiskAlwaysShowsTheStartWindow) {
  WriteBytes(File("config.txt"), kStationFile);
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  Form1& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<Form5>());
  EXPECT_EQ(program().Desktop().ActiveForm(), program().Find<Form5>());
}

TEST_F(StartupTest, NoStationFileAndAContestShowBothStartWindowsStartWindowOnTop) {
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  Form1& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<Form3>());
  EXPECT_TRUE(Shown<Form5>());
  EXPECT_EQ(program().Desktop().ActiveForm(), program().Find<Form5>());
}

TEST_F(StartupTest, AdministratorCallsAreExactAndCaseSensitive) {
  struct Case {
    const char* call;
    const char* account;
  };
  const Case cases[] = {{"QX0ZZA", "Admin"},  {"QX0ZZB", "Admin"}, {"QX0ZZC", "Admin"},
                        {"qx0zza", "User"},   {"QX0ZZa", "User"},  {"QX0ZZD", "User"},
                        {"QX0ZZA/P", "User"}, {"QX0ZZ", "User"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    WriteBytes(File("config.txt"), std::string("Call = ") + c.call + "\r\nLocator = JN71AB\r\n");
    Form1& main = Start();
    EXPECT_EQ(main.Label47.Caption(), c.account);
    EXPECT_EQ(main.Command11.Visible(), std::string(c.account) == "Admin");
  }
}

TEST_F(StartupTest, CreaLogNeedsAtLeastOneQso) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  struct Case {
    const char* name;
    std::string list;
    bool opens;
  };
  const Case cases[] = {{"empty", "", false},
                        {"20_characters", std::string(20, 'x'), false},
                        {"21_characters", std::string(21, 'x'), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.shown.clear();
    main.Text12.SetText(c.list);
    main.Command2.Press();
    EXPECT_EQ(Shown<Form2>(), c.opens);
    if (c.opens) {
      EXPECT_TRUE(messages_.shown.empty());
    } else {
      ASSERT_EQ(messages_.shown.size(), 1u);
      EXPECT_EQ(messages_.shown[0].text,
                "E' necessario inserire almeno un QSO per generare il Log...");
      EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
      EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
    }
  }
}

TEST_F(StartupTest, ModeSwitchGoesOffLineAndBack) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();

  main.Command7.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Controllare sempre di immettere l'orario in formato UTC...");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(main.Text15.Text(), "1");
  EXPECT_EQ(main.Label46.Caption(), "off-line");
  EXPECT_EQ(main.Text2.Text(), "");
  EXPECT_EQ(main.Text3.Text(), "");
  EXPECT_FALSE(main.Text2.Locked());
  EXPECT_FALSE(main.Text3.Locked());
  EXPECT_TRUE(main.Command9.Visible());
  EXPECT_EQ(Focused(), "Form1.Text2");
  main.Text2.Type("17/07/23");
  EXPECT_EQ(main.Text2.Text(), "17/07/23");

  main.Command7.Press();
  EXPECT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(main.Text15.Text(), "0");
  EXPECT_EQ(main.Label46.Caption(), "on-line");
  EXPECT_FALSE(main.Command9.Visible());
  EXPECT_TRUE(main.Text2.Locked());
  EXPECT_TRUE(main.Text3.Locked());
  // Going back on-line does not refill date and time.
  EXPECT_EQ(main.Text2.Text(), "17/07/23");
  EXPECT_EQ(main.Text3.Text(), "");
}

TEST_F(StartupTest, ClockButtonFillsLocalDateAndTime) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  main.Command7.Press();
  main.Text6.SetFocus();
  main.Command9.Press();
  EXPECT_EQ(main.Text2.Text(), "16/07/23");
  EXPECT_EQ(main.Text3.Text(), "09.30");
  EXPECT_EQ(Focused(), "Form1.Text2");
}

TEST_F(StartupTest, ActivationPutsTheCursorWhereTheModeWantsIt) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  Form2& edi = program().Get<Form2>();
  main.Text12.SetText(std::string(30, 'x'));

  main.Command2.Press();  // the header window takes over
  edi.Command1.Press();   // "Chiudi": the main window is active again
  EXPECT_EQ(Focused(), "Form1.Text6");

  main.Command7.Press();
  main.Command2.Press();
  edi.Command1.Press();
  EXPECT_EQ(Focused(), "Form1.Text2");
  EXPECT_FALSE(main.Text2.Locked());
}

TEST_F(StartupTest, EsciClosesEveryWindowAndSavesNothing) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  main.Text12.SetText(std::string(30, 'x'));
  main.Command3.Press();
  EXPECT_TRUE(program().Ended());
  EXPECT_EQ(program().Find<Form1>(), nullptr);
  EXPECT_EQ(program().Find<Form2>(), nullptr);
  EXPECT_EQ(program().Find<Form22222>(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(File("parziale.db")));
}

TEST_F(StartupTest, ClosingTheMainWindowEndsTheProgram) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  main.CloseRequested();
  EXPECT_TRUE(program().Ended());
}

TEST_F(StartupTest, ReadOnlyFolderStartsAndTheFirstSaveSaysWhy) {
  WriteBytes(File("config.txt"), kStationFile);
  disk_.read_only = true;
  Form1& main = Start();
  ASSERT_TRUE(main.Visible());
  EXPECT_TRUE(messages_.shown.empty());
  const std::string line = "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-001   JN81GD   ";
  main.Text12.SetText(line + "\r\n");
  EXPECT_FALSE(SaveContest(program(), main));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
  EXPECT_NE(messages_.shown[0].text.find(File("parziale.db").string()), std::string::npos);
  EXPECT_EQ(main.Text12.Text(), line + "\r\n");
  EXPECT_TRUE(main.Visible());
}

// --- The start window ---

class StartWindowTest : public StartupTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kStationFile);
    WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  }
};

TEST_F(StartWindowTest, ContinuaShowsTheMainWindowOnLine) {
  Form1& main = Start();
  program().Get<Form5>().Command1.Press();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(program().Find<Form5>(), nullptr);
  EXPECT_EQ(main.Text15.Text(), "0");
  EXPECT_EQ(Focused(), "Form1.Text6");
  EXPECT_TRUE(main.Text2.Locked());
}

TEST_F(StartWindowTest, ContinuaBringsBackTheSavedContest) {
  Form1& first = Start();
  const std::string line = "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-001   JN81GD   ";
  first.Text12.SetText(line + "\r\n");
  first.Text14.SetText("230716;0730;QX1ABC;1;59;001;59;001;;JN81GD;523;;;;\r\n");
  first.Text1.SetText("002");
  first.Label29.SetCaption(" 523");
  ASSERT_TRUE(SaveContest(program(), first));
  program().End();

  Form1& main = Start();
  ASSERT_TRUE(Shown<Form5>());
  program().Get<Form5>().Command1.Press();
  EXPECT_EQ(main.Text12.Text(), line + "\r\n");
  EXPECT_EQ(main.Text1.Text(), "002");
  EXPECT_EQ(main.Label29.Caption(), " 523");
  EXPECT_EQ(program().Get<Form2>().Text1.Text(), main.Text14.Text());
}

TEST_F(StartWindowTest, ContinuaOffLineOpensDateAndTimeForTyping) {
  Form1& main = Start();
  Form5& start = program().Get<Form5>();
  start.Check1.Toggle();
  start.Command1.Press();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.Label46.Caption(), "off-line");
  EXPECT_EQ(main.Text2.Text(), "");
  EXPECT_EQ(main.Text3.Text(), "");
  EXPECT_FALSE(main.Text2.Locked());
  EXPECT_FALSE(main.Text3.Locked());
  EXPECT_TRUE(main.Command9.Visible());
  EXPECT_EQ(Focused(), "Form1.Text2");
}

TEST_F(StartWindowTest, NuovoPassesThroughTheStationWindowAndDeletesNothing) {
  Form1& main = Start();
  Form5& start = program().Get<Form5>();
  start.Check1.Toggle();
  start.Command2.Press();
  EXPECT_EQ(program().Find<Form5>(), nullptr);
  ASSERT_TRUE(Shown<Form3>());
  Form3& station = program().Get<Form3>();
  EXPECT_EQ(station.Text5.Text(), "1");
  EXPECT_FALSE(main.Visible());
  EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");

  station.Text1.Type("qx0new");
  station.Text2.Type("jn81gd");
  station.Command1.Press();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.Label39.Caption(), "QX0NEW");
  EXPECT_EQ(main.Label46.Caption(), "off-line");
  EXPECT_FALSE(main.Text2.Locked());
  EXPECT_EQ(Focused(), "Form1.Text2");
}

TEST_F(StartWindowTest, ClosingTheStartWindowWithNothingElseShownEndsTheProgram) {
  Start();
  program().Get<Form5>().CloseRequested();
  EXPECT_TRUE(program().Ended());
}

// --- The emergency restore ---

TEST_F(StartWindowTest, RestoreTickOpensTheRestoreWindowAndNoCancels) {
  Start();
  Form5& start = program().Get<Form5>();
  start.Check2.Toggle();
  ASSERT_TRUE(Shown<Form12>());
  program().Get<Form12>().Command2.Press();
  EXPECT_EQ(program().Find<Form12>(), nullptr);
  EXPECT_EQ(start.Check2.Value(), 0);
  EXPECT_TRUE(start.Visible());
  EXPECT_FALSE(program().Ended());
}

// The start window closed from its title bar while the restore window is open: answering "NO"
// (or "SI" with no backup) leaves nothing on screen, so the program ends rather than run unseen.
TEST_F(StartWindowTest, RestoreWindowLeftAloneEndsTheProgramWhenClosed) {
  struct Case {
    const char* name;
    bool yes;
  };
  for (const Case& c : {Case{"no", false}, Case{"yes_without_backup", true}}) {
    SCOPED_TRACE(c.name);
    Start();
    program().Get<Form5>().Check2.Toggle();
    program().Get<Form5>().CloseRequested();
    ASSERT_FALSE(program().Ended());
    ASSERT_TRUE(Shown<Form12>());
    Form12& confirm = program().Get<Form12>();
    (c.yes ? confirm.Command1 : confirm.Command2).Press();
    EXPECT_TRUE(program().Ended());
    EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");
  }
}

TEST_F(StartWindowTest, RestoreCopiesTheBackupAndEndsTheProgram) {
  WriteBytes(File("backup.db"), "QSO# 001\r\nLISTA_QSO previous\r\n");
  Start();
  program().Get<Form5>().Check2.Toggle();
  program().Get<Form12>().Command1.Press();
  EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 001\r\nLISTA_QSO previous\r\n");
  EXPECT_EQ(ReadBytes(File("backup.db")), "QSO# 001\r\nLISTA_QSO previous\r\n");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(Cp1252ToUtf8(messages_.shown[0].text),
            "Restore effettuato... Il software verrà riavviato");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(program().Ended());
}

TEST_F(StartWindowTest, RestoreWithoutBackupSaysSoAndKeepsTheContest) {
  Start();
  Form5& start = program().Get<Form5>();
  start.Check2.Toggle();
  program().Get<Form12>().Command1.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
  EXPECT_NE(messages_.shown[0].text.find("backup.db"), std::string::npos);
  EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");
  EXPECT_FALSE(program().Ended());
  EXPECT_EQ(program().Find<Form12>(), nullptr);
  EXPECT_EQ(start.Check2.Value(), 0);
}

TEST_F(StartWindowTest, RestoreThatCannotWriteSaysWhyAndStays) {
  WriteBytes(File("backup.db"), "QSO# 001\r\n");
  Start();
  program().Get<Form5>().Check2.Toggle();
  disk_.read_only = true;
  program().Get<Form12>().Command1.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");
  EXPECT_FALSE(program().Ended());
  EXPECT_TRUE(Shown<Form12>());
}

}  // namespace
}  // namespace keldra::testing

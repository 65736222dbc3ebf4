// Start-up, activation, mode switching, "Crea LOG", "Esci" and the start and restore windows.
#include <gtest/gtest.h>

#include "StartupFixture.h"
#include "ui/BearingCalculatorWindow.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"

namespace keldra::testing {
namespace {

TEST_F(StartupTest, TheTitleShowsAnAccentedContestFolderInTheCodePage) {
  const auto accented = folder_.path() / std::filesystem::path(u8"gara di Città");
  std::filesystem::create_directory(accented);
  Program program(messages_, clock_, accented);
  program.Start();
  EXPECT_EQ(program.Get<MainWindow>().contest_title.ToolTip(),
            "Cartella del contest: " + folder_.path().string() +
                static_cast<char>(std::filesystem::path::preferred_separator) + "gara di Citt\xE0");
}

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
    MainWindow& main = Start();
    EXPECT_EQ(main.date.Text(), c.date);
    EXPECT_EQ(main.time.Text(), c.time);
    EXPECT_TRUE(main.date.Locked());
    EXPECT_TRUE(main.time.Locked());
  }
}

TEST_F(StartupTest, StationFileFillsTheStationFrameTheCalculatorAndTheEdiHeader) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.station_call.Caption(), "QX0ABC");
  EXPECT_EQ(main.station_locator.Caption(), "JN71AB");
  EXPECT_EQ(main.station_iqrp_number.Caption(), "003");
  EXPECT_EQ(main.station_mqc_number.Caption(), "");
  EXPECT_EQ(main.account.Caption(), "User");
  EXPECT_FALSE(main.administration_button.Visible());
  EXPECT_EQ(program().Calculator().OwnLocator(), "JN71AB");
  EdiHeaderWindow& edi = program().Get<EdiHeaderWindow>();
  EXPECT_FALSE(edi.Visible());
  EXPECT_EQ(edi.call.Text(), "QX0ABC");
  EXPECT_EQ(edi.locator.Text(), "JN71AB");
  EXPECT_EQ(edi.operators.Text(), "QX0ABC");
  // On-line the cursor waits in the callsign field.
  EXPECT_EQ(Focused(), "Form1.Text6");
  EXPECT_FALSE(Shown<StartWindow>());
  EXPECT_FALSE(Shown<StationWindow>());
}

TEST_F(StartupTest, WithoutStationFileTheStationWindowStandsIn) {
  MainWindow& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<StationWindow>());
  EXPECT_FALSE(Shown<StartWindow>());
  EXPECT_EQ(main.station_call.Caption(), "...");
  // The clock still fills the row, ready for when the main window is shown.
  EXPECT_EQ(main.time.Text(), "07.30");
}

TEST_F(StartupTest, UnreadableStationFileIsTreatedAsMissing) {
  WriteBytes(File("config.txt"), kStationFile);
  disk_.unreadable = "config.txt";
  MainWindow& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<StationWindow>());
  EXPECT_EQ(main.station_call.Caption(), "...");
}

TEST_F(StartupTest, ContestOnDiskAlwaysShowsTheStartWindow) {
  WriteBytes(File("config.txt"), kStationFile);
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  MainWindow& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<StartWindow>());
  EXPECT_EQ(program().Desktop().ActiveForm(), program().Find<StartWindow>());
}

TEST_F(StartupTest, NoStationFileAndAContestShowBothStartWindowsStartWindowOnTop) {
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  MainWindow& main = Start();
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(Shown<StationWindow>());
  EXPECT_TRUE(Shown<StartWindow>());
  EXPECT_EQ(program().Desktop().ActiveForm(), program().Find<StartWindow>());
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
    MainWindow& main = Start();
    EXPECT_EQ(main.account.Caption(), c.account);
    EXPECT_EQ(main.administration_button.Visible(), std::string(c.account) == "Admin");
  }
}

TEST_F(StartupTest, CreaLogNeedsAtLeastOneQso) {
  WriteBytes(File("config.txt"), kStationFile);
  struct Case {
    const char* name;
    std::string list;
    bool opens;
  };
  // Each list with its line end.
  const Case cases[] = {{"empty", "", false},
                        {"20_characters", std::string(18, 'x') + "\r\n", false},
                        {"21_characters", std::string(19, 'x') + "\r\n", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MainWindow& main = Start();
    messages_.shown.clear();
    ContestState contest;
    contest.qso_list = c.list;
    PutContest(program(), contest);
    main.create_log_button.Press();
    EXPECT_EQ(Shown<EdiHeaderWindow>(), c.opens);
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
  MainWindow& main = Start();

  main.logging_mode_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Controllare sempre di immettere l'orario in formato UTC...");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(main.IsOffLine());
  EXPECT_EQ(main.logging_mode.Caption(), "off-line");
  EXPECT_EQ(main.date.Text(), "");
  EXPECT_EQ(main.time.Text(), "");
  EXPECT_FALSE(main.date.Locked());
  EXPECT_FALSE(main.time.Locked());
  EXPECT_TRUE(main.pc_date_time_button.Visible());
  EXPECT_EQ(Focused(), "Form1.Text2");
  main.date.Type("17/07/23");
  EXPECT_EQ(main.date.Text(), "17/07/23");

  main.logging_mode_button.Press();
  EXPECT_EQ(messages_.shown.size(), 2u);
  EXPECT_FALSE(main.IsOffLine());
  EXPECT_EQ(main.logging_mode.Caption(), "on-line");
  EXPECT_FALSE(main.pc_date_time_button.Visible());
  EXPECT_TRUE(main.date.Locked());
  EXPECT_TRUE(main.time.Locked());
  // Going back on-line does not refill date and time.
  EXPECT_EQ(main.date.Text(), "17/07/23");
  EXPECT_EQ(main.time.Text(), "");
}

TEST_F(StartupTest, ClockButtonFillsLocalDateAndTime) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  main.logging_mode_button.Press();
  main.call.SetFocus();
  main.pc_date_time_button.Press();
  EXPECT_EQ(main.date.Text(), "16/07/23");
  EXPECT_EQ(main.time.Text(), "09.30");
  EXPECT_EQ(Focused(), "Form1.Text2");
}

TEST_F(StartupTest, ActivationPutsTheCursorWhereTheModeWantsIt) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  EdiHeaderWindow& edi = program().Get<EdiHeaderWindow>();
  main.qso_list.SetText(std::string(30, 'x'));

  main.create_log_button.Press();  // the header window takes over
  edi.close_button.Press();        // "Chiudi": the main window is active again
  EXPECT_EQ(Focused(), "Form1.Text6");

  main.logging_mode_button.Press();
  main.create_log_button.Press();
  edi.close_button.Press();
  EXPECT_EQ(Focused(), "Form1.Text2");
  EXPECT_FALSE(main.date.Locked());
}

TEST_F(StartupTest, EsciClosesEveryWindowAndSavesNothing) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  main.qso_list.SetText(std::string(30, 'x'));
  main.exit_button.Press();
  EXPECT_TRUE(program().Ended());
  EXPECT_EQ(program().Find<MainWindow>(), nullptr);
  EXPECT_EQ(program().Find<EdiHeaderWindow>(), nullptr);
  EXPECT_EQ(program().Find<BearingCalculatorWindow>(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(File("parziale.db")));
}

TEST_F(StartupTest, ClosingTheMainWindowEndsTheProgram) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  main.CloseRequested();
  EXPECT_TRUE(program().Ended());
}

TEST_F(StartupTest, ReadOnlyFolderStartsAndTheFirstSaveSaysWhy) {
  WriteBytes(File("config.txt"), kStationFile);
  disk_.read_only = true;
  MainWindow& main = Start();
  ASSERT_TRUE(main.Visible());
  EXPECT_TRUE(messages_.shown.empty());
  const std::string line = "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-001   JN81GD   ";
  ContestState contest;
  contest.qso_list = line + "\r\n";
  PutContest(program(), contest);
  EXPECT_FALSE(SaveContest(program(), main));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
  EXPECT_NE(messages_.shown[0].text.find(File("parziale.db").string()), std::string::npos);
  EXPECT_EQ(main.qso_list.Text(), line + "\r\n");
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
  MainWindow& main = Start();
  program().Get<StartWindow>().continue_button.Press();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(program().Find<StartWindow>(), nullptr);
  EXPECT_FALSE(main.IsOffLine());
  EXPECT_EQ(Focused(), "Form1.Text6");
  EXPECT_TRUE(main.date.Locked());
}

TEST_F(StartWindowTest, ContinuaBringsBackTheSavedContest) {
  MainWindow& first = Start();
  const std::string line = "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-001   JN81GD   ";
  ContestState contest;
  contest.qso_list = line + "\r\n";
  contest.edi_records = "230716;0730;QX1ABC;1;59;001;59;001;;JN81GD;523;;;;\r\n";
  contest.serial = "002";
  contest.odx_km = " 523";
  PutContest(program(), contest);
  ASSERT_TRUE(SaveContest(program(), first));
  program().End();

  MainWindow& main = Start();
  ASSERT_TRUE(Shown<StartWindow>());
  program().Get<StartWindow>().continue_button.Press();
  EXPECT_EQ(main.qso_list.Text(), line + "\r\n");
  EXPECT_EQ(main.qso_number.Text(), "002");
  EXPECT_EQ(main.odx_km.Caption(), " 523");
  EXPECT_EQ(program().Get<EdiHeaderWindow>().edi_records.Text(), main.Log().EdiRecordsText());
}

TEST_F(StartWindowTest, ContinuaOffLineOpensDateAndTimeForTyping) {
  MainWindow& main = Start();
  StartWindow& start = program().Get<StartWindow>();
  start.off_line.Toggle();
  start.continue_button.Press();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.logging_mode.Caption(), "off-line");
  EXPECT_EQ(main.date.Text(), "");
  EXPECT_EQ(main.time.Text(), "");
  EXPECT_FALSE(main.date.Locked());
  EXPECT_FALSE(main.time.Locked());
  EXPECT_TRUE(main.pc_date_time_button.Visible());
  EXPECT_EQ(Focused(), "Form1.Text2");
}

TEST_F(StartWindowTest, NuovoPassesThroughTheStationWindowAndDeletesNothing) {
  MainWindow& main = Start();
  StartWindow& start = program().Get<StartWindow>();
  start.off_line.Toggle();
  start.new_contest_button.Press();
  EXPECT_EQ(program().Find<StartWindow>(), nullptr);
  ASSERT_TRUE(Shown<StationWindow>());
  StationWindow& station = program().Get<StationWindow>();
  EXPECT_TRUE(station.off_line);
  EXPECT_FALSE(main.Visible());
  EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");

  station.call.Type("qx0new");
  station.locator.Type("jn81gd");
  station.save_button.Press();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.station_call.Caption(), "QX0NEW");
  EXPECT_EQ(main.logging_mode.Caption(), "off-line");
  EXPECT_FALSE(main.date.Locked());
  EXPECT_EQ(Focused(), "Form1.Text2");
}

TEST_F(StartWindowTest, ClosingTheStartWindowWithNothingElseShownEndsTheProgram) {
  Start();
  program().Get<StartWindow>().CloseRequested();
  EXPECT_TRUE(program().Ended());
}

// --- The emergency restore ---

TEST_F(StartWindowTest, RestoreTickOpensTheRestoreWindowAndNoCancels) {
  Start();
  StartWindow& start = program().Get<StartWindow>();
  start.emergency_restore.Toggle();
  ASSERT_TRUE(Shown<RestoreWindow>());
  program().Get<RestoreWindow>().no_button.Press();
  EXPECT_EQ(program().Find<RestoreWindow>(), nullptr);
  EXPECT_EQ(start.emergency_restore.Value(), 0);
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
    program().Get<StartWindow>().emergency_restore.Toggle();
    program().Get<StartWindow>().CloseRequested();
    ASSERT_FALSE(program().Ended());
    ASSERT_TRUE(Shown<RestoreWindow>());
    RestoreWindow& confirm = program().Get<RestoreWindow>();
    (c.yes ? confirm.yes_button : confirm.no_button).Press();
    EXPECT_TRUE(program().Ended());
    EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");
  }
}

TEST_F(StartWindowTest, RestoreCopiesTheBackupAndEndsTheProgram) {
  WriteBytes(File("backup.db"), "QSO# 001\r\nLISTA_QSO previous\r\n");
  Start();
  program().Get<StartWindow>().emergency_restore.Toggle();
  program().Get<RestoreWindow>().yes_button.Press();
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
  StartWindow& start = program().Get<StartWindow>();
  start.emergency_restore.Toggle();
  program().Get<RestoreWindow>().yes_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
  EXPECT_NE(messages_.shown[0].text.find("backup.db"), std::string::npos);
  EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");
  EXPECT_FALSE(program().Ended());
  EXPECT_EQ(program().Find<RestoreWindow>(), nullptr);
  EXPECT_EQ(start.emergency_restore.Value(), 0);
}

TEST_F(StartWindowTest, RestoreThatCannotWriteSaysWhyAndStays) {
  WriteBytes(File("backup.db"), "QSO# 001\r\n");
  Start();
  program().Get<StartWindow>().emergency_restore.Toggle();
  disk_.read_only = true;
  program().Get<RestoreWindow>().yes_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(ReadBytes(File("parziale.db")), "QSO# 002\r\n");
  EXPECT_FALSE(program().Ended());
  EXPECT_TRUE(Shown<RestoreWindow>());
}

}  // namespace
}  // namespace keldra::testing

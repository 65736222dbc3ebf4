// "OK" on the main window: the checks in their order, the QSO lines, the totals, the cursor and
// the state file.
#include <vector>

#include "MainWindowFixture.h"
#include "core/StateFile.h"
#include "support/ShownState.h"
#include "ui/BearingCalculatorWindow.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"

namespace keldra::testing {
namespace {

class CommitTest : public MainWindowTest {
 protected:
  void Ok() { Main().ok_button.Press(); }
  std::string State() { return ReadBytes(File("parziale.db")); }
  std::string Backup() { return ReadBytes(File("backup.db")); }
};

TEST_F(CommitTest, FirstQsoLogsBothLinesAndSaves) {
  Row("QX1ABC", "012", "JN71GD", "I003");
  Ok();
  MainWindow& f = Main();
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
  EXPECT_EQ(f.qso_list.Text(),
            "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-012   JN71GD   I003\r\n");
  EXPECT_EQ(f.Log().EdiRecordsText(), "230716;0730;QX1ABC;1;59;001;59;012;I003;JN71GD;168;;;;\r\n");
  EXPECT_EQ(program().Get<EdiHeaderWindow>().edi_records.Text(), f.Log().EdiRecordsText());
  EXPECT_EQ(f.qso_number.Text(), "002");
  EXPECT_EQ(TotalsShown(f), (std::vector<std::string>{"1", "168", "1", "336", "168", "QX1ABC",
                                                      "JN71GD", " 168", "1", "0"}));
  for (const TextBox* field : {&f.call, &f.serial_received, &f.locator, &f.club_code}) {
    EXPECT_EQ(field->Text(), "") << field->Name();
    EXPECT_EQ(field->BackColor(), kWhite) << field->Name();
  }
  // Date, time, band, mode and reports stay for the next QSO; the indicators keep the last one.
  EXPECT_EQ(f.time.Text(), "07.30");
  EXPECT_EQ(f.mode.Text(), "SSB");
  EXPECT_EQ(f.distance.Caption(), " 168");
  EXPECT_FALSE(f.distance_bar.Visible());
  EXPECT_EQ(Focused(), "Text6");
  EXPECT_EQ(State(), StateFileText(ContestStateOf(f)));
  EXPECT_FALSE(std::filesystem::exists(File("backup.db")));
}

TEST_F(CommitTest, CwQsoAndTheSerialPastNineHundredNinetyNine) {
  MainWindow& f = Main();
  f.qso_number.SetText("999");
  f.mode.PressKey(key::kDown);
  Row("QX2XYZ", "013", "JN91GD");
  Ok();
  EXPECT_EQ(f.qso_list.Text(),
            "999   16/07/23   07.30   144Mhz   CW    QX2XYZ      599-013  JN91GD   \r\n");
  EXPECT_EQ(f.Log().EdiRecordsText(), "230716;0730;QX2XYZ;0;599;999;599;013;;JN91GD;167;;;;\r\n");
  EXPECT_EQ(f.qso_number.Text(), "1000");
}

TEST_F(CommitTest, TotalsOverThreeQsos) {
  MainWindow& f = Main();
  Row("QX1AAA", "001", "JN71GD");  // 168 km
  Ok();
  Row("QX1BBB", "002", "JN80GD", "I003");  // 111 km
  Ok();
  Row("QX1CCC", "003", "JN91GD", "M123");  // 167 km
  Ok();
  EXPECT_EQ(f.total_qsos.Caption(), "3");
  EXPECT_EQ(f.total_km.Caption(), "446");
  EXPECT_EQ(f.total_multipliers.Caption(), "2");
  EXPECT_EQ(f.total_points.Caption(), "724");  // 168 + 222 + 334
  EXPECT_EQ(f.average_km.Caption(), "149");    // 148.67
  EXPECT_EQ(f.odx_call.Caption(), "QX1AAA");
  EXPECT_EQ(f.odx_km.Caption(), " 168");
  EXPECT_EQ(f.iqrp_qsos.Caption(), "1");
  EXPECT_EQ(f.mqc_qsos.Caption(), "1");
  EXPECT_EQ(f.qso_number.Text(), "004");
}

TEST_F(CommitTest, OwnSubsquareCountsOneKm) {
  MainWindow& f = Main();
  Row("QX1AAA", "001", "JN81GD");
  Ok();
  Row("QX1BBB", "002", "JN81GD", "M007");
  Ok();
  EXPECT_EQ(f.total_km.Caption(), "2");
  EXPECT_EQ(f.total_points.Caption(), "3");
  EXPECT_EQ(f.odx_km.Caption(), "1");
  EXPECT_NE(f.Log().EdiRecordsText().find(";JN81GD;1;;;;"), std::string::npos);
}

TEST_F(CommitTest, AwardPictureFromTheTwentyFifthIqrpQso) {
  MainWindow& f = Main();
  for (char c = 'A'; c < 'A' + 25; ++c) {
    EXPECT_FALSE(f.award_picture.Visible()) << "before QSO " << c;
    Row(std::string("QX1A") + c, "001", "JN71GD", "I007");
    Ok();
  }
  EXPECT_EQ(f.iqrp_qsos.Caption(), "25");
  EXPECT_TRUE(f.award_picture.Visible());
  EXPECT_TRUE(f.award_name.Visible());
}

TEST_F(CommitTest, DistanceIsTheLocatorsEvenAfterAnotherWindowUsedTheCalculator) {
  MainWindow& f = Main();
  Row("QX1AAA", "001", "JN71GD");
  program().Get<BearingCalculatorWindow>().other_locator.SetText(
      "JN91GD");  // e.g. the statistics window
  Ok();
  EXPECT_EQ(f.total_km.Caption(), "168");
}

struct CheckCase {
  const char* name;
  const char* call;
  const char* serial;
  const char* locator;
  const char* club;
  const char* date;
  const char* time;
  const char* message;  // empty: accepted
  const char* field;
  bool yellow;
};

class CommitCheckTest : public CommitTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CommitCheckTest, FirstFailingCheckWins) {
  const CheckCase& c = GetParam();
  MainWindow& f = Main();
  f.date.SetText(c.date);
  f.time.SetText(c.time);
  Row(c.call, c.serial, c.locator, c.club);
  Ok();
  if (*c.message == '\0') {
    EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
    EXPECT_EQ(f.total_qsos.Caption(), "1");
    return;
  }
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(LastMessage(), c.message);
  EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(Focused(), c.field);
  for (const TextBox* field :
       {&f.date, &f.time, &f.call, &f.serial_received, &f.locator, &f.club_code}) {
    const bool expect_yellow = c.yellow && field->Name() == c.field;
    EXPECT_EQ(field->BackColor(), expect_yellow ? kYellow : kWhite) << field->Name();
  }
  EXPECT_EQ(f.qso_list.Text(), "");
  EXPECT_EQ(f.qso_number.Text(), "001");
  EXPECT_EQ(f.call.Text(), c.call);  // left as typed for correcting
}

constexpr const char* kClubFormat =
    "Errore sul formato numero di iscrizione Club: esempio di formato corretto: I003 o M123";

INSTANTIATE_TEST_SUITE_P(
    Checks, CommitCheckTest,
    ::testing::Values(
        CheckCase{"AllGood", "QX1ABC", "012", "JN71GD", "", "16/07/23", "07.30", "", "", false},
        CheckCase{"Call3", "QX1", "012", "JN71GD", "", "16/07/23", "07.30", "Inserire CallSign...",
                  "Text6", true},
        CheckCase{"CallBeforeSerial", "QX1", "1", "JN7", "", "", "", "Inserire CallSign...",
                  "Text6", true},
        CheckCase{"Serial2", "QX1ABC", "12", "JN71GD", "", "16/07/23", "07.30",
                  "Inserire progressivo ricevuto...", "Text9", true},
        CheckCase{"Serial4", "QX1ABC", "0123", "JN71GD", "", "16/07/23", "07.30",
                  "Inserire progressivo ricevuto...", "Text9", true},
        CheckCase{"Locator5", "QX1ABC", "012", "JN71G", "", "16/07/23", "07.30",
                  "Inserire il Locatore nel formato corretto... es. JN81GD", "Text10", true},
        CheckCase{"LocatorLetterForDigit", "QX1ABC", "012", "JN7IGD", "", "16/07/23", "07.30",
                  "Inserire il Locatore nel formato corretto... es. JN81GD", "Text10", true},
        CheckCase{"LocatorFieldBeyondR", "QX1ABC", "012", "JS71GD", "", "16/07/23", "07.30",
                  "Inserire il Locatore nel formato corretto... es. JN81GD", "Text10", true},
        CheckCase{"LocatorSubsquareBeyondX", "QX1ABC", "012", "JN71GY", "", "16/07/23", "07.30",
                  "Inserire il Locatore nel formato corretto... es. JN81GD", "Text10", true},
        CheckCase{"LocatorSubsquareX", "QX1ABC", "012", "JN71XX", "", "16/07/23", "07.30", "", "",
                  false},
        CheckCase{"Date7", "QX1ABC", "012", "JN71GD", "", "16/07/2", "07.30",
                  "Inserire la data del QSO nel formato DD/MM/YY", "Text2", false},
        CheckCase{"DateBeforeTime", "QX1ABC", "012", "JN71GD", "", "", "",
                  "Inserire la data del QSO nel formato DD/MM/YY", "Text2", false},
        CheckCase{"OnLineTime6", "QX1ABC", "012", "JN71GD", "", "16/07/23", "07.300",
                  "Inserire l'ora del QSO nel formato HH:MM", "Text3", false},
        CheckCase{"OnLineTimeEmpty", "QX1ABC", "012", "JN71GD", "", "16/07/23", "",
                  "Inserire l'ora del QSO nel formato HH:MM", "Text3", false},
        CheckCase{"I1100", "QX1ABC", "012", "JN71GD", "I1100", "16/07/23", "07.30", "", "", false},
        CheckCase{"I1101", "QX1ABC", "012", "JN71GD", "I1101", "16/07/23", "07.30",
                  "Membro IQRP errato", "Text11", true},
        CheckCase{"M600", "QX1ABC", "012", "JN71GD", "M600", "16/07/23", "07.30", "", "", false},
        CheckCase{"M601", "QX1ABC", "012", "JN71GD", "M601", "16/07/23", "07.30",
                  "Membro MQC errato", "Text11", true},
        CheckCase{"LetterAlone", "QX1ABC", "012", "JN71GD", "M", "16/07/23", "07.30", "", "",
                  false},
        CheckCase{"ClubDash", "QX1ABC", "012", "JN71GD", "I-12", "16/07/23", "07.30", kClubFormat,
                  "Text11", true},
        CheckCase{"ClubBlank", "QX1ABC", "012", "JN71GD", "I 12", "16/07/23", "07.30", kClubFormat,
                  "Text11", true},
        CheckCase{"ClubOtherLetter", "QX1ABC", "012", "JN71GD", "X123", "16/07/23", "07.30",
                  kClubFormat, "Text11", true},
        CheckCase{"ClubTrimmedFirst", "QX1ABC", "012", "JN71GD", "  I003 ", "16/07/23", "07.30", "",
                  "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommitTest, OnLineOneDigitHourGetsItsZero) {
  MainWindow& f = Main();
  f.time.SetText("9:20");
  Row("QX1ABC", "012", "JN71GD");
  Ok();
  EXPECT_NE(f.Log().EdiRecordsText().find("230716;0920;QX1ABC;"), std::string::npos)
      << f.Log().EdiRecordsText();
}

TEST_F(CommitTest, ModeOtherThanSsbOrCwRefused) {
  // The arrows only ever give SSB or CW; a line has no column for anything else.
  MainWindow& f = Main();
  f.mode.SetText("FM");
  Row("QX1ABC", "012", "JN71GD");
  Ok();
  EXPECT_EQ(LastMessage(), "Modo non valido: usare SSB o CW (frecce su e giù)");
  EXPECT_EQ(Focused(), "Text5");
  EXPECT_EQ(f.qso_list.Text(), "");
}

TEST_F(CommitTest, ASemicolonInAFieldWouldBreakTheRecordAndIsRefused) {
  MainWindow& f = Main();
  f.rst_sent.SetText("5;9");
  Row("QX1ABC", "012", "JN71GD");
  Ok();
  EXPECT_EQ(LastMessage(), "Il carattere ; non può essere usato nei dati del QSO");
  EXPECT_EQ(Focused(), "Text7");
  EXPECT_EQ(f.rst_sent.BackColor(), kYellow);
  EXPECT_EQ(f.Log().EdiRecordsText(), "");
  f.rst_sent.SetText("59");
  Ok();
  EXPECT_NE(f.Log().EdiRecordsText().find(";QX1ABC;1;59;001;59;012;;JN71GD;168;;;;"),
            std::string::npos);
}

TEST_F(CommitTest, LowerCaseClubLetterRefusedAfterTrim) {
  // The field upper-cases what is typed; the commit does not rely on it.
  MainWindow& f = Main();
  f.club_code.Change = nullptr;
  Row("QX1ABC", "012", "JN71GD", " i003 ");
  Ok();
  EXPECT_EQ(LastMessage(), kClubFormat);
  EXPECT_EQ(f.club_code.Text(), "i003");
  EXPECT_EQ(f.club_code.BackColor(), kYellow);
}

TEST_F(CommitTest, DuplicateByWholeCallsign) {
  MainWindow& f = Main();
  Row("QX1ABC", "001", "JN71GD");
  Ok();
  Row("QX1AB", "002", "JN71GD");  // part of a logged callsign: a different station
  Ok();
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
  EXPECT_EQ(f.total_qsos.Caption(), "2");

  Row("QX1ABC", "003", "JN91GD");
  Ok();
  EXPECT_EQ(LastMessage(), "QSO non valido, la stazione risulta già collegata");
  EXPECT_EQ(f.call.Text(), "QX1ABC");
  EXPECT_EQ(f.call.BackColor(), kYellow);
  EXPECT_EQ(Focused(), "Text6");
  EXPECT_EQ(f.total_qsos.Caption(), "2");

  // Corrected, it goes through and the highlight goes.
  f.call.SetText("QX1ABD");
  Ok();
  EXPECT_EQ(f.total_qsos.Caption(), "3");
  EXPECT_EQ(f.call.BackColor(), kWhite);
}

TEST_F(CommitTest, OffLineTimeWithOneDigitHourAndTheCursorAfterwards) {
  MainWindow& f = Main();
  GoOffLine();
  f.time.SetText("9.20");
  Row("QX1ABC", "012", "JN71GD");
  Ok();
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
  EXPECT_EQ(f.qso_list.Text().substr(0, 25), "001   16/07/23   09.20   ");
  EXPECT_EQ(f.time.Text(), "");
  EXPECT_EQ(f.date.Text(), "16/07/23");
  EXPECT_EQ(Focused(), "Text3");
}

TEST_F(CommitTest, OffLineTimeWithoutPointRefused) {
  MainWindow& f = Main();
  GoOffLine();
  f.time.SetText("920");
  Row("QX1ABC", "012", "JN71GD");
  Ok();
  EXPECT_EQ(LastMessage(), "Inserire l'ora del QSO nel formato HH:MM");
  EXPECT_EQ(Focused(), "Text3");
  EXPECT_EQ(f.qso_list.Text(), "");
}

TEST_F(CommitTest, OffLineShortCallSendsTheCursorToTheTime) {
  GoOffLine();
  Main().time.SetText("09.20");
  Row("QX1", "012", "JN71GD");
  Ok();
  EXPECT_EQ(LastMessage(), "Inserire CallSign...");
  EXPECT_EQ(Focused(), "Text3");
}

TEST_F(CommitTest, BackupHoldsThePreviousState) {
  Row("QX1AAA", "001", "JN71GD");
  Ok();
  const std::string first = State();
  Row("QX1BBB", "002", "JN91GD");
  Ok();
  EXPECT_EQ(Backup(), first);
  EXPECT_NE(State(), first);
  EXPECT_EQ(State(), StateFileText(ContestStateOf(Main())));
}

TEST_F(CommitTest, RefusedPressWritesNothing) {
  Row("QX1AAA", "001", "JN71GD");
  Ok();
  Row("QX1BBB", "002", "JN91GD");
  Ok();
  const std::string state = State();
  const std::string backup = Backup();
  Row("QX1AAA", "003", "JN91GD");  // duplicate
  Ok();
  Row("QX1CCC", "3", "JN91GD");  // short serial
  Ok();
  EXPECT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(State(), state);
  EXPECT_EQ(Backup(), backup);
}

// A disk that refuses to rename the new state file into place.
class RenameFails : public Files {
 protected:
  std::error_code Inject(WriteStep step) override {
    return step == WriteStep::kRename ? std::make_error_code(std::errc::io_error)
                                      : std::error_code();
  }
};

TEST_F(CommitTest, FailedSaveIsReportedAndTheQsoStaysLogged) {
  RenameFails disk;
  program_ = std::make_unique<Program>(messages_, clock_, folder_.path(), &disk);
  Row("QX1AAA", "001", "JN71GD");
  Ok();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(Main().total_qsos.Caption(), "1");
  EXPECT_NE(Main().qso_list.Text().find("QX1AAA"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(File("parziale.db")));
  program_.reset();  // before the disk goes
}

}  // namespace
}  // namespace keldra::testing

// "apri_parz": a contest saved in parziale.db comes back into the main window, from well-formed
// files, damaged ones, and through a real stop and start of the program.
#include "MainWindowFixture.h"
#include "StartupFixture.h"
#include "core/StateFile.h"
#include "support/ShownState.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/StartWindow.h"

namespace keldra::testing {
namespace {

constexpr const char* kListLine =
    "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-012   JN71GD   I003";
constexpr const char* kEdiLine = "230716;0730;QX1ABC;1;59;001;59;012;I003;JN71GD;168;;;;";

ContestState OneQso() {
  ContestState s;
  s.serial = "002";
  s.qsos = "1";
  s.km = "168";
  s.multipliers = "1";
  s.points = "336";
  s.average_km = "168";
  s.odx_call = "QX1ABC";
  s.odx_locator = "JN71GD";
  s.odx_km = " 168";
  s.iqrp_qsos = "1";
  s.mqc_qsos = "0";
  s.qso_list = std::string(kListLine) + "\r\n";
  s.edi_records = std::string(kEdiLine) + "\r\n";
  return s;
}

class ResumeTest : public MainWindowTest {
 protected:
  // The main window is up on an empty contest before the file appears, as when the start window
  // presses the button.
  MainWindow& Resume(const std::string& file_bytes) {
    MainWindow& f = Main();
    WriteBytes(File("parziale.db"), file_bytes);
    f.resume_button.Press();
    return f;
  }
};

TEST_F(ResumeTest, OneQsoComesBackWithEveryTotal) {
  MainWindow& f = Resume(StateFileText(OneQso()));
  EXPECT_EQ(ContestStateOf(f), OneQso());
  EXPECT_EQ(f.odx_km.Caption(), " 168");  // the ODX distance keeps its blank
  EXPECT_EQ(program().Get<EdiHeaderWindow>().edi_records.Text(), f.Log().EdiRecordsText());
  EXPECT_EQ(f.qso_list.SelStart(), static_cast<int>(f.qso_list.Text().size()));
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
}

TEST_F(ResumeTest, AHandWrittenSerialIsPaddedByTheField) {
  EXPECT_EQ(Resume("QSO# 7\r\n").qso_number.Text(), "007");
}

TEST_F(ResumeTest, PressingTwiceAppendsTheListsTwice) {
  MainWindow& f = Resume(StateFileText(OneQso()));
  f.resume_button.Press();
  const std::string list = std::string(kListLine) + "\r\n";
  const std::string edi = std::string(kEdiLine) + "\r\n";
  EXPECT_EQ(f.qso_list.Text(), list + list);
  EXPECT_EQ(f.Log().EdiRecordsText(), edi + edi);
  EXPECT_EQ(program().Get<EdiHeaderWindow>().edi_records.Text(), edi + edi);
  EXPECT_EQ(f.total_qsos.Caption(), "1");
}

TEST_F(ResumeTest, MissingFileChangesNothing) {
  MainWindow& f = Main();
  const ContestState before = ContestStateOf(f);
  f.resume_button.Press();
  EXPECT_EQ(ContestStateOf(f), before);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ResumeTest, DoesNotTouchThePointingDisplay) {
  MainWindow& f = Main();
  const int x2 = f.bearing_needle.X2(), y2 = f.bearing_needle.Y2();
  f.distance.SetCaption("marker");
  Resume(StateFileText(OneQso()));
  EXPECT_EQ(f.bearing_needle.X2(), x2);
  EXPECT_EQ(f.bearing_needle.Y2(), y2);
  EXPECT_EQ(f.distance.Caption(), "marker");
}

TEST_F(ResumeTest, ARestoredCountOfTwentyFiveShowsTheAwardAtOnce) {
  ContestState s = OneQso();
  s.iqrp_qsos = "25";
  MainWindow& f = Resume(StateFileText(s));
  EXPECT_TRUE(f.award_picture.Visible());
  EXPECT_TRUE(f.award_name.Visible());
}

struct DamagedCase {
  const char* name;
  const char* bytes;
  const char* serial;
  const char* qso_count;
  const char* odx_km;
  const char* list;
  const char* edi;
};

class DamagedFileTest : public ResumeTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedFileTest, LoadsWhatItCan) {
  const DamagedCase& c = GetParam();
  MainWindow& f = Resume(c.bytes);
  EXPECT_EQ(f.qso_number.Text(), c.serial);
  EXPECT_EQ(f.total_qsos.Caption(), c.qso_count);
  EXPECT_EQ(f.odx_km.Caption(), c.odx_km);
  EXPECT_EQ(f.qso_list.Text(), c.list);
  EXPECT_EQ(f.Log().EdiRecordsText(), c.edi);
  EXPECT_EQ(program().Get<EdiHeaderWindow>().edi_records.Text(), c.edi);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    ::testing::Values(
        DamagedCase{"UnknownAndEmptyLinesIgnored",
                    "\r\nHELLO 1\r\nqso# 5\r\nCONTEST_QSO 3\r\n\r\nLISTA_QSO 001 A\r\n", "001", "3",
                    "0", "001 A\r\n", ""},
        // Keys without the blank and value are skipped; the key and blank alone give no number,
        // so no distance.
        DamagedCase{"KeysTooShortForAValue",
                    "QSO#\r\nCONTEST_QSO\r\nCONTEST_ODX_QRB \r\nLISTA_QSO\r\nLISTA_QSO X\r\n"
                    "QSO_EDI \r\nQSO_EDI x\r\n",
                    "001", "0", "0", "", ""},
        DamagedCase{"ListLineBoundaries_TwelveCharactersTaken",
                    "LISTA_QSO 12\r\nLISTA_QSO 1\r\nQSO_EDI 12\r\nQSO_EDI 1\r\n", "001", "0", "0",
                    "12\r\n", "12\r\n"},
        DamagedCase{"LineFeedOnlyEnds", "QSO# 004\nCONTEST_QSO 3\nLISTA_QSO 001 A\nQSO_EDI e;1\n",
                    "004", "3", "0", "001 A\r\n", "e;1\r\n"},
        DamagedCase{"TruncatedLastLine",
                    "QSO# 004\r\nCONTEST_ODX_QRB  523\r\nLISTA_QSO 001 A\r\nQSO_EDI 2307", "004",
                    "0", " 523", "001 A\r\n", "2307\r\n"},
        DamagedCase{"TruncatedInsideAKey", "QSO# 004\r\nLISTA_QSO 001 A\r\nQSO_E", "004", "0", "0",
                    "001 A\r\n", ""},
        DamagedCase{"EmptyFile", "", "001", "0", "0", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The same through the real program: stop, start, "Continua Contest". ---

class ResumeRoundTripTest : public StartupTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = \r\n");
  }
  void Log(MainWindow& f, const std::string& call, const std::string& serial,
           const std::string& locator, const std::string& club = "") {
    f.call.SetText(call);
    f.serial_received.SetText(serial);
    f.locator.SetText(locator);
    f.club_code.SetText(club);
    f.ok_button.Press();
  }
};

TEST_F(ResumeRoundTripTest, ThreeQsosStopStartContinueAndAFourth) {
  MainWindow& first = Start();
  ASSERT_TRUE(first.Visible());
  Log(first, "QX1ABC", "012", "JN71GD", "I003");
  Log(first, "QX2XYZ", "013", "JN91GD");
  Log(first, "QX3QRP", "014", "JN80GD", "M123");
  ASSERT_EQ(first.qso_number.Text(), "004");
  const ContestState before = ContestStateOf(first);
  const bool bar_before = first.distance_bar.Visible();
  const bool award_before = first.award_picture.Visible();
  first.exit_button.Press();
  ASSERT_TRUE(program().Ended());

  MainWindow& main = Start();
  ASSERT_TRUE(Shown<StartWindow>());
  program().Get<StartWindow>().continue_button.Press();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(ContestStateOf(main), before);
  EXPECT_EQ(program().Get<EdiHeaderWindow>().edi_records.Text(), before.edi_records);
  EXPECT_EQ(main.distance_bar.Visible(), bar_before);
  EXPECT_EQ(main.award_picture.Visible(), award_before);
  EXPECT_EQ(main.qso_list.SelStart(), static_cast<int>(main.qso_list.Text().size()));

  Log(main, "QX4NEW", "015", "JN82GD");
  EXPECT_TRUE(messages_.shown.empty()) << Cp1252ToUtf8(messages_.shown.back().text);
  EXPECT_EQ(main.qso_list.Text().substr(before.qso_list.size(), 3), "004");
  EXPECT_EQ(main.total_qsos.Caption(), "4");
  EXPECT_EQ(main.qso_number.Text(), "005");
  EXPECT_EQ(StateFileText(ContestStateOf(main)), ReadBytes(File("parziale.db")));
}

TEST_F(ResumeRoundTripTest, UnreadableFileIsReportedAndNothingIsLoaded) {
  WriteBytes(File("parziale.db"), StateFileText(OneQso()));
  disk_.unreadable = "parziale.db";
  MainWindow& main = Start();
  program().Get<StartWindow>().continue_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(main.qso_list.Text(), "");
  EXPECT_EQ(main.qso_number.Text(), "001");
}

}  // namespace
}  // namespace keldra::testing

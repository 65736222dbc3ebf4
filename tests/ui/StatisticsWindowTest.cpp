// The statistics window opened with "STAT", its "Report" into the report window, and "Salva".
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "ui/ReportWindow.h"
#include "ui/StatisticsWindow.h"

namespace keldra::testing {
namespace {

std::string Line(const std::string& serial, const std::string& time, const std::string& call,
                 const std::string& locator) {
  const std::string filler(12 - call.size(), ' ');
  return serial + "   16/07/23   " + time + "   144Mhz   SSB   " + call + filler + "59-012   " +
         locator + "   \r\n";
}

const std::string kClosing = "---- Keldra qrp Test - by QX0ZZA ----\r\n";

class StatisticsWindowTest : public MainWindowTest {
 protected:
  StatisticsWindow& Stat() {
    Main().statistics_button.Press();
    StatisticsWindow* stat = program().Find<StatisticsWindow>();
    EXPECT_NE(stat, nullptr);
    return *stat;
  }
  std::string Report() { return ReadBytes(File("keldra_qrp_statistiche.txt")); }
  // QSO list lines into the log, as a resume appends them.
  void PutList(const std::string& lines) {
    ContestState contest;
    contest.qso_list = lines;
    PutContest(program(), contest);
  }
};

TEST_F(StatisticsWindowTest, StatComputesThroughTheSharedCalculator) {
  PutList(Line("001", "08.15", "QX1ABC", "JN71GD"));
  StatisticsWindow& stat = Stat();
  EXPECT_TRUE(stat.Visible());
  EXPECT_EQ(stat.Caption(), "Keldra QRP Test - Statistiche");
  EXPECT_EQ(stat.ranking.Items(), std::vector<std::string>{"168Km - QX1ABC - JN71GD"});
  EXPECT_NE(stat.hours.Text().find("08-09 =    1 - 168\r\n"), std::string::npos);
  EXPECT_NE(stat.sectors.Text().find("270-300\xB0  - 1\r\n"), std::string::npos);
  EXPECT_EQ(stat.squares.Text(), "JN71 - ");
  EXPECT_NE(stat.square_map.Text().find("JN61    JN81"), std::string::npos);
  EXPECT_TRUE(stat.square_map.Font().fixed_pitch);
  EXPECT_TRUE(stat.sectors.Font().fixed_pitch);
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
}

TEST_F(StatisticsWindowTest, MainIndicatorsKeepTheRowBeingTyped) {
  Main().locator.SetText("JN80GD");
  PutList(Line("001", "08.15", "QX1ABC", "JN71GD") + Line("002", "08.20", "9A2ABC", "JN91GD"));
  StatisticsWindow& stat = Stat();
  EXPECT_EQ(stat.ranking.Items(),
            (std::vector<std::string>{"168Km - QX1ABC - JN71GD", "167Km - 9A2ABC - JN91GD"}));
  EXPECT_EQ(Main().distance.Caption(), " 111");
  EXPECT_EQ(Main().bearing.Caption(), " 180");
}

TEST_F(StatisticsWindowTest, LocatorTheCalculatorAlreadyHoldsIsComputedAfresh) {
  // The main window last computed JN71GD from JN81GD; then the own locator became JN71GD.
  Main().locator.SetText("JN71GD");
  ASSERT_EQ(Main().distance.Caption(), " 168");
  program().Calculator().SetOwnLocator("JN71GD");
  PutList(Line("001", "08.15", "QX1ABC", "JN71GD"));
  EXPECT_EQ(Stat().ranking.Items(), std::vector<std::string>{"0Km - QX1ABC - JN71GD"});
}

TEST_F(StatisticsWindowTest, LineWithoutALocatorDoesNotInheritTheLastDistance) {
  PutList(Line("001", "08.15", "QX1ABC", "JN71GD") +
          "002   16/07/23   08.20   144Mhz   SSB   IK7ABC\r\n");
  EXPECT_EQ(Stat().ranking.Items(),
            (std::vector<std::string>{"168Km - QX1ABC - JN71GD", "0Km - IK7ABC - "}));
}

TEST_F(StatisticsWindowTest, FourDigitSerialsAndLongCallsGiveTheirOwnFields) {
  // Both shift the QSO list's columns; the statistics read the logged QSOs.
  Main().qso_number.SetText("999");
  Row("QX1ABC", "012", "JN71GD");
  Main().ok_button.Press();
  Row("QX1ABCDEFGHIJ", "013", "JN91GD");
  Main().ok_button.Press();
  ASSERT_EQ(Main().qso_number.Text(), "1001") << LastMessage();
  StatisticsWindow& stat = Stat();
  EXPECT_EQ(stat.ranking.Items(), (std::vector<std::string>{"168Km - QX1ABC - JN71GD",
                                                            "167Km - QX1ABCDEFGHIJ - JN91GD"}));
  EXPECT_EQ(stat.squares.Text(), "JN71 - JN91 - ");
  EXPECT_NE(stat.hours.Text().find("07-08 =    2 - 335\r\n"), std::string::npos);
}

TEST_F(StatisticsWindowTest, StatAgainOnlyBringsTheOpenWindowForward) {
  PutList(Line("001", "08.15", "QX1ABC", "JN71GD"));
  StatisticsWindow& first = Stat();
  PutList(Line("002", "08.20", "9A2ABC", "JN91GD"));
  StatisticsWindow& again = Stat();
  EXPECT_EQ(&again, &first);
  EXPECT_EQ(again.ranking.ListCount(), 1);

  again.close_button.Press();  // "Chiudi"
  EXPECT_EQ(program().Find<StatisticsWindow>(), nullptr);
  EXPECT_EQ(Stat().ranking.ListCount(), 2);
}

TEST_F(StatisticsWindowTest, ReportAppendsToTheReportWindowAndShowsIt) {
  PutList(Line("001", "08.15", "QX1ABC", "JN71GD"));
  StatisticsWindow& stat = Stat();
  stat.report_button.Press();
  ReportWindow* report = program().Find<ReportWindow>();
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(report->Visible());
  EXPECT_EQ(report->Caption(), "Keldra QRP Test - Report");
  const std::string once = report->report.Text();
  EXPECT_TRUE(once.starts_with("###############################################\r\n"));
  EXPECT_NE(once.find("####################16/07/2023#################\r\n"), std::string::npos);
  EXPECT_NE(once.find("\r\n\r\n168Km - QX1ABC - JN71GD\r\n\r\n\r\n####  DXCC"), std::string::npos);
  EXPECT_NE(once.find("\r\n" + stat.square_map.Text() + "\r\n\r\n\r\n" + kClosing),
            std::string::npos);
  EXPECT_TRUE(once.ends_with(kClosing));

  // A second press while the report window is open adds a second copy.
  stat.report_button.Press();
  EXPECT_EQ(report->report.Text(), once + once);

  // Closed, the report window starts again from nothing.
  report->close_button.Press();
  EXPECT_EQ(program().Find<ReportWindow>(), nullptr);
  stat.report_button.Press();
  EXPECT_EQ(program().Get<ReportWindow>().report.Text(), once);
}

TEST_F(StatisticsWindowTest, SalvaReplacesTheReportFileAndSaysWhere) {
  WriteBytes(File("keldra_qrp_statistiche.txt"), std::string(9000, 'x'));
  StatisticsWindow& stat = Stat();
  stat.report_button.Press();
  stat.report_button.Press();
  ReportWindow& report = program().Get<ReportWindow>();
  report.save_button.Press();
  EXPECT_EQ(Report(), report.report.Text());
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Log salvato in " + File("keldra_qrp_statistiche.txt").string());
  EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
}

TEST_F(StatisticsWindowTest, SalvaOnAnEmptyReportDoesNothing) {
  ReportWindow& report = program().Get<ReportWindow>();
  report.save_button.Press();
  EXPECT_FALSE(std::filesystem::exists(File("keldra_qrp_statistiche.txt")));
  EXPECT_TRUE(messages_.shown.empty());
}

// A disk whose writes fail at the rename, as a report file held open elsewhere would.
class RefusingDisk : public Files {
 protected:
  std::error_code Inject(WriteStep step) override {
    return step == WriteStep::kRename ? std::make_error_code(std::errc::permission_denied)
                                      : std::error_code();
  }
};

TEST_F(StatisticsWindowTest, FailedSaveIsReportedAndKeepsTheOldFile) {
  RefusingDisk disk;
  program_ = std::make_unique<Program>(messages_, clock_, folder_.path(), &disk);
  WriteBytes(File("keldra_qrp_statistiche.txt"), "old report\r\n");
  Stat().report_button.Press();
  program().Get<ReportWindow>().save_button.Press();
  EXPECT_EQ(Report(), "old report\r\n");
  ASSERT_EQ(messages_.shown.size(), 1u);
  // The sentence, then the file and, after it, the reason.
  const std::string text = LastMessage();
  const std::string file = File("keldra_qrp_statistiche.txt").string();
  EXPECT_TRUE(text.starts_with("Il report non è stato salvato.\n")) << text;
  const std::size_t at = text.find(file);
  ASSERT_NE(at, std::string::npos) << text;
  EXPECT_GT(text.size(), at + file.size() + 2) << text;
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
}

}  // namespace
}  // namespace keldra::testing

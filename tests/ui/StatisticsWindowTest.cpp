// The statistics window opened with "STAT", its "Report" into the report window, and "Salva".
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "ui/Form22222.h"
#include "ui/Form7.h"
#include "ui/Form8.h"

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
  Form7& Stat() {
    Main().Command6.Press();
    Form7* stat = program().Find<Form7>();
    EXPECT_NE(stat, nullptr);
    return *stat;
  }
  std::string Report() { return ReadBytes(File("keldra_qrp_statistiche.txt")); }
};

TEST_F(StatisticsWindowTest, StatComputesThroughTheSharedCalculator) {
  Main().Text12.SetText(Line("001", "08.15", "QX1ABC", "JN71GD"));
  Form7& stat = Stat();
  EXPECT_TRUE(stat.Visible());
  EXPECT_EQ(stat.Caption(), "Keldra QRP Test - Statistiche");
  EXPECT_EQ(stat.List1.Items(), std::vector<std::string>{"168Km - QX1ABC - JN71GD"});
  EXPECT_NE(stat.Text4.Text().find("08-09 =    1 - 168\r\n"), std::string::npos);
  EXPECT_NE(stat.Text5.Text().find("270-300\xB0  - 1\r\n"), std::string::npos);
  EXPECT_EQ(stat.Text2.Text(), "JN71 - ");
  EXPECT_NE(stat.Text1.Text().find("JN61    JN81"), std::string::npos);
  EXPECT_TRUE(stat.Text1.Font().fixed_pitch);
  EXPECT_TRUE(stat.Text5.Font().fixed_pitch);
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
}

TEST_F(StatisticsWindowTest, MainIndicatorsEndOnTheLastQso) {
  Main().Text12.SetText(Line("001", "08.15", "QX1ABC", "JN71GD") +
                        Line("002", "08.20", "9A2ABC", "JN91GD"));
  Form7& stat = Stat();
  EXPECT_EQ(stat.List1.Items(),
            (std::vector<std::string>{"168Km - QX1ABC - JN71GD", "167Km - 9A2ABC - JN91GD"}));
  EXPECT_EQ(Main().Label13.Caption(), " 167");
  EXPECT_EQ(Main().Label15.Caption(), " 89");
}

TEST_F(StatisticsWindowTest, LocatorTheCalculatorAlreadyHoldsIsComputedAfresh) {
  // The calculator last computed JN71GD from JN81GD; then the own locator became JN71GD.
  Form22222& calculator = program().Get<Form22222>();
  Main().Text10.SetText("JN71GD");
  ASSERT_EQ(calculator.Text6.Text(), " 168");
  calculator.Text3.SetText("JN71GD");
  Main().Text12.SetText(Line("001", "08.15", "QX1ABC", "JN71GD"));
  EXPECT_EQ(Stat().List1.Items(), std::vector<std::string>{"0Km - QX1ABC - JN71GD"});
}

TEST_F(StatisticsWindowTest, LineWithoutALocatorDoesNotInheritTheLastDistance) {
  Main().Text12.SetText(Line("001", "08.15", "QX1ABC", "JN71GD") +
                        "002   16/07/23   08.20   144Mhz   SSB   IK7ABC\r\n");
  EXPECT_EQ(Stat().List1.Items(),
            (std::vector<std::string>{"168Km - QX1ABC - JN71GD", "0Km - IK7ABC - "}));
}

TEST_F(StatisticsWindowTest, StatAgainOnlyBringsTheOpenWindowForward) {
  Main().Text12.SetText(Line("001", "08.15", "QX1ABC", "JN71GD"));
  Form7& first = Stat();
  Main().Text12.AppendText(Line("002", "08.20", "9A2ABC", "JN91GD"));
  Form7& again = Stat();
  EXPECT_EQ(&again, &first);
  EXPECT_EQ(again.List1.ListCount(), 1);

  again.Command1.Press();  // "Chiudi"
  EXPECT_EQ(program().Find<Form7>(), nullptr);
  EXPECT_EQ(Stat().List1.ListCount(), 2);
}

TEST_F(StatisticsWindowTest, ReportAppendsToTheReportWindowAndShowsIt) {
  Main().Text12.SetText(Line("001", "08.15", "QX1ABC", "JN71GD"));
  Form7& stat = Stat();
  stat.Command2.Press();
  Form8* report = program().Find<Form8>();
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(report->Visible());
  EXPECT_EQ(report->Caption(), "Keldra QRP Test - Report");
  const std::string once = report->Text1.Text();
  EXPECT_TRUE(once.starts_with("###############################################\r\n"));
  EXPECT_NE(once.find("####################16/07/2023#################\r\n"), std::string::npos);
  EXPECT_NE(once.find("\r\n\r\n168Km - QX1ABC - JN71GD\r\n\r\n\r\n####  DXCC"), std::string::npos);
  EXPECT_NE(once.find("\r\n" + stat.Text1.Text() + "\r\n\r\n\r\n" + kClosing), std::string::npos);
  EXPECT_TRUE(once.ends_with(kClosing));

  // A second press while the report window is open adds a second copy.
  stat.Command2.Press();
  EXPECT_EQ(report->Text1.Text(), once + once);

  // Closed, the report window starts again from nothing.
  report->Command2.Press();
  EXPECT_EQ(program().Find<Form8>(), nullptr);
  stat.Command2.Press();
  EXPECT_EQ(program().Get<Form8>().Text1.Text(), once);
}

TEST_F(StatisticsWindowTest, SalvaReplacesTheReportFileAndSaysWhere) {
  WriteBytes(File("keldra_qrp_statistiche.txt"), std::string(9000, 'x'));
  Form7& stat = Stat();
  stat.Command2.Press();
  stat.Command2.Press();
  Form8& report = program().Get<Form8>();
  report.Command1.Press();
  EXPECT_EQ(Report(), report.Text1.Text());
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Log salvato in " + File("keldra_qrp_statistiche.txt").string());
  EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
}

TEST_F(StatisticsWindowTest, SalvaOnAnEmptyReportDoesNothing) {
  Form8& report = program().Get<Form8>();
  report.Command1.Press();
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
  Stat().Command2.Press();
  program().Get<Form8>().Command1.Press();
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

// The statistics and report windows drawn by the real front end for a 30-QSO contest: the map
// and the sector table fit their boxes in a fixed-pitch font, and each window is saved as a
// screenshot for a person to look at.
#include <QFontInfo>
#include <QListWidget>
#include <QPlainTextEdit>

#include "QtTestSupport.h"
#include "ui/MainWindow.h"
#include "ui/ReportWindow.h"
#include "ui/StatisticsWindow.h"

namespace keldra::testing {
namespace {

// Thirty QSOs over the contest hours, around Europe.
std::string ThirtyQsos() {
  static const char* const kCalls[] = {"IK7ABC", "9A2XY",  "S51AB",  "OE3KLM", "HA5QRP", "YU1AA",
                                       "DL1ABC", "OK1DEF", "SV1GHI", "LZ2JKL", "YO3MNO", "HB9PQR",
                                       "IS0STU", "GM4VWX", "EA6YZA", "I0BCD",  "IW2EFG", "IZ8HIJ",
                                       "9A5KLM", "S57NOP", "OM3QRS", "SP9TUV", "OZ1WXY", "F6ZAB",
                                       "T70CDE", "HV0FGH", "4O3IJK", "Z35LMN", "ZA1OPQ", "TA1RST"};
  static const char* const kLocators[] = {
      "JN81GD", "JN75AA", "JN76KC", "JN78QD", "JN97KM", "KN04FS", "JO62QM", "JO70EC",
      "KM17UX", "KN22TQ", "KN34BJ", "JN47NC", "JN40OA", "IO85JW", "JM19HN", "JN61GV",
      "JN45OL", "JN70QU", "JN85KS", "JN65TX", "JN88PS", "JO90MF", "JO65DQ", "JN33JP",
      "JN63GW", "JN61FV", "JN92MA", "KN01RX", "JN91OH", "KN41LA"};
  std::string list;
  for (int i = 0; i < 30; ++i) {
    std::string serial = std::to_string(i + 1);
    serial.insert(0, 3 - serial.size(), '0');
    const int minutes = 7 * 60 + i * 11;
    std::string time = std::to_string(minutes / 60) + "." + std::to_string(minutes % 60 / 10) +
                       std::to_string(minutes % 10);
    if (time.size() < 5) {
      time.insert(0, "0");
    }
    const std::string call = kCalls[i];
    list += serial + "   16/07/23   " + time + "   144Mhz   SSB   " + call +
            std::string(12 - call.size(), ' ') + "59-" + serial + "   " + kLocators[i] + "   \r\n";
  }
  return list;
}

class StatisticsQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kLoggingStationFile);
    FrontEnd();
    program().Start();
    ContestState contest;
    contest.qso_list = ThirtyQsos();
    PutContest(program(), contest);
  }
  QPlainTextEdit* Box(const Control& c) {
    return qobject_cast<QPlainTextEdit*>(FrontEnd().WidgetOf(c));
  }
  // Every line of the box is readable without scrolling sideways or down.
  void ExpectFits(const TextBox& box, int lines) {
    QPlainTextEdit* edit = Box(box);
    ASSERT_NE(edit, nullptr) << box.Name();
    EXPECT_TRUE(QFontInfo(edit->font()).fixedPitch()) << box.Name();
    const QFontMetrics metrics(edit->font());
    const QString widest = QString::fromStdString(box.Text().substr(0, box.Text().find('\r')));
    EXPECT_LE(metrics.horizontalAdvance(widest), edit->viewport()->width()) << box.Name();
    EXPECT_LE(metrics.lineSpacing() * lines, edit->viewport()->height()) << box.Name();
  }
};

TEST_F(StatisticsQtTest, StatisticsAndReportWindows) {
  program().Get<MainWindow>().statistics_button.Press();  // "STAT"
  StatisticsWindow& stat = program().Get<StatisticsWindow>();
  Settle();
  EXPECT_EQ(FrontEnd().WindowOf(stat)->windowTitle(), "Keldra QRP Test - Statistiche");
  auto* ranking = qobject_cast<QListWidget*>(FrontEnd().WidgetOf(stat.ranking));
  ASSERT_NE(ranking, nullptr);
  EXPECT_EQ(ranking->count(), 30);
  ExpectFits(stat.square_map, 19);
  ExpectFits(stat.sectors, 12);
  Screenshot(stat, "Form7");

  stat.report_button.Press();  // "Report"
  ReportWindow& report = program().Get<ReportWindow>();
  Settle();
  EXPECT_EQ(FrontEnd().WindowOf(report)->windowTitle(), "Keldra QRP Test - Report");
  EXPECT_EQ(Box(report.report)->toPlainText().left(47), QString(47, '#'));
  Screenshot(report, "Form8");
}

}  // namespace
}  // namespace keldra::testing

// Start-up drawn by the real front end: with no station file the station window is what the
// operator sees, and typing into its real fields then "Salva" brings up the main window with the
// station frame filled; with a contest on disk the start window comes up instead. Every start-up
// window is saved as a screenshot.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/MainWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"

namespace keldra::testing {
namespace {

class StartupQtTest : public QtProgramTest {
 protected:
  bool Drawn(const Form& form) {
    QWidget* window = FrontEnd().WindowOf(form);
    return window != nullptr && window->isVisible();
  }
};

TEST_F(StartupQtTest, NoStationFileShowsTheStationWindowAndSalvaTheMainWindow) {
  FrontEnd();
  program().Start();
  Settle();
  MainWindow& main = program().Get<MainWindow>();
  StationWindow& station = program().Get<StationWindow>();
  EXPECT_FALSE(Drawn(main));
  ASSERT_TRUE(Drawn(station));
  EXPECT_EQ(FrontEnd().WindowOf(station)->windowTitle(), "Keldra qrp Test - Dati Stazione");

  auto* call = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(station.call));
  auto* locator = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(station.locator));
  ASSERT_NE(call, nullptr);
  ASSERT_NE(locator, nullptr);
  call->setFocus();
  QTest::keyClicks(call, "qx0abc");
  QTest::keyClick(call, Qt::Key_Return);
  Settle();
  QTest::keyClicks(FrontEnd().WidgetOf(station.locator), "jn81gd");
  Settle();
  EXPECT_EQ(call->text(), "QX0ABC");
  EXPECT_EQ(locator->text(), "JN81GD");
  QTest::keyClicks(FrontEnd().WidgetOf(station.iqrp_number), "003");
  Settle();
  Screenshot(station, "Form3");

  auto* salva = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(station.save_button));
  ASSERT_NE(salva, nullptr);
  QTest::mouseClick(salva, Qt::LeftButton);
  Settle();
  EXPECT_EQ(program().Find<StationWindow>(), nullptr);
  ASSERT_TRUE(Drawn(main));
  auto* own_call = qobject_cast<QLabel*>(FrontEnd().WidgetOf(main.station_call));
  ASSERT_NE(own_call, nullptr);
  EXPECT_EQ(own_call->text(), "QX0ABC");
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n");
  Screenshot(main, "Form1_station_saved");
}

TEST_F(StartupQtTest, ContestOnDiskShowsTheStartWindow) {
  WriteBytes(File("config.txt"), "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n");
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  FrontEnd();
  program().Start();
  Settle();
  StartWindow& start = program().Get<StartWindow>();
  ASSERT_TRUE(Drawn(start));
  EXPECT_FALSE(Drawn(program().Get<MainWindow>()));
  EXPECT_EQ(FrontEnd().WindowOf(start)->windowTitle(),
            "Keldra VHF qrp test - QX0ZM Sez. di Torvalle");
  Screenshot(start, "Form5");

  auto* restore = qobject_cast<QCheckBox*>(FrontEnd().WidgetOf(start.emergency_restore));
  ASSERT_NE(restore, nullptr);
  QTest::mouseClick(restore, Qt::LeftButton);
  Settle();
  EXPECT_EQ(start.emergency_restore.Value(), 1);
  RestoreWindow& confirm = program().Get<RestoreWindow>();
  ASSERT_TRUE(Drawn(confirm));
  Screenshot(confirm, "Form12");
}

TEST_F(StartupQtTest, EdiHeaderWindow) {
  WriteBytes(File("config.txt"), "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n");
  FrontEnd();
  program().Start();
  MainWindow& main = program().Get<MainWindow>();
  ContestState contest;
  contest.qso_list = "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-001   JN81GD   \r\n";
  contest.edi_records = "230716;0730;QX1ABC;1;59;001;59;001;;JN81GD;523;;;;\r\n";
  PutContest(program(), contest);
  main.create_log_button.Press();
  Settle();
  EdiHeaderWindow& header = program().Get<EdiHeaderWindow>();
  ASSERT_TRUE(Drawn(header));
  EXPECT_EQ(FrontEnd().WindowOf(header)->windowTitle(),
            "Keldra qrp Test - Compilazione Log formato EDI");
  auto* call = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(header.call));
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->text(), "QX0ABC");
  Screenshot(header, "Form2");
}

}  // namespace
}  // namespace keldra::testing

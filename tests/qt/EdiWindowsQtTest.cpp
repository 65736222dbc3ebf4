// The EDI header and save windows drawn by the real front end: the category box offers the three
// categories, the power typed in the real field reaches the writer, the real "Crea EDI" button
// opens the save window with the log, and both windows are saved as screenshots.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "data/StationConfig.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

class EdiWindowsQtTest : public QtProgramTest {};

TEST_F(EdiWindowsQtTest, HeaderWindowCreatesTheLogIntoTheSaveWindow) {
  WriteBytes(File("config.txt"), StationConfigText({"QX0ABC", "JN61FV", "045", ""}));
  FrontEnd();
  MainWindow& main = program().Get<MainWindow>();
  ContestState contest;
  contest.qsos = "1";
  contest.edi_records = "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n";
  contest.qso_list =
      "001   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003\r\n";
  PutContest(program(), contest);
  main.create_log_button.Press();
  EdiHeaderWindow& header = program().Get<EdiHeaderWindow>();
  header.operator_name.SetText("Mario Rossi");
  header.address.SetText("Via Roma 1");
  header.city.SetText(Cp1252("Città"));
  header.receiver.SetText("FT-817");
  header.transmitter.SetText("FT-817");
  header.antennas.SetText("Yagi 9 el.");
  header.comments.SetText("Bel contest\r\nGrazie");
  Settle();
  ASSERT_TRUE(header.Visible());

  auto* combo = qobject_cast<QComboBox*>(FrontEnd().WidgetOf(header.category));
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(0), "0,5 watt");
  EXPECT_EQ(combo->itemText(2), "5 watt");
  EXPECT_EQ(combo->currentText(), "0,5 watt");

  auto* power = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(header.power));
  ASSERT_NE(power, nullptr);
  power->setFocus();
  QTest::keyClicks(power, "0,5");
  Settle();
  EXPECT_EQ(header.power.Text(), "0,5");
  Screenshot(header, "Form2");

  auto* create = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(header.create_edi_button));
  ASSERT_NE(create, nullptr);
  QTest::mouseClick(create, Qt::LeftButton);
  Settle();
  EXPECT_TRUE(messages_.shown.empty());
  EdiSaveWindow* save = program().Find<EdiSaveWindow>();
  ASSERT_NE(save, nullptr);
  ASSERT_TRUE(save->Visible());
  auto* name = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(save->file_name));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), "01-QX0ABC.edi");
  auto* log = qobject_cast<QPlainTextEdit*>(FrontEnd().WidgetOf(save->log_text));
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->toPlainText().contains("SPowe=0,5\nSRXeq=FT-817"));
  EXPECT_TRUE(log->toPlainText().contains("RCity=Citt\u00e0\n"));
  Screenshot(*save, "Form4");

  QTest::mouseClick(qobject_cast<QPushButton*>(FrontEnd().WidgetOf(save->save_button)),
                    Qt::LeftButton);
  Settle();
  EXPECT_EQ(ReadBytes(File("01-QX0ABC.edi")), save->log_text.Text());
}

}  // namespace
}  // namespace keldra::testing

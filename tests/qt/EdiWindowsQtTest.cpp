// The EDI header and save windows drawn by the real front end: the category box offers the three
// categories, the power typed in the real field reaches the writer, the real "Crea EDI" button
// opens the save window with the log, and both windows are saved as screenshots.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "data/StationConfig.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form4.h"

namespace keldra::testing {
namespace {

class EdiWindowsQtTest : public QtProgramTest {};

TEST_F(EdiWindowsQtTest, HeaderWindowCreatesTheLogIntoTheSaveWindow) {
  WriteBytes(File("config.txt"), StationConfigText({"QX0ABC", "JN61FV", "045", ""}));
  FrontEnd();
  Form1& main = program().Get<Form1>();
  main.Label19.SetCaption("1");
  main.Text14.SetText("230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n");
  main.Text12.SetText(
      "001   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003\r\n");
  main.Command2.Press();
  Form2& header = program().Get<Form2>();
  header.Text1.SetText(main.Text14.Text());
  header.Text7.SetText("Mario Rossi");
  header.Text8.SetText("Via Roma 1");
  header.Text10.SetText(U8("Città"));
  header.Text16.SetText("FT-817");
  header.Text17.SetText("FT-817");
  header.Text18.SetText("Yagi 9 el.");
  header.Text22.SetText("Bel contest\r\nGrazie");
  Settle();
  ASSERT_TRUE(header.Visible());

  auto* combo = qobject_cast<QComboBox*>(FrontEnd().WidgetOf(header.Combo1));
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(0), "0,5 watt");
  EXPECT_EQ(combo->itemText(2), "5 watt");
  EXPECT_EQ(combo->currentText(), "0,5 watt");

  auto* power = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(header.Text19));
  ASSERT_NE(power, nullptr);
  power->setFocus();
  QTest::keyClicks(power, "0,5");
  Settle();
  EXPECT_EQ(header.Text19.Text(), "0,5");
  Screenshot(header, "Form2");

  auto* create = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(header.Command2));
  ASSERT_NE(create, nullptr);
  QTest::mouseClick(create, Qt::LeftButton);
  Settle();
  EXPECT_TRUE(messages_.shown.empty());
  Form4* save = program().Find<Form4>();
  ASSERT_NE(save, nullptr);
  ASSERT_TRUE(save->Visible());
  auto* name = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(save->Text2));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), "01-QX0ABC.edi");
  auto* log = qobject_cast<QPlainTextEdit*>(FrontEnd().WidgetOf(save->Text1));
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->toPlainText().contains("SPowe=0,5\nSRXeq=FT-817"));
  EXPECT_TRUE(log->toPlainText().contains("RCity=Citt\u00e0\n"));
  Screenshot(*save, "Form4");

  QTest::mouseClick(qobject_cast<QPushButton*>(FrontEnd().WidgetOf(save->Command1)),
                    Qt::LeftButton);
  Settle();
  EXPECT_EQ(ReadBytes(File("01-QX0ABC.edi")), save->Text1.Text());
}

}  // namespace
}  // namespace keldra::testing

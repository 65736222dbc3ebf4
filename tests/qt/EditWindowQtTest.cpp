// Correcting a QSO through the real widgets: "Modifica QSO" on the main window, the callsign typed
// into the search field and Enter, a new locator typed, "Modifica" clicked. Screenshot: the edit
// window with the found QSO and its recomputed distance.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "ui/Form1.h"
#include "ui/Form6.h"

namespace keldra::testing {
namespace {

class EditWindowQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"),
               "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n");
    FrontEnd();
    program().Start();
    Settle();
  }

  Form1& Main() { return program().Get<Form1>(); }

  void Log(const std::string& call, const std::string& serial, const std::string& locator,
           const std::string& club) {
    Main().Text6.SetText(call);
    Main().Text9.SetText(serial);
    Main().Text10.SetText(locator);
    Main().Text11.SetText(club);
    Main().Command1.Press();
    Settle();
  }

  QLineEdit* Edit(const Control& control) {
    return qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(control));
  }
  void Click(const Control& button) {
    auto* widget = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(button));
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
    Settle();
  }
};

TEST_F(EditWindowQtTest, FindChangeTheLocatorAndModify) {
  Log("QX1ABC", "012", "JN71QH", "I003");  // 100 km
  Log("QX2XYZ", "013", "JM79JW", "");      // 200 km
  ASSERT_TRUE(messages_.shown.empty());

  Click(Main().Command5);
  Form6* edit = program().Find<Form6>();
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(edit->Visible());
  QLineEdit* search = Edit(edit->Text1);
  ASSERT_NE(search, nullptr);
  EXPECT_FALSE(Edit(edit->Text2)->isVisible());
  search->setFocus();
  QTest::keyClicks(search, "qx1abc");
  QTest::keyClick(search, Qt::Key_Return);
  Settle();
  EXPECT_EQ(search->text(), "QX1ABC");
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(Edit(edit->Text2)->text(), "QX1ABC");
  EXPECT_EQ(Edit(edit->Text5)->text(), "JN71QH");
  EXPECT_EQ(Edit(edit->Text10)->text(), "100");
  EXPECT_FALSE(Edit(edit->Text10)->isEnabled());
  EXPECT_EQ(Edit(edit->Text9)->text(), "I003");
  EXPECT_TRUE(FrontEnd().WidgetOf(edit->Command1)->isVisible());

  QLineEdit* locator = Edit(edit->Text5);
  locator->setFocus();
  locator->selectAll();
  QTest::keyClicks(locator, "jm89au");  // 150 km
  Settle();
  EXPECT_EQ(edit->Text5.Text(), "JM89AU");
  EXPECT_EQ(Edit(edit->Text10)->text(), "150");
  EXPECT_EQ(Edit(edit->Text11)->text(), "150");
  auto* old_locator = qobject_cast<QLabel*>(FrontEnd().WidgetOf(edit->Label12));
  ASSERT_NE(old_locator, nullptr);
  EXPECT_EQ(old_locator->text(), "JN71QH");
  Screenshot(*edit, "Form6");

  Click(edit->Command1);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "I dati del QSO sono stati modificati");
  EXPECT_TRUE(Main().Text14.Text().starts_with(
      "230716;0730;QX1ABC;1;59;001;59;012;I003;JM89AU;150;;;;\r\n"))
      << Main().Text14.Text();
  EXPECT_EQ(Main().Label21.Caption(), "350");
  EXPECT_EQ(Main().Label25.Caption(), "500");
  EXPECT_EQ(search->text(), "");
  EXPECT_FALSE(Edit(edit->Text2)->isVisible());
}

}  // namespace
}  // namespace keldra::testing

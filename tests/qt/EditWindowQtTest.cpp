// Correcting a QSO through the real widgets: "Modifica QSO" on the main window, the callsign typed
// into the search field and Enter, a new locator typed, "Modifica" clicked. Screenshot: the edit
// window with the found QSO and its recomputed distance.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "ui/MainWindow.h"
#include "ui/QsoEditWindow.h"

namespace keldra::testing {
namespace {

class EditWindowQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kLoggingStationFile);
    FrontEnd();
    program().Start();
    Settle();
  }

  MainWindow& Main() { return program().Get<MainWindow>(); }

  void Log(const std::string& call, const std::string& serial, const std::string& locator,
           const std::string& club) {
    Main().call.SetText(call);
    Main().serial_received.SetText(serial);
    Main().locator.SetText(locator);
    Main().club_code.SetText(club);
    Main().ok_button.Press();
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

  Click(Main().edit_qso_button);
  QsoEditWindow* edit = program().Find<QsoEditWindow>();
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(edit->Visible());
  QLineEdit* search = Edit(edit->search_call);
  ASSERT_NE(search, nullptr);
  EXPECT_FALSE(Edit(edit->call)->isVisible());
  search->setFocus();
  QTest::keyClicks(search, "qx1abc");
  QTest::keyClick(search, Qt::Key_Return);
  Settle();
  EXPECT_EQ(search->text(), "QX1ABC");
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(Edit(edit->call)->text(), "QX1ABC");
  EXPECT_EQ(Edit(edit->locator)->text(), "JN71QH");
  EXPECT_EQ(Edit(edit->distance)->text(), "100");
  EXPECT_FALSE(Edit(edit->distance)->isEnabled());
  EXPECT_EQ(Edit(edit->club_code)->text(), "I003");
  EXPECT_TRUE(FrontEnd().WidgetOf(edit->modify_button)->isVisible());

  QLineEdit* locator = Edit(edit->locator);
  locator->setFocus();
  locator->selectAll();
  QTest::keyClicks(locator, "jm89au");  // 150 km
  Settle();
  EXPECT_EQ(edit->locator.Text(), "JM89AU");
  EXPECT_EQ(Edit(edit->distance)->text(), "150");
  EXPECT_EQ(Edit(edit->club_bonus)->text(), "150");
  auto* old_locator = qobject_cast<QLabel*>(FrontEnd().WidgetOf(edit->old_locator));
  ASSERT_NE(old_locator, nullptr);
  EXPECT_EQ(old_locator->text(), "JN71QH");
  Screenshot(*edit, "Form6");

  Click(edit->modify_button);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "I dati del QSO sono stati modificati");
  EXPECT_TRUE(Main().Log().EdiRecordsText().starts_with(
      "230716;0730;QX1ABC;1;59;001;59;012;I003;JM89AU;150;;;;\r\n"))
      << Main().Log().EdiRecordsText();
  EXPECT_EQ(Main().total_km.Caption(), "350");
  EXPECT_EQ(Main().total_points.Caption(), "500");
  EXPECT_EQ(search->text(), "");
  EXPECT_FALSE(Edit(edit->call)->isVisible());
}

}  // namespace
}  // namespace keldra::testing

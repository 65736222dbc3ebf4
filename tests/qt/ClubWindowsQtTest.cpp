// The club windows drawn by the real front end: the picture button and the lists reach their
// widgets, typing in the real "Nuovo socio" box upper-cases it, and each window is saved as a
// screenshot for a person to look at.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "ui/AdministrationWindow.h"
#include "ui/ClubAwardWindow.h"
#include "ui/ClubManagementWindow.h"

namespace keldra::testing {
namespace {

class ClubWindowsQtTest : public QtProgramTest {};

TEST_F(ClubWindowsQtTest, AwardWindow) {
  FrontEnd();
  ClubAwardWindow& award = program().Get<ClubAwardWindow>();
  award.Show();
  Settle();
  EXPECT_EQ(FrontEnd().WindowOf(award)->windowTitle(), "I-QRP Club Awars");
  Screenshot(award, "Form9");
}

TEST_F(ClubWindowsQtTest, AdministrationWindowHasAPictureButton) {
  FrontEnd();
  AdministrationWindow& admin = program().Get<AdministrationWindow>();
  admin.Show();
  Settle();
  auto* button = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(admin.club_lists_button));
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->icon().isNull());
  Screenshot(admin, "Form10");
}

TEST_F(ClubWindowsQtTest, ManagementWindowShowsTheListsAndUpperCasesTyping) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#3\r\nQX4GH#4\r\n");
  WriteBytes(File("mqc.txt"), "QX5IJ#1\r\nQX6KL#2\r\n");
  FrontEnd();
  ClubManagementWindow& form = program().Get<ClubManagementWindow>();
  form.Show();
  Settle();
  auto* add = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(form.new_member));
  ASSERT_NE(add, nullptr);
  form.new_member.SetText("");
  Settle();
  add->setFocus();
  QTest::keyClicks(add, "qx7mn");
  Settle();
  EXPECT_EQ(form.new_member.Text(), "QX7MN");
  EXPECT_EQ(add->text(), "QX7MN");
  Screenshot(form, "Form11");
}

}  // namespace
}  // namespace keldra::testing

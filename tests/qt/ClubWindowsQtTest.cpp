// The club windows drawn by the real front end: the picture button and the lists reach their
// widgets, typing in the real "Nuovo socio" box upper-cases it, and each window is saved as a
// screenshot for a person to look at.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "ui/Form10.h"
#include "ui/Form11.h"
#include "ui/Form9.h"

namespace keldra::testing {
namespace {

class ClubWindowsQtTest : public QtProgramTest {};

TEST_F(ClubWindowsQtTest, AwardWindow) {
  FrontEnd();
  Form9& award = program().Get<Form9>();
  award.Show();
  Settle();
  EXPECT_EQ(FrontEnd().WindowOf(award)->windowTitle(), "I-QRP Club Awars");
  Screenshot(award, "Form9");
}

TEST_F(ClubWindowsQtTest, AdministrationWindowHasAPictureButton) {
  FrontEnd();
  Form10& admin = program().Get<Form10>();
  admin.Show();
  Settle();
  auto* button = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(admin.Command2));
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->icon().isNull());
  Screenshot(admin, "Form10");
}

TEST_F(ClubWindowsQtTest, ManagementWindowShowsTheListsAndUpperCasesTyping) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#3\r\nQX4GH#4\r\n");
  WriteBytes(File("mqc.txt"), "QX5IJ#1\r\nQX6KL#2\r\n");
  FrontEnd();
  Form11& form = program().Get<Form11>();
  form.Show();
  Settle();
  auto* add = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(form.Text6));
  ASSERT_NE(add, nullptr);
  form.Text6.SetText("");
  Settle();
  add->setFocus();
  QTest::keyClicks(add, "qx7mn");
  Settle();
  EXPECT_EQ(form.Text6.Text(), "QX7MN");
  EXPECT_EQ(add->text(), "QX7MN");
  Screenshot(form, "Form11");
}

}  // namespace
}  // namespace keldra::testing

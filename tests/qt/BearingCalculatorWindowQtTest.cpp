// The bearing utility window drawn by the real front end: nothing in the program shows it, but
// shown it works as a window of its own. Screenshot: the window after a calculation.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "ui/BearingCalculatorWindow.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

class BearingCalculatorWindowQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = \r\n");
    FrontEnd();
    program().Start();
    Settle();
  }
  QLineEdit* Edit(const Control& control) {
    return qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(control));
  }
};

TEST_F(BearingCalculatorWindowQtTest, TypingTheSecondLocatorComputesAtTheSixthCharacter) {
  BearingCalculatorWindow& calculator = program().Get<BearingCalculatorWindow>();
  EXPECT_FALSE(calculator.Visible());
  calculator.Show();
  Settle();
  QWidget* window = FrontEnd().WindowOf(calculator);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Bearing utility 1.1 - QX0ZZA");

  QLineEdit* locator = Edit(calculator.other_locator);
  ASSERT_NE(locator, nullptr);
  locator->setFocus();
  locator->selectAll();
  QTest::keyClick(locator, Qt::Key_Delete);
  QTest::keyClicks(locator, "jn71g");
  Settle();
  EXPECT_EQ(locator->text(), "JN71G");
  EXPECT_EQ(Edit(calculator.distance)->text(), "...");
  QTest::keyClicks(locator, "d");
  Settle();
  EXPECT_EQ(locator->text(), "JN71GD");
  EXPECT_EQ(Edit(calculator.distance)->text(), " 168");
  EXPECT_EQ(Edit(calculator.bearing)->text(), " 271");
  MainWindow& main = program().Get<MainWindow>();
  // The main window's QRB and QTF are the row's being typed, not this tool's.
  EXPECT_EQ(main.distance.Caption(), "");
  EXPECT_EQ(main.bearing.Caption(), "");
  Screenshot(calculator, "Form22222");

  auto* exit = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(calculator.exit_button));
  ASSERT_NE(exit, nullptr);
  QTest::mouseClick(exit, Qt::LeftButton);
  Settle();
  EXPECT_EQ(program().Find<BearingCalculatorWindow>(), nullptr);
}

}  // namespace
}  // namespace keldra::testing

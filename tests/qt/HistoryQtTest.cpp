// The call history in the real widgets: the filled-in locator selected in the line edit, a key
// typed there replacing it, F12 moving to the next known one, the line under the row in red when
// the typed locator differs, and the known calls beside the list. Screenshots of each.
#include <QLabel>
#include <QLineEdit>

#include "QtTestSupport.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

class HistoryQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kLoggingStationFile);
    std::filesystem::create_directories(File("storico"));
    WriteBytes(File("storico") / "C_W",
               "QX1AB JN61AB 20220717\r\nQX1AB JN52CD\r\nQX1ABC JN45AA\r\nQX2QX1 JN70AA\r\n");
    FrontEnd();
    program().Start();
    Settle();
  }

  MainWindow& Main() { return program().Get<MainWindow>(); }
  QWidget* Widget(const Control& c) { return FrontEnd().WidgetOf(c); }
  QLineEdit* Edit(const Control& c) { return qobject_cast<QLineEdit*>(Widget(c)); }
  QString LabelText(const Control& c) { return qobject_cast<QLabel*>(Widget(c))->text(); }

  // Keys to whatever widget has the model's focus: "\n" is Enter.
  void Keys(const std::string& keys) {
    for (char c : keys) {
      QWidget* target = Widget(*program().Desktop().ActiveControl());
      if (c == '\n') {
        QTest::keyClick(target, Qt::Key_Return);
      } else {
        QTest::keyClicks(target, QString(QChar(c)));
      }
      Settle();
    }
  }
};

TEST_F(HistoryQtTest, TheKnownLocatorIsSelectedInTheWidgetAndReplacedByTyping) {
  MainWindow& m = Main();
  m.call.SetFocus();
  Keys("qx1");
  EXPECT_EQ(LabelText(m.known_calls), "QX1AB\nQX1ABC\nQX2QX1");
  EXPECT_TRUE(Widget(m.call)->hasFocus());
  Screenshot(m, "history_known_calls");

  Keys("ab\n\n\n007\n");
  QLineEdit* locator = Edit(m.locator);
  EXPECT_TRUE(locator->hasFocus());
  EXPECT_EQ(locator->selectedText(), "JN61AB");
  EXPECT_EQ(LabelText(m.history_line), "storico: JN61AB, 17/07/2022  (F12: JN52CD)");
  Screenshot(m, "history_locator_filled");

  QTest::keyClick(locator, Qt::Key_F12);
  Settle();
  EXPECT_EQ(locator->text(), "JN52CD");
  EXPECT_EQ(locator->selectedText(), "JN52CD");
  Screenshot(m, "history_f12");

  Keys("jn70aa");
  EXPECT_EQ(m.locator.Text(), "JN70AA");
  EXPECT_EQ(LabelText(m.history_line), "storico: JN61AB");
  EXPECT_EQ(Widget(m.history_line)->palette().color(QPalette::WindowText), QColor(200, 0, 0));
  Screenshot(m, "history_locator_differs");
}

}  // namespace
}  // namespace keldra::testing

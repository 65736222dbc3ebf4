// Logging QSOs through the real widgets with the keyboard alone: characters, Enter and Space to
// move along the row (a Space moves on and types nothing), the arrows for the mode, and Enter on
// "OK". Screenshots: the row with the distance and bearing showing, and the main window after
// three QSOs.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "QtTestSupport.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

class LoggingQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kLoggingStationFile);
    FrontEnd();
    program().Start();
    Settle();
  }

  MainWindow& Main() { return program().Get<MainWindow>(); }

  // The widget of the control that has the focus: where the operator's keys go.
  QWidget* FocusWidget() {
    Control* c = program().Desktop().ActiveControl();
    return c == nullptr ? nullptr : FrontEnd().WidgetOf(*c);
  }

  // One key at a time to the focused widget: " " is Space, "\n" is Enter.
  void Keys(const std::string& keys) {
    for (char c : keys) {
      QWidget* target = FocusWidget();
      ASSERT_NE(target, nullptr);
      if (c == '\n') {
        QTest::keyClick(target, Qt::Key_Return);
      } else if (c == ' ') {
        QTest::keyClick(target, Qt::Key_Space);
      } else {
        QTest::keyClicks(target, QString(QChar(c)));
      }
      Settle();
    }
  }

  void Arrow(Qt::Key key) {
    QTest::keyClick(FocusWidget(), key);
    Settle();
  }

  QString EditText(const Control& control) {
    auto* edit = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(control));
    return edit == nullptr ? QString("(no line edit)") : edit->text();
  }

  QString LabelText(const Control& control) {
    auto* label = qobject_cast<QLabel*>(FrontEnd().WidgetOf(control));
    return label == nullptr ? QString("(no label)") : label->text();
  }

  bool Shown(const Control& control) {
    QWidget* w = FrontEnd().WidgetOf(control);
    return w != nullptr && w->isVisible();
  }

  QString ListText(const Control& control) {
    QWidget* w = FrontEnd().WidgetOf(control);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
      return plain->toPlainText();
    }
    if (auto* rich = qobject_cast<QTextEdit*>(w)) {
      return rich->toPlainText();
    }
    return "(no text widget)";
  }
};

TEST_F(LoggingQtTest, ThreeQsosFromTheKeyboard) {
  MainWindow& f = Main();
  ASSERT_EQ(FocusWidget(), FrontEnd().WidgetOf(f.call));

  // First QSO: a Space after the callsign moves on and types nothing.
  Keys("qx1aa ");
  EXPECT_EQ(EditText(f.call), "QX1AA");
  EXPECT_EQ(FocusWidget(), FrontEnd().WidgetOf(f.rst_sent));
  EXPECT_EQ(EditText(f.rst_sent), "59");
  Keys(" \n7 jn71g");
  EXPECT_EQ(EditText(f.serial_received), "007");
  EXPECT_FALSE(Shown(f.distance_caption));
  Keys("d");
  EXPECT_EQ(EditText(f.locator), "JN71GD");
  EXPECT_TRUE(Shown(f.distance_caption));
  EXPECT_TRUE(Shown(f.bearing_caption));
  EXPECT_EQ(LabelText(f.distance), " 168");
  EXPECT_EQ(LabelText(f.bearing), " 271");
  Screenshot(f, "Form1_locator_typed");
  Keys("\n\n");
  ASSERT_EQ(FocusWidget(), FrontEnd().WidgetOf(f.ok_button));
  Keys("\n");
  EXPECT_EQ(f.total_qsos.Caption(), "1");
  EXPECT_EQ(FocusWidget(), FrontEnd().WidgetOf(f.call));
  EXPECT_EQ(EditText(f.call), "");
  EXPECT_EQ(EditText(f.qso_number), "002");

  // Second QSO in CW, with a club code typed in lower case.
  // Back to the mode field with the mouse (the row moves only forwards from the keyboard).
  QTest::mouseClick(FrontEnd().WidgetOf(f.mode), Qt::LeftButton);
  Settle();
  ASSERT_EQ(FocusWidget(), FrontEnd().WidgetOf(f.mode))
      << program().Desktop().ActiveControl()->Name();
  Arrow(Qt::Key_Down);
  EXPECT_EQ(EditText(f.mode), "CW");
  EXPECT_EQ(EditText(f.rst_received), "599");
  Keys("\nqx2bbb  \n12 jn91gd i3\n\n");
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(f.total_qsos.Caption(), "2");

  // Third QSO: the duplicate hint shows while typing a logged callsign, and "OK" refuses it.
  Keys("qx1aa");
  EXPECT_TRUE(Shown(f.duplicate_warning));
  Keys("\n\n\n1 jn80gd\n\n\n");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(f.total_qsos.Caption(), "2");
  EXPECT_EQ(FocusWidget(), FrontEnd().WidgetOf(f.call));
  // Only the callsign is corrected; the rest of the row is still there.
  f.call.SetText("");
  Keys("qx3ccc\n\n\n\n\n\n\n");
  EXPECT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(f.total_qsos.Caption(), "3");

  Settle();
  const QString list = ListText(f.qso_list);
  EXPECT_TRUE(
      list.contains("001   16/07/23   07.30   144Mhz   SSB   QX1AA       59-007   JN71GD   "))
      << list.toStdString();
  EXPECT_TRUE(
      list.contains("002   16/07/23   07.30   144Mhz   CW    QX2BBB      599-012  JN91GD   I3"))
      << list.toStdString();
  EXPECT_TRUE(
      list.contains("003   16/07/23   07.30   144Mhz   CW    QX3CCC      599-001  JN80GD   "))
      << list.toStdString();
  EXPECT_EQ(LabelText(f.total_km), "446");
  EXPECT_EQ(ReadBytes(File("parziale.db")).substr(0, 9), "QSO# 004\r");
  Screenshot(f, "Form1_three_qsos");
}

}  // namespace
}  // namespace keldra::testing

// The generic front end against real Qt widgets: typing reaches the model through its change
// handlers, the widget shows what the model decided, consumed keys move the focus, and the
// windows are drawn.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "support/KeyRulesTable.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra::testing {
namespace {

// A small window of its own: a box that upper-cases itself, and one that Enter moves to.
class CallsignForm : public Form {
 public:
  explicit CallsignForm(Screen& screen) : Form(screen, "Test", "Prova", Px(300), Px(200)) {
    Place(Call, 10, 10, 120, 24);
    Place(Next, 10, 40, 120, 24);
    Place(Log, 10, 70, 200, 100);
    Log.SetMultiLine(true);
    Call.Change = [this] {
      ++changes;
      Call.SetText(ToUpper1252(Call.Text()));
      Call.CaretToEnd();
    };
    Call.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
      if (key_code == key::kEnter) {
        handled = true;
        Next.SetFocus();
      }
    };
  }
  TextBox Call{*this, "Call"};
  TextBox Next{*this, "Next"};
  TextBox Log{*this, "Log"};
  int changes = 0;
};

class FrontEndTest : public QtProgramTest {
 protected:
  void SetUp() override {
    form_ = std::make_unique<CallsignForm>(program().Desktop());
    FrontEnd();
    form_->Show();
    QApplication::setActiveWindow(FrontEnd().WindowOf(*form_));
    Settle();
  }
  void TearDown() override { form_->Unload(); }
  QLineEdit* Edit(const Control& c) { return qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(c)); }

  std::unique_ptr<CallsignForm> form_;
};

TEST_F(FrontEndTest, TypingIntoTheWidgetRunsTheChangeHandlerAndShowsItsResult) {
  QLineEdit* edit = Edit(form_->Call);
  ASSERT_NE(edit, nullptr);
  form_->Call.SetFocus();
  Settle();
  QTest::keyClicks(edit, "qx1abc");
  Settle();
  EXPECT_EQ(form_->Call.Text(), "QX1ABC");
  EXPECT_EQ(edit->text(), "QX1ABC");
  EXPECT_EQ(edit->cursorPosition(), 6);
  EXPECT_EQ(form_->Call.SelStart(), 6);
}

TEST_F(FrontEndTest, AConsumedEnterMovesTheFocusAndTypesNothing) {
  form_->Call.SetFocus();
  Settle();
  QTest::keyClicks(Edit(form_->Call), "ab");
  QTest::keyClick(Edit(form_->Call), Qt::Key_Return);
  Settle();
  EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Next);
  EXPECT_TRUE(Edit(form_->Next)->hasFocus());
  EXPECT_EQ(form_->Call.Text(), "AB");
}

TEST_F(FrontEndTest, CodeWritingTheModelUpdatesTheWidgetAndAppendsDrawOnlyTheTail) {
  form_->Call.SetText("iw0abc");
  Settle();
  EXPECT_EQ(Edit(form_->Call)->text(), "IW0ABC");
  auto* log = qobject_cast<QPlainTextEdit*>(FrontEnd().WidgetOf(form_->Log));
  ASSERT_NE(log, nullptr);
  form_->Log.AppendText("001 citt\xE0\r\n");
  form_->Log.AppendText("002\r\n");
  Settle();
  EXPECT_EQ(log->toPlainText(), QString::fromUtf8("001 città\n002\n"));
}

TEST_F(FrontEndTest, EditingTheMultiLineWidgetKeepsCrLfInTheModel) {
  auto* log = qobject_cast<QPlainTextEdit*>(FrontEnd().WidgetOf(form_->Log));
  log->setFocus();
  QTest::keyClicks(log, "a");
  QTest::keyClick(log, Qt::Key_Return);
  QTest::keyClicks(log, "b");
  Settle();
  EXPECT_EQ(form_->Log.Text(), "a\r\nb");
}

TEST_F(FrontEndTest, TabFollowsTheWindowsOrderSkippingHiddenControls) {
  form_->Next.SetVisible(false);
  form_->Call.SetFocus();
  Settle();
  QTest::keyClick(Edit(form_->Call), Qt::Key_Tab);
  Settle();
  EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Log);
}

TEST_F(FrontEndTest, ShiftTabGoesBackToTheControlBefore) {
  form_->Log.SetFocus();
  Settle();
  auto* log = qobject_cast<QPlainTextEdit*>(FrontEnd().WidgetOf(form_->Log));
  QTest::keyClick(log, Qt::Key_Backtab, Qt::ShiftModifier);
  Settle();
  EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Next);
  QTest::keyClick(Edit(form_->Next), Qt::Key_Tab, Qt::ShiftModifier);
  Settle();
  EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Call);
}

TEST_F(FrontEndTest, ALockedBoxRefusesTypingButGetsKeyDown) {
  int keys = 0;
  form_->Next.SetLocked(true);
  form_->Next.KeyDown = [&keys](int, KeyModifiers, bool&) { ++keys; };
  form_->Next.SetFocus();
  Settle();
  QTest::keyClicks(Edit(form_->Next), "xy");
  Settle();
  EXPECT_EQ(form_->Next.Text(), "");
  EXPECT_EQ(keys, 2);
}

class MainWindowTest : public QtProgramTest {};

TEST_F(MainWindowTest, TheMainWindowIsDrawnWithItsTitleAndHiddenControlsHidden) {
  FrontEnd();
  program().Start();
  MainWindow& main = program().Get<MainWindow>();
  if (!main.Visible()) {
    main.Show();
  }
  Settle();
  QWidget* window = FrontEnd().WindowOf(main);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Keldra VHF qrp - QX0ZM Sez. di Torvalle - ver 1.11 27/8/2022");
  EXPECT_FALSE(FrontEnd().WidgetOf(main.resume_button)->isVisible());
  EXPECT_TRUE(FrontEnd().WidgetOf(main.qso_list)->isVisible());
  auto* ok = qobject_cast<QPushButton*>(FrontEnd().WidgetOf(main.ok_button));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  Screenshot(main, "Form1");
}

class QtKeyRulesTest : public QtProgramTest, public KeyPlayer {
 public:
  void Press(int key_code, KeyModifiers held) override {
    const Qt::KeyboardModifiers modifiers = (held.shift ? Qt::ShiftModifier : Qt::NoModifier) |
                                            (held.control ? Qt::ControlModifier : Qt::NoModifier);
    const int qt_key = key_code == key::kTab     ? Qt::Key_Tab
                       : key_code == key::kEnter ? Qt::Key_Return
                       : key_code == key::kSpace ? Qt::Key_Space
                                                 : key_code;  // a letter: the same code
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(qt_key), modifiers);
  }
  void Type(const std::string& text) override {
    QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(text));
  }
  void Settle() override { QtProgramTest::Settle(); }
};

TEST_F(QtKeyRulesTest, TheSharedKeyRules) {
  KeyRulesForm form(program().Desktop());
  FrontEnd();
  form.Show();
  QApplication::setActiveWindow(FrontEnd().WindowOf(form));
  PlayKeyRules(form, *this);
  form.Unload();
}

}  // namespace
}  // namespace keldra::testing

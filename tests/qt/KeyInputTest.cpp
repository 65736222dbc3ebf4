// Keys as the operator's keyboard sends them: every key's virtual code, modifiers and characters
// typed with Shift or AltGr on an Italian layout, and a paste into a multi-line box.
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include "QtTestSupport.h"
#include "qt/KeyCodes.h"
#include "qt/Widgets.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

struct KeyCase {
  const char* name;
  int qt_key;
  bool keypad;
  const char* text;  // UTF-8
  int expected;
};

TEST(KeyCodes, EveryKeyGetsItsVirtualCodeAndNeverAnotherKeys) {
  const KeyCase cases[] = {
      {"Enter", Qt::Key_Return, false, "\r", 13},
      {"KeypadEnter", Qt::Key_Enter, true, "\r", 13},
      {"Space", Qt::Key_Space, false, " ", 32},
      {"Backspace", Qt::Key_Backspace, false, "\b", 8},
      {"Tab", Qt::Key_Tab, false, "\t", 9},
      {"Escape", Qt::Key_Escape, false, "\x1b", 27},
      {"Shift", Qt::Key_Shift, false, "", 16},
      {"Control", Qt::Key_Control, false, "", 17},
      {"Alt", Qt::Key_Alt, false, "", 18},
      {"AltGr", Qt::Key_AltGr, false, "", 18},
      {"CapsLock", Qt::Key_CapsLock, false, "", 20},
      {"ScrollLock", Qt::Key_ScrollLock, false, "", 145},
      {"NumLock", Qt::Key_NumLock, false, "", 144},
      {"PageUp", Qt::Key_PageUp, false, "", 33},
      {"PageDown", Qt::Key_PageDown, false, "", 34},
      {"End", Qt::Key_End, false, "", 35},
      {"Home", Qt::Key_Home, false, "", 36},
      {"Left", Qt::Key_Left, false, "", 37},
      {"Up", Qt::Key_Up, false, "", 38},
      {"Right", Qt::Key_Right, false, "", 39},
      {"Down", Qt::Key_Down, false, "", 40},
      {"KeypadUpWithoutNumLock", Qt::Key_Up, true, "", 38},
      {"Insert", Qt::Key_Insert, false, "", 45},
      {"Delete", Qt::Key_Delete, false, "\x7f", 46},
      {"Digit0", Qt::Key_0, false, "0", 48},
      {"Digit9", Qt::Key_9, false, "9", 57},
      {"LetterA", Qt::Key_A, false, "a", 65},
      {"ShiftedLetterZ", Qt::Key_Z, false, "Z", 90},
      {"Keypad0", Qt::Key_0, true, "0", 96},
      {"Keypad9", Qt::Key_9, true, "9", 105},
      {"KeypadDecimal", Qt::Key_Period, true, ".", 110},
      {"F1", Qt::Key_F1, false, "", 112},
      {"F10", Qt::Key_F10, false, "", 121},
      {"F12", Qt::Key_F12, false, "", 123},
      // Italian layout: Shift+7, Shift+., -, Shift+, and Shift+8 / Shift+6.
      {"SlashShift7", Qt::Key_Slash, false, "/", 191},
      {"ColonShiftPeriod", Qt::Key_Colon, false, ":", 186},
      {"Period", Qt::Key_Period, false, ".", 190},
      {"Minus", Qt::Key_Minus, false, "-", 189},
      {"Semicolon", Qt::Key_Semicolon, false, ";", 186},
      {"ParenLeftIsNotDown", Qt::Key_ParenLeft, false, "(", 0},
      {"AmpersandIsNotUp", Qt::Key_Ampersand, false, "&", 0},
      {"AccentedLetter", Qt::Key_Egrave, false, "è", 0},
      {"AtSignWithAltGr", Qt::Key_At, false, "@", 0},
      {"UnknownKeyWithoutText", Qt::Key_LaunchMail, false, "", 0},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(qt::VirtualKeyCode(c.qt_key, c.keypad, QString::fromUtf8(c.text)), c.expected)
        << c.name;
  }
}

TEST(KeyCodes, ModifiersHeldAreReported) {
  const QKeyEvent shift_f1(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_EQ(qt::ModifiersOf(shift_f1), (KeyModifiers{true, false, false}));
  const QKeyEvent ctrl_v(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, "\x16");
  EXPECT_EQ(qt::VirtualKeyCode(ctrl_v), 'V');
  EXPECT_EQ(qt::ModifiersOf(ctrl_v), (KeyModifiers{false, true, false}));
}

class EntryRowKeysTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"),
               "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n");
    FrontEnd();
    program().Start();
    main_ = &program().Get<MainWindow>();
    if (!main_->Visible()) {
      main_->Show();
    }
    QApplication::setActiveWindow(FrontEnd().WindowOf(*main_));
    Settle();
  }
  QLineEdit* Edit(const Control& c) { return qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(c)); }
  // One key as the X server sends it: the key itself with the modifiers it is pressed with.
  void Press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers held, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, held, text);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, held, text);
    QApplication::sendEvent(widget, &up);
  }
  // Types a character with Shift the way a keyboard does: Shift goes down first.
  void TypeShifted(QWidget* widget, Qt::Key key, const QString& text) {
    Press(widget, Qt::Key_Shift, Qt::NoModifier, "");
    Press(widget, key, Qt::ShiftModifier, text);
  }
  MainWindow* main_ = nullptr;
};

TEST_F(EntryRowKeysTest, APortableCallTypedWithShiftOnAnItalianKeyboardStaysInItsField) {
  main_->call.SetFocus();
  Settle();
  QLineEdit* call = Edit(main_->call);
  for (const char c : std::string("IK5ABC")) {
    const auto key = static_cast<Qt::Key>(c >= 'A' ? Qt::Key_A + (c - 'A') : Qt::Key_0 + (c - '0'));
    if (c >= 'A') {
      TypeShifted(call, key, QString(QChar(c)));
    } else {
      Press(call, key, Qt::NoModifier, QString(QChar(c)));
    }
  }
  TypeShifted(call, Qt::Key_Slash, "/");
  TypeShifted(call, Qt::Key_P, "P");
  Settle();
  EXPECT_EQ(main_->call.Text(), "IK5ABC/P");
  EXPECT_EQ(program().Desktop().ActiveControl(), &main_->call);
}

TEST_F(EntryRowKeysTest, ModifiersLocksAndFunctionKeysMoveNothingInAnyEntryField) {
  TextBox* const row[] = {
      &main_->date,    &main_->time,     &main_->band,         &main_->mode,
      &main_->call,    &main_->rst_sent, &main_->rst_received, &main_->serial_received,
      &main_->locator, &main_->club_code};
  const Qt::Key keys[] = {Qt::Key_Shift,    Qt::Key_Control,    Qt::Key_Alt,     Qt::Key_AltGr,
                          Qt::Key_CapsLock, Qt::Key_ScrollLock, Qt::Key_NumLock, Qt::Key_F1,
                          Qt::Key_F5,       Qt::Key_F10,        Qt::Key_F12};
  for (TextBox* field : row) {
    field->SetFocus();
    Settle();
    const std::string mode = main_->mode.Text();
    for (const Qt::Key key : keys) {
      Press(FrontEnd().WidgetOf(*field), key, Qt::NoModifier, "");
    }
    Settle();
    EXPECT_EQ(program().Desktop().ActiveControl(), field) << field->Name();
    EXPECT_EQ(main_->mode.Text(), mode) << field->Name();
  }
}

TEST_F(EntryRowKeysTest, AColonTypedInTheTimeFieldStaysThereAndBecomesAPointOnLeaving) {
  main_->logging_mode_button.Press();  // off-line: date and time are typed
  main_->time.SetText("");
  main_->time.SetFocus();
  Settle();
  QLineEdit* time = Edit(main_->time);
  Press(time, Qt::Key_0, Qt::NoModifier, "0");
  Press(time, Qt::Key_9, Qt::NoModifier, "9");
  TypeShifted(time, Qt::Key_Colon, ":");
  Press(time, Qt::Key_2, Qt::NoModifier, "2");
  Press(time, Qt::Key_0, Qt::NoModifier, "0");
  Settle();
  EXPECT_EQ(main_->time.Text(), "09:20");
  EXPECT_EQ(program().Desktop().ActiveControl(), &main_->time);
  Press(time, Qt::Key_Return, Qt::NoModifier, "\r");
  Settle();
  EXPECT_EQ(main_->time.Text(), "09.20");
  EXPECT_EQ(program().Desktop().ActiveControl(), &main_->band);
}

TEST(PlainTextBox, APasteTakesPlainTextInTheCodePageAndNothingFromAnEmptyClipboard) {
  App();
  qt::PlainTextBox box;
  box.setPlainText("a");
  box.moveCursor(QTextCursor::End);
  EXPECT_FALSE(box.canPaste() && QApplication::clipboard()->mimeData() == nullptr);
  QApplication::clipboard()->clear();
  box.paste();
  EXPECT_EQ(box.toPlainText(), "a");
  QMimeData html;
  html.setHtml("<b>x</b>");
  QApplication::clipboard()->setMimeData(new QMimeData);
  box.paste();
  EXPECT_EQ(box.toPlainText(), "a");
  QApplication::clipboard()->setText(QString::fromUtf8("Città\r\nα"));
  box.paste();
  EXPECT_EQ(box.toPlainText(), QString::fromUtf8("aCittà\n?"));
}

}  // namespace
}  // namespace keldra::testing

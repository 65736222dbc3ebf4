#include "qt/KeyCodes.h"

#include "system/CodePage.h"
#include "widgets/TextBox.h"

namespace keldra::qt {
namespace {

int KeypadCode(int qt_key) {
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
    return key::kNumpad0 + (qt_key - Qt::Key_0);
  }
  switch (qt_key) {
    case Qt::Key_Asterisk:
      return key::kNumpadMultiply;
    case Qt::Key_Plus:
      return key::kNumpadAdd;
    case Qt::Key_Minus:
      return key::kNumpadSubtract;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return key::kNumpadDecimal;
    case Qt::Key_Slash:
      return key::kNumpadDivide;
    default:
      return key::kNone;  // Enter and, without Num Lock, the arrows: as the main keys.
  }
}

int NamedKeyCode(int qt_key) {
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12) {
    return key::kF1 + (qt_key - Qt::Key_F1);
  }
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) {
    return 'A' + (qt_key - Qt::Key_A);
  }
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
    return '0' + (qt_key - Qt::Key_0);
  }
  switch (qt_key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return key::kEnter;
    case Qt::Key_Space:
      return key::kSpace;
    case Qt::Key_Backspace:
      return key::kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return key::kTab;
    case Qt::Key_Escape:
      return key::kEscape;
    case Qt::Key_Shift:
      return key::kShift;
    case Qt::Key_Control:
      return key::kControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return key::kAlt;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
      return key::kMeta;
    case Qt::Key_Menu:
      return key::kMenu;
    case Qt::Key_CapsLock:
      return key::kCapsLock;
    case Qt::Key_NumLock:
      return key::kNumLock;
    case Qt::Key_ScrollLock:
      return key::kScrollLock;
    case Qt::Key_Pause:
      return key::kPause;
    case Qt::Key_Print:
      return key::kPrintScreen;
    case Qt::Key_PageUp:
      return key::kPageUp;
    case Qt::Key_PageDown:
      return key::kPageDown;
    case Qt::Key_End:
      return key::kEnd;
    case Qt::Key_Home:
      return key::kHome;
    case Qt::Key_Left:
      return key::kLeft;
    case Qt::Key_Up:
      return key::kUp;
    case Qt::Key_Right:
      return key::kRight;
    case Qt::Key_Down:
      return key::kDown;
    case Qt::Key_Insert:
      return key::kInsert;
    case Qt::Key_Delete:
      return key::kDelete;
    default:
      return key::kNone;
  }
}

}  // namespace

int VirtualKeyCode(int qt_key, bool keypad, const QString& text) {
  if (keypad) {
    if (const int code = KeypadCode(qt_key); code != key::kNone) {
      return code;
    }
  }
  if (const int code = NamedKeyCode(qt_key); code != key::kNone) {
    return code;
  }
  // Punctuation goes by the character typed; a character with no key code of its own (an accented
  // letter, '&', '(') gets none rather than the code of another key.
  const std::string typed = Utf8ToCp1252(text.toStdString());
  return typed.size() == 1 ? KeyCodeOf(typed[0]) : key::kNone;
}

int VirtualKeyCode(const QKeyEvent& event) {
  return VirtualKeyCode(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0, event.text());
}

KeyModifiers ModifiersOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  return {(held & Qt::ShiftModifier) != 0, (held & Qt::ControlModifier) != 0,
          (held & Qt::AltModifier) != 0};
}

}  // namespace keldra::qt

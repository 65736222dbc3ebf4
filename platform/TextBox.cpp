#include "platform/TextBox.h"

#include <algorithm>

namespace keldra {

TextBox::TextBox(Form& form, std::string name, std::string text)
    : Control(form, std::move(name), ControlKind::kTextBox), text_(std::move(text)) {}

void TextBox::SetText(std::string text) {
  if (text == text_) {
    return;
  }
  text_ = std::move(text);
  sel_start_ = std::min(sel_start_, static_cast<int>(text_.size()));
  Notify(Property::kText);
  if (Change) {
    Change();
  }
}

void TextBox::AppendText(std::string_view tail) {
  if (tail.empty()) {
    return;
  }
  text_.append(tail);
  Notify(Property::kTextAppended);
  if (Change) {
    Change();
  }
}

void TextBox::SetSelStart(int position) {
  position = std::clamp(position, 0, static_cast<int>(text_.size()));
  if (position == sel_start_) {
    return;
  }
  sel_start_ = position;
  Notify(Property::kCaret);
}

void TextBox::SetLocked(bool locked) {
  if (locked_ == locked) {
    return;
  }
  locked_ = locked;
  Notify(Property::kLocked);
}

bool TextBox::PressKey(int key_code, KeyModifiers modifiers) {
  bool handled = false;
  if (KeyDown) {
    KeyDown(key_code, modifiers, handled);
  }
  return handled;
}

void TextBox::Type(std::string_view characters) {
  for (char c : characters) {
    if (PressKey(KeyCodeOf(c)) || locked_) {
      continue;
    }
    // Typing Enter into a single-line box inserts nothing.
    if ((c == '\r' || c == '\n') && !multi_line_) {
      continue;
    }
    std::string edited = text_;
    const int caret = std::clamp(sel_start_, 0, static_cast<int>(edited.size()));
    edited.insert(static_cast<std::size_t>(caret), 1, c);
    UserEdit(std::move(edited), caret + 1);
  }
}

void TextBox::Backspace() {
  if (PressKey(key::kBackspace) || locked_ || sel_start_ == 0) {
    return;
  }
  std::string edited = text_;
  edited.erase(static_cast<std::size_t>(sel_start_ - 1), 1);
  UserEdit(std::move(edited), sel_start_ - 1);
}

void TextBox::UserEdit(std::string text, int caret) {
  // The caret is where the operator left it, unless a change handler moves it.
  sel_start_ = std::clamp(caret, 0, static_cast<int>(text.size()));
  if (text == text_) {
    Notify(Property::kCaret);
    return;
  }
  SetText(std::move(text));
}

int KeyCodeOf(char character) {
  const auto c = static_cast<unsigned char>(character);
  if (c >= 'a' && c <= 'z') {
    return c - 'a' + 'A';
  }
  if (c == '\n' || c == '\r') {
    return key::kEnter;
  }
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') {
    return c;
  }
  switch (c) {
    case ';':
    case ':':
      return 186;
    case '=':
    case '+':
      return 187;
    case ',':
      return 188;
    case '-':
      return 189;
    case '.':
      return 190;
    case '/':
      return 191;
    default:
      return key::kNone;
  }
}

}  // namespace keldra

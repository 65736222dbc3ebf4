#include "widgets/TextBox.h"

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
  sel_length_ = 0;
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

void TextBox::SetSelStart(int position) { Select(position, 0); }

void TextBox::SetSelLength(int length) { Select(sel_start_, length); }

void TextBox::Select(int start, int length) {
  const int size = static_cast<int>(text_.size());
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  if (start == sel_start_ && length == sel_length_) {
    return;
  }
  sel_start_ = start;
  sel_length_ = length;
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
    // A typed character replaces the selection.
    std::string edited = text_;
    const auto caret = static_cast<std::size_t>(sel_start_);
    edited.replace(caret, static_cast<std::size_t>(sel_length_), 1, c);
    UserEdit(std::move(edited), sel_start_ + 1);
  }
}

void TextBox::Backspace() {
  if (PressKey(key::kBackspace) || locked_) {
    return;
  }
  if (sel_length_ > 0) {
    std::string edited = text_;
    edited.erase(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_));
    UserEdit(std::move(edited), sel_start_);
    return;
  }
  if (sel_start_ == 0) {
    return;
  }
  std::string edited = text_;
  edited.erase(static_cast<std::size_t>(sel_start_ - 1), 1);
  UserEdit(std::move(edited), sel_start_ - 1);
}

void TextBox::UserEdit(std::string text, int caret) {
  // The caret is where the operator left it, unless a change handler moves it.
  sel_start_ = std::clamp(caret, 0, static_cast<int>(text.size()));
  sel_length_ = 0;
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

// A text box: single- or multi-line, lockable, with a caret and the events Change, GotFocus,
// LostFocus and KeyDown. SetText runs Change at once, before it returns, and only when the text
// really differs; a handler that rewrites its own text re-enters itself, which is intended.
// Texts are Windows-1252 bytes, one byte per character.
#pragma once

#include <functional>
#include <string>

#include "widgets/Control.h"

namespace keldra {

class TextBox : public Control {
 public:
  TextBox(Form& form, std::string name, std::string text = {});

  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  // Appends at the end without copying the whole text: the way long lists grow.
  void AppendText(std::string_view tail);

  // Caret position (0 = before the first character); clamped to the text. Moving the caret
  // drops the selection.
  int SelStart() const { return sel_start_; }
  void SetSelStart(int position);
  void CaretToEnd() { SetSelStart(static_cast<int>(text_.size())); }
  // The selected characters from SelStart on (0: none); clamped to the text. A new text drops the
  // selection; typing replaces it and Backspace deletes it.
  int SelLength() const { return sel_length_; }
  void SetSelLength(int length);
  // Caret and selection at once, as the widget reports them.
  void Select(int start, int length);
  void SelectAll() { Select(0, static_cast<int>(text_.size())); }
  std::string SelectedText() const { return text_.substr(sel_start_, sel_length_); }

  bool Locked() const { return locked_; }
  void SetLocked(bool locked);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool multi_line) { multi_line_ = multi_line; }
  // A multi-line box that wraps long lines at its width instead of scrolling sideways.
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool wrap) { word_wrap_ = wrap; }
  // A single-line box whose characters are shown as dots (a password); set before it is drawn.
  bool Password() const { return password_; }
  void SetPassword(bool password) { password_ = password; }
  Alignment Align() const { return alignment_; }
  void SetAlign(Alignment alignment) { alignment_ = alignment; }

  bool CanFocus() const override { return true; }

  std::function<void()> Change;
  // key code, modifiers held, handled: a handler that sets handled consumes the key (it is not
  // typed).
  std::function<void(int, KeyModifiers, bool&)> KeyDown;

  // --- Operator simulation, used by tests and by the front end. ---
  // Runs KeyDown; returns whether a handler consumed the key.
  bool PressKey(int key_code, KeyModifiers modifiers = {});
  // Types each character as the operator would: KeyDown first, then, unless consumed or locked,
  // the character inserted at the caret through SetText.
  void Type(std::string_view characters);
  // Deletes the character before the caret, unless locked.
  void Backspace();
  // An edit the front end's widget already made (selection, paste, undo): the new text and caret.
  void UserEdit(std::string text, int caret);

 private:
  std::string text_;
  int sel_start_ = 0;
  int sel_length_ = 0;
  bool locked_ = false;
  bool multi_line_ = false;
  bool word_wrap_ = false;
  bool password_ = false;
  Alignment alignment_ = Alignment::kLeft;
};

// The key code the window system reports for a typed character: letters as upper case, digits,
// Space, Enter and the punctuation of a callsign, date or time on their keys' codes; anything else
// kNone, so that no character ever reaches a handler as Enter, Space or an arrow.
int KeyCodeOf(char character);

}  // namespace keldra

// A locked multi-line box that is a list of lines (the QSO list, the previews of the files, the
// statistics) is drawn as a list box of those lines: Windows' EDIT control lays its whole text
// out again for every change, which on a contest of 20,000 QSOs costs far more than a keystroke
// may, while a list box adds a line and paints only the lines in sight. The operator selects
// whole lines with the mouse and the keyboard and copies them with Ctrl+C.
#pragma once

#include <string_view>

#include "win32/Win32Api.h"

namespace keldra::win32 {

// Each of these ends with the line holding character `caret` in sight (scrolled the least
// needed), and the list drawn once.
// The lines of `text` ("\r\n" ends each; a last line without one is shown as well), in place of
// what the list showed.
void SetLines(HWND list, std::string_view text, std::size_t caret);
// `text` grew from its first `shown` characters: only the new lines go in (the last one shown
// again when it had no line end yet).
void AppendLines(HWND list, std::string_view text, std::size_t shown, std::size_t caret);
void ShowLineOf(HWND list, std::string_view text, std::size_t caret);
// Ctrl+C: the selected lines to the clipboard; Ctrl+A: every line selected. False for other keys.
bool LineViewKey(HWND list, WPARAM key);

}  // namespace keldra::win32

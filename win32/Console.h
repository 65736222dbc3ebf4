// What the command line asked for (--help, --version, --adif) reaches a Windows user who has no
// console of the program's own: keldra.exe is a window program, so Windows gives it none. The text
// goes, in this order, to where the caller redirected the output (a file or a pipe), to the
// console of the command prompt that started the program (its text then appears after the prompt,
// since cmd does not wait for a window program; `start /wait keldra.exe ...` waits), or else into
// a message box.
#pragma once

#include <string>

namespace keldra::win32 {

enum class OutputKind { kInformation, kError };

// Writes `text` (UTF-8) to the standard output (kInformation) or error (kError) as above; the
// message box carries the icon of its kind.
void ReportToUser(const std::string& text, OutputKind kind);

// A critical message box before any window exists (UTF-8).
void ShowStartupError(const std::string& text);

}  // namespace keldra::win32

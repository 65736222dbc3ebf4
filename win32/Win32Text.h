// Texts at the boundary between the model and Windows: the model holds Windows-1252 bytes, the
// wide Windows API takes UTF-16. Each byte of the code page is one UTF-16 unit, so caret and
// selection positions are the same numbers on both sides (CR LF included).
#pragma once

#include <string>
#include <string_view>

namespace keldra::win32 {

std::wstring Widen(std::string_view cp1252);
// A character outside the code page becomes "?", never a look-alike letter.
std::string Narrow(std::wstring_view utf16);

// A caption for a button or frame: "&" is shown as itself, not as a mnemonic mark.
std::wstring CaptionText(std::string_view cp1252);

}  // namespace keldra::win32

// The Windows-1252 code page: every text in the program is one byte per character in it. The
// only conversions are at the front end's boundary (to and from Unicode as UTF-8) and for
// interface texts written in UTF-8 in the source.
#pragma once

#include <string>
#include <string_view>

namespace keldra {

// Windows-1252 bytes to UTF-8. The five undefined bytes map to their C1 control code points.
std::string Cp1252ToUtf8(std::string_view text);
// UTF-8 to Windows-1252; a character outside the code page (or a broken sequence) becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

// Upper case in the code page, accented letters included ("città" gives "CITTÀ"); other bytes
// such as "°" and "ß" stay as they are.
char ToUpper1252(char c);
std::string ToUpper1252(std::string_view text);

}  // namespace keldra

namespace keldra {
// An interface text written in UTF-8 in the source, as the windows hold it (Windows-1252).
inline std::string Cp1252(std::string_view utf8) { return Utf8ToCp1252(utf8); }
}  // namespace keldra

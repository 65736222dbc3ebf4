// The small text and number helpers every window and format uses. Numbers travel between the
// windows as control texts: read back with LeadingNumber, written with PlainDecimal. Character
// positions are 1-based where the formats count that way (Mid), and every helper is safe for a
// position or length beyond the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/DateTime.h"

namespace keldra {

// The number at the start of the text after leading blanks, "." as decimal point; 0 when the
// text does not begin with a number ("523", " 523" give 523; "0,5" gives 0; "abc" gives 0).
double LeadingNumber(std::string_view text);

// The shortest decimal text of a number: no leading blank, no leading zeros, no separators,
// "-" only when negative (37, 0.5, -12).
std::string PlainDecimal(double value);
std::string PlainDecimal(long long value);

// Rounds to a whole number, exact halves to the even neighbour (12.5 gives 12, 13.5 gives 14).
double RoundHalfEven(double value);

// Blanks removed from both ends (the program trims spaces only).
std::string Trim(std::string_view text);

// 1-based substring: up to `length` characters from position `start`; empty past the end.
std::string Mid(std::string_view text, std::size_t start, std::size_t length = std::string::npos);
std::string Left(std::string_view text, std::size_t length);
std::string Right(std::string_view text, std::size_t length);

// The pieces of a text between `separator`s, empty ones included: "a;;b" gives a, "", b.
std::vector<std::string_view> SplitAt(std::string_view text, char separator);

// The whole text as a decimal whole number in [low, high]; none for an empty text, blanks,
// other characters or a number outside ("12" gives 12; "12 ", "1e3", "" give none).
std::optional<int> WholeNumber(std::string_view text, int low, int high);

bool IsDigit(char c);
// True for a non-empty text of decimal digits only.
bool IsAllDigits(std::string_view text);
// A six-character Maidenhead locator: field letters A-R, square digits, subsquare letters A-X.
bool IsSixCharacterLocator(std::string_view text);

// "0" characters in front up to `width` characters ("7" gives "007" for width 3).
std::string ZeroFill(std::string_view text, std::size_t width);

// "dd/mm/yy", "dd/mm/yyyy" and "hh.mm" (the program's time separator is ".").
std::string FormatDateShort(const DateTime& t);
std::string FormatDateLong(const DateTime& t);
std::string FormatTime(const DateTime& t);

}  // namespace keldra

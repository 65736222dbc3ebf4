#include "core/EntryDate.h"

#include <vector>

#include "core/Text.h"

namespace keldra {

namespace {

// The field's rules by character positions, each on the result of the one before. Besides the
// digit-only shortcuts they pad a one-digit day or month, which takes a mistyped "/" date such
// as 16/7/202 past eight characters, where the commit refuses it instead of logging it.
std::string CharacterRules(std::string_view typed) {
  std::string text(typed);
  if (Mid(text, 5, 1) == "/") {
    text.insert(3, "0");
  }
  if (Mid(text, 4, 1) == "/") {
    text.insert(2, "0");
  }
  if (Mid(text, 2, 1) == "/") {
    text.insert(0, "0");
  }
  if (text.size() == 10) {
    text = Mid(text, 1, 6) + Mid(text, 9, 2);
  }
  if (IsAllDigits(text)) {
    switch (text.size()) {
      case 4:  // dmyy
        return "0" + Mid(text, 1, 1) + "/0" + Mid(text, 2, 1) + "/" + Mid(text, 3, 2);
      case 6:  // ddmmyy
        return Mid(text, 1, 2) + "/" + Mid(text, 3, 2) + "/" + Mid(text, 5, 2);
      case 8:  // ddmmyyyy
        return Mid(text, 1, 2) + "/" + Mid(text, 3, 2) + "/" + Mid(text, 7, 2);
      default:
        break;
    }
  }
  return text;
}

}  // namespace

std::string NormalizeTypedDate(std::string_view text) {
  const std::vector<std::string_view> parts = SplitAt(text, '/');
  if (parts.size() == 3) {
    const std::string_view day = parts[0];
    const std::string_view month = parts[1];
    const std::string_view year = parts[2];
    if (IsAllDigits(day) && day.size() <= 2 && IsAllDigits(month) && month.size() <= 2 &&
        IsAllDigits(year) && (year.size() == 2 || year.size() == 4)) {
      return ZeroFill(day, 2) + "/" + ZeroFill(month, 2) + "/" + Right(year, 2);
    }
  }
  return CharacterRules(text);
}

}  // namespace keldra

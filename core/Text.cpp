#include "core/Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace keldra {

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
    ++i;
  }
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    ++i;
  }
  const std::size_t digits_start = i;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
  }
  bool any_digit = i > digits_start;
  if (i < text.size() && text[i] == '.') {
    const std::size_t after_point = ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
    }
    any_digit = any_digit || i > after_point;
  }
  if (!any_digit) {
    return 0;
  }
  std::string number(text.substr(start, i - start));
  if (number.front() == '+') {
    number.erase(0, 1);
  }
  if (number.back() == '.') {
    number.pop_back();
  }
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc()) {
    return 0;
  }
  return value;
}

std::string PlainDecimal(double value) {
  if (value == 0) {
    return "0";  // also for -0
  }
  if (std::nearbyint(value) == value && std::fabs(value) < 1e15) {
    return PlainDecimal(static_cast<long long>(value));
  }
  // Fixed notation spells out every digit: over 300 of them for the largest and the smallest
  // doubles, so the buffer is sized for those, not for the usual few.
  char buffer[512];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc()) {
    return "0";
  }
  return std::string(buffer, result.ptr);
}

std::string PlainDecimal(long long value) { return std::to_string(value); }

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) {
    return floor;
  }
  if (diff > 0.5) {
    return floor + 1;
  }
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string Mid(std::string_view text, std::size_t start, std::size_t length) {
  if (start == 0 || start > text.size()) {
    return {};
  }
  return std::string(text.substr(start - 1, length));
}

std::string Left(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, length));
}

std::string Right(std::string_view text, std::size_t length) {
  return length >= text.size() ? std::string(text) : std::string(text.substr(text.size() - length));
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos;
       start = at + 1) {
    pieces.push_back(text.substr(start, at - start));
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::optional<int> WholeNumber(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    return std::nullopt;
  }
  return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSixCharacterLocator(std::string_view text) {
  auto in = [](char c, char first, char last) { return c >= first && c <= last; };
  return text.size() == 6 && in(text[0], 'A', 'R') && in(text[1], 'A', 'R') && IsDigit(text[2]) &&
         IsDigit(text[3]) && in(text[4], 'A', 'X') && in(text[5], 'A', 'X');
}

bool IsAllDigits(std::string_view text) {
  if (text.empty()) {
    return false;
  }
  for (char c : text) {
    if (!IsDigit(c)) {
      return false;
    }
  }
  return true;
}

std::string ZeroFill(std::string_view text, std::size_t width) {
  if (text.size() >= width) {
    return std::string(text);
  }
  return std::string(width - text.size(), '0') + std::string(text);
}

std::string FormatDateShort(const DateTime& t) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d", t.day % 100, t.month % 100, t.year % 100);
  return buffer;
}

std::string FormatDateLong(const DateTime& t) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", t.day % 100, t.month % 100,
                t.year % 10000);
  return buffer;
}

std::string FormatTime(const DateTime& t) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d", t.hour % 100, t.minute % 100);
  return buffer;
}

}  // namespace keldra

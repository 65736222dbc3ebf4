// The country of a callsign, from a fixed, ordered table of prefix rules covering Europe and the
// Mediterranean. The statistics window lists the countries worked with it. Every rule whose test
// holds sets the result, so a later rule overrides an earlier one (Sardinia over Italy, Scotland
// over England); a callsign that matches no rule has no country. Comparisons are exact and
// case-sensitive, and a callsign too short for a rule's test never matches that rule.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace keldra {

// One rule of the table. Every test that is set must hold; an unset test holds always.
struct PrefixRule {
  // The callsign begins with one of these texts, separated by "|" (each compared over its own
  // length).
  std::string_view starts;
  // The first character is `first` and the second lies in `second_from`..`second_to`.
  char first = 0;
  char second_from = 0;
  char second_to = 0;
  // The third character is a digit among these.
  std::string_view third_digits;
  // The last two characters of the callsign.
  std::string_view suffix;
  // The callsign must not begin with any of these, separated by "|".
  std::string_view except;
  std::string_view country;
};

// The table in its order of application.
std::span<const PrefixRule> PrefixTable();

// Whether one rule's test holds for the callsign.
bool Matches(const PrefixRule& rule, std::string_view callsign);

// The country of the last rule that matches, or none.
std::optional<std::string> CountryOf(std::string_view callsign);

}  // namespace keldra

#include "export/Prefixes.h"

#include <array>

namespace keldra {
namespace {

constexpr std::string_view kAnyDigit = "0123456789";

// Shorthands that keep each row of the table on one line.
constexpr PrefixRule Starts(std::string_view starts, std::string_view country) {
  PrefixRule rule;
  rule.starts = starts;
  rule.country = country;
  return rule;
}
constexpr PrefixRule Range(char first, char from, char to, std::string_view country) {
  PrefixRule rule;
  rule.first = first;
  rule.second_from = from;
  rule.second_to = to;
  rule.country = country;
  return rule;
}
constexpr PrefixRule RangeDigit(char first, char from, char to, std::string_view digits,
                                std::string_view country) {
  PrefixRule rule = Range(first, from, to, country);
  rule.third_digits = digits;
  return rule;
}
constexpr PrefixRule WithSuffix(PrefixRule rule, std::string_view suffix) {
  rule.suffix = suffix;
  return rule;
}
constexpr PrefixRule Except(PrefixRule rule, std::string_view except) {
  rule.except = except;
  return rule;
}

constexpr std::array kTable = {
    Starts("3A", "Monaco"),
    Starts("4X|4Z", "Israel"),
    Starts("5A", "Lybia"),
    Starts("5B|C4|P3", "Cyprus"),
    Range('7', 'T', 'Y', "Algeria"),
    Starts("4O", "Montenegro"),
    Starts("7S|8S", "Sweden"),
    Starts("9H", "Malta"),
    Starts("9A", "Croatia"),
    Starts("CT", "Portugal"),
    Starts("E7", "Bosnia-Herzegovina"),
    RangeDigit('E', 'A', 'H', kAnyDigit, "Spain"),
    RangeDigit('E', 'A', 'H', "6", "Balearic Is."),
    RangeDigit('E', 'A', 'H', "8", "Canary Is."),
    RangeDigit('E', 'A', 'H', "9", "Ceuta & Melilla"),
    Starts("EI|EJ", "Ireland"),
    Starts("ES", "Estonia"),
    Range('E', 'U', 'W', "Belarus"),
    Range('F', '0', '9', "France"),
    Starts("G|GX|M", "England"),
    Starts("GI|GN", "Northen Ireland"),
    Starts("GM|GS", "Scotland"),
    Starts("GW|GC", "Wales"),
    Starts("HA|HG", "Hungary"),
    Starts("HB", "Switzerland"),
    Starts("HV", "Vatican"),
    Starts("I", "Italy"),
    Starts("IS0|IM0", "Sardinia"),
    Starts("JY", "Jordan"),
    Range('L', 'A', 'N', "Norway"),
    Starts("J4", "Greece"),
    Starts("LX", "Luxembourg"),
    Starts("LY", "Lithuania"),
    Starts("LZ", "Bulgaria"),
    Range('O', 'F', 'I', "Finland"),
    Range('O', 'K', 'L', "Czech Republic"),
    Starts("OD", "Lebanon"),
    Starts("OE", "Austria"),
    Starts("OM", "Slovak Republic"),
    Range('O', 'N', 'T', "Belgium"),
    Range('P', 'A', 'I', "Netherlands"),
    Starts("S5", "Slovenia"),
    Range('S', 'N', 'R', "Poland"),
    Range('S', 'A', 'M', "Sweden"),
    Range('O', 'U', 'W', "Denmark"),
    Starts("OZ", "Denmark"),
    Range('S', 'V', 'Z', "Greece"),
    WithSuffix(Starts("SV", "Mount Athos"), "/A"),
    Starts("SV5|J45", "Dodecanese"),
    Starts("SV9|J49", "Crete"),
    Range('T', 'A', 'C', "Turkey"),
    Starts("T7", "San Marino"),
    Starts("TK", "Corsica"),
    RangeDigit('U', 'A', 'I', "1234567", "European Russia"),
    RangeDigit('R', 'A', 'Z', "1234567", "European Russia"),
    RangeDigit('U', 'A', 'I', "890", "Asiatic Russia"),
    RangeDigit('R', 'A', 'Z', "890", "Asiatic Russia"),
    Starts("UA2|RA2", "Kaliningrad"),
    Starts("YT|YU", "Serbia"),
    Starts("ZA", "Albania"),
    Starts("Z3", "Macedonia"),
    Starts("Z6", "Republic of Kosovo"),
    RangeDigit('Y', 'O', 'R', kAnyDigit, "Romania"),
    RangeDigit('U', 'R', 'Z', kAnyDigit, "Ukraine"),
    Except(RangeDigit('E', 'M', 'Y', kAnyDigit, "Ukraine"), "ES|EU|EV|EW"),
    RangeDigit('D', 'A', 'R', kAnyDigit, "Germany"),
};

// Whether the callsign begins with one of the "|"-separated alternatives.
bool BeginsWithAny(std::string_view callsign, std::string_view alternatives) {
  while (true) {
    const std::size_t bar = alternatives.find('|');
    if (callsign.starts_with(alternatives.substr(0, bar))) {
      return true;
    }
    if (bar == std::string_view::npos) {
      return false;
    }
    alternatives.remove_prefix(bar + 1);
  }
}

}  // namespace

std::span<const PrefixRule> PrefixTable() { return kTable; }

bool Matches(const PrefixRule& rule, std::string_view callsign) {
  if (!rule.starts.empty() && !BeginsWithAny(callsign, rule.starts)) {
    return false;
  }
  if (rule.first != 0) {
    if (callsign.size() < 2 || callsign[0] != rule.first) {
      return false;
    }
    if (callsign[1] < rule.second_from || callsign[1] > rule.second_to) {
      return false;
    }
  }
  if (!rule.third_digits.empty() &&
      (callsign.size() < 3 || rule.third_digits.find(callsign[2]) == std::string_view::npos)) {
    return false;
  }
  if (!rule.suffix.empty() && !callsign.ends_with(rule.suffix)) {
    return false;
  }
  if (!rule.except.empty() && BeginsWithAny(callsign, rule.except)) {
    return false;
  }
  return true;
}

std::optional<std::string> CountryOf(std::string_view callsign) {
  std::optional<std::string> country;
  for (const PrefixRule& rule : kTable) {
    if (Matches(rule, callsign)) {
      country = std::string(rule.country);
    }
  }
  return country;
}

}  // namespace keldra

// What every history reader promises over any bytes, checked by the fuzz target of each: no crash
// or hang; only good calls and locators; never more entries and skipped lines than lines; and the
// index built from the entries finds each of them, with matches that really hold the text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/Text.h"
#include "data/CallHistory.h"
#include "data/HistoryFiles.h"

namespace keldra::fuzz {

inline int CheckHistoryReader(HistoryFormat format, const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const HistoryRead read = ReadHistory(format, bytes);
  const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  if (read.entries.size() + read.skipped > lines) {
    __builtin_trap();
  }
  CallHistory::Builder builder;
  for (const HistoryEntry& e : read.entries) {
    if (!IsHistoryCall(e.call) || !IsSixCharacterLocator(e.locator)) {
      __builtin_trap();
    }
    if (!builder.Add(e.call, e.locator, e.date)) {
      __builtin_trap();
    }
  }
  const CallHistory history = std::move(builder).Build();
  for (const HistoryEntry& e : read.entries) {
    const auto known = history.Locators(e.call);
    const bool found = std::any_of(known.begin(), known.end(), [&](const KnownLocator& k) {
      return k.locator == e.locator && k.date >= e.date;
    });
    if (!found) {
      __builtin_trap();
    }
    for (std::size_t i = 1; i < known.size(); ++i) {
      if (known[i - 1].date < known[i].date) {
        __builtin_trap();  // newest first
      }
    }
  }
  // The typed text: the first few bytes of the input.
  const std::string_view typed = bytes.substr(0, std::min<std::size_t>(size, 4));
  const auto matches = history.Matching(typed, 10);
  if (matches.size() > 10) {
    __builtin_trap();
  }
  for (const auto& call : matches) {
    if (call.find(typed) == std::string::npos) {
      __builtin_trap();
    }
  }
  return 0;
}

}  // namespace keldra::fuzz

// The line under a locator field that tells what the call history knows of the call: the known
// locator and its date, the next one F12 moves to, and, in red, the known one when the typed
// locator is none of them. It informs only; nothing typed is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/CallHistory.h"
#include "widgets/Control.h"

namespace keldra {

inline constexpr int kSwapKnownLocatorKey = key::kF1 + 11;  // F12
inline constexpr Color kHistoryDiffers{200, 0, 0};

struct HistoryHint {
  std::string text;  // empty when nothing is known
  bool differs = false;
};

// For the typed locator: the known one it is (or begins), with its date and the next known;
// nothing typed yet is the newest; anything else differs and shows the newest.
HistoryHint DescribeHistory(const std::vector<KnownLocator>& known, std::string_view typed);

// The known locator F12 puts in: the one after the typed (round to the newest), or the newest
// when the typed is none of them; nothing when nothing is known.
std::optional<std::string> NextKnownLocator(const std::vector<KnownLocator>& known,
                                            std::string_view typed);

}  // namespace keldra

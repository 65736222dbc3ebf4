#include "ui/HistoryHint.h"

#include <algorithm>

namespace keldra {
namespace {

std::size_t IndexOf(const std::vector<KnownLocator>& known, std::string_view typed) {
  const auto it = std::find_if(known.begin(), known.end(),
                               [&](const KnownLocator& k) { return k.locator == typed; });
  return static_cast<std::size_t>(it - known.begin());
}

}  // namespace

HistoryHint DescribeHistory(const std::vector<KnownLocator>& known, std::string_view typed) {
  if (known.empty()) {
    return {};
  }
  std::size_t shown = IndexOf(known, typed);
  if (shown == known.size()) {
    const auto begun = std::find_if(known.begin(), known.end(), [&](const KnownLocator& k) {
      return std::string_view(k.locator).starts_with(typed);
    });
    if (begun == known.end()) {
      return {"storico: " + known.front().locator, true};
    }
    shown = static_cast<std::size_t>(begun - known.begin());
  }
  std::string text = "storico: " + known[shown].locator;
  if (known[shown].date != 0) {
    text += ", " + HistoryDateText(known[shown].date);
  }
  if (known.size() > 1) {
    text += "  (F12: " + known[(shown + 1) % known.size()].locator + ")";
  }
  return {std::move(text), false};
}

std::optional<std::string> NextKnownLocator(const std::vector<KnownLocator>& known,
                                            std::string_view typed) {
  if (known.empty()) {
    return std::nullopt;
  }
  const std::size_t at = IndexOf(known, typed);
  return known[at == known.size() ? 0 : (at + 1) % known.size()].locator;
}

}  // namespace keldra

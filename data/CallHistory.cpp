#include "data/CallHistory.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "core/Text.h"

namespace keldra {
namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

std::string_view View(const std::array<char, 6>& locator) {
  return std::string_view(locator.data(), locator.size());
}

}  // namespace

std::string HistoryDateText(HistoryDate date) {
  if (date <= 0) {
    return {};
  }
  const int day = date % 100;
  const int month = date / 100 % 100;
  const int year = date / 10000;
  std::string text(10, '0');
  text[0] = static_cast<char>('0' + day / 10);
  text[1] = static_cast<char>('0' + day % 10);
  text[2] = '/';
  text[3] = static_cast<char>('0' + month / 10);
  text[4] = static_cast<char>('0' + month % 10);
  text[5] = '/';
  for (int i = 9, y = year; i >= 6; --i, y /= 10) {
    text[i] = static_cast<char>('0' + y % 10);
  }
  return text;
}

bool IsHistoryCall(std::string_view call) {
  if (call.size() < 3 || call.size() > 15) {
    return false;
  }
  bool letter = false;
  bool digit = false;
  for (char c : call) {
    letter = letter || IsUpper(c);
    digit = digit || IsDigit(c);
    if (!IsUpper(c) && !IsDigit(c) && c != '/') {
      return false;
    }
  }
  return letter && digit;
}

// --- Builder ---

bool CallHistory::Builder::Add(std::string_view call, std::string_view locator, HistoryDate date) {
  if (!IsHistoryCall(call) || !IsSixCharacterLocator(locator)) {
    return false;
  }
  // Offsets are 32-bit: a history past 4 GB of calls stops growing instead of wrapping.
  if (calls_.size() + call.size() > UINT32_MAX || pending_.size() >= UINT32_MAX) {
    return false;
  }
  Pending p{static_cast<std::uint32_t>(calls_.size()),
            static_cast<std::uint8_t>(call.size()),
            {},
            date,
            static_cast<std::uint32_t>(pending_.size())};
  std::copy(locator.begin(), locator.end(), p.locator.begin());
  calls_.append(call);
  pending_.push_back(p);
  return true;
}

CallHistory CallHistory::Builder::Build() && {
  auto call_of = [this](const Pending& p) {
    return std::string_view(calls_).substr(p.call_offset, p.call_size);
  };
  // By call, then locator, then newest (and for one date the later added) first: the first of
  // each call and locator is the one kept.
  std::sort(pending_.begin(), pending_.end(), [&](const Pending& a, const Pending& b) {
    return std::tuple(call_of(a), View(a.locator), b.date, b.order) <
           std::tuple(call_of(b), View(b.locator), a.date, a.order);
  });
  CallHistory history;
  history.calls_.reserve(calls_.size() + pending_.size() / 2 + 1);
  std::size_t i = 0;
  while (i < pending_.size()) {
    const std::string_view call = call_of(pending_[i]);
    std::size_t end = i;
    while (end < pending_.size() && call_of(pending_[end]) == call) {
      ++end;
    }
    history.call_start_.push_back(static_cast<std::uint32_t>(history.calls_.size()));
    history.first_sighting_.push_back(static_cast<std::uint32_t>(history.sightings_.size()));
    history.calls_.append(call);
    history.calls_.push_back('\n');
    std::vector<const Pending*> kept;
    for (std::size_t k = i; k < end; ++k) {
      if (k == i || View(pending_[k].locator) != View(pending_[k - 1].locator)) {
        kept.push_back(&pending_[k]);
      }
    }
    std::sort(kept.begin(), kept.end(), [](const Pending* a, const Pending* b) {
      return std::tie(a->date, a->order) > std::tie(b->date, b->order);
    });
    for (const Pending* p : kept) {
      history.sightings_.push_back({p->locator, p->date});
    }
    i = end;
  }
  history.first_sighting_.push_back(static_cast<std::uint32_t>(history.sightings_.size()));
  history.calls_.shrink_to_fit();
  history.sightings_.shrink_to_fit();
  pending_ = {};
  calls_ = {};
  return history;
}

// --- Queries ---

std::string_view CallHistory::CallAt(std::size_t station) const {
  const std::size_t start = call_start_[station];
  return std::string_view(calls_).substr(start, calls_.find('\n', start) - start);
}

std::size_t CallHistory::StationAt(std::size_t offset) const {
  const auto after = std::upper_bound(call_start_.begin(), call_start_.end(), offset);
  return static_cast<std::size_t>(after - call_start_.begin()) - 1;
}

std::size_t CallHistory::Find(std::string_view call) const {
  std::size_t low = 0;
  std::size_t high = call_start_.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (CallAt(middle) < call) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

std::vector<KnownLocator> CallHistory::Locators(std::string_view call) const {
  std::vector<KnownLocator> known;
  const std::size_t station = Find(call);
  if (station == Calls() || CallAt(station) != call) {
    return known;
  }
  for (std::uint32_t s = first_sighting_[station]; s < first_sighting_[station + 1]; ++s) {
    known.push_back({std::string(View(sightings_[s].locator)), sightings_[s].date});
  }
  return known;
}

std::vector<std::string> CallHistory::Matching(std::string_view typed, std::size_t limit) const {
  std::vector<std::string> found;
  if (typed.empty() || limit == 0 || typed.find('\n') != std::string_view::npos) {
    return found;
  }
  // The calls that begin with the text stand together in the sorted list.
  for (std::size_t s = Find(typed); s < Calls() && found.size() < limit; ++s) {
    const std::string_view call = CallAt(s);
    if (!call.starts_with(typed)) {
      break;
    }
    found.emplace_back(call);
  }
  // Then the calls holding it further in, in one pass over the text of all calls.
  const std::string_view all(calls_);
  for (std::size_t at = all.find(typed, 1); at != std::string_view::npos && found.size() < limit;
       at = all.find(typed, at + 1)) {
    const std::size_t station = StationAt(at);
    const std::string_view call = CallAt(station);
    if (!call.starts_with(typed)) {
      found.emplace_back(call);  // beginnings are listed above
    }
    // One call listed once, however often the text occurs in it.
    at = call_start_[station] + call.size();
  }
  return found;
}

std::size_t CallHistory::Footprint() const {
  return calls_.capacity() + call_start_.capacity() * sizeof(std::uint32_t) +
         first_sighting_.capacity() * sizeof(std::uint32_t) +
         sightings_.capacity() * sizeof(Sighting);
}

// --- StationHistory ---

void StationHistory::SetContest(std::vector<HistoryEntry> qsos) {
  contest_qsos_ = std::move(qsos);
  worked_.clear();
  for (const HistoryEntry& e : contest_qsos_) {
    worked_.push_back(e.call);
  }
  std::sort(worked_.begin(), worked_.end());
  BuildContest();
}

void StationHistory::AddToContest(const std::vector<HistoryEntry>& qsos) {
  // Merged in one pass, so a contest resumed after the history was first read costs no more
  // than one set whole.
  const auto before = static_cast<std::ptrdiff_t>(worked_.size());
  for (const HistoryEntry& e : qsos) {
    contest_qsos_.push_back(e);
    worked_.push_back(e.call);
  }
  std::sort(worked_.begin() + before, worked_.end());
  std::inplace_merge(worked_.begin(), worked_.begin() + before, worked_.end());
  // Rebuilt once the QSOs looked through one by one are an eighth of the contest.
  if (contest_qsos_.size() - built_ > std::max<std::size_t>(256, contest_qsos_.size() / 8)) {
    BuildContest();
  }
}

void StationHistory::BuildContest() {
  CallHistory::Builder builder;
  for (const HistoryEntry& e : contest_qsos_) {
    builder.Add(e.call, e.locator, e.date);
  }
  contest_ = std::move(builder).Build();
  built_ = contest_qsos_.size();
}

template <typename Visit>
void StationHistory::ForEachRecent(Visit visit) const {
  for (std::size_t i = built_; i < contest_qsos_.size(); ++i) {
    const HistoryEntry& e = contest_qsos_[i];
    if (IsHistoryCall(e.call) && IsSixCharacterLocator(e.locator)) {
      visit(e);
    }
  }
}

bool StationHistory::Worked(std::string_view call) const {
  return std::binary_search(worked_.begin(), worked_.end(), call);
}

std::vector<KnownLocator> StationHistory::Locators(std::string_view call) const {
  std::vector<KnownLocator> known = contest_.Locators(call);
  auto take = [&known](KnownLocator sighting) {
    auto same = std::find_if(known.begin(), known.end(),
                             [&](const KnownLocator& k) { return k.locator == sighting.locator; });
    if (same == known.end()) {
      known.push_back(std::move(sighting));
    } else {
      same->date = std::max(same->date, sighting.date);
    }
  };
  ForEachRecent([&](const HistoryEntry& e) {
    if (e.call == call) {
      take({e.locator, e.date});
    }
  });
  // The contest's in locator order, as the compact history gives them.
  std::sort(known.begin(), known.end(),
            [](const KnownLocator& a, const KnownLocator& b) { return a.locator < b.locator; });
  for (KnownLocator& older : files_.Locators(call)) {
    take(std::move(older));
  }
  // The running contest's come first among equals: they are the latest heard.
  std::stable_sort(known.begin(), known.end(),
                   [](const KnownLocator& a, const KnownLocator& b) { return a.date > b.date; });
  return known;
}

std::vector<std::string> StationHistory::Matching(std::string_view typed, std::size_t limit) const {
  // Calls beginning with the text first, then those holding it further in, each alphabetically.
  auto before = [typed](std::string_view a, std::string_view b) {
    return std::pair(!a.starts_with(typed), a) < std::pair(!b.starts_with(typed), b);
  };
  auto first = [&](std::vector<std::string>& calls) {
    std::sort(calls.begin(), calls.end(), before);
    calls.erase(std::unique(calls.begin(), calls.end()), calls.end());
    if (calls.size() > limit) {
      calls.resize(limit);
    }
  };
  std::vector<std::string> recent;
  if (!typed.empty() && typed.find('\n') == std::string_view::npos) {
    ForEachRecent([&](const HistoryEntry& e) {
      if (e.call.find(typed) != std::string::npos) {
        recent.push_back(e.call);
      }
    });
    first(recent);
  }
  std::vector<std::string> found = contest_.Matching(typed, limit);
  std::vector<std::string> files = files_.Matching(typed, limit);
  found.insert(found.end(), recent.begin(), recent.end());
  found.insert(found.end(), files.begin(), files.end());
  first(found);
  return found;
}

}  // namespace keldra

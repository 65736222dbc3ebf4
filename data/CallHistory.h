// The call history: for every station heard before, the locators it was logged with, newest
// first, and the known calls that contain what the operator is typing. It is built once from
// sightings (callsign, locator, date) and then only read, so it is kept flat: the calls sorted in
// one text, the sightings in one array. A lookup is a binary search, a partial match one scan of
// that text; 200,000 sightings take a few megabytes.
//
// StationHistory joins two of them: the history read from files at start-up, and the running
// contest's QSOs, rebuilt from its EDI record lines whenever they change, so that a corrected QSO
// leaves no trace of its old locator.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace keldra {

// A date as yyyymmdd (20230716); 0 for a source that gives none, which counts as oldest.
using HistoryDate = std::int32_t;

// "16/07/2023"; empty for no date.
std::string HistoryDateText(HistoryDate date);

// A callsign as the history keeps it: 3 to 15 upper-case letters, digits and "/", with at least
// one letter and one digit. A "/P" call is a station of its own.
bool IsHistoryCall(std::string_view call);

struct KnownLocator {
  std::string locator;
  HistoryDate date = 0;
  friend bool operator==(const KnownLocator&, const KnownLocator&) = default;
};

class CallHistory {
 public:
  class Builder;

  CallHistory() = default;

  // The locators of exactly this call, newest first (for one date, the one added last first); a
  // locator seen on several dates is listed once, with the newest. Empty for an unknown call.
  std::vector<KnownLocator> Locators(std::string_view call) const;
  // Up to `limit` known calls containing `typed`: those that begin with it first, then the
  // others, each group in alphabetical order.
  std::vector<std::string> Matching(std::string_view typed, std::size_t limit) const;

  std::size_t Calls() const { return call_start_.size(); }
  std::size_t Sightings() const { return sightings_.size(); }
  // Bytes held, for the memory budget.
  std::size_t Footprint() const;

 private:
  struct Sighting {
    std::array<char, 6> locator;
    HistoryDate date;
  };
  std::string_view CallAt(std::size_t station) const;
  std::size_t StationAt(std::size_t offset) const;
  std::size_t Find(std::string_view call) const;

  // "\n" + every call + "\n", sorted; a typed text never holds "\n", so a match never spans two.
  std::string calls_ = "\n";
  std::vector<std::uint32_t> call_start_;      // per station, its offset in calls_
  std::vector<std::uint32_t> first_sighting_;  // per station, its first sighting; one more at end
  std::vector<Sighting> sightings_;
};

// Collects sightings in any order; Build sorts them once.
class CallHistory::Builder {
 public:
  // Takes a sighting whose call and locator pass IsHistoryCall and IsSixCharacterLocator; anything
  // else is ignored and false returned.
  bool Add(std::string_view call, std::string_view locator, HistoryDate date);
  std::size_t Added() const { return pending_.size(); }
  CallHistory Build() &&;

 private:
  struct Pending {
    std::uint32_t call_offset;
    std::uint8_t call_size;
    std::array<char, 6> locator;
    HistoryDate date;
    std::uint32_t order;
  };
  std::string calls_;
  std::vector<Pending> pending_;
};

// One sighting: a call seen with a locator on a date.
struct HistoryEntry {
  std::string call;
  std::string locator;
  HistoryDate date = 0;
  friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// The history of the files and of the running contest, asked as one.
class StationHistory {
 public:
  void SetFiles(CallHistory files) { files_ = std::move(files); }
  // The running contest's QSOs: each call is worked; those the history can take are sightings.
  void SetContest(std::vector<HistoryEntry> qsos);
  // QSOs logged after those: they are looked through as they are until enough have come to
  // build the compact history again, so a QSO logged late in a big contest costs little.
  void AddToContest(const std::vector<HistoryEntry>& qsos);

  std::vector<KnownLocator> Locators(std::string_view call) const;
  std::vector<std::string> Matching(std::string_view typed, std::size_t limit) const;
  // Whether the running contest has a QSO with exactly this call (whatever its locator).
  bool Worked(std::string_view call) const;

  const CallHistory& FromFiles() const { return files_; }

 private:
  void BuildContest();
  // The contest's QSOs not yet in contest_ that the history can take.
  template <typename Visit>
  void ForEachRecent(Visit visit) const;

  CallHistory files_;
  std::vector<HistoryEntry> contest_qsos_;
  CallHistory contest_;  // of the first built_ QSOs
  std::size_t built_ = 0;
  std::vector<std::string> worked_;  // sorted
};

}  // namespace keldra

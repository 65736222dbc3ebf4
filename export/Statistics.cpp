#include "export/Statistics.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <unordered_set>

#include "core/Text.h"
#include "export/Prefixes.h"

namespace keldra {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The map's rows run north to south and its columns west to east.
struct MapRow {
  char field;
  char digit;
};
constexpr std::size_t kMapColumns = 13;
constexpr std::size_t kCellWidth = 4;
constexpr std::size_t kRowStride = kMapColumns * kCellWidth + kLineEnd.size();

std::vector<MapRow> MapRows() {
  std::vector<MapRow> rows;
  for (char d = '4'; d >= '0'; --d) {
    rows.push_back({'O', d});
  }
  for (char d = '9'; d >= '0'; --d) {
    rows.push_back({'N', d});
  }
  for (char d = '9'; d >= '6'; --d) {
    rows.push_back({'M', d});
  }
  return rows;
}

// Blanks the map cell that holds `square`, if the map has one. Only whole cells are compared,
// so a text that is not a square (a shifted column) can never blank half of two neighbours.
void BlankOnMap(std::string& map, std::string_view square) {
  if (square.size() != kCellWidth) {
    return;
  }
  for (std::size_t row = 0; row * kRowStride < map.size(); ++row) {
    for (std::size_t column = 0; column < kMapColumns; ++column) {
      const std::size_t at = row * kRowStride + column * kCellWidth;
      if (map.compare(at, kCellWidth, square) == 0) {
        map.replace(at, kCellWidth, kCellWidth, ' ');
        return;
      }
    }
  }
}

constexpr std::array<std::string_view, 6> kHours = {"07", "08", "09", "10", "11", "12"};
constexpr std::array<std::string_view, 6> kHourLabels = {
    "07-08 =    ", "08-09 =    ", "09-10 =    ", "10-11 =    ", "11-12 =    ", "12-13 =    "};
constexpr int kSectors = 12;
constexpr int kSectorDegrees = 30;
constexpr std::array<std::string_view, kSectors> kSectorLabels = {
    "   0-30\xB0", "  30-60\xB0", "  60-90\xB0", " 90-120\xB0", "120-150\xB0", "150-180\xB0",
    "180-210\xB0", "210-240\xB0", "240-270\xB0", "270-300\xB0", "300-330\xB0", "330-359\xB0"};

struct Tally {
  std::array<long long, kHours.size()> hour_qsos{};
  std::array<long long, kHours.size()> hour_km{};
  std::array<long long, kSectors> sector_qsos{};
};

void CountHour(Tally& tally, std::string_view hour, long long km) {
  for (std::size_t h = 0; h < kHours.size(); ++h) {
    if (hour == kHours[h]) {
      ++tally.hour_qsos[h];
      tally.hour_km[h] += km;
    }
  }
}

// Bearings on a sector's boundary (0, 30, ... 360) count in no sector.
void CountSector(Tally& tally, double bearing) {
  for (int s = 0; s < kSectors; ++s) {
    if (kSectorDegrees * s < bearing && bearing < kSectorDegrees * (s + 1)) {
      ++tally.sector_qsos[s];
    }
  }
}

std::string PerHourText(const Tally& tally) {
  std::string text;
  for (std::size_t h = 0; h < kHours.size(); ++h) {
    text += kHourLabels[h];
    text += PlainDecimal(tally.hour_qsos[h]) + " - " + PlainDecimal(tally.hour_km[h]);
    text += kLineEnd;
  }
  return text;
}

std::string PerSectorText(const Tally& tally) {
  std::string text;
  for (int s = 0; s < kSectors; ++s) {
    text += kSectorLabels[s];
    text += "  - " + PlainDecimal(tally.sector_qsos[s]);
    text += kLineEnd;
  }
  return text;
}

// The QSO list's lines; an empty line is no QSO, and a last line without its line end still is
// one.
std::vector<std::string_view> QsoLines(std::string_view list) {
  std::vector<std::string_view> lines;
  while (!list.empty()) {
    const std::size_t end = list.find(kLineEnd);
    const std::string_view line = list.substr(0, end);
    if (!line.empty()) {
      lines.push_back(line);
    }
    if (end == std::string_view::npos) {
      break;
    }
    list.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

}  // namespace

QsoListFields FieldsOf(std::string_view line) {
  QsoListFields fields;
  fields.hour = Mid(line, 18, 2);
  // The callsign's filler ends at the first two blanks from column 42 on; a line cut short
  // before them gives the rest of the line.
  const std::size_t blanks = line.size() > 41 ? line.find("  ", 41) : std::string_view::npos;
  fields.callsign = blanks == std::string_view::npos ? Mid(line, 41) : Mid(line, 41, blanks - 40);
  fields.square = Mid(line, 62, 4);
  fields.locator = Mid(line, 62, 6);
  return fields;
}

std::string MapTemplate() {
  std::string map;
  const std::vector<MapRow> rows = MapRows();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r > 0) {
      map += kLineEnd;
    }
    for (char d = '1'; d <= '9'; ++d) {
      map += {'J', rows[r].field, d, rows[r].digit};
    }
    for (char d = '0'; d <= '3'; ++d) {
      map += {'K', rows[r].field, d, rows[r].digit};
    }
  }
  return map;
}

// Entries the ranking sort looks at together before deciding whether a block holds an exchange.
constexpr std::size_t kSortBlock = 32;

std::vector<std::size_t> ExchangeSortOrder(std::span<const long long> distances) {
  std::vector<long long> keys(distances.begin(), distances.end());
  std::vector<std::size_t> order(keys.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  for (std::size_t i = 0; i < keys.size(); ++i) {
    long long held = keys[i];
    std::size_t held_entry = order[i];
    // Most of a pass exchanges nothing: a block whose largest distance does not beat the held
    // one is skipped whole (its maximum is a loop the compiler vectorises).
    for (std::size_t block = i + 1; block < keys.size(); block += kSortBlock) {
      const std::size_t end = std::min(keys.size(), block + kSortBlock);
      if (*std::max_element(keys.begin() + block, keys.begin() + end) <= held) {
        continue;
      }
      for (std::size_t j = block; j < end; ++j) {
        if (held < keys[j]) {
          std::swap(held, keys[j]);
          std::swap(held_entry, order[j]);
        }
      }
    }
    keys[i] = held;
    order[i] = held_entry;
  }
  return order;
}

QsoListFields FieldsOfQso(const LoggedQso& qso) {
  return QsoListFields{Left(qso.time, 2), qso.call, Left(qso.locator, 4), Left(qso.locator, 6)};
}

Statistics ComputeStatistics(std::string_view qso_list, const DistanceBearingSource& source) {
  std::vector<QsoListFields> qsos;
  for (std::string_view line : QsoLines(qso_list)) {
    qsos.push_back(FieldsOf(line));
  }
  return ComputeStatistics(qsos, source);
}

Statistics ComputeStatistics(std::span<const QsoListFields> qsos,
                             const DistanceBearingSource& source) {
  Statistics result;
  result.map = MapTemplate();
  Tally tally;
  // Squares and countries are listed once each, compared as whole names.
  std::unordered_set<std::string> squares_listed;
  std::unordered_set<std::string> countries_listed;
  std::optional<std::string> country;
  std::vector<long long> distances;
  std::vector<std::string> entries;

  for (const QsoListFields& fields : qsos) {
    const DistanceBearingTexts texts = source(fields.locator);
    const auto km = static_cast<long long>(RoundHalfEven(LeadingNumber(texts.distance)));
    const double bearing = LeadingNumber(texts.bearing);

    distances.push_back(km);
    entries.push_back(PlainDecimal(km) + "Km - " + fields.callsign + " - " + fields.locator);
    CountSector(tally, bearing);
    CountHour(tally, fields.hour, km);

    if (!fields.square.empty()) {
      BlankOnMap(result.map, fields.square);
      if (squares_listed.insert(fields.square).second) {
        result.squares += fields.square + " - ";
      }
    }

    // A callsign of no known country leaves the previous QSO's country current.
    if (std::optional<std::string> found = CountryOf(fields.callsign)) {
      country = std::move(found);
    }
    if (country && countries_listed.insert(*country).second) {
      if (!result.countries.empty()) {
        result.countries += " - ";
      }
      result.countries += *country;
    }
  }

  result.per_hour = PerHourText(tally);
  result.per_sector = PerSectorText(tally);
  result.ranking.reserve(entries.size());
  for (std::size_t entry : ExchangeSortOrder(distances)) {
    result.ranking.push_back(std::move(entries[entry]));
  }
  return result;
}

}  // namespace keldra

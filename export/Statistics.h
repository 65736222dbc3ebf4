// The statistics of a contest, computed from the logged QSOs: the squares worked with
// a map of the squares still missing, the countries worked, QSOs and kilometres per contest hour,
// QSOs per 30-degree bearing sector, and the ranking of all QSOs by distance. The result is the
// texts the statistics window shows. Distances and bearings come from a source the caller
// passes: the window passes the program's shared calculator, tests a fake.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ContestLog.h"

namespace keldra {

// The calculator's result texts for one locator: " 168", " 271", or "??????" when it failed.
struct DistanceBearingTexts {
  std::string distance;
  std::string bearing;
};
using DistanceBearingSource = std::function<DistanceBearingTexts(const std::string& locator)>;

// The fields the statistics read from one QSO list line, by fixed column; a line whose columns
// are shifted (a four-digit serial, a long callsign) gives whatever stands at those columns.
struct QsoListFields {
  std::string hour;      // columns 18-19
  std::string callsign;  // from column 41 up to the first two blanks at or after column 42
  std::string square;    // columns 62-65
  std::string locator;   // columns 62-67
};
QsoListFields FieldsOf(std::string_view line);
// The same fields of a logged QSO, from its record: right whatever the serial or call length.
QsoListFields FieldsOfQso(const LoggedQso& qso);

// The texts of the statistics window.
struct Statistics {
  std::string map;                   // squares still to work, 19 rows of 13, rows by CR LF
  std::string squares;               // "JN81 - JN71 - " in order of first contact
  std::string countries;             // "Italy - Croatia" in order of first contact
  std::string per_hour;              // six lines "07-08 =    n - km" each ended by CR LF
  std::string per_sector;            // twelve lines "  30-60°  - n" each ended by CR LF
  std::vector<std::string> ranking;  // "523Km - QX1ABC - JN81GD", largest distance first
};

// The map of every square from JO14 in the north-west to KM36 in the south-east.
std::string MapTemplate();

// The order in which the ranking's exchange sort leaves entries with these distances: for each
// position i, every later entry with a larger distance is exchanged into i as it is met. Equal
// distances keep the order that procedure gives them (200, 350, 200, 500 end as 4th, 2nd, 3rd,
// 1st). Quadratic by nature; it compares the numbers only.
std::vector<std::size_t> ExchangeSortOrder(std::span<const long long> distances);

// Computes every text from the QSOs' fields in logging order, asking `source` for each QSO's
// distance and bearing in that order.
Statistics ComputeStatistics(std::span<const QsoListFields> qsos,
                             const DistanceBearingSource& source);
// The same from a QSO list (lines each ended by CR LF), each line read by its columns.
Statistics ComputeStatistics(std::string_view qso_list, const DistanceBearingSource& source);

}  // namespace keldra

// The statistics report: one plain-text page made from the texts the statistics window shows
// (ranking, countries, squares, QSOs per hour and per bearing sector, and the map), under a
// heading with the day's date, ready to be shown and saved. Nothing is recomputed here; every
// line ends with CR LF.
#pragma once

#include <string>
#include <string_view>

#include "export/Statistics.h"

namespace keldra {

// The report file's name in the program folder.
inline constexpr std::string_view kReportFileName = "keldra_qrp_statistiche.txt";

// The report text for the shown statistics, with `date` (ten characters, "dd/mm/yyyy", keep the
// heading 47 characters wide) in its third line.
std::string BuildReport(const Statistics& shown, std::string_view date);

}  // namespace keldra

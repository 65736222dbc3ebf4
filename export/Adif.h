// The ADIF log (ADIF 3.1.4, the .adi text form) that takes the contest's QSOs into the station's
// general log and to the QSL services. The QSOs are read from the EDI record lines, the same lines
// the EDI log copies, so the two files always agree; a line that cannot become a valid ADIF record
// is reported, never written half. ADI fields carry ASCII only: accented Latin letters are
// transliterated (À to A, ß to ss, Æ to AE), typographic quotes and dashes become their ASCII
// forms, and every other character outside printable ASCII is dropped. Field lengths count the
// bytes as written.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/QsoRecord.h"
#include "system/Clock.h"

namespace keldra {

inline constexpr std::string_view kAdifVersion = "3.1.4";
inline constexpr std::string_view kAdifProgramId = "Keldra VHF QRP Test";
inline constexpr std::string_view kAdifProgramVersion = KELDRA_VERSION;
inline constexpr std::string_view kAdifContestId = "KELDRA-VHF-QRP";
inline constexpr std::string_view kAdifBand = "2m";

// The logging station, as the EDI header window or the station file gives it (Windows-1252).
struct AdifStation {
  std::string callsign;       // STATION_CALLSIGN
  std::string operator_call;  // OPERATOR; the station's callsign when empty
  std::string locator;        // MY_GRIDSQUARE, written when it is a valid locator
  std::string power;          // TX_PWR, as typed; written only when the whole text is a number
};

// One QSO of the log.
struct AdifQso {
  QsoFields fields;
  std::string freq_mhz;  // FREQ in MHz ("144.300"); left out when empty
};

// The QSOs of an EDI record list, and one problem (Italian) for every line that is not a QSO
// the ADIF can carry. Empty lines are not QSOs and not problems.
struct AdifQsos {
  std::vector<AdifQso> qsos;
  std::vector<std::string> problems;
};
AdifQsos AdifQsosFromRecords(std::string_view records);

// The complete .adi text, CR LF line ends: the header (created at `created_utc`), then one line
// per QSO, in the order given.
std::string AdifLogText(const AdifStation& station, std::span<const AdifQso> qsos,
                        const DateTime& created_utc);

// The text as an ADI field may carry it: transliterated or dropped as the unit's header says.
std::string AdifAscii(std::string_view cp1252);

// The proposed file name: the EDI log's name with ".adi", or the callsign and ".adi" when the
// category is none of the three.
std::string AdifFileName(std::string_view category, std::string_view callsign);

}  // namespace keldra

// One logged QSO as the program keeps it: two text lines built from the same fields. The QSO list
// line is a fixed-column line for the screen and for search (callsign from column 41 with a
// three-digit serial); the EDI record line is the contest log's ";"-separated QSO record, ready
// for the EDI file. This unit formats both from a plain struct of field texts, and parses them
// back into fields for the windows that look a QSO up or rewrite it. Texts are Windows-1252 bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldra {

enum class QsoMode { kSsb, kCw };

// "SSB" or "CW" as the mode field holds them; anything else has no mode.
std::optional<QsoMode> ModeFromText(std::string_view text);
std::string ModeText(QsoMode mode);  // "SSB", "CW"

// The fields of one QSO, as texts the way the entry row holds them.
struct QsoFields {
  std::string serial_sent;   // "005" (four digits and more from QSO 1000 on)
  std::string date;          // "dd/mm/yy"
  std::string time;          // "hh.mm" UTC; a one-digit hour "h.mm" is kept as it is
  std::string band = "144";  // MHz
  QsoMode mode = QsoMode::kSsb;
  std::string call;
  std::string report_sent;  // "59" in SSB, "599" in CW
  std::string report_received;
  std::string serial_received;  // three digits
  std::string locator;          // six characters
  std::string club_code;        // empty, or "I"/"M" and the member number
  std::string distance_km;      // whole km as plain decimal: the record's points field
  friend bool operator==(const QsoFields&, const QsoFields&) = default;
};

// The QSO list line, without its line end:
// "005   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003".
// The report sent and the distance are not part of it.
std::string QsoListLine(const QsoFields& qso);

// The EDI record line, without its line end:
// "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;;;". The band is not part of it.
std::string EdiRecordLine(const QsoFields& qso);

// The record's date "yymmdd" from "dd/mm/yy", and back.
std::string EdiDate(std::string_view list_date);
std::string ListDate(std::string_view edi_date);
// The record's time "hhmm" from "hh.mm" (or "h.mm", which gets its leading "0"), and back.
std::string EdiTime(std::string_view list_time);
std::string ListTime(std::string_view edi_time);

// The outcome of reading a line back: the fields, or what is wrong with the line.
struct QsoParse {
  std::optional<QsoFields> qso;
  std::string problem;  // empty when qso is set
};

// Reads a QSO list line back. The report sent and the distance are not in it and stay empty.
QsoParse ParseQsoListLine(std::string_view line);
// Reads an EDI record line back. The date and time come back in the list's forms ("dd/mm/yy",
// "hh.mm"); the band is not in it and stays "144".
QsoParse ParseEdiRecordLine(std::string_view line);

// The callsign of a QSO list line (the sixth field), without its filler; empty if it has none.
std::string_view CallOfListLine(std::string_view line);

// Whether a QSO list (lines ended by CR LF) holds a QSO with exactly this callsign. A callsign
// that is only part of a logged one (QX1AB against QX1ABC) is not a match.
bool ListHasCall(std::string_view list, std::string_view call);

}  // namespace keldra

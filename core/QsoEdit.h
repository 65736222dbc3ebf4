// Correcting a QSO that is already logged. The edit window finds the QSO by its callsign in the
// EDI record list, shows its fields as the record stores them, and later applies the operator's
// corrections. This unit does the work as plain functions: the search over the two lists, the
// checks of the corrected fields and the corrected QSO (only the fields the operator changed); the
// contest log puts its two lines in place and counts the totals again.
//
// The two lines of the QSO are never patched in place: they are read back into their fields and
// formatted again with the same functions the commit uses, so a correction can only touch the
// field it means and the edited lines are exactly what a commit of the corrected QSO would write.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/QsoRecord.h"

namespace keldra {

// The mode code of the edit window and of the EDI record: "1" SSB, "0" CW.
std::string ModeCode(QsoMode mode);
// The mode of a code the operator typed: digits only, with the value 1 (SSB) or 0 (CW), so "00"
// is CW; anything else has no mode.
std::optional<QsoMode> ModeOfCode(std::string_view code);
// The report the entry row proposes in a mode: "59" in SSB, "599" in CW.
std::string DefaultReport(QsoMode mode);

// The fields of the edit window, in the forms the EDI record stores them.
struct QsoEditTexts {
  std::string call;
  std::string date;  // "yymmdd"
  std::string time;  // "hhmm"
  std::string locator;
  std::string mode_code;  // "1" SSB, "0" CW
  std::string report_received;
  std::string serial_received;
  std::string club_code;    // "I..." or "M...", or empty
  std::string distance_km;  // the record's whole points field
  friend bool operator==(const QsoEditTexts&, const QsoEditTexts&) = default;
};

// A QSO found for editing: where its two lines are and what they hold.
struct FoundQso {
  std::size_t index = 0;         // 0-based line number, the same in both lists
  std::size_t record_start = 0;  // byte offset of its line in the EDI record list
  std::string record_line;       // without its line end
  std::size_t list_start = 0;    // byte offset of its line in the QSO list
  std::string list_line;
  QsoFields record;  // the record line read back
  QsoFields listed;  // the QSO list line read back
  // What the edit window shows: the record's fields, but the call as it was searched (a partial
  // search shows what was typed). A club code is shown only when it begins with "I" or "M", and
  // the distance only when the points field is a whole number.
  QsoEditTexts shown;
};

enum class QsoSearchStatus {
  kFound,
  kNotFound,
  kUnreadable,  // a record matched, but it or its QSO list line is not in the logged formats
};

struct QsoSearch {
  QsoSearchStatus status = QsoSearchStatus::kNotFound;
  std::optional<FoundQso> found;  // set when kFound
  std::string problem;            // what is wrong with the lines when kUnreadable
};

// Looks a callsign up in the EDI record list (lines ended by CR LF) and takes the QSO list line
// at the same position. A record whose call is exactly `call` wins; without one, the first record
// whose call contains `call` (so QX1A still finds QX1ABC). Case-sensitive; an empty call finds
// nothing.
QsoSearch FindQsoForEdit(std::string_view records, std::string_view list, std::string_view call);

enum class EditField {
  kCall,
  kDate,
  kTime,
  kLocator,
  kMode,
  kReportReceived,
  kSerialReceived,
  kClubCode,
  kDistance
};

// Why a correction is refused: the message, the field to correct, and whether that field is to
// be emptied (a club code in the wrong format is).
struct EditRefusal {
  std::string message;  // Windows-1252
  EditField field;
  bool clear_field = false;
  friend bool operator==(const EditRefusal&, const EditRefusal&) = default;
};

// The checks of a correction, in their order: a changed club code (first letter, then length),
// date of six characters, time of four, a mode code, a changed call of at least four characters,
// a changed locator in the locator format, a distance that is a whole number (a locator the
// calculator refused leaves none), and no blank, ";" or line end in a field, which would break
// the lines.
std::optional<EditRefusal> CheckQsoEdit(const QsoEditTexts& before, const QsoEditTexts& after);

// The QSO with the corrections applied: a field changes only where `after` differs from `before`
// (what the search showed). A changed date or time is taken in the record's forms; a mode change
// also moves a default report sent to the new mode's default, as the entry row does; a distance
// of 0 is stored as 1, as the commit stores it.
QsoFields EditedQso(QsoFields qso, const QsoEditTexts& before, const QsoEditTexts& after);

}  // namespace keldra

#include "core/QsoEdit.h"

#include <algorithm>
#include <utility>

#include "core/QsoDistance.h"
#include "core/Text.h"
#include "system/CodePage.h"

namespace keldra {

namespace {

constexpr std::string_view kClubMessage = "Inserire il Codice Club nel formato es. I123 o M123";
constexpr std::size_t kClubCodeLength = 4;
constexpr std::size_t kRecordDateLength = 6;
constexpr std::size_t kRecordTimeLength = 4;
constexpr std::size_t kShortestCall = 4;
// Where the call sits among the record's ";"-separated fields.
constexpr std::size_t kRecordCallField = 2;

// One line of a list whose lines end in CR LF (a bare LF is accepted too).
struct ListLine {
  std::size_t start = 0;
  std::string_view text;
};

// The line at `start`, and where the next one begins.
ListLine LineAt(std::string_view list, std::size_t start, std::size_t& next) {
  std::size_t end = list.find('\n', start);
  next = end == std::string_view::npos ? list.size() : end + 1;
  if (end == std::string_view::npos) {
    end = list.size();
  }
  std::string_view line = list.substr(start, end - start);
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  return ListLine{start, line};
}

// The line with the given 0-based number, if the list has that many.
std::optional<ListLine> NthLine(std::string_view list, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; start < list.size(); ++i) {
    std::size_t next = 0;
    const ListLine line = LineAt(list, start, next);
    if (i == index) {
      return line;
    }
    start = next;
  }
  return std::nullopt;
}

// The field with the given 0-based number of a ";"-separated line; empty when it has fewer.
std::string_view RecordField(std::string_view record, std::size_t number) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < number; ++i) {
    const std::size_t semicolon = record.find(';', start);
    if (semicolon == std::string_view::npos) {
      return {};
    }
    start = semicolon + 1;
  }
  const std::size_t end = record.find(';', start);
  return record.substr(start, end == std::string_view::npos ? end : end - start);
}

QsoEditTexts ShownTexts(const QsoFields& record, std::string_view call) {
  QsoEditTexts shown;
  shown.call = call;
  shown.date = EdiDate(record.date);
  shown.time = EdiTime(record.time);
  shown.locator = record.locator;
  shown.mode_code = ModeCode(record.mode);
  shown.report_received = record.report_received;
  shown.serial_received = record.serial_received;
  const char club = record.club_code.empty() ? '\0' : record.club_code.front();
  if (club == 'I' || club == 'M') {
    shown.club_code = record.club_code;
  }
  if (IsAllDigits(record.distance_km)) {
    shown.distance_km = record.distance_km;
  }
  return shown;
}

// A blank, ";" or line end inside a field would split the list line or the record differently
// when they are read back.
bool BreaksLines(std::string_view text) {
  return text.find_first_of(" ;\r\n") != std::string_view::npos;
}

EditRefusal Refuse(std::string_view message, EditField field, bool clear = false) {
  return EditRefusal{std::string(message), field, clear};
}

}  // namespace

std::string ModeCode(QsoMode mode) { return mode == QsoMode::kSsb ? "1" : "0"; }

std::optional<QsoMode> ModeOfCode(std::string_view code) {
  if (!IsAllDigits(code)) {
    return std::nullopt;
  }
  const double value = LeadingNumber(code);
  if (value == 1) {
    return QsoMode::kSsb;
  }
  if (value == 0) {
    return QsoMode::kCw;
  }
  return std::nullopt;
}

std::string DefaultReport(QsoMode mode) { return mode == QsoMode::kSsb ? "59" : "599"; }

QsoSearch FindQsoForEdit(std::string_view records, std::string_view list, std::string_view call) {
  if (call.empty()) {
    return {};
  }
  std::optional<std::pair<std::size_t, ListLine>> chosen;
  std::size_t start = 0;
  for (std::size_t i = 0; start < records.size(); ++i) {
    std::size_t next = 0;
    const ListLine line = LineAt(records, start, next);
    const std::string_view logged = RecordField(line.text, kRecordCallField);
    if (logged == call) {
      chosen = {i, line};
      break;
    }
    if (!chosen && logged.find(call) != std::string_view::npos) {
      chosen = {i, line};
    }
    start = next;
  }
  if (!chosen) {
    return {};
  }

  const auto& [index, record_line] = *chosen;
  const std::optional<ListLine> list_line = NthLine(list, index);
  if (!list_line) {
    return QsoSearch{QsoSearchStatus::kUnreadable, std::nullopt,
                     "no QSO list line " + std::to_string(index + 1)};
  }
  QsoParse record = ParseEdiRecordLine(record_line.text);
  QsoParse listed = ParseQsoListLine(list_line->text);
  if (!record.qso || !listed.qso) {
    return QsoSearch{QsoSearchStatus::kUnreadable, std::nullopt,
                     record.qso ? listed.problem : record.problem};
  }
  // The two lists go in step; a list line of another QSO means they no longer do.
  if (listed.qso->call != record.qso->call) {
    return QsoSearch{QsoSearchStatus::kUnreadable, std::nullopt,
                     "QSO list line " + std::to_string(index + 1) + " is not " + record.qso->call};
  }
  FoundQso found;
  found.index = index;
  found.record_start = record_line.start;
  found.record_line = record_line.text;
  found.list_start = list_line->start;
  found.list_line = list_line->text;
  found.shown = ShownTexts(*record.qso, call);
  found.record = std::move(*record.qso);
  found.listed = std::move(*listed.qso);
  return QsoSearch{QsoSearchStatus::kFound, std::move(found), {}};
}

std::optional<EditRefusal> CheckQsoEdit(const QsoEditTexts& before, const QsoEditTexts& after) {
  // A code as the commit stored it (an I-QRP number above 999, a bare club letter) is kept; only
  // a code the operator typed here must have the format.
  const std::string& club = after.club_code;
  const bool club_typed = club != before.club_code;
  if (club_typed && !club.empty() && club.front() != 'I' && club.front() != 'M') {
    return Refuse(kClubMessage, EditField::kClubCode, true);
  }
  if (club_typed && !club.empty() && club.size() != kClubCodeLength) {
    return Refuse(kClubMessage, EditField::kClubCode, true);
  }
  if (after.date.size() != kRecordDateLength) {
    return Refuse("Inserire la data nel formato AAMMGG es. 210718", EditField::kDate);
  }
  if (after.time.size() != kRecordTimeLength) {
    return Refuse("Inserire l'ora UTC nel formato HHMM es. 0912 o 1025", EditField::kTime);
  }
  if (!ModeOfCode(after.mode_code)) {
    return Refuse("I modi consentiti sono: 0 - CW  1 - SSB", EditField::kMode);
  }
  if (after.call != before.call && after.call.size() < kShortestCall) {
    return Refuse("Inserire CallSign...", EditField::kCall);
  }
  if (after.locator != before.locator && !IsSixCharacterLocator(after.locator)) {
    return Refuse("Inserire il Locatore nel formato corretto... es. JN81GD", EditField::kLocator);
  }
  if (!IsAllDigits(after.distance_km)) {
    return Refuse(Cp1252("Il QRB del QSO non è calcolabile: controllare il Locatore"),
                  EditField::kLocator);
  }
  const std::pair<const std::string*, EditField> fields[] = {
      {&after.call, EditField::kCall},
      {&after.date, EditField::kDate},
      {&after.time, EditField::kTime},
      {&after.locator, EditField::kLocator},
      {&after.report_received, EditField::kReportReceived},
      {&after.serial_received, EditField::kSerialReceived},
      {&after.club_code, EditField::kClubCode}};
  for (const auto& [text, field] : fields) {
    if (BreaksLines(*text)) {
      return Refuse("I dati del QSO non possono contenere spazi o il carattere \";\"", field);
    }
  }
  return std::nullopt;
}

QsoFields EditedQso(QsoFields qso, const QsoEditTexts& before, const QsoEditTexts& after) {
  if (after.call != before.call) {
    qso.call = after.call;
  }
  if (after.date != before.date) {
    qso.date = ListDate(after.date);
  }
  if (after.time != before.time) {
    qso.time = ListTime(after.time);
  }
  if (after.locator != before.locator) {
    qso.locator = after.locator;
  }
  if (after.mode_code != before.mode_code) {
    const std::optional<QsoMode> mode = ModeOfCode(after.mode_code);
    if (mode && *mode != qso.mode) {
      if (qso.report_sent == DefaultReport(qso.mode)) {
        qso.report_sent = DefaultReport(*mode);
      }
      qso.mode = *mode;
    }
  }
  if (after.report_received != before.report_received) {
    qso.report_received = after.report_received;
  }
  if (after.serial_received != before.serial_received) {
    qso.serial_received = after.serial_received;
  }
  if (after.club_code != before.club_code) {
    qso.club_code = after.club_code;
  }
  if (after.distance_km != before.distance_km) {
    // A whole number of km, as the check lets through; 0 scores as a computed 0 km does.
    const double km = LeadingNumber(after.distance_km);
    qso.distance_km = !IsAllDigits(after.distance_km) ? after.distance_km
                      : km < 1                        ? PlainDecimal(ScoredKm(0))
                                                      : PlainDecimal(km);
  }
  return qso;
}

}  // namespace keldra

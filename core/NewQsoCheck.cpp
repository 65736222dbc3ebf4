#include "core/NewQsoCheck.h"

#include "core/ContestLog.h"
#include "core/QsoEdit.h"
#include "core/QsoRecord.h"
#include "core/Text.h"
#include "system/CodePage.h"

namespace keldra {
namespace {

constexpr double kIqrpLastMember = 1100;
constexpr double kMqcLastMember = 600;
constexpr const char* kClubFormatMessage =
    "Errore sul formato numero di iscrizione Club: esempio di formato corretto: I003 o M123";

std::optional<NewQsoRefusal> CheckClubCode(const std::string& code) {
  if (code.empty()) {
    return std::nullopt;
  }
  const NewQsoRefusal format{kClubFormatMessage, EntryField::kClubCode, true};
  if (code[0] != 'I' && code[0] != 'M') {
    return format;
  }
  if (code.size() > 1 && (code[1] == '-' || code[1] == ' ')) {
    return format;
  }
  const double member = LeadingNumber(Mid(code, 2, 4));
  if (code[0] == 'I' && member > kIqrpLastMember) {
    return NewQsoRefusal{"Membro IQRP errato", EntryField::kClubCode, true};
  }
  if (code[0] == 'M' && member > kMqcLastMember) {
    return NewQsoRefusal{"Membro MQC errato", EntryField::kClubCode, true};
  }
  return std::nullopt;
}

std::optional<NewQsoRefusal> FirstFailure(const NewQsoTexts& entry, bool off_line,
                                          const ContestLog& log, std::string& time) {
  if (entry.call.size() < 4) {
    return NewQsoRefusal{"Inserire CallSign...", EntryField::kCall, true};
  }
  if (entry.serial_received.size() != 3) {
    return NewQsoRefusal{"Inserire progressivo ricevuto...", EntryField::kSerialReceived, true};
  }
  // A real six-character locator: the calculator computes any text whose third character is a
  // digit, so a typo such as JN8IGD would otherwise be logged with a distance far off the real one.
  if (!IsSixCharacterLocator(entry.locator)) {
    return NewQsoRefusal{"Inserire il Locatore nel formato corretto... es. JN81GD",
                         EntryField::kLocator, true};
  }
  if (Mid(time, 2, 1) == ".") {
    time = "0" + time;
  }
  if (entry.date.size() != 8) {
    return NewQsoRefusal{"Inserire la data del QSO nel formato DD/MM/YY", EntryField::kDate, false};
  }
  if (!off_line && time.size() == 4) {
    time = "0" + time;
  }
  if (time.size() != 5) {
    return NewQsoRefusal{"Inserire l'ora del QSO nel formato HH:MM", EntryField::kTime, false};
  }
  if (!ModeFromText(entry.mode)) {
    return NewQsoRefusal{Cp1252("Modo non valido: usare SSB o CW (frecce su e giù)"),
                         EntryField::kMode, false};
  }
  if (log.HasCall(entry.call)) {
    return NewQsoRefusal{Cp1252("QSO non valido, la stazione risulta già collegata"),
                         EntryField::kCall, true};
  }
  if (std::optional<NewQsoRefusal> club = CheckClubCode(entry.club_code)) {
    return club;
  }
  // ";" separates the fields of the EDI record and a line end ends it: either one inside a field
  // would break the QSO's record for good.
  const std::pair<const std::string*, EntryField> record_fields[] = {
      {&entry.call, EntryField::kCall},
      {&entry.rst_sent, EntryField::kRstSent},
      {&entry.rst_received, EntryField::kRstReceived},
      {&entry.serial_received, EntryField::kSerialReceived},
      {&entry.club_code, EntryField::kClubCode}};
  for (const auto& [text, field] : record_fields) {
    if (text->find_first_of(";\r\n") != std::string::npos) {
      return NewQsoRefusal{Cp1252("Il carattere ; non può essere usato nei dati del QSO"), field,
                           true};
    }
  }
  return std::nullopt;
}

}  // namespace

NewQsoCheck CheckNewQso(const NewQsoTexts& entry, bool off_line, const ContestLog& log) {
  NewQsoCheck check;
  check.time = entry.time;
  check.refusal = FirstFailure(entry, off_line, log, check.time);
  return check;
}

}  // namespace keldra

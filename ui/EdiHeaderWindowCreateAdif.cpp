// "Crea ADIF" of the EDI header window: the contest's QSOs from the same record list the EDI
// writer reads, with the station, operator and power of this window, handed to the ADIF save
// window. This window stays open: the operator may still want the EDI log.
#include "core/Text.h"
#include "export/Adif.h"
#include "system/CodePage.h"
#include "ui/AdifSaveWindow.h"
#include "ui/EdiHeaderWindow.h"

namespace keldra {

namespace {

// The operators field names the operator when it holds one callsign (letters, digits, "/", at
// least one digit); a list of operators or a name leaves the station's callsign as operator.
std::string OperatorCall(std::string_view operators) {
  const std::string call = ToUpper1252(Trim(operators));
  bool digit = false;
  for (char c : call) {
    digit = digit || IsDigit(c);
    if (!IsDigit(c) && c != '/' && (c < 'A' || c > 'Z')) {
      return {};
    }
  }
  return digit ? call : std::string();
}

}  // namespace

void EdiHeaderWindow::OnCreateAdifPressed() {
  const AdifQsos read = AdifQsosFromRecords(program_.Contest().EdiRecordsText());
  if (!read.problems.empty()) {
    std::string text = "Il Log ADIF non e' stato creato: questo QSO non si puo' scrivere.\n" +
                       read.problems.front();
    if (read.problems.size() > 1) {
      text += "\n(e altri " + std::to_string(read.problems.size() - 1) + ")";
    }
    program_.Message(text + "\nCorreggerlo con \"Modifica QSO\".", MessageIcon::kCritical);
    return;
  }
  if (read.qsos.empty()) {
    program_.Message("Non ci sono QSO da scrivere nel Log ADIF.");
    return;
  }
  const AdifStation station{call.Text(), OperatorCall(operators.Text()), locator.Text(),
                            power.Text()};
  AdifSaveWindow& save = program_.Get<AdifSaveWindow>();
  save.file_name.SetText(AdifFileName(category.Text(), call.Text()));
  save.adif_text.SetText(AdifLogText(station, read.qsos, program_.Time().Utc()));
  save.Show();
}

}  // namespace keldra

// "OK": checks the entry row, logs the QSO, updates the totals and saves the contest.
//
// The checks run in a fixed order and stop at the first failure, which is reported with its
// message, highlights its field where that helps, and puts the cursor there. A refused press
// changes nothing on disk: the state file and its backup stay as they were, so the backup is
// still the restore point it was. A committed QSO is saved at once; when that save fails, the
// next press saves again, refused or not.
#include <optional>

#include "core/QsoEdit.h"
#include "core/QsoRecord.h"
#include "core/Scoring.h"
#include "core/Text.h"
#include "platform/CodePage.h"
#include "ui/BearingCalculatorWindow.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/MainWindow.h"

namespace keldra {

namespace {

constexpr double kIqrpLastMember = 1100;
constexpr double kMqcLastMember = 600;
constexpr const char* kClubFormatMessage =
    "Errore sul formato numero di iscrizione Club: esempio di formato corretto: I003 o M123";

// Why "OK" was refused: the message, the field that takes the cursor, and whether it turns yellow.
struct Refusal {
  std::string message;
  TextBox* field;
  bool highlight;
};

std::optional<Refusal> CheckClubCode(MainWindow& form) {
  const std::string& code = form.club_code.Text();
  if (code.empty()) {
    return std::nullopt;
  }
  const Refusal format{kClubFormatMessage, &form.club_code, true};
  if (code[0] != 'I' && code[0] != 'M') {
    return format;
  }
  if (code.size() > 1 && (code[1] == '-' || code[1] == ' ')) {
    return format;
  }
  const double member = LeadingNumber(Mid(code, 2, 4));
  if (code[0] == 'I' && member > kIqrpLastMember) {
    return Refusal{"Membro IQRP errato", &form.club_code, true};
  }
  if (code[0] == 'M' && member > kMqcLastMember) {
    return Refusal{"Membro MQC errato", &form.club_code, true};
  }
  return std::nullopt;
}

// The checks in their order. Besides checking, it gives a one-digit hour its leading "0".
std::optional<Refusal> FirstFailedCheck(MainWindow& form) {
  if (form.call.Text().size() < 4) {
    return Refusal{"Inserire CallSign...", &form.call, true};
  }
  if (form.serial_received.Text().size() != 3) {
    return Refusal{"Inserire progressivo ricevuto...", &form.serial_received, true};
  }
  // A real six-character locator: the calculator computes any text whose third character is a
  // digit, so a typo such as JN8IGD would otherwise be logged with a distance far off the real one.
  if (!IsSixCharacterLocator(form.locator.Text())) {
    return Refusal{"Inserire il Locatore nel formato corretto... es. JN81GD", &form.locator, true};
  }
  if (Mid(form.time.Text(), 2, 1) == ".") {
    form.time.SetText("0" + form.time.Text());
  }
  if (form.date.Text().size() != 8) {
    return Refusal{"Inserire la data del QSO nel formato DD/MM/YY", &form.date, false};
  }
  // On-line the time comes from the clock; a one-digit hour there is simply completed.
  if (!form.IsOffLine() && form.time.Text().size() == 4) {
    form.time.SetText("0" + form.time.Text());
  }
  if (form.time.Text().size() != 5) {
    return Refusal{"Inserire l'ora del QSO nel formato HH:MM", &form.time, false};
  }
  if (!ModeFromText(form.mode.Text())) {
    return Refusal{U8("Modo non valido: usare SSB o CW (frecce su e giù)"), &form.mode, false};
  }
  if (ListHasCall(form.qso_list.Text(), form.call.Text())) {
    return Refusal{U8("QSO non valido, la stazione risulta già collegata"), &form.call, true};
  }
  if (std::optional<Refusal> club = CheckClubCode(form)) {
    return club;
  }
  // ";" separates the fields of the EDI record and a line end ends it: either one inside a field
  // would break the QSO's record for good.
  for (TextBox* field :
       {&form.call, &form.rst_sent, &form.rst_received, &form.serial_received, &form.club_code}) {
    if (field->Text().find_first_of(";\r\n") != std::string::npos) {
      return Refusal{U8("Il carattere ; non può essere usato nei dati del QSO"), field, true};
    }
  }
  return std::nullopt;
}

// The distance of the QSO is what the QRB indicator shows. Another window may have used the
// calculator since the locator was typed; then it is asked again for this locator.
double QsoDistance(Program& program, MainWindow& form) {
  BearingCalculatorWindow& calculator = program.Get<BearingCalculatorWindow>();
  if (calculator.other_locator.Text() != form.locator.Text()) {
    calculator.other_locator.SetText(form.locator.Text());
  }
  return LeadingNumber(form.distance.Caption());
}

QsoFields FieldsOf(const MainWindow& form, double distance_km) {
  QsoFields qso;
  qso.serial_sent = form.qso_number.Text();
  qso.date = form.date.Text();
  qso.time = form.time.Text();
  qso.band = form.band.Text();
  qso.mode = *ModeFromText(form.mode.Text());
  qso.call = form.call.Text();
  qso.report_sent = form.rst_sent.Text();
  qso.report_received = form.rst_received.Text();
  qso.serial_received = form.serial_received.Text();
  qso.locator = form.locator.Text();
  qso.club_code = form.club_code.Text();
  qso.distance_km = PlainDecimal(distance_km);
  return qso;
}

void Commit(Program& program, MainWindow& form) {
  const QsoFields qso = FieldsOf(form, QsoDistance(program, form));
  const std::string record = EdiRecordLine(qso) + "\r\n";
  // The EDI window's copy first: loading it copies the list as it is before this QSO.
  program.Get<EdiHeaderWindow>().edi_records.AppendText(record);
  form.qso_list.AppendText(QsoListLine(qso) + "\r\n");
  form.edi_records.AppendText(record);

  // The field pads the plain number to three digits itself.
  form.qso_number.SetText(PlainDecimal(LeadingNumber(form.qso_number.Text()) + 1));
  form.ShowTotals(AddQso(form.Totals(), ScoredQso{form.distance.Caption(), form.call.Text(),
                                                  form.locator.Text(), form.club_code.Text()}));

  for (TextBox* field : {&form.call, &form.serial_received, &form.locator, &form.club_code}) {
    field->SetText({});
  }
  form.show_last_qso_button.Press();
  form.call.SetFocus();
  form.distance_bar.SetVisible(false);
  for (TextBox* field : {&form.call, &form.serial_received, &form.locator, &form.club_code}) {
    field->SetBackColor(kWhite);
  }
  if (form.IsOffLine()) {
    form.time.SetText({});
  }
}

}  // namespace

void MainWindow::OnOkPressed() {
  club_code.SetText(Trim(club_code.Text()));
  const std::optional<Refusal> refusal = FirstFailedCheck(*this);
  if (refusal) {
    program_.Message(refusal->message);
    if (refusal->highlight) {
      refusal->field->SetBackColor(kYellow);
    }
    refusal->field->SetFocus();
  } else {
    Commit(program_, *this);
  }
  // Off-line the next QSO starts with its time.
  if (call.Text().size() < 4) {
    if (IsOffLine()) {
      time.SetFocus();
    } else {
      call.SetFocus();
    }
  }
  // A refused press writes nothing, unless an earlier save failed: then the contest on screen is
  // saved now, so the operator retries with "OK" once the disk is back.
  if (!refusal || save_pending) {
    SaveContest(program_, *this);
  }
}

}  // namespace keldra

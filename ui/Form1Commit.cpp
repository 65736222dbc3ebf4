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
#include "ui/ContestFile.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form22222.h"

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

bool OffLine(const Form1& form) { return LeadingNumber(form.Text15.Text()) == 1; }

std::optional<Refusal> CheckClubCode(Form1& form) {
  const std::string& code = form.Text11.Text();
  if (code.empty()) {
    return std::nullopt;
  }
  const Refusal format{kClubFormatMessage, &form.Text11, true};
  if (code[0] != 'I' && code[0] != 'M') {
    return format;
  }
  if (code.size() > 1 && (code[1] == '-' || code[1] == ' ')) {
    return format;
  }
  const double member = LeadingNumber(Mid(code, 2, 4));
  if (code[0] == 'I' && member > kIqrpLastMember) {
    return Refusal{"Membro IQRP errato", &form.Text11, true};
  }
  if (code[0] == 'M' && member > kMqcLastMember) {
    return Refusal{"Membro MQC errato", &form.Text11, true};
  }
  return std::nullopt;
}

// The checks in their order. Besides checking, it gives a one-digit hour its leading "0".
std::optional<Refusal> FirstFailedCheck(Form1& form) {
  if (form.Text6.Text().size() < 4) {
    return Refusal{"Inserire CallSign...", &form.Text6, true};
  }
  if (form.Text9.Text().size() != 3) {
    return Refusal{"Inserire progressivo ricevuto...", &form.Text9, true};
  }
  // A real six-character locator: the calculator computes any text whose third character is a
  // digit, so a typo such as JN8IGD would otherwise be logged with a distance far off the real one.
  if (!IsSixCharacterLocator(form.Text10.Text())) {
    return Refusal{"Inserire il Locatore nel formato corretto... es. JN81GD", &form.Text10, true};
  }
  if (Mid(form.Text3.Text(), 2, 1) == ".") {
    form.Text3.SetText("0" + form.Text3.Text());
  }
  if (form.Text2.Text().size() != 8) {
    return Refusal{"Inserire la data del QSO nel formato DD/MM/YY", &form.Text2, false};
  }
  // On-line the time comes from the clock; a one-digit hour there is simply completed.
  if (!OffLine(form) && form.Text3.Text().size() == 4) {
    form.Text3.SetText("0" + form.Text3.Text());
  }
  if (form.Text3.Text().size() != 5) {
    return Refusal{"Inserire l'ora del QSO nel formato HH:MM", &form.Text3, false};
  }
  if (!ModeFromText(form.Text5.Text())) {
    return Refusal{U8("Modo non valido: usare SSB o CW (frecce su e giù)"), &form.Text5, false};
  }
  if (ListHasCall(form.Text12.Text(), form.Text6.Text())) {
    return Refusal{U8("QSO non valido, la stazione risulta già collegata"), &form.Text6, true};
  }
  if (std::optional<Refusal> club = CheckClubCode(form)) {
    return club;
  }
  // ";" separates the fields of the EDI record and a line end ends it: either one inside a field
  // would break the QSO's record for good.
  for (TextBox* field : {&form.Text6, &form.Text7, &form.Text8, &form.Text9, &form.Text11}) {
    if (field->Text().find_first_of(";\r\n") != std::string::npos) {
      return Refusal{U8("Il carattere ; non può essere usato nei dati del QSO"), field, true};
    }
  }
  return std::nullopt;
}

// The distance of the QSO is what the QRB indicator shows. Another window may have used the
// calculator since the locator was typed; then it is asked again for this locator.
double QsoDistance(Program& program, Form1& form) {
  Form22222& calculator = program.Get<Form22222>();
  if (calculator.Text5.Text() != form.Text10.Text()) {
    calculator.Text5.SetText(form.Text10.Text());
  }
  return LeadingNumber(form.Label13.Caption());
}

QsoFields FieldsOf(const Form1& form, double distance_km) {
  QsoFields qso;
  qso.serial_sent = form.Text1.Text();
  qso.date = form.Text2.Text();
  qso.time = form.Text3.Text();
  qso.band = form.Text4.Text();
  qso.mode = *ModeFromText(form.Text5.Text());
  qso.call = form.Text6.Text();
  qso.report_sent = form.Text7.Text();
  qso.report_received = form.Text8.Text();
  qso.serial_received = form.Text9.Text();
  qso.locator = form.Text10.Text();
  qso.club_code = form.Text11.Text();
  qso.distance_km = PlainDecimal(distance_km);
  return qso;
}

void UpdateTotals(Form1& form) {
  const ContestTotals before{form.Label19.Caption(), form.Label21.Caption(), form.Label23.Caption(),
                             form.Label25.Caption(), form.Label44.Caption(), form.Label27.Caption(),
                             form.Label28.Caption(), form.Label29.Caption(), form.Label51.Caption(),
                             form.Label52.Caption()};
  const ContestTotals after = AddQso(before, ScoredQso{form.Label13.Caption(), form.Text6.Text(),
                                                       form.Text10.Text(), form.Text11.Text()});
  form.Label19.SetCaption(after.qsos);
  form.Label21.SetCaption(after.distance_km);
  form.Label23.SetCaption(after.multipliers);
  form.Label25.SetCaption(after.points);
  form.Label51.SetCaption(after.iqrp);
  form.Label52.SetCaption(after.mqc);
  form.Label44.SetCaption(after.average_km);
  form.Label27.SetCaption(after.odx_call);
  form.Label28.SetCaption(after.odx_locator);
  form.Label29.SetCaption(after.odx_km);
}

void Commit(Program& program, Form1& form) {
  const QsoFields qso = FieldsOf(form, QsoDistance(program, form));
  const std::string record = EdiRecordLine(qso) + "\r\n";
  // The EDI window's copy first: loading it copies the list as it is before this QSO.
  program.Get<Form2>().Text1.AppendText(record);
  form.Text12.AppendText(QsoListLine(qso) + "\r\n");
  form.Text14.AppendText(record);

  // The field pads the plain number to three digits itself.
  form.Text1.SetText(PlainDecimal(LeadingNumber(form.Text1.Text()) + 1));
  UpdateTotals(form);

  for (TextBox* field : {&form.Text6, &form.Text9, &form.Text10, &form.Text11}) {
    field->SetText({});
  }
  form.Command8.Press();
  form.Text6.SetFocus();
  form.Line2.SetVisible(false);
  for (TextBox* field : {&form.Text6, &form.Text9, &form.Text10, &form.Text11}) {
    field->SetBackColor(kWhite);
  }
  if (OffLine(form)) {
    form.Text3.SetText({});
  }
}

}  // namespace

void Form1::Form1_Command1_Click() {
  Text11.SetText(Trim(Text11.Text()));
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
  if (Text6.Text().size() < 4) {
    if (OffLine(*this)) {
      Text3.SetFocus();
    } else {
      Text6.SetFocus();
    }
  }
  // A refused press writes nothing, unless an earlier save failed: then the contest on screen is
  // saved now, so the operator retries with "OK" once the disk is back.
  if (!refusal || save_pending) {
    SaveContest(program_, *this);
  }
}

}  // namespace keldra

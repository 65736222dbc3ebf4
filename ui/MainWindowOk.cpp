// "OK": checks the entry row, logs the QSO, updates the totals and saves the contest.
//
// The checks run in a fixed order and stop at the first failure, which is reported with its
// message, highlights its field where that helps, and puts the cursor there. A refused press
// changes nothing on disk: the state file and its backup stay as they were, so the backup is
// still the restore point it was. A committed QSO is saved at once; when that save fails, the
// next press saves again, refused or not.
#include <optional>

#include "core/NewQsoCheck.h"
#include "core/QsoDistance.h"
#include "core/QsoRecord.h"
#include "core/Text.h"
#include "system/CodePage.h"
#include "ui/ContestFile.h"
#include "ui/MainWindow.h"

namespace keldra {

namespace {

// Why "OK" was refused: the message, the field that takes the cursor, and whether it turns yellow.
struct Refusal {
  std::string message;
  TextBox* field;
  bool highlight;
};

TextBox& FieldOf(MainWindow& form, EntryField field) {
  switch (field) {
    case EntryField::kDate:
      return form.date;
    case EntryField::kTime:
      return form.time;
    case EntryField::kMode:
      return form.mode;
    case EntryField::kCall:
      return form.call;
    case EntryField::kRstSent:
      return form.rst_sent;
    case EntryField::kRstReceived:
      return form.rst_received;
    case EntryField::kSerialReceived:
      return form.serial_received;
    case EntryField::kLocator:
      return form.locator;
    case EntryField::kClubCode:
      return form.club_code;
  }
  return form.call;
}

// The checks of the row (CheckNewQso); a one-digit hour they completed is shown at once.
std::optional<Refusal> FirstFailedCheck(MainWindow& form) {
  const NewQsoTexts entry{form.date.Text(),
                          form.time.Text(),
                          form.mode.Text(),
                          form.call.Text(),
                          form.rst_sent.Text(),
                          form.rst_received.Text(),
                          form.serial_received.Text(),
                          form.locator.Text(),
                          form.club_code.Text()};
  const NewQsoCheck check = CheckNewQso(entry, form.IsOffLine(), form.Log());
  if (check.time != form.time.Text()) {
    form.time.SetText(check.time);
  }
  if (!check.refusal) {
    return std::nullopt;
  }
  return Refusal{check.refusal->message, &FieldOf(form, check.refusal->field),
                 check.refusal->highlight};
}

// The row's QSO with the distance it scores from the station: what the QRB indicator shows.
LoggedQso QsoOnScreen(Program& program, const MainWindow& form) {
  LoggedQso qso;
  qso.serial = static_cast<long long>(LeadingNumber(form.qso_number.Text()));
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
  qso.km = ScoredKm(program.Calculator().From(qso.locator).km);
  return qso;
}

void Commit(Program& program, MainWindow& form) {
  // The window shows the QSO, the serial and the totals as the log tells it.
  program.Contest().Log(QsoOnScreen(program, form));

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

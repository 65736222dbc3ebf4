// The entry row as the operator types it: moving on with Enter or Space, each field normalising
// its own text as it changes, when it is left, or when the next field is entered, so that "OK"
// meets the forms it checks. The row also shows the distance and bearing of the locator being
// typed and warns of a callsign already in the list.
#include <algorithm>

#include "core/EntryDate.h"
#include "core/QsoDistance.h"
#include "core/Text.h"
#include "data/Clubs.h"
#include "system/CodePage.h"
#include "ui/Calculator.h"
#include "ui/MainWindow.h"
#include "ui/UpperCaseField.h"

namespace keldra {

namespace {

void TrimField(TextBox& field) { field.SetText(Trim(field.Text())); }

// Whether the list text holds `call` anywhere (the early duplicate hint; the commit refuses by
// whole callsign). The plain find scans a 20,000-QSO list in a fraction of a millisecond.
bool ListContains(const std::string& list, const std::string& call) {
  return list.find(call) != std::string::npos;
}

}  // namespace

void MainWindow::OnQsoNumberChanged() {
  const std::size_t length = qso_number.Text().size();
  if (length == 1 || length == 2) {
    qso_number.SetText(ZeroFill(qso_number.Text(), 3));
  }
}

void MainWindow::OnDateLeft() {
  date.SetText(NormalizeTypedDate(date.Text()));
  date.CaretToEnd();
}

void MainWindow::OnTimeChanged() {
  const std::string& typed = time.Text();
  if (typed.size() == 4 && IsAllDigits(typed)) {
    time.SetText(Mid(typed, 1, 2) + "." + Mid(typed, 3, 2));
    time.CaretToEnd();
  }
}

void MainWindow::OnTimeLeft() {
  std::string typed = time.Text();
  std::replace(typed.begin(), typed.end(), ':', '.');
  time.SetText(std::move(typed));
}

void MainWindow::OnModeKeyDown(int key_code, bool& handled) {
  if (key_code == key::kUp || key_code == key::kDown) {
    handled = true;
    if (mode.Text() != "SSB" && mode.Text() != "CW") {
      return;
    }
    const bool ssb = key_code == key::kUp;
    mode.SetText(ssb ? "SSB" : "CW");
    rst_sent.SetText(ssb ? "59" : "599");
    rst_received.SetText(ssb ? "59" : "599");
    mode.CaretToEnd();
    return;
  }
  OnEntryRowKeyDown(mode, key_code, handled);
}

void MainWindow::OnCallChanged() {
  if (RewroteUpperCase(call)) {
    return;
  }
  const bool logged =
      call.Text().size() >= 4 && ListContains(program_.Contest().QsoListText(), call.Text());
  call.SetBackColor(logged ? kYellow : kWhite);
  duplicate_warning.SetVisible(logged);
  ShowKnownCalls();
  ShowHistoryLine();
}

void MainWindow::OnSerialReceivedEntered() {
  OnEntryRowEntered(serial_received);
  const std::optional<std::string> code =
      LookUpClubCode(program_.Disk(), program_.Folder(), call.Text());
  if (code) {
    club_code.SetText(*code);
  }
}

void MainWindow::OnSerialReceivedLeft() {
  TrimField(serial_received);
  const std::size_t length = serial_received.Text().size();
  if (length == 1 || length == 2) {
    serial_received.SetText(ZeroFill(serial_received.Text(), 3));
  }
}

// The QRB and QTF of the row: what the QSO scores (the 1 km rule) and its bearing.
void MainWindow::ShowPath(const CalculatedPath& path) {
  if (path.own_too_long) {
    program_.Message(kOwnLocatorTooLong);
  }
  bearing.SetCaption(path.bearing);
  const bool scores_as_computed = path.km && *path.km == ScoredKm(path.km);
  distance.SetCaption(scores_as_computed ? path.distance : PlainDecimal(ScoredKm(path.km)));
}

void MainWindow::OnLocatorChanged() {
  if (RewroteUpperCase(locator)) {
    return;
  }
  const bool complete = locator.Text().size() == 6;
  if (complete) {
    ShowPath(program_.Calculator().From(locator.Text()));
    distance_bar.SetVisible(true);  // also when the distance is the last QSO's and nothing changed
    if (radio_settings_.auto_turn) {
      TurnAntenna(false);
    }
  }
  for (Label* label :
       {&distance_caption, &distance, &bearing_caption, &bearing, &distance_unit, &bearing_unit}) {
    label->SetVisible(complete);
  }
  ShowHistoryLine();
}

void MainWindow::OnLocatorEntered() {
  OnEntryRowEntered(locator);
  // On-line the QSO takes the moment the operator reached the locator, in UTC from the clock
  // (which also moves the date back when UTC is still the day before).
  if (!IsOffLine()) {
    const DateTime utc = program_.Time().Utc();
    date.SetText(FormatDateShort(utc));
    time.SetText(FormatTime(utc));
  }
  // A one-digit hour, typed off-line, gets its "0": 7.20 gives 07.20, 920 gives 0920 (09.20).
  if (Mid(time.Text(), 2, 1) == ".") {
    time.SetText("0" + time.Text());
  }
  const std::string first_three = Left(time.Text(), 3);
  if (first_three.size() == 3 && IsAllDigits(first_three)) {
    time.SetText("0" + time.Text());
  }
  FillKnownLocator();
  ShowHistoryLine();
}

void MainWindow::OnClubCodeChanged() { RewroteUpperCase(club_code); }

void MainWindow::OnEntryRowKeyDown(TextBox& field, int key_code, bool& handled) {
  if (key_code != key::kEnter && key_code != key::kSpace) {
    return;
  }
  handled = true;
  TextBox* const row[] = {&date,    &time,     &band,         &mode,
                          &call,    &rst_sent, &rst_received, &serial_received,
                          &locator, &club_code};
  const auto it = std::find(std::begin(row), std::end(row), &field);
  if (it == std::end(row)) {
    return;
  }
  if (it + 1 == std::end(row)) {
    ok_button.SetFocus();
  } else {
    (*(it + 1))->SetFocus();
  }
}

void MainWindow::OnEntryRowEntered(TextBox& field) {
  TextBox* const row[] = {&date,    &time,     &band,         &mode,
                          &call,    &rst_sent, &rst_received, &serial_received,
                          &locator, &club_code};
  const auto it = std::find(std::begin(row), std::end(row), &field);
  if (it != std::end(row) && it != std::begin(row)) {
    TrimField(**(it - 1));
  }
  field.CaretToEnd();
}

}  // namespace keldra

#include "ui/QsoEditWindow.h"

#include <utility>

#include "core/QsoDistance.h"
#include "core/Text.h"
#include "system/CodePage.h"
#include "ui/Calculator.h"
#include "ui/ContestFile.h"
#include "ui/HistoryHint.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/UpperCaseField.h"

namespace keldra {

namespace {

constexpr Color kRed{255, 0, 0};
constexpr Color kGrey{96, 96, 96};

}  // namespace

QsoEditWindow::QsoEditWindow(Program& program)
    : Form(program.Desktop(), "Form6", "Keldra qrp Test - Modfica dati QSO", Px(600), Px(330)),
      program_(program) {
  Layout();
  Wire();
}

void QsoEditWindow::Layout() {
  Place(search_call_caption, 16, 14, 260, 20);
  search_call_caption.SetFont({.bold = true});
  search_call_caption.SetForeColor(kRed);
  Place(search_call, 16, 36, 190, 30);
  search_call.SetFont({.bold = true, .points = 12});
  Place(search_button, 216, 35, 90, 32);
  search_button.SetFont({.bold = true});

  // Two columns, each field after its caption; the old locator stands beside the locator field.
  constexpr int kTop = 88;
  constexpr int kRow = 36;
  const std::pair<Label*, TextBox*> left[] = {{&call_caption, &call},
                                              {&date_caption, &date},
                                              {&time_caption, &time},
                                              {&locator_caption, &locator},
                                              {&distance_caption, &distance}};
  int y = kTop;
  for (const auto& [caption, field] : left) {
    Place(*caption, 16, y + 5, 70, 20);
    caption->SetFont({.bold = true});
    Place(*field, 90, y, 120, 28);
    field->SetFont({.points = 11});
    y += kRow;
  }
  Place(old_locator, 218, kTop + 3 * kRow + 5, 80, 20);
  old_locator.SetForeColor(kGrey);
  old_locator.SetToolTip("Locatore registrato");

  const std::pair<Label*, TextBox*> right[] = {{&mode_caption, &mode},
                                               {&rst_received_caption, &rst_received},
                                               {&serial_received_caption, &serial_received},
                                               {&club_code_caption, &club_code},
                                               {&club_bonus_caption, &club_bonus}};
  y = kTop;
  for (const auto& [caption, field] : right) {
    Place(*caption, 316, y + 5, 100, 20);
    caption->SetFont({.bold = true});
    Place(*field, 420, y, 80, 28);
    field->SetFont({.points = 11});
    y += kRow;
  }
  Place(mode, 420, kTop, 40, 28);
  Place(mode_hint, 468, kTop + 5, 120, 20);
  date.SetToolTip("AAMMGG es. 230716");
  time.SetToolTip("HHMM es. 0912");
  locator.SetToolTip("(6 caratteri es. JN81GD)");
  club_code.SetToolTip("(es. I003 o M123)");
  distance.SetEnabled(false);
  club_bonus.SetEnabled(false);

  Place(history_line, 16, 268, 360, 20);
  history_line.SetFont({.bold = true});

  Place(modify_button, 384, 280, 100, 34);
  modify_button.SetFont({.bold = true});
  Place(close_button, 492, 280, 92, 34);

  modify_button.SetVisible(false);
  ShowEditArea(false);
}

void QsoEditWindow::Wire() {
  search_call.Change = [this] { OnSearchCallChanged(); };
  locator.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnLocatorKeyDown(key_code, handled);
  };
  search_call.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnSearchCallKeyDown(key_code, handled);
  };
  call.Change = [this] { OnCallChanged(); };
  locator.Change = [this] { OnLocatorChanged(); };
  mode.Change = [this] { OnModeChanged(); };
  club_code.Change = [this] { OnClubCodeChanged(); };
  distance.Change = [this] { OnDistanceChanged(); };
  search_button.Click = [this] { OnSearchPressed(); };
  modify_button.Click = [this] { OnModifyPressed(); };
  close_button.Click = [this] { OnClosePressed(); };
}

void QsoEditWindow::ShowEditArea(bool visible) {
  for (Control* control : std::initializer_list<Control*>{&call_caption,
                                                          &date_caption,
                                                          &time_caption,
                                                          &locator_caption,
                                                          &mode_caption,
                                                          &rst_received_caption,
                                                          &serial_received_caption,
                                                          &mode_hint,
                                                          &club_code_caption,
                                                          &distance_caption,
                                                          &club_bonus_caption,
                                                          &call,
                                                          &date,
                                                          &time,
                                                          &locator,
                                                          &mode,
                                                          &rst_received,
                                                          &serial_received,
                                                          &club_code,
                                                          &distance,
                                                          &club_bonus}) {
    control->SetVisible(visible);
  }
}

void QsoEditWindow::EmptyEditArea() {
  for (TextBox* field : {&call, &date, &time, &locator, &mode, &rst_received, &serial_received,
                         &club_code, &distance, &club_bonus}) {
    field->SetText({});
  }
  old_locator.SetCaption({});
}

void QsoEditWindow::OnSearchCallChanged() { RewroteUpperCase(search_call); }

void QsoEditWindow::OnSearchCallKeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) {
    return;
  }
  handled = true;
  search_button.Press();
}

void QsoEditWindow::OnCallChanged() {
  if (RewroteUpperCase(call)) {
    return;
  }
  if (call.Text().size() > 3) {
    modify_button.SetVisible(true);
  }
  ShowHistoryLine();
}

void QsoEditWindow::OnLocatorChanged() {
  if (RewroteUpperCase(locator)) {
    return;
  }
  if (locator.Text().size() == 6) {
    RequestDistance();
  }
  ShowHistoryLine();
}

void QsoEditWindow::RequestDistance() {
  // A locator that cannot be computed leaves the calculator's failure text, which the check of
  // "Modifica" refuses; any other scores as a commit scores it.
  const CalculatedPath path = program_.Calculator().From(locator.Text());
  distance.SetText(path.km ? PlainDecimal(ScoredKm(path.km)) : path.distance);
  if (!club_code.Text().empty()) {
    club_bonus.SetText(distance.Text());
  }
}

void QsoEditWindow::OnModeChanged() {
  const std::string& code = mode.Text();
  if (code == "1") {
    rst_received.SetText("59");
  }
  if (code == "0") {
    rst_received.SetText("599");
  }
  if (!code.empty() && !ModeOfCode(code)) {
    program_.Message("I modi consentiti sono: 0 - CW  1 - SSB");
    mode.SetText({});
    mode.SetFocus();
  }
}

void QsoEditWindow::OnClubCodeChanged() {
  if (RewroteUpperCase(club_code)) {
    return;
  }
  const std::string& code = club_code.Text();
  if (code.empty()) {
    club_bonus.SetText("0");
  } else if ((code.front() == 'I' || code.front() == 'M') && club_bonus.Text() == "0") {
    club_bonus.SetText(distance.Text());
  }
}

void QsoEditWindow::OnDistanceChanged() {
  const std::string trimmed = Trim(distance.Text());
  if (trimmed != distance.Text()) {
    distance.SetText(trimmed);
    return;
  }
  if (!club_code.Text().empty()) {
    club_bonus.SetText(distance.Text());
  }
}

void QsoEditWindow::OnSearchPressed() {
  // A blank pasted around the callsign is no part of it.
  const std::string wanted = Trim(search_call.Text());
  if (wanted.empty()) {
    program_.Message("Inserire il Call da modificare", MessageIcon::kCritical);
    return;
  }
  found_.reset();
  EmptyEditArea();
  ShowEditArea(true);

  const ContestLog& log = program_.Contest();
  QsoSearch search = FindQsoForEdit(log.EdiRecordsText(), log.QsoListText(), wanted);
  // A record whose serial or distance is no number is in no format the log can correct.
  if (search.found && !log.Entries()[search.found->index].qso) {
    search = QsoSearch{QsoSearchStatus::kUnreadable, std::nullopt, search.found->record_line};
  }
  if (search.status != QsoSearchStatus::kFound) {
    modify_button.SetVisible(false);
    ShowEditArea(false);
    if (search.status == QsoSearchStatus::kNotFound) {
      program_.Message("Call non trovato nel LOG", MessageIcon::kCritical);
    } else {
      program_.Message(
          "Il QSO di " + wanted +
              Cp1252(" non è scritto nel LOG nel formato atteso e non può essere modificato qui."),
          MessageIcon::kCritical);
    }
    return;
  }

  found_ = std::move(search.found);
  const QsoEditTexts shown = found_->shown;
  // In this order: writing the mode proposes its report before the stored one replaces it, and
  // writing the locator recomputes the distance against the stored one.
  distance.SetText(shown.distance_km);
  call.SetText(shown.call);
  time.SetText(shown.time);
  date.SetText(shown.date);
  mode.SetText(shown.mode_code);
  rst_received.SetText(shown.report_received);
  serial_received.SetText(shown.serial_received);
  club_code.SetText(shown.club_code);
  old_locator.SetCaption(shown.locator);
  locator.SetText(shown.locator);
  club_bonus.SetText(club_code.Text().empty() ? "0" : distance.Text());
  distance.SetText(Trim(distance.Text()));
}

QsoEditTexts QsoEditWindow::FieldTexts() const {
  return QsoEditTexts{call.Text(),
                      date.Text(),
                      time.Text(),
                      locator.Text(),
                      mode.Text(),
                      rst_received.Text(),
                      serial_received.Text(),
                      club_code.Text(),
                      distance.Text()};
}

TextBox& QsoEditWindow::FieldOf(EditField field) {
  switch (field) {
    case EditField::kCall:
      return call;
    case EditField::kDate:
      return date;
    case EditField::kTime:
      return time;
    case EditField::kLocator:
      return locator;
    case EditField::kMode:
      return mode;
    case EditField::kReportReceived:
      return rst_received;
    case EditField::kSerialReceived:
      return serial_received;
    case EditField::kClubCode:
      return club_code;
    case EditField::kDistance:
      break;
  }
  return distance;
}

QsoEditWindow::Applied QsoEditWindow::Apply(const QsoEditTexts& before, const QsoEditTexts& after) {
  ContestLog& log = program_.Contest();
  const std::size_t index = found_->index;
  // Another window may have changed the log since the search.
  if (index >= log.Entries().size() || !log.Entries()[index].qso ||
      log.Entries()[index].record_line != found_->record_line ||
      log.Entries()[index].list_line != found_->list_line) {
    return Applied::kListsChangedSinceTheSearch;
  }
  const QsoFields edited = EditedQso(FieldsOf(*log.Entries()[index].qso), before, after);
  if (EdiRecordLine(edited) == found_->record_line && QsoListLine(edited) == found_->list_line) {
    return Applied::kNothingChanged;
  }
  const std::optional<LoggedQso> qso = QsoOf(edited);
  if (!qso || !log.Correct(index, *qso)) {
    return Applied::kListsChangedSinceTheSearch;
  }
  return Applied::kChanged;
}

void QsoEditWindow::OnModifyPressed() {
  if (!found_) {
    return;  // nothing found to modify
  }
  const QsoEditTexts before = found_->shown;
  const QsoEditTexts after = FieldTexts();
  if (const std::optional<EditRefusal> refusal = CheckQsoEdit(before, after)) {
    program_.Message(refusal->message);
    TextBox& field = FieldOf(refusal->field);
    if (refusal->clear_field) {
      field.SetText({});
    }
    field.SetFocus();
    return;
  }
  const Applied applied = Apply(before, after);
  if (applied == Applied::kListsChangedSinceTheSearch) {
    program_.Message(Cp1252("Il LOG è cambiato dopo la ricerca: cercare di nuovo il QSO."),
                     MessageIcon::kCritical);
    return;
  }

  program_.Message("I dati del QSO sono stati modificati");
  found_.reset();
  search_call.SetText({});
  EmptyEditArea();
  modify_button.SetVisible(false);
  ShowEditArea(false);
  search_call.SetFocus();
  // Nothing changed, nothing written: the backup stays the restore point it was.
  if (applied == Applied::kNothingChanged) {
    return;
  }
  SaveContest(program_, program_.Get<MainWindow>());
}

void QsoEditWindow::OnClosePressed() { Unload(); }

// The files' history only: the running contest knows this QSO's own locator, right or wrong.
void QsoEditWindow::ShowHistoryLine() {
  const HistoryHint hint =
      DescribeHistory(program_.History().FromFiles().Locators(Trim(call.Text())), locator.Text());
  history_line.SetForeColor(hint.differs ? kHistoryDiffers : kBlack);
  history_line.SetCaption(hint.text);
}

void QsoEditWindow::OnLocatorKeyDown(int key_code, bool& handled) {
  if (key_code != kSwapKnownLocatorKey) {
    return;
  }
  handled = true;
  const auto next =
      NextKnownLocator(program_.History().FromFiles().Locators(Trim(call.Text())), locator.Text());
  if (next) {
    locator.SetText(*next);
    locator.SelectAll();
  }
}

}  // namespace keldra

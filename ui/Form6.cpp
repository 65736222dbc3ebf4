#include "ui/Form6.h"

#include <utility>

#include "core/Text.h"
#include "platform/CodePage.h"
#include "ui/ContestFile.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form22222.h"
#include "ui/Layout.h"

namespace keldra {

namespace {

constexpr Color kRed{255, 0, 0};
constexpr Color kGrey{96, 96, 96};

// Code fields keep themselves in upper case with the caret at the end. Returns false when the
// text was rewritten: the rewrite ran the change handler again, which did the rest.
bool KeepUpperCase(TextBox& field) {
  const std::string upper = ToUpper1252(field.Text());
  if (upper != field.Text()) {
    field.SetText(upper);
    return false;
  }
  field.CaretToEnd();
  return true;
}

void Fill(TextBox& field, Label& old_value, const std::string& text) {
  field.SetText(text);
  old_value.SetCaption(text);
}

void ShowTotals(Form1& main, const ContestTotals& totals) {
  // The QSO count stays: an edit neither adds nor removes a QSO.
  main.Label21.SetCaption(totals.distance_km);
  main.Label23.SetCaption(totals.multipliers);
  main.Label25.SetCaption(totals.points);
  main.Label44.SetCaption(totals.average_km);
  main.Label27.SetCaption(totals.odx_call);
  main.Label28.SetCaption(totals.odx_locator);
  main.Label29.SetCaption(totals.odx_km);
  main.Label51.SetCaption(totals.iqrp);
  main.Label52.SetCaption(totals.mqc);
}

}  // namespace

Form6::Form6(Program& program)
    : Form(program.Desktop(), "Form6", "Keldra qrp Test - Modfica dati QSO", Px(600), Px(330)),
      program_(program) {
  Layout();
  Wire();
}

void Form6::Layout() {
  Place(Label1, 16, 14, 260, 20);
  Label1.SetFont({.bold = true});
  Label1.SetForeColor(kRed);
  Place(Text1, 16, 36, 190, 30);
  Text1.SetFont({.bold = true, .points = 12});
  Place(Command3, 216, 35, 90, 32);
  Command3.SetFont({.bold = true});

  // Two columns, each field after its caption; the old locator stands beside the locator field.
  constexpr int kTop = 88;
  constexpr int kRow = 36;
  const std::pair<Label*, TextBox*> left[] = {{&Label2, &Text2},
                                              {&Label3, &Text3},
                                              {&Label4, &Text4},
                                              {&Label5, &Text5},
                                              {&Label19, &Text10}};
  int y = kTop;
  for (const auto& [caption, field] : left) {
    Place(*caption, 16, y + 5, 70, 20);
    caption->SetFont({.bold = true});
    Place(*field, 90, y, 120, 28);
    field->SetFont({.points = 11});
    y += kRow;
  }
  Place(Label12, 218, kTop + 3 * kRow + 5, 80, 20);
  Label12.SetForeColor(kGrey);
  Label12.SetToolTip("Locatore registrato");

  const std::pair<Label*, TextBox*> right[] = {{&Label6, &Text6},
                                               {&Label7, &Text7},
                                               {&Label8, &Text8},
                                               {&Label17, &Text9},
                                               {&Label21, &Text11}};
  y = kTop;
  for (const auto& [caption, field] : right) {
    Place(*caption, 316, y + 5, 100, 20);
    caption->SetFont({.bold = true});
    Place(*field, 420, y, 80, 28);
    field->SetFont({.points = 11});
    y += kRow;
  }
  Place(Text6, 420, kTop, 40, 28);
  Place(Label16, 468, kTop + 5, 120, 20);
  Text3.SetToolTip("AAMMGG es. 230716");
  Text4.SetToolTip("HHMM es. 0912");
  Text5.SetToolTip("(6 caratteri es. JN81GD)");
  Text9.SetToolTip("(es. I003 o M123)");
  Text10.SetEnabled(false);
  Text11.SetEnabled(false);

  Place(Command1, 384, 280, 100, 34);
  Command1.SetFont({.bold = true});
  Place(Command2, 492, 280, 92, 34);

  for (Label* old_value :
       {&Label9, &Label10, &Label11, &Label13, &Label14, &Label15, &Label18, &Label20, &Label22}) {
    Place(*old_value, 16, 290, 60, 20);
    old_value->SetVisible(false);
  }
  Command1.SetVisible(false);
  ShowEditArea(false);
}

void Form6::Wire() {
  Text1.Change = [this] { Form6_Text1_Change(); };
  Text1.KeyDown = [this](int key_code, KeyModifiers, bool& handled) { Form6_Text1_KeyDown(key_code, handled); };
  Text2.Change = [this] { Form6_Text2_Change(); };
  Text5.Change = [this] { Form6_Text5_Change(); };
  Text6.Change = [this] { Form6_Text6_Change(); };
  Text9.Change = [this] { Form6_Text9_Change(); };
  Text10.Change = [this] { Form6_Text10_Change(); };
  Command3.Click = [this] { Form6_Command3_Click(); };
  Command1.Click = [this] { Form6_Command1_Click(); };
  Command2.Click = [this] { Form6_Command2_Click(); };
}

void Form6::ShowEditArea(bool visible) {
  for (Control* control : std::initializer_list<Control*>{
           &Label2,  &Label3,  &Label4,  &Label5,  &Label6, &Label7, &Label8,
           &Label16, &Label17, &Label19, &Label21, &Text2,  &Text3,  &Text4,
           &Text5,   &Text6,   &Text7,   &Text8,   &Text9,  &Text10, &Text11}) {
    control->SetVisible(visible);
  }
}

void Form6::EmptyEditArea() {
  for (TextBox* field :
       {&Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text9, &Text10, &Text11}) {
    field->SetText({});
  }
  for (Label* old_value : {&Label9, &Label10, &Label11, &Label12, &Label13, &Label14, &Label15,
                           &Label18, &Label20, &Label22}) {
    old_value->SetCaption({});
  }
}

void Form6::Form6_Text1_Change() { KeepUpperCase(Text1); }

void Form6::Form6_Text1_KeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) {
    return;
  }
  handled = true;
  Command3.Press();
}

void Form6::Form6_Text2_Change() {
  if (!KeepUpperCase(Text2)) {
    return;
  }
  if (Text2.Text().size() > 3) {
    Command1.SetVisible(true);
  }
}

void Form6::Form6_Text5_Change() {
  if (!KeepUpperCase(Text5)) {
    return;
  }
  if (Text5.Text().size() == 6) {
    RequestDistance();
  }
}

void Form6::RequestDistance() {
  Form22222& calculator = program_.Get<Form22222>();
  // The calculator keeps its last result; the same locator is computed again all the same, in
  // case the own locator changed since.
  if (calculator.Text5.Text() == Text5.Text()) {
    calculator.Command1.Press();
  } else {
    calculator.Text5.SetText(Text5.Text());
  }
  std::string distance = calculator.Text6.Text();
  // Inside the own subsquare the commit stores 1 km; so does the edit.
  if (IsAllDigits(Trim(distance)) && LeadingNumber(distance) == 0) {
    distance = "1";
  }
  Text10.SetText(distance);
  if (!Text9.Text().empty()) {
    Text11.SetText(Text10.Text());
  }
}

void Form6::Form6_Text6_Change() {
  const std::string& code = Text6.Text();
  if (code == "1") {
    Text7.SetText("59");
  }
  if (code == "0") {
    Text7.SetText("599");
  }
  if (!code.empty() && !ModeOfCode(code)) {
    program_.Message("I modi consentiti sono: 0 - CW  1 - SSB");
    Text6.SetText({});
    Text6.SetFocus();
  }
}

void Form6::Form6_Text9_Change() {
  if (!KeepUpperCase(Text9)) {
    return;
  }
  const std::string& code = Text9.Text();
  if (code.empty()) {
    Text11.SetText("0");
  } else if ((code.front() == 'I' || code.front() == 'M') && Text11.Text() == "0") {
    Text11.SetText(Text10.Text());
  }
}

void Form6::Form6_Text10_Change() {
  const std::string trimmed = Trim(Text10.Text());
  if (trimmed != Text10.Text()) {
    Text10.SetText(trimmed);
    return;
  }
  if (!Text9.Text().empty()) {
    Text11.SetText(Text10.Text());
  }
}

void Form6::Form6_Command3_Click() {
  // A blank pasted around the callsign is no part of it.
  const std::string call = Trim(Text1.Text());
  if (call.empty()) {
    program_.Message("Inserire il Call da modificare", MessageIcon::kCritical);
    return;
  }
  found_.reset();
  EmptyEditArea();
  ShowEditArea(true);

  // Loading the EDI window fills its copy of the record list, so a first search sees every QSO.
  const Form2& edi = program_.Get<Form2>();
  const Form1& main = program_.Get<Form1>();
  QsoSearch search = FindQsoForEdit(edi.Text1.Text(), main.Text12.Text(), call);
  if (search.status != QsoSearchStatus::kFound) {
    Command1.SetVisible(false);
    ShowEditArea(false);
    if (search.status == QsoSearchStatus::kNotFound) {
      program_.Message("Call non trovato nel LOG", MessageIcon::kCritical);
    } else {
      program_.Message("Il QSO di " + call +
                           " non \xE8 scritto nel LOG nel formato atteso e non pu\xF2 essere "
                           "modificato qui.",
                       MessageIcon::kCritical);
    }
    return;
  }

  found_ = std::move(search.found);
  const QsoEditTexts shown = found_->shown;
  // In this order: writing the mode proposes its report before the stored one replaces it, and
  // writing the locator recomputes the distance against the stored one.
  Fill(Text10, Label20, shown.distance_km);
  Fill(Text2, Label9, shown.call);
  Fill(Text4, Label11, shown.time);
  Fill(Text3, Label10, shown.date);
  Fill(Text6, Label13, shown.mode_code);
  Fill(Text7, Label14, shown.report_received);
  Fill(Text8, Label15, shown.serial_received);
  Fill(Text9, Label18, shown.club_code);
  Fill(Text5, Label12, shown.locator);
  if (Text9.Text().empty()) {
    Text11.SetText("0");
    Label22.SetCaption("0");
  } else {
    Text11.SetText(Text10.Text());
    Label22.SetCaption(Text11.Text());
  }
  Text10.SetText(Trim(Text10.Text()));
}

QsoEditTexts Form6::FieldTexts() const {
  return QsoEditTexts{Text2.Text(), Text3.Text(), Text4.Text(), Text5.Text(), Text6.Text(),
                      Text7.Text(), Text8.Text(), Text9.Text(), Text10.Text()};
}

QsoEditTexts Form6::OldTexts() const {
  return QsoEditTexts{Label9.Caption(),  Label10.Caption(), Label11.Caption(),
                      Label12.Caption(), Label13.Caption(), Label14.Caption(),
                      Label15.Caption(), Label18.Caption(), Label20.Caption()};
}

TextBox& Form6::FieldOf(EditField field) {
  switch (field) {
    case EditField::kCall:
      return Text2;
    case EditField::kDate:
      return Text3;
    case EditField::kTime:
      return Text4;
    case EditField::kLocator:
      return Text5;
    case EditField::kMode:
      return Text6;
    case EditField::kReportReceived:
      return Text7;
    case EditField::kSerialReceived:
      return Text8;
    case EditField::kClubCode:
      return Text9;
    case EditField::kDistance:
      break;
  }
  return Text10;
}

Form6::Applied Form6::Apply(const QsoEditTexts& before, const QsoEditTexts& after) {
  Form1& main = program_.Get<Form1>();
  Form2& edi = program_.Get<Form2>();
  const std::string record_line = EdiRecordLine(EditedQso(found_->record, before, after));
  const std::string list_line = QsoListLine(EditedQso(found_->listed, before, after));
  if (record_line == found_->record_line && list_line == found_->list_line) {
    return Applied::kNothingChanged;
  }
  std::optional<std::string> records =
      WithLineReplaced(edi.Text1.Text(), found_->record_start, found_->record_line, record_line);
  std::optional<std::string> list =
      WithLineReplaced(main.Text12.Text(), found_->list_start, found_->list_line, list_line);
  if (!records || !list) {
    return Applied::kListsChangedSinceTheSearch;
  }
  edi.Text1.SetText(std::move(*records));
  main.Text12.SetText(std::move(*list));
  ShowTotals(main, TotalsOfRecords(edi.Text1.Text()));
  return Applied::kChanged;
}

void Form6::Form6_Command1_Click() {
  if (!found_) {
    return;  // nothing found to modify
  }
  const QsoEditTexts before = OldTexts();
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
    program_.Message(U8("Il LOG è cambiato dopo la ricerca: cercare di nuovo il QSO."),
                     MessageIcon::kCritical);
    return;
  }

  program_.Message("I dati del QSO sono stati modificati");
  found_.reset();
  Text1.SetText({});
  EmptyEditArea();
  Command1.SetVisible(false);
  ShowEditArea(false);
  Text1.SetFocus();
  // Nothing changed, nothing written: the backup stays the restore point it was.
  if (applied == Applied::kNothingChanged) {
    return;
  }
  Form1& main = program_.Get<Form1>();
  main.Text14.SetText(program_.Get<Form2>().Text1.Text());
  SaveContest(program_, main);
}

void Form6::Form6_Command2_Click() { Unload(); }

}  // namespace keldra

// The entry row as the operator types it: moving on with Enter or Space, each field normalising
// its own text as it changes, when it is left, or when the next field is entered, so that "OK"
// meets the forms it checks. The row also shows the distance and bearing of the locator being
// typed and warns of a callsign already in the list.
#include <algorithm>

#include "core/EntryDate.h"
#include "core/Text.h"
#include "data/Clubs.h"
#include "platform/CodePage.h"
#include "ui/Form1.h"
#include "ui/Form22222.h"

namespace keldra {

namespace {

// Upper case with the caret at the end. Returns true when the text was rewritten: the rewrite has
// run the field's change handler again, which did the rest, so the caller stops.
bool RewroteUpperCase(TextBox& field) {
  std::string upper = ToUpper1252(field.Text());
  if (upper != field.Text()) {
    field.SetText(std::move(upper));
    return true;
  }
  field.CaretToEnd();
  return false;
}

void TrimField(TextBox& field) { field.SetText(Trim(field.Text())); }

bool OnLine(const TextBox& mode_flag) { return LeadingNumber(mode_flag.Text()) == 0; }

// Whether the list text holds `call` anywhere (the early duplicate hint; the commit refuses by
// whole callsign). The plain find scans a 20,000-QSO list in a fraction of a millisecond.
bool ListContains(const std::string& list, const std::string& call) {
  return list.find(call) != std::string::npos;
}

}  // namespace

void Form1::Form1_Text1_Change() {
  const std::size_t length = Text1.Text().size();
  if (length == 1 || length == 2) {
    Text1.SetText(ZeroFill(Text1.Text(), 3));
  }
}

void Form1::Form1_Text2_LostFocus() {
  Text2.SetText(NormalizeTypedDate(Text2.Text()));
  Text2.CaretToEnd();
}

void Form1::Form1_Text3_Change() {
  const std::string& time = Text3.Text();
  if (time.size() == 4 && IsAllDigits(time)) {
    Text3.SetText(Mid(time, 1, 2) + "." + Mid(time, 3, 2));
    Text3.CaretToEnd();
  }
}

void Form1::Form1_Text3_LostFocus() {
  std::string time = Text3.Text();
  std::replace(time.begin(), time.end(), ':', '.');
  Text3.SetText(std::move(time));
}

void Form1::Form1_Text5_KeyDown(int key_code, bool& handled) {
  if (key_code == key::kUp || key_code == key::kDown) {
    handled = true;
    if (Text5.Text() != "SSB" && Text5.Text() != "CW") {
      return;
    }
    const bool ssb = key_code == key::kUp;
    Text5.SetText(ssb ? "SSB" : "CW");
    Text7.SetText(ssb ? "59" : "599");
    Text8.SetText(ssb ? "59" : "599");
    Text5.CaretToEnd();
    return;
  }
  EntryRow_KeyDown(Text5, key_code, handled);
}

void Form1::Form1_Text6_Change() {
  if (RewroteUpperCase(Text6)) {
    return;
  }
  const bool logged = Text6.Text().size() >= 4 && ListContains(Text12.Text(), Text6.Text());
  Text6.SetBackColor(logged ? kYellow : kWhite);
  Label55.SetVisible(logged);
}

void Form1::Form1_Text9_GotFocus() {
  EntryRow_GotFocus(Text9);
  const std::optional<std::string> code =
      LookUpClubCode(program_.Disk(), program_.Folder(), Text6.Text());
  if (code) {
    Text11.SetText(*code);
  }
}

void Form1::Form1_Text9_LostFocus() {
  TrimField(Text9);
  const std::size_t length = Text9.Text().size();
  if (length == 1 || length == 2) {
    Text9.SetText(ZeroFill(Text9.Text(), 3));
  }
}

void Form1::Form1_Text10_Change() {
  if (RewroteUpperCase(Text10)) {
    return;
  }
  const bool complete = Text10.Text().size() == 6;
  if (complete) {
    program_.Get<Form22222>().Text5.SetText(Text10.Text());
    Line2.SetVisible(true);  // also when the distance is the last QSO's and nothing changed
  }
  for (Label* label : {&Label12, &Label13, &Label14, &Label15, &Label16, &Label17}) {
    label->SetVisible(complete);
  }
}

void Form1::Form1_Text10_GotFocus() {
  EntryRow_GotFocus(Text10);
  // On-line the QSO takes the moment the operator reached the locator, in UTC from the clock
  // (which also moves the date back when UTC is still the day before).
  if (OnLine(Text15)) {
    const DateTime utc = program_.Time().Utc();
    Text2.SetText(FormatDateShort(utc));
    Text3.SetText(FormatTime(utc));
  }
  // A one-digit hour, typed off-line, gets its "0": 7.20 gives 07.20, 920 gives 0920 (09.20).
  if (Mid(Text3.Text(), 2, 1) == ".") {
    Text3.SetText("0" + Text3.Text());
  }
  const std::string first_three = Left(Text3.Text(), 3);
  if (first_three.size() == 3 && IsAllDigits(first_three)) {
    Text3.SetText("0" + Text3.Text());
  }
}

void Form1::Form1_Text11_Change() { RewroteUpperCase(Text11); }

void Form1::EntryRow_KeyDown(TextBox& field, int key_code, bool& handled) {
  if (key_code != key::kEnter && key_code != key::kSpace) {
    return;
  }
  handled = true;
  TextBox* const row[] = {&Text2, &Text3, &Text4, &Text5,  &Text6,
                          &Text7, &Text8, &Text9, &Text10, &Text11};
  const auto it = std::find(std::begin(row), std::end(row), &field);
  if (it == std::end(row)) {
    return;
  }
  if (it + 1 == std::end(row)) {
    Command1.SetFocus();
  } else {
    (*(it + 1))->SetFocus();
  }
}

void Form1::EntryRow_GotFocus(TextBox& field) {
  TextBox* const row[] = {&Text2, &Text3, &Text4, &Text5,  &Text6,
                          &Text7, &Text8, &Text9, &Text10, &Text11};
  const auto it = std::find(std::begin(row), std::end(row), &field);
  if (it != std::end(row) && it != std::begin(row)) {
    TrimField(**(it - 1));
  }
  field.CaretToEnd();
}

}  // namespace keldra

// Resuming a contest, the pointing display, the award indicator and scrolling the QSO list.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "core/StateFile.h"
#include "core/Text.h"
#include "ui/ContestFile.h"
#include "ui/Form1.h"
#include "ui/Form2.h"

namespace keldra {
namespace {

// The needle is 600 units long; the bar grows 2.15 units per km.
constexpr double kNeedleLength = 600;
constexpr double kBarUnitsPerKm = 2.15;
// The I-QRP Club Award is earned with the 25th QSO with a member.
constexpr double kAwardAfterIqrpQsos = 24;

// A drawing offset as whole units; a hand-edited total cannot overflow the coordinates.
int Units(double offset) { return static_cast<int>(std::lround(std::clamp(offset, -1e6, 1e6))); }

void TakeTotal(const std::optional<std::string>& value, Label& label) {
  if (value) label.SetCaption(*value);
}

// The lines of one list, each followed by CR LF, appended in one piece: the front end then
// extends the list once instead of redrawing it for every QSO.
void AppendLines(TextBox& list, const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string block;
  block.reserve(size);
  for (const std::string& line : lines) {
    block += line;
    block += "\r\n";
  }
  list.AppendText(block);
}

}  // namespace

// "apri_parz": the saved contest back into the window. The lists are appended to, not replaced:
// the start window presses this once, on an empty contest.
void Form1::Form1_Command4_Click() {
  const std::optional<StateFileValues> saved = ReadContestFile(program_);
  if (!saved) return;
  if (saved->serial) Text1.SetText(*saved->serial);  // the field pads "7" to "007"
  TakeTotal(saved->qso_count, Label19);
  TakeTotal(saved->total_km, Label21);
  TakeTotal(saved->multipliers, Label23);
  TakeTotal(saved->points, Label25);
  TakeTotal(saved->average_km, Label44);
  TakeTotal(saved->odx_call, Label27);
  TakeTotal(saved->odx_locator, Label28);
  TakeTotal(saved->odx_km, Label29);
  TakeTotal(saved->iqrp_count, Label51);  // may show the award at once
  TakeTotal(saved->mqc_count, Label52);
  AppendLines(Text12, saved->qso_list_lines);
  AppendLines(Text14, saved->edi_record_lines);
  program_.Get<Form2>().Text1.SetText(Text14.Text());
  // The newest QSO in view; the focus stays where start-up puts it.
  Text12.CaretToEnd();
}

// Pressed by the commit: the newest QSO in view.
void Form1::Form1_Command8_Click() {
  Text12.SetFocus();
  Text12.CaretToEnd();
}

// The distance bar: horizontal from its start point, shown again for every new distance (the
// commit hides it).
void Form1::Form1_Label13_Change() {
  Line2.SetVisible(true);
  const double length = kBarUnitsPerKm * LeadingNumber(Label13.Caption());
  Line2.SetEnd(Line2.X1() + Units(length), Line2.Y1());
}

// The bearing needle: 0 degrees up, 90 right; no number ("??????") points up.
void Form1::Form1_Label15_Change() {
  const double angle = (LeadingNumber(Label15.Caption()) - 90) * std::numbers::pi / 180;
  Line1.SetEnd(Line1.X1() + Units(kNeedleLength * std::cos(angle)),
               Line1.Y1() + Units(kNeedleLength * std::sin(angle)));
  Label56.SetCaption(Label15.Caption());
}

// The award appears once earned and stays for the rest of the run.
void Form1::Form1_Label51_Change() {
  if (LeadingNumber(Label51.Caption()) > kAwardAfterIqrpQsos) {
    Picture3.SetVisible(true);
    Label54.SetVisible(true);
  }
}

}  // namespace keldra

// Resuming a contest, the pointing display, the award indicator and scrolling the QSO list.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "core/StateFile.h"
#include "core/Text.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

// The needle is 600 units long; the bar grows 2.15 units per km.
constexpr double kNeedleLength = 600;
constexpr double kBarUnitsPerKm = 2.15;
// The I-QRP Club Award is earned with the 25th QSO with a member.
constexpr double kAwardAfterIqrpQsos = 24;

// A drawing offset as whole units; a hand-edited total cannot overflow the coordinates.
int Units(double offset) { return static_cast<int>(std::lround(std::clamp(offset, -1e6, 1e6))); }

// The lines of one list, each followed by CR LF, appended in one piece: the front end then
// extends the list once instead of redrawing it for every QSO.
void AppendLines(TextBox& list, const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) {
    size += line.size() + 2;
  }
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
void MainWindow::OnResumePressed() {
  const std::optional<StateFileValues> saved = ReadContestFile(program_);
  if (!saved) {
    return;
  }
  if (saved->serial) {
    qso_number.SetText(*saved->serial);  // the field pads "7" to "007"
  }
  ShowTotals(TotalsRead(*saved, Totals()));  // may show the award at once
  AppendLines(qso_list, saved->qso_list_lines);
  AppendLines(edi_records, saved->edi_record_lines);
  program_.Get<EdiHeaderWindow>().edi_records.SetText(edi_records.Text());
  // The newest QSO in view; the focus stays where start-up puts it.
  qso_list.CaretToEnd();
}

// Pressed by the commit: the newest QSO in view.
void MainWindow::OnShowLastQsoPressed() {
  qso_list.SetFocus();
  qso_list.CaretToEnd();
}

// The distance bar: horizontal from its start point, shown again for every new distance (the
// commit hides it).
void MainWindow::OnDistanceChanged() {
  distance_bar.SetVisible(true);
  const double length = kBarUnitsPerKm * LeadingNumber(distance.Caption());
  distance_bar.SetEnd(distance_bar.X1() + Units(length), distance_bar.Y1());
}

// The bearing needle: 0 degrees up, 90 right; no number ("??????") points up.
void MainWindow::OnBearingChanged() {
  const double angle = (LeadingNumber(bearing.Caption()) - 90) * std::numbers::pi / 180;
  bearing_needle.SetEnd(bearing_needle.X1() + Units(kNeedleLength * std::cos(angle)),
                        bearing_needle.Y1() + Units(kNeedleLength * std::sin(angle)));
  bearing_readout.SetCaption(bearing.Caption());
}

// The award appears once earned and stays for the rest of the run.
void MainWindow::OnIqrpQsosChanged() {
  if (LeadingNumber(iqrp_qsos.Caption()) > kAwardAfterIqrpQsos) {
    award_picture.SetVisible(true);
    award_name.SetVisible(true);
  }
}

}  // namespace keldra

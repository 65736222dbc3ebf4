// Resuming a contest, the pointing display, the award indicator and scrolling the QSO list.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "core/StateFile.h"
#include "core/Text.h"
#include "ui/ContestFile.h"
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

}  // namespace

// "apri_parz": the saved contest appended to the log, which the window follows; the start window
// presses this once, on an empty contest.
void MainWindow::OnResumePressed() {
  const std::optional<StateFileValues> saved = ReadContestFile(program_);
  if (!saved) {
    return;
  }
  program_.Contest().Load(*saved);  // may show the award at once
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

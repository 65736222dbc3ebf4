// The totals frame read and written as one ContestTotals, so every window that moves the totals
// (the commit, the resume, the QSO editing, the EDI log, the state file) names them the same way.
#include "ui/MainWindow.h"

namespace keldra {

ContestTotals MainWindow::Totals() const {
  ContestTotals totals;
  totals.qsos = total_qsos.Caption();
  totals.km = total_km.Caption();
  totals.multipliers = total_multipliers.Caption();
  totals.points = total_points.Caption();
  totals.average_km = average_km.Caption();
  totals.odx_call = odx_call.Caption();
  totals.odx_locator = odx_locator.Caption();
  totals.odx_km = odx_km.Caption();
  totals.iqrp_qsos = iqrp_qsos.Caption();
  totals.mqc_qsos = mqc_qsos.Caption();
  return totals;
}

void MainWindow::ShowTotals(const ContestTotals& totals) {
  total_qsos.SetCaption(totals.qsos);
  total_km.SetCaption(totals.km);
  total_multipliers.SetCaption(totals.multipliers);
  total_points.SetCaption(totals.points);
  average_km.SetCaption(totals.average_km);
  odx_call.SetCaption(totals.odx_call);
  odx_locator.SetCaption(totals.odx_locator);
  odx_km.SetCaption(totals.odx_km);
  iqrp_qsos.SetCaption(totals.iqrp_qsos);  // may show the award
  mqc_qsos.SetCaption(totals.mqc_qsos);
}

}  // namespace keldra

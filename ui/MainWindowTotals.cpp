// The window following the log: the QSO list, the serial to send next and the totals frame, read
// and shown as one ContestTotals so every window names the totals the same way.
#include "core/Text.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"

namespace keldra {

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

void MainWindow::OnLogChanged(const LogEvent& event) {
  const ContestLog& log = program_.Contest();
  switch (event.change) {
    case LogChange::kLogged:
      qso_list.AppendText(*log.Entries()[event.first].list_line + "\r\n");
      break;
    case LogChange::kLoaded: {
      // Appended in one piece: the front end then extends the list once instead of redrawing it
      // for every QSO.
      std::string block;
      for (std::size_t i = event.first; i < event.first + event.count; ++i) {
        if (const auto& line = log.Entries()[i].list_line) {
          block += *line;
          block += "\r\n";
        }
      }
      qso_list.AppendText(block);
      break;
    }
    case LogChange::kCorrected:
      qso_list.SetText(log.QsoListText());
      break;
  }
  if (event.change != LogChange::kCorrected) {
    // The field pads the plain number to three digits itself.
    qso_number.SetText(PlainDecimal(log.NextSerial()));
  }
  ShowTotals(TotalsText(log.Totals()));
  contest_history_stale_ = contest_history_stale_ || event.change == LogChange::kCorrected;
  if (MapWindow* map = program_.Find<MapWindow>()) {
    map->FollowLog(event);
  }
}

}  // namespace keldra

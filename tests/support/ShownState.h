// The contest as the main window shows it (the next QSO number, the totals frame, the QSO list)
// with the log's EDI record list: what a save must write while the window follows the log.
#pragma once

#include "core/ContestState.h"
#include "ui/MainWindow.h"

namespace keldra {

inline ContestState ContestStateOf(const MainWindow& m) {
  ContestState state;
  state.qsos = m.total_qsos.Caption();
  state.km = m.total_km.Caption();
  state.multipliers = m.total_multipliers.Caption();
  state.points = m.total_points.Caption();
  state.average_km = m.average_km.Caption();
  state.odx_call = m.odx_call.Caption();
  state.odx_locator = m.odx_locator.Caption();
  state.odx_km = m.odx_km.Caption();
  state.iqrp_qsos = m.iqrp_qsos.Caption();
  state.mqc_qsos = m.mqc_qsos.Caption();
  state.serial = m.qso_number.Text();
  state.qso_list = m.qso_list.Text();
  state.edi_records = m.Log().EdiRecordsText();
  return state;
}

}  // namespace keldra

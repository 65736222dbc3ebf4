// The running contest in the texts its state file holds and the main window's labels show: the
// next serial number, the totals and the two QSO lists. ContestLog makes it from its typed QSOs
// and totals (the ODX distance keeps the QRB indicator's leading blank, the ODX call and locator
// are "..." until a QSO sets them).
#pragma once

#include <string>

namespace keldra {

// The totals as texts, as a new contest starts them. The same names serve the state file, the EDI
// log and the windows.
struct ContestTotals {
  std::string qsos = "0";         // QSOs logged
  std::string km = "0";           // sum of the QSO distances, never doubled
  std::string multipliers = "0";  // QSOs with a club member
  std::string points = "0";       // the score
  std::string average_km = "0";   // km / QSOs, rounded half to even
  std::string odx_call = "...";   // the longest-distance QSO
  std::string odx_locator = "...";
  std::string odx_km = "0";     // the QRB indicator's text, leading blank included
  std::string iqrp_qsos = "0";  // QSOs with I-QRP members
  std::string mqc_qsos = "0";   // QSOs with MQC members
  friend bool operator==(const ContestTotals&, const ContestTotals&) = default;
};

struct ContestState : ContestTotals {
  std::string serial = "001";  // the QSO number to send with the next QSO
  std::string qso_list;        // one QSO list line per QSO, each ended by CR LF
  std::string edi_records;     // one EDI record line per QSO, each ended by CR LF
  friend bool operator==(const ContestState&, const ContestState&) = default;
};

}  // namespace keldra

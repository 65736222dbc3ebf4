// The running contest as the main window holds it: the next serial number, the totals and the
// two QSO lists, each a control text. This is the plain form in which the contest travels to and
// from its state file; the texts are kept exactly as the controls show them (the ODX distance
// keeps its leading blank, the ODX call and locator are "..." until a QSO sets them).
#pragma once

#include <string>

namespace keldra {

struct ContestState {
  std::string serial = "001";       // Text1: serial number to send with the next QSO
  std::string qso_count = "0";      // Label19
  std::string total_km = "0";       // Label21
  std::string multipliers = "0";    // Label23
  std::string points = "0";         // Label25
  std::string average_km = "0";     // Label44
  std::string odx_call = "...";     // Label27
  std::string odx_locator = "...";  // Label28
  std::string odx_km = "0";         // Label29
  std::string iqrp_count = "0";     // Label51
  std::string mqc_count = "0";      // Label52
  std::string qso_list;             // Text12: one QSO list line per QSO, each ended by CR LF
  std::string edi_records;          // Text14: one EDI record line per QSO, each ended by CR LF
  friend bool operator==(const ContestState&, const ContestState&) = default;
};

}  // namespace keldra

// The contest's totals as the program kept them before the contest log held them: texts in the
// captions of the totals frame, moved QSO by QSO, each read as its leading number and written back
// as plain decimal, the ODX distance a copy of the QRB indicator's text. The reference the log's
// typed totals and the windows' totals are held against.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ContestState.h"
#include "core/QsoRecord.h"
#include "core/Text.h"
#include "system/Files.h"

namespace keldra {

// One committed QSO, as the scoring sees it.
struct ScoredQso {
  std::string distance_text;  // the QRB indicator: " 523", or "1" inside the own subsquare
  std::string call;
  std::string locator;
  std::string club_code;  // trimmed and checked: empty, "I..." or "M..."
};

// Points of one QSO: its distance, twice that with a club code (either club).
inline double QsoPoints(double distance_km, std::string_view club_code) {
  return club_code.empty() ? distance_km : 2 * distance_km;
}

// The totals after one more QSO. An equal distance does not take the ODX from an earlier QSO.
inline ContestTotals AddQso(const ContestTotals& totals, const ScoredQso& qso) {
  auto plus = [](const std::string& total, double amount) {
    return PlainDecimal(LeadingNumber(total) + amount);
  };
  const double d = LeadingNumber(qso.distance_text);
  ContestTotals next = totals;
  next.qsos = plus(totals.qsos, 1);
  next.km = plus(totals.km, d);
  next.points = plus(totals.points, QsoPoints(d, qso.club_code));
  if (!qso.club_code.empty()) {
    next.multipliers = plus(totals.multipliers, 1);
    if (qso.club_code.front() == 'I') {
      next.iqrp_qsos = plus(totals.iqrp_qsos, 1);
    }
    if (qso.club_code.front() == 'M') {
      next.mqc_qsos = plus(totals.mqc_qsos, 1);
    }
  }
  const double count = LeadingNumber(next.qsos);
  if (count != 0) {
    next.average_km = PlainDecimal(RoundHalfEven(LeadingNumber(next.km) / count));
  }
  if (LeadingNumber(totals.odx_km) < d) {
    next.odx_call = qso.call;
    next.odx_locator = qso.locator;
    next.odx_km = qso.distance_text;
  }
  return next;
}

// The totals of a whole EDI record list, as committing its QSOs one by one in list order leaves
// them: each record's points field is its distance (the ODX distance with the QRB indicator's
// leading blank), its exchange its club code.
inline ContestTotals TotalsOfRecords(std::string_view records) {
  ContestTotals totals;
  for (const std::string& line : SplitLines(records)) {
    if (const std::optional<QsoFields> q = ParseEdiRecordLine(line).qso) {
      totals = AddQso(totals, ScoredQso{" " + q->distance_km, q->call, q->locator, q->club_code});
    }
  }
  return totals;
}

}  // namespace keldra

#include "core/Scoring.h"

#include "core/Text.h"

namespace keldra {

namespace {

std::string Plus(const std::string& total, double amount) {
  return PlainDecimal(LeadingNumber(total) + amount);
}

}  // namespace

double QsoPoints(double distance_km, std::string_view club_code) {
  return club_code.empty() ? distance_km : 2 * distance_km;
}

ContestTotals AddQso(const ContestTotals& totals, const ScoredQso& qso) {
  const double d = LeadingNumber(qso.distance_text);
  ContestTotals next = totals;
  next.qsos = Plus(totals.qsos, 1);
  next.km = Plus(totals.km, d);
  next.points = Plus(totals.points, QsoPoints(d, qso.club_code));
  if (!qso.club_code.empty()) {
    next.multipliers = Plus(totals.multipliers, 1);
    if (qso.club_code.front() == 'I') {
      next.iqrp_qsos = Plus(totals.iqrp_qsos, 1);
    }
    if (qso.club_code.front() == 'M') {
      next.mqc_qsos = Plus(totals.mqc_qsos, 1);
    }
  }
  // The count was just incremented, so it is at least 1 unless its label held a negative number.
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

}  // namespace keldra

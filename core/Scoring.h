// The contest's scoring: every QSO is worth its distance in km, doubled (and counted as a
// multiplier) when the other operator is a member of one of the two QRP clubs. This unit moves
// the running totals by one committed QSO. The totals travel as the captions of the main window's
// labels, so they are plain texts here: each is read as its leading number and written back as
// plain decimal, except the ODX distance, which is a copy of the QRB indicator's text.
#pragma once

#include <string>
#include <string_view>

#include "core/ContestState.h"

namespace keldra {

// One committed QSO, as the scoring sees it.
struct ScoredQso {
  std::string distance_text;  // the QRB indicator: " 523", or "1" inside the own subsquare
  std::string call;
  std::string locator;
  std::string club_code;  // trimmed and checked: empty, "I..." or "M..."
};

// Points of one QSO: its distance, twice that with a club code (either club).
double QsoPoints(double distance_km, std::string_view club_code);

// The totals after one more QSO. An equal distance does not take the ODX from an earlier QSO.
ContestTotals AddQso(const ContestTotals& totals, const ScoredQso& qso);

}  // namespace keldra

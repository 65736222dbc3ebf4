// The one rule for the distance a QSO scores: its whole kilometres, but never less than one. A
// station inside the own subsquare is 0 km away, and a locator that could not be computed gives
// no distance at all; both count 1 km, so every QSO scores.
#pragma once

#include <optional>

namespace keldra {

long long ScoredKm(std::optional<long long> computed_km);

}  // namespace keldra

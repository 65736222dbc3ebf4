#include "core/QsoDistance.h"

namespace keldra {

long long ScoredKm(std::optional<long long> computed_km) {
  return computed_km && *computed_km > 0 ? *computed_km : 1;
}

}  // namespace keldra

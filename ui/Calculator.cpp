#include "ui/Calculator.h"

#include "geo/Locator.h"
#include "system/CodePage.h"

namespace keldra {

CalculatedPath PathCalculator::From(std::string_view locator) const {
  const LocatorResult result =
      CalculateLocators(ToUpper1252(own_), ToUpper1252(std::string(locator)));
  CalculatedPath path{result.distance, result.bearing, std::nullopt, result.own_too_long};
  if (!result.failed) {
    path.km = result.path.km;
  }
  return path;
}

}  // namespace keldra

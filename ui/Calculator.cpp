#include "ui/Calculator.h"

#include "geo/Locator.h"
#include "platform/CodePage.h"
#include "ui/BearingCalculatorWindow.h"

namespace keldra {

CalculatedPath CalculateFromStation(Program& program, std::string_view locator) {
  const std::string own = ToUpper1252(program.Get<BearingCalculatorWindow>().own_locator.Text());
  const LocatorResult result = CalculateLocators(own, ToUpper1252(std::string(locator)));
  CalculatedPath path{result.distance, result.bearing, std::nullopt, result.own_too_long};
  if (!result.failed) {
    path.km = result.path.km;
  }
  return path;
}

}  // namespace keldra

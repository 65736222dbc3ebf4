// The program's distance and bearing calculator as a service for the windows that need a path
// without showing it (the statistics, the QSO correction): geo's arithmetic from the station's own
// locator (the bearing utility window's locator 1) to the one given, computed afresh on every
// call. It drives no window: the bearing utility's fields and the main window's QRB and QTF stay
// as they are, so those keep showing the QSO being typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldra {

class Program;

struct CalculatedPath {
  std::string distance;         // as the calculator shows it: " 168", or "??????"
  std::string bearing;          // " 271", "0" for the own locator, or "??????"
  std::optional<long long> km;  // none when the calculation failed
  bool own_too_long = false;    // the station's locator has more than six characters
};

// What the operator is told when the station's own locator is too long to compute from.
inline constexpr const char* kOwnLocatorTooLong =
    "Il locatore della propria stazione deve avere al massimo 6 caratteri (es. JN81GD): "
    "correggere i dati della stazione.";

CalculatedPath CalculateFromStation(Program& program, std::string_view locator);

}  // namespace keldra

// The program's distance and bearing calculator: geo's arithmetic from the station's own locator
// to the one given, computed afresh on every call. Start-up and the station window give it the
// station's locator; the main window, the statistics and the QSO correction ask it for paths. It
// drives no window: the main window's QRB and QTF show what the main window puts there, the
// QSO being typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldra {

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

class PathCalculator {
 public:
  const std::string& OwnLocator() const { return own_; }
  void SetOwnLocator(std::string locator) { own_ = std::move(locator); }
  // The path from the station to `locator`, both taken in upper case.
  CalculatedPath From(std::string_view locator) const;

 private:
  std::string own_ = "JN81GD";  // until the station file says otherwise
};

}  // namespace keldra

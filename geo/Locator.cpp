#include "geo/Locator.h"

#include <charconv>
#include <cmath>

namespace keldra {
namespace {

constexpr double kPi = kLocatorPi;
constexpr double k = kLocatorDegree;

double Sign(double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

// The root of 1 - x * x, where rounding may leave |x| a hair above 1: the root is then 0.
double CoRoot(double x) {
  const double radicand = 1 - x * x;
  return radicand > 0 ? std::sqrt(radicand) : 0;
}

bool ThirdIsDigit(std::string_view locator) {
  return locator.size() >= 3 && locator[2] >= '0' && locator[2] <= '9';
}

bool Fails(std::string_view locator) {
  return locator.empty() || locator.size() > 6 || !ThirdIsDigit(locator);
}

// West-positive longitude in degrees to an eastward angle in radians, in [0, 2 pi).
double EastwardRadians(double west) { return (180 * (Sign(west - 0.0001) + 1) - west) * k; }

// A whole number with one leading blank, as the result fields show it.
std::string Published(long long value) {
  char buffer[24] = {' '};
  const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

}  // namespace

double LocatorArcCos(double c) {
  if (c == 0) {
    return kPi / 2;
  }
  return std::atan(CoRoot(c) / c) + (1 - Sign(c)) * kPi / 2;
}

LocatorPath PathBetween(const LocatorPoint& own, const LocatorPoint& other) {
  const double l1 = EastwardRadians(-own.longitude);
  const double l2 = EastwardRadians(-other.longitude);
  const double phi1 = own.latitude * k;
  const double phi2 = other.latitude * k;

  // The 0.0001 is always added: it keeps a path along a meridian off the exact-zero cases.
  // A negative difference is brought into (0, 2 pi); one that cancels to exactly 0 stays 0
  // (the recipe's sign(0) = 0 would put the other station on the far side of the globe).
  double dl = l1 - l2 + 0.0001;
  if (dl != 0) {
    dl = dl + (1 - Sign(dl)) * kPi;
  }

  const double c = std::sin(phi1) * std::sin(phi2) + std::cos(phi1) * std::cos(phi2) * std::cos(dl);
  const double d = LocatorArcCos(c);

  double a = 0;
  const double sin_d = std::sin(d);
  const double cos_phi1 = std::cos(phi1);
  if (sin_d == 0) {
    // The two points coincide: there is no direction, call it north.
    a = 0;
  } else {
    double ca = 0;
    if (cos_phi1 == 0) {
      // Standing on a pole every path leaves southwards from the north pole, northwards from the
      // south one.
      ca = std::sin(phi1) > 0 ? -1 : 1;
    } else {
      ca = (std::sin(phi2) - c * std::sin(phi1)) / sin_d / cos_phi1;
    }
    a = ca < -0.9999999 ? kPi : LocatorArcCos(ca);
    // East or west of the meridian. Along a meridian, or to the antipode, both sides are the
    // same path: the recipe's factor sign(0) = 0 would wipe out the bearing, so keep it.
    const double side = Sign(dl - kPi) * Sign(kPi - d);
    if (side != 0) {
      a = a * side;
    }
    // A bearing of exactly zero is north, written 360 like every other northward path; the
    // recipe's sign(0) = 0 would turn it south.
    a = a == 0 ? 2 * kPi : a + (1 - Sign(a)) * kPi;
  }
  return {.km = static_cast<long long>(std::floor(kEarthRadiusKm * d + 0.5)),
          .degrees = static_cast<long long>(std::floor(a / k + 0.5))};
}

std::string CompleteLocator(std::string_view locator) {
  std::string completed(locator);
  if (!completed.empty() && completed.size() <= 4) {
    completed += "LL";
  }
  return completed;
}

LocatorPoint LocatorCentre(std::string_view locator) {
  auto code = [&](std::size_t position) -> double {
    return position <= locator.size() ? static_cast<unsigned char>(locator[position - 1]) : 0;
  };
  return {.latitude = (code(2) - 65) * 10 - 90 + (code(4) - 48) + (code(6) - 64.5) / 24,
          .longitude = (code(1) - 65) * 20 - 180 + (code(3) - 48) * 2 + (code(5) - 64.5) / 12};
}

LocatorResult CalculateLocators(std::string_view own, std::string_view other) {
  LocatorResult result;
  const std::string l1 = CompleteLocator(own);
  const std::string l2 = CompleteLocator(other);
  result.own_too_long = l1.size() > 6;
  result.failed = Fails(l1) || Fails(l2);

  if (result.failed) {
    result.distance = kLocatorFailed;
    result.bearing = kLocatorFailed;
  } else {
    const LocatorCoordinates coordinates{LocatorCentre(l1), LocatorCentre(l2)};
    result.path = PathBetween(coordinates.own, coordinates.other);
    result.distance = Published(result.path.km);
    result.bearing = Published(result.path.degrees);
    result.coordinates = coordinates;
  }
  // Two equal locator fields (after a failure the other one is empty) read bearing 0.
  const std::string_view other_after = result.failed ? std::string_view() : other;
  if (own == other_after) {
    result.bearing.assign(1, '0');
  }
  return result;
}

}  // namespace keldra

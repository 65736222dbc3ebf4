// The locator calculator: distance (QRB, whole km) and bearing (QTF, whole degrees) from the
// station's own Maidenhead locator to another one. This is the arithmetic only, a pure function
// of the two locator texts; the bearing utility window wraps it and publishes its texts.
//
// The results must agree to the kilometre and the degree with what the contest's own tools
// print, so the arithmetic follows one fixed recipe: the same operations in the same order, in
// double precision, with pi taken as 3.141592 throughout and an Earth radius of 6356.775 km.
// Where that recipe would divide by zero or take the root of a negative rounding residue, the
// limit value of the step is used instead, so no infinity or NaN ever reaches a result.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldra {

// pi as the calculator takes it (six decimals), and degrees-to-radians built on it.
inline constexpr double kLocatorPi = 3.141592;
inline constexpr double kLocatorDegree = kLocatorPi / 180;
inline constexpr double kEarthRadiusKm = 6356.775;

// The text of a failed result.
inline constexpr std::string_view kLocatorFailed = "??????";

// Centre of a locator's subsquare in degrees: latitude north-positive, longitude east-positive.
struct LocatorPoint {
  double latitude = 0;
  double longitude = 0;
};

// The coordinates of both locators as the calculator saw them.
struct LocatorCoordinates {
  LocatorPoint own;
  LocatorPoint other;
};

// Whole kilometres and whole degrees (0 to 360; due north is 360) of the path between two
// points, both rounded with halves up. Two coinciding points give 0 km and bearing 0.
struct LocatorPath {
  long long km = 0;
  long long degrees = 0;
};

struct LocatorResult {
  // Some check failed: the results read "??????" and the other locator is to be emptied.
  bool failed = false;
  // The own locator has more than six characters: the operator should be told.
  bool own_too_long = false;
  // Distance and bearing as published: a blank and the whole number (" 168"), or "??????".
  // Two equal locator texts give the bearing "0".
  std::string distance;
  std::string bearing;
  // The whole numbers behind the texts; only meaningful when the calculation did not fail.
  LocatorPath path;
  // Set only when the calculation did not fail.
  std::optional<LocatorCoordinates> coordinates;
};

// The centre of the subsquare of an already completed locator (see CompleteLocator): from the
// character codes of its first six characters, a missing position counting as code 0.
LocatorPoint LocatorCentre(std::string_view locator);

LocatorPath PathBetween(const LocatorPoint& own, const LocatorPoint& other);

// arccos in [0, pi] written as the recipe has it, arctan(sqrt(1 - c^2) / c) plus pi for a
// negative c, with the limits filled in: arccos 0 is pi / 2, and a rounding residue beyond
// +-1 counts as +-1.
double LocatorArcCos(double c);

// A locator of one to four characters completed with "LL" (the middle of the square); any other
// text unchanged.
std::string CompleteLocator(std::string_view locator);

// Distance and bearing from `own` to `other`, both already in upper case (the locator fields
// keep themselves so). One to four characters are completed with "LL"; a locator fails when it
// is empty, longer than six characters, or its third character is not a decimal digit. Nothing
// else is checked: a five-character locator is computed with its sixth position as code 0.
LocatorResult CalculateLocators(std::string_view own, std::string_view other);

}  // namespace keldra

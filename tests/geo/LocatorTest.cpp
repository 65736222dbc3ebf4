#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "geo/Locator.h"

namespace keldra {
namespace {

constexpr std::string_view kOwn = "JN81GD";

struct PathCase {
  const char* name;
  const char* other;
  const char* distance;
  const char* bearing;
};

class FromJn81gd : public ::testing::TestWithParam<PathCase> {};

TEST_P(FromJn81gd, PublishesDistanceAndBearing) {
  const PathCase& c = GetParam();
  const LocatorResult r = CalculateLocators(kOwn, c.other);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(r.distance, c.distance);
  EXPECT_EQ(r.bearing, c.bearing);
  ASSERT_TRUE(r.coordinates.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Locators, FromJn81gd,
    ::testing::Values(PathCase{"SameLocator_ZeroKmBearing0", "JN81GD", " 0", "0"},
                      PathCase{"West_JN71GD", "JN71GD", " 168", " 271"},
                      PathCase{"East_JN91GD", "JN91GD", " 167", " 89"},
                      PathCase{"NextSubsquareEast_JN81HD", "JN81HD", " 6", " 90"},
                      PathCase{"South_JN80GD", "JN80GD", " 111", " 180"},
                      PathCase{"DueNorthIs360_JN82GD", "JN82GD", " 111", " 360"},
                      // The bearing cosine falls below -0.9999999 here.
                      PathCase{"FarSouthSameMeridian_JL81GD", "JL81GD", " 2219", " 180"},
                      PathCase{"FourCharactersAsLL_JN81", "JN81", " 50", " 43"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CalculateLocators, FiveCharactersCountTheSixthAsCodeZero) {
  const LocatorResult five = CalculateLocators(kOwn, "JN81G");
  const LocatorResult six = CalculateLocators(kOwn, std::string("JN81G\0", 6));
  ASSERT_FALSE(five.failed);
  EXPECT_EQ(five.distance, six.distance);
  EXPECT_EQ(five.bearing, six.bearing);
  ASSERT_TRUE(five.coordinates.has_value());
  EXPECT_DOUBLE_EQ(five.coordinates->other.latitude, 41 + (0 - 64.5) / 24);
  // Far off the subsquare, to the south.
  EXPECT_GT(five.path.km, 250);
  EXPECT_EQ(five.bearing, " 180");
}

struct FailCase {
  const char* name;
  const char* own;
  const char* other;
  bool own_too_long;
  const char* bearing;
};

class Refused : public ::testing::TestWithParam<FailCase> {};

TEST_P(Refused, FailsWithoutCoordinates) {
  const FailCase& c = GetParam();
  const LocatorResult r = CalculateLocators(c.own, c.other);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.own_too_long, c.own_too_long);
  EXPECT_EQ(r.distance, "??????");
  EXPECT_EQ(r.bearing, c.bearing);
  EXPECT_FALSE(r.coordinates.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Locators, Refused,
    ::testing::Values(FailCase{"ThirdNotDigit_JNA1GD", "JN81GD", "JNA1GD", false, "??????"},
                      FailCase{"ThirdBlank", "JN81GD", "JN 1GD", false, "??????"},
                      FailCase{"OtherEmpty", "JN81GD", "", false, "??????"},
                      FailCase{"OneCharacterBecomesJLL", "JN81GD", "J", false, "??????"},
                      FailCase{"TwoCharactersBecomeJNLL", "JN81GD", "JN", false, "??????"},
                      FailCase{"OtherSevenCharacters", "JN81GD", "JN71GDX", false, "??????"},
                      FailCase{"OwnSevenCharacters", "JN81GDX", "JN71GD", true, "??????"},
                      FailCase{"OwnThirdNotDigit", "JNA1GD", "JN71GD", false, "??????"},
                      // The other field is emptied, so an empty own field equals it: bearing 0.
                      FailCase{"OwnEmptyBearing0", "", "JN71GD", false, "0"},
                      FailCase{"BothEqualButInvalid", "JNA1GD", "JNA1GD", false, "??????"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocatorCentre, OwnLocatorJn81gd) {
  const LocatorPoint p = LocatorCentre("JN81GD");
  EXPECT_NEAR(p.latitude, 41.145833, 1e-6);
  EXPECT_NEAR(p.longitude, 16.541667, 1e-6);
  EXPECT_DOUBLE_EQ(p.latitude, 41 + 3.5 / 24);
  EXPECT_DOUBLE_EQ(p.longitude, 16 + 6.5 / 12);
}

TEST(CalculateLocators, ReportsBothCoordinates) {
  const LocatorResult r = CalculateLocators(kOwn, "JN71GD");
  ASSERT_TRUE(r.coordinates.has_value());
  EXPECT_DOUBLE_EQ(r.coordinates->own.longitude, 16 + 6.5 / 12);
  EXPECT_DOUBLE_EQ(r.coordinates->other.longitude, 14 + 6.5 / 12);
  EXPECT_DOUBLE_EQ(r.coordinates->other.latitude, 41 + 3.5 / 24);
}

TEST(CalculateLocators, ThreeCharactersAreComputedAsCompleted) {
  const LocatorResult three = CalculateLocators(kOwn, "JN8");
  ASSERT_FALSE(three.failed);
  EXPECT_EQ(three.distance, CalculateLocators(kOwn, "JN8LL").distance);
  EXPECT_EQ(three.bearing, CalculateLocators(kOwn, "JN8LL").bearing);
}

TEST(CompleteLocator, OnlyOneToFourCharactersAreCompleted) {
  EXPECT_EQ(CompleteLocator(""), "");
  EXPECT_EQ(CompleteLocator("J"), "JLL");
  EXPECT_EQ(CompleteLocator("JN81"), "JN81LL");
  EXPECT_EQ(CompleteLocator("JN81G"), "JN81G");
  EXPECT_EQ(CompleteLocator("JN81GD"), "JN81GD");
}

// --- The limits that stand in for divisions by zero. ---

TEST(LocatorArcCos, LimitsAndRoundingResidues) {
  EXPECT_EQ(LocatorArcCos(0), kLocatorPi / 2);
  EXPECT_EQ(LocatorArcCos(1), 0);
  EXPECT_EQ(LocatorArcCos(-1), kLocatorPi);
  EXPECT_EQ(LocatorArcCos(std::nextafter(1.0, 2.0)), 0);
  EXPECT_EQ(LocatorArcCos(std::nextafter(-1.0, -2.0)), kLocatorPi);
  EXPECT_NEAR(LocatorArcCos(0.5), std::numbers::pi / 3, 1e-6);
  EXPECT_NEAR(LocatorArcCos(-0.5), 2 * std::numbers::pi / 3, 1e-6);
}

TEST(PathBetween, AlongTheEquatorTheBearingCosineIsExactlyZero) {
  const LocatorPath east = PathBetween({0, 0}, {0, 10});
  EXPECT_EQ(east.degrees, 90);
  EXPECT_NEAR(east.km, 1109, 1);
  const LocatorPath west = PathBetween({0, 0}, {0, -10});
  EXPECT_EQ(west.degrees, 270);
  EXPECT_NEAR(west.km, 1109, 1);
}

TEST(PathBetween, OffsetCancellingTheLongitudeDifferenceMeansTheSamePlace) {
  // The longitude whose angle is exactly the 0.0001 the recipe adds: the difference cancels to
  // exactly 0, and the two points on the equator coincide.
  double east = 0.0001 / kLocatorDegree;
  for (int i = 0; i < 64 && east * kLocatorDegree != 0.0001; ++i) {
    east = std::nextafter(east, east * kLocatorDegree < 0.0001 ? 1.0 : 0.0);
  }
  ASSERT_EQ(east * kLocatorDegree, 0.0001);
  const LocatorPath same = PathBetween({0, 0}, {0, east});
  EXPECT_EQ(same.km, 0);
  EXPECT_EQ(same.degrees, 0);
}

TEST(PathBetween, FromThePoles) {
  // Pole to equator is a quarter of the globe; pole to pole half of it.
  EXPECT_EQ(PathBetween({90, 0}, {0, 15}).km, 9985);
  EXPECT_EQ(PathBetween({-90, 0}, {0, 15}).km, 9985);
  EXPECT_EQ(PathBetween({90, 0}, {-90, 0}).km, 19970);
  for (const LocatorPoint other : {LocatorPoint{40, 15}, LocatorPoint{-40, -100}}) {
    const LocatorPath p = PathBetween({90, 0}, other);
    EXPECT_GE(p.degrees, 0);
    EXPECT_LE(p.degrees, 360);
  }
}

// --- Properties over many locators. ---

std::string RandomLocator(std::mt19937& rng, bool any_bytes) {
  auto pick = [&](char first, int count) { return static_cast<char>(first + rng() % count); };
  std::string l(6, ' ');
  if (any_bytes) {
    for (char& ch : l) {
      ch = static_cast<char>(1 + rng() % 255);
    }
  } else {
    l = {pick('A', 18), pick('A', 18), pick('0', 10), pick('0', 10), pick('A', 24), pick('A', 24)};
  }
  l[2] = pick('0', 10);  // keep most of them computable
  return l;
}

// An independent great-circle computation with the full-precision pi.
LocatorPath Reference(const LocatorPoint& a, const LocatorPoint& b) {
  const double r = std::numbers::pi / 180;
  const double p1 = a.latitude * r, p2 = b.latitude * r, dl = (b.longitude - a.longitude) * r;
  const double d = std::acos(std::clamp(
      std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl), -1.0, 1.0));
  double bearing =
      std::atan2(std::sin(dl) * std::cos(p2),
                 std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
  if (bearing < 0) {
    bearing += 2 * std::numbers::pi;
  }
  return {std::llround(kEarthRadiusKm * d), std::llround(bearing / r)};
}

TEST(CalculateLocators, NeverPublishesAnythingButWholeNumbersInRange) {
  std::mt19937 rng(20230716);
  for (int i = 0; i < 300000; ++i) {
    const bool any = i % 2 == 1;
    const std::string own = RandomLocator(rng, any);
    const std::string other = i % 7 == 0 ? own : RandomLocator(rng, any);
    const LocatorResult r = CalculateLocators(own, other);
    ASSERT_FALSE(r.failed) << own << " " << other;
    ASSERT_EQ(r.distance, " " + std::to_string(r.path.km)) << own << " " << other;
    ASSERT_GE(r.path.km, 0);
    ASSERT_LE(r.path.km, 19970);
    ASSERT_GE(r.path.degrees, 0);
    ASSERT_LE(r.path.degrees, 360);
  }
}

TEST(CalculateLocators, AgreesWithAnIndependentGreatCircle) {
  std::mt19937 rng(144);
  for (int i = 0; i < 50000; ++i) {
    const LocatorPoint a = LocatorCentre(RandomLocator(rng, false));
    const LocatorPoint b = LocatorCentre(RandomLocator(rng, false));
    const LocatorPath got = PathBetween(a, b);
    const LocatorPath want = Reference(a, b);
    // The 0.0001 rad offset shifts the other station by up to about 0.64 km.
    ASSERT_NEAR(got.km, want.km, 2) << i;
    if (want.km > 100 && want.km < 19800) {
      const long long diff = std::llabs(got.degrees - want.degrees) % 360;
      ASSERT_LE(std::min(diff, 360 - diff), 2) << i << " " << got.degrees << " " << want.degrees;
    }
  }
}

TEST(CalculateLocators, DistanceIsSymmetricWithinTwoKm) {
  std::mt19937 rng(1);
  for (int i = 0; i < 50000; ++i) {
    const std::string a = RandomLocator(rng, false);
    const std::string b = RandomLocator(rng, false);
    ASSERT_LE(std::llabs(CalculateLocators(a, b).path.km - CalculateLocators(b, a).path.km), 2)
        << a << " " << b;
  }
}

}  // namespace
}  // namespace keldra

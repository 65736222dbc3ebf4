#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "geo/MapProjection.h"
#include "geo/WorldOutline.h"

namespace keldra {
namespace {

// The projection keeps what the calculator says: the distance from the centre within 1 % and the
// bearing within a degree, near and far, in every direction, from two different centres.
TEST(MapProjection, DistanceAndBearingFromTheCentreAreTheCalculatorsOwn) {
  for (const char* own : {"JN81GD", "JO62QM"}) {
    const AzimuthalProjection projection(LocatorCentre(own));
    EXPECT_EQ(projection.Project(LocatorCentre(own)), (MapPoint{0, 0})) << own;
    for (const char* other : {"JN81GE", "JN71GD", "JN91GD", "JN80GD", "JO62QM", "IN80AA", "KM72AA",
                              "IO91WM", "KP20LE", "IM58JR", "JN81GD"}) {
      const LocatorPath path = PathBetween(LocatorCentre(own), LocatorCentre(other));
      const MapPoint p = projection.Project(LocatorCentre(other));
      const double km = std::hypot(p.x, p.y);
      EXPECT_NEAR(km, static_cast<double>(path.km), 0.01 * static_cast<double>(path.km) + 0.5)
          << own << " to " << other;
      if (path.km >= 50) {  // the whole-km recipe drifts by degrees on a few km
        const double degrees = std::fmod(std::atan2(p.x, p.y) * 180 / std::numbers::pi + 360, 360);
        const double off = std::fmod(std::abs(degrees - static_cast<double>(path.degrees)), 360);
        EXPECT_LE(std::min(off, 360 - off), 1.0) << own << " to " << other;
      }
    }
  }
}

TEST(MapProjection, NamesOfFieldsSquaresAndLocators) {
  struct Case {
    const char* text;
    bool cell;           // a field or square
    const char* square;  // SquareOf
    bool point;          // PointOfLocator
  };
  for (const Case& c : std::vector<Case>{{"JN", true, "", false},
                                         {"JN61", true, "JN61", true},
                                         {"JN61FU", false, "JN61", true},
                                         {"RR99XX", false, "RR99", true},
                                         {"JN61FY", false, "JN61", false},
                                         {"JN61F", false, "JN61", false},
                                         {"SN61", false, "", false},
                                         {"jn61", false, "", false},
                                         {"J", false, "", false},
                                         {"JNA1FU", false, "", false},
                                         {"", false, "", false}}) {
    EXPECT_EQ(CellNamed(c.text).has_value(), c.cell) << c.text;
    EXPECT_EQ(SquareOf(c.text), c.square) << c.text;
    EXPECT_EQ(PointOfLocator(c.text).has_value(), c.point) << c.text;
  }
  const GridCell jn61 = *CellNamed("JN61");
  EXPECT_EQ(jn61.box.south, 41);
  EXPECT_EQ(jn61.box.north, 42);
  EXPECT_EQ(jn61.box.west, 12);
  EXPECT_EQ(jn61.box.east, 14);
  const GridCell jn = *CellNamed("JN");
  EXPECT_EQ(jn.box.south, 40);
  EXPECT_EQ(jn.box.west, 0);
  EXPECT_EQ(jn.box.east, 20);
  // A square's middle is its "LL" subsquare, as the calculator completes it.
  EXPECT_EQ(PointOfLocator("JN61")->latitude, LocatorCentre("JN61LL").latitude);
}

TEST(MapProjection, GridCoversTheRegionCellByCell) {
  const GeoBox region{.south = 40, .north = 43, .west = 10, .east = 16};
  const std::vector<GridCell> squares = CellsIn(GridLevel::kSquare, region);
  ASSERT_EQ(squares.size(), 9u);
  EXPECT_EQ(squares.front().name, "JN50");
  EXPECT_EQ(squares[1].name, "JN60");
  EXPECT_EQ(squares.back().name, "JN72");
  for (const GridCell& cell : squares) {
    EXPECT_EQ(CellNamed(cell.name)->box.south, cell.box.south) << cell.name;
    EXPECT_EQ(CellNamed(cell.name)->box.west, cell.box.west) << cell.name;
  }
  const std::vector<GridCell> fields = CellsIn(GridLevel::kField, kMapRegion);
  EXPECT_EQ(fields.size(), 16u);  // I to L by M to P
  EXPECT_EQ(fields.front().name, "IM");
  EXPECT_EQ(fields.back().name, "LP");

  // Four meridians and four parallels, each a smooth curve from edge to edge; the square's
  // outline is closed and passes through its corners.
  const AzimuthalProjection projection(LocatorCentre("JN61FU"));
  const std::vector<MapLine> lines = GridLines(projection, GridLevel::kSquare, region);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines.front().front(), projection.Project(40, 10));
  EXPECT_EQ(lines.front().back(), projection.Project(43, 10));
  EXPECT_EQ(lines.back().back(), projection.Project(43, 16));
  EXPECT_GT(lines.back().size(), 20u);
  const MapLine ring = CellOutline(projection, CellNamed("JN61")->box);
  EXPECT_EQ(ring.front(), ring.back());
  for (const MapPoint corner : {projection.Project(41, 12), projection.Project(41, 14),
                                projection.Project(42, 14), projection.Project(42, 12)}) {
    EXPECT_NE(std::find(ring.begin(), ring.end(), corner), ring.end());
  }
}

TEST(MapProjection, SquaresCountedInOrderOfFirstQsoAndShaded) {
  const std::vector<std::string> locators = {"JN61FU", "JN71GD", "JN61AA", "bad",
                                             "JN7",    "JN71",   "JN61XX", "KN05AA"};
  EXPECT_EQ(CountSquares(locators),
            (std::vector<SquareCount>{{"JN61", 3}, {"JN71", 2}, {"KN05", 1}}));
  EXPECT_TRUE(CountSquares({}).empty());
  const int bands[][2] = {{0, -1}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {7, 2}, {8, 3}, {500, 3}};
  for (const auto& [qsos, band] : bands) {
    EXPECT_EQ(ShadeBandOf(qsos), band) << qsos;
  }
}

// The built-in outline: land, coasts and borders, every line with its points, all inside the
// region the data was cut to, Italy's coast among them.
TEST(MapProjection, OutlineDataIsWholeAndInTheRegion) {
  std::size_t points = 0;
  std::set<OutlineKind> kinds;
  for (const OutlineLineSize& line : OutlineLines()) {
    EXPECT_GE(line.points, line.kind == OutlineKind::kLand ? 3 : 2);
    points += static_cast<std::size_t>(line.points);
    kinds.insert(line.kind);
  }
  EXPECT_EQ(kinds.size(), 3u);
  ASSERT_EQ(OutlinePoints().size(), 2 * points);
  bool near_rome = false;
  for (std::size_t i = 0; i < OutlinePoints().size(); i += 2) {
    const int lat = OutlinePoints()[i];
    const int lon = OutlinePoints()[i + 1];
    ASSERT_TRUE(lat >= 2000 && lat <= 7500 && lon >= -3000 && lon <= 6500) << lat << " " << lon;
    near_rome = near_rome || (std::abs(lat - 4175) < 30 && std::abs(lon - 1225) < 30);
  }
  EXPECT_TRUE(near_rome);
}

}  // namespace
}  // namespace keldra

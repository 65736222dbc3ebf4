// The map's projection and grid: an azimuthal equidistant projection centred on the station, so a
// straight line from the centre is a great-circle bearing and the distance from the centre is the
// distance on the ground; the Maidenhead fields and squares as projected lines and cells; and the
// number of QSOs per worked square with the shade band each count falls in. Pure functions of
// degrees and locator texts.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "geo/Locator.h"

namespace keldra {

// A projected point: kilometres east and north of the centre.
struct MapPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const MapPoint&, const MapPoint&) = default;
};
using MapLine = std::vector<MapPoint>;

class AzimuthalProjection {
 public:
  explicit AzimuthalProjection(LocatorPoint centre);
  const LocatorPoint& Centre() const { return centre_; }
  // On the sphere of the locator calculator; the antipode of the centre has no single image and
  // is put at the full distance due south.
  MapPoint Project(double latitude, double longitude) const;
  MapPoint Project(const LocatorPoint& point) const {
    return Project(point.latitude, point.longitude);
  }

 private:
  LocatorPoint centre_;
  double sin_latitude_;
  double cos_latitude_;
};

// A rectangle of latitude and longitude in degrees.
struct GeoBox {
  double south = 0;
  double north = 0;
  double west = 0;
  double east = 0;
};

// The part of the world the map draws: every field a 144 MHz contest from Europe can reach.
inline constexpr GeoBox kMapRegion{.south = 30, .north = 70, .west = -20, .east = 60};

// A Maidenhead field (20 by 10 degrees) or square (2 by 1 degrees) by its south-west corner.
struct GridCell {
  std::string name;  // "JN" or "JN61"
  GeoBox box;
};

// The field ("JN") or square ("JN61") a text names, when it is exactly one; upper case only.
std::optional<GridCell> CellNamed(std::string_view name);
// The square of a locator of at least four characters ("JN61" of "JN61FU"), or empty.
std::string SquareOf(std::string_view locator);

// The centre of a valid locator of four or six characters (letters in upper case); a square
// counts as its middle. Nothing for any other text.
std::optional<LocatorPoint> PointOfLocator(std::string_view locator);

enum class GridLevel { kField, kSquare };

// The fields or squares lying wholly inside `region`, west to east within south to north.
std::vector<GridCell> CellsIn(GridLevel level, const GeoBox& region);
// The lines between fields or squares across `region`: meridians and parallels, each projected
// at points close enough that its curve looks smooth.
std::vector<MapLine> GridLines(const AzimuthalProjection& projection, GridLevel level,
                               const GeoBox& region);
// The outline of a cell as a closed ring (the first point repeated at the end).
MapLine CellOutline(const AzimuthalProjection& projection, const GeoBox& box);

// How many QSOs each square has, squares in the order of their first QSO. Locators that name no
// square are not counted.
struct SquareCount {
  std::string square;
  int qsos = 0;
  friend bool operator==(const SquareCount&, const SquareCount&) = default;
};
std::vector<SquareCount> CountSquares(std::span<const std::string> locators);

// The shade bands of the map's legend: a square falls in the band its count reaches.
struct ShadeBand {
  int from = 0;
  const char* legend = "";
};
inline constexpr ShadeBand kShadeBands[] = {{1, "1"}, {2, "2-3"}, {4, "4-7"}, {8, "8+"}};
// The band of a count: 0 to 3, or -1 for no QSO.
int ShadeBandOf(int qsos);

}  // namespace keldra

#include "geo/MapProjection.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace keldra {
namespace {

constexpr double kRadian = std::numbers::pi / 180;
// Meridians and parallels are sampled every quarter degree: smooth at any zoom the map offers.
constexpr double kSampleDegrees = 0.25;

bool IsLetter(char c, char last) { return c >= 'A' && c <= last; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

AzimuthalProjection::AzimuthalProjection(LocatorPoint centre)
    : centre_(centre),
      sin_latitude_(std::sin(centre.latitude * kRadian)),
      cos_latitude_(std::cos(centre.latitude * kRadian)) {}

MapPoint AzimuthalProjection::Project(double latitude, double longitude) const {
  const double phi = latitude * kRadian;
  const double delta = (longitude - centre_.longitude) * kRadian;
  const double sin_phi = std::sin(phi);
  const double cos_phi = std::cos(phi);
  const double cos_delta = std::cos(delta);
  const double cos_c =
      std::clamp(sin_latitude_ * sin_phi + cos_latitude_ * cos_phi * cos_delta, -1.0, 1.0);
  const double c = std::acos(cos_c);
  const double sin_c = std::sin(c);
  if (sin_c < 1e-12) {
    return cos_c > 0 ? MapPoint{} : MapPoint{0, -kEarthRadiusKm * std::numbers::pi};
  }
  const double k = kEarthRadiusKm * c / sin_c;
  return {k * cos_phi * std::sin(delta),
          k * (cos_latitude_ * sin_phi - sin_latitude_ * cos_phi * cos_delta)};
}

std::optional<GridCell> CellNamed(std::string_view name) {
  if ((name.size() != 2 && name.size() != 4) || !IsLetter(name[0], 'R') ||
      !IsLetter(name[1], 'R')) {
    return std::nullopt;
  }
  double west = (name[0] - 'A') * 20.0 - 180;
  double south = (name[1] - 'A') * 10.0 - 90;
  double width = 20;
  double height = 10;
  if (name.size() == 4) {
    if (!IsDigit(name[2]) || !IsDigit(name[3])) {
      return std::nullopt;
    }
    west += (name[2] - '0') * 2.0;
    south += (name[3] - '0') * 1.0;
    width = 2;
    height = 1;
  }
  return GridCell{std::string(name), {south, south + height, west, west + width}};
}

std::string SquareOf(std::string_view locator) {
  if (locator.size() < 4 || !CellNamed(locator.substr(0, 4))) {
    return {};
  }
  return std::string(locator.substr(0, 4));
}

std::optional<LocatorPoint> PointOfLocator(std::string_view locator) {
  if (SquareOf(locator).empty() ||
      (locator.size() == 6 ? !IsLetter(locator[4], 'X') || !IsLetter(locator[5], 'X')
                           : locator.size() != 4)) {
    return std::nullopt;
  }
  return LocatorCentre(CompleteLocator(locator));
}

std::vector<GridCell> CellsIn(GridLevel level, const GeoBox& region) {
  const double width = level == GridLevel::kField ? 20 : 2;
  const double height = level == GridLevel::kField ? 10 : 1;
  std::vector<GridCell> cells;
  // Whole cells only: from the first edge at or after the region's side to the last one before
  // its far side, counted in cells from the south pole and from 180 degrees west.
  const int first_row = static_cast<int>(std::ceil((region.south + 90) / height));
  const int end_row = static_cast<int>(std::floor((region.north + 90) / height));
  const int first_column = static_cast<int>(std::ceil((region.west + 180) / width));
  const int end_column = static_cast<int>(std::floor((region.east + 180) / width));
  for (int row = first_row; row < end_row; ++row) {
    for (int column = first_column; column < end_column; ++column) {
      const double south = row * height - 90;
      const double west = column * width - 180;
      std::string name{static_cast<char>('A' + static_cast<int>((west + 180) / 20)),
                       static_cast<char>('A' + static_cast<int>((south + 90) / 10))};
      if (level == GridLevel::kSquare) {
        name += static_cast<char>('0' + column % 10);
        name += static_cast<char>('0' + row % 10);
      }
      cells.push_back({std::move(name), {south, south + height, west, west + width}});
    }
  }
  return cells;
}

std::vector<MapLine> GridLines(const AzimuthalProjection& projection, GridLevel level,
                               const GeoBox& region) {
  const double width = level == GridLevel::kField ? 20 : 2;
  const double height = level == GridLevel::kField ? 10 : 1;
  std::vector<MapLine> lines;
  auto along = [&](double from, double to, auto point) {
    MapLine line;
    const int steps = static_cast<int>(std::ceil((to - from) / kSampleDegrees));
    for (int i = 0; i <= steps; ++i) {
      line.push_back(point(from + (to - from) * i / steps));
    }
    lines.push_back(std::move(line));
  };
  for (int column = static_cast<int>(std::ceil((region.west + 180) / width));
       column <= static_cast<int>(std::floor((region.east + 180) / width)); ++column) {
    const double lon = column * width - 180;
    along(region.south, region.north, [&](double lat) { return projection.Project(lat, lon); });
  }
  for (int row = static_cast<int>(std::ceil((region.south + 90) / height));
       row <= static_cast<int>(std::floor((region.north + 90) / height)); ++row) {
    const double lat = row * height - 90;
    along(region.west, region.east, [&](double lon) { return projection.Project(lat, lon); });
  }
  return lines;
}

MapLine CellOutline(const AzimuthalProjection& projection, const GeoBox& box) {
  MapLine ring;
  const int steps = std::max(1, static_cast<int>(std::ceil((box.east - box.west) / 1.0)));
  for (int i = 0; i < steps; ++i) {
    ring.push_back(projection.Project(box.south, box.west + (box.east - box.west) * i / steps));
  }
  ring.push_back(projection.Project(box.south, box.east));
  ring.push_back(projection.Project(box.north, box.east));
  for (int i = steps - 1; i > 0; --i) {
    ring.push_back(projection.Project(box.north, box.west + (box.east - box.west) * i / steps));
  }
  ring.push_back(projection.Project(box.north, box.west));
  ring.push_back(ring.front());
  return ring;
}

std::vector<SquareCount> CountSquares(std::span<const std::string> locators) {
  std::vector<SquareCount> counts;
  std::map<std::string, std::size_t, std::less<>> index;
  for (const std::string& locator : locators) {
    std::string square = SquareOf(locator);
    if (square.empty()) {
      continue;
    }
    auto [it, added] = index.try_emplace(square, counts.size());
    if (added) {
      counts.push_back({std::move(square), 0});
    }
    ++counts[it->second].qsos;
  }
  return counts;
}

int ShadeBandOf(int qsos) {
  int band = -1;
  for (int i = 0; i < static_cast<int>(std::size(kShadeBands)); ++i) {
    if (qsos >= kShadeBands[i].from) {
      band = i;
    }
  }
  return band;
}

}  // namespace keldra

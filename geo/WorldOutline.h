// The land, coastlines and country borders of Europe and the Mediterranean the map draws, as lines
// of latitude and longitude points in hundredths of a degree. The data is generated once by
// scripts/make-map-data from Natural Earth (public domain) and built into the program.
#pragma once

#include <cstdint>
#include <span>

namespace keldra {

enum class OutlineKind {
  kCoast,
  kBorder,  // between two countries
  kLand,    // a closed ring of land (an island, a continent cut to the region), or a lake in it
};

struct OutlineLineSize {
  OutlineKind kind = OutlineKind::kCoast;
  int points = 0;
};

// Every point of every line, latitude then longitude, line after line.
std::span<const std::int16_t> OutlinePoints();
// The lines in the order of their points.
std::span<const OutlineLineSize> OutlineLines();

}  // namespace keldra

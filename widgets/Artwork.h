// The program's pictures (the contest's badge, the award's star, the club database, the compass
// rose) described once as shapes and texts, which each front end paints with its own calls: the
// pictures look the same on every system and there is one copy of them to change.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "widgets/Drawing.h"
#include "widgets/Graphics.h"

namespace keldra {

// A run of straight lines in pixels from the top-left corner of the area the picture fills;
// curves come as enough short lines that no pixel shows the difference.
struct ArtShape {
  std::vector<DrawPoint> points{};
  bool closed = false;
  std::optional<Color> line{};  // none: filled only
  double width = 1;             // of the line, in pixels
  std::optional<Color> fill{};  // a closed shape filled with this colour
};

// A text centred in a box, drawn over the shapes.
struct ArtText {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  std::string text{};  // Windows-1252
  Color color{};
  double points = 8;  // the font's size at 96 pixels per inch
  bool bold = false;
};

struct ArtPicture {
  std::vector<ArtShape> shapes{};  // in painting order
  std::vector<ArtText> texts{};
};

// The picture laid out for an area of this many pixels; a picture wanted much larger or smaller
// (an icon) is laid out at kArtDrawnAt and scaled, since its strokes and lettering are sized for
// it.
ArtPicture DescribeArt(Artwork art, double width, double height);
inline constexpr double kArtDrawnAt = 56;

}  // namespace keldra

#include "widgets/Artwork.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace keldra {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
// Enough lines for a circle of the sizes the windows use to look round at any antialiasing.
constexpr int kCircleSteps = 72;

ArtShape Segment(DrawPoint a, DrawPoint b, Color color, double width) {
  return {.points = {a, b}, .line = color, .width = width};
}

ArtShape Ellipse(double cx, double cy, double rx, double ry, std::optional<Color> line,
                 double width, std::optional<Color> fill) {
  ArtShape shape{.closed = true, .line = line, .width = width, .fill = fill};
  for (int i = 0; i < kCircleSteps; ++i) {
    const double a = i * 2 * std::numbers::pi / kCircleSteps;
    shape.points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return shape;
}

ArtShape RoundedBox(double left, double top, double right, double bottom, double radius,
                    Color fill) {
  ArtShape shape{.closed = true, .fill = fill};
  // Each corner's quarter circle, clockwise from the top-right one.
  const DrawPoint centres[] = {{right - radius, top + radius},
                               {right - radius, bottom - radius},
                               {left + radius, bottom - radius},
                               {left + radius, top + radius}};
  constexpr int kSteps = 8;
  for (int corner = 0; corner < 4; ++corner) {
    for (int i = 0; i <= kSteps; ++i) {
      const double a = (corner * 90 - 90 + i * 90.0 / kSteps) * kDegree;
      shape.points.push_back(
          {centres[corner].x + radius * std::cos(a), centres[corner].y + radius * std::sin(a)});
    }
  }
  return shape;
}

void Compass(ArtPicture& art, double w, double h) {
  const Color ink{90, 90, 90};
  const double cx = w / 2;
  const double cy = h / 2;
  const double radius = std::min(w, h) / 2 - 4;
  art.shapes.push_back(Ellipse(cx, cy, radius, radius, ink, 1, Color{250, 250, 244}));
  for (int deg = 0; deg < 360; deg += 30) {
    const double a = (deg - 90) * kDegree;
    const double inner = deg % 90 == 0 ? radius - 8 : radius - 4;
    art.shapes.push_back(Segment({cx + inner * std::cos(a), cy + inner * std::sin(a)},
                                 {cx + radius * std::cos(a), cy + radius * std::sin(a)}, ink, 1));
  }
  const char* marks[] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) {
    const double a = (i * 90 - 90) * kDegree;
    const double x = cx + (radius - 16) * std::cos(a);
    const double y = cy + (radius - 16) * std::sin(a);
    art.texts.push_back({.x = x - 8,
                         .y = y - 8,
                         .width = 16,
                         .height = 16,
                         .text = marks[i],
                         .color = ink,
                         .points = 7,
                         .bold = true});
  }
}

// A small yagi over the band's name: the contest's badge.
void Logo(ArtPicture& art, double w, double h) {
  const double left = 2;
  const double top = 2;
  const double right = w - 2;
  const double bottom = h - 2;
  const double bw = right - left;
  const double bh = bottom - top;
  art.shapes.push_back(RoundedBox(left, top, right, bottom, 6, Color{0, 60, 130}));
  const double boom = top + bh * 0.35;
  art.shapes.push_back(Segment({left + 8, boom}, {right - 8, boom}, kWhite, 2));
  for (int i = 0; i < 5; ++i) {
    const double x = left + 10 + i * (bw - 20) / 4;
    const double half = bh * (0.22 - i * 0.025);
    art.shapes.push_back(Segment({x, boom - half}, {x, boom + half}, kWhite, 2));
  }
  const double mid = (left + right) / 2;
  art.shapes.push_back(Segment({mid, boom}, {mid, bottom - 18}, kWhite, 2));
  art.texts.push_back({.x = left,
                       .y = bottom - 18,
                       .width = bw,
                       .height = 16,
                       .text = "144",
                       .color = kWhite,
                       .points = std::max(6.0, bh / 7),
                       .bold = true});
}

void Award(ArtPicture& art, double w, double h) {
  const double radius = std::min(w, h) / 2 - 2;
  ArtShape star{
      .closed = true, .line = Color{150, 100, 0}, .width = 1, .fill = Color{240, 190, 30}};
  for (int i = 0; i < 10; ++i) {
    const double a = (i * 36 - 90) * kDegree;
    const double r = i % 2 == 0 ? radius : radius * 0.45;
    star.points.push_back({w / 2 + r * std::cos(a), h / 2 + r * std::sin(a)});
  }
  art.shapes.push_back(std::move(star));
}

void Database(ArtPicture& art, double w, double h) {
  const double left = w * 0.25;
  const double right = w * 0.75;
  const double top = h * 0.15;
  const double bottom = h * 0.85;
  const double lid = (bottom - top) * 0.22;
  const Color ink{40, 60, 100};
  const Color side{120, 160, 220};
  art.shapes.push_back({.points = {{left, top + lid / 2},
                                   {right, top + lid / 2},
                                   {right, bottom - lid / 2},
                                   {left, bottom - lid / 2}},
                        .closed = true,
                        .line = ink,
                        .width = 1.5,
                        .fill = side});
  const double cx = (left + right) / 2;
  const double rx = (right - left) / 2;
  art.shapes.push_back(Ellipse(cx, bottom - lid / 2, rx, lid / 2, ink, 1.5, side));
  art.shapes.push_back(Ellipse(cx, top + lid / 2, rx, lid / 2, ink, 1.5, Color{170, 200, 240}));
}

}  // namespace

ArtPicture DescribeArt(Artwork art, double width, double height) {
  ArtPicture picture;
  switch (art) {
    case Artwork::kCompass:
      Compass(picture, width, height);
      break;
    case Artwork::kLogo:
    case Artwork::kAntenna:
      Logo(picture, width, height);
      break;
    case Artwork::kAward:
      Award(picture, width, height);
      break;
    case Artwork::kDatabase:
      Database(picture, width, height);
      break;
    case Artwork::kNone:
      break;
  }
  return picture;
}

}  // namespace keldra

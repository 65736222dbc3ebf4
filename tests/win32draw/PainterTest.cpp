// The GDI+ painter of a drawing: the PNG it gives is the size of the control and its pixels show
// the layers where the view puts them (a pinned layer where the control puts it, a layer above its
// scale not at all); and the pictures agree with the Qt painter's reference images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Win32DrawTest.h"

namespace keldra::testing {
namespace {

DrawingLayer Square(double left, double top, double side, Color fill) {
  DrawingLayer layer;
  layer.lines.push_back({.points = {{left, top},
                                    {left + side, top},
                                    {left + side, top + side},
                                    {left, top + side},
                                    {left, top}},
                         .width = 0,
                         .fill = fill});
  return layer;
}

constexpr Color kRed{220, 0, 0};
constexpr Color kBlue{0, 0, 200};
constexpr Color kGreen{0, 160, 0};
constexpr Color kYellow{250, 240, 0};

class PainterTest : public DrawingTest {
 protected:
  PainterTest() {
    map.SetBackColor(kWhite);
    map.SetLayer(0, Square(0, 0, 10, kRed));
    DrawingLayer legend = Square(0, 0, 20, kBlue);
    legend.pinned = true;
    map.SetLayer(1, legend);
    DrawingLayer dots;
    dots.markers.push_back({.at = {-10, 5}, .color = kGreen, .radius = 4});
    map.SetLayer(2, dots);
    DrawingLayer detail = Square(-100, -100, 200, kYellow);
    detail.min_scale = 10;
    map.SetLayer(3, detail);
    map.SetView({{5, 5}, 4});  // units 0..10 are pixels 80..120 across, 30..70 down
  }
  Picture Painted() {
    const std::optional<std::string> png = win32::Win32DrawingPainter().Png(map);
    EXPECT_TRUE(png.has_value());
    if (!png) {
      return {};
    }
    EXPECT_EQ(png->substr(0, 8), "\x89PNG\r\n\x1a\n");
    return DecodePng(*png);
  }
};

TEST_F(PainterTest, PngShowsEachLayerWhereTheViewPutsIt) {
  Picture picture = Painted();
  ASSERT_EQ(picture.width, 200);
  ASSERT_EQ(picture.height, 100);
  EXPECT_EQ(picture.At(100, 50), kRed);
  EXPECT_EQ(picture.At(10, 10), kBlue);
  EXPECT_EQ(picture.At(40, 50), kGreen);
  EXPECT_EQ(picture.At(150, 50), kWhite);  // the detail layer waits for a closer zoom

  map.SetView({{0, 5}, 4});
  picture = Painted();
  EXPECT_EQ(picture.At(120, 50), kRed);
  EXPECT_EQ(picture.At(90, 50), kWhite);
  EXPECT_EQ(picture.At(10, 10), kBlue);  // pinned: the view does not move it
  EXPECT_EQ(picture.At(60, 50), kGreen);

  map.SetView({{5, 5}, 12});
  EXPECT_EQ(Painted().At(190, 90), kYellow);
}

// One painting kept across redraws, as the window keeps it, paints what a fresh one does after
// a layer above the map changes (what it keeps from the last paint), and after the view changes.
TEST_F(PainterTest, KeptPaintingRedrawsAsAFreshOne) {
  win32::DrawingPainting kept;
  win32::PixelBuffer frame;
  auto same_as_fresh = [&] {
    kept.Paint(frame, map);
    win32::DrawingPainting fresh;
    win32::PixelBuffer expected;
    fresh.Paint(expected, map);
    return frame.pixels == expected.pixels;
  };
  EXPECT_TRUE(same_as_fresh());
  for (double x : {-15.0, 20.0}) {
    DrawingLayer dots;
    dots.markers.push_back({.at = {x, 5}, .color = kGreen, .radius = 4});
    map.SetLayer(2, dots);
    EXPECT_TRUE(same_as_fresh());
  }
  EXPECT_EQ(frame.At(static_cast<int>(map.ToPixels({20, 5}).x), 50), 0xFF00A000U);
  map.SetView({{-5, 5}, 4});
  EXPECT_TRUE(same_as_fresh());
  map.SetLayer(0, Square(0, 0, 5, kBlue));
  EXPECT_TRUE(same_as_fresh());
}

TEST_F(PainterTest, BoldLabelIsInkedAndHaloed) {
  DrawingLayer names;
  names.labels.push_back({.at = {-20, 0},
                          .text = "QX0\xC8",  // an accented capital of the code page
                          .color = kBlack,
                          .font = {.bold = true, .points = 12},
                          .align = Alignment::kCenter});
  map.SetLayer(4, names);
  map.SetBackColor({120, 120, 120});
  map.SetView({{0, 0}, 1});  // the label stands at pixel (80, 50)
  const Picture picture = Painted();
  int ink = 0;
  int halo = 0;
  for (int y = 35; y < 65; ++y) {
    for (int x = 40; x < 120; ++x) {
      const Color c = picture.At(x, y);
      ink += c == kBlack ? 1 : 0;
      halo += c == kWhite ? 1 : 0;
    }
  }
  EXPECT_GT(ink, 20);
  EXPECT_GT(halo, 20);
  EXPECT_EQ(picture.At(10, 90), Color(120, 120, 120));
}

// Each label's text stands beside its point as its alignment says, whole, centred on its line.
TEST_F(PainterTest, LabelStandsWhereItsAlignmentPutsIt) {
  map.SetBackColor({120, 120, 120});
  map.SetView({{0, 0}, 1});  // unit (0, 0) is pixel (100, 50)
  for (const Alignment align : {Alignment::kLeft, Alignment::kCenter, Alignment::kRight}) {
    SCOPED_TRACE(static_cast<int>(align));
    DrawingLayer names;
    names.labels.push_back(
        {.at = {0, 0}, .text = "QX0ABC", .color = kBlack, .font = {.points = 12}, .align = align});
    map.SetLayer(4, names);
    const Picture picture = Painted();
    int left = picture.width;
    int right = 0;
    int top = picture.height;
    int bottom = 0;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const Color c = picture.At(x, y);
        if (c.r + c.g + c.b < 120) {
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
    }
    ASSERT_GT(right, left);
    EXPECT_GT(right - left, 40);                         // six capitals of 12 points
    EXPECT_TRUE(top >= 38 && top < 46) << top;           // capitals of about 12 pixels
    EXPECT_TRUE(bottom > 54 && bottom <= 62) << bottom;  // about the point's line
    if (align == Alignment::kLeft) {
      EXPECT_TRUE(left >= 100 && left <= 106) << left;
    } else if (align == Alignment::kRight) {
      EXPECT_TRUE(right >= 94 && right <= 102) << right;
    } else {
      EXPECT_LE(std::abs(left + right - 200), 4) << left << " " << right;
    }
  }
}

struct ArtCase {
  Artwork art;
  const char* file;
  int x;  // a pixel inside the picture's main shape
  int y;
};

TEST(ArtworkTest, EachPictureAgreesWithTheQtPainter) {
  StartGdiplus();
  const ArtCase cases[] = {{Artwork::kLogo, "logo.png", 8, 50},
                           {Artwork::kCompass, "compass.png", 20, 44},
                           {Artwork::kAward, "award.png", 32, 36},
                           {Artwork::kDatabase, "database.png", 32, 32}};
  for (const ArtCase& c : cases) {
    SCOPED_TRACE(c.file);
    const std::optional<std::string> png = win32::ArtworkPng(c.art, 64);
    ASSERT_TRUE(png.has_value());
    const Picture drawn = DecodePng(*png);
    SaveScreenshot(std::string("art_") + c.file, *png);
    std::ifstream in(std::string(KELDRA_ART_REFERENCE) + "/" + c.file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const Picture reference = DecodePng(bytes.str());
    ASSERT_EQ(reference.width, 64);
    ASSERT_EQ(drawn.width, 64);
    // The fonts differ between the systems, and Wine's GDI+ draws without antialiasing and
    // ignores the half-pixel offset, so edges differ by about a pixel: a mean of 10 at most, where
    // another picture, another colour of a main shape or a shift of two pixels gives 20 and more.
    EXPECT_LT(MeanDifference(drawn, reference), 12.0);
    EXPECT_LT(ChannelDistance(drawn.Argb(c.x, c.y), reference.Argb(c.x, c.y)), 12);
  }
  // The window icon, small and large.
  for (const int size : {16, 32}) {
    HICON icon = win32::ArtworkIcon(Artwork::kLogo, size);
    ICONINFO info{};
    ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

}  // namespace
}  // namespace keldra::testing

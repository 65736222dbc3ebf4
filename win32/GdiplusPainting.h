// What the drawing control, the pictures and the PNG painter share: a Drawing painted with GDI+
// into a pixel buffer of our own (so a frame goes to the window in one copy and to a PNG as it
// is), the layers kept as ready-made paths until their version changes.
#pragma once

#include <windows.h>
// clang-format off: GDI+ needs the Windows types first.
#include <gdiplus.h>
// clang-format on

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "widgets/Artwork.h"
#include "widgets/Drawing.h"
#include "win32/Win32Text.h"

namespace keldra::win32 {

Gdiplus::Color GdipColor(Color c, BYTE alpha = 255);

// 32-bit premultiplied pixels, top row first, each 0xAARRGGBB.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels{};
  void Resize(int w, int h);
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// PNG bytes of a buffer; nothing if the encoder failed.
std::optional<std::string> EncodePng(const PixelBuffer& buffer, bool with_alpha);

// The picture's shapes and texts with `g`, its origin at (left, top).
void PaintArt(Gdiplus::Graphics& g, const ArtPicture& art, float left, float top);
// A picture laid out at kArtDrawnAt and scaled to a square of `size` pixels, transparent around.
PixelBuffer ArtworkPixels(Artwork art, int size);
// A picture laid out at its own size, transparent around.
PixelBuffer ArtworkPixels(Artwork art, int width, int height);

class GdiCanvas;

class DrawingPainting {
 public:
  DrawingPainting();
  ~DrawingPainting();
  DrawingPainting(const DrawingPainting&) = delete;
  DrawingPainting& operator=(const DrawingPainting&) = delete;

  // Paints the drawing at its own size as it stands now into `buffer`.
  void Paint(PixelBuffer& buffer, const Drawing& drawing);

 private:
  // The filled shapes of one colour, filled without antialiasing (the outline drawn over the
  // edge smooths it).
  struct Fill {
    Color color{};
    std::vector<DrawPoint> points{};
    std::vector<INT> counts{};  // points of each shape, one after the other in `points`
  };
  struct Stroke {
    Color color{};
    int width = 1;
    bool dashed = false;
    std::unique_ptr<Gdiplus::GraphicsPath> path{};
  };
  struct Dots {
    Color color{};
    std::optional<Color> outline{};
    int radius = 3;
    std::vector<DrawPoint> points{};
  };
  struct Layer {
    std::uint64_t version = 0;
    std::vector<Fill> fills{};
    std::vector<Stroke> strokes{};
    std::vector<Dots> dots{};
  };
  // A label's text (with its halo when bold) painted once, and where its point stands in it.
  struct TextSprite {
    PixelBuffer pixels{};
    DrawPoint origin{};
  };
  void Refresh(const Drawing& drawing);
  const PixelBuffer& Sprite(const Dots& dots);
  const TextSprite& SpriteOf(const DrawLabel& label);
  Gdiplus::Font& FontOf(const FontHints& hints);
  void PaintLayer(Gdiplus::Graphics& g, std::size_t i, const Drawing& drawing,
                  const Gdiplus::Matrix& view, PixelBuffer& buffer);
  void PaintLabels(const DrawingLayer& layer, const Drawing& drawing, PixelBuffer& buffer);

  std::vector<Layer> layers_;
  std::unique_ptr<GdiCanvas> canvas_;
  std::map<std::tuple<int, int, int>, PixelBuffer> sprites_;
  std::map<std::tuple<std::string, bool, int, int, int>, TextSprite> texts_;
  std::map<std::pair<bool, int>, std::unique_ptr<Gdiplus::Font>> fonts_;
  // The lowest layer that changed since the first paint: those below it are kept painted in
  // base_, valid for the view, ground and versions it was painted with.
  std::size_t changing_from_ = SIZE_MAX;
  PixelBuffer base_;
  DrawingZoom base_view_;
  Color base_back_;
  std::vector<std::uint64_t> base_versions_;
};

}  // namespace keldra::win32

#include "win32/GdiplusPainting.h"

#include <objidl.h>

#include <algorithm>
#include <cmath>

namespace keldra::win32 {
namespace {

// A label's text is the window's default size when the model names none.
constexpr int kDefaultPoints = 9;
// Texts painted once are kept up to this many, so the labels of typed locators do not pile up.
constexpr std::size_t kMostTexts = 4096;
// Room around a label's measured text while it is painted, in pixels beyond its height.
constexpr int kTextMargin = 2;

const wchar_t* UiFaceName() {
  // Segoe UI on every Windows since Vista; Tahoma on older ones and on Wine's own fonts; else the
  // system's sans serif, or any font at all rather than no text.
  static const std::wstring name = []() -> std::wstring {
    for (const wchar_t* face : {L"Segoe UI", L"Tahoma"}) {
      if (Gdiplus::FontFamily(face).IsAvailable()) {
        return face;
      }
    }
    wchar_t face[LF_FACESIZE] = {};
    const Gdiplus::FontFamily* sans = Gdiplus::FontFamily::GenericSansSerif();
    if (sans != nullptr && sans->GetFamilyName(face) == Gdiplus::Ok) {
      return face;
    }
    Gdiplus::InstalledFontCollection installed;
    Gdiplus::FontFamily first;
    int found = 0;
    if (installed.GetFamilyCount() > 0 && installed.GetFamilies(1, &first, &found) == Gdiplus::Ok &&
        found == 1 && first.GetFamilyName(face) == Gdiplus::Ok) {
      return face;
    }
    return L"Arial";
  }();
  return name.c_str();
}

int Rgb(Color c) { return c.r << 16 | c.g << 8 | c.b; }

std::optional<CLSID> PngEncoder() {
  UINT count = 0;
  UINT bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> space(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(space.data());
  if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) {
    return std::nullopt;
  }
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      return codecs[i].Clsid;
    }
  }
  return std::nullopt;
}

// Copies a premultiplied picture over the buffer with its top-left corner at (left, top).
void Blend(PixelBuffer& into, const PixelBuffer& sprite, int left, int top) {
  for (int y = std::max(0, -top); y < sprite.height && top + y < into.height; ++y) {
    for (int x = std::max(0, -left); x < sprite.width && left + x < into.width; ++x) {
      const std::uint32_t src = sprite.At(x, y);
      const std::uint32_t keep = 255 - (src >> 24);
      if (keep == 255) {
        continue;
      }
      std::uint32_t& dst = into.pixels[static_cast<std::size_t>(top + y) * into.width + left + x];
      if (keep == 0) {
        dst = src;
        continue;
      }
      std::uint32_t out = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t s = (src >> shift) & 0xFF;
        const std::uint32_t d = (dst >> shift) & 0xFF;
        out |= std::min<std::uint32_t>(255, s + (d * keep + 127) / 255) << shift;
      }
      dst = out;
    }
  }
}

// A GDI+ bitmap over the buffer's own pixels: what GDI+ paints lands there.
std::unique_ptr<Gdiplus::Bitmap> BitmapOver(PixelBuffer& buffer, Gdiplus::PixelFormat format) {
  auto bitmap =
      std::make_unique<Gdiplus::Bitmap>(buffer.width, buffer.height, buffer.width * 4, format,
                                        reinterpret_cast<BYTE*>(buffer.pixels.data()));
  // Point sizes become pixels at 96 per inch, as on the screen the model is laid out for.
  bitmap->SetResolution(96, 96);
  return bitmap;
}

void Smooth(Gdiplus::Graphics& g) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
}

}  // namespace

// Plain GDI fills shapes without antialiasing several times faster than GDI+ (Wine's GDI+ above
// all: the land alone took a quarter of a redraw), so the filled shapes are filled by GDI on a
// DIB section the frame is copied into and back.
class GdiCanvas {
 public:
  GdiCanvas() = default;
  ~GdiCanvas() { Release(); }
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  // A device context holding the buffer's pixels, or null when GDI has no room for them.
  HDC Begin(const PixelBuffer& buffer) {
    if (buffer.width != width_ || buffer.height != height_) {
      Release();
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(info.bmiHeader);
      info.bmiHeader.biWidth = buffer.width;
      info.bmiHeader.biHeight = -buffer.height;  // top row first, as the buffer
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      dc_ = bitmap_ != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
      if (dc_ == nullptr) {
        Release();
        return nullptr;
      }
      old_ = SelectObject(dc_, bitmap_);
      bits_ = static_cast<std::uint32_t*>(bits);
      width_ = buffer.width;
      height_ = buffer.height;
    }
    std::copy(buffer.pixels.begin(), buffer.pixels.end(), bits_);
    return dc_;
  }
  // Back into the buffer; GDI leaves the alpha of what it paints undefined, and a frame is opaque.
  void End(PixelBuffer& buffer) const {
    GdiFlush();
    std::transform(bits_, bits_ + buffer.pixels.size(), buffer.pixels.begin(),
                   [](std::uint32_t p) { return p | 0xFF000000U; });
  }

 private:
  void Release() {
    if (dc_ != nullptr) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) {
      DeleteObject(bitmap_);
    }
    dc_ = nullptr;
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

Gdiplus::Color GdipColor(Color c, BYTE alpha) { return Gdiplus::Color(alpha, c.r, c.g, c.b); }

void PixelBuffer::Resize(int w, int h) {
  width = std::max(1, w);
  height = std::max(1, h);
  pixels.assign(static_cast<std::size_t>(width) * height, 0);
}

std::optional<std::string> EncodePng(const PixelBuffer& buffer, bool with_alpha) {
  const std::optional<CLSID> png = PngEncoder();
  if (!png) {
    return std::nullopt;
  }
  PixelBuffer copy = buffer;  // GDI+ wants writable pixels even to read them
  auto bitmap = BitmapOver(copy, with_alpha ? PixelFormat32bppPARGB : PixelFormat32bppRGB);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) {
    return std::nullopt;
  }
  std::optional<std::string> bytes;
  STATSTG stat{};
  HGLOBAL memory = nullptr;
  if (bitmap->Save(stream, &*png, nullptr) == Gdiplus::Ok &&
      stream->Stat(&stat, STATFLAG_NONAME) == S_OK &&
      GetHGlobalFromStream(stream, &memory) == S_OK) {
    if (const void* data = GlobalLock(memory)) {
      bytes.emplace(static_cast<const char*>(data), static_cast<std::size_t>(stat.cbSize.QuadPart));
      GlobalUnlock(memory);
    }
  }
  stream->Release();
  return bytes;
}

void PaintArt(Gdiplus::Graphics& g, const ArtPicture& art, float left, float top) {
  for (const ArtShape& shape : art.shapes) {
    std::vector<Gdiplus::PointF> points;
    points.reserve(shape.points.size());
    for (const DrawPoint& p : shape.points) {
      points.emplace_back(left + static_cast<float>(p.x), top + static_cast<float>(p.y));
    }
    const int count = static_cast<int>(points.size());
    if (shape.fill && shape.closed) {
      Gdiplus::SolidBrush brush(GdipColor(*shape.fill));
      g.FillPolygon(&brush, points.data(), count);
    }
    if (shape.line) {
      Gdiplus::Pen pen(GdipColor(*shape.line), static_cast<float>(shape.width));
      pen.SetLineCap(Gdiplus::LineCapSquare, Gdiplus::LineCapSquare, Gdiplus::DashCapFlat);
      if (shape.closed) {
        g.DrawPolygon(&pen, points.data(), count);
      } else {
        g.DrawLines(&pen, points.data(), count);
      }
    }
  }
  Gdiplus::StringFormat centred;
  centred.SetAlignment(Gdiplus::StringAlignmentCenter);
  centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  centred.SetFormatFlags(Gdiplus::StringFormatFlagsNoClip | Gdiplus::StringFormatFlagsNoWrap);
  for (const ArtText& text : art.texts) {
    Gdiplus::Font font(UiFaceName(), static_cast<float>(text.points),
                       text.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                       Gdiplus::UnitPoint);
    Gdiplus::SolidBrush brush(GdipColor(text.color));
    const std::wstring wide = Widen(text.text);
    const Gdiplus::RectF box(left + static_cast<float>(text.x), top + static_cast<float>(text.y),
                             static_cast<float>(text.width), static_cast<float>(text.height));
    g.DrawString(wide.c_str(), static_cast<int>(wide.size()), &font, box, &centred, &brush);
  }
}

PixelBuffer ArtworkPixels(Artwork art, int width, int height) {
  PixelBuffer buffer;
  buffer.Resize(width, height);
  auto bitmap = BitmapOver(buffer, PixelFormat32bppPARGB);
  {
    Gdiplus::Graphics g(bitmap.get());
    Smooth(g);
    PaintArt(g, DescribeArt(art, buffer.width, buffer.height), 0, 0);
  }
  return buffer;
}

PixelBuffer ArtworkPixels(Artwork art, int size) {
  PixelBuffer buffer;
  buffer.Resize(size, size);
  auto bitmap = BitmapOver(buffer, PixelFormat32bppPARGB);
  {
    Gdiplus::Graphics g(bitmap.get());
    Smooth(g);
    const auto scale = static_cast<float>(size / kArtDrawnAt);
    g.ScaleTransform(scale, scale);
    PaintArt(g, DescribeArt(art, kArtDrawnAt, kArtDrawnAt), 0, 0);
  }
  return buffer;
}

DrawingPainting::DrawingPainting() : canvas_(std::make_unique<GdiCanvas>()) {}
DrawingPainting::~DrawingPainting() = default;

void DrawingPainting::Refresh(const Drawing& drawing) {
  const auto& layers = drawing.Layers();
  const bool first = layers_.empty();
  layers_.resize(layers.size());
  for (std::size_t i = 0; i < layers.size(); ++i) {
    Layer& cache = layers_[i];
    if (cache.version == drawing.LayerVersion(i) && cache.version != 0) {
      continue;
    }
    if (!first) {
      changing_from_ = std::min(changing_from_, i);
    }
    cache = Layer{.version = drawing.LayerVersion(i)};
    // Lines of one style go into one path, each line a figure of its own; filled shapes of one
    // colour are filled together.
    std::map<std::tuple<int, int, bool>, std::size_t> stroke_of;
    std::map<int, std::size_t> fill_of;
    for (const Polyline& line : layers[i].lines) {
      if (line.points.size() < 2) {
        continue;
      }
      if (line.fill) {
        auto [it, added] = fill_of.try_emplace(Rgb(*line.fill), cache.fills.size());
        if (added) {
          cache.fills.push_back({.color = *line.fill});
        }
        Fill& fill = cache.fills[it->second];
        fill.points.insert(fill.points.end(), line.points.begin(), line.points.end());
        fill.counts.push_back(static_cast<INT>(line.points.size()));
      }
      if (line.width <= 0) {
        continue;
      }
      const auto key = std::tuple(Rgb(line.color), line.width, line.dashed);
      auto [it, added] = stroke_of.try_emplace(key, cache.strokes.size());
      if (added) {
        cache.strokes.push_back({.color = line.color,
                                 .width = line.width,
                                 .dashed = line.dashed,
                                 .path = std::make_unique<Gdiplus::GraphicsPath>()});
      }
      std::vector<Gdiplus::PointF> points;
      points.reserve(line.points.size());
      for (const DrawPoint& p : line.points) {
        points.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
      }
      Gdiplus::GraphicsPath& path = *cache.strokes[it->second].path;
      path.StartFigure();
      path.AddLines(points.data(), static_cast<int>(points.size()));
    }
    for (const Marker& marker : layers[i].markers) {
      if (cache.dots.empty() || !(cache.dots.back().color == marker.color) ||
          cache.dots.back().outline != marker.outline ||
          cache.dots.back().radius != marker.radius) {
        cache.dots.push_back(
            {.color = marker.color, .outline = marker.outline, .radius = marker.radius});
      }
      cache.dots.back().points.push_back(marker.at);
    }
  }
}

const PixelBuffer& DrawingPainting::Sprite(const Dots& dots) {
  const auto key = std::tuple(Rgb(dots.color), dots.outline ? Rgb(*dots.outline) : -1, dots.radius);
  auto it = sprites_.find(key);
  if (it != sprites_.end()) {
    return it->second;
  }
  PixelBuffer sprite;
  const int size = 2 * dots.radius + 4;
  sprite.Resize(size, size);
  {
    auto bitmap = BitmapOver(sprite, PixelFormat32bppPARGB);
    Gdiplus::Graphics g(bitmap.get());
    Smooth(g);
    const float middle = static_cast<float>(size) / 2;
    auto disc = [&](Color c, float r) {
      Gdiplus::SolidBrush brush(GdipColor(c));
      g.FillEllipse(&brush, middle - r, middle - r, 2 * r, 2 * r);
    };
    if (dots.outline) {
      disc(*dots.outline, static_cast<float>(dots.radius) + 1.5F);
    }
    disc(dots.color, static_cast<float>(dots.radius));
  }
  return sprites_.emplace(key, std::move(sprite)).first->second;
}

Gdiplus::Font& DrawingPainting::FontOf(const FontHints& hints) {
  const int points = hints.points > 0 ? hints.points : kDefaultPoints;
  auto& font = fonts_[{hints.bold, points}];
  if (!font) {
    font = std::make_unique<Gdiplus::Font>(
        UiFaceName(), static_cast<float>(points),
        hints.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
  }
  return *font;
}

const DrawingPainting::TextSprite& DrawingPainting::SpriteOf(const DrawLabel& label) {
  auto key = std::tuple(label.text, label.font.bold, label.font.points, Rgb(label.color),
                        static_cast<int>(label.align));
  if (auto it = texts_.find(key); it != texts_.end()) {
    return it->second;
  }
  if (texts_.size() >= kMostTexts) {
    texts_.clear();
  }
  const std::wstring text = Widen(label.text);
  const int length = static_cast<int>(text.size());
  Gdiplus::Font& font = FontOf(label.font);
  Gdiplus::StringFormat format;
  format.SetAlignment(label.align == Alignment::kCenter  ? Gdiplus::StringAlignmentCenter
                      : label.align == Alignment::kRight ? Gdiplus::StringAlignmentFar
                                                         : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  format.SetFormatFlags(Gdiplus::StringFormatFlagsNoClip | Gdiplus::StringFormatFlagsNoWrap);
  Gdiplus::RectF box;
  {
    PixelBuffer one;
    one.Resize(1, 1);
    auto bitmap = BitmapOver(one, PixelFormat32bppPARGB);
    Gdiplus::Graphics g(bitmap.get());
    Smooth(g);
    g.MeasureString(text.c_str(), length, &font, Gdiplus::PointF(0, 0), &format, &box);
  }
  // Painted about its point as the text would be on the map, with room on every side for any
  // alignment and for glyphs reaching past the measured box, then cut to the ink.
  const double room = std::ceil(box.Width + box.Height) + kTextMargin;
  PixelBuffer painted;
  painted.Resize(static_cast<int>(2 * room), static_cast<int>(2 * room));
  const Gdiplus::PointF at(static_cast<float>(room), static_cast<float>(room));
  {
    auto bitmap = BitmapOver(painted, PixelFormat32bppPARGB);
    Gdiplus::Graphics g(bitmap.get());
    Smooth(g);
    if (label.font.bold) {
      // Bold labels stand over dots and shades: a white halo keeps them readable.
      Gdiplus::SolidBrush halo(Gdiplus::Color(255, 255, 255, 255));
      for (const auto& [dx, dy] :
           {std::pair(-1, 0), std::pair(1, 0), std::pair(0, -1), std::pair(0, 1)}) {
        const Gdiplus::PointF shifted(at.X + static_cast<float>(dx), at.Y + static_cast<float>(dy));
        g.DrawString(text.c_str(), length, &font, shifted, &format, &halo);
      }
    }
    Gdiplus::SolidBrush ink(GdipColor(label.color));
    g.DrawString(text.c_str(), length, &font, at, &format, &ink);
  }
  int left = painted.width;
  int right = 0;
  int top = painted.height;
  int bottom = 0;
  for (int y = 0; y < painted.height; ++y) {
    for (int x = 0; x < painted.width; ++x) {
      if (painted.At(x, y) != 0) {
        left = std::min(left, x);
        right = std::max(right, x + 1);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
      }
    }
  }
  TextSprite sprite{.origin = {at.X - left, at.Y - top}};
  sprite.pixels.Resize(right - left, bottom - top);
  for (int y = top; y < bottom; ++y) {
    std::copy_n(&painted.pixels[static_cast<std::size_t>(y) * painted.width + left], right - left,
                &sprite.pixels.pixels[static_cast<std::size_t>(y - top) * sprite.pixels.width]);
  }
  return texts_.emplace(std::move(key), std::move(sprite)).first->second;
}

void DrawingPainting::PaintLabels(const DrawingLayer& layer, const Drawing& drawing,
                                  PixelBuffer& buffer) {
  for (const DrawLabel& label : layer.labels) {
    DrawPoint at = layer.pinned ? label.at : drawing.ToPixels(label.at);
    at.x += label.dx;
    at.y += label.dy;
    if (at.x < -300 || at.x > buffer.width + 300 || at.y < -30 || at.y > buffer.height + 30) {
      continue;
    }
    const TextSprite& text = SpriteOf(label);
    Blend(buffer, text.pixels, static_cast<int>(std::lround(at.x - text.origin.x)),
          static_cast<int>(std::lround(at.y - text.origin.y)));
  }
}

void DrawingPainting::PaintLayer(Gdiplus::Graphics& g, std::size_t i, const Drawing& drawing,
                                 const Gdiplus::Matrix& view, PixelBuffer& buffer) {
  const DrawingLayer& layer = drawing.Layers()[i];
  const Layer& cache = layers_[i];
  auto pixel = [&](DrawPoint p) { return layer.pinned ? p : drawing.ToPixels(p); };
  if (!cache.fills.empty()) {
    g.Flush(Gdiplus::FlushIntentionSync);
    HDC dc = canvas_->Begin(buffer);
    std::vector<POINT> points;
    for (const Fill& fill : cache.fills) {
      points.clear();
      for (const DrawPoint& p : fill.points) {
        // GDI's coordinates end at 2^27; a shape zoomed that far out of sight is cut to it.
        constexpr double kFar = 1 << 26;
        const DrawPoint at = pixel(p);
        points.push_back({static_cast<LONG>(std::lround(std::clamp(at.x, -kFar, kFar))),
                          static_cast<LONG>(std::lround(std::clamp(at.y, -kFar, kFar)))});
      }
      if (dc != nullptr) {
        HBRUSH brush = CreateSolidBrush(RGB(fill.color.r, fill.color.g, fill.color.b));
        const HGDIOBJ old_brush = SelectObject(dc, brush);
        const HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
        SetPolyFillMode(dc, ALTERNATE);
        PolyPolygon(dc, points.data(), fill.counts.data(), static_cast<int>(fill.counts.size()));
        SelectObject(dc, old_pen);
        SelectObject(dc, old_brush);
        DeleteObject(brush);
        continue;
      }
      // Without room for GDI's copy of the frame, GDI+ fills the shapes itself.
      g.SetSmoothingMode(Gdiplus::SmoothingModeNone);
      Gdiplus::SolidBrush brush(GdipColor(fill.color));
      const POINT* shape = points.data();
      for (const INT count : fill.counts) {
        std::vector<Gdiplus::Point> corners;
        for (INT k = 0; k < count; ++k, ++shape) {
          corners.emplace_back(shape->x, shape->y);
        }
        g.FillPolygon(&brush, corners.data(), count);
      }
      g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    }
    if (dc != nullptr) {
      canvas_->End(buffer);
    }
  }
  for (const Stroke& stroke : cache.strokes) {
    // Pens stay their width in pixels whatever the zoom: the path moves, not the painter.
    std::unique_ptr<Gdiplus::GraphicsPath> path(stroke.path->Clone());
    if (!layer.pinned) {
      path->Transform(&view);
    }
    Gdiplus::Pen pen(GdipColor(stroke.color), static_cast<float>(stroke.width));
    if (stroke.dashed) {
      const Gdiplus::REAL dashes[] = {4, 2};
      pen.SetDashPattern(dashes, 2);
    }
    g.DrawPath(&pen, path.get());
  }
  // Dots and texts are copied in from their sprites, past GDI+.
  g.Flush(Gdiplus::FlushIntentionSync);
  for (const Dots& dots : cache.dots) {
    const PixelBuffer& sprite = Sprite(dots);
    const double half = sprite.width / 2.0;
    for (const DrawPoint& at : dots.points) {
      const DrawPoint p = pixel(at);
      if (p.x > -10 && p.y > -10 && p.x < buffer.width + 10 && p.y < buffer.height + 10) {
        Blend(buffer, sprite, static_cast<int>(std::lround(p.x - half)),
              static_cast<int>(std::lround(p.y - half)));
      }
    }
  }
  PaintLabels(layer, drawing, buffer);
}

void DrawingPainting::Paint(PixelBuffer& buffer, const Drawing& drawing) {
  Refresh(drawing);
  buffer.Resize(static_cast<int>(TwipsToPixels(drawing.Width())),
                static_cast<int>(TwipsToPixels(drawing.Height())));
  const auto& layers = drawing.Layers();
  // The layers below the ones that change between redraws (the QSOs over the map) come from the
  // last paint while the view and they stay as they were.
  std::size_t from = 0;
  if (base_.width == buffer.width && base_.height == buffer.height &&
      base_view_ == drawing.View() && base_back_ == drawing.BackColor() &&
      base_versions_.size() <= layers.size()) {
    while (from < base_versions_.size() && base_versions_[from] == drawing.LayerVersion(from)) {
      ++from;
    }
  }
  if (from == base_versions_.size() && from > 0) {
    buffer.pixels = base_.pixels;
  } else {
    from = 0;
    std::fill(buffer.pixels.begin(), buffer.pixels.end(),
              0xFF000000U | static_cast<std::uint32_t>(Rgb(drawing.BackColor())));
  }
  auto bitmap = BitmapOver(buffer, PixelFormat32bppPARGB);
  Gdiplus::Graphics g(bitmap.get());
  Smooth(g);
  const DrawingZoom& v = drawing.View();
  const auto scale = static_cast<float>(v.scale);
  const Gdiplus::Matrix view(scale, 0, 0, scale,
                             static_cast<float>(buffer.width / 2.0 - v.scale * v.centre.x),
                             static_cast<float>(buffer.height / 2.0 - v.scale * v.centre.y));
  const std::size_t keep = std::min(changing_from_, layers.size());
  for (std::size_t i = from; i <= layers.size(); ++i) {
    if (i == keep && i > from) {
      g.Flush(Gdiplus::FlushIntentionSync);
      base_ = buffer;
      base_view_ = drawing.View();
      base_back_ = drawing.BackColor();
      base_versions_.clear();
      for (std::size_t l = 0; l < i; ++l) {
        base_versions_.push_back(drawing.LayerVersion(l));
      }
    }
    if (i < layers.size() && drawing.Shows(layers[i])) {
      PaintLayer(g, i, drawing, view, buffer);
    }
  }
  g.Flush(Gdiplus::FlushIntentionSync);
}

}  // namespace keldra::win32

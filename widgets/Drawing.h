// A drawing: layers of polylines, points and labels in the drawing's own coordinates (any unit,
// x to the right, y downwards), and the view that maps them onto the control: the point at the
// centre of the control and how many pixels one unit takes. The front end paints it and lets the
// operator zoom and pan by changing the view only, so a zoom or pan step never rebuilds a layer.
// A layer may be pinned to the control instead (a legend): its coordinates are then pixels from
// the control's top-left corner, untouched by the view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "widgets/Control.h"

namespace keldra {

struct DrawPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const DrawPoint&, const DrawPoint&) = default;
};

struct Polyline {
  std::vector<DrawPoint> points{};
  Color color{};
  int width = 1;                // pixels, whatever the zoom; 0: no line (a filled shape only)
  std::optional<Color> fill{};  // a closed shape filled with this colour
  bool dashed = false;
};

// A dot of a fixed size in pixels, with the text the tooltip over it shows.
struct Marker {
  DrawPoint at{};
  Color color{};
  int radius = 3;
  std::string tooltip{};  // Windows-1252
  std::optional<Color> outline{};
};

struct DrawLabel {
  DrawPoint at{};
  std::string text{};  // Windows-1252
  Color color{};
  FontHints font{};
  Alignment align = Alignment::kLeft;  // where the text stands from its point
  int dx = 0;                          // a shift in pixels from the point
  int dy = 0;
};

struct DrawingLayer {
  std::vector<Polyline> lines{};
  std::vector<Marker> markers{};
  std::vector<DrawLabel> labels{};
  // Drawn only from this many pixels per unit on (0: always), so detail appears when zoomed in.
  double min_scale = 0;
  bool pinned = false;
  bool visible = true;
};

struct DrawingZoom {
  DrawPoint centre{};
  double scale = 1;  // pixels per unit
  friend bool operator==(const DrawingZoom&, const DrawingZoom&) = default;
};

class Drawing : public Control {
 public:
  Drawing(Form& form, std::string name);
  // It takes the focus so that + and - zoom it.
  bool CanFocus() const override { return true; }

  const std::vector<DrawingLayer>& Layers() const { return layers_; }
  // Replaces one layer (adding empty ones up to it) and tells the front end which.
  void SetLayer(std::size_t index, DrawingLayer layer);
  // A counter per layer that grows with each change: the front end caches by it.
  std::uint64_t LayerVersion(std::size_t index) const {
    return index < versions_.size() ? versions_[index] : 0;
  }

  const DrawingZoom& View() const { return view_; }
  // From code: the front end redraws with it.
  void SetView(DrawingZoom view);
  // From the operator (wheel, keys, dragging): kept, and ViewChanged runs; nothing is redrawn
  // from here because the front end already shows it.
  void UserView(DrawingZoom view);
  // The view that shows the rectangle from `a` to `b` whole in the control, with a margin in
  // pixels; a rectangle of no size keeps the present scale.
  DrawingZoom ViewFitting(DrawPoint a, DrawPoint b, int margin_pixels) const;
  // The view scaled by `factor` about the control's centre.
  DrawingZoom Zoomed(double factor) const;
  // The view scaled by `factor` (within the limits) about the pixel (px, py) of the control: the
  // point under it stays there. The wheel zooms about the cursor, + and - about the middle.
  DrawingZoom ZoomedAbout(double factor, double px, double py) const;
  // The view dragged (dx, dy) pixels from its centre `from` where the drag began.
  DrawingZoom Dragged(DrawPoint from, double dx, double dy) const;
  // Whether a layer shows at the present scale.
  bool Shows(const DrawingLayer& layer) const;
  // The dot with a tooltip under the pixel (px, py): in the top layer that has one, the nearest
  // within its radius and 3 pixels, the one drawn last among equals; null when none.
  const Marker* MarkerAt(double px, double py) const;
  // The operator let the left button go at `released` after pressing it at `pressed` (pixels of
  // the control): a click when it moved less than kClickSlop (more is a drag of the view), which
  // runs MarkerClick for the dot MarkerAt finds there. True when a dot took it.
  bool UserRelease(DrawPoint pressed, DrawPoint released);

  // Units of the drawing under a pixel of the control, and back, in the present view.
  DrawPoint ToUnits(double px, double py) const;
  DrawPoint ToPixels(DrawPoint at) const;

  std::function<void()> ViewChanged;
  // A click on a dot: its layer and its place in the layer's markers.
  std::function<void(std::size_t layer, std::size_t marker)> MarkerClick;

  // The zoom of a wheel step or a press of + or -.
  static constexpr double kZoomStep = 1.25;
  static constexpr double kClickSlop = 4;
  // Limits of the scale the operator can zoom to.
  double min_scale = 0;
  double max_scale = 1e9;

 private:
  std::vector<DrawingLayer> layers_;
  std::vector<std::uint64_t> versions_;
  std::uint64_t next_version_ = 1;
  DrawingZoom view_;
};

// Paints a drawing as it stands (size, view, layers) into the bytes of a PNG image; only the front
// end can paint, so a window asks it through this. Nothing when it cannot.
class DrawingPainter {
 public:
  virtual ~DrawingPainter() = default;
  virtual std::optional<std::string> Png(const Drawing& drawing) = 0;
};

}  // namespace keldra

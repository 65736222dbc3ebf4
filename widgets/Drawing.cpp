#include "widgets/Drawing.h"

#include <algorithm>
#include <cmath>

namespace keldra {
Drawing::Drawing(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::kDrawing) {}

void Drawing::SetLayer(std::size_t index, DrawingLayer layer) {
  if (layers_.size() <= index) {
    layers_.resize(index + 1);
    versions_.resize(index + 1, 0);
  }
  layers_[index] = std::move(layer);
  versions_[index] = next_version_++;
  Notify(Property::kLayers);
}

void Drawing::SetView(DrawingZoom view) {
  view.scale = std::clamp(view.scale, min_scale, max_scale);
  if (view == view_) {
    return;
  }
  view_ = view;
  Notify(Property::kView);
  if (ViewChanged) {
    ViewChanged();
  }
}

void Drawing::UserView(DrawingZoom view) {
  view.scale = std::clamp(view.scale, min_scale, max_scale);
  view_ = view;
  if (ViewChanged) {
    ViewChanged();
  }
}

DrawingZoom Drawing::ViewFitting(DrawPoint a, DrawPoint b, int margin_pixels) const {
  const double width = std::max(1.0, TwipsToPixels(Width()) - 2.0 * margin_pixels);
  const double height = std::max(1.0, TwipsToPixels(Height()) - 2.0 * margin_pixels);
  const double dx = std::abs(b.x - a.x);
  const double dy = std::abs(b.y - a.y);
  DrawingZoom view{{(a.x + b.x) / 2, (a.y + b.y) / 2}, view_.scale};
  if (dx > 0 || dy > 0) {
    view.scale = std::min(dx > 0 ? width / dx : 1e300, dy > 0 ? height / dy : 1e300);
  }
  view.scale = std::clamp(view.scale, min_scale, max_scale);
  return view;
}

DrawingZoom Drawing::Zoomed(double factor) const {
  DrawingZoom view = view_;
  view.scale = std::clamp(view.scale * factor, min_scale, max_scale);
  return view;
}

DrawingZoom Drawing::ZoomedAbout(double factor, double px, double py) const {
  const DrawPoint fixed = ToUnits(px, py);
  DrawingZoom view = view_;
  view.scale = std::clamp(view.scale * factor, min_scale, max_scale);
  view.centre = {fixed.x - (px - TwipsToPixels(Width()) / 2) / view.scale,
                 fixed.y - (py - TwipsToPixels(Height()) / 2) / view.scale};
  return view;
}

DrawingZoom Drawing::Dragged(DrawPoint from, double dx, double dy) const {
  return {{from.x - dx / view_.scale, from.y - dy / view_.scale}, view_.scale};
}

bool Drawing::Shows(const DrawingLayer& layer) const {
  return layer.visible && (layer.pinned || view_.scale >= layer.min_scale);
}

const Marker* Drawing::MarkerAt(double px, double py) const {
  // The top layer first, and in a layer the dot drawn last: the one the operator sees.
  for (std::size_t i = layers_.size(); i-- > 0;) {
    if (!Shows(layers_[i])) {
      continue;
    }
    const Marker* best = nullptr;
    double best_distance = 0;
    for (auto m = layers_[i].markers.rbegin(); m != layers_[i].markers.rend(); ++m) {
      if (m->tooltip.empty()) {
        continue;
      }
      const DrawPoint p = layers_[i].pinned ? m->at : ToPixels(m->at);
      const double distance = std::hypot(p.x - px, p.y - py);
      if (distance <= m->radius + 3 && (best == nullptr || distance < best_distance)) {
        best = &*m;
        best_distance = distance;
      }
    }
    if (best != nullptr) {
      return best;
    }
  }
  return nullptr;
}

bool Drawing::UserRelease(DrawPoint pressed, DrawPoint released) {
  if (!MarkerClick || std::hypot(released.x - pressed.x, released.y - pressed.y) >= kClickSlop) {
    return false;
  }
  const Marker* marker = MarkerAt(released.x, released.y);
  if (marker == nullptr) {
    return false;
  }
  for (std::size_t i = 0; i < layers_.size(); ++i) {
    const std::vector<Marker>& markers = layers_[i].markers;
    if (!markers.empty() && marker >= markers.data() && marker < markers.data() + markers.size()) {
      // The handler may replace the layer: it gets indices, never the dot itself.
      MarkerClick(i, static_cast<std::size_t>(marker - markers.data()));
      return true;
    }
  }
  return false;
}

DrawPoint Drawing::ToUnits(double px, double py) const {
  return {view_.centre.x + (px - TwipsToPixels(Width()) / 2) / view_.scale,
          view_.centre.y + (py - TwipsToPixels(Height()) / 2) / view_.scale};
}

DrawPoint Drawing::ToPixels(DrawPoint at) const {
  return {(at.x - view_.centre.x) * view_.scale + TwipsToPixels(Width()) / 2,
          (at.y - view_.centre.y) * view_.scale + TwipsToPixels(Height()) / 2};
}

}  // namespace keldra

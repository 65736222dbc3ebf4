#include "widgets/Drawing.h"

#include <algorithm>
#include <cmath>

namespace keldra {
namespace {}

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

void Drawing::SetView(DrawingView view) {
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

void Drawing::UserView(DrawingView view) {
  view.scale = std::clamp(view.scale, min_scale, max_scale);
  view_ = view;
  if (ViewChanged) {
    ViewChanged();
  }
}

DrawingView Drawing::ViewFitting(DrawPoint a, DrawPoint b, int margin_pixels) const {
  const double width = std::max(1.0, TwipsToPixels(Width()) - 2.0 * margin_pixels);
  const double height = std::max(1.0, TwipsToPixels(Height()) - 2.0 * margin_pixels);
  const double dx = std::abs(b.x - a.x);
  const double dy = std::abs(b.y - a.y);
  DrawingView view{{(a.x + b.x) / 2, (a.y + b.y) / 2}, view_.scale};
  if (dx > 0 || dy > 0) {
    view.scale = std::min(dx > 0 ? width / dx : 1e300, dy > 0 ? height / dy : 1e300);
  }
  view.scale = std::clamp(view.scale, min_scale, max_scale);
  return view;
}

DrawingView Drawing::Zoomed(double factor) const {
  DrawingView view = view_;
  view.scale = std::clamp(view.scale * factor, min_scale, max_scale);
  return view;
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

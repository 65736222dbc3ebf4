// Layout helpers for the windows: positions are written in pixels at 96 dpi and stored in twips.
#pragma once

#include "widgets/Control.h"

namespace keldra {

constexpr int Px(int pixels) { return pixels * kTwipsPerPixel; }

// Places a control at a pixel rectangle (relative to its container) inside an optional container.
inline void Place(Control& control, int x, int y, int w, int h, Control* container = nullptr) {
  control.SetContainer(container);
  control.Move(Px(x), Px(y), Px(w), Px(h));
}

}  // namespace keldra

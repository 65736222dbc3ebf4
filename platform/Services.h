// The services a window may call besides its controls: message boxes and the clock. Program is
// built with them, so tests replace them with a recorder and a fixed clock (tests/support/).
#pragma once

#include <optional>
#include <string>

#include "platform/DateTime.h"

namespace keldra {

enum class MessageIcon { kNone, kInformation, kCritical };

inline constexpr const char* kDefaultTitle = "Keldra VHF qrp Test";

// A modal box with a title, a text, an icon and an OK button. Texts are Windows-1252.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Local() const = 0;
  virtual DateTime Utc() const = 0;
};

class Drawing;

// Paints a drawing as it stands (size, view, layers) into the bytes of a PNG image; only the front
// end can paint, so a window asks it through this. Nothing when it cannot.
class DrawingPainter {
 public:
  virtual ~DrawingPainter() = default;
  virtual std::optional<std::string> Png(const Drawing& drawing) = 0;
};

// The PC clock.
class SystemClock : public Clock {
 public:
  DateTime Local() const override;
  DateTime Utc() const override;
};

}  // namespace keldra

// The base of our windowing layer: a named control with geometry, visibility, colours and font
// hints, owned by a Form. Controls are plain objects; the front end observes them through the
// Screen and draws them, but nothing here depends on a GUI. Positions and sizes are in twips
// (15 twips are one pixel at 96 dpi), relative to the control's container.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace keldra {

// Twips in one pixel at 96 dpi, and the same length in (fractional) pixels.
inline constexpr int kTwipsPerPixel = 15;
constexpr double TwipsToPixels(double twips) { return twips / kTwipsPerPixel; }

class Form;

// An RGB colour as the windows store it.
struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kYellow{255, 255, 0};
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kButtonFace{240, 240, 240};

// Virtual key codes of the window system, as handlers see them in KeyDown: one code per key,
// whatever the layout puts on it. A key with no code arrives as kNone, never as another key.
namespace key {
inline constexpr int kNone = 0;
inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kEnter = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kAlt = 18;
inline constexpr int kPause = 19;
inline constexpr int kCapsLock = 20;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kPrintScreen = 44;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kMeta = 91;
inline constexpr int kMenu = 93;
inline constexpr int kNumpad0 = 96;  // to 105 for the keypad's 9
inline constexpr int kNumpadMultiply = 106;
inline constexpr int kNumpadAdd = 107;
inline constexpr int kNumpadSubtract = 109;
inline constexpr int kNumpadDecimal = 110;
inline constexpr int kNumpadDivide = 111;
inline constexpr int kF1 = 112;  // to 123 for F12
inline constexpr int kNumLock = 144;
inline constexpr int kScrollLock = 145;
}  // namespace key

// The modifiers held with a key, so a window can tell Shift+F1 from F1.
struct KeyModifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
  bool operator==(const KeyModifiers&) const = default;
};

enum class ControlKind {
  kTextBox,
  kLabel,
  kCommandButton,
  kCheckBox,
  kComboBox,
  kListBox,
  kFrame,
  kPictureBox,
  kLine,
  kImage,
  kDrawing
};

// What changed on a control, so the front end redraws only that.
enum class Property {
  kText,          // text or caption
  kTextAppended,  // text grew at its end only (see TextBox::AppendText)
  kCaret,
  kVisible,
  kEnabled,
  kGeometry,
  kLocked,
  kColors,
  kFont,
  kToolTip,
  kItems,
  kListIndex,
  kValue,
  kLinePoints,
  kLayers,  // a drawing's layers (their versions say which)
  kView     // a drawing's view, set by code
};

enum class Alignment { kLeft, kCenter, kRight };

struct FontHints {
  bool bold = false;
  int points = 0;  // 0: the window's default size
  bool fixed_pitch = false;
};

class Control {
 public:
  Control(Form& form, std::string name, ControlKind kind);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }
  Form& Parent() const { return form_; }

  // The frame or picture box this control sits in; null for the form itself.
  Control* Container() const { return container_; }
  void SetContainer(Control* container) { container_ = container; }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Move(int left, int top, int width, int height);

  const std::string& ToolTip() const { return tooltip_; }
  void SetToolTip(std::string tooltip);

  const FontHints& Font() const { return font_; }
  void SetFont(FontHints font);

  Color BackColor() const { return back_color_; }
  void SetBackColor(Color color);
  Color ForeColor() const { return fore_color_; }
  void SetForeColor(Color color);

  // Whether the control can hold the focus at all (labels, frames and lines cannot).
  virtual bool CanFocus() const { return false; }
  // Visible, enabled, focusable, and so are its containers.
  bool CanTakeFocusNow() const;

  // Moves the focus of the whole program to this control (LostFocus of the old, then GotFocus).
  void SetFocus();
  bool HasFocus() const;

  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  std::function<void()> Click;

 protected:
  void Notify(Property property);

 private:
  Form& form_;
  std::string name_;
  ControlKind kind_;
  Control* container_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  int left_ = 0;
  int top_ = 0;
  int width_ = 1200;
  int height_ = 300;
  std::string tooltip_;
  FontHints font_;
  Color back_color_ = kWhite;
  Color fore_color_ = kBlack;
};

}  // namespace keldra

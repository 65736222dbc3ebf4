// The labels of the Windows front end. A window holds dozens of them, and a label of its own
// window would cost its creation, its subclass and a paint message of its own, each a round of
// requests to the window manager (under Wine, to its server) for a caption that only code writes:
// so a label is painted by what holds it: the form's window, its frame (before the frame's own
// children) or its picture box (over the picture). A change of a label repaints only the place
// it covers, at the host's next paint, with the other labels that changed in the same handler.
#include <algorithm>
#include <string>

#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "win32/Win32FrontEnd.h"
#include "win32/Win32FrontEndParts.h"
#include "win32/Win32Text.h"

namespace keldra::win32 {

HWND Win32FrontEnd::LabelHost(const Control& label) const {
  if (const Control* box = label.Container(); box != nullptr) {
    return HandleOf(*box);
  }
  const Window* window = WindowOfForm(label.Parent());
  return window != nullptr ? window->top : nullptr;
}

RECT Win32FrontEnd::LabelPlace(const Control& label) const {
  // In the host's client area: a container's window starts where the label's coordinates do.
  const UINT dpi = WindowOfForm(label.Parent())->dpi;
  const int left = Pixels(label.Left(), dpi);
  const int top = Pixels(label.Top(), dpi);
  return RECT{left, top, left + std::max(1, Pixels(label.Width(), dpi)),
              top + std::max(1, Pixels(label.Height(), dpi))};
}

std::optional<Win32FrontEnd::PaintedLabel> Win32FrontEnd::LabelOf(const Control& label) const {
  const auto shown = shown_.find(&label);
  if (label.Kind() != ControlKind::kLabel || shown == shown_.end() || !shown->second.place) {
    return std::nullopt;
  }
  const auto& place = *shown->second.place;
  return PaintedLabel{
      LabelHost(label), RECT{place[0], place[1], place[0] + place[2], place[1] + place[3]},
      shown->second.visible.value_or(false), shown->second.caption.value_or(std::wstring()),
      shown->second.font.value_or(nullptr)};
}

void Win32FrontEnd::SyncLabel(const Label& label, Property property) {
  Shown& shown = shown_[&label];
  switch (property) {
    case Property::kGeometry: {
      const RECT place = LabelPlace(label);
      const std::array<int, 5> now{place.left, place.top, place.right - place.left,
                                   place.bottom - place.top,
                                   static_cast<int>(WindowOfForm(label.Parent())->dpi)};
      if (shown.place == now) {
        break;
      }
      InvalidateLabel(label, true);  // where it stood
      shown.place = now;
      InvalidateLabel(label, false);
      if (!label.ToolTip().empty()) {
        SyncToolTip(label);
      }
      break;
    }
    case Property::kVisible:
      if (Changed(shown.visible, ShownWithContainers(label))) {
        InvalidateLabel(label, !*shown.visible);
        if (!label.ToolTip().empty()) {
          SyncToolTip(label);
        }
      }
      break;
    case Property::kEnabled:
      if (Changed(shown.enabled, EnabledWithContainers(label))) {
        InvalidateLabel(label, false);
      }
      break;
    case Property::kColors:
      if (Changed(shown.colors, std::pair{label.BackColor(), label.ForeColor()})) {
        InvalidateLabel(label, false);
      }
      break;
    case Property::kFont:
      if (Changed(shown.font, look_.Font(label.Font(), WindowOfForm(label.Parent())->dpi))) {
        InvalidateLabel(label, false);
      }
      break;
    case Property::kText:
      if (Changed(shown.caption, Widen(label.Caption()))) {
        InvalidateLabel(label, false);
      }
      break;
    case Property::kToolTip:
      if (Changed(shown.tooltip, label.ToolTip())) {
        SyncToolTip(label);
      }
      break;
    default:
      break;
  }
}

void Win32FrontEnd::InvalidateLabel(const Control& label, bool erase) {
  const Shown& shown = shown_[&label];
  HWND host = LabelHost(label);
  // Before its window is first shown, the window's first paint takes every label.
  if (!shown.place || host == nullptr || !IsWindowVisible(WindowOfForm(label.Parent())->top)) {
    return;
  }
  const auto& place = *shown.place;
  const RECT area{place[0], place[1], place[0] + place[2], place[1] + place[3]};
  InvalidateRect(host, &area, erase ? TRUE : FALSE);
}

void Win32FrontEnd::PaintLabels(HDC dc, const Window& window, const Control* host) {
  for (const Label* label : window.labels) {
    if (label->Container() != host) {
      continue;
    }
    const auto shown = shown_.find(label);
    if (shown == shown_.end() || shown->second.visible != true || !shown->second.place ||
        !shown->second.font) {
      continue;
    }
    const auto& place = *shown->second.place;
    const RECT area{place[0], place[1], place[0] + place[2], place[1] + place[3]};
    if (RectVisible(dc, &area)) {
      DrawLabel(dc, area, *label, *shown->second.font);
    }
  }
}

void Win32FrontEnd::DrawLabel(HDC dc, RECT area, const Label& label, HFONT font) {
  // A label on a white picture box stands on white; elsewhere on the window's face.
  const Control* box = label.Container();
  const bool on_white = box != nullptr && box->Kind() == ControlKind::kPictureBox &&
                        static_cast<const PictureBox*>(box)->Border();
  FillRect(dc, &area, GetSysColorBrush(on_white ? COLOR_WINDOW : COLOR_BTNFACE));
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, EnabledWithContainers(label) ? ToColorRef(label.ForeColor())
                                                : GetSysColor(COLOR_GRAYTEXT));
  std::wstring text = Widen(label.Caption());
  UINT format = DT_NOPREFIX | (label.Align() == Alignment::kCenter  ? DT_CENTER
                               : label.Align() == Alignment::kRight ? DT_RIGHT
                                                                    : DT_LEFT);
  if (label.WordWrap()) {
    format |= DT_WORDBREAK | DT_EDITCONTROL;
  }
  // The lines stand in the middle of the label's height, as the other front end shows them.
  RECT measured = area;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  if (label.WordWrap() && measured.bottom > area.bottom) {
    // A leading blank (the ODX distance keeps one) is no place to break a line: where it would
    // push the text onto a line out of sight, the text is drawn without it.
    RECT trimmed = area;
    const std::wstring rest = text.substr(std::min(text.find_first_not_of(L' '), text.size()));
    DrawTextW(dc, rest.c_str(), static_cast<int>(rest.size()), &trimmed, format | DT_CALCRECT);
    if (trimmed.bottom < measured.bottom) {
      text = rest;
      measured = trimmed;
    }
  }
  // Drawn within its place, as a window of its own would clip it.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  const int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
  if (spare > 0) {
    area.top += spare / 2;
  }
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
  RestoreDC(dc, saved);
  SelectObject(dc, old_font);
}

Label* Win32FrontEnd::ClickableLabelAt(const Window& window, const Control* host,
                                       POINT point) const {
  // The last one drawn is on top.
  for (auto it = window.labels.rbegin(); it != window.labels.rend(); ++it) {
    Label& label = **it;
    const Control* box = label.Container();
    const bool in_picture = box != nullptr && box->Kind() == ControlKind::kPictureBox;
    // The window takes the clicks of its own labels and of those in its frames.
    if ((host != nullptr ? box != host : in_picture) || !label.Click ||
        !ShownWithContainers(label) || !EnabledWithContainers(label)) {
      continue;
    }
    RECT place = LabelPlace(label);
    if (host == nullptr) {
      const POINT origin = Origin(label, window.dpi);
      OffsetRect(&place, origin.x, origin.y);
    }
    if (PtInRect(&place, point)) {
      return &label;
    }
  }
  return nullptr;
}

}  // namespace keldra::win32

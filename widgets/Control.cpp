#include "widgets/Control.h"

#include "widgets/Form.h"
#include "widgets/Screen.h"

namespace keldra {

Control::Control(Form& form, std::string name, ControlKind kind)
    : form_(form), name_(std::move(name)), kind_(kind) {
  form_.Register(*this);
  if (kind == ControlKind::kLabel || kind == ControlKind::kFrame ||
      kind == ControlKind::kCommandButton || kind == ControlKind::kCheckBox) {
    back_color_ = kButtonFace;
  }
}

void Control::Notify(Property property) { form_.Desktop().ControlChanged(*this, property); }

void Control::SetVisible(bool visible) {
  if (visible_ == visible) {
    return;
  }
  visible_ = visible;
  Notify(Property::kVisible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) {
    return;
  }
  enabled_ = enabled;
  Notify(Property::kEnabled);
}

void Control::Move(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Notify(Property::kGeometry);
}

void Control::SetToolTip(std::string tooltip) {
  tooltip_ = std::move(tooltip);
  Notify(Property::kToolTip);
}

void Control::SetFont(FontHints font) {
  font_ = font;
  Notify(Property::kFont);
}

void Control::SetBackColor(Color color) {
  if (back_color_ == color) {
    return;
  }
  back_color_ = color;
  Notify(Property::kColors);
}

void Control::SetForeColor(Color color) {
  if (fore_color_ == color) {
    return;
  }
  fore_color_ = color;
  Notify(Property::kColors);
}

bool Control::CanTakeFocusNow() const {
  if (!CanFocus() || !form_.Loaded()) {
    return false;
  }
  for (const Control* c = this; c != nullptr; c = c->Container()) {
    if (!c->Visible() || !c->Enabled()) {
      return false;
    }
  }
  return true;
}

void Control::SetFocus() { form_.Desktop().SetFocus(this); }

bool Control::HasFocus() const { return form_.Desktop().ActiveControl() == this; }

}  // namespace keldra

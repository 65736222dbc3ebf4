#include "widgets/Buttons.h"

namespace keldra {

CommandButton::CommandButton(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), ControlKind::kCommandButton), caption_(std::move(caption)) {}

void CommandButton::SetCaption(std::string caption) {
  if (caption == caption_) {
    return;
  }
  caption_ = std::move(caption);
  Notify(Property::kText);
}

void CommandButton::Press() {
  if (Click) {
    Click();
  }
}

CheckBox::CheckBox(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), ControlKind::kCheckBox), caption_(std::move(caption)) {}

void CheckBox::SetCaption(std::string caption) {
  if (caption == caption_) {
    return;
  }
  caption_ = std::move(caption);
  Notify(Property::kText);
}

void CheckBox::SetValue(int value) {
  if (value == value_) {
    return;
  }
  value_ = value;
  Notify(Property::kValue);
  if (Click) {
    Click();
  }
}

}  // namespace keldra

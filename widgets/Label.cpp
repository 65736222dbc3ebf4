#include "widgets/Label.h"

namespace keldra {

Label::Label(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), ControlKind::kLabel), caption_(std::move(caption)) {}

void Label::SetCaption(std::string caption) {
  if (caption == caption_) {
    return;
  }
  caption_ = std::move(caption);
  Notify(Property::kText);
  if (Change) {
    Change();
  }
}

}  // namespace keldra

// A label: a caption that code sets; Change runs at once when the caption really changes, so a
// window can react to its own indicators whichever code wrote them.
#pragma once

#include <functional>
#include <string>

#include "widgets/Control.h"

namespace keldra {

class Label : public Control {
 public:
  Label(Form& form, std::string name, std::string caption = {});

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  Alignment Align() const { return alignment_; }
  void SetAlign(Alignment alignment) { alignment_ = alignment; }
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool wrap) { word_wrap_ = wrap; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }

  std::function<void()> Change;

 private:
  std::string caption_;
  Alignment alignment_ = Alignment::kLeft;
  bool word_wrap_ = true;
  bool transparent_ = true;
};

}  // namespace keldra

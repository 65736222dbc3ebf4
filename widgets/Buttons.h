// Command buttons (that code can press) and check boxes.
#pragma once

#include <string>

#include "widgets/Control.h"

namespace keldra {

class CommandButton : public Control {
 public:
  CommandButton(Form& form, std::string name, std::string caption = {});

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // A picture button shows a drawing instead of (or beside) its caption.
  bool Graphical() const { return graphical_; }
  void SetGraphical(bool graphical) { graphical_ = graphical; }

  bool CanFocus() const override { return true; }

  // Runs Click, from code or from the operator; also for a hidden button.
  void Press();

 private:
  std::string caption_;
  bool graphical_ = false;
};

class CheckBox : public Control {
 public:
  CheckBox(Form& form, std::string name, std::string caption = {});

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  // 0 unticked, 1 ticked. Setting a different value runs Click, as a tick by the operator does.
  int Value() const { return value_; }
  void SetValue(int value);
  // The operator's click: toggles the tick.
  void Toggle() { SetValue(value_ == 0 ? 1 : 0); }

  bool CanFocus() const override { return true; }

 private:
  std::string caption_;
  int value_ = 0;
};

}  // namespace keldra

// Drop-down lists (combo boxes) and list boxes: items, the chosen index and Click when the choice
// changes.
#pragma once

#include <string>
#include <vector>

#include "widgets/Control.h"

namespace keldra {

class ListControl : public Control {
 public:
  using Control::Control;

  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(std::string item);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }

  // -1 when nothing is chosen. Choosing a different index runs Click.
  int ListIndex() const { return list_index_; }
  void SetListIndex(int index);
  // The chosen item's text, or empty.
  std::string Text() const;

  bool CanFocus() const override { return true; }

 private:
  std::vector<std::string> items_;
  int list_index_ = -1;
};

class ComboBox : public ListControl {
 public:
  ComboBox(Form& form, std::string name)
      : ListControl(form, std::move(name), ControlKind::kComboBox) {}
};

class ListBox : public ListControl {
 public:
  ListBox(Form& form, std::string name)
      : ListControl(form, std::move(name), ControlKind::kListBox) {}
};

}  // namespace keldra

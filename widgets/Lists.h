// Drop-down lists (combo boxes) and list boxes: items, the chosen index and Click when the choice
// changes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/Control.h"

namespace keldra {

class ListControl : public Control {
 public:
  using Control::Control;

  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(std::string item);
  // Replaces every item at once (one redraw for a whole list), with `index` chosen (-1: none);
  // Click runs when the chosen index changes.
  void SetItems(std::vector<std::string> items, int index = -1);
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

  // The operator double-clicked the chosen item.
  std::function<void()> DblClick;
  // A key pressed in the list (key code, modifiers held, handled), as in a text box; a key not
  // handled moves the choice as the list itself does.
  std::function<void(int, KeyModifiers, bool&)> KeyDown;
  bool PressKey(int key_code, KeyModifiers modifiers = {});
};

}  // namespace keldra

#include "widgets/Lists.h"

namespace keldra {

void ListControl::AddItem(std::string item) {
  items_.push_back(std::move(item));
  Notify(Property::kItems);
}

void ListControl::SetItems(std::vector<std::string> items, int index) {
  items_ = std::move(items);
  const int before = list_index_;
  list_index_ = index >= 0 && index < ListCount() ? index : -1;
  Notify(Property::kItems);
  if (list_index_ != before && Click) {
    Click();
  }
}

bool ListBox::PressKey(int key_code, KeyModifiers modifiers) {
  bool handled = false;
  if (KeyDown) {
    KeyDown(key_code, modifiers, handled);
  }
  return handled;
}

void ListControl::Clear() {
  items_.clear();
  list_index_ = -1;
  Notify(Property::kItems);
}

void ListControl::SetListIndex(int index) {
  if (index < -1 || index >= ListCount() || index == list_index_) {
    return;
  }
  list_index_ = index;
  Notify(Property::kListIndex);
  if (Click) {
    Click();
  }
}

std::string ListControl::Text() const {
  return list_index_ < 0 ? std::string() : items_[static_cast<std::size_t>(list_index_)];
}

}  // namespace keldra

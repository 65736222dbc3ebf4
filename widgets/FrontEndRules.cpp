#include "widgets/FrontEndRules.h"

#include "widgets/Buttons.h"
#include "widgets/Lists.h"
#include "widgets/Screen.h"
#include "widgets/TextBox.h"

namespace keldra {

KeyOutcome RouteKey(Screen& screen, Control& control, const KeyPress& key,
                    std::optional<TextSelection> shown) {
  if (key.code == key::kTab && !key.held.alt) {
    screen.FocusNext(key.held.shift);
    return KeyOutcome::kConsumed;
  }
  if (control.Kind() == ControlKind::kCommandButton) {
    if (key.code != key::kEnter && key.code != key::kSpace) {
      return KeyOutcome::kToWidget;
    }
    if (!key.repeat) {
      static_cast<CommandButton&>(control).Press();
    }
    return KeyOutcome::kConsumed;
  }
  if (control.Kind() == ControlKind::kListBox) {
    return static_cast<ListBox&>(control).PressKey(key.code, key.held) ? KeyOutcome::kConsumed
                                                                       : KeyOutcome::kToWidget;
  }
  if (control.Kind() != ControlKind::kTextBox) {
    return KeyOutcome::kToWidget;
  }
  auto& box = static_cast<TextBox&>(control);
  if (shown) {
    if (shown->length > 0) {
      box.Select(shown->start, shown->length);
    } else {
      box.SetSelStart(shown->start);
    }
  }
  if (box.PressKey(key.code, key.held)) {
    return KeyOutcome::kConsumed;
  }
  const bool select_all = key.code == 'A' && key.held == KeyModifiers{false, true, false};
  return select_all && !box.Locked() ? KeyOutcome::kSelectAll : KeyOutcome::kToWidget;
}

bool KeyUpConsumed(const Control& control, int code) {
  return control.Kind() == ControlKind::kCommandButton && code == key::kSpace;
}

Control* FocusTakenByWidget(Screen& screen, Control& control) {
  if (screen.ActiveControl() == &control) {
    return nullptr;
  }
  screen.SetFocus(&control);
  Control* now = screen.ActiveControl();
  return now != &control ? now : nullptr;
}

bool ClickOnPicture(Control& control) {
  const ControlKind kind = control.Kind();
  if ((kind != ControlKind::kLabel && kind != ControlKind::kPictureBox &&
       kind != ControlKind::kImage) ||
      !control.Click) {
    return false;
  }
  control.Click();
  return true;
}

bool ListAppends::Grew(const Control& box) {
  const bool first = waiting_.empty();
  waiting_.insert(&box);
  return first;
}

std::set<const Control*> ListAppends::TakeAllWaiting() {
  std::set<const Control*> all;
  all.swap(waiting_);
  return all;
}

void ListAppends::Shown(const Control& box, std::size_t size) {
  shown_[&box] = size;
  waiting_.erase(&box);
}

std::size_t ListAppends::ShownSize(const Control& box) const {
  const auto found = shown_.find(&box);
  return found != shown_.end() ? found->second : 0;
}

std::optional<std::size_t> ListAppends::TailFrom(const TextBox& box) const {
  const auto found = shown_.find(&box);
  if (!box.MultiLine() || found == shown_.end() || found->second > box.Text().size()) {
    return std::nullopt;
  }
  return found->second;
}

void ListAppends::Forget(const Control& box) {
  shown_.erase(&box);
  waiting_.erase(&box);
}

}  // namespace keldra

// The rules every front end follows between its widgets and the model, written once: what a key
// does before the widget sees it, the focus the operator moved, a click on a picture, the order in
// which a new control is set, and how a long list grows.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <unordered_map>

#include "widgets/Control.h"

namespace keldra {

class Screen;
class TextBox;

// A key going down in a control's widget, as the front end read it.
struct KeyPress {
  int code = key::kNone;
  KeyModifiers held;
  bool repeat = false;  // the window system repeating a key held down
};

// Where a widget's caret and selection stand, in the model's characters.
struct TextSelection {
  int start = 0;
  int length = 0;
};

// What the front end does with the key once the rules have run.
enum class KeyOutcome {
  kToWidget,   // the widget takes it as its own (typing, the caret, a list's arrows)
  kConsumed,   // the model took it; the widget never sees it
  kSelectAll,  // the widget selects its whole text, and sees the key no further
};

// Tab and Shift+Tab move the model's focus, also with Ctrl held (the way out of a multi-line box
// in other programs); Enter and Space press a button once however long they are held; a list's
// KeyDown sees its keys before the list moves its choice; in a text box the model's KeyDown sees
// every key, after the model's caret and selection were set to what the widget shows (`shown`;
// none where the model does not follow the widget's selection). Ctrl+A that no handler took
// selects the whole text of an unlocked box, whatever the window system's own control does with
// it.
KeyOutcome RouteKey(Screen& screen, Control& control, const KeyPress& key,
                    std::optional<TextSelection> shown);
// A key going up that the widget must not see: Space on a button, already pressed going down.
bool KeyUpConsumed(const Control& control, int code);

// The operator put the focus on a control's widget: the model's focus follows. Returns the
// control whose widget must take the focus instead when the model refused or moved it on, else
// null.
Control* FocusTakenByWidget(Screen& screen, Control& control);

// A click on a label, picture box or image runs its Click; returns whether it had one.
bool ClickOnPicture(Control& control);

// The properties a newly drawn control is set from, in this order: its place and look before its
// content, and whether it shows last.
inline constexpr Property kRefreshOrder[] = {
    Property::kGeometry, Property::kFont,      Property::kColors, Property::kToolTip,
    Property::kItems,    Property::kListIndex, Property::kValue,  Property::kLocked,
    Property::kEnabled,  Property::kText,      Property::kVisible};

// How long lists grow: a multi-line box whose text grew by appends gets only the new tail, once per
// turn of the front end's event loop however many lines came in it; a box whose text was set
// whole, shrank or was never drawn is drawn whole.
class ListAppends {
 public:
  // The box's text grew at its end. True when nothing was waiting before: the front end schedules
  // one flush for the turn.
  bool Grew(const Control& box);
  // Whether the box has a tail waiting; it is no longer waiting after this.
  bool TakeWaiting(const Control& box) { return waiting_.erase(&box) > 0; }
  // All the boxes with a tail waiting (a flush); none waits after this.
  std::set<const Control*> TakeAllWaiting();
  // The widget now shows the box's whole text: drawn whole, or edited there by the operator.
  void Shown(const Control& box, std::size_t size);
  // How much of the box's text the widget shows (0 when it was never drawn).
  std::size_t ShownSize(const Control& box) const;
  // Where the tail the widget lacks starts, or none when the box must be drawn whole.
  std::optional<std::size_t> TailFrom(const TextBox& box) const;
  void Forget(const Control& box);

 private:
  std::unordered_map<const Control*, std::size_t> shown_;
  std::set<const Control*> waiting_;
};

}  // namespace keldra

#include "widgets/Screen.h"

#include <algorithm>

#include "widgets/Form.h"

namespace keldra {

void Screen::SetFocus(Control* control) {
  if (control == focus_) {
    return;
  }
  if (control != nullptr) {
    if (!control->CanTakeFocusNow()) {
      return;
    }
    Form& form = control->Parent();
    if (form.Visible() && active_form_ != &form) {
      Activate(&form);
    }
    // Activate may have moved the focus itself; the explicit request still wins.
    if (control == focus_) {
      return;
    }
  }
  // A LostFocus handler that sends the focus elsewhere overtakes the control the focus was headed
  // for: that one never had it, so it gets no LostFocus either.
  Control* previous = focus_announced_ ? focus_ : nullptr;
  focus_ = control;
  focus_announced_ = false;
  if (observer_ != nullptr) {
    observer_->FocusChanged(control);
  }
  if (previous != nullptr && previous->LostFocus) {
    previous->LostFocus();
  }
  // A LostFocus handler may already have sent the focus elsewhere.
  if (control == nullptr || focus_ != control) {
    return;
  }
  focus_announced_ = true;
  if (control->GotFocus) {
    control->GotFocus();
  }
}

void Screen::FocusNext(bool backwards) {
  Form* form = focus_ != nullptr ? &focus_->Parent() : active_form_;
  if (form == nullptr) {
    return;
  }
  const auto& order = form->TabOrder();
  if (order.empty()) {
    return;
  }
  const auto n = static_cast<int>(order.size());
  auto it = std::find(order.begin(), order.end(), focus_);
  int start = it == order.end() ? (backwards ? 0 : n - 1) : static_cast<int>(it - order.begin());
  for (int step = 1; step <= n; ++step) {
    const int i = ((start + (backwards ? -step : step)) % n + n) % n;
    if (order[static_cast<std::size_t>(i)]->CanTakeFocusNow()) {
      SetFocus(order[static_cast<std::size_t>(i)]);
      return;
    }
  }
}

void Screen::Activate(Form* form) {
  if (form == active_form_) {
    return;
  }
  active_form_ = form;
  if (form == nullptr) {
    return;
  }
  std::erase(activation_order_, form);
  activation_order_.push_back(form);
  form->RunActivate();
}

void Screen::ActivatePrevious(Form& leaving) {
  std::erase(activation_order_, &leaving);
  if (focus_ != nullptr && &focus_->Parent() == &leaving) {
    // The focus leaves with the window; no events, as the window is going away.
    focus_ = nullptr;
    if (observer_ != nullptr) {
      observer_->FocusChanged(nullptr);
    }
  }
  if (active_form_ != &leaving) {
    return;
  }
  active_form_ = nullptr;
  for (auto it = activation_order_.rbegin(); it != activation_order_.rend(); ++it) {
    if ((*it)->Visible()) {
      Activate(*it);
      return;
    }
  }
}

void Screen::FormShown(Form& form) {
  if (observer_ != nullptr) {
    observer_->FormShown(form);
  }
  Activate(&form);
}

void Screen::FormHidden(Form& form) {
  if (observer_ != nullptr) {
    observer_->FormHidden(form);
  }
  ActivatePrevious(form);
}

void Screen::FormUnloaded(Form& form) {
  if (observer_ != nullptr) {
    observer_->FormUnloaded(form);
  }
  ActivatePrevious(form);
  if (OnFormUnloaded) {
    OnFormUnloaded(form);
  }
}

void Screen::ControlChanged(Control& control, Property property) {
  if (observer_ != nullptr) {
    observer_->ControlChanged(control, property);
  }
}

void Screen::FormCaptionChanged(Form& form) {
  if (observer_ != nullptr) {
    observer_->FormCaptionChanged(form);
  }
}

}  // namespace keldra

// The one focus owner and window manager of the program. It knows which control has the focus
// and which window is active, runs LostFocus/GotFocus in order when the focus moves, passes the
// activation back to the previous window when one is hidden or closed, and tells one observer
// (the front end) about every visible change. With no observer nothing is drawn and everything
// still works: that is how the tests run.
#pragma once

#include <functional>
#include <vector>

#include "widgets/Control.h"

namespace keldra {

class Form;

class ScreenObserver {
 public:
  virtual ~ScreenObserver() = default;
  virtual void ControlChanged(Control& control, Property property) = 0;
  virtual void FormShown(Form& form) = 0;
  virtual void FormHidden(Form& form) = 0;
  virtual void FormUnloaded(Form& form) = 0;
  virtual void FormCaptionChanged(Form& form) = 0;
  virtual void FocusChanged(Control* control) = 0;
};

class Screen {
 public:
  Screen() = default;
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  void SetObserver(ScreenObserver* observer) { observer_ = observer; }
  ScreenObserver* Observer() const { return observer_; }

  Control* ActiveControl() const { return focus_; }
  Form* ActiveForm() const { return active_form_; }

  // LostFocus of the old control, then GotFocus of the new one, synchronously. A control that is
  // hidden or disabled (or in a hidden frame) cannot take the focus; the call is then ignored.
  void SetFocus(Control* control);
  // Tab and Shift+Tab: the next focusable control in the active window's tab order.
  void FocusNext(bool backwards);

  // The operator brought a window to the front (the front end reports it).
  void WindowActivatedByOperator(Form& form) { Activate(&form); }

  // Called by forms.
  void FormShown(Form& form);
  void FormHidden(Form& form);
  void FormUnloaded(Form& form);
  void ControlChanged(Control& control, Property property);
  void FormCaptionChanged(Form& form);

  // Program listens here to forget a window that was unloaded.
  std::function<void(Form&)> OnFormUnloaded;

 private:
  void Activate(Form* form);
  void ActivatePrevious(Form& leaving);

  ScreenObserver* observer_ = nullptr;
  Control* focus_ = nullptr;
  // False while the focus is on its way to focus_ and its GotFocus has not run yet.
  bool focus_announced_ = false;
  Form* active_form_ = nullptr;
  std::vector<Form*> activation_order_;  // most recent last
};

}  // namespace keldra

// What a front end implements: it draws the forms the Screen tells it of (ScreenObserver) and
// brings its deferred redraws up to date when asked. Everything else it does with the operator's
// input follows the rules of widgets/FrontEndRules.h, the same for every front end: keys go there
// before the widget sees them, the widget's own focus, clicks and edits are reported back there,
// and a new window's controls are set in kRefreshOrder.
#pragma once

#include "widgets/Screen.h"

namespace keldra {

class FrontEnd : public ScreenObserver {
 public:
  // Brings deferred redraws (the tails of long lists) up to date at once; tests call it before
  // looking at the widgets.
  virtual void Flush() = 0;
};

}  // namespace keldra

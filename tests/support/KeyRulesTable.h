// The key rules every front end shares (widgets/FrontEndRules.h), as one table played through a
// front end's real widgets: each case puts the focus on a control of a small window, presses one
// key through the window system and types after it, then looks at the model.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui/Layout.h"
#include "widgets/Buttons.h"
#include "widgets/Form.h"
#include "widgets/TextBox.h"

namespace keldra::testing {

class KeyRulesForm : public Form {
 public:
  explicit KeyRulesForm(Screen& screen) : Form(screen, "KeyRules", "Tasti", Px(300), Px(160)) {
    Place(Box, 10, 10, 120, 24);
    Place(Locked, 10, 40, 120, 24);
    Place(Taken, 10, 70, 120, 24);
    Place(Button, 140, 10, 100, 24);
    Locked.SetLocked(true);
    // A window's own Ctrl+A comes before the front end's.
    Taken.KeyDown = [](int code, KeyModifiers held, bool& handled) {
      handled = code == 'A' && held.control;
    };
    Button.Click = [this] { ++presses; };
  }
  TextBox Box{*this, "Box"};
  TextBox Locked{*this, "Locked"};
  TextBox Taken{*this, "Taken"};
  CommandButton Button{*this, "Button", "Premi"};
  int presses = 0;
};

// How a front end's test plays a key and text at the focused widget.
class KeyPlayer {
 public:
  virtual ~KeyPlayer() = default;
  virtual void Press(int key_code, KeyModifiers held) = 0;
  virtual void Type(const std::string& text) = 0;
  virtual void Settle() = 0;
};

inline void PlayKeyRules(KeyRulesForm& form, KeyPlayer& keys) {
  constexpr KeyModifiers kNone{};
  constexpr KeyModifiers kShift{true, false, false};
  constexpr KeyModifiers kCtrl{false, true, false};
  constexpr KeyModifiers kCtrlShift{true, true, false};
  struct Case {
    const char* name;
    TextBox* box;  // where the focus starts; the button when null
    int key;
    KeyModifiers held;
    const char* typed_after;
    const char* text;  // of the box after
    Control* focus;    // after
    int presses;       // of the button
  };
  const Case cases[] = {
      {"CtrlASelectsAllAndTypingReplaces", &form.Box, 'A', kCtrl, "IZ2KLY", "IZ2KLY", &form.Box, 0},
      {"CtrlAInALockedBoxTypesNothing", &form.Locked, 'A', kCtrl, "X", "IK5XYZ", &form.Locked, 0},
      {"CtrlATakenByTheWindowSelectsNothing", &form.Taken, 'A', kCtrl, "X", "IK5XYZX", &form.Taken,
       0},
      {"TabMovesOn", &form.Box, key::kTab, kNone, "", "IK5XYZ", &form.Locked, 0},
      {"ShiftTabMovesBack", &form.Taken, key::kTab, kShift, "", "IK5XYZ", &form.Locked, 0},
      {"CtrlTabMovesOn", &form.Box, key::kTab, kCtrl, "", "IK5XYZ", &form.Locked, 0},
      {"CtrlShiftTabMovesBack", &form.Taken, key::kTab, kCtrlShift, "", "IK5XYZ", &form.Locked, 0},
      {"EnterPressesTheButtonOnce", nullptr, key::kEnter, kNone, "", "", &form.Button, 1},
      {"SpacePressesTheButtonOnce", nullptr, key::kSpace, kNone, "", "", &form.Button, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.presses = 0;
    for (TextBox* box : {&form.Box, &form.Locked, &form.Taken}) {
      box->SetText("IK5XYZ");
      box->CaretToEnd();
    }
    if (c.box != nullptr) {
      c.box->SetFocus();
    } else {
      form.Button.SetFocus();
    }
    keys.Settle();
    keys.Press(c.key, c.held);
    if (*c.typed_after != '\0') {
      keys.Type(c.typed_after);
    }
    keys.Settle();
    if (c.box != nullptr) {
      EXPECT_EQ(c.box->Text(), c.text);
    }
    EXPECT_EQ(form.Desktop().ActiveControl(), c.focus);
    EXPECT_EQ(form.presses, c.presses);
  }
}

}  // namespace keldra::testing

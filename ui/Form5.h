// The start window, shown instead of the main window when a contest state file exists: continue
// that contest, or start a new one through the station data window; either may be off-line. Its
// "Restore di emergenza" tick opens the emergency restore window.
#pragma once

#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "ui/Program.h"

namespace keldra {

class Form5 : public Form {
 public:
  explicit Form5(Program& program);

  Image Image1{*this, "Image1", Artwork::kLogo};
  CommandButton Command1{*this, "Command1", "Continua Contest"};
  CommandButton Command2{*this, "Command2", "Nuovo Contest"};
  CheckBox Check1{*this, "Check1", "Modalit\xE0 off-line"};
  CheckBox Check2{*this, "Check2", "Restore di emergenza"};

  void Form5_Command1_Click();
  void Form5_Command2_Click();
  void Form5_Check2_Click();

  void CloseRequested() override;

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

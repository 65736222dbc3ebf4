// The start window, shown instead of the main window when a contest state file exists: continue
// that contest, or start a new one through the station data window; either may be off-line. Its
// "Restore di emergenza" tick opens the emergency restore window.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"

namespace keldra {

class StartWindow : public Form {
 public:
  explicit StartWindow(Program& program);

  Image logo{*this, "Image1", Artwork::kLogo};
  CommandButton continue_button{*this, "Command1", "Continua Contest"};
  CommandButton new_contest_button{*this, "Command2", "Nuovo Contest"};
  CheckBox off_line{*this, "Check1", Cp1252("Modalità off-line")};
  CheckBox emergency_restore{*this, "Check2", "Restore di emergenza"};

  void OnContinuePressed();
  void OnNewContestPressed();
  void OnEmergencyRestoreClicked();

  void CloseRequested() override;

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

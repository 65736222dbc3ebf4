// The administration window, opened by the main window's administrators' button: its picture
// button opens the management window of the club lists (and closes this one); "Chiudi" closes it.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"

namespace keldra {

class AdministrationWindow : public Form {
 public:
  explicit AdministrationWindow(Program& program);

  Label club_lists_caption{*this, "Label1", "Database I-QRP e MQC"};
  CommandButton club_lists_button{*this, "Command2"};
  CommandButton close_button{*this, "Command1", "Chiudi"};

  void OnClubListsPressed();
  void OnClosePressed();

 private:
  Program& program_;
};

}  // namespace keldra

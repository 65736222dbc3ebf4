// The administration window, opened by the main window's administrators' button: its picture
// button opens the management window of the club lists (and closes this one); "Chiudi" closes it.
#pragma once

#include "platform/Buttons.h"
#include "platform/Label.h"
#include "ui/Program.h"

namespace keldra {

class Form10 : public Form {
 public:
  explicit Form10(Program& program);

  Label Label1{*this, "Label1", "Database I-QRP e MQC"};
  CommandButton Command2{*this, "Command2"};
  CommandButton Command1{*this, "Command1", "Chiudi"};

  void Form10_Command2_Click();
  void Form10_Command1_Click();

 private:
  Program& program_;
};

}  // namespace keldra

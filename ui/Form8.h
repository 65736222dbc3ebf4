// The report window: shows the statistics report that the statistics window's "Report" built
// (each press appends one more copy) and saves it as keldra_qrp_statistiche.txt in the program
// folder, replacing any earlier report atomically. A save that fails is reported with the file
// and the reason; an empty report is not saved.
#pragma once

#include "platform/Buttons.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form8 : public Form {
 public:
  explicit Form8(Program& program);

  TextBox Text1{*this, "Text1"};
  CommandButton Command1{*this, "Command1", "Salva"};
  CommandButton Command2{*this, "Command2", "Chiudi"};

  void Form8_Command1_Click();
  void Form8_Command2_Click();

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

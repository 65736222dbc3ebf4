// The report window: shows the statistics report that the statistics window's "Report" built
// (each press appends one more copy) and saves it as keldra_qrp_statistiche.txt in the program
// folder, replacing any earlier report atomically. A save that fails is reported with the file
// and the reason; an empty report is not saved.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/TextBox.h"

namespace keldra {

class ReportWindow : public Form {
 public:
  explicit ReportWindow(Program& program);

  TextBox report{*this, "Text1"};
  CommandButton save_button{*this, "Command1", "Salva"};
  CommandButton close_button{*this, "Command2", "Chiudi"};

  void OnSavePressed();
  void OnClosePressed();

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

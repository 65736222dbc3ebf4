// The ADIF save window: shows the ADIF log that "Crea ADIF" of the EDI header window prepared and
// the proposed file name (which the operator may change), and writes the file into the program
// folder on "Salva". The name is made safe first by the rules of the EDI log's name, so the file
// can only land inside the program folder and never over one of the program's own files; an
// existing file of that name is replaced atomically, and a write that fails is reported with the
// file and the reason.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra {

class AdifSaveWindow : public Form {
 public:
  explicit AdifSaveWindow(Program& program);

  Label file_name_caption{*this, "FileNameCaption", "Nome del file ADIF"};
  TextBox file_name{*this, "FileName"};
  TextBox adif_text{*this, "AdifText"};
  Label purpose{*this, "Purpose",
                "Il file ADIF porta i QSO del contest nel log di stazione e ai servizi QSL."};
  CommandButton save_button{*this, "Save", "Salva"};
  CommandButton exit_button{*this, "Exit", "Esci"};

  void OnSavePressed();
  void OnExitPressed();

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

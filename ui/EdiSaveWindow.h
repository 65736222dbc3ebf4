// The EDI save window: shows the log text the EDI writer prepared and the proposed file name
// (which the operator may change), reminds the operator where to send the log, and writes the
// file into the program folder on "Salva". The name is made safe first, so the file can only land
// inside the program folder; an existing file of that name is replaced atomically, and a write
// that fails is reported with the file and the reason.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra {

class EdiSaveWindow : public Form {
 public:
  explicit EdiSaveWindow(Program& program);

  Label file_name_caption{*this, "Label1", "Nome del Log"};
  TextBox file_name{*this, "Text2"};
  TextBox log_text{*this, "Text1"};
  Label send_reminder{
      *this, "Label2",
      "Si ricorda che il LOG va inviato entro 8gg dalla data della gara al seguente "
      "indirizzo email:"};
  Label log_address{*this, "Label3", "log@keldraqrptest.it"};
  Image logo{*this, "Image1", Artwork::kLogo};
  CommandButton save_button{*this, "Command1", "Salva"};
  CommandButton exit_button{*this, "Command2", "Esci"};

  void OnSavePressed();
  void OnExitPressed();

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

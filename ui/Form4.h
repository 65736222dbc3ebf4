// The EDI save window: shows the log text the EDI writer prepared and the proposed file name
// (which the operator may change), reminds the operator where to send the log, and writes the
// file into the program folder on "Salva". The name is made safe first, so the file can only land
// inside the program folder; an existing file of that name is replaced atomically, and a write
// that fails is reported with the file and the reason.
#pragma once

#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form4 : public Form {
 public:
  explicit Form4(Program& program);

  Label Label1{*this, "Label1", "Nome del Log"};
  TextBox Text2{*this, "Text2"};
  TextBox Text1{*this, "Text1"};
  Label Label2{*this, "Label2",
               "Si ricorda che il LOG va inviato entro 8gg dalla data della gara al seguente "
               "indirizzo email:"};
  Label Label3{*this, "Label3", "log@keldraqrptest.it"};
  Image Image1{*this, "Image1", Artwork::kLogo};
  CommandButton Command1{*this, "Command1", "Salva"};
  CommandButton Command2{*this, "Command2", "Esci"};

  void Form4_Command1_Click();
  void Form4_Command2_Click();

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

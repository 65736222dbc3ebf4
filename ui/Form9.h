// The award window: congratulates the operator on reaching the points of the I-QRP Club Award
// and gives the web address of the award rules. The main window decides when it is shown;
// "Chiudi" closes it.
#pragma once

#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "ui/Program.h"

namespace keldra {

// Where the rules of the award are published.
inline constexpr const char* kAwardRulesAddress = "www.keldraqrptest.it/award-iqrp";

class Form9 : public Form {
 public:
  explicit Form9(Program& program);

  PictureBox Picture1{*this, "Picture1"};
  Label Label3{*this, "Label3",
               "Complimenti! hai raggiunto i punti necessari al conseguimento dell' I-QRP Club "
               "Award. Consulta il regolamento per tutti i dettagli."};
  Label Label1{*this, "Label1", "Regolamento:"};
  Label Label2{*this, "Label2", kAwardRulesAddress};
  CommandButton Command1{*this, "Command1", "Chiudi"};

  void Form9_Command1_Click();
};

}  // namespace keldra

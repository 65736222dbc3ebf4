// The award window: congratulates the operator on reaching the points of the I-QRP Club Award
// and gives the web address of the award rules. The main window decides when it is shown;
// "Chiudi" closes it.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"

namespace keldra {

// Where the rules of the award are published.
inline constexpr const char* kAwardRulesAddress = "www.keldraqrptest.it/award-iqrp";

class ClubAwardWindow : public Form {
 public:
  explicit ClubAwardWindow(Program& program);

  PictureBox award_picture{*this, "Picture1"};
  Label congratulations{
      *this, "Label3",
      "Complimenti! hai raggiunto i punti necessari al conseguimento dell' I-QRP Club "
      "Award. Consulta il regolamento per tutti i dettagli."};
  Label rules_caption{*this, "Label1", "Regolamento:"};
  Label rules_address{*this, "Label2", kAwardRulesAddress};
  CommandButton close_button{*this, "Command1", "Chiudi"};

  void OnClosePressed();
};

}  // namespace keldra

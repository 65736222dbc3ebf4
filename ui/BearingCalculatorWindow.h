// The bearing utility window: a tool for the operator to compute a path by hand. Locator 1 starts
// as the station's own (the calculator service's, ui/Calculator.h) and may be typed over without
// changing the station's. Six characters typed into other_locator compute at once, inside its
// change handler; the results stay in this window. Other windows compute through the service.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra {

class BearingCalculatorWindow : public Form {
 public:
  explicit BearingCalculatorWindow(Program& program);

  Label own_locator_caption{*this, "Label1", "Locator 1"};
  TextBox own_locator{*this, "Text3", "JN81GD"};
  Label other_locator_caption{*this, "Label2", "Locator 2"};
  TextBox other_locator{*this, "Text5", "..."};
  CommandButton calculate_button{*this, "Command1", "Calculate"};
  Label distance_caption{*this, "Label3", "Km"};
  TextBox distance{*this, "Text6", "..."};
  Label bearing_caption{*this, "Label4", "Bearing"};
  TextBox bearing{*this, "Text1", "..."};
  CommandButton exit_button{*this, "Command2", "Exit"};

  // Coordinates of the two locators in degrees (west-positive longitudes); never shown.
  TextBox own_latitude{*this, "Text7", "Text7"};
  TextBox own_longitude{*this, "Text2", "Text2"};
  TextBox other_latitude{*this, "Text4", "Text4"};
  TextBox other_longitude{*this, "Text8", "Text8"};

  PictureBox compass{*this, "Picture1"};

  void OnOwnLocatorChanged();
  void OnOtherLocatorChanged();
  void OnCalculatePressed();
  void OnExitPressed();

 private:
  void OnLoad() override;
  void Layout();
  void Wire();

  Program& program_;
};

}  // namespace keldra

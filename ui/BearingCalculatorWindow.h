// The bearing utility window: the program's one distance and bearing calculator. Other windows
// drive it through its fields: they write the own locator into own_locator once, write the other
// station's locator into other_locator (six characters compute at once, inside its change
// handler) and read the result from distance and bearing. Every new result is also copied
// to the main window's QRB and QTF indicators. The window is loaded hidden; it works the same
// when shown.
#pragma once

#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

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
  void OnBearingChanged();
  void OnDistanceChanged();
  void OnCalculatePressed();
  void OnExitPressed();

 private:
  void Layout();
  void Wire();

  Program& program_;
};

}  // namespace keldra

// The bearing utility window: the program's one distance and bearing calculator. Other windows
// drive it through its fields: they write the own locator into Text3 once, write the other
// station's locator into Text5 (six characters compute at once, inside Text5's change handler)
// and read the distance from Text6 and the bearing from Text1. Every new result is also copied
// to the main window's QRB and QTF indicators. The window is loaded hidden; it works the same
// when shown.
#pragma once

#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form22222 : public Form {
 public:
  explicit Form22222(Program& program);

  Label Label1{*this, "Label1", "Locator 1"};
  TextBox Text3{*this, "Text3", "JN81GD"};
  Label Label2{*this, "Label2", "Locator 2"};
  TextBox Text5{*this, "Text5", "..."};
  CommandButton Command1{*this, "Command1", "Calculate"};
  Label Label3{*this, "Label3", "Km"};
  TextBox Text6{*this, "Text6", "..."};
  Label Label4{*this, "Label4", "Bearing"};
  TextBox Text1{*this, "Text1", "..."};
  CommandButton Command2{*this, "Command2", "Exit"};

  // Coordinates of the two locators in degrees (west-positive longitudes); never shown.
  TextBox Text7{*this, "Text7", "Text7"};
  TextBox Text2{*this, "Text2", "Text2"};
  TextBox Text4{*this, "Text4", "Text4"};
  TextBox Text8{*this, "Text8", "Text8"};

  PictureBox Picture1{*this, "Picture1"};

  void Form22222_Text3_Change();
  void Form22222_Text5_Change();
  void Form22222_Text1_Change();
  void Form22222_Text6_Change();
  void Form22222_Command1_Click();
  void Form22222_Command2_Click();

 private:
  void Layout();
  void Wire();

  Program& program_;
};

}  // namespace keldra

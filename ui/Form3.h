// The station data window: asks for the own callsign, locator and club membership numbers,
// writes config.txt on "Salva" and hands the station to the rest of the program (the main
// window's station frame, the calculator's own locator), then shows the main window. It stands
// in for the main window at start-up when there is no station file, and follows "Nuovo Contest".
#pragma once

#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form3 : public Form {
 public:
  explicit Form3(Program& program);

  Label Label1{*this, "Label1", "Nominativo"};
  TextBox Text1{*this, "Text1"};
  Label Label2{*this, "Label2", "Locatore"};
  TextBox Text2{*this, "Text2"};
  Label Label3{*this, "Label3", "Socio I-QRP N."};
  Label Label5{*this, "Label5", "I - "};
  TextBox Text3{*this, "Text3"};
  Label Label4{*this, "Label4", "Socio MQC"};
  Label Label6{*this, "Label6", "M -"};
  TextBox Text4{*this, "Text4"};
  // "1" when the start window asked for an off-line contest.
  TextBox Text5{*this, "Text5", "0"};
  CommandButton Command1{*this, "Command1", "Salva"};
  CommandButton Command2{*this, "Command2", "Esci"};
  Image Image1{*this, "Image1", Artwork::kAntenna};

  void Form3_Text1_Change();
  void Form3_Text2_Change();
  void Form3_Text1_KeyDown(int key_code, bool& handled);
  void Form3_Text2_KeyDown(int key_code, bool& handled);
  void Form3_Text3_KeyDown(int key_code, bool& handled);
  void Form3_Text4_KeyDown(int key_code, bool& handled);
  void Form3_Command1_Click();
  void Form3_Command2_Click();

  void CloseRequested() override { Form3_Command2_Click(); }

 private:
  void Layout();
  void Wire();

  Program& program_;
};

}  // namespace keldra

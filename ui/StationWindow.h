// The station data window: asks for the own callsign, locator and club membership numbers,
// writes config.txt on "Salva" and hands the station to the rest of the program (the main
// window's station frame, the calculator's own locator), then shows the main window. It stands
// in for the main window at start-up when there is no station file, and follows "Nuovo Contest".
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra {

class StationWindow : public Form {
 public:
  explicit StationWindow(Program& program);

  Label call_caption{*this, "Label1", "Nominativo"};
  TextBox call{*this, "Text1"};
  Label locator_caption{*this, "Label2", "Locatore"};
  TextBox locator{*this, "Text2"};
  Label iqrp_number_caption{*this, "Label3", "Socio I-QRP N."};
  Label iqrp_prefix{*this, "Label5", "I - "};
  TextBox iqrp_number{*this, "Text3"};
  Label mqc_number_caption{*this, "Label4", "Socio MQC"};
  Label mqc_prefix{*this, "Label6", "M -"};
  TextBox mqc_number{*this, "Text4"};
  CommandButton save_button{*this, "Command1", "Salva"};
  CommandButton exit_button{*this, "Command2", "Esci"};
  Image antenna_picture{*this, "Image1", Artwork::kAntenna};

  void OnCallChanged();
  void OnLocatorChanged();
  void OnCallKeyDown(int key_code, bool& handled);
  void OnLocatorKeyDown(int key_code, bool& handled);
  void OnIqrpNumberKeyDown(int key_code, bool& handled);
  void OnMqcNumberKeyDown(int key_code, bool& handled);
  void OnSavePressed();
  void OnExitPressed();

  void CloseRequested() override { OnExitPressed(); }

  // The start window asked for an off-line contest; saving passes it on to the main window.
  bool off_line = false;

 private:
  void Layout();
  void Wire();

  Program& program_;
};

}  // namespace keldra

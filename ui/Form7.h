// The statistics window: the squares worked with a map of those still missing, the countries
// worked, QSOs and kilometres per contest hour, QSOs per bearing sector and the ranking of every
// QSO by distance. Everything is computed once, when the window is created, from the main
// window's QSO list, each distance through the program's shared calculator (so the main
// window's QRB and QTF indicators end on the last QSO's values); the window then shows fixed
// texts until it is closed. "Report" turns what it shows into the report window's text.
#pragma once

#include "export/Statistics.h"
#include "platform/Buttons.h"
#include "platform/Label.h"
#include "platform/Lists.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form7 : public Form {
 public:
  explicit Form7(Program& program);

  Label Label1{*this, "Label1", "SQR lavorati"};
  TextBox Text2{*this, "Text2"};
  Label Label2{*this, "Label2", "Mappa visuale SQR lavorati"};
  TextBox Text1{*this, "Text1"};
  Label Label3{*this, "Label3", "DXCC lavorati"};
  TextBox Text3{*this, "Text3"};
  Label Label4{*this, "Label4", "UTC  -  qso - qrb"};
  TextBox Text4{*this, "Text4"};
  Label Label5{*this, "Label5", "QTF    -   qso"};
  TextBox Text5{*this, "Text5"};
  Label Label6{*this, "Label6", "Classifica DX"};
  ListBox List1{*this, "List1"};
  CommandButton Command2{*this, "Command2", "Report"};
  CommandButton Command1{*this, "Command1", "Chiudi"};

  void Form7_Load();
  void Form7_Command2_Click();
  void Form7_Command1_Click();

 protected:
  void OnLoad() override { Form7_Load(); }

 private:
  void Layout();
  // Distance and bearing texts of one locator from the shared calculator.
  DistanceBearingTexts Calculate(const std::string& locator);
  // The statistics as the window shows them now.
  Statistics Shown() const;

  Program& program_;
};

}  // namespace keldra

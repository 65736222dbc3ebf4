// The statistics window: the squares worked with a map of those still missing, the countries
// worked, QSOs and kilometres per contest hour, QSOs per bearing sector and the ranking of every
// QSO by distance. Everything is computed once, when the window is created, from the main
// window's QSO list, each distance through the program's shared calculator (so the main
// window's QRB and QTF indicators end on the last QSO's values); the window then shows fixed
// texts until it is closed. "Report" turns what it shows into the report window's text.
#pragma once

#include "export/Statistics.h"
#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"

namespace keldra {

class StatisticsWindow : public Form {
 public:
  explicit StatisticsWindow(Program& program);

  Label squares_caption{*this, "Label1", "SQR lavorati"};
  TextBox squares{*this, "Text2"};
  Label square_map_caption{*this, "Label2", "Mappa visuale SQR lavorati"};
  TextBox square_map{*this, "Text1"};
  Label countries_caption{*this, "Label3", "DXCC lavorati"};
  TextBox countries{*this, "Text3"};
  Label hours_caption{*this, "Label4", "UTC  -  qso - qrb"};
  TextBox hours{*this, "Text4"};
  Label sectors_caption{*this, "Label5", "QTF    -   qso"};
  TextBox sectors{*this, "Text5"};
  Label ranking_caption{*this, "Label6", "Classifica DX"};
  ListBox ranking{*this, "List1"};
  CommandButton report_button{*this, "Command2", "Report"};
  CommandButton close_button{*this, "Command1", "Chiudi"};
  CommandButton map_button{*this, "MapButton", "Mappa"};

  void OnWindowLoaded();
  void OnReportPressed();
  void OnClosePressed();

 protected:
  void OnLoad() override { OnWindowLoaded(); }

 private:
  void Layout();
  // Distance and bearing texts of one locator from the shared calculator.
  DistanceBearingTexts Calculate(const std::string& locator);
  // The statistics as the window shows them now.
  Statistics Shown() const;

  Program& program_;
};

}  // namespace keldra

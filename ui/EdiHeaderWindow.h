// The EDI header window: the station and entrant details the EDI log's header needs, the power
// category, and the EDI record list of the running contest (edi_records), shown for reference and
// following the log while the window is loaded. "Chiudi" only hides the window, so what
// was typed stays for the next opening in the same run; "Crea EDI" runs the EDI writer, "Crea
// ADIF" the ADIF writer.
#pragma once

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"

namespace keldra {

class EdiHeaderWindow : public Form {
 public:
  explicit EdiHeaderWindow(Program& program);

  // Each field beside its label; the declaration order is the tab order.
  Label call_caption{*this, "Label1", "Nominativo"};
  TextBox call{*this, "Text2"};
  Label locator_caption{*this, "Label2", "Locatore"};
  TextBox locator{*this, "Text3"};
  Label contest_name_caption{*this, "Label3", "Contest"};
  TextBox contest_name{*this, "Text4", "Keldra VHF qrp Contest"};
  Label category_caption{*this, "Label4", "Categoria"};
  ComboBox category{*this, "Combo1"};
  Label band_caption{*this, "Label5", "Banda"};
  TextBox band{*this, "Text5", "144"};
  Label date_caption{*this, "Label6", "Data"};
  TextBox date{*this, "Text6", "gg/mm/aaaa"};
  Label operator_name_caption{*this, "Label7", "Nome - Cognome"};
  TextBox operator_name{*this, "Text7"};
  Label address_caption{*this, "Label8", "Indirizzo"};
  TextBox address{*this, "Text8"};
  Label postcode_caption{*this, "Label9", "CAP"};
  TextBox postcode{*this, "Text9"};
  Label city_caption{*this, "Label10", Cp1252("Città")};
  TextBox city{*this, "Text10"};
  Label country_caption{*this, "Label11", "Nazione"};
  TextBox country{*this, "Text11"};
  Label phone_caption{*this, "Label12", "Telefono"};
  TextBox phone{*this, "Text12"};
  Label email_caption{*this, "Label13", "Email"};
  TextBox email{*this, "Text13"};
  Label operators_caption{*this, "Label14", "Operatori"};
  TextBox operators{*this, "Text14"};
  Label club_caption{*this, "Label15", "Club"};
  TextBox club{*this, "Text15"};
  Label receiver_caption{*this, "Label16", "Ricevitore"};
  TextBox receiver{*this, "Text16"};
  Label transmitter_caption{*this, "Label17", "Trasmettitore"};
  TextBox transmitter{*this, "Text17"};
  Label antennas_caption{*this, "Label18", "Antenne"};
  TextBox antennas{*this, "Text18"};
  Label power_caption{*this, "Label19", "Potenza (w)"};
  TextBox power{*this, "Text19"};
  Label antenna_height_caption{*this, "Label20", "Altezza Antenne (m)"};
  TextBox antenna_height{*this, "Text20"};
  Label altitude_caption{*this, "Label21", "Altitudine (m aslm)"};
  TextBox altitude{*this, "Text21"};
  Label comments_caption{*this, "Label22", "Commenti"};
  TextBox comments{*this, "Text22"};

  // The log's EDI record list, one EDI record line per QSO, shown for reference.
  TextBox edi_records{*this, "Text1"};

  CommandButton create_adif_button{*this, "CreateAdif", "Crea ADIF"};
  CommandButton create_edi_button{*this, "Command2", "Crea EDI"};
  CommandButton close_button{*this, "Command1", "Chiudi"};

  void OnWindowLoaded();
  // EdiHeaderWindowCreateEdi.cpp: runs the EDI writer.
  void OnCreateEdiPressed();
  void OnClosePressed();
  // EdiHeaderWindowCreateAdif.cpp: the ADIF log of the same QSOs, for the station's log and the QSL
  // services.
  void OnCreateAdifPressed();

  // Closing from the title bar keeps the details, as "Chiudi" does.
  void CloseRequested() override { OnClosePressed(); }

 protected:
  void OnLoad() override { OnWindowLoaded(); }
  void OnUnload() override { program_.Contest().Forget(log_observer_); }

 private:
  void Layout();

  Program& program_;
  int log_observer_ = 0;
};

}  // namespace keldra

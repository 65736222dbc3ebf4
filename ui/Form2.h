// The EDI header window: the station and entrant details the EDI log's header needs, the power
// category, and the working copy of the EDI record list (Text1) that the commit, the resume and
// the QSO editing keep equal to the main window's list. "Chiudi" only hides the window, so what
// was typed stays for the next opening in the same run; "Crea EDI" runs the EDI writer, "Crea
// ADIF" the ADIF writer.
#pragma once

#include "platform/Buttons.h"
#include "platform/Label.h"
#include "platform/Lists.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form2 : public Form {
 public:
  explicit Form2(Program& program);

  // Each field beside its label; the declaration order is the tab order.
  Label Label1{*this, "Label1", "Nominativo"};
  TextBox Text2{*this, "Text2"};
  Label Label2{*this, "Label2", "Locatore"};
  TextBox Text3{*this, "Text3"};
  Label Label3{*this, "Label3", "Contest"};
  TextBox Text4{*this, "Text4", "Keldra VHF qrp Contest"};
  Label Label4{*this, "Label4", "Categoria"};
  ComboBox Combo1{*this, "Combo1"};
  Label Label5{*this, "Label5", "Banda"};
  TextBox Text5{*this, "Text5", "144"};
  Label Label6{*this, "Label6", "Data"};
  TextBox Text6{*this, "Text6", "gg/mm/aaaa"};
  Label Label7{*this, "Label7", "Nome - Cognome"};
  TextBox Text7{*this, "Text7"};
  Label Label8{*this, "Label8", "Indirizzo"};
  TextBox Text8{*this, "Text8"};
  Label Label9{*this, "Label9", "CAP"};
  TextBox Text9{*this, "Text9"};
  Label Label10{*this, "Label10", "Citt\xE0"};
  TextBox Text10{*this, "Text10"};
  Label Label11{*this, "Label11", "Nazione"};
  TextBox Text11{*this, "Text11"};
  Label Label12{*this, "Label12", "Telefono"};
  TextBox Text12{*this, "Text12"};
  Label Label13{*this, "Label13", "Email"};
  TextBox Text13{*this, "Text13"};
  Label Label14{*this, "Label14", "Operatori"};
  TextBox Text14{*this, "Text14"};
  Label Label15{*this, "Label15", "Club"};
  TextBox Text15{*this, "Text15"};
  Label Label16{*this, "Label16", "Ricevitore"};
  TextBox Text16{*this, "Text16"};
  Label Label17{*this, "Label17", "Trasmettitore"};
  TextBox Text17{*this, "Text17"};
  Label Label18{*this, "Label18", "Antenne"};
  TextBox Text18{*this, "Text18"};
  Label Label19{*this, "Label19", "Potenza (w)"};
  TextBox Text19{*this, "Text19"};
  Label Label20{*this, "Label20", "Altezza Antenne (m)"};
  TextBox Text20{*this, "Text20"};
  Label Label21{*this, "Label21", "Altitudine (m aslm)"};
  TextBox Text21{*this, "Text21"};
  Label Label22{*this, "Label22", "Commenti"};
  TextBox Text22{*this, "Text22"};

  // The EDI record list (one EDI record line per QSO) and the writer's buffer.
  TextBox Text1{*this, "Text1"};
  TextBox Text23{*this, "Text23"};

  CommandButton create_adif_button{*this, "CreateAdif", "Crea ADIF"};
  CommandButton Command2{*this, "Command2", "Crea EDI"};
  CommandButton Command1{*this, "Command1", "Chiudi"};

  void Form2_Load();
  // Form2Edi.cpp: runs the EDI writer.
  void Form2_Command2_Click();
  void Form2_Command1_Click();
  // Form2Adif.cpp: the ADIF log of the same QSOs, for the station's log and the QSL services.
  void OnCreateAdifPressed();

  // Closing from the title bar keeps the details, as "Chiudi" does.
  void CloseRequested() override { Form2_Command1_Click(); }

 protected:
  void OnLoad() override { Form2_Load(); }

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

// The main logging window. It holds the contest: the entry row of the QSO being logged, the QSO
// list and the EDI record list, the totals, the station data and the pointing display. Every
// other window is opened from here and reads and writes these controls directly.
//
// The handlers are spread over several files by concern: Form1.cpp (controls, layout, wiring),
// Form1Lifecycle.cpp (start-up, activation, mode, ending), Form1Windows.cpp (buttons that open
// other windows),
// Form1Commit.cpp ("OK"), Form1Entry.cpp (the entry row's field behaviour) and
// Form1Indicators.cpp (resume, pointing display, award, list scrolling).
#pragma once

#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form1 : public Form {
 public:
  explicit Form1(Program& program);

  // The entry row, declared first: its order is the window's tab order.
  TextBox Text1{*this, "Text1", "001"};
  TextBox Text2{*this, "Text2"};
  TextBox Text3{*this, "Text3"};
  TextBox Text4{*this, "Text4", "144"};
  TextBox Text5{*this, "Text5", "SSB"};
  TextBox Text6{*this, "Text6"};
  TextBox Text7{*this, "Text7", "59"};
  TextBox Text8{*this, "Text8", "59"};
  TextBox Text9{*this, "Text9"};
  TextBox Text10{*this, "Text10"};
  TextBox Text11{*this, "Text11"};
  CommandButton Command1{*this, "Command1", "OK"};

  // Headings over the entry fields.
  Label Label1{*this, "Label1", "QSO #"};
  Label Label2{*this, "Label2", "Data"};
  Label Label3{*this, "Label3", "UTC"};
  Label Label4{*this, "Label4", "Mhz"};
  Label Label5{*this, "Label5", "Modo"};
  Label Label6{*this, "Label6", "Callsign"};
  Label Label7{*this, "Label7", "RST-tx"};
  Label Label8{*this, "Label8", "RST-rx"};
  Label Label9{*this, "Label9", "Prog"};
  Label Label10{*this, "Label10", "Locatore"};
  Label Label11{*this, "Label11", "I-QRP MQC"};

  // Distance and bearing of the QSO being entered, and the duplicate warning.
  Label Label12{*this, "Label12", "QRB:"};
  Label Label13{*this, "Label13"};
  Label Label16{*this, "Label16", "Km"};
  Label Label14{*this, "Label14", "QTF:"};
  Label Label15{*this, "Label15"};
  Label Label17{*this, "Label17", "\xB0"};
  Label Label55{*this, "Label55", "DUPLICATO!"};

  // The QSO list and the hidden state texts.
  TextBox Text12{*this, "Text12"};
  TextBox Text13{*this, "Text13"};
  TextBox Text14{*this, "Text14"};
  TextBox Text15{*this, "Text15", "0"};

  CommandButton Command2{*this, "Command2", "Crea LOG"};
  CommandButton Command5{*this, "Command5", "Modifica QSO"};
  CommandButton Command6{*this, "Command6", "STAT"};
  CommandButton Command7{*this, "Command7"};
  CommandButton Command9{*this, "Command9"};
  CommandButton Command11{*this, "Command11", "Amministrazione"};
  CommandButton Command3{*this, "Command3", "Esci"};
  CommandButton Command4{*this, "Command4", "apri_parz"};
  CommandButton Command8{*this, "Command8", "Command8"};

  // Contest totals.
  Frame Frame1{*this, "Frame1", "Contest"};
  Label Label18{*this, "Label18", "QSO:"};
  Label Label19{*this, "Label19", "0"};
  Label Label20{*this, "Label20", "QRB:"};
  Label Label21{*this, "Label21", "0"};
  Label Label22{*this, "Label22", "Moltiplicatori:"};
  Label Label23{*this, "Label23", "0"};
  Label Label24{*this, "Label24", "Punti:"};
  Label Label25{*this, "Label25", "0"};
  Label Label43{*this, "Label43", "Media:"};
  Label Label44{*this, "Label44", "0"};
  Label Label26{*this, "Label26", "ODX:"};
  Label Label27{*this, "Label27", "..."};
  Label Label28{*this, "Label28", "..."};
  Label Label29{*this, "Label29", "0"};
  Label Label30{*this, "Label30", "Km"};
  Label Label49{*this, "Label49", "I-QRP:"};
  Label Label51{*this, "Label51", "0"};
  Label Label50{*this, "Label50", "MQC:"};
  Label Label52{*this, "Label52", "0"};

  // Own station.
  Frame Frame2{*this, "Frame2", "Stazione"};
  Label Label35{*this, "Label35", "Call:"};
  Label Label39{*this, "Label39", "..."};
  Label Label36{*this, "Label36", "Locatore:"};
  Label Label40{*this, "Label40", "..."};
  Label Label37{*this, "Label37", "I-QRP:"};
  Label Label41{*this, "Label41", "..."};
  Label Label38{*this, "Label38", "MQC:"};
  Label Label42{*this, "Label42", "..."};
  Label Label45{*this, "Label45", "Modalit\xE0:"};
  Label Label46{*this, "Label46", "on-line"};
  Label Label48{*this, "Label48", "Account:"};
  Label Label47{*this, "Label47", "User"};
  Label Label53{*this, "Label53", "Award:"};
  Label Label54{*this, "Label54", "I-QRP Club Award"};
  PictureBox Picture3{*this, "Picture3"};

  // Pointing display.
  Frame Frame3{*this, "Frame3", "Puntamento"};
  PictureBox Picture1{*this, "Picture1"};
  Line Line1{*this, "Line1"};
  PictureBox Picture4{*this, "Picture4"};
  Label Label56{*this, "Label56"};
  PictureBox Picture2{*this, "Picture2"};
  Line Line2{*this, "Line2"};

  // Contest information.
  Image Image1{*this, "Image1", Artwork::kLogo};
  Label Label32{*this, "Label32", "27\xB0 KELDRA VHF QRP TEST"};
  Label Label33{*this, "Label33", "DATA: 16/07/2023"};
  Label Label34{*this, "Label34", "ORARIO: dalle 07.00 alle 13.00 utc"};
  Label Label31{*this, "Label31", "Invio Log: log@keldraqrptest.it"};

  // --- Form1Lifecycle.cpp ---
  void Form1_Load();
  void Form1_Activate();
  void Form1_Unload();
  void Form1_Command2_Click();
  void Form1_Command3_Click();
  void Form1_Command7_Click();
  void Form1_Command9_Click();
  void Form1_Label39_Change();
  void Form1_Text15_Change();

  // --- Form1Windows.cpp: the buttons that open other windows ---
  void Form1_Command5_Click();
  void Form1_Command6_Click();
  void Form1_Command11_Click();
  void Form1_Picture3_Click();

  // --- Form1Commit.cpp ---
  void Form1_Command1_Click();

  // --- Form1Entry.cpp ---
  void Form1_Text1_Change();
  void Form1_Text2_LostFocus();
  void Form1_Text3_Change();
  void Form1_Text3_LostFocus();
  void Form1_Text5_KeyDown(int key_code, bool& handled);
  void Form1_Text6_Change();
  void Form1_Text9_GotFocus();
  void Form1_Text9_LostFocus();
  void Form1_Text10_Change();
  void Form1_Text10_GotFocus();
  void Form1_Text11_Change();
  // Enter or Space in a field of the row moves to the next one (the key is consumed).
  void EntryRow_KeyDown(TextBox& field, int key_code, bool& handled);
  // Entering a field of the row trims the field before it and puts the caret at the end.
  void EntryRow_GotFocus(TextBox& field);

  // --- Form1Indicators.cpp ---
  void Form1_Command4_Click();
  void Form1_Command8_Click();
  void Form1_Label13_Change();
  void Form1_Label15_Change();
  void Form1_Label51_Change();

  void CloseRequested() override { Form1_Command3_Click(); }

  // True while the contest on screen is newer than parziale.db because its last save failed; the
  // next "OK" then saves again even when it logs nothing, and "Esci" tries once more.
  bool save_pending = false;
  // "Esci" found the contest unsaved and could not save it: a second "Esci" ends all the same.
  bool exit_warned = false;

 protected:
  void OnLoad() override { Form1_Load(); }
  void OnActivate() override { Form1_Activate(); }
  void OnUnload() override { Form1_Unload(); }

 private:
  void Layout();
  void Wire();

  Program& program_;
};

}  // namespace keldra

// The management window of the club lists: shows iqrp.txt and mqc.txt with their member counts,
// searches a callsign in the club chosen in Combo1 and adds a new member to it with the next
// free membership number (Label2). An addition is saved at once, replacing that club's file
// atomically; a file that could not be read when the window opened takes no additions, so it
// is never overwritten with an incomplete list.
#pragma once

#include <array>

#include "data/Clubs.h"
#include "platform/Buttons.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "platform/Lists.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form11 : public Form {
 public:
  explicit Form11(Program& program);

  Label Label1{*this, "Label1", "Database"};
  ComboBox Combo1{*this, "Combo1"};
  Label Label3{*this, "Label3", "Prossimo numero:"};
  Label Label2{*this, "Label2", "0"};

  Frame Frame1{*this, "Frame1", "I-QRP"};
  TextBox Text1{*this, "Text1"};
  Label Label4{*this, "Label4", "Soci:"};
  TextBox Text3{*this, "Text3", "0"};
  Frame Frame2{*this, "Frame2", "MQC"};
  TextBox Text2{*this, "Text2"};
  Label Label5{*this, "Label5", "Soci:"};
  TextBox Text4{*this, "Text4", "0"};

  Label Label6{*this, "Label6", "Nominativo da cercare:"};
  TextBox Text5{*this, "Text5"};
  CommandButton Command2{*this, "Command2", "Cerca"};
  Label Label7{*this, "Label7", "Nuovo socio:"};
  TextBox Text6{*this, "Text6", "N.A."};
  CommandButton Command3{*this, "Command3", "Aggiungi"};
  CommandButton Command1{*this, "Command1", "Esci"};

  void Form11_Load();
  void Form11_Combo1_Click();
  void Form11_Text5_Change();
  void Form11_Text6_Change();
  void Form11_Command2_Click();
  void Form11_Command3_Click();
  void Form11_Command1_Click();

 protected:
  void OnLoad() override { Form11_Load(); }

 private:
  void Layout();
  void Wire();
  // The club Combo1 shows: "MQC" or else I-QRP.
  Club ChosenClub() const;
  // The list text box and the member count of a club.
  TextBox& ListOf(Club club);
  TextBox& CountOf(Club club);
  void LoadList(Club club);
  void ShowList(Club club, const std::vector<Member>& members);

  Program& program_;
  // Clubs whose file exists but could not be read: adding would overwrite it.
  std::array<bool, 2> unreadable_{false, false};
};

}  // namespace keldra

// The management window of the club lists: shows iqrp.txt and mqc.txt with their member counts,
// searches a callsign in the club chosen in club_choice and adds a new member to it with the next
// free membership number (next_number). An addition is saved at once, replacing that club's file
// atomically; a file that could not be read when the window opened takes no additions, so it
// is never overwritten with an incomplete list.
#pragma once

#include <array>

#include "data/Clubs.h"
#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"

namespace keldra {

class ClubManagementWindow : public Form {
 public:
  explicit ClubManagementWindow(Program& program);

  Label club_caption{*this, "Label1", "Database"};
  ComboBox club_choice{*this, "Combo1"};
  Label next_number_caption{*this, "Label3", "Prossimo numero:"};
  Label next_number{*this, "Label2", "0"};

  Frame iqrp_frame{*this, "Frame1", "I-QRP"};
  TextBox iqrp_list{*this, "Text1"};
  Label iqrp_count_caption{*this, "Label4", "Soci:"};
  TextBox iqrp_count{*this, "Text3", "0"};
  Frame mqc_frame{*this, "Frame2", "MQC"};
  TextBox mqc_list{*this, "Text2"};
  Label mqc_count_caption{*this, "Label5", "Soci:"};
  TextBox mqc_count{*this, "Text4", "0"};

  Label search_call_caption{*this, "Label6", "Nominativo da cercare:"};
  TextBox search_call{*this, "Text5"};
  CommandButton search_button{*this, "Command2", "Cerca"};
  Label new_member_caption{*this, "Label7", "Nuovo socio:"};
  TextBox new_member{*this, "Text6", "N.A."};
  CommandButton add_button{*this, "Command3", "Aggiungi"};
  CommandButton exit_button{*this, "Command1", "Esci"};

  void OnWindowLoaded();
  void OnClubChosen();
  void OnSearchCallChanged();
  void OnNewMemberChanged();
  void OnSearchPressed();
  void OnAddPressed();
  void OnExitPressed();

 protected:
  void OnLoad() override { OnWindowLoaded(); }

 private:
  void Layout();
  void Wire();
  // The club chosen in club_choice: "MQC" or else I-QRP.
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

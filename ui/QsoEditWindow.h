// The QSO editing window: the operator types a logged callsign, "cerca" finds its QSO in the EDI
// window's copy of the record list and shows its fields, each beside a hidden copy of its old
// value; "Modifica" checks the corrected fields, rewrites the QSO's line in the QSO list and its
// record, recomputes the contest totals from the record list and saves the contest. Changing the
// locator asks the bearing calculator for the new distance at once.
#pragma once

#include <optional>

#include "core/QsoEdit.h"
#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra {

class QsoEditWindow : public Form {
 public:
  explicit QsoEditWindow(Program& program);

  // The search, then the edit fields; the declaration order is the tab order.
  Label search_call_caption{*this, "Label1", "Call del QSO da modificare"};
  TextBox search_call{*this, "Text1"};
  TextBox call{*this, "Text2"};
  TextBox date{*this, "Text3"};
  TextBox time{*this, "Text4"};
  TextBox locator{*this, "Text5"};
  TextBox mode{*this, "Text6"};
  TextBox rst_received{*this, "Text7"};
  TextBox serial_received{*this, "Text8"};
  CommandButton modify_button{*this, "Command1", "Modifica"};
  CommandButton close_button{*this, "Command2", "Chiudi"};
  CommandButton search_button{*this, "Command3", "cerca"};
  TextBox club_code{*this, "Text9"};
  // Filled by the program only: the distance and the club bonus.
  TextBox distance{*this, "Text10"};
  TextBox club_bonus{*this, "Text11", "0"};

  // Captions of the edit fields.
  Label call_caption{*this, "Label2", "Call"};
  Label date_caption{*this, "Label3", "Data"};
  Label time_caption{*this, "Label4", "Ora"};
  Label locator_caption{*this, "Label5", "Locatore"};
  Label distance_caption{*this, "Label19", "QRB"};
  Label mode_caption{*this, "Label6", "Modo"};
  Label mode_hint{*this, "Label16", "1 = SSB 0 = CW"};
  Label rst_received_caption{*this, "Label7", "RSTr"};
  Label serial_received_caption{*this, "Label8", "Progressivo"};
  Label club_code_caption{*this, "Label17", "I-QRP-MQC"};
  Label club_bonus_caption{*this, "Label21", "QRB-Bonus"};

  // The locator as the search found it, beside its field (the other old values are kept with
  // the QSO found).
  Label old_locator{*this, "Label12"};

  // The QSO's fields as the last search found and showed them; null while none is being edited.
  const QsoEditTexts* Found() const { return found_ ? &found_->shown : nullptr; }

  void OnSearchCallChanged();
  void OnSearchCallKeyDown(int key_code, bool& handled);
  void OnCallChanged();
  void OnLocatorChanged();
  void OnModeChanged();
  void OnClubCodeChanged();
  void OnDistanceChanged();
  // "cerca"
  void OnSearchPressed();
  // "Modifica"
  void OnModifyPressed();
  // "Chiudi"
  void OnClosePressed();

  // What the history files knew of the call before this contest, under the fields; F12 in the
  // locator field moves to the next known locator.
  Label history_line{*this, "HistoryLine"};
  void ShowHistoryLine();
  void OnLocatorKeyDown(int key_code, bool& handled);

 private:
  void Layout();
  void Wire();
  // The edit fields with their captions (not the old values, not "Modifica").
  void ShowEditArea(bool visible);
  void EmptyEditArea();
  // Asks the calculator for the distance to the locator field's locator.
  void RequestDistance();
  QsoEditTexts FieldTexts() const;
  TextBox& FieldOf(EditField field);
  enum class Applied { kChanged, kNothingChanged, kListsChangedSinceTheSearch };
  // Rewrites the QSO's two lines and the totals; the lists stay as they are unless kChanged.
  Applied Apply(const QsoEditTexts& before, const QsoEditTexts& after);

  Program& program_;
  // The QSO the last search found, until it is modified or another search runs.
  std::optional<FoundQso> found_;
};

}  // namespace keldra

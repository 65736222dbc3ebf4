// The QSO editing window: the operator types a logged callsign, "cerca" finds its QSO in the EDI
// window's copy of the record list and shows its fields, each beside a hidden copy of its old
// value; "Modifica" checks the corrected fields, rewrites the QSO's line in the QSO list and its
// record, recomputes the contest totals from the record list and saves the contest. Changing the
// locator asks the bearing calculator for the new distance at once.
#pragma once

#include <optional>

#include "core/QsoEdit.h"
#include "platform/Buttons.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "ui/Program.h"

namespace keldra {

class Form6 : public Form {
 public:
  explicit Form6(Program& program);

  // The search, then the edit fields; the declaration order is the tab order.
  Label Label1{*this, "Label1", "Call del QSO da modificare"};
  TextBox Text1{*this, "Text1"};
  TextBox Text2{*this, "Text2"};
  TextBox Text3{*this, "Text3"};
  TextBox Text4{*this, "Text4"};
  TextBox Text5{*this, "Text5"};
  TextBox Text6{*this, "Text6"};
  TextBox Text7{*this, "Text7"};
  TextBox Text8{*this, "Text8"};
  CommandButton Command1{*this, "Command1", "Modifica"};
  CommandButton Command2{*this, "Command2", "Chiudi"};
  CommandButton Command3{*this, "Command3", "cerca"};
  TextBox Text9{*this, "Text9"};
  // Filled by the program only: the distance and the club bonus.
  TextBox Text10{*this, "Text10"};
  TextBox Text11{*this, "Text11", "0"};

  // Captions of the edit fields.
  Label Label2{*this, "Label2", "Call"};
  Label Label3{*this, "Label3", "Data"};
  Label Label4{*this, "Label4", "Ora"};
  Label Label5{*this, "Label5", "Locatore"};
  Label Label19{*this, "Label19", "QRB"};
  Label Label6{*this, "Label6", "Modo"};
  Label Label16{*this, "Label16", "1 = SSB 0 = CW"};
  Label Label7{*this, "Label7", "RSTr"};
  Label Label8{*this, "Label8", "Progressivo"};
  Label Label17{*this, "Label17", "I-QRP-MQC"};
  Label Label21{*this, "Label21", "QRB-Bonus"};

  // The old values, as the search found them; only the old locator is shown.
  Label Label9{*this, "Label9"};
  Label Label10{*this, "Label10"};
  Label Label11{*this, "Label11"};
  Label Label12{*this, "Label12"};
  Label Label13{*this, "Label13"};
  Label Label14{*this, "Label14"};
  Label Label15{*this, "Label15"};
  Label Label18{*this, "Label18"};
  Label Label20{*this, "Label20"};
  Label Label22{*this, "Label22"};

  void Form6_Text1_Change();
  void Form6_Text1_KeyDown(int key_code, bool& handled);
  void Form6_Text2_Change();
  void Form6_Text5_Change();
  void Form6_Text6_Change();
  void Form6_Text9_Change();
  void Form6_Text10_Change();
  // "cerca"
  void Form6_Command3_Click();
  // "Modifica"
  void Form6_Command1_Click();
  // "Chiudi"
  void Form6_Command2_Click();

 private:
  void Layout();
  void Wire();
  // The edit fields with their captions (not the old values, not "Modifica").
  void ShowEditArea(bool visible);
  void EmptyEditArea();
  // Asks the calculator for the distance to the locator of Text5.
  void RequestDistance();
  QsoEditTexts FieldTexts() const;
  QsoEditTexts OldTexts() const;
  TextBox& FieldOf(EditField field);
  enum class Applied { kChanged, kNothingChanged, kListsChangedSinceTheSearch };
  // Rewrites the QSO's two lines and the totals; the lists stay as they are unless kChanged.
  Applied Apply(const QsoEditTexts& before, const QsoEditTexts& after);

  Program& program_;
  // The QSO the last search found, until it is modified or another search runs.
  std::optional<FoundQso> found_;
};

}  // namespace keldra

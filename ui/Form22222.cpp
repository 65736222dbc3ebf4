#include "ui/Form22222.h"

#include "core/Text.h"
#include "geo/Locator.h"
#include "platform/CodePage.h"
#include "ui/Form1.h"
#include "ui/Layout.h"

namespace keldra {

Form22222::Form22222(Program& program)
    : Form(program.Desktop(), "Form22222", "Bearing utility 1.1 - QX0ZZA", Px(344), Px(178)),
      program_(program) {
  Layout();
  Wire();
}

void Form22222::Layout() {
  const std::pair<Label*, TextBox*> rows[] = {
      {&Label1, &Text3}, {&Label2, &Text5}, {&Label3, &Text6}, {&Label4, &Text1}};
  int y = 14;
  for (const auto& [caption, field] : rows) {
    Place(*caption, 14, y + 4, 76, 20);
    caption->SetFont({.bold = true});
    Place(*field, 92, y, 112, 26);
    field->SetFont({.points = 11});
    y += 36;
  }
  // The results are the calculator's to write.
  Text6.SetLocked(true);
  Text1.SetLocked(true);
  Text3.SetToolTip("(6 caratteri es. JN81GD)");
  Text5.SetToolTip("(6 caratteri es. JN71GD)");

  Place(Command1, 222, 12, 108, 32);
  Command1.SetFont({.bold = true});
  Place(Picture1, 246, 56, 60, 60);
  Picture1.SetArt(Artwork::kCompass);
  Picture1.SetBorder(false);
  Place(Command2, 222, 130, 108, 32);

  for (TextBox* hidden : {&Text7, &Text2, &Text4, &Text8}) {
    Place(*hidden, 14, 150, 60, 20);
    hidden->SetVisible(false);
  }
}

void Form22222::Wire() {
  Text3.Change = [this] { Form22222_Text3_Change(); };
  Text5.Change = [this] { Form22222_Text5_Change(); };
  Text1.Change = [this] { Form22222_Text1_Change(); };
  Text6.Change = [this] { Form22222_Text6_Change(); };
  Command1.Click = [this] { Form22222_Command1_Click(); };
  Command2.Click = [this] { Form22222_Command2_Click(); };
}

void Form22222::Form22222_Text3_Change() {
  Text3.SetText(ToUpper1252(Text3.Text()));
  Text3.CaretToEnd();
}

void Form22222::Form22222_Text5_Change() {
  const std::string upper = ToUpper1252(Text5.Text());
  if (upper != Text5.Text()) {
    // The rewrite runs this handler again, which does the rest once.
    Text5.SetText(upper);
    return;
  }
  Text5.CaretToEnd();
  if (Text5.Text().size() == 6) Command1.Press();
}

void Form22222::Form22222_Text1_Change() { program_.Get<Form1>().Label15.SetCaption(Text1.Text()); }

void Form22222::Form22222_Text6_Change() {
  Label& qrb = program_.Get<Form1>().Label13;
  qrb.SetCaption(Text6.Text());
  // A contact inside the own subsquare still counts one kilometre, and a failure shows as 1 too.
  if (LeadingNumber(qrb.Caption()) == 0) qrb.SetCaption("1");
}

void Form22222::Form22222_Command1_Click() {
  if (Text5.Text() == "...") return;  // nothing asked yet
  const LocatorResult result =
      CalculateLocators(ToUpper1252(Text3.Text()), ToUpper1252(Text5.Text()));
  if (result.own_too_long) {
    program_.Message(
        U8("Il locatore della propria stazione deve avere al massimo 6 caratteri "
           "(es. JN81GD): correggere i dati della stazione."));
  }
  if (result.failed) {
    Text5.SetText("");
    Text6.SetText(std::string(kLocatorFailed));
  } else {
    const LocatorCoordinates& c = *result.coordinates;
    Text7.SetText(PlainDecimal(c.own.latitude));
    Text2.SetText(PlainDecimal(-c.own.longitude));
    Text4.SetText(PlainDecimal(c.other.latitude));
    Text8.SetText(PlainDecimal(-c.other.longitude));
  }
  Text1.SetText(result.bearing);
  Text6.SetText(result.distance);
}

void Form22222::Form22222_Command2_Click() { Unload(); }

}  // namespace keldra

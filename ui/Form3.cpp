#include "ui/Form3.h"

#include "core/Text.h"
#include "data/StationConfig.h"
#include "platform/CodePage.h"
#include "ui/Form1.h"
#include "ui/Form22222.h"
#include "ui/Layout.h"
#include "ui/StartWindows.h"

namespace keldra {

Form3::Form3(Program& program)
    : Form(program.Desktop(), "Form3", "Keldra qrp Test - Dati Stazione", Px(400), Px(262)),
      program_(program) {
  Layout();
  Wire();
}

void Form3::Layout() {
  Place(Image1, 16, 16, 72, 72);
  const std::pair<Label*, TextBox*> rows[] = {
      {&Label1, &Text1}, {&Label2, &Text2}, {&Label3, &Text3}, {&Label4, &Text4}};
  int y = 16;
  for (const auto& [caption, field] : rows) {
    Place(*caption, 104, y + 4, 120, 20);
    caption->SetFont({.bold = true});
    Place(*field, 256, y, 126, 26);
    field->SetFont({.points = 11});
    y += 36;
  }
  // The club letters stand just before their number fields.
  Place(Label5, 230, 16 + 2 * 36 + 4, 26, 20);
  Place(Label6, 230, 16 + 3 * 36 + 4, 26, 20);
  Place(Text5, 16, 200, 40, 20);
  Text5.SetVisible(false);

  Place(Command1, 172, 212, 100, 34);
  Command1.SetFont({.bold = true});
  Place(Command2, 282, 212, 100, 34);
}

void Form3::Wire() {
  Text1.Change = [this] { Form3_Text1_Change(); };
  Text2.Change = [this] { Form3_Text2_Change(); };
  Text1.KeyDown = [this](int key_code, KeyModifiers, bool& handled) { Form3_Text1_KeyDown(key_code, handled); };
  Text2.KeyDown = [this](int key_code, KeyModifiers, bool& handled) { Form3_Text2_KeyDown(key_code, handled); };
  Text3.KeyDown = [this](int key_code, KeyModifiers, bool& handled) { Form3_Text3_KeyDown(key_code, handled); };
  Text4.KeyDown = [this](int key_code, KeyModifiers, bool& handled) { Form3_Text4_KeyDown(key_code, handled); };
  Command1.Click = [this] { Form3_Command1_Click(); };
  Command2.Click = [this] { Form3_Command2_Click(); };
}

void Form3::Form3_Text1_Change() {
  Text1.SetText(ToUpper1252(Text1.Text()));
  Text1.CaretToEnd();
}

void Form3::Form3_Text2_Change() {
  Text2.SetText(ToUpper1252(Text2.Text()));
  Text2.CaretToEnd();
}

void Form3::Form3_Text1_KeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) return;
  handled = true;
  Text2.SetFocus();
}

void Form3::Form3_Text2_KeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) return;
  handled = true;
  Text3.SetFocus();
}

void Form3::Form3_Text3_KeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) return;
  handled = true;
  Text4.SetFocus();
}

void Form3::Form3_Text4_KeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) return;
  handled = true;
  Command1.Press();
}

void Form3::Form3_Command1_Click() {
  if (Text1.Text().size() <= 3) {
    program_.Message("Inserire proprio Callsign...", MessageIcon::kNone);
    return;
  }
  if (Text2.Text().size() != 6) {
    program_.Message("Inserire proprio locatore (es. JN81GD)...", MessageIcon::kNone);
    return;
  }
  const StationConfig station{Text1.Text(), Text2.Text(), Text3.Text(), Text4.Text()};
  const std::filesystem::path path = program_.File(kStationFileName);
  if (const IoStatus status = program_.Disk().Replace(path, StationConfigText(station)); !status) {
    // The window stays open with what was typed, so the operator can try again.
    program_.Message(U8("I dati della stazione non sono stati salvati.\n" + status.Describe()),
                     MessageIcon::kCritical);
    return;
  }

  Form1& main = program_.Get<Form1>();
  main.Label39.SetCaption(station.call);
  main.Label40.SetCaption(station.locator);
  main.Label41.SetCaption(station.iqrp);
  main.Label42.SetCaption(station.mqc);
  program_.Get<Form22222>().Text3.SetText(station.locator);
  main.Show();
  if (LeadingNumber(Text5.Text()) == 1) main.Text15.SetText("1");
  Unload();
}

void Form3::Form3_Command2_Click() {
  Unload();
  EndIfNothingShown(program_);
}

}  // namespace keldra

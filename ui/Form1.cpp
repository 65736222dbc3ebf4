#include "ui/Form1.h"

#include "ui/Layout.h"

namespace keldra {

Form1::Form1(Program& program)
    : Form(program.Desktop(), "Form1",
           "Keldra VHF qrp - QX0ZM Sez. di Torvalle - ver 1.11 27/8/2022", Px(1100), Px(660)),
      program_(program) {
  Layout();
  Wire();
}

void Form1::Layout() {
  // Contest banner.
  Place(Image1, 8, 8, 56, 56);
  Place(Label32, 76, 8, 420, 26);
  Label32.SetFont({.bold = true, .points = 15});
  Label32.SetForeColor({0, 0, 128});
  Place(Label33, 76, 38, 150, 18);
  Place(Label34, 236, 38, 260, 18);
  Place(Label31, 506, 38, 340, 18);
  for (Label* l : {&Label33, &Label34, &Label31}) l->SetFont({.bold = true});

  // Entry row: headings over fields, "OK" at the end.
  struct Column {
    Label* heading;
    TextBox* field;
    int width;
  };
  const Column row[] = {{&Label1, &Text1, 56},   {&Label2, &Text2, 78},  {&Label3, &Text3, 56},
                        {&Label4, &Text4, 46},   {&Label5, &Text5, 46},  {&Label6, &Text6, 110},
                        {&Label7, &Text7, 52},   {&Label8, &Text8, 52},  {&Label9, &Text9, 48},
                        {&Label10, &Text10, 84}, {&Label11, &Text11, 80}};
  int x = 8;
  for (const Column& c : row) {
    Place(*c.heading, x, 76, c.width + 6, 18);
    c.heading->SetFont({.bold = true});
    c.heading->SetWordWrap(false);
    Place(*c.field, x, 96, c.width, 26);
    c.field->SetFont({.points = 11});
    x += c.width + 6;
  }
  Place(Command1, x + 4, 94, 70, 30);
  Command1.SetFont({.bold = true, .points = 11});
  Text1.SetLocked(true);
  Text4.SetLocked(true);
  Text5.SetLocked(true);
  Text2.SetToolTip("es. 19/07/20");
  Text3.SetToolTip("es. 09.20");
  Text5.SetToolTip("up e down per cambiare il modo");
  Text9.SetToolTip("(3 cifre es. 001)");
  Text10.SetToolTip("(6 cifre es. JN81GD)");
  Text11.SetToolTip("(es. I003 o M123)");

  // Distance, bearing and duplicate warning under the row.
  Place(Label12, 540, 130, 50, 22);
  Place(Label13, 590, 130, 60, 22);
  Place(Label16, 654, 130, 34, 22);
  Place(Label14, 700, 130, 50, 22);
  Place(Label15, 750, 130, 50, 22);
  Place(Label17, 802, 130, 20, 22);
  for (Label* l : {&Label12, &Label13, &Label16, &Label14, &Label15, &Label17}) {
    l->SetFont({.bold = true, .points = 12});
    l->SetVisible(false);
  }
  Label13.SetVisible(true);
  Label15.SetVisible(true);
  Label13.SetAlign(Alignment::kRight);
  Label15.SetAlign(Alignment::kRight);
  Place(Label55, 380, 130, 150, 22);
  Label55.SetFont({.bold = true, .points = 12});
  Label55.SetForeColor({200, 0, 0});
  Label55.SetVisible(false);

  // The QSO list.
  Place(Text12, 8, 158, 846, 440);
  Text12.SetMultiLine(true);
  Text12.SetLocked(true);
  Text12.SetFont({.points = 10, .fixed_pitch = true});
  for (TextBox* hidden : {&Text13, &Text14, &Text15}) {
    Place(*hidden, 8, 158, 100, 20);
    hidden->SetVisible(false);
  }
  Text13.SetMultiLine(true);
  Text14.SetMultiLine(true);

  // Buttons along the bottom.
  x = 8;
  for (CommandButton* b : {&Command2, &Command5, &Command6, &Command7, &Command9, &Command11}) {
    Place(*b, x, 610, 112, 32);
    x += 120;
  }
  Place(Command3, 754, 610, 100, 32);
  Command7.SetCaption("on-line / off-line");
  Command9.SetCaption("Data/ora PC");
  Command9.SetVisible(false);
  Command11.SetVisible(false);
  Place(Command4, 0, 0, 80, 24);
  Place(Command8, 0, 0, 80, 24);
  Command4.SetVisible(false);
  Command8.SetVisible(false);

  // Right column: pointing display, totals, station.
  Place(Frame3, 866, 8, 226, 196);
  Place(Picture1, 10, 20, 120, 120, &Frame3);
  Picture1.SetArt(Artwork::kCompass);
  Place(Line1, 0, 0, 0, 0, &Picture1);
  Line1.SetPoints(Px(60), Px(60), Px(60), Px(20));
  Line1.SetThickness(3);
  Line1.SetForeColor({200, 0, 0});
  Place(Picture4, 140, 60, 76, 40, &Frame3);
  Place(Label56, 4, 8, 68, 24, &Picture4);
  Label56.SetFont({.bold = true, .points = 13});
  Label56.SetAlign(Alignment::kCenter);
  Place(Picture2, 10, 150, 206, 36, &Frame3);
  Place(Line2, 0, 0, 0, 0, &Picture2);
  Line2.SetPoints(Px(4), Px(18), Px(4), Px(18));
  Line2.SetThickness(8);
  Line2.SetForeColor({0, 128, 0});
  Line2.SetVisible(false);

  Place(Frame1, 866, 210, 226, 196);
  const std::pair<Label*, Label*> totals[] = {
      {&Label18, &Label19}, {&Label20, &Label21}, {&Label22, &Label23}, {&Label24, &Label25},
      {&Label43, &Label44}, {&Label26, &Label27}, {&Label49, &Label51}, {&Label50, &Label52}};
  int y = 22;
  for (const auto& [caption, value] : totals) {
    Place(*caption, 10, y, 100, 19, &Frame1);
    Place(*value, 112, y, 104, 19, &Frame1);
    value->SetFont({.bold = true});
    y += 21;
  }
  // The ODX row holds call, locator, distance and unit.
  Place(Label26, 10, 127, 36, 19, &Frame1);
  Place(Label27, 46, 127, 66, 19, &Frame1);
  Place(Label28, 112, 127, 54, 19, &Frame1);
  Place(Label29, 164, 127, 34, 19, &Frame1);
  Place(Label30, 200, 127, 20, 19, &Frame1);
  Label28.SetFont({.bold = true});
  Label29.SetFont({.bold = true});
  Label29.SetAlign(Alignment::kRight);

  Place(Frame2, 866, 412, 226, 190);
  const std::pair<Label*, Label*> station[] = {{&Label35, &Label39}, {&Label36, &Label40},
                                               {&Label37, &Label41}, {&Label38, &Label42},
                                               {&Label45, &Label46}, {&Label48, &Label47}};
  y = 22;
  for (const auto& [caption, value] : station) {
    Place(*caption, 10, y, 90, 19, &Frame2);
    Place(*value, 102, y, 114, 19, &Frame2);
    value->SetFont({.bold = true});
    y += 21;
  }
  Place(Label53, 10, y + 6, 60, 19, &Frame2);
  Place(Picture3, 60, y + 2, 30, 30, &Frame2);
  Picture3.SetArt(Artwork::kAward);
  Picture3.SetBorder(false);
  Place(Label54, 92, y + 6, 130, 19, &Frame2);  // the award's name on one line
  Label54.SetFont({.bold = true});
  Label54.SetForeColor({160, 100, 0});
  Picture3.SetVisible(false);
  Label54.SetVisible(false);
}

void Form1::Wire() {
  Command1.Click = [this] { Form1_Command1_Click(); };
  Command2.Click = [this] { Form1_Command2_Click(); };
  Command3.Click = [this] { Form1_Command3_Click(); };
  Command4.Click = [this] { Form1_Command4_Click(); };
  Command5.Click = [this] { Form1_Command5_Click(); };
  Command6.Click = [this] { Form1_Command6_Click(); };
  Command7.Click = [this] { Form1_Command7_Click(); };
  Command8.Click = [this] { Form1_Command8_Click(); };
  Command9.Click = [this] { Form1_Command9_Click(); };
  Command11.Click = [this] { Form1_Command11_Click(); };
  Picture3.Click = [this] { Form1_Picture3_Click(); };

  Label13.Change = [this] { Form1_Label13_Change(); };
  Label15.Change = [this] { Form1_Label15_Change(); };
  Label39.Change = [this] { Form1_Label39_Change(); };
  Label51.Change = [this] { Form1_Label51_Change(); };

  Text1.Change = [this] { Form1_Text1_Change(); };
  Text3.Change = [this] { Form1_Text3_Change(); };
  Text6.Change = [this] { Form1_Text6_Change(); };
  Text10.Change = [this] { Form1_Text10_Change(); };
  Text11.Change = [this] { Form1_Text11_Change(); };
  Text15.Change = [this] { Form1_Text15_Change(); };
  Text2.LostFocus = [this] { Form1_Text2_LostFocus(); };
  Text3.LostFocus = [this] { Form1_Text3_LostFocus(); };
  Text9.LostFocus = [this] { Form1_Text9_LostFocus(); };

  // The row: Enter or Space moves on; entering a field trims the one before it.
  TextBox* const row[] = {&Text2, &Text3, &Text4, &Text5,  &Text6,
                          &Text7, &Text8, &Text9, &Text10, &Text11};
  for (TextBox* field : row) {
    field->KeyDown = [this, field](int key_code, KeyModifiers, bool& handled) {
      EntryRow_KeyDown(*field, key_code, handled);
    };
    field->GotFocus = [this, field] { EntryRow_GotFocus(*field); };
  }
  Text5.KeyDown = [this](int key_code, KeyModifiers, bool& handled) { Form1_Text5_KeyDown(key_code, handled); };
  Text9.GotFocus = [this] { Form1_Text9_GotFocus(); };
  Text10.GotFocus = [this] { Form1_Text10_GotFocus(); };
}

}  // namespace keldra

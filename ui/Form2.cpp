#include "ui/Form2.h"

#include <utility>

#include "core/Text.h"
#include "ui/Form1.h"
#include "ui/Layout.h"

namespace keldra {

Form2::Form2(Program& program)
    : Form(program.Desktop(), "Form2", "Keldra qrp Test - Compilazione Log formato EDI", Px(760),
           Px(640)),
      program_(program) {
  Layout();
  Command1.Click = [this] { Form2_Command1_Click(); };
  Command2.Click = [this] { Form2_Command2_Click(); };
  create_adif_button.Click = [this] { OnCreateAdifPressed(); };
}

void Form2::Layout() {
  constexpr int kRow = 30;
  // Station and entrant on the left, equipment and remarks on the right.
  const std::pair<Label*, Control*> left[] = {
      {&Label1, &Text2},  {&Label2, &Text3},   {&Label3, &Text4},   {&Label4, &Combo1},
      {&Label5, &Text5},  {&Label6, &Text6},   {&Label7, &Text7},   {&Label8, &Text8},
      {&Label9, &Text9},  {&Label10, &Text10}, {&Label11, &Text11}, {&Label12, &Text12},
      {&Label13, &Text13}};
  int y = 14;
  for (const auto& [caption, field] : left) {
    Place(*caption, 14, y + 4, 124, 20);
    caption->SetFont({.bold = true});
    Place(*field, 140, y, 220, 26);
    y += kRow;
  }
  const std::pair<Label*, TextBox*> right[] = {
      {&Label14, &Text14}, {&Label15, &Text15}, {&Label16, &Text16},
      {&Label17, &Text17}, {&Label18, &Text18}, {&Label19, &Text19},
      {&Label20, &Text20}, {&Label21, &Text21}, {&Label22, &Text22}};
  y = 14;
  for (const auto& [caption, field] : right) {
    Place(*caption, 384, y + 4, 150, 20);
    caption->SetFont({.bold = true});
    Place(*field, 536, y, 210, 26);
    y += kRow;
  }
  Text22.SetMultiLine(true);
  Place(Text22, 536, 14 + 8 * kRow, 210, 5 * kRow - 4);
  Text4.SetLocked(true);
  Text5.SetLocked(true);

  // The record list is shown for reference; the commit, the resume and the editing write it.
  Place(Text1, 14, 14 + 13 * kRow + 6, 732, 164);
  Text1.SetMultiLine(true);
  Text1.SetLocked(true);
  Text1.SetFont({.points = 9, .fixed_pitch = true});
  Place(Text23, 14, 14 + 13 * kRow + 6, 100, 40);
  Text23.SetMultiLine(true);
  Text23.SetVisible(false);

  Place(create_adif_button, 418, 590, 104, 34);
  Place(Command2, 530, 590, 104, 34);
  Command2.SetFont({.bold = true});
  Place(Command1, 642, 590, 104, 34);
}

void Form2::Form2_Load() {
  for (const char* category : {"0,5 watt", "3 watt", "5 watt"}) Combo1.AddItem(category);
  Combo1.SetListIndex(0);
  Text6.SetText(FormatDateLong(program_.Time().Local()));
  Form1& main = program_.Get<Form1>();
  if (Text2.Text().empty()) Text2.SetText(main.Label39.Caption());
  if (Text3.Text().empty()) Text3.SetText(main.Label40.Caption());
  if (Text1.Text().empty()) Text1.SetText(main.Text14.Text());
}

void Form2::Form2_Command1_Click() { Hide(); }

}  // namespace keldra

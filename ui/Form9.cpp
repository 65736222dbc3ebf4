#include "ui/Form9.h"

#include "ui/Layout.h"

namespace keldra {

Form9::Form9(Program& program)
    : Form(program.Desktop(), "Form9", "I-QRP Club Awars", Px(460), Px(220)) {
  Place(Picture1, 16, 16, 96, 96);
  Picture1.SetArt(Artwork::kAward);
  Picture1.SetBorder(false);
  Place(Label3, 128, 16, 316, 96);
  Label3.SetFont({.bold = true, .points = 11});
  Place(Label1, 128, 124, 100, 20);
  Label1.SetFont({.bold = true});
  Place(Label2, 232, 124, 212, 20);
  Label2.SetForeColor({0, 0, 192});
  Place(Command1, 354, 168, 90, 32);

  Command1.Click = [this] { Form9_Command1_Click(); };
}

void Form9::Form9_Command1_Click() { Unload(); }

}  // namespace keldra

#include "ui/Form10.h"

#include "ui/Form11.h"
#include "ui/Layout.h"

namespace keldra {

Form10::Form10(Program& program)
    : Form(program.Desktop(), "Form10", "Keldra VHF qrp - Amministrazione", Px(300), Px(170)),
      program_(program) {
  Place(Label1, 16, 16, 268, 22);
  Label1.SetFont({.bold = true, .points = 11});
  Label1.SetAlign(Alignment::kCenter);
  Place(Command2, 118, 46, 64, 64);
  Command2.SetGraphical(true);
  Command2.SetToolTip("Gestione Database IQRP - MQC");
  Place(Command1, 194, 124, 90, 30);

  Command2.Click = [this] { Form10_Command2_Click(); };
  Command1.Click = [this] { Form10_Command1_Click(); };
}

void Form10::Form10_Command2_Click() {
  program_.Get<Form11>().Show();
  Unload();
}

void Form10::Form10_Command1_Click() { Unload(); }

}  // namespace keldra

#include "ui/Form12.h"

#include "core/StateFile.h"
#include "platform/CodePage.h"
#include "ui/Form5.h"
#include "ui/Layout.h"
#include "ui/StartWindows.h"

namespace keldra {

Form12::Form12(Program& program)
    : Form(program.Desktop(), "Form12", "Keldra VHF - Restore di emergenza", Px(440), Px(250)),
      program_(program) {
  Layout();
  Command1.Click = [this] { Form12_Command1_Click(); };
  Command2.Click = [this] { Form12_Command2_Click(); };
}

void Form12::Layout() {
  Place(Label2, 16, 14, 408, 26);
  Label2.SetFont({.bold = true, .points = 14});
  Label2.SetForeColor({200, 0, 0});
  Label2.SetAlign(Alignment::kCenter);
  Place(Label1, 16, 48, 408, 130);
  Label1.SetFont({.points = 10});
  Place(Command1, 112, 196, 100, 36);
  Place(Command2, 228, 196, 100, 36);
  for (CommandButton* b : {&Command1, &Command2}) b->SetFont({.bold = true});
}

void Form12::Form12_Command1_Click() {
  const std::filesystem::path backup = program_.File(kStateBackupFileName);
  if (!program_.Disk().Exists(backup)) {
    // Nothing to bring back: the contest file stays as it is and the operator goes on.
    program_.Message(U8("Nessun backup da ripristinare: il file " + backup.string() +
                        " non esiste. Il contest non è stato modificato."));
    Form12_Command2_Click();
    return;
  }
  if (const IoStatus status = program_.Disk().Copy(backup, program_.File(kStateFileName));
      !status) {
    program_.Message(U8("Restore non riuscito.\n" + status.Describe()), MessageIcon::kCritical);
    return;
  }
  program_.Message(U8("Restore effettuato... Il software verrà riavviato"));
  program_.End();
}

void Form12::Form12_Command2_Click() {
  if (Form5* start = program_.Find<Form5>()) start->Check2.SetValue(0);
  Unload();
  // The start window may have been closed meanwhile: then nothing is left on screen.
  EndIfNothingShown(program_);
}

}  // namespace keldra

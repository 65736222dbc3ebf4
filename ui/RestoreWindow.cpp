#include "ui/RestoreWindow.h"

#include "core/StateFile.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/StartWindows.h"

namespace keldra {

RestoreWindow::RestoreWindow(Program& program)
    : Form(program.Desktop(), "Form12", "Keldra VHF - Restore di emergenza", Px(440), Px(250)),
      program_(program) {
  Layout();
  yes_button.Click = [this] { OnYesPressed(); };
  no_button.Click = [this] { OnNoPressed(); };
}

void RestoreWindow::Layout() {
  Place(warning_title, 16, 14, 408, 26);
  warning_title.SetFont({.bold = true, .points = 14});
  warning_title.SetForeColor({200, 0, 0});
  warning_title.SetAlign(Alignment::kCenter);
  Place(warning, 16, 48, 408, 130);
  warning.SetFont({.points = 10});
  Place(yes_button, 112, 196, 100, 36);
  Place(no_button, 228, 196, 100, 36);
  for (CommandButton* b : {&yes_button, &no_button}) {
    b->SetFont({.bold = true});
  }
}

void RestoreWindow::OnYesPressed() {
  const std::filesystem::path backup = program_.File(kStateBackupFileName);
  if (!program_.Disk().Exists(backup)) {
    // Nothing to bring back: the contest file stays as it is and the operator goes on.
    program_.Message(Cp1252("Nessun backup da ripristinare: il file " + backup.string() +
                            " non esiste. Il contest non è stato modificato."));
    OnNoPressed();
    return;
  }
  if (const IoStatus status = program_.Disk().Copy(backup, program_.File(kStateFileName));
      !status) {
    program_.Message(Cp1252("Restore non riuscito.\n" + status.Describe()), MessageIcon::kCritical);
    return;
  }
  program_.Message(Cp1252("Restore effettuato... Il software verrà riavviato"));
  program_.End();
}

void RestoreWindow::OnNoPressed() {
  if (Declined) {
    Declined();
  }
  Unload();
  // The start window may have been closed meanwhile: then nothing is left on screen.
  EndIfNothingShown(program_);
}

}  // namespace keldra

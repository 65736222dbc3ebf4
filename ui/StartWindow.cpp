#include "ui/StartWindow.h"

#include "core/StateFile.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindows.h"
#include "ui/StationWindow.h"

namespace keldra {

StartWindow::StartWindow(Program& program)
    : Form(program.Desktop(), "Form5", "Keldra VHF qrp test - QX0ZM Sez. di Torvalle", Px(420),
           Px(210)),
      program_(program) {
  Layout();
  continue_button.Click = [this] { OnContinuePressed(); };
  new_contest_button.Click = [this] { OnNewContestPressed(); };
  emergency_restore.Click = [this] { OnEmergencyRestoreClicked(); };
}

void StartWindow::Layout() {
  Place(logo, 16, 16, 96, 96);
  Place(continue_button, 132, 16, 270, 40);
  Place(new_contest_button, 132, 66, 270, 40);
  for (CommandButton* b : {&continue_button, &new_contest_button}) {
    b->SetFont({.bold = true, .points = 11});
  }
  Place(off_line, 132, 124, 270, 24);
  Place(emergency_restore, 132, 154, 270, 24);
}

void StartWindow::OnContinuePressed() {
  // A contest file that is there but cannot be read is not continued as an empty contest: the
  // next two saves would replace the file and then its backup. The start window stays, so the
  // operator can try again, or start a new contest knowingly.
  const std::filesystem::path saved = program_.File(kStateFileName);
  if (program_.Disk().Exists(saved)) {
    if (const ReadResult read = program_.Disk().Read(saved); !read.status) {
      program_.Message(Cp1252("Il contest salvato non può essere letto: riprovare \"Continua "
                              "Contest\" o scegliere \"Nuovo Contest\".\n" +
                              read.status.Describe()),
                       MessageIcon::kCritical);
      return;
    }
  }
  MainWindow& main = program_.Get<MainWindow>();
  main.resume_button.Press();
  main.Show();
  main.call.SetFocus();
  if (off_line.Value() == 1) {
    main.SetOffLine(true);
  }
  Unload();
}

void StartWindow::OnNewContestPressed() {
  StationWindow& station = program_.Get<StationWindow>();
  station.Show();
  if (off_line.Value() == 1) {
    station.off_line = true;
  }
  Unload();
}

void StartWindow::OnEmergencyRestoreClicked() {
  // Only a tick opens the restore window; "NO" there clears the tick again.
  if (emergency_restore.Value() == 1) {
    RestoreWindow& restore = program_.Get<RestoreWindow>();
    restore.Declined = [this] {
      if (Loaded()) {
        emergency_restore.SetValue(0);
      }
    };
    restore.Show();
  }
}

void StartWindow::CloseRequested() {
  Unload();
  EndIfNothingShown(program_);
}

}  // namespace keldra

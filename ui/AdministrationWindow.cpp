#include "ui/AdministrationWindow.h"

#include "ui/ClubManagementWindow.h"
#include "ui/Layout.h"

namespace keldra {

AdministrationWindow::AdministrationWindow(Program& program)
    : Form(program.Desktop(), "Form10", "Keldra VHF qrp - Amministrazione", Px(300), Px(170)),
      program_(program) {
  Place(club_lists_caption, 16, 16, 268, 22);
  club_lists_caption.SetFont({.bold = true, .points = 11});
  club_lists_caption.SetAlign(Alignment::kCenter);
  Place(club_lists_button, 118, 46, 64, 64);
  club_lists_button.SetGraphical(true);
  club_lists_button.SetToolTip("Gestione Database IQRP - MQC");
  Place(close_button, 194, 124, 90, 30);

  club_lists_button.Click = [this] { OnClubListsPressed(); };
  close_button.Click = [this] { OnClosePressed(); };
}

void AdministrationWindow::OnClubListsPressed() {
  program_.Get<ClubManagementWindow>().Show();
  Unload();
}

void AdministrationWindow::OnClosePressed() { Unload(); }

}  // namespace keldra

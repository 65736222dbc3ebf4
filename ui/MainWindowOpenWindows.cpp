// The main window's buttons that open other windows: "Modifica QSO", "STAT", "Amministrazione"
// the award picture and "Mappa".
#include "ui/AdministrationWindow.h"
#include "ui/ClubAwardWindow.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"
#include "ui/QsoEditWindow.h"
#include "ui/StatisticsWindow.h"

namespace keldra {

// The edit window opens ready for the callsign to look for.
void MainWindow::OnEditQsoPressed() {
  QsoEditWindow& edit = program_.Get<QsoEditWindow>();
  edit.Show();
  edit.search_call.SetFocus();
}

// An open statistics window only comes forward, with the results it computed when it opened.
void MainWindow::OnStatisticsPressed() { program_.Get<StatisticsWindow>().Show(); }

void MainWindow::OnAdministrationPressed() { program_.Get<AdministrationWindow>().Show(); }

// The award picture is there only once the award is earned.
void MainWindow::OnAwardPictureClicked() {
  if (award_picture.Visible()) {
    program_.Get<ClubAwardWindow>().Show();
  }
}

// An open map only comes forward: it already follows the contest.
void MainWindow::OnMapPressed() { program_.Get<MapWindow>().Show(); }

void MainWindow::FollowOnMap() {
  if (MapWindow* map = program_.Find<MapWindow>()) {
    map->Follow();
  }
}

}  // namespace keldra

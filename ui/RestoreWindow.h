// The emergency restore window: after a confirmation, puts the previous version of the contest
// (backup.db) back as the state file and ends the program, which the operator then starts again
// to continue the restored contest. Reachable only from the start window.
#pragma once

#include <functional>

#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"

namespace keldra {

class RestoreWindow : public Form {
 public:
  explicit RestoreWindow(Program& program);

  Label warning_title{*this, "Label2", "ATTENZIONE!"};
  Label warning{*this, "Label1",
                "Il Restore di emergenza ripristina il database di Keldra qrp Test all'ultimo "
                "record inserito correttamente. E' consigliabile procedere con questa funzione "
                "solo in caso di crash o di anomalie sull'inserimento errato di un qso non "
                "altrimenti risolvibili. Procedere con la funzione di ripristino?"};
  CommandButton yes_button{*this, "Command1", "SI"};
  CommandButton no_button{*this, "Command2", "NO"};

  void OnYesPressed();
  void OnNoPressed();

  void CloseRequested() override { OnNoPressed(); }

  // Told when the operator declines the restore (the start window clears its tick).
  std::function<void()> Declined;

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

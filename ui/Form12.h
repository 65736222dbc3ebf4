// The emergency restore window: after a confirmation, puts the previous version of the contest
// (backup.db) back as the state file and ends the program, which the operator then starts again
// to continue the restored contest. Reachable only from the start window.
#pragma once

#include "platform/Buttons.h"
#include "platform/Label.h"
#include "ui/Program.h"

namespace keldra {

class Form12 : public Form {
 public:
  explicit Form12(Program& program);

  Label Label2{*this, "Label2", "ATTENZIONE!"};
  Label Label1{*this, "Label1",
               "Il Restore di emergenza ripristina il database di Keldra qrp Test all'ultimo "
               "record inserito correttamente. E' consigliabile procedere con questa funzione "
               "solo in caso di crash o di anomalie sull'inserimento errato di un qso non "
               "altrimenti risolvibili. Procedere con la funzione di ripristino?"};
  CommandButton Command1{*this, "Command1", "SI"};
  CommandButton Command2{*this, "Command2", "NO"};

  void Form12_Command1_Click();
  void Form12_Command2_Click();

  void CloseRequested() override { Form12_Command2_Click(); }

 private:
  void Layout();

  Program& program_;
};

}  // namespace keldra

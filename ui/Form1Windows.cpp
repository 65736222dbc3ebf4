// The main window's buttons that open other windows: "Modifica QSO", "STAT", "Amministrazione"
// and the award picture.
#include "ui/Form1.h"
#include "ui/Form10.h"
#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/Form9.h"

namespace keldra {

// The edit window opens ready for the callsign to look for.
void Form1::Form1_Command5_Click() {
  Form6& edit = program_.Get<Form6>();
  edit.Show();
  edit.Text1.SetFocus();
}

// An open statistics window only comes forward, with the results it computed when it opened.
void Form1::Form1_Command6_Click() { program_.Get<Form7>().Show(); }

void Form1::Form1_Command11_Click() { program_.Get<Form10>().Show(); }

// The award picture is there only once the award is earned.
void Form1::Form1_Picture3_Click() {
  if (Picture3.Visible()) program_.Get<Form9>().Show();
}

}  // namespace keldra

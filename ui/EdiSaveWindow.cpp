#include "ui/EdiSaveWindow.h"

#include "ui/Layout.h"
#include "ui/LogSave.h"

namespace keldra {

EdiSaveWindow::EdiSaveWindow(Program& program)
    : Form(program.Desktop(), "Form4", "Keldra qrp Test - Salva Log edi", Px(580), Px(470)),
      program_(program) {
  Layout();
  save_button.Click = [this] { OnSavePressed(); };
  exit_button.Click = [this] { OnExitPressed(); };
}

void EdiSaveWindow::Layout() {
  Place(file_name_caption, 16, 20, 110, 20);
  file_name_caption.SetFont({.bold = true});
  Place(file_name, 130, 16, 300, 26);
  file_name.SetFont({.points = 11});

  // The log as it will be written: a read-only preview.
  Place(log_text, 16, 54, 548, 250);
  log_text.SetMultiLine(true);
  log_text.SetLocked(true);
  log_text.SetFont({.points = 9, .fixed_pitch = true});

  Place(logo, 16, 318, 56, 56);
  Place(send_reminder, 86, 318, 478, 38);
  Place(log_address, 86, 360, 300, 20);
  log_address.SetFont({.bold = true, .points = 11});
  log_address.SetForeColor({0, 0, 128});

  Place(save_button, 360, 416, 98, 34);
  save_button.SetFont({.bold = true});
  Place(exit_button, 466, 416, 98, 34);
}

void EdiSaveWindow::OnSavePressed() {
  SaveLogAs(program_, file_name, log_text.Text(), "Il Log del Contest");
}

void EdiSaveWindow::OnExitPressed() { Unload(); }

}  // namespace keldra

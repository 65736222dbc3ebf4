#include "ui/AdifSaveWindow.h"

#include "ui/Layout.h"
#include "ui/LogSave.h"

namespace keldra {

AdifSaveWindow::AdifSaveWindow(Program& program)
    : Form(program.Desktop(), "AdifSaveWindow", "Keldra qrp Test - Salva Log ADIF", Px(580),
           Px(430)),
      program_(program) {
  Layout();
  save_button.Click = [this] { OnSavePressed(); };
  exit_button.Click = [this] { OnExitPressed(); };
}

void AdifSaveWindow::Layout() {
  Place(file_name_caption, 16, 20, 140, 20);
  file_name_caption.SetFont({.bold = true});
  Place(file_name, 160, 16, 300, 26);
  file_name.SetFont({.points = 11});

  // The log as it will be written: a read-only preview.
  Place(adif_text, 16, 54, 548, 270);
  adif_text.SetMultiLine(true);
  adif_text.SetLocked(true);
  adif_text.SetFont({.points = 9, .fixed_pitch = true});

  Place(purpose, 16, 336, 548, 38);
  Place(save_button, 360, 380, 98, 34);
  save_button.SetFont({.bold = true});
  Place(exit_button, 466, 380, 98, 34);
}

void AdifSaveWindow::OnSavePressed() {
  SaveLogAs(program_, file_name, adif_text.Text(), "Il Log ADIF");
}

void AdifSaveWindow::OnExitPressed() { Unload(); }

}  // namespace keldra

// The settings window's Hamlib row, where the program starts Hamlib's daemons itself (the Windows
// build): the folder the operator names for them, "Cerca", and what was found (the version and
// folder, or where to get Hamlib for Windows). Elsewhere the row is not shown.
#include "core/Text.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/RadioWindow.h"

namespace keldra {

void RadioWindow::LayoutHamlib() {
  const bool shown = program_.Devices().StartsDaemons();
  for (Control* control : std::initializer_list<Control*>{
           &hamlib_frame, &hamlib_folder_caption, &hamlib_folder, &hamlib_search, &hamlib_status}) {
    control->SetVisible(shown);
  }
  hamlib_search.Click = [this] { OnHamlibSearchPressed(); };
  if (!shown) {
    return;
  }
  // Below everything else, above the window's buttons.
  constexpr int kRow = 96;
  Control* const below[] = {&probe_result, &probe_button, &save_button, &exit_button};
  const int top = probe_result.Top() / Px(1);
  for (Control* control : below) {
    control->Move(control->Left(), control->Top() + Px(kRow), control->Width(), control->Height());
  }
  Resize(Width(), Height() + Px(kRow));
  Place(hamlib_frame, 8, top, 544, kRow - 8);
  Place(hamlib_folder_caption, 10, 24, 80, 20, &hamlib_frame);
  Place(hamlib_folder, 96, 20, 360, 26, &hamlib_frame);
  hamlib_folder.SetToolTip(
      Cp1252("Cartella di rigctld.exe e rotctld.exe; vuota: accanto al programma, in Programmi "
             "(Hamlib) o nel PATH"));
  Place(hamlib_search, 464, 18, 68, 30, &hamlib_frame);
  Place(hamlib_status, 10, 52, 524, 32, &hamlib_frame);
  hamlib_status.SetFont({.points = 8});
}

void RadioWindow::ShowHamlib() {
  if (program_.Devices().StartsDaemons()) {
    hamlib_status.SetCaption(Cp1252(program_.Devices().LibraryStatus()));
  }
}

void RadioWindow::OnHamlibSearchPressed() {
  Radio& radio = program_.Devices();
  radio.UseLibraryFolder(Trim(hamlib_folder.Text()));
  ShowHamlib();
  FillModelLists(ChosenModelNumber(false), ChosenModelNumber(true));
}

}  // namespace keldra

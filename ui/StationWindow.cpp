#include "ui/StationWindow.h"

#include "core/Text.h"
#include "data/StationConfig.h"
#include "system/CodePage.h"
#include "ui/Calculator.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/StartWindows.h"

namespace keldra {

StationWindow::StationWindow(Program& program)
    : Form(program.Desktop(), "Form3", "Keldra qrp Test - Dati Stazione", Px(400), Px(262)),
      program_(program) {
  Layout();
  Wire();
}

void StationWindow::Layout() {
  Place(antenna_picture, 16, 16, 72, 72);
  const std::pair<Label*, TextBox*> rows[] = {{&call_caption, &call},
                                              {&locator_caption, &locator},
                                              {&iqrp_number_caption, &iqrp_number},
                                              {&mqc_number_caption, &mqc_number}};
  int y = 16;
  for (const auto& [caption, field] : rows) {
    Place(*caption, 104, y + 4, 120, 20);
    caption->SetFont({.bold = true});
    Place(*field, 256, y, 126, 26);
    field->SetFont({.points = 11});
    y += 36;
  }
  // The club letters stand just before their number fields.
  Place(iqrp_prefix, 230, 16 + 2 * 36 + 4, 26, 20);
  Place(mqc_prefix, 230, 16 + 3 * 36 + 4, 26, 20);

  Place(save_button, 172, 212, 100, 34);
  save_button.SetFont({.bold = true});
  Place(exit_button, 282, 212, 100, 34);
}

void StationWindow::Wire() {
  call.Change = [this] { OnCallChanged(); };
  locator.Change = [this] { OnLocatorChanged(); };
  call.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnCallKeyDown(key_code, handled);
  };
  locator.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnLocatorKeyDown(key_code, handled);
  };
  iqrp_number.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnIqrpNumberKeyDown(key_code, handled);
  };
  mqc_number.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnMqcNumberKeyDown(key_code, handled);
  };
  save_button.Click = [this] { OnSavePressed(); };
  exit_button.Click = [this] { OnExitPressed(); };
}

void StationWindow::OnCallChanged() {
  call.SetText(ToUpper1252(call.Text()));
  call.CaretToEnd();
}

void StationWindow::OnLocatorChanged() {
  locator.SetText(ToUpper1252(locator.Text()));
  locator.CaretToEnd();
}

void StationWindow::OnCallKeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) {
    return;
  }
  handled = true;
  locator.SetFocus();
}

void StationWindow::OnLocatorKeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) {
    return;
  }
  handled = true;
  iqrp_number.SetFocus();
}

void StationWindow::OnIqrpNumberKeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) {
    return;
  }
  handled = true;
  mqc_number.SetFocus();
}

void StationWindow::OnMqcNumberKeyDown(int key_code, bool& handled) {
  if (key_code != key::kEnter) {
    return;
  }
  handled = true;
  save_button.Press();
}

void StationWindow::OnSavePressed() {
  if (call.Text().size() <= 3) {
    program_.Message("Inserire proprio Callsign...", MessageIcon::kNone);
    return;
  }
  if (locator.Text().size() != 6) {
    program_.Message("Inserire proprio locatore (es. JN81GD)...", MessageIcon::kNone);
    return;
  }
  const StationConfig station{call.Text(), locator.Text(), iqrp_number.Text(), mqc_number.Text()};
  const std::filesystem::path path = program_.File(kStationFileName);
  if (const IoStatus status = program_.Disk().Replace(path, StationConfigText(station)); !status) {
    // The window stays open with what was typed, so the operator can try again.
    program_.Message(Cp1252("I dati della stazione non sono stati salvati.\n" + status.Describe()),
                     MessageIcon::kCritical);
    return;
  }

  MainWindow& main = program_.Get<MainWindow>();
  main.station_call.SetCaption(station.call);
  main.station_locator.SetCaption(station.locator);
  main.station_iqrp_number.SetCaption(station.iqrp);
  main.station_mqc_number.SetCaption(station.mqc);
  program_.Calculator().SetOwnLocator(station.locator);
  main.Show();
  if (off_line) {
    main.SetOffLine(true);
  }
  Unload();
}

void StationWindow::OnExitPressed() {
  Unload();
  EndIfNothingShown(program_);
}

}  // namespace keldra

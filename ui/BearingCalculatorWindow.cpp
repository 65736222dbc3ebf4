#include "ui/BearingCalculatorWindow.h"

#include "core/Text.h"
#include "geo/Locator.h"
#include "system/CodePage.h"
#include "ui/Calculator.h"
#include "ui/Layout.h"

namespace keldra {

BearingCalculatorWindow::BearingCalculatorWindow(Program& program)
    : Form(program.Desktop(), "Form22222", "Bearing utility 1.1 - QX0ZZA", Px(344), Px(178)),
      program_(program) {
  Layout();
  Wire();
}

void BearingCalculatorWindow::Layout() {
  const std::pair<Label*, TextBox*> rows[] = {{&own_locator_caption, &own_locator},
                                              {&other_locator_caption, &other_locator},
                                              {&distance_caption, &distance},
                                              {&bearing_caption, &bearing}};
  int y = 14;
  for (const auto& [caption, field] : rows) {
    Place(*caption, 14, y + 4, 76, 20);
    caption->SetFont({.bold = true});
    Place(*field, 92, y, 112, 26);
    field->SetFont({.points = 11});
    y += 36;
  }
  // The results are the calculator's to write.
  distance.SetLocked(true);
  bearing.SetLocked(true);
  own_locator.SetToolTip("(6 caratteri es. JN81GD)");
  other_locator.SetToolTip("(6 caratteri es. JN71GD)");

  Place(calculate_button, 222, 12, 108, 32);
  calculate_button.SetFont({.bold = true});
  Place(compass, 246, 56, 60, 60);
  compass.SetArt(Artwork::kCompass);
  compass.SetBorder(false);
  Place(exit_button, 222, 130, 108, 32);

  for (TextBox* hidden : {&own_latitude, &own_longitude, &other_latitude, &other_longitude}) {
    Place(*hidden, 14, 150, 60, 20);
    hidden->SetVisible(false);
  }
}

void BearingCalculatorWindow::Wire() {
  own_locator.Change = [this] { OnOwnLocatorChanged(); };
  other_locator.Change = [this] { OnOtherLocatorChanged(); };
  calculate_button.Click = [this] { OnCalculatePressed(); };
  exit_button.Click = [this] { OnExitPressed(); };
}

void BearingCalculatorWindow::OnLoad() { own_locator.SetText(program_.Calculator().OwnLocator()); }

void BearingCalculatorWindow::OnOwnLocatorChanged() {
  own_locator.SetText(ToUpper1252(own_locator.Text()));
  own_locator.CaretToEnd();
}

void BearingCalculatorWindow::OnOtherLocatorChanged() {
  const std::string upper = ToUpper1252(other_locator.Text());
  if (upper != other_locator.Text()) {
    // The rewrite runs this handler again, which does the rest once.
    other_locator.SetText(upper);
    return;
  }
  other_locator.CaretToEnd();
  if (other_locator.Text().size() == 6) {
    calculate_button.Press();
  }
}

void BearingCalculatorWindow::OnCalculatePressed() {
  if (other_locator.Text() == "...") {
    return;  // nothing asked yet
  }
  const LocatorResult result =
      CalculateLocators(ToUpper1252(own_locator.Text()), ToUpper1252(other_locator.Text()));
  if (result.own_too_long) {
    program_.Message(kOwnLocatorTooLong);
  }
  if (result.failed) {
    other_locator.SetText("");
    distance.SetText(std::string(kLocatorFailed));
  } else {
    const LocatorCoordinates& c = *result.coordinates;
    own_latitude.SetText(PlainDecimal(c.own.latitude));
    own_longitude.SetText(PlainDecimal(-c.own.longitude));
    other_latitude.SetText(PlainDecimal(c.other.latitude));
    other_longitude.SetText(PlainDecimal(-c.other.longitude));
  }
  bearing.SetText(result.bearing);
  distance.SetText(result.distance);
}

void BearingCalculatorWindow::OnExitPressed() { Unload(); }

}  // namespace keldra

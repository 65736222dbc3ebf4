#include "ui/Form7.h"

#include "core/Text.h"
#include "export/Report.h"
#include "geo/Locator.h"
#include "ui/Form1.h"
#include "ui/Form22222.h"
#include "ui/Form8.h"
#include "ui/Layout.h"

namespace keldra {

Form7::Form7(Program& program)
    : Form(program.Desktop(), "Form7", "Keldra QRP Test - Statistiche", Px(968), Px(620)),
      program_(program) {
  Layout();
  Command2.Click = [this] { Form7_Command2_Click(); };
  Command1.Click = [this] { Form7_Command1_Click(); };
}

void Form7::Layout() {
  // Left: the map (52 columns by 19 rows), then the squares and the countries under it.
  Place(Label2, 12, 10, 460, 20);
  Place(Text1, 12, 30, 460, 336);
  Place(Label1, 12, 376, 460, 20);
  Place(Text2, 12, 396, 460, 84);
  Place(Label3, 12, 490, 460, 20);
  Place(Text3, 12, 510, 460, 96);
  // Middle: hours and sectors.
  Place(Label4, 488, 10, 210, 20);
  Place(Text4, 488, 30, 210, 124);
  Place(Label5, 488, 166, 210, 20);
  Place(Text5, 488, 186, 210, 226);
  // Right: the ranking, with the buttons under it.
  Place(Label6, 714, 10, 242, 20);
  Place(List1, 714, 30, 242, 526);
  Place(Command2, 714, 570, 116, 36);
  Place(Command1, 840, 570, 116, 36);

  for (Label* caption : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6}) {
    caption->SetFont({.bold = true});
  }
  // The map and the sector table are columns of characters: fixed pitch keeps them aligned.
  for (TextBox* box : {&Text1, &Text2, &Text3, &Text4, &Text5}) {
    box->SetMultiLine(true);
    box->SetLocked(true);
    box->SetFont({.points = 10, .fixed_pitch = box == &Text1 || box == &Text5});
  }
  // Squares and countries are one long line each: wrapped, they read without scrolling.
  Text2.SetWordWrap(true);
  Text3.SetWordWrap(true);
  List1.SetFont({.points = 10, .fixed_pitch = true});
  Command2.SetFont({.bold = true});
}

DistanceBearingTexts Form7::Calculate(const std::string& locator) {
  // The calculator computes only six characters and keeps its last results otherwise; a line
  // without a six-character locator must not inherit the previous QSO's distance.
  if (locator.size() != 6) {
    return {std::string(kLocatorFailed), std::string(kLocatorFailed)};
  }
  Form22222& calculator = program_.Get<Form22222>();
  if (calculator.Text5.Text() == locator) {
    // Writing the same text is no change: compute again, against the current own locator.
    calculator.Command1.Press();
  } else {
    calculator.Text5.SetText(locator);
  }
  return {calculator.Text6.Text(), calculator.Text1.Text()};
}

void Form7::Form7_Load() {
  const Statistics statistics =
      ComputeStatistics(program_.Get<Form1>().Text12.Text(),
                        [this](const std::string& locator) { return Calculate(locator); });
  Text1.SetText(statistics.map);
  Text2.SetText(statistics.squares);
  Text3.SetText(statistics.countries);
  Text4.SetText(statistics.per_hour);
  Text5.SetText(statistics.per_sector);
  for (const std::string& entry : statistics.ranking) {
    List1.AddItem(entry);
  }
}

Statistics Form7::Shown() const {
  return {.map = Text1.Text(),
          .squares = Text2.Text(),
          .countries = Text3.Text(),
          .per_hour = Text4.Text(),
          .per_sector = Text5.Text(),
          .ranking = List1.Items()};
}

void Form7::Form7_Command2_Click() {
  Form8& report = program_.Get<Form8>();
  // A second "Report" while the report window is open adds a second copy after the first.
  report.Text1.AppendText(BuildReport(Shown(), FormatDateLong(program_.Time().Local())));
  report.Show();
}

void Form7::Form7_Command1_Click() { Unload(); }

}  // namespace keldra

#include "ui/StatisticsWindow.h"

#include "core/Text.h"
#include "export/Report.h"
#include "geo/Locator.h"
#include "ui/Calculator.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"
#include "ui/ReportWindow.h"

namespace keldra {

StatisticsWindow::StatisticsWindow(Program& program)
    : Form(program.Desktop(), "Form7", "Keldra QRP Test - Statistiche", Px(968), Px(620)),
      program_(program) {
  Layout();
  report_button.Click = [this] { OnReportPressed(); };
  close_button.Click = [this] { OnClosePressed(); };
  map_button.Click = [this] { program_.Get<MapWindow>().Show(); };
}

void StatisticsWindow::Layout() {
  // Left: the map (52 columns by 19 rows), then the squares and the countries under it.
  Place(square_map_caption, 12, 10, 460, 20);
  Place(square_map, 12, 30, 460, 336);
  Place(squares_caption, 12, 376, 460, 20);
  Place(squares, 12, 396, 460, 84);
  Place(countries_caption, 12, 490, 460, 20);
  Place(countries, 12, 510, 460, 96);
  // Middle: hours and sectors.
  Place(hours_caption, 488, 10, 210, 20);
  Place(hours, 488, 30, 210, 124);
  Place(sectors_caption, 488, 166, 210, 20);
  Place(sectors, 488, 186, 210, 226);
  // Right: the ranking, with the buttons under it.
  Place(ranking_caption, 714, 10, 242, 20);
  Place(ranking, 714, 30, 242, 526);
  Place(report_button, 714, 570, 116, 36);
  Place(close_button, 840, 570, 116, 36);
  Place(map_button, 488, 570, 116, 36);

  for (Label* caption : {&squares_caption, &square_map_caption, &countries_caption, &hours_caption,
                         &sectors_caption, &ranking_caption}) {
    caption->SetFont({.bold = true});
  }
  // The map and the sector table are columns of characters: fixed pitch keeps them aligned.
  for (TextBox* box : {&square_map, &squares, &countries, &hours, &sectors}) {
    box->SetMultiLine(true);
    box->SetLocked(true);
    box->SetFont({.points = 10, .fixed_pitch = box == &square_map || box == &sectors});
  }
  // Squares and countries are one long line each: wrapped, they read without scrolling.
  squares.SetWordWrap(true);
  countries.SetWordWrap(true);
  ranking.SetFont({.points = 10, .fixed_pitch = true});
  report_button.SetFont({.bold = true});
}

DistanceBearingTexts StatisticsWindow::Calculate(const std::string& locator) {
  // Only six characters make a QSO's locator; a line without one has no distance.
  if (locator.size() != 6) {
    return {std::string(kLocatorFailed), std::string(kLocatorFailed)};
  }
  CalculatedPath path = program_.Calculator().From(locator);
  return {std::move(path.distance), std::move(path.bearing)};
}

void StatisticsWindow::OnWindowLoaded() {
  // Each QSO from its record; a line of a saved file that records no QSO by its columns.
  std::vector<QsoListFields> qsos;
  for (const ContestLog::Entry& entry : program_.Contest().Entries()) {
    if (entry.qso) {
      qsos.push_back(FieldsOfQso(*entry.qso));
    } else if (entry.list_line) {
      qsos.push_back(FieldsOf(*entry.list_line));
    }
  }
  const Statistics statistics =
      ComputeStatistics(qsos, [this](const std::string& locator) { return Calculate(locator); });
  square_map.SetText(statistics.map);
  squares.SetText(statistics.squares);
  countries.SetText(statistics.countries);
  hours.SetText(statistics.per_hour);
  sectors.SetText(statistics.per_sector);
  for (const std::string& entry : statistics.ranking) {
    ranking.AddItem(entry);
  }
}

Statistics StatisticsWindow::Shown() const {
  return {.map = square_map.Text(),
          .squares = squares.Text(),
          .countries = countries.Text(),
          .per_hour = hours.Text(),
          .per_sector = sectors.Text(),
          .ranking = ranking.Items()};
}

void StatisticsWindow::OnReportPressed() {
  ReportWindow& report = program_.Get<ReportWindow>();
  // A second "Report" while the report window is open adds a second copy after the first.
  report.report.AppendText(BuildReport(Shown(), FormatDateLong(program_.Time().Local())));
  report.Show();
}

void StatisticsWindow::OnClosePressed() { Unload(); }

}  // namespace keldra

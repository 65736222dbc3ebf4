#include "ui/ReportWindow.h"

#include "export/Report.h"
#include "system/CodePage.h"
#include "ui/Layout.h"

namespace keldra {
namespace {

// A path as the operator reads it in a message (Windows-1252).
std::string Shown(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
}

}  // namespace

ReportWindow::ReportWindow(Program& program)
    : Form(program.Desktop(), "Form8", "Keldra QRP Test - Report", Px(560), Px(640)),
      program_(program) {
  Layout();
  save_button.Click = [this] { OnSavePressed(); };
  close_button.Click = [this] { OnClosePressed(); };
}

void ReportWindow::Layout() {
  // The report's map and tables are columns of characters: fixed pitch, wide enough for the
  // 52-character map rows.
  Place(report, 12, 12, 536, 566);
  report.SetMultiLine(true);
  report.SetFont({.points = 10, .fixed_pitch = true});
  Place(save_button, 316, 590, 112, 36);
  save_button.SetFont({.bold = true});
  Place(close_button, 436, 590, 112, 36);
}

void ReportWindow::OnSavePressed() {
  if (report.Text().empty()) {
    return;
  }
  const std::filesystem::path path = program_.File(kReportFileName);
  const IoStatus written = program_.Disk().Replace(path, report.Text());
  if (!written) {
    // The description names the file and the reason.
    program_.Message(Cp1252("Il report non è stato salvato.\n") + Utf8ToCp1252(written.Describe()),
                     MessageIcon::kCritical);
    return;
  }
  program_.Message("Log salvato in " + Shown(path));
}

void ReportWindow::OnClosePressed() { Unload(); }

}  // namespace keldra

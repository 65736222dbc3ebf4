#include "ui/Form8.h"

#include "export/Report.h"
#include "platform/CodePage.h"
#include "ui/Layout.h"

namespace keldra {
namespace {

// A path as the operator reads it in a message (Windows-1252).
std::string Shown(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
}

}  // namespace

Form8::Form8(Program& program)
    : Form(program.Desktop(), "Form8", "Keldra QRP Test - Report", Px(560), Px(640)),
      program_(program) {
  Layout();
  Command1.Click = [this] { Form8_Command1_Click(); };
  Command2.Click = [this] { Form8_Command2_Click(); };
}

void Form8::Layout() {
  // The report's map and tables are columns of characters: fixed pitch, wide enough for the
  // 52-character map rows.
  Place(Text1, 12, 12, 536, 566);
  Text1.SetMultiLine(true);
  Text1.SetFont({.points = 10, .fixed_pitch = true});
  Place(Command1, 316, 590, 112, 36);
  Command1.SetFont({.bold = true});
  Place(Command2, 436, 590, 112, 36);
}

void Form8::Form8_Command1_Click() {
  if (Text1.Text().empty()) {
    return;
  }
  const std::filesystem::path path = program_.File(kReportFileName);
  const IoStatus written = program_.Disk().Replace(path, Text1.Text());
  if (!written) {
    // The description names the file and the reason.
    program_.Message(U8("Il report non è stato salvato.\n") + Utf8ToCp1252(written.Describe()),
                     MessageIcon::kCritical);
    return;
  }
  program_.Message("Log salvato in " + Shown(path));
}

void Form8::Form8_Command2_Click() { Unload(); }

}  // namespace keldra

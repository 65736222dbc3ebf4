#include "ui/Form4.h"

#include "export/Edi.h"
#include "platform/CodePage.h"
#include "ui/Layout.h"

namespace keldra {

namespace {

// The file of the program folder with a name held as Windows-1252 text; the file system sees
// the name in Unicode.
std::filesystem::path FileOfFolder(const std::filesystem::path& folder, const std::string& name) {
  const std::string utf8 = Cp1252ToUtf8(name);
  return folder / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A path as the operator reads it in a message (Windows-1252).
std::string Shown(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
}

}  // namespace

Form4::Form4(Program& program)
    : Form(program.Desktop(), "Form4", "Keldra qrp Test - Salva Log edi", Px(580), Px(470)),
      program_(program) {
  Layout();
  Command1.Click = [this] { Form4_Command1_Click(); };
  Command2.Click = [this] { Form4_Command2_Click(); };
}

void Form4::Layout() {
  Place(Label1, 16, 20, 110, 20);
  Label1.SetFont({.bold = true});
  Place(Text2, 130, 16, 300, 26);
  Text2.SetFont({.points = 11});

  // The log as it will be written: a read-only preview.
  Place(Text1, 16, 54, 548, 250);
  Text1.SetMultiLine(true);
  Text1.SetLocked(true);
  Text1.SetFont({.points = 9, .fixed_pitch = true});

  Place(Image1, 16, 318, 56, 56);
  Place(Label2, 86, 318, 478, 38);
  Place(Label3, 86, 360, 300, 20);
  Label3.SetFont({.bold = true, .points = 11});
  Label3.SetForeColor({0, 0, 128});

  Place(Command1, 360, 416, 98, 34);
  Command1.SetFont({.bold = true});
  Place(Command2, 466, 416, 98, 34);
}

void Form4::Form4_Command1_Click() {
  // A name that could point outside the program folder is made safe, and the field shows it.
  const SafeName safe = MakeSafeFileName(Text2.Text());
  if (safe.ok() && safe.name != Text2.Text()) Text2.SetText(safe.name);
  if (Text1.Text().empty()) return;
  if (!safe.ok()) {
    program_.Message(safe.refusal);
    Text2.SetFocus();
    return;
  }

  const std::filesystem::path path = FileOfFolder(program_.Folder(), safe.name);
  const IoStatus written = program_.Disk().Replace(path, Text1.Text());
  if (!written) {
    // The reason names the file and what went wrong.
    program_.Message("Il Log del Contest non e' stato salvato.\n" + U8(written.Describe()),
                     MessageIcon::kCritical);
    return;
  }
  program_.Message("Il Log del Contest e' stato salvato in " + Shown(path));
}

void Form4::Form4_Command2_Click() { Unload(); }

}  // namespace keldra

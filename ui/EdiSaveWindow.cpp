#include "ui/EdiSaveWindow.h"

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
  // A name that could point outside the program folder is made safe, and the field shows it.
  const SafeName safe = MakeSafeFileName(file_name.Text());
  if (safe.ok() && safe.name != file_name.Text()) {
    file_name.SetText(safe.name);
  }
  if (log_text.Text().empty()) {
    return;
  }
  if (!safe.ok()) {
    program_.Message(safe.refusal);
    file_name.SetFocus();
    return;
  }

  const std::filesystem::path path = FileOfFolder(program_.Folder(), safe.name);
  const IoStatus written = program_.Disk().Replace(path, log_text.Text());
  if (!written) {
    // The reason names the file and what went wrong.
    program_.Message("Il Log del Contest non e' stato salvato.\n" + U8(written.Describe()),
                     MessageIcon::kCritical);
    return;
  }
  program_.Message("Il Log del Contest e' stato salvato in " + Shown(path));
}

void EdiSaveWindow::OnExitPressed() { Unload(); }

}  // namespace keldra

#include "ui/LogSave.h"

#include <filesystem>

#include "export/Edi.h"
#include "system/CodePage.h"
#include "ui/Program.h"
#include "widgets/TextBox.h"

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

void SaveLogAs(Program& program, TextBox& file_name, const std::string& text,
               const std::string& log) {
  // A name that could point outside the program folder is made safe, and the field shows it.
  const SafeName safe = MakeSafeFileName(file_name.Text());
  if (safe.ok() && safe.name != file_name.Text()) {
    file_name.SetText(safe.name);
  }
  if (text.empty()) {
    return;
  }
  if (!safe.ok()) {
    program.Message(safe.refusal);
    file_name.SetFocus();
    return;
  }

  const std::filesystem::path path = FileOfFolder(program.Folder(), safe.name);
  const IoStatus written = program.Disk().Replace(path, text);
  if (!written) {
    // The reason names the file and what went wrong.
    program.Message(log + " non e' stato salvato.\n" + Cp1252(written.Describe()),
                    MessageIcon::kCritical);
    return;
  }
  program.Message(log + " e' stato salvato in " + Shown(path));
}

}  // namespace keldra

#include "ui/ContestFile.h"

#include "system/CodePage.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

// The operator is told which file and why, in Italian, with the critical icon.
void ReportFailure(Program& program, const std::string& what, const IoStatus& status) {
  program.Message(Cp1252(what + "\n" + status.Describe()), MessageIcon::kCritical);
}

}  // namespace

bool SaveContest(Program& program, MainWindow& form) {
  const std::string text = program.Contest().StateFileText();
  if (text.empty()) {
    return true;
  }
  const std::filesystem::path backup = program.File(kStateBackupFileName);
  const IoStatus status = program.Disk().Replace(program.File(kStateFileName), text, &backup);
  form.save_pending = !status;
  if (status) {
    form.exit_warned = false;
    return true;
  }
  ReportFailure(program, "Il contest non è stato salvato su disco.", status);
  return false;
}

std::optional<StateFileValues> ReadContestFile(Program& program) {
  const std::filesystem::path path = program.File(kStateFileName);
  if (!program.Disk().Exists(path)) {
    return std::nullopt;
  }
  ReadResult read = program.Disk().Read(path);
  if (!read.status) {
    ReportFailure(program, "Il contest salvato non può essere letto.", read.status);
    return std::nullopt;
  }
  return ReadStateFile(read.bytes);
}

}  // namespace keldra

#include "system/ContestFolder.h"

namespace keldra {

FolderChoice ChooseContestFolder(const FolderFacts& facts) {
  if (!facts.given.empty()) {
    return {FolderSource::kGiven, (facts.working / facts.given).lexically_normal(), {}};
  }
  if (facts.executable_folder_writable && !facts.installed) {
    return {FolderSource::kExecutable, facts.executable_folder, {}};
  }
  const fs::path user = UserContestFolder(facts);
  if (user.empty()) {
    return {FolderSource::kUserData,
            {},
            NoUserFolderProblem() + "\nAvviare il programma con --cartella CARTELLA."};
  }
  return {FolderSource::kUserData, user, {}};
}

FolderFacts GatherFolderFacts(const fs::path& given, const fs::path& executable_folder) {
  FolderFacts facts;
  facts.given = given;
  std::error_code ec;
  facts.working = fs::current_path(ec);
  facts.executable_folder = executable_folder;
  facts.installed = fs::exists(executable_folder / kInstalledMarker, ec);
  AddSystemFacts(facts);
  return facts;
}

IoStatus PrepareContestFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    return IoStatus::Failed("creazione della cartella", folder, ec);
  }
  // create_directories accepts a folder that already exists, and refuses a file only on some
  // library versions.
  if (!fs::is_directory(folder, ec)) {
    return IoStatus::Failed("creazione della cartella", folder,
                            ec ? ec : std::make_error_code(std::errc::not_a_directory));
  }
  return IoStatus::Ok();
}

std::string FolderProblemMessage(const fs::path& folder, const IoStatus& status) {
  return "Impossibile usare la cartella del contest " + folder.string() + ": " +
         Reason(status.code()) + ".\nIl programma non parte. Sceglierne un'altra con " +
         "--cartella CARTELLA.";
}

}  // namespace keldra

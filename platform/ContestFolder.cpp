#include "platform/ContestFolder.h"

#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace keldra {
namespace {

// $XDG_DATA_HOME when it is an absolute path (the base-directory rules say a relative one is to
// be ignored), else ~/.local/share; empty when neither is known.
fs::path UserDataFolder(const FolderFacts& facts) {
  const fs::path xdg = facts.xdg_data_home;
  if (!xdg.empty() && xdg.is_absolute()) {
    return (xdg / "keldra").lexically_normal();
  }
  const fs::path home = facts.home;
  if (!home.empty() && home.is_absolute()) {
    return (home / ".local" / "share" / "keldra").lexically_normal();
  }
  return {};
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool Writable(const fs::path& folder) {
#ifdef _WIN32
  return _waccess(folder.c_str(), 2) == 0;
#else
  return ::access(folder.c_str(), W_OK) == 0;
#endif
}

}  // namespace

FolderChoice ChooseContestFolder(const FolderFacts& facts) {
  if (!facts.given.empty()) {
    return {FolderSource::kGiven, (facts.working / facts.given).lexically_normal(), {}};
  }
  if (facts.executable_folder_writable && !facts.installed) {
    return {FolderSource::kExecutable, facts.executable_folder, {}};
  }
  const fs::path user = UserDataFolder(facts);
  if (user.empty()) {
    return {FolderSource::kUserData,
            {},
            "Non so dove tenere i file del contest: né XDG_DATA_HOME né HOME indicano una "
            "cartella.\nAvviare il programma con --cartella CARTELLA."};
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
  facts.executable_folder_writable = Writable(executable_folder);
  facts.xdg_data_home = Environment("XDG_DATA_HOME");
  facts.home = Environment("HOME");
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

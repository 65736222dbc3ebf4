#include <unistd.h>

#include <cstdlib>

#include "system/ContestFolder.h"

namespace keldra {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

const fs::path kInstalledMarker = fs::path("..") / "share" / "keldra" / "installato";

fs::path ExecutableFolder() {
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

// $XDG_DATA_HOME when it is an absolute path (the base-directory rules say a relative one is to
// be ignored), else ~/.local/share.
fs::path UserContestFolder(const FolderFacts& facts) {
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

std::string NoUserFolderProblem() {
  return "Non so dove tenere i file del contest: né XDG_DATA_HOME né HOME indicano una cartella.";
}

std::string FolderRuleHelp() {
  return "Senza --cartella i file stanno nella cartella del programma, se vi si può\n"
         "scrivere e non è una copia installata da un pacchetto; altrimenti nella\n"
         "cartella dei dati dell'utente, $XDG_DATA_HOME/keldra (di solito\n"
         "~/.local/share/keldra), creata al primo avvio. Il programma non legge né\n"
         "scrive in nessun'altra cartella; la finestra principale mostra quella in uso\n"
         "(passando il mouse sul titolo).\n";
}

void AddSystemFacts(FolderFacts& facts) {
  facts.executable_folder_writable = ::access(facts.executable_folder.c_str(), W_OK) == 0;
  facts.xdg_data_home = Environment("XDG_DATA_HOME");
  facts.home = Environment("HOME");
}

}  // namespace keldra

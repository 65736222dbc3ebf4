#include <windows.h>
// After windows.h, which it needs.
#include <knownfolders.h>
#include <shlobj.h>

#include "system/ContestFolder.h"

namespace keldra {
namespace {

// Whether a file can be made in the folder. The folder's read-only attribute says nothing on
// Windows (Program Files has none, yet a user may not write there), so the only honest answer is
// to try: a file that the system removes as soon as it is closed.
bool CanCreateFileIn(const fs::path& folder) {
  const fs::path probe = folder / ".keldra.prova";
  const HANDLE h = CreateFileW(
      probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    // A probe left by a copy that died at this very moment still proves the folder writable.
    return GetLastError() == ERROR_FILE_EXISTS;
  }
  CloseHandle(h);
  return true;
}

fs::path DocumentsFolder() {
  PWSTR path = nullptr;
  fs::path documents;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &path))) {
    documents = path;
  }
  CoTaskMemFree(path);
  return documents;
}

}  // namespace

const fs::path kInstalledMarker = "installato";

fs::path ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) {
      return {};
    }
    if (n < path.size()) {
      path.resize(n);
      return fs::path(path).parent_path();
    }
    path.resize(path.size() * 2);
  }
}

fs::path UserContestFolder(const FolderFacts& facts) {
  if (facts.documents.empty() || !facts.documents.is_absolute()) {
    return {};
  }
  return (facts.documents / "Keldra VHF QRP Test").lexically_normal();
}

std::string NoUserFolderProblem() {
  return "Non so dove tenere i file del contest: Windows non indica la cartella Documenti "
         "dell'utente.";
}

std::string FolderRuleHelp() {
  return "Senza --cartella i file stanno nella cartella del programma, se vi si può\n"
         "scrivere e non è una copia installata (una copia portatile, per esempio su una\n"
         "chiavetta USB); altrimenti in Documenti\\Keldra VHF QRP Test, creata al primo\n"
         "avvio. Il programma non legge né scrive in nessun'altra cartella; la finestra\n"
         "principale mostra quella in uso (passando il mouse sul titolo).\n";
}

void AddSystemFacts(FolderFacts& facts) {
  facts.executable_folder_writable = CanCreateFileIn(facts.executable_folder);
  facts.documents = DocumentsFolder();
}

}  // namespace keldra

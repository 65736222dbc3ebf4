// Which folder the program keeps the contest in. Every file the program reads or writes lives in
// this one folder, so the choice is made once, at start-up, before anything is opened:
//  1. the folder the operator names on the command line (created if missing);
//  2. else the folder that holds the executable, when it is writable and the copy is not an
//     installed one (a build or an unpacked copy keeps its files beside itself, as it always did);
//  3. else the user's own folder, created on the first start: on Linux the data folder,
//     $XDG_DATA_HOME/keldra (~/.local/share/keldra); on Windows "Keldra VHF QRP Test" in the
//     user's Documents.
// The choice itself is a pure function of the facts it depends on, so every branch is tested
// without touching the system; gathering those facts and creating the folder are separate.
#pragma once

#include <filesystem>
#include <string>

#include "system/Files.h"

namespace keldra {

// What the choice depends on.
struct FolderFacts {
  fs::path given;              // the folder named on the command line; empty when none
  fs::path working;            // the current folder, against which a relative `given` is read
  fs::path executable_folder;  // the folder that holds the executable
  bool executable_folder_writable = false;
  bool installed = false;  // the installed-copy marker is present
  std::string xdg_data_home;
  std::string home;
  fs::path documents;  // the user's Documents folder (Windows); empty elsewhere
};

enum class FolderSource { kGiven, kExecutable, kUserData };

struct FolderChoice {
  FolderSource source = FolderSource::kGiven;
  fs::path folder;
  // Why there is no folder (UTF-8, Italian); empty when `folder` is set.
  std::string problem;
};

FolderChoice ChooseContestFolder(const FolderFacts& facts);

// The marker an installed copy carries, relative to the executable's folder. A Linux package puts
// the executable in <prefix>/bin and this file in <prefix>/share/keldra, so a copy started from
// /usr/bin never keeps its files there, even when run by root; the Windows setup puts it beside
// keldra.exe in Program Files. An unpacked copy has none.
extern const fs::path kInstalledMarker;

// The user's own folder for the contest (the last choice), from the facts of this system; empty
// when they name none.
fs::path UserContestFolder(const FolderFacts& facts);
// Why there is none, in the words of this system (UTF-8, Italian).
std::string NoUserFolderProblem();

// Where the files go without --cartella, as the help says it on this system (UTF-8, lines of at
// most 80 characters, each ended by a line end).
std::string FolderRuleHelp();

// The folder that holds the running executable.
fs::path ExecutableFolder();

// What only this system tells: whether the executable's folder can be written, and where the
// user's own folder is (the environment on Linux, the Documents folder on Windows).
void AddSystemFacts(FolderFacts& facts);

// The facts of this process: the environment, the current folder, the marker and whether the
// executable's folder can be written.
FolderFacts GatherFolderFacts(const fs::path& given, const fs::path& executable_folder);

// Creates the folder and its parents when missing; fails when it cannot be created or a file is
// in its way.
IoStatus PrepareContestFolder(const fs::path& folder);

// The operator's message when the folder cannot be used (UTF-8, Italian).
std::string FolderProblemMessage(const fs::path& folder, const IoStatus& status);

}  // namespace keldra

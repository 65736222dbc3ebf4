#include "app/Startup.h"

#include "app/AdifCommand.h"
#include "system/Clock.h"
#include "system/ContestFolder.h"
#include "ui/Program.h"

namespace keldra {
namespace {

FolderChoice ChosenFolder(const CommandLine& line, const std::filesystem::path& executable_folder) {
  return ChooseContestFolder(GatherFolderFacts(line.folder, executable_folder));
}

}  // namespace

StartFolder TakeContestFolder(const CommandLine& line,
                              const std::filesystem::path& executable_folder, InstanceLock& lock) {
  const FolderChoice choice = ChosenFolder(line, executable_folder);
  if (!choice.problem.empty()) {
    return {{}, choice.problem};
  }
  const std::filesystem::path& folder = choice.folder;
  if (const IoStatus ready = PrepareContestFolder(folder); !ready) {
    // Nothing has been opened yet: the program stops here rather than run without its files.
    return {{}, FolderProblemMessage(folder, ready)};
  }
  if (lock.Acquire(folder) == InstanceLock::Outcome::kHeldByAnother) {
    // Two copies on one folder would overwrite each other's contest.
    return {{},
            "Keldra VHF qrp Test è già aperto sulla cartella " + folder.string() +
                ".\nChiudere l'altra copia prima di avviarne una nuova."};
  }
  // Only this copy works in the folder now: what a crash left half-written can go.
  RemoveLeftoverTemporaries(folder);
  return {folder, {}};
}

int RunAdif(const CommandLine& line, const std::filesystem::path& executable_folder,
            std::ostream& out, std::ostream& err) {
  const FolderChoice choice = ChosenFolder(line, executable_folder);
  if (!choice.problem.empty()) {
    err << choice.problem << "\n";
    return 1;
  }
  SystemClock clock;
  return RunAdifCommand(choice.folder, line.adif_file, clock, out, err);
}

bool StartProgram(Program& program, Radio& devices, Background& background, DrawingPainter& painter,
                  std::function<void()> quit) {
  program.SetDevices(devices);
  program.SetBackground(background);
  program.SetPainter(&painter);
  program.OnEnd = std::move(quit);
  program.Start();
  return !program.Ended();
}

}  // namespace keldra

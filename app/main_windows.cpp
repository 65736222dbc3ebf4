// Starts the logger on Windows: the command line (wide, so any folder name arrives whole), the
// contest folder, the services, the program's windows, and the Windows front end that draws them.
// Every file the program reads or writes is in the one contest folder chosen here (see
// system/ContestFolder.h). keldra.exe is a window program; what the command line asks for is
// told as win32/Console.h says.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/AdifCommand.h"
#include "app/CommandLine.h"
#include "radio/Keyer.h"
#include "radio/drivers/LocalDaemonRadio.h"
#include "system/ContestFolder.h"
#include "system/InstanceLock.h"
#include "ui/Program.h"
#include "win32/Console.h"
#include "win32/Win32Program.h"

namespace {

using keldra::win32::OutputKind;
using keldra::win32::ReportToUser;

std::string Utf8(const wchar_t* wide) {
  const std::u8string u8 = std::filesystem::path(wide).u8string();
  return std::string(u8.begin(), u8.end());
}

std::vector<std::string> Arguments(int argc, wchar_t* argv[]) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.push_back(Utf8(argv[i]));
  }
  return arguments;
}

keldra::FolderChoice ChosenFolder(const keldra::CommandLine& line) {
  return keldra::ChooseContestFolder(
      keldra::GatherFolderFacts(line.folder, keldra::ExecutableFolder()));
}

// `keldra --adif FILE.adi`: no window at all. It only reads the contest folder, so it neither
// creates it nor takes its lock.
int RunAdif(const keldra::CommandLine& line) {
  const keldra::FolderChoice choice = ChosenFolder(line);
  if (!choice.problem.empty()) {
    ReportToUser(choice.problem + "\n", OutputKind::kError);
    return 1;
  }
  keldra::SystemClock clock;
  std::ostringstream out;
  std::ostringstream err;
  const int status = keldra::RunAdifCommand(choice.folder, line.adif_file, clock, out, err);
  if (!out.str().empty()) {
    ReportToUser(out.str(), OutputKind::kInformation);
  }
  if (!err.str().empty()) {
    ReportToUser(err.str(), OutputKind::kError);
  }
  return status;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  const keldra::CommandLine line = keldra::ParseCommandLine(Arguments(argc, argv));
  if (line.help || line.version) {
    ReportToUser(line.help ? keldra::HelpText() : keldra::VersionText(), OutputKind::kInformation);
    return 0;
  }
  if (!line.error.empty()) {
    ReportToUser(line.error + "\nPer l'aiuto: keldra --help\n", OutputKind::kError);
    return 2;
  }
  if (line.adif) {
    return RunAdif(line);
  }

  const keldra::FolderChoice choice = ChosenFolder(line);
  if (!choice.problem.empty()) {
    keldra::win32::ShowStartupError(choice.problem);
    return 1;
  }
  const std::filesystem::path& folder = choice.folder;
  if (const keldra::IoStatus ready = keldra::PrepareContestFolder(folder); !ready) {
    // Nothing has been opened yet: the program stops here rather than run without its files.
    keldra::win32::ShowStartupError(keldra::FolderProblemMessage(folder, ready));
    return 1;
  }
  keldra::InstanceLock lock;
  if (lock.Acquire(folder) == keldra::InstanceLock::Outcome::kHeldByAnother) {
    // Two copies on one folder would overwrite each other's contest.
    keldra::win32::ShowStartupError("Keldra VHF qrp Test è già aperto sulla cartella " +
                                    folder.string() +
                                    ".\nChiudere l'altra copia prima di avviarne una nuova.");
    return 1;
  }
  // Only this copy works in the folder now: what a crash left half-written can go.
  keldra::RemoveLeftoverTemporaries(folder);

  keldra::SystemClock clock;
  keldra::win32::Win32MessageBox messages;
  // The rig and the rotator, through Hamlib's daemons (started by the program, or the operator's
  // own), outlive the program's windows, and the queue that carries their readings outlives them.
  keldra::win32::DeviceEvents device_events;
  keldra::LocalDaemonRadio radio(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); });
  // The CW keyers post to the same queue; the running keyer lives in the main window.
  keldra::KeyerDrivers keyers(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); }, false);
  keldra::Program program(messages, clock, folder);
  program.SetDevices(radio);
  program.SetKeyers(keyers);
  // Declared after the program, so it ends first: a history still being read is waited for while
  // the program's services still stand.
  keldra::win32::Session session(program.Desktop(), messages);
  program.SetBackground(session.Tasks());
  program.SetPainter(&session.Painter());
  program.OnEnd = [] { keldra::win32::Session::Quit(); };
  program.Start();
  if (program.Ended()) {
    return 0;
  }
  return session.Run();
}

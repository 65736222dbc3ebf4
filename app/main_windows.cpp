// Starts the logger on Windows: the command line (wide, so any folder name arrives whole), the
// contest folder, the services, the program's windows, and the Windows front end that draws them.
// Every file the program reads or writes is in the one contest folder chosen here (see
// system/ContestFolder.h). keldra.exe is a window program; what the command line asks for is
// told as win32/Console.h says.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "radio/Keyer.h"
#include "radio/drivers/LocalDaemonRadio.h"
#include "radio/drivers/StationPtt.h"
#include "system/ContestFolder.h"
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

// `keldra --adif FILE.adi`: no window at all. It only reads the contest folder, so it neither
// creates it nor takes its lock.
int RunAdif(const keldra::CommandLine& line) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = keldra::RunAdif(line, keldra::ExecutableFolder(), out, err);
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

  keldra::InstanceLock lock;
  const keldra::StartFolder start =
      keldra::TakeContestFolder(line, keldra::ExecutableFolder(), lock);
  if (!start.problem.empty()) {
    keldra::win32::ShowStartupError(start.problem);
    return 1;
  }

  keldra::SystemClock clock;
  keldra::win32::Win32MessageBox messages;
  // The rig and the rotator, through Hamlib's daemons (started by the program, or the operator's
  // own), outlive the program's windows, and the queue that carries their readings outlives them.
  keldra::win32::DeviceEvents device_events;
  keldra::LocalDaemonRadio radio(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); });
  // The voice messages key the transmitter through the rig, so they end before it: PTT is
  // released while the rig still listens.
  keldra::VoicePlayer voice(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); },
      keldra::StationPtt(radio));
  // The CW keyers post to the same queue; the running keyer lives in the main window.
  keldra::KeyerDrivers keyers(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); }, false);
  keldra::Program program(messages, clock, start.folder);
  // The chat's link hands what it reads to the windows through the same queue.
  program.SetPost(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); });
  program.SetVoice(&voice);
  program.SetKeyers(keyers);
  // Declared after the program, so it ends first: a history still being read is waited for while
  // the program's services still stand.
  keldra::win32::Session session(program.Desktop(), messages);
  if (!keldra::StartProgram(program, radio, session.Tasks(), session.Painter(),
                            [] { keldra::win32::Session::Quit(); })) {
    return 0;
  }
  return session.Run();
}

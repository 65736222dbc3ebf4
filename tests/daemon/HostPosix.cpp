#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <vector>

#include "Host.h"

extern char** environ;

namespace keldra::testing {

void OnHost(const std::string& line) {
  std::vector<std::string> args = {"/bin/sh", "-c", line};
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) == 0) {
    waitpid(pid, nullptr, 0);
  }
}

bool HostHas(const std::string& program) { return std::filesystem::exists("/usr/bin/" + program); }

}  // namespace keldra::testing

#include <signal.h>

#include <fstream>

namespace keldra::testing {

bool MakeDaemons(const std::filesystem::path& folder, const std::string& version) {
  std::filesystem::create_directories(folder);
  for (const std::string name : {"rigctld", "rotctld"}) {
    if (!HostHas(name)) {
      return false;
    }
    const std::filesystem::path script = folder / name;
    std::ofstream(script) << "#!/bin/sh\n"
                          << (version.empty() ? ""
                                              : "[ \"$1\" = --version ] && { echo '" + name +
                                                    " Hamlib " + version + "'; exit 0; }\n")
                          << "case \" $* \" in *\" " << BusyPort() << " \"*)\n"
                          << "  echo 'serial_open: Unable to open " << BusyPort()
                          << " - Device or resource busy' >&2\n"
                          << "  echo 'rig_open: error = IO error' >&2; exit 2;;\nesac\n"
                          << "exec /usr/bin/" << name << " \"$@\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }
  return true;
}

std::string BusyPort() { return "/dev/keldra-busy"; }

bool Alive(long id) {
  // A child that ended but was not waited for yet is no longer running.
  std::ifstream stat("/proc/" + std::to_string(id) + "/stat");
  std::string pid, name, state;
  return stat >> pid >> name >> state && state != "Z";
}

void Kill(long id) { kill(static_cast<pid_t>(id), SIGKILL); }

}  // namespace keldra::testing

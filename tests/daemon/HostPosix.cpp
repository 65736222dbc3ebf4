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

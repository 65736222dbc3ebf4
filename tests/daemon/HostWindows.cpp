// Under Wine, drive Z: is the host's root, and CreateProcess runs a Linux program as it is.
#include <windows.h>

#include <filesystem>

#include "Host.h"

namespace keldra::testing {

void OnHost(const std::string& line) {
  // The lines are ASCII and hold no double quote.
  std::wstring command = L"Z:\\bin\\sh -c \"" + std::wstring(line.begin(), line.end()) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // For a Linux program Wine gives no process handle and leaves the thread handle undefined:
  // closing that value would close whatever handle of ours bears it (once, the standard output).
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process) &&
      process.hProcess != nullptr) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

bool HostHas(const std::string& program) {
  return std::filesystem::exists("Z:/usr/bin/" + program);
}

}  // namespace keldra::testing

#include <fstream>

namespace keldra::testing {

bool MakeDaemons(const std::filesystem::path& folder, const std::string& version) {
  std::filesystem::create_directories(folder);
  for (const char* name : {"rigctld", "rotctld"}) {
    const std::filesystem::path daemon = folder / (std::string(name) + ".exe");
    std::filesystem::copy_file(KELDRA_DAEMON_STAND_IN, daemon,
                               std::filesystem::copy_options::overwrite_existing);
    if (!version.empty()) {
      std::ofstream(folder / (std::string(name) + ".version")) << version;
    }
  }
  return true;
}

// No such port under Wine: the stand-in opens it as rigctld would, and fails.
std::string BusyPort() { return "COM77"; }

bool Alive(long id) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) {
    return false;
  }
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

void Kill(long id) {
  if (const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(id))) {
    TerminateProcess(process, 9);
    CloseHandle(process);
  }
}

}  // namespace keldra::testing

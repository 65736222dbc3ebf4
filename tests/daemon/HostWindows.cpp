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

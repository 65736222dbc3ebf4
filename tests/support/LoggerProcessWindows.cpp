#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/LoggerProcess.h"

namespace keldra::testing {
namespace {

// The logger is a new copy of this test program, running the same test; these tell it so.
constexpr const char* kFolderVariable = "KELDRA_CRASH_LOGGER_FOLDER";
constexpr const char* kReportVariable = "KELDRA_CRASH_LOGGER_REPORT";

HANDLE Native(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

LoggerProcess::LoggerProcess(const std::filesystem::path& folder, const LoggerBody&) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) {
    return;
  }
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring test = L"CrashTest.EveryQsoWhoseOkReturnedSurvivesAKill";
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + test;
  SetEnvironmentVariableW(L"KELDRA_CRASH_LOGGER_FOLDER", folder.c_str());
  SetEnvironmentVariableA(kReportVariable,
                          std::to_string(reinterpret_cast<std::intptr_t>(write_end)).c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const bool created = CreateProcessW(self, command.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info) != 0;
  SetEnvironmentVariableA(kFolderVariable, nullptr);
  SetEnvironmentVariableA(kReportVariable, nullptr);
  CloseHandle(write_end);
  if (!created) {
    CloseHandle(read_end);
    return;
  }
  CloseHandle(info.hThread);
  started_ = true;
  process_ = reinterpret_cast<std::intptr_t>(info.hProcess);
  report_ = reinterpret_cast<std::intptr_t>(read_end);
}

LoggerProcess::~LoggerProcess() {
  if (started_) {
    CloseHandle(Native(report_));
    CloseHandle(Native(process_));
  }
}

long LoggerProcess::Read(char* buffer, std::size_t size, int timeout_ms) {
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  for (;;) {
    // Asked before the pipe, so that whatever the process wrote before it ended is read first.
    const bool ended = WaitForSingleObject(Native(process_), 0) == WAIT_OBJECT_0;
    DWORD available = 0;
    if (!PeekNamedPipe(Native(report_), nullptr, 0, nullptr, &available, nullptr)) {
      return 0;  // the process is gone and the pipe drained
    }
    if (available > 0) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, available));
      return ReadFile(Native(report_), buffer, want, &got, nullptr) ? static_cast<long>(got) : 0;
    }
    // A process that has ended writes no more, even while another process (under Wine, the
    // console host started for it) still holds an inherited copy of the pipe's write end.
    if (ended) {
      return 0;
    }
    if (GetTickCount64() >= until) {
      return -1;
    }
    Sleep(1);
  }
}

bool LoggerProcess::Kill() {
  DWORD code = 0;
  const bool running = GetExitCodeProcess(Native(process_), &code) && code == STILL_ACTIVE;
  TerminateProcess(Native(process_), 137);
  WaitForSingleObject(Native(process_), INFINITE);
  return running;
}

bool RunAsLoggerProcess(const LoggerBody& body) {
  const wchar_t* folder = _wgetenv(L"KELDRA_CRASH_LOGGER_FOLDER");
  const char* report = std::getenv(kReportVariable);
  if (folder == nullptr || report == nullptr) {
    return false;
  }
  const HANDLE pipe = reinterpret_cast<HANDLE>(std::strtoll(report, nullptr, 10));
  body(folder, [pipe](const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(pipe, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  });
  std::_Exit(0);
}

void SleepMicroseconds(unsigned microseconds) { Sleep((microseconds + 999) / 1000); }

}  // namespace keldra::testing

// Children started with CreateProcessW, suspended until they are in the program's job, which ends
// them all when its last handle closes (the program's end, also a crash). Only the pipes' and
// the null device's handles are passed on, so a child never holds one of the program's sockets.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <thread>

#include "system/Process.h"

namespace keldra {
namespace {

constexpr size_t kKeptErrors = 4096;
constexpr size_t kLongestOutput = 1 << 20;

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) {
    return {};
  }
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

// A console program writes in the system's code page.
std::string Utf8FromAnsi(const std::string& bytes) {
  if (bytes.empty()) {
    return {};
  }
  const int size =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

// Pipes are made and handed on under one lock, so a child started by another thread at the same
// moment cannot inherit this child's pipe and keep it open after this child ends.
std::mutex& Launches() {
  static std::mutex launches;
  return launches;
}

HANDLE Job() {
  static const HANDLE job = [] {
    const HANDLE made = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (made != nullptr) {
      SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return made;
  }();
  return job;
}

struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  bool Open() {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!CreatePipe(&read, &write, &inherited, 0)) {
      return false;
    }
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    return true;
  }
  void CloseWrite() {
    if (write != nullptr) {
      CloseHandle(write);
      write = nullptr;
    }
  }
  void Close() {
    CloseWrite();
    if (read != nullptr) {
      CloseHandle(read);
      read = nullptr;
    }
  }
};

std::string Described(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return "programma non trovato";
    case ERROR_ACCESS_DENIED:
      return "accesso negato";
    case ERROR_BAD_EXE_FORMAT:
      return "non è un programma per questo Windows";
    default:
      return "errore di Windows " + std::to_string(error);
  }
}

// Starts the child suspended with these standard handles, puts it in the job and lets it run.
std::string Launch(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   HANDLE output, HANDLE errors, PROCESS_INFORMATION& process) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherited, OPEN_EXISTING, 0, nullptr);
  const std::u8string name = program.u8string();
  std::vector<std::string> all = {std::string(name.begin(), name.end())};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::wstring line = Wide(WindowsCommandLine(all));

  HANDLE handles[] = {input, output, errors};
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> attributes_space(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes_space.data());
  const bool listed = InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                      UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                handles, sizeof handles, nullptr, nullptr);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = input;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = errors;
  startup.lpAttributeList = listed ? attributes : nullptr;
  const DWORD flags =
      CREATE_NO_WINDOW | CREATE_SUSPENDED | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
  const BOOL started =
      CreateProcessW(program.wstring().c_str(), line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                     nullptr, &startup.StartupInfo, &process);
  const DWORD error = GetLastError();
  if (listed) {
    DeleteProcThreadAttributeList(attributes);
  }
  CloseHandle(input);
  if (!started) {
    return Described(error);
  }
  if (Job() != nullptr) {
    AssignProcessToJobObject(Job(), process.hProcess);
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  process.hThread = nullptr;
  return {};
}

// Reads a pipe to its end on a thread of its own, so a child that writes much never blocks.
std::thread Reader(HANDLE pipe, std::mutex& mutex, std::string& into, size_t limit, bool tail) {
  return std::thread([pipe, &mutex, &into, limit, tail] {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      const std::lock_guard lock(mutex);
      if (tail) {
        KeepTail(into, std::string_view(buffer, got), limit);
      } else if (into.size() < limit) {
        into.append(buffer, got);
      }
    }
  });
}

}  // namespace

struct ChildProcess::State {
  HANDLE process = nullptr;
  DWORD id = 0;
  Pipe errors;
  std::thread reader;
  mutable std::mutex mutex;
  std::string tail;
};

ProcessRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments, std::chrono::milliseconds limit) {
  ProcessRun run;
  Pipe output;
  Pipe errors;
  std::unique_lock launching(Launches());
  if (!output.Open() || !errors.Open()) {
    output.Close();
    errors.Close();
    run.problem = "impossibile avviare " + program.filename().string();
    return run;
  }
  PROCESS_INFORMATION process{};
  run.problem = Launch(program, arguments, output.write, errors.write, process);
  output.CloseWrite();
  errors.CloseWrite();
  launching.unlock();
  if (!run.problem.empty()) {
    output.Close();
    errors.Close();
    return run;
  }
  std::mutex mutex;
  std::thread out = Reader(output.read, mutex, run.output, kLongestOutput, false);
  std::thread err = Reader(errors.read, mutex, run.errors, kKeptErrors, true);
  run.finished =
      WaitForSingleObject(process.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
  if (!run.finished) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  run.exit_code = static_cast<int>(code);
  CloseHandle(process.hProcess);
  // The child held the only other ends of the pipes: its end ends the readers.
  out.join();
  err.join();
  output.Close();
  errors.Close();
  run.errors = Utf8FromAnsi(run.errors);
  return run;
}

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() { End(); }

std::string ChildProcess::Start(const std::filesystem::path& program,
                                const std::vector<std::string>& arguments) {
  End();
  State& s = *state_;
  s.tail.clear();
  const std::lock_guard launching(Launches());
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE nothing = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherited, OPEN_EXISTING, 0, nullptr);
  if (!s.errors.Open()) {
    CloseHandle(nothing);
    return "impossibile avviare " + program.filename().string();
  }
  PROCESS_INFORMATION process{};
  const std::string problem = Launch(program, arguments, nothing, s.errors.write, process);
  CloseHandle(nothing);
  s.errors.CloseWrite();
  if (!problem.empty()) {
    s.errors.Close();
    return problem;
  }
  s.process = process.hProcess;
  s.id = process.dwProcessId;
  s.reader = Reader(s.errors.read, s.mutex, s.tail, kKeptErrors, true);
  return {};
}

bool ChildProcess::Running() {
  State& s = *state_;
  if (s.process == nullptr) {
    return false;
  }
  if (WaitForSingleObject(s.process, 0) == WAIT_TIMEOUT) {
    return true;
  }
  // It held the pipe's only other end: its last words are read to the end before anyone asks.
  if (s.reader.joinable()) {
    s.reader.join();
  }
  return false;
}

std::optional<int> ChildProcess::ExitCode() {
  DWORD code = 0;
  if (state_->process == nullptr || Running() || !GetExitCodeProcess(state_->process, &code)) {
    return std::nullopt;
  }
  return static_cast<int>(code);
}

void ChildProcess::End() {
  State& s = *state_;
  if (s.process != nullptr) {
    TerminateProcess(s.process, 1);
    WaitForSingleObject(s.process, 5000);
    CloseHandle(s.process);
    s.process = nullptr;
    s.id = 0;
  }
  if (s.reader.joinable()) {
    s.reader.join();
  }
  s.errors.Close();
}

std::string ChildProcess::Errors() const {
  const std::lock_guard lock(state_->mutex);
  return Utf8FromAnsi(state_->tail);
}

long ChildProcess::Id() const { return static_cast<long>(state_->id); }

std::vector<std::filesystem::path> InstalledProgramFolders() {
  std::vector<std::filesystem::path> folders;
  for (const wchar_t* name : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"}) {
    wchar_t value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      const std::filesystem::path folder(std::wstring(value, length));
      if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
        folders.push_back(folder);
      }
    }
  }
  return folders;
}

std::vector<std::filesystem::path> PathFolders() {
  std::vector<std::filesystem::path> folders;
  const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (size == 0) {
    return folders;
  }
  std::wstring path(size, L'\0');
  path.resize(GetEnvironmentVariableW(L"PATH", path.data(), size));
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find(L';', start), path.size());
    std::wstring folder = path.substr(start, end - start);
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') {
      folder = folder.substr(1, folder.size() - 2);
    }
    if (!folder.empty()) {
      folders.emplace_back(folder);
    }
    start = end + 1;
  }
  return folders;
}

std::string ExecutableFileName(const std::string& name) { return name + ".exe"; }

}  // namespace keldra

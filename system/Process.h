// Other programs run by this one: a short run whose output is read to its end (a daemon's list of
// models, its version), and a program kept running beside this one (Hamlib's daemons), with no
// window of its own and with its last words on standard error kept for the operator. A child
// never outlives the program: on Windows every child is in one job that ends with it, on Linux
// each is told to die with its parent. The calls are the system's own, one file per system
// (ProcessPosix.cpp, ProcessWindows.cpp); what each function means is the same on both.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldra {

struct ProcessRun {
  std::string problem;    // why it could not be run (Italian, UTF-8); empty when it ran
  bool finished = false;  // false: killed at the time limit
  int exit_code = -1;
  std::string output;  // standard output, whole (bounded)
  std::string errors;  // standard error, its last lines
};

// Runs `program` with `arguments` to its end, reading what it writes; killed when it takes
// longer than `limit`.
ProcessRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments, std::chrono::milliseconds limit);

// The command line Windows hands a program for these arguments, quoted as the C runtime reads
// it back (a blank or a quote inside an argument, backslashes before a quote).
std::string WindowsCommandLine(const std::vector<std::string>& arguments);

class ChildProcess {
 public:
  ChildProcess();
  // Ends the child.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts it with no window of its own; the reason in Italian (UTF-8) when it could not start.
  std::string Start(const std::filesystem::path& program,
                    const std::vector<std::string>& arguments);
  bool Running();
  // Its exit code once it has ended by itself.
  std::optional<int> ExitCode();
  // Ends it and waits until it is gone.
  void End();
  // The last lines it wrote on standard error (at most a few kilobytes).
  std::string Errors() const;
  // The system's number of the process, while it runs (for tests and messages).
  long Id() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace keldra

namespace keldra {

// Where installed programs are looked for: on Windows the Program Files folders (none on Linux),
// and the folders of PATH, in order.
std::vector<std::filesystem::path> InstalledProgramFolders();
std::vector<std::filesystem::path> PathFolders();
// A program's file name on this system: "rigctld" is "rigctld.exe" on Windows.
std::string ExecutableFileName(const std::string& name);

// Keeps the last `limit` bytes of what a child writes, from the start of a line where it can.
void KeepTail(std::string& tail, std::string_view more, size_t limit);

}  // namespace keldra

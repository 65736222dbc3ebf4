// The logger process of the crash test and the few system calls that start it, read its reports
// and kill it, one file per system (LoggerProcessPosix.cpp, LoggerProcessWindows.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace keldra::testing {

// Runs the logger on `folder`, telling each report line to `say`; never returns.
using LoggerBody =
    std::function<void(const std::filesystem::path& folder, std::function<void(std::string)> say)>;

class LoggerProcess {
 public:
  // Starts the logger on `folder` in a process of its own.
  LoggerProcess(const std::filesystem::path& folder, const LoggerBody& body);
  ~LoggerProcess();
  LoggerProcess(const LoggerProcess&) = delete;
  LoggerProcess& operator=(const LoggerProcess&) = delete;

  bool Started() const { return started_; }
  // What the process reported since the last call: > 0 bytes, 0 at its end, -1 when nothing
  // came within `timeout_ms`.
  long Read(char* buffer, std::size_t size, int timeout_ms);
  // Kills it at once, as a power button or the task manager would, and waits for its end; true
  // when it was still running (it did not end by itself).
  bool Kill();

 private:
  bool started_ = false;
  std::intptr_t process_ = -1;
  std::intptr_t report_ = -1;
};

// Runs the logger's body when this test program was started as the logger process; false in the
// test itself. (Windows starts the logger as a new copy of the test program.)
bool RunAsLoggerProcess(const LoggerBody& body);

void SleepMicroseconds(unsigned microseconds);

}  // namespace keldra::testing

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/LoggerProcess.h"

namespace keldra::testing {

LoggerProcess::LoggerProcess(const std::filesystem::path& folder, const LoggerBody& body) {
  int fds[2];
  if (::pipe(fds) != 0) {
    return;
  }
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return;
  }
  if (child == 0) {
    ::close(fds[0]);
    body(folder, [fd = fds[1]](const std::string& line) {
      const std::string text = line + "\n";
      (void)!::write(fd, text.data(), text.size());
    });
    ::_exit(0);
  }
  ::close(fds[1]);
  started_ = true;
  process_ = child;
  report_ = fds[0];
}

LoggerProcess::~LoggerProcess() {
  if (report_ >= 0) {
    ::close(static_cast<int>(report_));
  }
}

long LoggerProcess::Read(char* buffer, std::size_t size, int timeout_ms) {
  pollfd p{static_cast<int>(report_), POLLIN, 0};
  if (::poll(&p, 1, timeout_ms) <= 0) {
    return -1;
  }
  const ssize_t n = ::read(static_cast<int>(report_), buffer, size);
  return n < 0 ? 0 : static_cast<long>(n);
}

bool LoggerProcess::Kill() {
  ::kill(static_cast<pid_t>(process_), SIGKILL);
  int status = 0;
  ::waitpid(static_cast<pid_t>(process_), &status, 0);
  return WIFSIGNALED(status);
}

bool RunAsLoggerProcess(const LoggerBody&) { return false; }

void SleepMicroseconds(unsigned microseconds) { ::usleep(microseconds); }

}  // namespace keldra::testing

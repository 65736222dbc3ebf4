// Children started with fork and exec, each told to die with this program (PR_SET_PDEATHSIG), so
// none outlives it even after a crash. A pipe that closes on exec tells the parent whether the
// program could be run at all.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "system/Process.h"

namespace keldra {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kKeptErrors = 4096;
constexpr size_t kLongestOutput = 1 << 20;

void CloseQuietly(int& fd) {
  if (fd >= 0) {
    close(fd);
    fd = -1;
  }
}

// PR_SET_PDEATHSIG fires when the thread that forked ends, not the program: every child is forked
// by one thread that lasts as long as the program (its objects are never freed, so it outlives
// the static destructors too).
void OnForkingThread(const std::function<void()>& job) {
  struct Queue {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::function<void()>> jobs;
  };
  static Queue* const queue = [] {
    auto* made = new Queue;  // NOLINT(cppcoreguidelines-owning-memory): lives as the program
    std::thread([made] {
      for (;;) {
        std::function<void()> next;
        {
          std::unique_lock lock(made->mutex);
          made->ready.wait(lock, [made] { return !made->jobs.empty(); });
          next = std::move(made->jobs.front());
          made->jobs.pop_front();
        }
        next();
      }
    }).detach();
    return made;
  }();
  std::promise<void> done;
  {
    const std::lock_guard lock(queue->mutex);
    queue->jobs.emplace_back([&job, &done] {
      job();
      done.set_value();
    });
  }
  queue->ready.notify_one();
  done.get_future().wait();
}

// Forks and runs the program with these descriptors as its output and errors (-1: /dev/null);
// the process number, or the reason it could not be run.
std::string Launch(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   int output, int errors, pid_t& child) {
  int status[2];
  if (pipe2(status, O_CLOEXEC) != 0) {
    return std::strerror(errno);
  }
  std::vector<std::string> all = {program.string()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(all.size() + 1);
  for (std::string& argument : all) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  child = fork();
  if (child < 0) {
    const int error = errno;
    close(status[0]);
    close(status[1]);
    return std::strerror(error);
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
      _exit(127);
    }
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(output >= 0 ? output : null, STDOUT_FILENO);
    dup2(errors >= 0 ? errors : null, STDERR_FILENO);
    execv(argv[0], argv.data());
    const int error = errno;
    [[maybe_unused]] const ssize_t told = write(status[1], &error, sizeof error);
    _exit(127);
  }
  close(status[1]);
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(status[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(status[0]);
  if (got == sizeof error) {
    waitpid(child, nullptr, 0);
    child = -1;
    return error == ENOENT ? "programma non trovato" : std::strerror(error);
  }
  return {};
}

// Reads until the pipe's end, or until `stop` once nothing more comes (a grandchild of the child
// could keep the pipe open for ever).
std::thread Reader(int fd, std::mutex& mutex, std::string& into, size_t limit, bool tail,
                   const std::atomic<bool>& stop) {
  return std::thread([fd, &mutex, &into, limit, tail, &stop] {
    char buffer[4096];
    for (;;) {
      pollfd ready{fd, POLLIN, 0};
      if (poll(&ready, 1, 100) == 0) {
        if (stop) {
          return;
        }
        continue;
      }
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) {
        continue;
      }
      if (got <= 0) {
        return;
      }
      const std::lock_guard lock(mutex);
      if (tail) {
        KeepTail(into, std::string_view(buffer, static_cast<size_t>(got)), limit);
      } else if (into.size() < limit) {
        into.append(buffer, static_cast<size_t>(got));
      }
    }
  });
}

// Waits for the child until the deadline; its wait status, or nothing when it still runs.
std::optional<int> Reaped(pid_t child, Clock::time_point deadline) {
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) {
      return status;
    }
    if (done < 0 && errno != EINTR) {
      return 0;
    }
    if (Clock::now() >= deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

int ExitOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

}  // namespace

struct ChildProcess::State {
  pid_t pid = -1;
  std::optional<int> exit_code;
  int errors = -1;
  std::thread reader;
  std::atomic<bool> stop = false;
  mutable std::mutex mutex;
  std::string tail;
};

ProcessRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments, std::chrono::milliseconds limit) {
  ProcessRun run;
  int output[2];
  int errors[2];
  if (pipe2(output, O_CLOEXEC) != 0) {
    run.problem = std::strerror(errno);
    return run;
  }
  if (pipe2(errors, O_CLOEXEC) != 0) {
    run.problem = std::strerror(errno);
    close(output[0]);
    close(output[1]);
    return run;
  }
  pid_t child = -1;
  OnForkingThread([&] { run.problem = Launch(program, arguments, output[1], errors[1], child); });
  close(output[1]);
  close(errors[1]);
  if (run.problem.empty()) {
    std::mutex mutex;
    std::atomic<bool> stop = false;
    std::thread out = Reader(output[0], mutex, run.output, kLongestOutput, false, stop);
    std::thread err = Reader(errors[0], mutex, run.errors, kKeptErrors, true, stop);
    std::optional<int> status = Reaped(child, Clock::now() + limit);
    run.finished = status.has_value();
    if (!status) {
      kill(child, SIGKILL);
      status = Reaped(child, Clock::time_point::max());
    }
    run.exit_code = ExitOf(*status);
    stop = true;
    out.join();
    err.join();
  }
  close(output[0]);
  close(errors[0]);
  return run;
}

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() { End(); }

std::string ChildProcess::Start(const std::filesystem::path& program,
                                const std::vector<std::string>& arguments) {
  End();
  State& s = *state_;
  s.tail.clear();
  s.exit_code.reset();
  int errors[2];
  if (pipe2(errors, O_CLOEXEC) != 0) {
    return std::strerror(errno);
  }
  std::string problem;
  OnForkingThread([&] { problem = Launch(program, arguments, -1, errors[1], s.pid); });
  close(errors[1]);
  if (!problem.empty()) {
    close(errors[0]);
    s.pid = -1;
    return problem;
  }
  s.errors = errors[0];
  s.stop = false;
  s.reader = Reader(s.errors, s.mutex, s.tail, kKeptErrors, true, s.stop);
  return {};
}

bool ChildProcess::Running() {
  State& s = *state_;
  if (s.pid < 0) {
    return false;
  }
  if (const std::optional<int> status = Reaped(s.pid, Clock::time_point::min())) {
    s.exit_code = ExitOf(*status);
    s.pid = -1;
    // Its last words are all in the pipe by now: read to its end before anyone asks for them.
    s.stop = true;
    if (s.reader.joinable()) {
      s.reader.join();
    }
    return false;
  }
  return true;
}

std::optional<int> ChildProcess::ExitCode() {
  Running();
  return state_->exit_code;
}

void ChildProcess::End() {
  State& s = *state_;
  if (s.pid > 0) {
    kill(s.pid, SIGKILL);
    Reaped(s.pid, Clock::time_point::max());
    s.pid = -1;
  }
  if (s.reader.joinable()) {
    s.stop = true;
    s.reader.join();
  }
  CloseQuietly(s.errors);
}

std::string ChildProcess::Errors() const {
  const std::lock_guard lock(state_->mutex);
  return state_->tail;
}

long ChildProcess::Id() const { return static_cast<long>(state_->pid); }

std::vector<std::filesystem::path> InstalledProgramFolders() { return {}; }

std::vector<std::filesystem::path> PathFolders() {
  std::vector<std::filesystem::path> folders;
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "";
  while (!rest.empty()) {
    const size_t colon = std::min(rest.find(':'), rest.size());
    if (colon > 0) {
      folders.emplace_back(std::string(rest.substr(0, colon)));
    }
    rest.remove_prefix(std::min(colon + 1, rest.size()));
  }
  return folders;
}

std::string ExecutableFileName(const std::string& name) { return name; }

}  // namespace keldra

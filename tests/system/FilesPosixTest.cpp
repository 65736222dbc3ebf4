// What the file service reports where only a POSIX system can be made to fail: a folder the
// user may not write into.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "FilesFixture.h"

namespace keldra {
namespace {

// What a write into a read-only folder reports, as an ordinary user (root ignores the folder's
// permissions, so as root the write runs in a child process without them).
struct ReadOnlyOutcome {
  bool ok = true;
  std::string step;
  std::string path;
  int error = 0;
  std::string described;
};

ReadOnlyOutcome ReplaceAsUser(const fs::path& target) {
  auto run = [&] {
    Files files;
    const IoStatus status = files.Replace(target, "new");
    return ReadOnlyOutcome{status.ok(), status.step(), status.path().string(),
                           status.code().value(), status.Describe()};
  };
  if (::geteuid() != 0) {
    return run();
  }
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) {
    return {};
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_fds[0]);
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
      ::_exit(2);
    }
    const ReadOnlyOutcome outcome = run();
    const std::string message = std::string(outcome.ok ? "1" : "0") + '\n' + outcome.step + '\n' +
                                outcome.path + '\n' + std::to_string(outcome.error) + '\n' +
                                outcome.described;
    const ssize_t written = ::write(pipe_fds[1], message.data(), message.size());
    ::_exit(written == static_cast<ssize_t>(message.size()) ? 0 : 3);
  }
  ::close(pipe_fds[1]);
  std::string message;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0) {
    message.append(buffer, n);
  }
  ::close(pipe_fds[0]);
  int exit_status = 0;
  ::waitpid(child, &exit_status, 0);
  EXPECT_TRUE(WIFEXITED(exit_status) && WEXITSTATUS(exit_status) == 0) << exit_status;
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t end = message.find('\n', start);
    if (end == std::string::npos) {
      return {};
    }
    parts.push_back(message.substr(start, end - start));
    start = end + 1;
  }
  return {parts[0] == "1", parts[1], parts[2], std::stoi(parts[3]), message.substr(start)};
}

TEST_F(FilesTest, AReadOnlyFolderIsReportedWithTheStepAndThePath) {
  const fs::path target = File("parziale.db");
  Put(target, "old state");
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec);

  const ReadOnlyOutcome outcome = ReplaceAsUser(target);

  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.step, "creazione del file temporaneo");
  EXPECT_EQ(outcome.path, target.string());
  EXPECT_EQ(outcome.error, EACCES);
  EXPECT_NE(outcome.described.find(target.string()), std::string::npos) << outcome.described;
  EXPECT_NE(outcome.described.find(outcome.step), std::string::npos) << outcome.described;
  EXPECT_EQ(Slurp(target), "old state");
  EXPECT_EQ(Names(), std::set<std::string>{"parziale.db"});
}

// A file that holds a secret (the chat's password) is readable by its owner only, also when it
// replaces one everyone could read.
TEST_F(FilesTest, OwnerOnlyReplaceLeavesNoOneElseReading) {
  const fs::path target = File("chat.txt");
  ASSERT_TRUE(files_.Replace(target, "password=old\r\n"));
  ASSERT_TRUE(files_.ReplaceOwnerOnly(target, "password=new\r\n"));
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600U);
  EXPECT_EQ(Slurp(target), "password=new\r\n");
}

}  // namespace
}  // namespace keldra

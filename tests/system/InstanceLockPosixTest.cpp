// The lock of a copy that dies is released by the system, and a folder without room for the
// lock file is no busy lock (POSIX processes and paths).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "system/InstanceLock.h"

namespace keldra::testing {
namespace {

TEST(InstanceLockTest, ACopyKilledWhileHoldingTheLockReleasesIt) {
  TempFolder folder;
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstanceLock lock;
    const char ok = lock.Acquire(folder.path()) == InstanceLock::Outcome::kAcquired ? '1' : '0';
    (void)!write(ready[1], &ok, 1);
    pause();
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, '1');
  InstanceLock mine;
  EXPECT_EQ(mine.Acquire(folder.path()), InstanceLock::Outcome::kHeldByAnother);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(mine.Acquire(folder.path()), InstanceLock::Outcome::kAcquired);
  close(ready[0]);
  close(ready[1]);
}

TEST(InstanceLockTest, AFolderWhereNoLockFileCanBeMadeIsAFailureNotABusyLock) {
  InstanceLock lock;
  EXPECT_EQ(lock.Acquire("/nonexistent-folder-for-keldra"), InstanceLock::Outcome::kFailed);
}

}  // namespace
}  // namespace keldra::testing

// One copy of the program per folder, and a crash never locks the operator out.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "system/InstanceLock.h"

namespace keldra::testing {
namespace {

TEST(InstanceLockTest, ASecondCopyOnTheSameFolderIsRefusedUntilTheFirstReleases) {
  TempFolder folder;
  InstanceLock first;
  ASSERT_EQ(first.Acquire(folder.path()), InstanceLock::Outcome::kAcquired);
  InstanceLock second;
  EXPECT_EQ(second.Acquire(folder.path()), InstanceLock::Outcome::kHeldByAnother);
  EXPECT_FALSE(second.Held());
  first.Release();
  EXPECT_EQ(second.Acquire(folder.path()), InstanceLock::Outcome::kAcquired);
}

TEST(InstanceLockTest, AnotherFolderHasItsOwnLock) {
  TempFolder a;
  TempFolder b;
  InstanceLock first;
  InstanceLock second;
  EXPECT_EQ(first.Acquire(a.path()), InstanceLock::Outcome::kAcquired);
  EXPECT_EQ(second.Acquire(b.path()), InstanceLock::Outcome::kAcquired);
}

}  // namespace
}  // namespace keldra::testing

// One copy of the program per folder: a second copy started on the same folder would overwrite
// the first one's contest. The lock is a lock on a small file in the folder that the operating
// system releases when the process ends for any reason, a crash included, so a crash never locks
// the operator out.
#pragma once

#include <filesystem>
#include <string>

namespace keldra {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  enum class Outcome { kAcquired, kHeldByAnother, kFailed };

  // Takes the lock of `folder`. kHeldByAnother when another running copy holds it; kFailed when
  // the lock file cannot be opened at all (the caller may still run: a read-only folder reports
  // its failures at the first save).
  Outcome Acquire(const std::filesystem::path& folder);
  void Release();
  bool Held() const { return handle_ != kNone; }

  static constexpr const char* kFileName = ".keldra.lock";

 private:
  static constexpr long long kNone = -1;
  long long handle_ = kNone;
};

}  // namespace keldra

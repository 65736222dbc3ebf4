#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "system/InstanceLock.h"

namespace keldra {

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Outcome InstanceLock::Acquire(const std::filesystem::path& folder) {
  Release();
  const int fd = ::open((folder / kFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    return Outcome::kFailed;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return busy ? Outcome::kHeldByAnother : Outcome::kFailed;
  }
  handle_ = fd;
  return Outcome::kAcquired;
}

void InstanceLock::Release() {
  if (handle_ == kNone) {
    return;
  }
  ::close(static_cast<int>(handle_));  // closing the descriptor drops the lock
  handle_ = kNone;
}

}  // namespace keldra

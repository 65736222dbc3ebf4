#include "platform/InstanceLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace keldra {

InstanceLock::~InstanceLock() { Release(); }

#ifdef _WIN32

InstanceLock::Outcome InstanceLock::Acquire(const std::filesystem::path& folder) {
  Release();
  // No sharing: a second open fails while the first copy runs; Windows closes the handle when the
  // process dies.
  HANDLE h = CreateFileW((folder / kFileName).wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_SHARING_VIOLATION ? Outcome::kHeldByAnother : Outcome::kFailed;
  }
  handle_ = reinterpret_cast<long long>(h);
  return Outcome::kAcquired;
}

void InstanceLock::Release() {
  if (handle_ == kNone) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kNone;
}

#else

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

#endif

}  // namespace keldra

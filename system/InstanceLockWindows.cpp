#include <windows.h>

#include "system/InstanceLock.h"

namespace keldra {

InstanceLock::~InstanceLock() { Release(); }

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
  if (handle_ == kNone) {
    return;
  }
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kNone;
}

}  // namespace keldra

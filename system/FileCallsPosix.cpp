#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "system/FileCalls.h"

namespace keldra::file_calls {

std::error_code LastError() { return {errno, std::generic_category()}; }

Handle CreateNew(const fs::path& path, bool owner_only) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, owner_only ? 0600 : 0644);
}

std::error_code WriteAll(Handle fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(static_cast<int>(fd), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return LastError();
    }
    done += static_cast<std::size_t>(n);
  }
  return {};
}

std::error_code SyncHandle(Handle fd) {
  return ::fsync(static_cast<int>(fd)) == 0 ? std::error_code() : LastError();
}

std::error_code Close(Handle fd) {
  return ::close(static_cast<int>(fd)) == 0 ? std::error_code() : LastError();
}

void RemoveQuietly(const fs::path& path) { ::unlink(path.c_str()); }

bool LinkFile(const fs::path& existing, const fs::path& link) {
  return ::link(existing.c_str(), link.c_str()) == 0;
}

std::error_code RenameOver(const fs::path& from, const fs::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

// Until the folder is synced, the rename may not survive a power cut, so a failure is reported.
// Two are not: a folder we may write into but not open for reading (EACCES), and a file system
// that cannot sync a folder at all (EINVAL). There the write is as durable as the system allows,
// and refusing every save would only stop the operator logging.
std::error_code SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return errno == EACCES ? std::error_code() : LastError();
  }
  std::error_code ec;
  if (::fsync(fd) != 0 && errno != EINVAL) {
    ec = LastError();
  }
  ::close(fd);
  return ec;
}

std::error_code RemoveFile(const fs::path& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) {
    return {};
  }
  return LastError();
}

Bytes ReadAll(const fs::path& path, std::uintmax_t at_most) {
  Bytes result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.step = "apertura";
    result.error = LastError();
    return result;
  }
  // One read of the whole file: a contest of 20,000 QSOs is a few megabytes.
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    result.bytes.reserve(static_cast<std::size_t>(
        std::min<std::uintmax_t>(static_cast<std::uintmax_t>(st.st_size), at_most)));
  }
  char buffer[1 << 16];
  while (result.bytes.size() < at_most) {
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uintmax_t>(sizeof buffer, at_most - result.bytes.size()));
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      result.step = "lettura";
      result.error = LastError();
      break;
    }
    if (n == 0) {
      break;
    }
    result.bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return result;
}

std::string SystemReason(std::error_code) { return {}; }

}  // namespace keldra::file_calls

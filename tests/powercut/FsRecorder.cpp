// The C library's file functions, defined again in the test program so that calls from our own
// code and from the C++ library come here first. Each one calls the next definition (the C
// library's, or the sanitizer's in a sanitizer build) and logs what succeeded.
#undef _FORTIFY_SOURCE  // the checked inline wrappers of <fcntl.h> would clash with open() here
#include "FsRecorder.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <map>
#include <optional>
#include <set>

namespace keldra::testing {
namespace {

struct Recorder {
  bool on = false;
  std::filesystem::path folder;
  std::vector<FsCall> log;
  std::set<int> files;    // open handles of files in the folder
  std::set<int> folders;  // open handles of the folder itself
  int folder_sync_error = 0;
};

// Never destroyed: calls may still arrive while the program exits.
Recorder& R() {
  static Recorder* recorder = new Recorder;
  return *recorder;
}

FsCall Call(FsCall::Kind kind, std::string name = {}, std::string name2 = {}) {
  FsCall call;
  call.kind = kind;
  call.name = std::move(name);
  call.name2 = std::move(name2);
  return call;
}

template <class F>
F Next(F, const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
#define NEXT(function) static const auto next = Next(&::function, #function)

// The name inside the folder a path gives ("." for the folder itself), or nothing when the path
// lies elsewhere.
std::optional<std::string> NameIn(int dir, const char* path) {
  if (path == nullptr) {
    return std::nullopt;
  }
  std::filesystem::path p(path);
  if (p.is_relative()) {
    if (dir != AT_FDCWD && R().folders.count(dir) == 0) {
      return std::nullopt;
    }
    p = (dir == AT_FDCWD ? std::filesystem::current_path() : R().folder) / p;
  }
  p = p.lexically_normal();
  if (p.has_filename() == false) {
    p = p.parent_path();
  }
  if (p == R().folder) {
    return std::string(".");
  }
  if (p.parent_path() == R().folder) {
    return p.filename().string();
  }
  return std::nullopt;
}

int Opened(int dir, const char* path, int flags, mode_t mode,
           int (*open_next)(int, const char*, int, ...)) {
  std::optional<std::string> name;
  if (R().on) {
    name = NameIn(dir, path);
  }
  if (!name) {
    return open_next(dir, path, flags, mode);
  }
  const bool existed = faccessat(dir, path, F_OK, 0) == 0;
  const int fd = open_next(dir, path, flags, mode);
  if (fd < 0) {
    return fd;
  }
  if (*name == ".") {
    R().folders.insert(fd);
    return fd;
  }
  R().files.insert(fd);
  FsCall call = Call(FsCall::Kind::kOpen, *name);
  call.handle = fd;
  call.created = (flags & O_CREAT) != 0 && !existed;
  call.truncated = (flags & O_TRUNC) != 0 && (flags & O_ACCMODE) != O_RDONLY;
  R().log.push_back(std::move(call));
  return fd;
}

int OpenNext(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = va_arg(args, mode_t);
  va_end(args);
  static const auto next =
      reinterpret_cast<int (*)(int, const char*, int, ...)>(dlsym(RTLD_NEXT, "openat"));
  return next(dir, path, flags, mode);
}

mode_t ModeOf(int flags, va_list args) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(args, mode_t) : 0;
}

bool Logged(int fd) { return R().on && R().files.count(fd) != 0; }

void LogWrite(int fd, std::int64_t at, const void* bytes, ssize_t done) {
  if (done <= 0) {
    return;
  }
  FsCall call = Call(FsCall::Kind::kWrite);
  call.handle = fd;
  call.offset = at;
  call.bytes.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(done));
  R().log.push_back(std::move(call));
}

// Where a write at the current position lands: the end of the file for O_APPEND.
std::int64_t CurrentOffset(int fd) {
  if ((fcntl(fd, F_GETFL) & O_APPEND) != 0) {
    struct stat st {};
    return fstat(fd, &st) == 0 ? st.st_size : 0;
  }
  return lseek(fd, 0, SEEK_CUR);
}

void LogSync(int fd) {
  if (!R().on) {
    return;
  }
  if (R().folders.count(fd) != 0) {
    R().log.push_back(Call(FsCall::Kind::kSyncFolder));
  }
  if (R().files.count(fd) != 0) {
    FsCall call = Call(FsCall::Kind::kSync);
    call.handle = fd;
    R().log.push_back(std::move(call));
  }
}

void LogNames(FsCall::Kind kind, int dir1, const char* from, int dir2, const char* to) {
  if (!R().on) {
    return;
  }
  const std::optional<std::string> a = NameIn(dir1, from);
  const std::optional<std::string> b = to == nullptr ? std::nullopt : NameIn(dir2, to);
  if (!a && !b) {
    return;
  }
  // A name moved in from, or out to, another folder is logged as if it came from nowhere or
  // went nowhere; the program never does that.
  R().log.push_back(Call(kind, a.value_or(""), b.value_or("")));
}

}  // namespace

void StartRecording(const std::filesystem::path& folder) {
  Recorder& r = R();
  r.folder = std::filesystem::absolute(folder).lexically_normal();
  if (!r.folder.has_filename()) {
    r.folder = r.folder.parent_path();
  }
  r.log.clear();
  r.files.clear();
  r.folders.clear();
  r.on = true;
}

std::vector<FsCall> StopRecording() {
  R().on = false;
  return std::move(R().log);
}

void FailFolderSyncs(int error) { R().folder_sync_error = error; }

void MarkRecording(std::string note) {
  R().log.push_back(Call(FsCall::Kind::kMark, std::move(note)));
}

}  // namespace keldra::testing

using keldra::testing::FsCall;
using namespace keldra::testing;  // NOLINT: the definitions below must be global

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return Opened(AT_FDCWD, path, flags, mode, OpenNext);
}
int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return Opened(AT_FDCWD, path, flags, mode, OpenNext);
}
int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return Opened(dir, path, flags, mode, OpenNext);
}
int openat64(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return Opened(dir, path, flags, mode, OpenNext);
}
// The checked open() of <fcntl.h> calls these under their reserved names.
int __open_2(const char* path, int flags) {  // NOLINT(bugprone-reserved-identifier)
  return Opened(AT_FDCWD, path, flags, 0, OpenNext);
}
int __open64_2(const char* path, int flags) {  // NOLINT(bugprone-reserved-identifier)
  return Opened(AT_FDCWD, path, flags, 0, OpenNext);
}
int creat(const char* path, mode_t mode) {
  return Opened(AT_FDCWD, path, O_WRONLY | O_CREAT | O_TRUNC, mode, OpenNext);
}

ssize_t write(int fd, const void* bytes, size_t size) {
  NEXT(write);
  if (!Logged(fd)) {
    return next(fd, bytes, size);
  }
  const std::int64_t at = CurrentOffset(fd);
  const ssize_t done = next(fd, bytes, size);
  LogWrite(fd, at, bytes, done);
  return done;
}
ssize_t pwrite(int fd, const void* bytes, size_t size, off_t at) {
  NEXT(pwrite);
  const ssize_t done = next(fd, bytes, size, at);
  if (Logged(fd)) {
    LogWrite(fd, at, bytes, done);
  }
  return done;
}
ssize_t pwrite64(int fd, const void* bytes, size_t size, off64_t at) {
  NEXT(pwrite64);
  const ssize_t done = next(fd, bytes, size, at);
  if (Logged(fd)) {
    LogWrite(fd, at, bytes, done);
  }
  return done;
}

int ftruncate(int fd, off_t length) {
  NEXT(ftruncate);
  const int result = next(fd, length);
  if (result == 0 && Logged(fd)) {
    FsCall call = Call(FsCall::Kind::kTruncate);
    call.handle = fd;
    call.offset = length;
    R().log.push_back(std::move(call));
  }
  return result;
}
int ftruncate64(int fd, off64_t length) { return ftruncate(fd, static_cast<off_t>(length)); }

int fsync(int fd) {
  NEXT(fsync);
  if (R().on && R().folder_sync_error != 0 && R().folders.count(fd) != 0) {
    errno = R().folder_sync_error;
    return -1;
  }
  const int result = next(fd);
  if (result == 0) {
    LogSync(fd);
  }
  return result;
}
int fdatasync(int fd) {
  NEXT(fdatasync);
  const int result = next(fd);
  if (result == 0) {
    LogSync(fd);
  }
  return result;
}

int close(int fd) {
  NEXT(close);
  if (R().on && R().files.erase(fd) != 0) {
    FsCall call = Call(FsCall::Kind::kClose);
    call.handle = fd;
    R().log.push_back(std::move(call));
  }
  if (R().on) {
    R().folders.erase(fd);
  }
  return next(fd);
}

int link(const char* from, const char* to) {
  NEXT(link);
  const int result = next(from, to);
  if (result == 0) {
    LogNames(FsCall::Kind::kLink, AT_FDCWD, from, AT_FDCWD, to);
  }
  return result;
}
int linkat(int dir1, const char* from, int dir2, const char* to, int flags) {
  NEXT(linkat);
  const int result = next(dir1, from, dir2, to, flags);
  if (result == 0) {
    LogNames(FsCall::Kind::kLink, dir1, from, dir2, to);
  }
  return result;
}
int rename(const char* from, const char* to) {
  NEXT(rename);
  const int result = next(from, to);
  if (result == 0) {
    LogNames(FsCall::Kind::kRename, AT_FDCWD, from, AT_FDCWD, to);
  }
  return result;
}
int renameat(int dir1, const char* from, int dir2, const char* to) {
  NEXT(renameat);
  const int result = next(dir1, from, dir2, to);
  if (result == 0) {
    LogNames(FsCall::Kind::kRename, dir1, from, dir2, to);
  }
  return result;
}
int renameat2(int dir1, const char* from, int dir2, const char* to, unsigned flags) {
  NEXT(renameat2);
  const int result = next(dir1, from, dir2, to, flags);
  if (result == 0) {
    LogNames(FsCall::Kind::kRename, dir1, from, dir2, to);
  }
  return result;
}
int unlink(const char* path) {
  NEXT(unlink);
  const int result = next(path);
  if (result == 0) {
    LogNames(FsCall::Kind::kUnlink, AT_FDCWD, path, AT_FDCWD, nullptr);
  }
  return result;
}
int unlinkat(int dir, const char* path, int flags) {
  NEXT(unlinkat);
  const int result = next(dir, path, flags);
  if (result == 0 && (flags & AT_REMOVEDIR) == 0) {
    LogNames(FsCall::Kind::kUnlink, dir, path, AT_FDCWD, nullptr);
  }
  return result;
}
int remove(const char* path) {
  NEXT(remove);
  struct stat st {};
  const bool file = lstat(path, &st) == 0 && !S_ISDIR(st.st_mode);
  const int result = next(path);
  if (result == 0 && file) {
    LogNames(FsCall::Kind::kUnlink, AT_FDCWD, path, AT_FDCWD, nullptr);
  }
  return result;
}

}  // extern "C"

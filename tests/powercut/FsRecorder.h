// A recorder of the file-system calls the program makes in one folder, for the power-cut test.
// The test program defines the C library's file functions itself (open, write, pwrite, ftruncate,
// fsync, fdatasync, link, rename, unlink, close and their variants); each passes the call on to
// the C library and, while a recording is on, logs it in order with the bytes written. Calls
// outside the folder pass through unlogged. Because the functions live in the test program, this
// works in every build, also under the sanitizers, without LD_PRELOAD.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace keldra::testing {

struct FsCall {
  enum class Kind {
    kOpen,        // name, created (the name was new), truncated (O_TRUNC), handle
    kWrite,       // handle, offset, bytes (write and pwrite alike)
    kTruncate,    // handle, offset = the new length
    kSync,        // handle (fsync or fdatasync of a file)
    kSyncFolder,  // fsync of the folder itself
    kLink,        // name -> name2
    kRename,      // name -> name2
    kUnlink,      // name
    kClose,       // handle
    kMark,        // name = a note of the test, between two calls
  };
  Kind kind = Kind::kMark;
  std::string name;  // a file name inside the folder
  std::string name2;
  int handle = -1;
  std::int64_t offset = 0;
  std::string bytes;
  bool created = false;
  bool truncated = false;
};

// Starts logging the calls on `folder` (one folder at a time); Stop returns the log.
void StartRecording(const std::filesystem::path& folder);
std::vector<FsCall> StopRecording();
// While recording, every fsync of the folder fails with `error` (0: none fails).
void FailFolderSyncs(int error);
// A note of the test in the log (for example "the OK of QSO 7 returned").
void MarkRecording(std::string note);

}  // namespace keldra::testing

// The few operating-system calls the file service is built on, one file per system
// (FileCallsPosix.cpp, FileCallsWindows.cpp): Files.cpp holds the order of the steps and the
// reasons told to the operator, these hold only the calls. Paths go to the system as they are
// (wide on Windows), never through an 8-bit code page.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace keldra::file_calls {

namespace fs = std::filesystem;

// A descriptor or a Windows handle.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

// The error of the call that just failed.
std::error_code LastError();

// A new file, for writing, that must not exist yet; `owner_only`: readable by its owner alone
// (where the system has owners and modes).
Handle CreateNew(const fs::path& path, bool owner_only = false);
std::error_code WriteAll(Handle handle, std::string_view bytes);
// Waits until the file's bytes are on the disk.
std::error_code SyncHandle(Handle handle);
std::error_code Close(Handle handle);
void RemoveQuietly(const fs::path& path);
// A second name for an existing file; false where the file system has no links.
bool LinkFile(const fs::path& existing, const fs::path& link);
// Puts `from` in the place of `to` in one step, replacing it.
std::error_code RenameOver(const fs::path& from, const fs::path& to);
// Makes a rename in the folder survive a power cut.
std::error_code SyncFolder(const fs::path& folder);
// Removes a file; a file that is not there is no failure.
std::error_code RemoveFile(const fs::path& path);

struct Bytes {
  std::string step;  // the step that failed, empty when none
  std::error_code error;
  std::string bytes;
};
// The whole file, or its first `at_most` bytes.
Bytes ReadAll(const fs::path& path, std::uintmax_t at_most);

// The operator's words for an error only this system gives; empty when the common ones apply.
std::string SystemReason(std::error_code code);

}  // namespace keldra::file_calls

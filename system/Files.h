// Files of the operator's data. Reading gives the bytes (or a typed error); writing replaces a
// file atomically and durably: a temporary file in the same folder is written, flushed and
// fsynced, then renamed over the old name, so a crash leaves either the old or the new file,
// never a mix. Where a previous version is kept (the contest state's backup), it is kept by a
// hard link to the old file, without copying its bytes. Every failure says which step failed,
// on which file, and why, so the operator can be told.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace keldra {

namespace fs = std::filesystem;

// The outcome of a file operation: ok, or the step that failed, the file and the reason.
class IoStatus {
 public:
  static IoStatus Ok() { return IoStatus(); }
  static IoStatus Failed(std::string step, fs::path path, std::error_code code) {
    IoStatus s;
    s.ok_ = false;
    s.step_ = std::move(step);
    s.path_ = std::move(path);
    s.code_ = code;
    return s;
  }
  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const std::string& step() const { return step_; }
  const fs::path& path() const { return path_; }
  std::error_code code() const { return code_; }
  // An Italian sentence for the operator (UTF-8): the file and the reason.
  std::string Describe() const;

 private:
  bool ok_ = true;
  std::string step_;
  fs::path path_;
  std::error_code code_;
};

struct ReadResult {
  IoStatus status;
  std::string bytes;
};

// The steps of a durable write, named so that tests can make any one of them fail.
enum class WriteStep {
  kCreateTemp,
  kWrite,
  kFlush,
  kFsync,
  kClose,
  kKeepPrevious,
  kRename,
  kSyncFolder
};

class Files {
 public:
  virtual ~Files() = default;

  bool Exists(const fs::path& path) const;
  // The whole file, or its first `at_most` bytes (files of other programs may be of any size).
  ReadResult Read(const fs::path& path, std::uintmax_t at_most = UINTMAX_MAX) const;
  // Replaces `target` with `bytes`; when `previous` is given and `target` exists, the old file
  // becomes `previous` (replacing it) in the same atomic sequence.
  IoStatus Replace(const fs::path& target, std::string_view bytes,
                   const fs::path* previous = nullptr);
  // The same for a file that holds a secret (a password): readable by its owner only, from the
  // first byte written.
  IoStatus ReplaceOwnerOnly(const fs::path& target, std::string_view bytes);
  // Copies a whole file over another, atomically and durably.
  IoStatus Copy(const fs::path& from, const fs::path& to);
  IoStatus Remove(const fs::path& path);

 private:
  IoStatus ReplaceFile(const fs::path& target, std::string_view bytes, const fs::path* previous,
                       bool owner_only);

 protected:
  // Tests override these to fail a step (return an error) or a read.
  virtual std::error_code Inject(WriteStep) { return {}; }
  virtual std::error_code InjectRead(const fs::path&) const { return {}; }
};

// Why a file operation failed, in the operator's words (Italian, UTF-8).
std::string Reason(std::error_code code);

// Removes the temporary files that a durable write leaves behind when the program is killed in
// the middle of it (".<name>.tmp<digits>"). Only safe while no other copy works in the folder.
void RemoveLeftoverTemporaries(const fs::path& folder);

// Whether `take` takes a line of a text, lines read as SplitLines reads them; stops at the first
// line taken.
template <typename Take>
bool AnyLine(std::string_view bytes, Take take) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) {
      end = bytes.size();
    }
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (take(line)) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

// The lines of a text file: split at CR LF (or a bare LF), line ends removed; a last line without
// its end is still a line, and nothing after the last line end is not.
std::vector<std::string> SplitLines(std::string_view bytes);

}  // namespace keldra

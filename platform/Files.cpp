#include "platform/Files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

namespace keldra {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

const char* StepName(WriteStep step) {
  switch (step) {
    case WriteStep::kCreateTemp: return "creazione del file temporaneo";
    case WriteStep::kWrite: return "scrittura";
    case WriteStep::kFlush: return "svuotamento del buffer";
    case WriteStep::kFsync: return "sincronizzazione sul disco";
    case WriteStep::kClose: return "chiusura";
    case WriteStep::kKeepPrevious: return "copia di sicurezza";
    case WriteStep::kRename: return "sostituzione del file";
    case WriteStep::kSyncFolder: return "sincronizzazione della cartella";
  }
  return "scrittura";
}

fs::path TempNameFor(const fs::path& target) {
  static std::mt19937_64 rng{std::random_device{}()};
  return target.parent_path() /
         ("." + target.filename().string() + ".tmp" + std::to_string(rng() % 1000000000));
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

std::string IoStatus::Describe() const {
  if (ok_) return {};
  return "Errore di " + step_ + " del file " + path_.string() + ": " + code_.message();
}

bool Files::Exists(const fs::path& path) const {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

ReadResult Files::Read(const fs::path& path) const {
  ReadResult result;
  if (std::error_code injected = InjectRead(path)) {
    result.status = IoStatus::Failed("lettura", path, injected);
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.status = IoStatus::Failed("apertura", path, std::make_error_code(std::errc::no_such_file_or_directory));
    return result;
  }
  result.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) result.status = IoStatus::Failed("lettura", path, std::make_error_code(std::errc::io_error));
  return result;
}

IoStatus Files::Replace(const fs::path& target, std::string_view bytes, const fs::path* previous) {
  auto fail = [&](WriteStep step, const fs::path& path, std::error_code code) {
    return IoStatus::Failed(StepName(step), path, code);
  };
  const fs::path temp = TempNameFor(target);
  std::error_code ec = Inject(WriteStep::kCreateTemp);
  const int fd = ec ? -1 : ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return fail(WriteStep::kCreateTemp, target, ec ? ec : LastError());

  auto abandon = [&](WriteStep step, std::error_code code) {
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(step, target, code);
  };
  if ((ec = Inject(WriteStep::kWrite))) return abandon(WriteStep::kWrite, ec);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandon(WriteStep::kWrite, LastError());
    }
    done += static_cast<std::size_t>(n);
  }
  if ((ec = Inject(WriteStep::kFlush))) return abandon(WriteStep::kFlush, ec);
  if ((ec = Inject(WriteStep::kFsync))) return abandon(WriteStep::kFsync, ec);
  if (::fsync(fd) != 0) return abandon(WriteStep::kFsync, LastError());
  if ((ec = Inject(WriteStep::kClose))) return abandon(WriteStep::kClose, ec);
  if (::close(fd) != 0) {
    ec = LastError();
    ::unlink(temp.c_str());
    return fail(WriteStep::kClose, target, ec);
  }

  if (previous != nullptr && Exists(target)) {
    // The old file stays whole under its backup name: a hard link swapped in atomically, or a
    // durable copy where the file system has no links.
    const fs::path link_temp = TempNameFor(*previous);
    ec = Inject(WriteStep::kKeepPrevious);
    if (!ec && ::link(target.c_str(), link_temp.c_str()) == 0) {
      if (::rename(link_temp.c_str(), previous->c_str()) != 0) {
        ec = LastError();
        ::unlink(link_temp.c_str());
      }
    } else if (!ec) {
      const IoStatus copied = Copy(target, *previous);
      if (!copied) ec = copied.code();
    }
    if (ec) {
      ::unlink(temp.c_str());
      return fail(WriteStep::kKeepPrevious, *previous, ec);
    }
  }
  if ((ec = Inject(WriteStep::kRename)) || ::rename(temp.c_str(), target.c_str()) != 0) {
    if (!ec) ec = LastError();
    ::unlink(temp.c_str());
    return fail(WriteStep::kRename, target, ec);
  }
  if ((ec = Inject(WriteStep::kSyncFolder))) return fail(WriteStep::kSyncFolder, target, ec);
  SyncFolder(target.parent_path());
  return IoStatus::Ok();
}

IoStatus Files::Copy(const fs::path& from, const fs::path& to) {
  ReadResult read = Read(from);
  if (!read.status) return read.status;
  return Replace(to, read.bytes);
}

IoStatus Files::Remove(const fs::path& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    return IoStatus::Failed("cancellazione", path, LastError());
  }
  return IoStatus::Ok();
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace keldra

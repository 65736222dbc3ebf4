#include "system/Files.h"

#include <random>

#include "system/FileCalls.h"

namespace keldra {
namespace {

using namespace file_calls;

const char* StepName(WriteStep step) {
  switch (step) {
    case WriteStep::kCreateTemp:
      return "creazione del file temporaneo";
    case WriteStep::kWrite:
      return "scrittura";
    case WriteStep::kFlush:
      return "svuotamento del buffer";
    case WriteStep::kFsync:
      return "sincronizzazione sul disco";
    case WriteStep::kClose:
      return "chiusura";
    case WriteStep::kKeepPrevious:
      return "copia di sicurezza";
    case WriteStep::kRename:
      return "sostituzione";
    case WriteStep::kSyncFolder:
      return "sincronizzazione della cartella";
  }
  return "scrittura";
}

fs::path TempNameFor(const fs::path& target) {
  static std::mt19937_64 rng{std::random_device{}()};
  return target.parent_path() /
         ("." + target.filename().string() + ".tmp" + std::to_string(rng() % 1000000000));
}

}  // namespace

// The reasons an operator meets, in Italian; anything rarer keeps the system's own words.
std::string Reason(std::error_code code) {
  if (std::string own = SystemReason(code); !own.empty()) {
    return own;
  }
  const std::error_condition c = code.default_error_condition();
  if (c == std::errc::no_space_on_device) {
    return "spazio su disco esaurito";
  }
  if (c == std::errc::permission_denied || c == std::errc::operation_not_permitted) {
    return "accesso negato";
  }
  if (c == std::errc::read_only_file_system) {
    return "disco o cartella di sola lettura";
  }
  if (c == std::errc::no_such_file_or_directory) {
    return "file o cartella inesistente";
  }
  if (c == std::errc::not_a_directory || c == std::errc::file_exists) {
    return "al suo posto, o al posto di una cartella che la contiene, c'è un file";
  }
  if (c == std::errc::io_error) {
    return "errore di lettura/scrittura del disco";
  }
  if (c == std::errc::file_too_large) {
    return "file troppo grande";
  }
  if (c == std::errc::too_many_files_open) {
    return "troppi file aperti";
  }
  return code.message();
}

std::string IoStatus::Describe() const {
  if (ok_) {
    return {};
  }
  return "Operazione non riuscita sul file " + path_.string() + " (" + step_ +
         "): " + Reason(code_) + ".";
}

bool Files::Exists(const fs::path& path) const {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

ReadResult Files::Read(const fs::path& path, std::uintmax_t at_most) const {
  ReadResult result;
  if (std::error_code injected = InjectRead(path)) {
    result.status = IoStatus::Failed("lettura", path, injected);
    return result;
  }
  Bytes read = ReadAll(path, at_most);
  if (!read.step.empty()) {
    result.status = IoStatus::Failed(read.step, path, read.error);
  }
  result.bytes = std::move(read.bytes);
  return result;
}

IoStatus Files::Replace(const fs::path& target, std::string_view bytes, const fs::path* previous) {
  return ReplaceFile(target, bytes, previous, false);
}

IoStatus Files::ReplaceOwnerOnly(const fs::path& target, std::string_view bytes) {
  return ReplaceFile(target, bytes, nullptr, true);
}

IoStatus Files::ReplaceFile(const fs::path& target, std::string_view bytes,
                            const fs::path* previous, bool owner_only) {
  const fs::path temp = TempNameFor(target);
  auto fail = [&](WriteStep step, std::error_code code, const fs::path& path) {
    return IoStatus::Failed(StepName(step), path, code);
  };

  std::error_code ec = Inject(WriteStep::kCreateTemp);
  const Handle handle = ec ? kNoHandle : CreateNew(temp, owner_only);
  if (handle == kNoHandle) {
    return fail(WriteStep::kCreateTemp, ec ? ec : LastError(), target);
  }

  // Until the rename, a failure leaves the old file as it was and removes the temporary one.
  auto abandon = [&](WriteStep step, std::error_code code) {
    Close(handle);
    RemoveQuietly(temp);
    return fail(step, code, target);
  };
  if ((ec = Inject(WriteStep::kWrite)) || (ec = WriteAll(handle, bytes))) {
    return abandon(WriteStep::kWrite, ec);
  }
  if ((ec = Inject(WriteStep::kFlush))) {
    return abandon(WriteStep::kFlush, ec);
  }
  if ((ec = Inject(WriteStep::kFsync)) || (ec = SyncHandle(handle))) {
    return abandon(WriteStep::kFsync, ec);
  }
  // The handle is closed even when the step is made to fail: Windows cannot remove a file that
  // is still open.
  ec = Inject(WriteStep::kClose);
  if (const std::error_code closed = Close(handle); !ec) {
    ec = closed;
  }
  if (ec) {
    RemoveQuietly(temp);
    return fail(WriteStep::kClose, ec, target);
  }

  if (previous != nullptr && Exists(target)) {
    // The old file stays whole under its backup name: a hard link swapped in atomically, or a
    // durable copy where the file system has no links.
    const fs::path link_temp = TempNameFor(*previous);
    ec = Inject(WriteStep::kKeepPrevious);
    if (!ec && LinkFile(target, link_temp)) {
      if ((ec = RenameOver(link_temp, *previous))) {
        RemoveQuietly(link_temp);
      }
    } else if (!ec) {
      const IoStatus copied = Copy(target, *previous);
      if (!copied) {
        // The file that failed: the old one that could not be read, or the backup.
        RemoveQuietly(temp);
        return fail(WriteStep::kKeepPrevious, copied.code(), copied.path());
      }
    }
    if (ec) {
      RemoveQuietly(temp);
      return fail(WriteStep::kKeepPrevious, ec, *previous);
    }
  }
  if ((ec = Inject(WriteStep::kRename)) || (ec = RenameOver(temp, target))) {
    RemoveQuietly(temp);
    return fail(WriteStep::kRename, ec, target);
  }
  if ((ec = Inject(WriteStep::kSyncFolder)) || (ec = SyncFolder(target.parent_path()))) {
    return fail(WriteStep::kSyncFolder, ec, target);
  }
  return IoStatus::Ok();
}

IoStatus Files::Copy(const fs::path& from, const fs::path& to) {
  ReadResult read = Read(from);
  if (!read.status) {
    return read.status;
  }
  return Replace(to, read.bytes);
}

IoStatus Files::Remove(const fs::path& path) {
  if (std::error_code ec = RemoveFile(path)) {
    return IoStatus::Failed("cancellazione", path, ec);
  }
  return IoStatus::Ok();
}

void RemoveLeftoverTemporaries(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const std::size_t tmp = name.rfind(".tmp");
    if (name.size() < 6 || name[0] != '.' || tmp == std::string::npos || tmp == 0) {
      continue;
    }
    const std::string digits = name.substr(tmp + 4);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    std::error_code ignored;
    if (fs::is_regular_file(it->status(ignored))) {
      fs::remove(it->path(), ignored);
    }
  }
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  AnyLine(bytes, [&lines](std::string_view line) {
    lines.emplace_back(line);
    return false;
  });
  return lines;
}

}  // namespace keldra

#include <windows.h>

#include <algorithm>

#include "system/FileCalls.h"

namespace keldra::file_calls {
namespace {

HANDLE Native(Handle h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

std::error_code LastError() { return {static_cast<int>(GetLastError()), std::system_category()}; }

// The contest folder is the user's own (Documents); the file takes its permissions.
Handle CreateNew(const fs::path& path, bool /*owner_only*/) {
  return reinterpret_cast<Handle>(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::error_code WriteAll(Handle h, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
    if (!WriteFile(Native(h), bytes.data() + done, chunk, &written, nullptr)) {
      return LastError();
    }
    done += written;
  }
  return {};
}

std::error_code SyncHandle(Handle h) {
  return FlushFileBuffers(Native(h)) ? std::error_code() : LastError();
}

std::error_code Close(Handle h) { return CloseHandle(Native(h)) ? std::error_code() : LastError(); }

void RemoveQuietly(const fs::path& path) { DeleteFileW(path.c_str()); }

// A second name of a file that another program holds open without sharing its deletion could be
// neither renamed into place nor removed again, and would stay behind; such a file is copied
// instead, which either works or fails before anything is made.
bool LinkFile(const fs::path& existing, const fs::path& link) {
  const HANDLE probe =
      CreateFileW(existing.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(probe);
  return CreateHardLinkW(link.c_str(), existing.c_str(), nullptr) != 0;
}

// One rename that replaces the target: NTFS swaps the name in one step, and WRITE_THROUGH returns
// only once the rename is on the disk. ReplaceFileW would keep the backup by itself, but it can
// fail half-way with the target moved to the backup name and nothing under its own
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT), and it has no write-through; the backup is kept the same
// way as on Linux instead (a second name of the old file, renamed into place first).
std::error_code RenameOver(const fs::path& from, const fs::path& to) {
  // Windows refuses to replace a read-only file; Wine does not, so the rule is kept here.
  if (const DWORD attributes = GetFileAttributesW(to.c_str());
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return {ERROR_ACCESS_DENIED, std::system_category()};
  }
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? std::error_code()
             : LastError();
}

// MOVEFILE_WRITE_THROUGH already waited for the disk.
std::error_code SyncFolder(const fs::path&) { return {}; }

std::error_code RemoveFile(const fs::path& path) {
  if (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) {
    return {};
  }
  return LastError();
}

Bytes ReadAll(const fs::path& path, std::uintmax_t at_most) {
  Bytes result;
  // Reading shares everything, so that neither the program nor whoever else has the file open
  // (an editor, a scanner) is stopped by the other.
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    result.step = "apertura";
    result.error = LastError();
    return result;
  }
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0) {
    result.bytes.reserve(static_cast<std::size_t>(
        std::min<std::uintmax_t>(static_cast<std::uintmax_t>(size.QuadPart), at_most)));
  }
  char buffer[1 << 16];
  while (result.bytes.size() < at_most) {
    const DWORD want =
        static_cast<DWORD>(std::min<std::uintmax_t>(sizeof buffer, at_most - result.bytes.size()));
    DWORD got = 0;
    if (!ReadFile(h, buffer, want, &got, nullptr)) {
      result.step = "lettura";
      result.error = LastError();
      break;
    }
    if (got == 0) {
      break;
    }
    result.bytes.append(buffer, got);
  }
  CloseHandle(h);
  return result;
}

std::string SystemReason(std::error_code code) {
  if (code.category() != std::system_category()) {
    return {};
  }
  switch (code.value()) {
    case ERROR_ACCESS_DENIED:
      return "accesso negato (il file è di sola lettura, o aperto in un altro programma che "
             "non lo lascia sostituire)";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return "il file è aperto in un altro programma (un foglio di calcolo, un editor, "
             "l'antivirus): chiuderlo e riprovare";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "spazio su disco esaurito";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return "file o cartella inesistente";
    case ERROR_WRITE_PROTECT:
      return "disco protetto da scrittura";
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
      return "unità non pronta (la chiavetta o il disco è stato tolto?)";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_DIRECTORY:
      return "al suo posto, o al posto di una cartella che la contiene, c'è un file";
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
      return "nome del file non valido o troppo lungo";
    default:
      return {};
  }
}

}  // namespace keldra::file_calls

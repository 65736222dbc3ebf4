#include "win32/Console.h"

#include "widgets/MessageBox.h"
#include "win32/Win32Api.h"

namespace keldra::win32 {
namespace {

std::wstring Utf8ToUtf16(const std::string& utf8) {
  if (utf8.empty()) {
    return {};
  }
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

// Line ends as a console and Notepad show them.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (const char c : text) {
    if (c == '\n' && (out.empty() || out.back() != '\r')) {
      out += '\r';
    }
    out += c;
  }
  return out;
}

bool IsRedirected(HANDLE h) {
  if (h == nullptr || h == INVALID_HANDLE_VALUE) {
    return false;
  }
  const DWORD type = GetFileType(h);
  return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

bool WriteBytes(HANDLE h, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
}

// The console of the process that started us, attached once.
// Both streams go to its screen.
HANDLE ParentConsole() {
  static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  if (!attached) {
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

void ReportToUser(const std::string& text, OutputKind kind) {
  const DWORD which = kind == OutputKind::kError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  const std::string bytes = WithCrLf(text);
  if (const HANDLE redirected = GetStdHandle(which); IsRedirected(redirected)) {
    if (WriteBytes(redirected, bytes)) {
      return;
    }
  }
  if (const HANDLE console = ParentConsole(); console != INVALID_HANDLE_VALUE) {
    // A console takes UTF-16, whatever its code page, so accents come out right.
    const std::wstring wide = Utf8ToUtf16("\r\n" + bytes);
    DWORD written = 0;
    const bool ok = WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                                  nullptr) != 0;
    CloseHandle(console);
    if (ok) {
      return;
    }
  }
  MessageBoxW(
      nullptr, Utf8ToUtf16(text).c_str(), Utf8ToUtf16(kDefaultTitle).c_str(),
      MB_OK | MB_SETFOREGROUND | (kind == OutputKind::kError ? MB_ICONERROR : MB_ICONINFORMATION));
}

void ShowStartupError(const std::string& text) {
  MessageBoxW(nullptr, Utf8ToUtf16(text).c_str(), Utf8ToUtf16(kDefaultTitle).c_str(),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace keldra::win32

#include "win32/Win32Text.h"

#include "win32/Win32Api.h"

namespace keldra::win32 {

constexpr UINT kCodePage = 1252;

std::wstring Widen(std::string_view cp1252) {
  if (cp1252.empty()) {
    return {};
  }
  const int size = static_cast<int>(cp1252.size());
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  const int written = MultiByteToWideChar(kCodePage, 0, cp1252.data(), size, wide.data(), size);
  wide.resize(static_cast<std::size_t>(written > 0 ? written : 0));
  return wide;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) {
    return {};
  }
  const int size = static_cast<int>(utf16.size());
  // A surrogate pair is one character outside the code page; it may give one "?" or two, and
  // never more bytes than UTF-16 units.
  std::string bytes(static_cast<std::size_t>(size), '\0');
  const int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, utf16.data(), size,
                                          bytes.data(), size, "?", nullptr);
  bytes.resize(static_cast<std::size_t>(written > 0 ? written : 0));
  return bytes;
}

std::wstring CaptionText(std::string_view cp1252) {
  std::wstring text;
  for (wchar_t c : Widen(cp1252)) {
    if (c == L'&') {
      text.push_back(L'&');
    }
    text.push_back(c);
  }
  return text;
}

}  // namespace keldra::win32

#include "win32/Win32Look.h"

namespace keldra::win32 {
namespace {

constexpr int kDefaultPoints = 9;

bool FontInstalled(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(
      screen, &wanted,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found_flag) -> int {
        *reinterpret_cast<bool*>(found_flag) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

UINT DpiOf(HWND window) {
  // GetDpiForWindow exists from Windows 10 1607 on; the per-monitor value needs it.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpi_for_window = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window != nullptr && dpi_for_window != nullptr) {
    if (const UINT dpi = dpi_for_window(window); dpi > 0) {
      return dpi;
    }
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

SIZE OuterSize(int width, int height, DWORD style, DWORD ex_style, UINT dpi) {
  RECT rect{0, 0, width, height};
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust_for_dpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (adjust_for_dpi != nullptr) {
    adjust_for_dpi(&rect, style, FALSE, ex_style, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

Look::~Look() {
  for (auto& [key, font] : fonts_) {
    DeleteObject(font);
  }
  for (auto& [key, brush] : brushes_) {
    DeleteObject(brush);
  }
}

const wchar_t* Look::FaceName() {
  if (face_ == nullptr) {
    face_ = FontInstalled(L"Segoe UI") ? L"Segoe UI" : L"Tahoma";
    fixed_face_ = FontInstalled(L"Consolas") ? L"Consolas" : L"Courier New";
  }
  return face_;
}

HFONT Look::Font(const FontHints& hints, UINT dpi) {
  const auto key = std::make_tuple(hints.bold, hints.points, hints.fixed_pitch, dpi);
  if (auto it = fonts_.find(key); it != fonts_.end()) {
    return it->second;
  }
  const wchar_t* face = FaceName();
  LOGFONTW font{};
  const int points = hints.points > 0 ? hints.points : kDefaultPoints;
  font.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
  font.lfWeight = hints.bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfPitchAndFamily = static_cast<BYTE>(hints.fixed_pitch ? (FIXED_PITCH | FF_MODERN)
                                                              : (VARIABLE_PITCH | FF_SWISS));
  wcsncpy(font.lfFaceName, hints.fixed_pitch ? fixed_face_ : face, LF_FACESIZE - 1);
  HFONT made = CreateFontIndirectW(&font);
  fonts_[key] = made;
  return made;
}

HBRUSH Look::Brush(Color color) {
  const COLORREF ref = ToColorRef(color);
  if (auto it = brushes_.find(ref); it != brushes_.end()) {
    return it->second;
  }
  HBRUSH brush = CreateSolidBrush(ref);
  brushes_[ref] = brush;
  return brush;
}

}  // namespace keldra::win32

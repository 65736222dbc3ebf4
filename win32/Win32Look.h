// What makes the windows look like the operator's other Windows programs: the dialog font
// (Segoe UI 9 pt, Tahoma where Segoe UI is missing), sizes scaled from the model's twips by the
// monitor's dots per inch, and the brushes of the colours the model asks for. The fonts and
// brushes are made once and kept for the life of the front end.
#pragma once

#include <map>
#include <tuple>

#include "widgets/Control.h"
#include "win32/Win32Api.h"

namespace keldra::win32 {

// The dots per inch of the monitor a window is on (96 when Windows cannot say).
UINT DpiOf(HWND window);
// Twips (1440 to the inch) to pixels at `dpi`.
inline int Pixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
inline int Twips(int pixels, UINT dpi) { return MulDiv(pixels, 1440, static_cast<int>(dpi)); }
// The outer size of a window whose client area is `width` x `height` pixels.
SIZE OuterSize(int width, int height, DWORD style, DWORD ex_style, UINT dpi);

inline COLORREF ToColorRef(Color c) { return RGB(c.r, c.g, c.b); }

class Look {
 public:
  Look() = default;
  ~Look();
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;

  HFONT Font(const FontHints& hints, UINT dpi);
  HBRUSH Brush(Color color);
  // The face name of the dialog font this Windows has.
  const wchar_t* FaceName();

 private:
  std::map<std::tuple<bool, int, bool, UINT>, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
  const wchar_t* face_ = nullptr;
  const wchar_t* fixed_face_ = nullptr;
};

}  // namespace keldra::win32

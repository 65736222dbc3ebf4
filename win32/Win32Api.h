// The Windows API as the front end includes it. windows.h names its message box function
// MessageBox through a macro, which would rename the program's own MessageBox service; the macro
// goes here, once, and the front end calls MessageBoxW by its own name.
#pragma once

#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#undef MessageBox

namespace keldra::win32 {

// The front end's own windows carry their object (CreateWindowExW's last argument) from their
// first message on: each window procedure calls this on WM_NCCREATE, and AttachedTo reads it back.
inline void AttachToWindow(HWND hwnd, LPARAM create) {
  SetWindowLongPtrW(
      hwnd, GWLP_USERDATA,
      reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(create)->lpCreateParams));
}
template <typename Object>
Object* AttachedTo(HWND hwnd) {
  return reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace keldra::win32

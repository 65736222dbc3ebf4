// What the two halves of the Windows front end share: the messages it posts to its own windows,
// and the helpers both the drawing of the model and the handling of the operator's input use.
#pragma once

#include <string>

#include "widgets/Form.h"
#include "win32/Win32Api.h"

namespace keldra::win32 {

// Posted to a window whose form was unloaded: it is destroyed once the handler that unloaded it
// has returned to the message loop.
constexpr UINT kDestroyLater = WM_APP + 1;
// Posted when a list grew: the lines appended in one turn of the loop go in with one edit.
constexpr UINT kFlushAppends = WM_APP + 3;
// Posted when a window became active with the focus elsewhere: once the window's own handlers
// have run, its first control takes the focus, as the operator expects of a new window.
constexpr UINT kFocusFirst = WM_APP + 4;
// Posted when the model's focus moved: Windows' focus follows once the handler has run.
constexpr UINT kApplyFocus = WM_APP + 5;

DWORD FormStyle(const Form& form);
// The pixel offset of a control's container chain from the window's client area.
POINT Origin(const Control& control, UINT dpi);
// Shown, or enabled, with all its containers.
bool ShownWithContainers(const Control& control);
bool EnabledWithContainers(const Control& control);
// Whether `control` sits in `container`, directly or deeper.
bool Inside(const Control& control, const Control& container);
bool IsContainer(ControlKind kind);
// A control's whole text as Windows holds it.
std::wstring WindowText(HWND hwnd);

}  // namespace keldra::win32

// The Windows front end's half that takes the operator's input to the model: the windows' and
// controls' messages, keys, clicks, focus, and the painting Windows asks the front end for.
#include <windowsx.h>

#include <algorithm>
#include <unordered_map>

#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"
#include "win32/Win32FrontEnd.h"
#include "win32/Win32FrontEndParts.h"
#include "win32/Win32LineView.h"
#include "win32/Win32Text.h"

namespace keldra::win32 {
namespace {

KeyModifiers HeldModifiers() {
  return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

}  // namespace

// --- Controls to model --------------------------------------------------------------------

LRESULT CALLBACK Win32FrontEnd::FormProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    AttachToWindow(hwnd, l);
  }
  if (message == kDestroyLater) {
    DestroyWindow(hwnd);
    return 0;
  }
  auto* self = AttachedTo<Win32FrontEnd>(hwnd);
  if (message == kFlushAppends && self != nullptr) {
    self->Flush();
    return 0;
  }
  if (message == kApplyFocus && self != nullptr) {
    self->ApplyFocus();
    return 0;
  }
  Window* window = self != nullptr ? self->WindowOfHandle(hwnd) : nullptr;
  if (window == nullptr) {
    // A window on its way out: closing it is no longer the model's business.
    return message == WM_CLOSE ? 0 : DefWindowProcW(hwnd, message, w, l);
  }
  return self->OnFormMessage(*window, message, w, l);
}

LRESULT Win32FrontEnd::OnFormMessage(Window& window, UINT message, WPARAM w, LPARAM l) {
  HWND top = window.top;
  switch (message) {
    case WM_CLOSE:
      window.form->CloseRequested();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) {
        if (syncing_ == 0) {
          screen_.WindowActivatedByOperator(*window.form);
        }
        if (Control* focus = screen_.ActiveControl();
            focus != nullptr && &focus->Parent() == window.form && HandleOf(*focus) != nullptr) {
          ++syncing_;
          ::SetFocus(HandleOf(*focus));
          --syncing_;
          return 0;
        }
        PostMessageW(top, kFocusFirst, 0, 0);
      }
      break;
    case kFocusFirst:
      FocusFirstControl(window);
      return 0;
    case WM_COMMAND:
      if (Control* control = ControlOf(reinterpret_cast<HWND>(l))) {
        OnCommand(*control, reinterpret_cast<HWND>(l), HIWORD(w));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      if (ControlOf(reinterpret_cast<HWND>(l)) != nullptr) {
        return OnControlColor(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
      }
      break;
    case WM_PRINTCLIENT: {
      // A themed frame paints its inside by asking the window for its background.
      RECT area;
      GetClientRect(top, &area);
      FillRect(reinterpret_cast<HDC>(w), &area, GetSysColorBrush(COLOR_BTNFACE));
      PaintLines(reinterpret_cast<HDC>(w), window.lines, window.dpi, POINT{0, 0});
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(top, &paint);
      PaintLines(dc, window.lines, window.dpi, POINT{0, 0});
      PaintLabels(dc, window, nullptr);
      EndPaint(top, &paint);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      RelayToToolTip(window, message, w, l);
      break;
    case WM_LBUTTONUP:
      RelayToToolTip(window, message, w, l);
      if (Label* label =
              ClickableLabelAt(window, nullptr, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)})) {
        ClickOnPicture(*label);
        return 0;
      }
      break;
    case WM_SIZE:
      if (syncing_ == 0 && w != SIZE_MINIMIZED && window.form->Resizable()) {
        // The operator resized the window: it lays its controls out again.
        window.form->UserResize(Twips(LOWORD(l), window.dpi), Twips(HIWORD(l), window.dpi));
      }
      break;
    case WM_MOVE:
      if (syncing_ == 0) {
        WindowMoved(window);
      }
      break;
    case WM_GETMINMAXINFO:
      if (window.form->Resizable()) {
        const SIZE least = OuterSize(Pixels(window.form->MinimumWidth(), window.dpi),
                                     Pixels(window.form->MinimumHeight(), window.dpi),
                                     FormStyle(*window.form), 0, window.dpi);
        auto* info = reinterpret_cast<MINMAXINFO*>(l);
        info->ptMinTrackSize = POINT{least.cx, least.cy};
        return 0;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(window, HIWORD(w), *reinterpret_cast<const RECT*>(l));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(top, message, w, l);
}

void Win32FrontEnd::RelayToToolTip(const Window& window, UINT message, WPARAM w, LPARAM l) {
  // The tooltips of the labels painted on the window see its mouse.
  MSG relayed{window.top, message, w, l, 0, {GET_X_LPARAM(l), GET_Y_LPARAM(l)}};
  SendMessageW(window.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void Win32FrontEnd::FocusFirstControl(Window& window) {
  Control* focus = screen_.ActiveControl();
  if (screen_.ActiveForm() != window.form || GetActiveWindow() != window.top ||
      (focus != nullptr && &focus->Parent() == window.form)) {
    return;
  }
  for (Control* control : window.form->TabOrder()) {
    if (control->CanTakeFocusNow()) {
      screen_.SetFocus(control);
      return;
    }
  }
}

void Win32FrontEnd::OnDpiChanged(Window& window, UINT dpi, const RECT& suggested) {
  // The window moved to a monitor of another scale: everything is laid out again at the new one.
  window.dpi = dpi;
  ++syncing_;
  SetWindowPos(window.top, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowSize(window);
  for (Control* control : window.form->Controls()) {
    if (control->Kind() != ControlKind::kLine) {
      Sync(*control, Property::kFont);
      Sync(*control, Property::kGeometry);
    }
  }
  InvalidateRect(window.top, nullptr, TRUE);
  --syncing_;
}

void Win32FrontEnd::OnCommand(Control& control, HWND hwnd, int code) {
  if (syncing_ > 0) {
    return;
  }
  switch (control.Kind()) {
    case ControlKind::kTextBox:
      if (code == EN_CHANGE) {
        auto& box = static_cast<TextBox&>(control);
        std::string text = Narrow(WindowText(hwnd));
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        appends_.Shown(control, text.size());
        box.UserEdit(std::move(text), static_cast<int>(end));
      }
      break;
    case ControlKind::kCommandButton:
      if (code == BN_CLICKED) {
        static_cast<CommandButton&>(control).Press();
      }
      break;
    case ControlKind::kCheckBox:
      if (code == BN_CLICKED) {
        const bool ticked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        static_cast<CheckBox&>(control).SetValue(ticked ? 1 : 0);
      }
      break;
    case ControlKind::kComboBox:
      if (code == CBN_SELCHANGE) {
        static_cast<ListControl&>(control).SetListIndex(
            static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)));
      }
      break;
    case ControlKind::kListBox:
      if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
        static_cast<ListControl&>(control).SetListIndex(
            static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0)));
      }
      if (auto& list = static_cast<ListBox&>(control); code == LBN_DBLCLK && list.DblClick) {
        list.DblClick();
      }
      break;
    case ControlKind::kPictureBox:
    case ControlKind::kImage:
      if (code == STN_CLICKED) {
        // A label in a picture box takes the clicks on it.
        POINT at{GET_X_LPARAM(GetMessagePos()), GET_Y_LPARAM(GetMessagePos())};
        ScreenToClient(hwnd, &at);
        const Window* window = WindowOfForm(control.Parent());
        Label* label = window != nullptr ? ClickableLabelAt(*window, &control, at) : nullptr;
        ClickOnPicture(label != nullptr ? *label : control);
      }
      break;
    default:
      break;
  }
}

LRESULT Win32FrontEnd::OnControlColor(HDC dc, HWND child) {
  Control& control = *ControlOf(child);
  SetTextColor(dc, ToColorRef(control.ForeColor()));
  if (control.Kind() == ControlKind::kTextBox) {
    SetBkColor(dc, ToColorRef(control.BackColor()));
    return reinterpret_cast<LRESULT>(look_.Brush(control.BackColor()));
  }
  if (control.Kind() == ControlKind::kListBox) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

namespace {

// Each control window's own procedure, and the front end that drew it.
struct Subclassed {
  Win32FrontEnd* front_end;
  WNDPROC base;
};
std::unordered_map<HWND, Subclassed>& SubclassedControls() {
  static std::unordered_map<HWND, Subclassed> controls;
  return controls;
}

}  // namespace

// The controls are subclassed by replacing their window procedure, which costs one lookup per
// message. (SetWindowSubclass reads the window's properties for every message; under Wine that
// made adding 20,000 lines to a list take seconds instead of milliseconds.)
void Win32FrontEnd::Subclass(HWND hwnd) {
  const auto base = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32FrontEnd::ControlProc)));
  SubclassedControls()[hwnd] = {this, base};
}

LRESULT Win32FrontEnd::Base(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  const auto found = SubclassedControls().find(hwnd);
  return found != SubclassedControls().end()
             ? CallWindowProcW(found->second.base, hwnd, message, w, l)
             : DefWindowProcW(hwnd, message, w, l);
}

LRESULT CALLBACK Win32FrontEnd::ControlProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  const auto found = SubclassedControls().find(hwnd);
  if (found == SubclassedControls().end()) {
    return DefWindowProcW(hwnd, message, w, l);
  }
  const Subclassed subclassed = found->second;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassed.base));
    SubclassedControls().erase(found);
    return CallWindowProcW(subclassed.base, hwnd, message, w, l);
  }
  Control* control = subclassed.front_end->ControlOf(hwnd);
  if (control == nullptr) {
    return CallWindowProcW(subclassed.base, hwnd, message, w, l);
  }
  return subclassed.front_end->OnControlMessage(*control, hwnd, message, w, l);
}

LRESULT Win32FrontEnd::OnControlMessage(Control& control, HWND hwnd, UINT message, WPARAM w,
                                        LPARAM l) {
  const ControlKind kind = control.Kind();
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      // The character this key types is already queued (TranslateMessage ran before this): it
      // is taken out now, so a handler that opens a message box cannot see it typed there.
      const UINT first = message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
      MSG typed{};
      const bool has_typed = PeekMessageW(&typed, hwnd, first, first, PM_REMOVE) != 0;
      if (OnKeyDown(control, hwnd, w, l) ||
          (message == WM_KEYDOWN && IsLineView(control) && LineViewKey(hwnd, w))) {
        return 0;
      }
      const LRESULT result = Base(hwnd, message, w, l);
      if (has_typed && IsWindow(hwnd)) {
        SendMessageW(hwnd, typed.message, typed.wParam, typed.lParam);
      }
      return result;
    }
    case WM_KEYUP:
      if (KeyUpConsumed(control, static_cast<int>(w))) {
        return 0;
      }
      break;
    case WM_CHAR:
      if (w == L'\t') {
        return 0;
      }
      if (kind == ControlKind::kTextBox && !static_cast<TextBox&>(control).MultiLine() &&
          (w == L'\r' || w == L'\n')) {
        return 0;  // a single-line box types no Enter, and does not beep
      }
      if (kind == ControlKind::kCommandButton && (w == L' ' || w == L'\r')) {
        return 0;
      }
      break;
    case WM_NCCALCSIZE:
      if (kind == ControlKind::kTextBox && w != 0) {
        return CentreSingleLine(static_cast<TextBox&>(control), hwnd, l);
      }
      break;
    case WM_NCPAINT:
      if (kind == ControlKind::kTextBox && !static_cast<TextBox&>(control).MultiLine()) {
        const LRESULT result = Base(hwnd, message, w, l);
        PaintSingleLinePadding(control, hwnd);
        return result;
      }
      break;
    case WM_NCHITTEST:
      if (kind == ControlKind::kTextBox) {
        // A click above or below a centred line still lands in the box.
        const LRESULT hit = Base(hwnd, message, w, l);
        return hit == HTBORDER || hit == HTNOWHERE ? HTCLIENT : hit;
      }
      break;
    case WM_PAINT:
      if (kind == ControlKind::kFrame) {
        // A frame paints only its border and caption, and the window does not paint under its
        // children: the face goes in first, then the frame on top.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT area;
        GetClientRect(hwnd, &area);
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        Base(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        if (const Window* window = WindowOfForm(control.Parent())) {
          PaintLabels(dc, *window, &control);
        }
        EndPaint(hwnd, &paint);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (kind == ControlKind::kFrame) {
        return 1;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = Base(hwnd, message, w, l);
      OnControlFocused(control);
      return result;
    }
    default:
      break;
  }
  return Base(hwnd, message, w, l);
}

LRESULT Win32FrontEnd::CentreSingleLine(const TextBox& box, HWND hwnd, LPARAM l) {
  const LRESULT result = Base(hwnd, WM_NCCALCSIZE, TRUE, l);
  if (box.MultiLine()) {
    return result;
  }
  // A single-line box taller than its font keeps its line in the middle, as the model's layout
  // was drawn: the spare height goes above and below the client area.
  auto* sizes = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
  RECT& client = sizes->rgrc[0];
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  const int spare = (client.bottom - client.top) - metrics.tmHeight - 2;
  if (spare > 1) {
    client.top += spare / 2;
    client.bottom -= spare - spare / 2;
  }
  return result;
}

void Win32FrontEnd::PaintSingleLinePadding(const Control& control, HWND hwnd) {
  RECT window_rect;
  GetWindowRect(hwnd, &window_rect);
  RECT client;
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window_rect.left, -window_rect.top);
  const int width = window_rect.right - window_rect.left;
  const int height = window_rect.bottom - window_rect.top;
  const int edge = client.left;  // the border is as wide at the top and bottom as at the side
  HBRUSH brush =
      IsWindowEnabled(hwnd) ? look_.Brush(control.BackColor()) : GetSysColorBrush(COLOR_BTNFACE);
  HDC dc = GetWindowDC(hwnd);
  const RECT above{edge, edge, width - edge, client.top};
  const RECT below{edge, client.bottom, width - edge, height - edge};
  FillRect(dc, &above, brush);
  FillRect(dc, &below, brush);
  ReleaseDC(hwnd, dc);
}

bool Win32FrontEnd::OnKeyDown(Control& control, HWND hwnd, WPARAM w, LPARAM l) {
  const KeyPress key{static_cast<int>(w), HeldModifiers(), (l & (1L << 30)) != 0};
  // The operator selects lines in a line view, not the model's text.
  const bool edit = control.Kind() == ControlKind::kTextBox && !IsLineView(control);
  std::optional<TextSelection> shown;
  if (edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    shown = TextSelection{static_cast<int>(start), static_cast<int>(end - start)};
  }
  const KeyOutcome outcome = RouteKey(screen_, control, key, shown);
  if (outcome == KeyOutcome::kSelectAll && edit) {
    // Wine's EDIT takes no Ctrl+A; Windows' common controls 6 select all on it.
    SendMessageW(hwnd, EM_SETSEL, 0, -1);
  }
  return outcome != KeyOutcome::kToWidget;
}

void Win32FrontEnd::OnControlFocused(Control& control) {
  if (syncing_ > 0) {
    return;
  }
  // The model may refuse (or move the focus on); the controls follow the model.
  if (Control* instead = FocusTakenByWidget(screen_, control)) {
    FocusChanged(instead);
  }
}

}  // namespace keldra::win32

#include "win32/Win32FrontEnd.h"

#include <algorithm>
#include <utility>

#include "widgets/Buttons.h"
#include "widgets/Drawing.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"
#include "win32/DrawingWidget.h"
#include "win32/Win32FrontEndParts.h"
#include "win32/Win32LineView.h"
#include "win32/Win32Text.h"

namespace keldra::win32 {

DWORD FormStyle(const Form& form) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (form.Resizable()) {
    style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
  }
  return style;
}

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

POINT Origin(const Control& control, UINT dpi) {
  POINT origin{0, 0};
  for (const Control* box = control.Container(); box != nullptr; box = box->Container()) {
    origin.x += Pixels(box->Left(), dpi);
    origin.y += Pixels(box->Top(), dpi);
  }
  return origin;
}

bool ShownWithContainers(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->Container()) {
    if (!c->Visible()) {
      return false;
    }
  }
  return true;
}

bool EnabledWithContainers(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->Container()) {
    if (!c->Enabled()) {
      return false;
    }
  }
  return true;
}

bool Inside(const Control& control, const Control& container) {
  for (const Control* c = control.Container(); c != nullptr; c = c->Container()) {
    if (c == &container) {
      return true;
    }
  }
  return false;
}

bool IsContainer(ControlKind kind) {
  return kind == ControlKind::kFrame || kind == ControlKind::kPictureBox;
}

namespace {

constexpr const wchar_t* kFormClass = L"KeldraForm";
// The drop-down part of a combo box, in pixels at 96 dpi; the model's height is the closed box.
constexpr int kDropDownHeight = 200;
constexpr int kToolTipWidth = 400;
constexpr int kTextMargin = 1;

// Where a control's window stands in the window's client area: left, top, width, height, and
// the dpi they were reckoned at.
std::array<int, 5> PlaceOf(const Control& control, UINT dpi) {
  const POINT origin = Origin(control, dpi);
  // A combo box's window holds its list below the closed box.
  const int list = control.Kind() == ControlKind::kComboBox
                       ? MulDiv(kDropDownHeight, static_cast<int>(dpi), 96)
                       : 0;
  return {origin.x + Pixels(control.Left(), dpi), origin.y + Pixels(control.Top(), dpi),
          std::max(1, Pixels(control.Width(), dpi)),
          std::max(1, Pixels(control.Height(), dpi)) + list, static_cast<int>(dpi)};
}
#ifndef TTTOOLINFOW_V2_SIZE
#define TTTOOLINFOW_V2_SIZE CCSIZEOF_STRUCT(TOOLINFOW, lpReserved)
#endif

std::size_t CaretOf(const TextBox& box) { return static_cast<std::size_t>(box.SelStart()); }

void RegisterFormClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kFormClass;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

}  // namespace

Win32FrontEnd::Win32FrontEnd(Screen& screen) : screen_(screen) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterFormClass(&Win32FrontEnd::FormProc);
  window_icon_big_ = ArtworkIcon(Artwork::kLogo, GetSystemMetrics(SM_CXICON));
  window_icon_small_ = ArtworkIcon(Artwork::kLogo, GetSystemMetrics(SM_CXSMICON));
  screen_.SetObserver(this);
}

Win32FrontEnd::~Win32FrontEnd() {
  if (screen_.Observer() == this) {
    screen_.SetObserver(nullptr);
  }
  control_of_.clear();
  window_of_handle_.clear();
  for (auto& [control, hwnd] : handle_of_) {
    if (pictures_.count(control)) {
      DetachPicture(hwnd);
    }
  }
  for (auto& [form, window] : windows_) {
    DestroyWindow(window->top);
  }
  // Windows of unloaded forms whose destruction was still queued go with the loop's last messages.
  MSG message;
  while (PeekMessageW(&message, nullptr, kDestroyLater, kDestroyLater, PM_REMOVE)) {
    DestroyWindow(message.hwnd);
  }
  for (HICON icon : icons_) {
    DestroyIcon(icon);
  }
  DestroyIcon(window_icon_big_);
  DestroyIcon(window_icon_small_);
}

HWND Win32FrontEnd::WindowOf(const Form& form) const {
  Window* window = WindowOfForm(form);
  return window == nullptr ? nullptr : window->top;
}

HWND Win32FrontEnd::HandleOf(const Control& control) const {
  auto it = handle_of_.find(&control);
  return it == handle_of_.end() ? nullptr : it->second;
}

HWND Win32FrontEnd::ActiveWindow() const {
  const Form* form = screen_.ActiveForm();
  HWND top = form != nullptr ? WindowOf(*form) : nullptr;
  return top != nullptr && IsWindowVisible(top) ? top : nullptr;
}

Win32FrontEnd::Window* Win32FrontEnd::WindowOfForm(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.get();
}

Win32FrontEnd::Window* Win32FrontEnd::WindowOfHandle(HWND top) const {
  auto it = window_of_handle_.find(top);
  return it == window_of_handle_.end() ? nullptr : it->second;
}

Control* Win32FrontEnd::ControlOf(HWND hwnd) const {
  auto it = control_of_.find(hwnd);
  return it == control_of_.end() ? nullptr : it->second;
}

int Win32FrontEnd::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and Enter belong to the model's handlers, so there is no dialog manager here.
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// --- Building -----------------------------------------------------------------------------

Win32FrontEnd::Window* Win32FrontEnd::Build(Form& form) {
  if (Window* existing = WindowOfForm(form)) {
    return existing;
  }
  auto window = std::make_unique<Window>();
  window->form = &form;
  const DWORD style = FormStyle(form);
  HWND top =
      CreateWindowExW(0, kFormClass, Widen(form.Caption()).c_str(), style, CW_USEDEFAULT,
                      CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  window->top = top;
  window->dpi = DpiOf(top);
  SendMessageW(top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(window_icon_big_));
  SendMessageW(top, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(window_icon_small_));
  window->tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, top, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  SendMessageW(window->tooltip, TTM_SETMAXTIPWIDTH, 0,
               Pixels(kToolTipWidth * kTwipsPerPixel, window->dpi));
  Window* raw = window.get();
  windows_[&form] = std::move(window);
  window_of_handle_[top] = raw;
  ++syncing_;
  SetWindowSize(*raw);

  for (Control* control : form.Controls()) {
    if (control->Kind() == ControlKind::kLine) {
      // A line is painted by the picture box that holds it, or by the window.
      Control* box = control->Container();
      auto picture = box != nullptr ? pictures_.find(box) : pictures_.end();
      if (box != nullptr && picture == pictures_.end()) {
        picture = pictures_.emplace(box, std::make_unique<PictureContent>()).first;
      }
      auto& lines = picture != pictures_.end() ? picture->second->lines : raw->lines;
      lines.push_back(static_cast<const Line*>(control));
      continue;
    }
    if (control->Kind() == ControlKind::kLabel) {
      raw->labels.push_back(static_cast<Label*>(control));
      continue;
    }
    // A control hidden now gets its window when it first shows (Sync): most never do.
    if (IsContainer(control->Kind()) || ShownWithContainers(*control)) {
      Attach(*control, *raw);
    }
  }
  for (Control* control : form.Controls()) {
    if (control->Kind() != ControlKind::kLine) {
      SyncAll(*control);
    }
  }
  // Frames and picture boxes lie under what they hold: the deepest first to the bottom, then each
  // outer one beneath it.
  std::vector<std::pair<int, Control*>> containers;
  for (Control* control : form.Controls()) {
    if (IsContainer(control->Kind())) {
      int depth = 0;
      for (const Control* box = control->Container(); box != nullptr; box = box->Container()) {
        ++depth;
      }
      containers.emplace_back(-depth, control);
    }
  }
  std::stable_sort(containers.begin(), containers.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [depth, control] : containers) {
    SetWindowPos(HandleOf(*control), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  --syncing_;
  return raw;
}

HWND Win32FrontEnd::Attach(Control& control, Window& window) {
  HWND hwnd = Create(control, window, window.next_id++);
  control_of_[hwnd] = &control;
  handle_of_[&control] = hwnd;
  return hwnd;
}

HWND Win32FrontEnd::Create(Control& control, Window& window, int id) {
  const DWORD child = WS_CHILD | WS_CLIPSIBLINGS | (control.CanFocus() ? WS_TABSTOP : 0);
  const wchar_t* window_class = WC_STATICW;
  DWORD style = child;
  DWORD ex_style = 0;
  switch (control.Kind()) {
    case ControlKind::kTextBox: {
      auto& box = static_cast<TextBox&>(control);
      ex_style = WS_EX_CLIENTEDGE;
      if (box.MultiLine() && box.Locked() && !box.WordWrap()) {
        window_class = WC_LISTBOXW;
        style |= LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL | LBS_USETABSTOPS | WS_VSCROLL | WS_HSCROLL;
        line_views_.insert(&control);
        break;
      }
      window_class = WC_EDITW;
      style |= box.Align() == Alignment::kCenter  ? ES_CENTER
               : box.Align() == Alignment::kRight ? ES_RIGHT
                                                  : ES_LEFT;
      if (box.MultiLine()) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
        if (!box.WordWrap()) {
          style |= ES_AUTOHSCROLL | WS_HSCROLL;
        }
      } else {
        style |= ES_AUTOHSCROLL | (box.Password() ? ES_PASSWORD : 0);
      }
      break;
    }
    case ControlKind::kCommandButton:
      window_class = WC_BUTTONW;
      style |= BS_PUSHBUTTON | BS_MULTILINE;
      break;
    case ControlKind::kCheckBox:
      window_class = WC_BUTTONW;
      style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::kComboBox:
      window_class = WC_COMBOBOXW;
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      break;
    case ControlKind::kListBox:
      window_class = WC_LISTBOXW;
      ex_style = WS_EX_CLIENTEDGE;
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      break;
    case ControlKind::kFrame:
      window_class = WC_BUTTONW;
      style = WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX;
      break;
    case ControlKind::kPictureBox:
    case ControlKind::kImage: {
      auto& content = pictures_[&control];
      if (!content) {
        content = std::make_unique<PictureContent>();
      }
      if (control.Kind() == ControlKind::kPictureBox) {
        const auto& picture = static_cast<const PictureBox&>(control);
        content->art = picture.Art();
        content->border = picture.Border();
      } else {
        content->art = static_cast<const Image&>(control).Art();
      }
      content->dpi = window.dpi;
      // The labels in a picture box are painted over its picture.
      content->paint_over = [this, &window, &control](HDC dc) {
        PaintLabels(dc, window, &control);
      };
      return CreatePictureWindow(window.top, id, content.get());
    }
    case ControlKind::kDrawing:
      return CreateDrawingWidget(window.top, static_cast<Drawing&>(control), 0, 0, 1, 1);
    case ControlKind::kLabel:  // painted by what holds it
    case ControlKind::kLine:
      break;
  }
  // Made where it stands, so that the refresh that follows need not move it (a combo box is
  // moved there, which also sets the height of its closed box).
  const std::array<int, 5> place = PlaceOf(control, window.dpi);
  HWND hwnd = CreateWindowExW(
      ex_style, window_class, L"", style, place[0], place[1], place[2], place[3], window.top,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control.Kind() != ControlKind::kComboBox) {
    shown_[&control].place = place;
  }
  if (control.Kind() == ControlKind::kTextBox && !IsLineView(control)) {
    // A text of 20,000 lines is far beyond the default 32 K characters.
    SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
  }
  if (control.Kind() == ControlKind::kCommandButton &&
      static_cast<const CommandButton&>(control).Graphical()) {
    HICON icon = ArtworkIcon(Artwork::kDatabase, MulDiv(32, static_cast<int>(window.dpi), 96));
    icons_.push_back(icon);
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }
  Subclass(hwnd);
  return hwnd;
}

// --- Model to controls --------------------------------------------------------------------

void Win32FrontEnd::SyncAll(Control& control) {
  for (const Property p : kRefreshOrder) {
    Sync(control, p);
  }
}

void Win32FrontEnd::ControlChanged(Control& control, Property property) {
  if (control.Kind() == ControlKind::kLine) {
    if (property == Property::kLinePoints || property == Property::kVisible ||
        property == Property::kColors) {
      Control* box = control.Container();
      HWND hwnd = box != nullptr ? HandleOf(*box) : WindowOf(control.Parent());
      if (hwnd != nullptr) {
        InvalidateRect(hwnd, nullptr, FALSE);
      }
    }
    return;
  }
  if (WindowOfForm(control.Parent()) != nullptr) {
    ++syncing_;
    Sync(control, property);
    --syncing_;
  }
}

void Win32FrontEnd::Sync(Control& control, Property property) {
  if (control.Kind() == ControlKind::kLabel) {
    SyncLabel(static_cast<const Label&>(control), property);
    return;
  }
  HWND hwnd = HandleOf(control);
  if (hwnd == nullptr) {
    // A control hidden when its window was built gets its own window as it first shows.
    Window* window = WindowOfForm(control.Parent());
    if (property == Property::kVisible && window != nullptr && ShownWithContainers(control)) {
      Attach(control, *window);
      SyncAll(control);
    }
    return;
  }
  ++syncing_;
  Shown& shown = shown_[&control];
  switch (property) {
    case Property::kGeometry:
      SyncGeometry(control, hwnd);
      break;
    // What a frame or picture box holds changes with it only when the box itself changed.
    case Property::kVisible:
      if (Changed(shown.visible, ShownWithContainers(control))) {
        ShowWindow(hwnd, *shown.visible ? SW_SHOWNA : SW_HIDE);
        SyncContents(control, property);
      }
      break;
    case Property::kEnabled:
      if (Changed(shown.enabled, EnabledWithContainers(control))) {
        EnableWindow(hwnd, *shown.enabled);
        SyncContents(control, property);
      }
      break;
    case Property::kToolTip:
      if (Changed(shown.tooltip, control.ToolTip())) {
        SyncToolTip(control);
      }
      break;
    case Property::kFont: {
      Window* window = WindowOfForm(control.Parent());
      HFONT font = look_.Font(control.Font(), window->dpi);
      if (!Changed(shown.font, font)) {
        break;
      }
      SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), IsWindowVisible(hwnd));
      if (IsLineView(control)) {
        if (SendMessageW(hwnd, LB_GETCOUNT, 0, 0) > 0) {
          const auto& box = static_cast<TextBox&>(control);
          SetLines(hwnd, box.Text(), CaretOf(box));  // the scroll bar's reach
        }
      } else if (control.Kind() == ControlKind::kTextBox) {
        // The narrow margins the model's boxes were laid out with (a new font resets them).
        const int margin = MulDiv(kTextMargin, static_cast<int>(window->dpi), 96);
        SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(margin, margin));
        // The line is centred again for the new font's height.
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      }
      break;
    }
    case Property::kColors:
      if (!Changed(shown.colors, std::pair{control.BackColor(), control.ForeColor()})) {
        break;
      }
      // A text box paints the padding around its line in its colour too, in its frame: one
      // invalidation takes both. A window not yet on the screen is painted whole when it comes.
      if (!IsWindowVisible(hwnd)) {
        break;
      }
      RedrawWindow(
          hwnd, nullptr, nullptr,
          RDW_INVALIDATE | RDW_ERASE | (control.Kind() == ControlKind::kTextBox ? RDW_FRAME : 0));
      break;
    case Property::kLocked:
      if (control.Kind() == ControlKind::kTextBox && !IsLineView(control) &&
          Changed(shown.locked, static_cast<TextBox&>(control).Locked())) {
        SendMessageW(hwnd, EM_SETREADONLY, *shown.locked, 0);
      }
      break;
    case Property::kText:
      SyncText(control, hwnd);
      break;
    case Property::kCaret:
      // The caret moved behind a tail still to be added (the list scrolled to its newest line):
      // the tail goes in now, which puts the caret at its end, and the list scrolls once.
      if (appends_.TakeWaiting(control)) {
        AppendTail(control, hwnd);
      } else {
        SyncCaret(control, hwnd);
      }
      break;
    case Property::kTextAppended:
      if (appends_.Grew(control)) {
        PostMessageW(GetAncestor(hwnd, GA_ROOT), kFlushAppends, 0, 0);
      }
      break;
    case Property::kItems:
    case Property::kListIndex:
      if (control.Kind() == ControlKind::kComboBox || control.Kind() == ControlKind::kListBox) {
        const bool combo = control.Kind() == ControlKind::kComboBox;
        const auto& list = static_cast<ListControl&>(control);
        if (property == Property::kItems && Changed(shown.items, list.Items())) {
          shown.list_index.reset();  // emptying the list took its choice
          SendMessageW(hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
          for (const auto& item : list.Items()) {
            const std::wstring text = Widen(item);
            SendMessageW(hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(text.c_str()));
          }
        }
        if (Changed(shown.list_index, list.ListIndex())) {
          SendMessageW(hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL,
                       static_cast<WPARAM>(list.ListIndex()), 0);
        }
      }
      break;
    case Property::kValue:
      if (control.Kind() == ControlKind::kCheckBox &&
          Changed(shown.value, static_cast<CheckBox&>(control).Value())) {
        SendMessageW(hwnd, BM_SETCHECK, *shown.value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    case Property::kLayers:
    case Property::kView:
      if (control.Kind() == ControlKind::kDrawing) {
        RedrawDrawingWidget(hwnd, static_cast<const Drawing&>(control));
      }
      break;
    case Property::kLinePoints:
      break;
  }
  --syncing_;
}

void Win32FrontEnd::SyncGeometry(Control& control, HWND hwnd) {
  const UINT dpi = WindowOfForm(control.Parent())->dpi;
  const std::array<int, 5> place = PlaceOf(control, dpi);
  if (!Changed(shown_[&control].place, place)) {
    return;
  }
  if (control.Kind() == ControlKind::kComboBox) {
    const int height = std::max(1, Pixels(control.Height(), dpi));
    // The closed box as tall as the layout has it (its border takes 6 pixels).
    const int field = height - MulDiv(6, static_cast<int>(dpi), 96);
    if (field > SendMessageW(hwnd, CB_GETITEMHEIGHT, 0, 0)) {
      SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
  }
  MoveWindow(hwnd, place[0], place[1], place[2], place[3], TRUE);
  if (auto picture = pictures_.find(&control); picture != pictures_.end()) {
    picture->second->dpi = dpi;
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  SyncContents(control, Property::kGeometry);
}

void Win32FrontEnd::SyncContents(const Control& container, Property property) {
  if (!IsContainer(container.Kind())) {
    return;
  }
  for (Control* control : container.Parent().Controls()) {
    if (control->Kind() != ControlKind::kLine && Inside(*control, container)) {
      Sync(*control, property);
    }
  }
}

void Win32FrontEnd::SyncToolTip(const Control& control) {
  Window* window = WindowOfForm(control.Parent());
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = window->top;
  HWND hwnd = HandleOf(control);
  const Control* box = control.Container();
  if (hwnd != nullptr) {
    tool.uFlags |= TTF_IDISHWND;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
  } else {
    // A label: the place it covers in the window its mouse goes to (a frame lets it through to
    // the window beneath).
    tool.uId = reinterpret_cast<UINT_PTR>(&control);
    tool.rect = LabelPlace(control);
    if (box != nullptr && box->Kind() == ControlKind::kPictureBox) {
      tool.hwnd = HandleOf(*box);
    } else {
      // The window relays its mouse to the tooltip itself (OnFormMessage): a tooltip that
      // subclassed it would read the window's properties at every message it gets.
      tool.uFlags = 0;
      const POINT origin = Origin(control, window->dpi);
      OffsetRect(&tool.rect, origin.x, origin.y);
    }
  }
  SendMessageW(window->tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (control.ToolTip().empty() || (hwnd == nullptr && shown_[&control].visible != true)) {
    return;
  }
  std::wstring text = Widen(control.ToolTip());
  tool.lpszText = text.data();
  SendMessageW(window->tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32FrontEnd::SyncText(Control& control, HWND hwnd) {
  std::wstring text;
  switch (control.Kind()) {
    case ControlKind::kTextBox: {
      auto& box = static_cast<TextBox&>(control);
      appends_.Shown(control, box.Text().size());
      if (IsLineView(control)) {
        SetLines(hwnd, box.Text(), CaretOf(box));
        return;
      }
      text = Widen(box.Text());
      // Compared as wide text, so a character the code page lacks is shown as the "?" it became.
      if (WindowText(hwnd) != text) {
        SetWindowTextW(hwnd, text.c_str());
      }
      SyncCaret(control, hwnd);
      return;
    }
    // The branches read the captions of different classes.
    // NOLINTNEXTLINE(bugprone-branch-clone)
    case ControlKind::kCommandButton:
      text = CaptionText(static_cast<CommandButton&>(control).Caption());
      break;
    case ControlKind::kCheckBox:
      text = CaptionText(static_cast<CheckBox&>(control).Caption());
      break;
    case ControlKind::kFrame:
      text = CaptionText(static_cast<Frame&>(control).Caption());
      break;
    default:
      return;
  }
  if (Changed(shown_[&control].caption, text)) {
    SetWindowTextW(hwnd, text.c_str());
  }
}

void Win32FrontEnd::SyncCaret(Control& control, HWND hwnd) {
  if (control.Kind() != ControlKind::kTextBox) {
    return;
  }
  const auto& box = static_cast<const TextBox&>(control);
  if (IsLineView(control)) {
    ShowLineOf(hwnd, box.Text(), CaretOf(box));
    return;
  }
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto want_start = static_cast<DWORD>(box.SelStart());
  const auto want_end = want_start + static_cast<DWORD>(box.SelLength());
  if (start != want_start || end != want_end) {
    SendMessageW(hwnd, EM_SETSEL, want_start, want_end);
    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
  }
}

void Win32FrontEnd::AppendTail(Control& control, HWND hwnd) {
  const auto& box = static_cast<const TextBox&>(control);
  const std::optional<std::size_t> shown = appends_.TailFrom(box);
  if (!shown) {
    SyncText(control, hwnd);
    return;
  }
  // Only the new tail goes in: a long list is never set whole per appended line.
  appends_.Shown(control, box.Text().size());
  if (IsLineView(control)) {
    AppendLines(hwnd, box.Text(), *shown, CaretOf(box));
    return;
  }
  const std::wstring tail = Widen(std::string_view(box.Text()).substr(*shown));
  const int end = GetWindowTextLengthW(hwnd);
  SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(tail.c_str()));
  SyncCaret(control, hwnd);
}

void Win32FrontEnd::Flush() {
  ApplyFocus();
  ++syncing_;
  for (const Control* control : appends_.TakeAllWaiting()) {
    if (HWND hwnd = HandleOf(*control)) {
      AppendTail(*const_cast<Control*>(control), hwnd);
    }
  }
  --syncing_;
}

// --- Windows ------------------------------------------------------------------------------

void Win32FrontEnd::SetWindowSize(Window& window) {
  const Form& form = *window.form;
  const int width = Pixels(form.Width(), window.dpi);
  const int height = Pixels(form.Height(), window.dpi);
  RECT client;
  GetClientRect(window.top, &client);
  if (client.right == width && client.bottom == height) {
    return;
  }
  const SIZE outer = OuterSize(width, height, FormStyle(form), 0, window.dpi);
  SetWindowPos(window.top, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FrontEnd::PlaceOnScreen(Window& window) {
  if (window.placed) {
    return;
  }
  window.placed = true;
  if (PlaceAtOwnPosition(window)) {
    return;
  }
  // A new window opens in the middle of the monitor the operator is working on.
  HWND near_to = GetForegroundWindow();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(
      MonitorFromWindow(near_to != nullptr ? near_to : window.top, MONITOR_DEFAULTTOPRIMARY),
      &monitor);
  RECT rect;
  GetWindowRect(window.top, &rect);
  const RECT& work = monitor.rcWork;
  const int x = work.left + std::max(0L, (work.right - work.left - (rect.right - rect.left)) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - (rect.bottom - rect.top)) / 2);
  SetWindowPos(window.top, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32FrontEnd::PlaceAtOwnPosition(const Window& window) {
  const std::optional<FormPosition>& position = window.form->Position();
  if (!position) {
    return false;
  }
  const POINT at{Pixels(position->left, window.dpi), Pixels(position->top, window.dpi)};
  // A monitor unplugged since leaves the window centred, never out of sight.
  if (MonitorFromPoint(POINT{at.x + 20, at.y + 20}, MONITOR_DEFAULTTONULL) == nullptr) {
    return false;
  }
  SetWindowPos(window.top, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void Win32FrontEnd::WindowMoved(const Window& window) {
  RECT frame;
  if (IsWindowVisible(window.top) && !IsIconic(window.top) && !IsZoomed(window.top) &&
      GetWindowRect(window.top, &frame)) {
    window.form->MoveTo({Twips(frame.left, window.dpi), Twips(frame.top, window.dpi)});
  }
}

void Win32FrontEnd::FormShown(Form& form) {
  ApplyFocus();  // where the handler put it before the window came
  Window* window = Build(form);
  ++syncing_;
  SetWindowTextW(window->top, Widen(form.Caption()).c_str());
  PlaceOnScreen(*window);
  ShowWindow(window->top, SW_SHOW);
  SetForegroundWindow(window->top);
  SetActiveWindow(window->top);
  if (Control* focus = screen_.ActiveControl(); focus != nullptr && &focus->Parent() == &form) {
    if (HWND hwnd = HandleOf(*focus)) {
      ::SetFocus(hwnd);
    }
  }
  --syncing_;
}

void Win32FrontEnd::FormHidden(Form& form) {
  ApplyFocus();
  if (Window* window = WindowOfForm(form)) {
    ++syncing_;
    ShowWindow(window->top, SW_HIDE);
    --syncing_;
  }
}

void Win32FrontEnd::FormUnloaded(Form& form) {
  if (pending_focus_ != nullptr && &pending_focus_->Parent() == &form) {
    pending_focus_ = nullptr;
  }
  ApplyFocus();
  auto it = windows_.find(&form);
  if (it == windows_.end()) {
    return;
  }
  Window& window = *it->second;
  for (Control* control : form.Controls()) {
    if (HWND hwnd = HandleOf(*control)) {
      control_of_.erase(hwnd);
      if (pictures_.count(control)) {
        DetachPicture(hwnd);
      }
    }
    handle_of_.erase(control);
    shown_.erase(control);
    appends_.Forget(*control);
    line_views_.erase(control);
    pictures_.erase(control);
  }
  ++syncing_;
  ShowWindow(window.top, SW_HIDE);
  --syncing_;
  window_of_handle_.erase(window.top);
  // The handler that unloaded the form may be running inside one of this window's messages.
  PostMessageW(window.top, kDestroyLater, 0, 0);
  windows_.erase(it);
}

void Win32FrontEnd::FormCaptionChanged(Form& form) {
  if (Window* window = WindowOfForm(form)) {
    ++syncing_;
    SetWindowTextW(window->top, Widen(form.Caption()).c_str());
    SetWindowSize(*window);
    --syncing_;
  }
}

void Win32FrontEnd::FocusChanged(Control* control) {
  if (control == nullptr) {
    return;
  }
  HWND hwnd = HandleOf(*control);
  if (hwnd == nullptr || GetFocus() == hwnd) {
    pending_focus_ = nullptr;
    return;
  }
  // The control takes the focus once the model's handler has run: a handler that passes the
  // focus through other controls on its way ("OK" shows the newest QSO in the list, then goes
  // back to the call) moves Windows' focus once. The posted message comes before the next key.
  if (pending_focus_ == nullptr) {
    PostMessageW(GetAncestor(hwnd, GA_ROOT), kApplyFocus, 0, 0);
  }
  pending_focus_ = control;
}

void Win32FrontEnd::ApplyFocus() {
  Control* control = std::exchange(pending_focus_, nullptr);
  HWND hwnd = control != nullptr ? HandleOf(*control) : nullptr;
  if (hwnd == nullptr || GetFocus() == hwnd || screen_.ActiveControl() != control) {
    return;
  }
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (!IsWindowVisible(top)) {
    return;  // FormShown gives it the focus.
  }
  ++syncing_;
  if (GetActiveWindow() != top) {
    SetForegroundWindow(top);
    SetActiveWindow(top);
  }
  ::SetFocus(hwnd);
  --syncing_;
}

}  // namespace keldra::win32

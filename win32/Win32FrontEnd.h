// The Windows front end: draws any Form as a top-level window of Windows' own controls (EDIT,
// BUTTON, COMBOBOX, LISTBOX, tooltips), each at its twips geometry scaled to the monitor's dots
// per inch, and binds them both ways. Labels are no windows of their own: the window, frame or
// picture box they sit in paints them (Win32FrontEndLabels.cpp). Keys go first to the model's
// KeyDown with their virtual key codes; a key a handler consumed never reaches the control.
// Otherwise the control edits natively and its new text reaches the model through UserEdit, so
// change handlers run exactly as when code writes the text. Focus and Tab follow the model's
// Screen. There is no contest logic here.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "widgets/Form.h"
#include "widgets/FrontEnd.h"
#include "widgets/FrontEndRules.h"
#include "widgets/Screen.h"
#include "win32/Widgets.h"
#include "win32/Win32Api.h"
#include "win32/Win32Look.h"
#include "win32/Win32Program.h"

namespace keldra {
class Label;
class TextBox;
}  // namespace keldra

namespace keldra::win32 {

class Win32FrontEnd : public FrontEnd {
 public:
  explicit Win32FrontEnd(Screen& screen);
  ~Win32FrontEnd() override;
  Win32FrontEnd(const Win32FrontEnd&) = delete;
  Win32FrontEnd& operator=(const Win32FrontEnd&) = delete;

  // The drawn window of a form, or null while it has never been shown.
  HWND WindowOf(const Form& form) const;
  // The window of the program's active form, or null when none is drawn.
  HWND ActiveWindow() const;
  // The control window that draws a control, or null (always for a label).
  HWND HandleOf(const Control& control) const;
  // Where a label is painted: the window that paints it, its place there, and what it shows.
  struct PaintedLabel {
    HWND host = nullptr;
    RECT place{};
    bool visible = false;
    std::wstring caption;
    HFONT font = nullptr;
  };
  std::optional<PaintedLabel> LabelOf(const Control& label) const;

  // Brings the lists' pending appends and the model's focus up to date at once; tests call it
  // before looking, and a message box before it shows.
  void Flush() override;

  // Runs the user-interface thread's message loop until PostQuitMessage; returns its exit code.
  static int RunMessageLoop();

  // ScreenObserver.
  void ControlChanged(Control& control, Property property) override;
  void FormShown(Form& form) override;
  void FormHidden(Form& form) override;
  void FormUnloaded(Form& form) override;
  void FormCaptionChanged(Form& form) override;
  void FocusChanged(Control* control) override;

 private:
  struct Window {
    Form* form = nullptr;
    HWND top = nullptr;
    HWND tooltip = nullptr;
    UINT dpi = 96;
    bool placed = false;
    int next_id = 100;               // of the next control window made
    std::vector<const Line*> lines;  // drawn on the window itself
    std::vector<Label*> labels;      // painted by the window, or the frame or box they are in
  };

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  // The control's own window procedure under the front end's (ControlProc).
  void Subclass(HWND hwnd);
  static LRESULT Base(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  LRESULT OnFormMessage(Window& window, UINT message, WPARAM w, LPARAM l);
  LRESULT OnControlMessage(Control& control, HWND hwnd, UINT message, WPARAM w, LPARAM l);
  LRESULT CentreSingleLine(const TextBox& box, HWND hwnd, LPARAM l);
  void PaintSingleLinePadding(const Control& control, HWND hwnd);
  bool OnKeyDown(Control& control, HWND hwnd, WPARAM w, LPARAM l);
  void OnCommand(Control& control, HWND hwnd, int code);
  void OnControlFocused(Control& control);
  LRESULT OnControlColor(HDC dc, HWND child);
  // Labels: their shown properties (Sync's share for them), the part of their host to paint
  // again, their tooltips, and the painting and clicks of the hosts.
  void SyncLabel(const Label& label, Property property);
  void InvalidateLabel(const Control& label, bool erase);
  HWND LabelHost(const Control& label) const;
  RECT LabelPlace(const Control& label) const;
  void PaintLabels(HDC dc, const Window& window, const Control* host);
  void DrawLabel(HDC dc, RECT area, const Label& label, HFONT font);
  // The label under a point of `host` (the picture box, or null for the window and its frames)
  // that takes clicks, or null.
  Label* ClickableLabelAt(const Window& window, const Control* host, POINT point) const;
  void FocusFirstControl(Window& window);
  static void RelayToToolTip(const Window& window, UINT message, WPARAM w, LPARAM l);
  // Gives Windows' focus to the control the model's focus last went to, if it has not yet.
  void ApplyFocus();
  void OnDpiChanged(Window& window, UINT dpi, const RECT& suggested);

  Window* Build(Form& form);
  // Makes the control's window and binds the two.
  HWND Attach(Control& control, Window& window);
  HWND Create(Control& control, Window& window, int id);
  void Sync(Control& control, Property property);
  void SyncAll(Control& control);
  void SyncText(Control& control, HWND hwnd);
  void SyncCaret(Control& control, HWND hwnd);
  void SyncGeometry(Control& control, HWND hwnd);
  void SyncToolTip(const Control& control);
  // A frame or picture box changed: what it holds is moved, shown or enabled with it.
  void SyncContents(const Control& container, Property property);
  void AppendTail(Control& control, HWND hwnd);
  void SetWindowSize(Window& window);
  void PlaceOnScreen(Window& window);
  // A window with a position of its own stands there, when a monitor still shows that place.
  static bool PlaceAtOwnPosition(const Window& window);
  // The operator moved a window: the form keeps where its frame stands.
  static void WindowMoved(const Window& window);
  Window* WindowOfForm(const Form& form) const;
  Window* WindowOfHandle(HWND top) const;
  Control* ControlOf(HWND hwnd) const;
  bool IsLineView(const Control& control) const { return line_views_.contains(&control); }

  // What the front end last set on a control's window: a refresh sets only what changed, as under
  // Wine every call is a request to its server and a window set again repaints.
  struct Shown {
    std::optional<std::array<int, 5>> place;  // left, top, width, height, and the dpi
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<bool> locked;
    std::optional<HFONT> font;
    std::optional<std::pair<Color, Color>> colors;
    std::optional<std::string> tooltip;
    std::optional<std::wstring> caption;
    std::optional<std::vector<std::string>> items;
    std::optional<int> list_index;
    std::optional<int> value;
  };
  // Whether `now` differs from what was last set; it is the last set from here on.
  template <typename T>
  static bool Changed(std::optional<T>& last, T now) {
    if (last == now) {
      return false;
    }
    last = std::move(now);
    return true;
  }

  Screen& screen_;
  Look look_;
  std::unordered_map<const Control*, Shown> shown_;
  std::map<const Form*, std::unique_ptr<Window>> windows_;
  std::unordered_map<HWND, Window*> window_of_handle_;
  std::unordered_map<HWND, Control*> control_of_;
  std::unordered_map<const Control*, HWND> handle_of_;
  std::unordered_map<const Control*, std::unique_ptr<PictureContent>> pictures_;
  // How much of a multi-line box's text its control shows, and the lists that grew since they
  // were last drawn.
  ListAppends appends_;
  // Locked multi-line boxes drawn as list boxes of their lines (Win32LineView.h).
  std::unordered_set<const Control*> line_views_;
  std::vector<HICON> icons_;
  HICON window_icon_big_ = nullptr;
  HICON window_icon_small_ = nullptr;
  // The control the model's focus went to during the handler that runs (FocusChanged).
  Control* pending_focus_ = nullptr;
  // Above zero while the front end writes a control from the model, so that the control's own
  // notifications are not sent back.
  int syncing_ = 0;
};

}  // namespace keldra::win32

#include "win32/Win32LineView.h"

#include <algorithm>
#include <string>

#include "win32/Win32Text.h"

namespace keldra::win32 {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kFewLines = 16;

// The widest line, in pixels, that the horizontal scroll bar must reach. A fixed-pitch font is
// reckoned from the count of characters, so a long list is never measured line by line.
int LineWidth(HDC dc, const TEXTMETRICW& metrics, const std::wstring& line) {
  // TMPF_FIXED_PITCH set means the font is *not* fixed pitch.
  if ((metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0 &&
      line.find(L'\t') == std::wstring::npos) {
    return static_cast<int>(line.size()) * static_cast<int>(metrics.tmAveCharWidth);
  }
  const DWORD size =
      GetTabbedTextExtentW(dc, line.c_str(), static_cast<int>(line.size()), 0, nullptr);
  return LOWORD(size);
}

// Holds a list's drawing while it changes: it is drawn once, afterwards. Every change a list
// draws at once updates its scroll bars, which takes milliseconds each under Wine.
class HeldRedraw {
 public:
  explicit HeldRedraw(HWND list) : list_(list) { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
  ~HeldRedraw() {
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
  HeldRedraw(const HeldRedraw&) = delete;
  HeldRedraw& operator=(const HeldRedraw&) = delete;

 private:
  HWND list_;
};

// The lines of `text` from `from` (the start of a line) go in after the list's first `keep`.
void AddLines(HWND list, std::string_view text, std::size_t from, int keep) {
  const auto lines = static_cast<WPARAM>(
      std::count(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), '\n') + 1);
  if (lines > kFewLines) {
    SendMessageW(list, LB_INITSTORAGE, lines, static_cast<LPARAM>(text.size() - from) * 2);
  }
  while (SendMessageW(list, LB_GETCOUNT, 0, 0) > keep) {
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(keep), 0);
  }
  HDC dc = GetDC(list);
  HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int margin = 2 * static_cast<int>(metrics.tmAveCharWidth);
  const auto reach = static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
  int widest = reach;
  while (from < text.size()) {
    std::size_t end = text.find(kLineEnd, from);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + kLineEnd.size();
    end = std::min(end, text.size());
    const std::wstring line = Widen(text.substr(from, end - from));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    widest = std::max(widest, LineWidth(dc, metrics, line) + margin);
    from = next;
  }
  SelectObject(dc, old_font);
  ReleaseDC(list, dc);
  if (widest != reach) {
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
  }
}

// Scrolls the least needed to bring the line holding character `position` into sight.
void ScrollToLineOf(HWND list, std::string_view text, std::size_t position) {
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  if (count == 0) {
    return;
  }
  // A caret at the end (a list's newest line) needs no count through a long text.
  const auto before = text.substr(0, std::min(position, text.size()));
  const int line =
      position >= text.size()
          ? count - 1
          : std::min(static_cast<int>(std::count(before.begin(), before.end(), '\n')), count - 1);
  RECT client;
  GetClientRect(list, &client);
  const int height = std::max(1, static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
  const int in_sight = std::max(1, static_cast<int>(client.bottom - client.top) / height);
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  if (line < top || line >= top + in_sight) {
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(line < top ? line : line - in_sight + 1),
                 0);
  }
}

}  // namespace

void SetLines(HWND list, std::string_view text, std::size_t caret) {
  HeldRedraw held(list);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  SendMessageW(list, LB_SETHORIZONTALEXTENT, 0, 0);
  AddLines(list, text, 0, 0);
  ScrollToLineOf(list, text, caret);
}

void AppendLines(HWND list, std::string_view text, std::size_t shown, std::size_t caret) {
  HeldRedraw held(list);
  // The line the shown text ended in, unless it ended with a line end, is shown again whole.
  std::size_t from = shown;
  int keep = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  if (shown > 0 && !text.substr(0, shown).ends_with(kLineEnd)) {
    // Within what was shown: a "\r" shown last may have just had its "\n" appended.
    const std::size_t last_end = text.substr(0, shown).rfind(kLineEnd);
    from = last_end == std::string_view::npos ? 0 : last_end + kLineEnd.size();
    keep = std::max(keep - 1, 0);
  }
  AddLines(list, text, from, keep);
  ScrollToLineOf(list, text, caret);
}

void ShowLineOf(HWND list, std::string_view text, std::size_t caret) {
  // One scroll at most, which the list draws by itself: a line already in sight repaints nothing.
  ScrollToLineOf(list, text, caret);
}

bool LineViewKey(HWND list, WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) {
    return false;
  }
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  if (key == 'A') {
    SendMessageW(list, LB_SELITEMRANGEEX, 0, std::max(count - 1, 0));
    return true;
  }
  if (key != 'C') {
    return false;
  }
  std::wstring copied;
  for (int i = 0; i < count; ++i) {
    if (SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
      std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
      copied += line + L"\r\n";
    }
  }
  if (copied.empty() || OpenClipboard(list) == FALSE) {
    return true;
  }
  EmptyClipboard();
  const std::size_t bytes = (copied.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::copy_n(copied.c_str(), copied.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
  return true;
}

}  // namespace keldra::win32

#include "win32/Widgets.h"

#include "win32/DrawingWidget.h"
#include "win32/Win32Look.h"

namespace keldra::win32 {
namespace {

constexpr const wchar_t* kPictureClass = L"KeldraPicture";

PictureContent* ContentOf(HWND window) { return AttachedTo<PictureContent>(window); }

void PaintPicture(HWND window, HDC dc) {
  RECT area;
  GetClientRect(window, &area);
  const PictureContent* content = ContentOf(window);
  // Painted off screen first: the needles move often and must not flicker.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
  const bool border = content != nullptr && content->border;
  FillRect(memory, &area, GetSysColorBrush(border ? COLOR_WINDOW : COLOR_BTNFACE));
  if (border) {
    HGDIOBJ old_pen = SelectObject(memory, GetStockObject(DC_PEN));
    SetDCPenColor(memory, RGB(160, 160, 160));
    HGDIOBJ old_brush = SelectObject(memory, GetStockObject(NULL_BRUSH));
    Rectangle(memory, 0, 0, area.right, area.bottom);
    SelectObject(memory, old_brush);
    SelectObject(memory, old_pen);
  }
  if (content != nullptr) {
    RECT inner{2, 2, area.right - 2, area.bottom - 2};
    PaintArtwork(memory, inner, content->art);
    PaintLines(memory, content->lines, content->dpi, POINT{0, 0});
    if (content->paint_over) {
      content->paint_over(memory);
    }
  }
  BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_NCCREATE:
      AttachToWindow(window, l);
      return DefWindowProcW(window, message, w, l);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintPicture(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintPicture(window, reinterpret_cast<HDC>(w));
      return 0;
    case WM_LBUTTONUP:
      SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), STN_CLICKED),
                   reinterpret_cast<LPARAM>(window));
      return 0;
    default:
      return DefWindowProcW(window, message, w, l);
  }
}

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) {
    return;
  }
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = name;
  RegisterClassExW(&window_class);
}

}  // namespace

HWND CreatePictureWindow(HWND parent, int id, PictureContent* content) {
  RegisterClassOnce(kPictureClass, PictureProc);
  HWND picture = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, 1,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), content);
  return picture;
}

void DetachPicture(HWND picture) { SetWindowLongPtrW(picture, GWLP_USERDATA, 0); }

void PaintLines(HDC dc, const std::vector<const Line*>& lines, UINT dpi, POINT origin) {
  for (const Line* line : lines) {
    if (!line->Visible()) {
      continue;
    }
    LOGBRUSH ink{BS_SOLID, ToColorRef(line->ForeColor()), 0};
    const auto width = static_cast<DWORD>(MulDiv(line->Thickness(), static_cast<int>(dpi), 96));
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND, width > 0 ? width : 1, &ink,
                            0, nullptr);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, origin.x + Pixels(line->X1(), dpi), origin.y + Pixels(line->Y1(), dpi), nullptr);
    LineTo(dc, origin.x + Pixels(line->X2(), dpi), origin.y + Pixels(line->Y2(), dpi));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
}

}  // namespace keldra::win32

#include "win32/DrawingWidget.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "win32/GdiplusPainting.h"
#include "win32/Win32Api.h"

namespace keldra::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KeldraDrawing";
// The system's hand and four-way arrow (IDC_HAND, IDC_SIZEALL), named wide whatever UNICODE is.
const LPCWSTR kCursorHand = MAKEINTRESOURCEW(32649);
const LPCWSTR kCursorMoving = MAKEINTRESOURCEW(32646);

// What one drawing window keeps: the model it shows, the painted frame, the operator's drag and
// the tooltip over the dot under the mouse.
struct View {
  Drawing* drawing = nullptr;
  DrawingPainting painting;
  PixelBuffer frame;
  HWND tooltip = nullptr;
  std::optional<DrawPoint> drag_from;  // in the drawing's pixels
  DrawPoint drag_centre;
  const Marker* tip_marker = nullptr;
  std::wstring tip_text;
  bool tracking_leave = false;
};

View* ViewOf(HWND hwnd) { return AttachedTo<View>(hwnd); }

// The drawing is laid out in pixels of 96 to the inch; on a screen of more (125 %, 150 %) its
// window is larger by as much, and a point of the window is this point of the drawing.
DrawPoint DrawingPixel(HWND hwnd, const Drawing& drawing, POINT at) {
  RECT client;
  GetClientRect(hwnd, &client);
  const double width = TwipsToPixels(drawing.Width());
  const double height = TwipsToPixels(drawing.Height());
  return {client.right > 0 && width > 0 ? at.x * width / client.right : at.x,
          client.bottom > 0 && height > 0 ? at.y * height / client.bottom : at.y};
}

TTTOOLINFOW ToolInfo(HWND hwnd) {
  TTTOOLINFOW info{};
  // The size comctl32 5 and 6 both accept.
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  info.hwnd = hwnd;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd);
  return info;
}

HWND MakeTooltip(HWND hwnd) {
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tip != nullptr) {
    TTTOOLINFOW info = ToolInfo(hwnd);
    info.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  return tip;
}

// Shows the tooltip of the dot under the mouse beside it, or hides it when there is none.
void FollowTooltip(HWND hwnd, View& view, POINT at) {
  const DrawPoint p = DrawingPixel(hwnd, *view.drawing, at);
  const Marker* marker = view.drag_from ? nullptr : view.drawing->MarkerAt(p.x, p.y);
  if (view.tooltip == nullptr || marker == view.tip_marker) {
    return;
  }
  view.tip_marker = marker;
  TTTOOLINFOW info = ToolInfo(hwnd);
  if (marker == nullptr) {
    SendMessageW(view.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    return;
  }
  view.tip_text = Widen(marker->tooltip);
  info.lpszText = view.tip_text.data();
  SendMessageW(view.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  POINT screen{at.x + 12, at.y + 16};
  ClientToScreen(hwnd, &screen);
  SendMessageW(view.tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
  SendMessageW(view.tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void HideTooltip(HWND hwnd, View& view) {
  if (view.tooltip != nullptr && view.tip_marker != nullptr) {
    TTTOOLINFOW info = ToolInfo(hwnd);
    SendMessageW(view.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  }
  view.tip_marker = nullptr;
}

void ZoomAbout(HWND hwnd, View& view, double factor, double x, double y) {
  view.drawing->UserView(view.drawing->ZoomedAbout(factor, x, y));
  HideTooltip(hwnd, view);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void Paint(HWND hwnd, View& view) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  view.painting.Paint(view.frame, *view.drawing);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = view.frame.width;
  info.bmiHeader.biHeight = -view.frame.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  RECT client;
  GetClientRect(hwnd, &client);
  if (client.right == view.frame.width && client.bottom == view.frame.height) {
    SetDIBitsToDevice(
        dc, 0, 0, static_cast<DWORD>(view.frame.width), static_cast<DWORD>(view.frame.height), 0, 0,
        0, static_cast<UINT>(view.frame.height), view.frame.pixels.data(), &info, DIB_RGB_COLORS);
  } else {
    // A screen of more than 96 pixels to the inch: the map's pixels stretched to the window.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, view.frame.width, view.frame.height,
                  view.frame.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
  // The frame around it, as the other boxes of the window have.
  HBRUSH edge = CreateSolidBrush(RGB(160, 160, 160));
  FrameRect(dc, &client, edge);
  DeleteObject(edge);
  EndPaint(hwnd, &ps);
}

LRESULT OnMouse(HWND hwnd, View& view, UINT message, LPARAM lp) {
  const POINT client_at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const DrawPoint at = DrawingPixel(hwnd, *view.drawing, client_at);
  switch (message) {
    case WM_LBUTTONDOWN:
      ::SetFocus(hwnd);
      SetCapture(hwnd);
      view.drag_from = at;
      view.drag_centre = view.drawing->View().centre;
      HideTooltip(hwnd, view);
      break;
    case WM_MOUSEMOVE:
      if (!view.tracking_leave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
        view.tracking_leave = TrackMouseEvent(&track) != FALSE;
      }
      if (view.drag_from) {
        view.drawing->UserView(view.drawing->Dragged(view.drag_centre, at.x - view.drag_from->x,
                                                     at.y - view.drag_from->y));
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      FollowTooltip(hwnd, view, client_at);
      break;
    case WM_LBUTTONUP: {
      const std::optional<DrawPoint> from = view.drag_from;
      view.drag_from.reset();
      ReleaseCapture();
      if (from) {
        view.drawing->UserRelease(*from, at);
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

LRESULT CALLBACK DrawingProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_NCCREATE) {
    AttachToWindow(hwnd, lp);
    return DefWindowProcW(hwnd, message, wp, lp);
  }
  View* view = ViewOf(hwnd);
  if (view == nullptr) {
    return DefWindowProcW(hwnd, message, wp, lp);
  }
  switch (message) {
    case WM_CREATE:
      view->tooltip = MakeTooltip(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, *view);
      return 0;
    case WM_GETDLGCODE:
      // + and - reach the map even inside a dialog's keyboard handling.
      return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_MOUSEWHEEL: {
      const double steps = GET_WHEEL_DELTA_WPARAM(wp) / static_cast<double>(WHEEL_DELTA);
      POINT client_at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // in screen coordinates
      ScreenToClient(hwnd, &client_at);
      const DrawPoint at = DrawingPixel(hwnd, *view->drawing, client_at);
      if (steps != 0) {
        ZoomAbout(hwnd, *view, std::pow(Drawing::kZoomStep, steps), at.x, at.y);
      }
      return 0;
    }
    case WM_KEYDOWN: {
      const double mid_x = TwipsToPixels(view->drawing->Width()) / 2;
      const double mid_y = TwipsToPixels(view->drawing->Height()) / 2;
      if (wp == VK_ADD || wp == VK_OEM_PLUS) {
        ZoomAbout(hwnd, *view, Drawing::kZoomStep, mid_x, mid_y);
        return 0;
      }
      if (wp == VK_SUBTRACT || wp == VK_OEM_MINUS) {
        ZoomAbout(hwnd, *view, 1 / Drawing::kZoomStep, mid_x, mid_y);
        return 0;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return OnMouse(hwnd, *view, message, lp);
    case WM_CAPTURECHANGED:
      view->drag_from.reset();
      return 0;
    case WM_MOUSELEAVE:
      view->tracking_leave = false;
      HideTooltip(hwnd, *view);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, view->drag_from ? kCursorMoving : kCursorHand));
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete view;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wp, lp);
}

bool RegisterOnce() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DrawingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, kCursorHand);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

}  // namespace

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
}

GdiplusSession::~GdiplusSession() {
  if (started_) {
    Gdiplus::GdiplusShutdown(token_);
  }
}

HWND CreateDrawingWidget(HWND parent, Drawing& drawing, int x, int y, int w, int h) {
  if (!RegisterOnce()) {
    return nullptr;
  }
  auto view = std::make_unique<View>();
  view->drawing = &drawing;
  HWND hwnd = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, w, h,
                              parent, nullptr, GetModuleHandleW(nullptr), view.get());
  if (hwnd != nullptr) {
    view.release();  // the window owns it now and deletes it in WM_NCDESTROY
  }
  return hwnd;
}

void RedrawDrawingWidget(HWND view, const Drawing& drawing) {
  if (View* state = ViewOf(view); state != nullptr && state->drawing == &drawing) {
    // The dot under the tooltip may have gone with its layer.
    HideTooltip(view, *state);
    InvalidateRect(view, nullptr, FALSE);
  }
}

void PaintArtwork(HDC dc, const RECT& area, Artwork art) {
  // Painted into pixels of its own, then laid over the device context: Wine's GDI+, drawing the
  // square-capped lines straight onto a device context, left stubs at the antenna's ends.
  PixelBuffer pixels = ArtworkPixels(art, area.right - area.left, area.bottom - area.top);
  Gdiplus::Bitmap bitmap(pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(pixels.pixels.data()));
  Gdiplus::Graphics g(dc);
  g.DrawImage(&bitmap, static_cast<INT>(area.left), static_cast<INT>(area.top), pixels.width,
              pixels.height);
}

HICON ArtworkIcon(Artwork art, int size) {
  PixelBuffer pixels = ArtworkPixels(art, size);
  Gdiplus::Bitmap bitmap(pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(pixels.pixels.data()));
  HICON icon = nullptr;
  return bitmap.GetHICON(&icon) == Gdiplus::Ok ? icon : nullptr;
}

std::optional<std::string> ArtworkPng(Artwork art, int size) {
  return EncodePng(ArtworkPixels(art, size), true);
}

std::optional<std::string> Win32DrawingPainter::Png(const Drawing& drawing) {
  DrawingPainting painting;
  PixelBuffer frame;
  painting.Paint(frame, drawing);
  return EncodePng(frame, false);
}

}  // namespace keldra::win32

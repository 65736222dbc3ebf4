// The drawing control's window as the operator works it through Windows messages: the wheel zooms
// about the cursor, + and - about the middle, a drag pans, the scale stays within the model's
// limits, every change reaches the model as the operator's view; a click takes the focus; the
// tooltip of the dot under the mouse appears and goes.
#include <windows.h>
// clang-format off: the common controls need the Windows types first.
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include "Win32DrawTest.h"

namespace keldra::testing {
namespace {

class DrawingWidgetTest : public DrawingTest {
 protected:
  DrawingWidgetTest() {
    map.min_scale = 0.5;
    map.max_scale = 8;
    map.SetView({{0, 0}, 2});
    map.ViewChanged = [this] { ++view_changes; };
    top = CreateWindowExW(0, L"STATIC", L"Mappa", WS_OVERLAPPEDWINDOW, 100, 100, 260, 160, nullptr,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
    view = win32::CreateDrawingWidget(top, map, 10, 10, 200, 100);
  }
  ~DrawingWidgetTest() override { DestroyWindow(top); }

  void Wheel(int notches, POINT at) {
    ClientToScreen(view, &at);
    SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(at.x, at.y));
  }
  void Key(WPARAM key) { SendMessageW(view, WM_KEYDOWN, key, 0); }
  void Mouse(UINT message, int x, int y) {
    SendMessageW(view, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }

  HWND top = nullptr;
  HWND view = nullptr;
  int view_changes = 0;
};

TEST_F(DrawingWidgetTest, WheelZoomsAboutTheCursorWithinTheLimits) {
  ASSERT_NE(view, nullptr);
  const DrawPoint under = map.ToUnits(150, 30);
  Wheel(1, {150, 30});
  EXPECT_DOUBLE_EQ(map.View().scale, 2.5);
  EXPECT_NEAR(map.ToUnits(150, 30).x, under.x, 1e-9);
  EXPECT_NEAR(map.ToUnits(150, 30).y, under.y, 1e-9);
  EXPECT_EQ(view_changes, 1);
  Wheel(-2, {20, 80});
  EXPECT_DOUBLE_EQ(map.View().scale, 1.6);
  Wheel(20, {100, 50});
  EXPECT_DOUBLE_EQ(map.View().scale, 8);
  Wheel(-40, {100, 50});
  EXPECT_DOUBLE_EQ(map.View().scale, 0.5);
}

TEST_F(DrawingWidgetTest, PlusAndMinusZoomAboutTheMiddle) {
  map.SetView({{30, -10}, 2});
  view_changes = 0;
  for (const WPARAM plus : {VK_ADD, VK_OEM_PLUS}) {
    Key(plus);
  }
  EXPECT_DOUBLE_EQ(map.View().scale, 3.125);
  EXPECT_NEAR(map.View().centre.x, 30, 1e-9);
  EXPECT_NEAR(map.View().centre.y, -10, 1e-9);
  Key(VK_SUBTRACT);
  Key(VK_OEM_MINUS);
  EXPECT_DOUBLE_EQ(map.View().scale, 2);
  Key('A');
  EXPECT_EQ(view_changes, 4);
}

TEST_F(DrawingWidgetTest, DragPansAndTakesTheFocus) {
  Mouse(WM_LBUTTONDOWN, 50, 50);
  EXPECT_EQ(GetFocus(), view);
  Mouse(WM_MOUSEMOVE, 70, 40);
  Mouse(WM_MOUSEMOVE, 90, 30);
  Mouse(WM_LBUTTONUP, 90, 30);
  // The units that were under the button when it went down are under it where it came up.
  EXPECT_NEAR(map.View().centre.x, -20, 1e-9);
  EXPECT_NEAR(map.View().centre.y, 10, 1e-9);
  EXPECT_DOUBLE_EQ(map.View().scale, 2);
  Mouse(WM_MOUSEMOVE, 10, 10);  // the button is up: no pan
  EXPECT_NEAR(map.View().centre.x, -20, 1e-9);
  EXPECT_EQ(view_changes, 2);
}

// The tooltip window the view made, if it is showing.
HWND ShownTooltip() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM out) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (std::wstring(name) == TOOLTIPS_CLASSW && IsWindowVisible(hwnd)) {
          *reinterpret_cast<HWND*>(out) = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(DrawingWidgetTest, TooltipOfTheDotUnderTheMouse) {
  DrawingLayer dots;
  dots.markers.push_back({.at = {10, 0}, .color = kBlack, .tooltip = "QX1AAA JN61"});
  dots.markers.push_back({.at = {-20, 0}, .color = kBlack, .tooltip = "QX2B\xC8 JN45"});
  map.SetLayer(0, dots);
  win32::RedrawDrawingWidget(view, map);
  SendMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(121, 51));  // 1 pixel from (10, 0)
  HWND tip = ShownTooltip();
  ASSERT_NE(tip, nullptr);
  wchar_t text[80] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = view;
  info.uId = reinterpret_cast<UINT_PTR>(view);
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::wstring(text), L"QX1AAA JN61");
  SendMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(60, 50));
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::wstring(text), L"QX2B\u00C8 JN45");
  SendMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(100, 90));  // nowhere near a dot
  EXPECT_EQ(ShownTooltip(), nullptr);
}

// On a screen of 144 pixels to the inch the window is half as large again as the drawing's layout:
// the mouse's points are the drawing's, scaled back.
TEST_F(DrawingWidgetTest, AtAHigherDpiTheMouseStandsWhereTheDrawingIs) {
  SetWindowPos(view, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const DrawPoint under = map.ToUnits(150, 30);
  Wheel(1, {225, 45});
  EXPECT_NEAR(map.ToUnits(150, 30).x, under.x, 1e-9);
  EXPECT_NEAR(map.ToUnits(150, 30).y, under.y, 1e-9);
  DrawingLayer dots;
  dots.markers.push_back({.at = {0, 0}, .color = kBlack, .tooltip = "QX1AAA JN61"});
  map.SetLayer(0, dots);
  map.SetView({{0, 0}, 2});
  win32::RedrawDrawingWidget(view, map);
  SendMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(152, 77));  // the dot at (100, 50), times 1.5
  EXPECT_NE(ShownTooltip(), nullptr);
  Mouse(WM_LBUTTONDOWN, 150, 75);
  Mouse(WM_MOUSEMOVE, 180, 75);  // 30 of the window's pixels, 20 of the drawing's
  Mouse(WM_LBUTTONUP, 180, 75);
  EXPECT_DOUBLE_EQ(map.View().centre.x, -10);
}

}  // namespace
}  // namespace keldra::testing

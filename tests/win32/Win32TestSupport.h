// Front-end test support for Windows: a Program on a temporary folder drawn by the real Win32
// front end, keys posted to the focused control and delivered by a message loop like the
// program's (TranslateMessage makes the characters), and screenshots of the windows' client areas
// saved as BMP under the build folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "win32/Win32FrontEnd.h"
#include "win32/Win32Text.h"

namespace keldra::testing {

// Under Wine the windows need an X display; without one every test is skipped, saying so.
class WindowSystemCheck : public ::testing::Environment {
 public:
  void SetUp() override {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    if (probe == nullptr) {
      GTEST_SKIP() << "no window system: under Wine start an X server first, for example "
                      "'Xvfb :71 & export DISPLAY=:71'";
    }
    DestroyWindow(probe);
  }
};
inline ::testing::Environment* const kWindowSystemCheck =
    ::testing::AddGlobalTestEnvironment(new WindowSystemCheck);

class Win32ProgramTest : public ProgramTest {
 protected:
  // The front end attached before the program starts, as in the real program.
  win32::Win32FrontEnd& FrontEnd() {
    if (!front_end_) {
      front_end_ = std::make_unique<win32::Win32FrontEnd>(program().Desktop());
    }
    return *front_end_;
  }
  ~Win32ProgramTest() override {
    front_end_.reset();
    program_.reset();
  }

  // Delivers everything queued, as the program's message loop would.
  void Settle() {
    MSG message;
    for (int round = 0; round < 3; ++round) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    FrontEnd().Flush();
  }

  HWND Handle(const Control& control) { return FrontEnd().HandleOf(control); }
  // A label is painted by the window or box that holds it.
  bool Shown(const Control& control) {
    if (const auto label = FrontEnd().LabelOf(control)) {
      return label->visible && IsWindowVisible(label->host);
    }
    HWND hwnd = Handle(control);
    return hwnd != nullptr && IsWindowVisible(hwnd);
  }
  bool Drawn(const Form& form) {
    HWND hwnd = FrontEnd().WindowOf(form);
    return hwnd != nullptr && IsWindowVisible(hwnd);
  }
  // What the control shows, in the model's code page.
  std::string Shows(const Control& control) {
    if (const auto label = FrontEnd().LabelOf(control)) {
      return win32::Narrow(label->caption);
    }
    return Shows(Handle(control));
  }
  static std::string Shows(HWND hwnd) {
    if (hwnd == nullptr) {
      return "(no window)";
    }
    wchar_t window_class[16] = {};
    GetClassNameW(hwnd, window_class, 16);
    std::wstring text;
    if (std::wstring_view(window_class) == L"ListBox") {
      // A locked box's lines, each with its line end.
      const auto lines = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
      for (int i = 0; i < lines; ++i) {
        std::wstring line(static_cast<std::size_t>(SendMessageW(hwnd, LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        text += line + L"\r\n";
      }
      return win32::Narrow(text);
    }
    text.resize(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1);
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), text.size())));
    return win32::Narrow(text);
  }

  // One key down and up at the focused control, with Shift held or not.
  void Key(UINT virtual_key, bool shift = false, bool control = false) {
    BYTE state[256] = {};
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
    FrontEnd().Flush();  // a key comes after what the loop was given before it, the focus too
    HWND target = GetFocus();
    const UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, virtual_key, 1 | (scan << 16) | 0xC0000000u);
    Settle();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  // Types text as key strokes: "\n" is Enter, upper case letters with Shift.
  void Keys(const std::string& keys) {
    for (char c : keys) {
      if (c == '\n') {
        Key(VK_RETURN);
        continue;
      }
      const SHORT scan = VkKeyScanW(static_cast<wchar_t>(static_cast<unsigned char>(c)));
      ASSERT_NE(scan, -1) << "no key types '" << c << "'";
      Key(LOBYTE(scan), (HIBYTE(scan) & 1) != 0);
    }
  }
  // A mouse click in the middle of a control.
  void Click(HWND hwnd) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    Settle();
  }

  // The window's client area as it stands on the screen, opaque 0x00RRGGBB pixels, top row first.
  static std::vector<DWORD> Captured(HWND hwnd, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC source = GetDC(hwnd);
    HBITMAP picture = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits),
                              static_cast<const DWORD*>(bits) + std::max(0, width * height));
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    ReleaseDC(hwnd, source);
    // GDI leaves the alpha bytes at 0; the picture is opaque.
    for (DWORD& pixel : pixels) {
      pixel |= 0xFF000000u;
    }
    return pixels;
  }

  // Saves the client area of a window as a BMP under the build folder's screenshots/.
  void Screenshot(const Form& form, const std::string& name) {
    Settle();
    HWND top = FrontEnd().WindowOf(form);
    ASSERT_NE(top, nullptr);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle();
    RECT client;
    GetClientRect(top, &client);
    const char* folder = std::getenv("KELDRA_SCREENSHOTS");
    const std::filesystem::path dir = folder != nullptr ? std::filesystem::path(folder)
                                                        : std::filesystem::current_path() / "shots";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(SaveBmp(top, client.right, client.bottom, dir / (name + ".bmp")));
  }

 private:
  static bool SaveBmp(HWND top, int width, int height, const std::filesystem::path& file) {
    const std::vector<DWORD> pixels = Captured(top, width, height);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    const auto size = static_cast<DWORD>(width * height * 4);
    BITMAPFILEHEADER file_header{};
    file_header.bfType = 0x4D42;
    file_header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file_header.bfSize = file_header.bfOffBits + size;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file_header), sizeof(file_header));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(pixels.data()), size);
    return out.good() && width > 0 && height > 0;
  }

  std::unique_ptr<win32::Win32FrontEnd> front_end_;
};

}  // namespace keldra::testing

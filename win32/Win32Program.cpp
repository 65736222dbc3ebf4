#include "win32/Win32Program.h"

#include "win32/DrawingWidget.h"
#include "win32/Win32Background.h"
#include "win32/Win32FrontEnd.h"
#include "win32/Win32Text.h"

namespace keldra::win32 {

DeviceEvents::DeviceEvents() : queue_(std::make_unique<Win32EventQueue>()) {}

DeviceEvents::~DeviceEvents() = default;

void DeviceEvents::Post(std::function<void()> job) { queue_->Post(std::move(job)); }

Session::Session(Screen& screen, Win32MessageBox& messages)
    : messages_(messages),
      gdiplus_(std::make_unique<GdiplusSession>()),
      painter_(std::make_unique<Win32DrawingPainter>()),
      front_end_(std::make_unique<Win32FrontEnd>(screen)),
      background_(std::make_unique<Win32Background>()) {
  messages_.Attach(front_end_.get());
}

Session::~Session() {
  background_.reset();
  messages_.Attach(nullptr);
  front_end_.reset();
  painter_.reset();
  gdiplus_.reset();
}

Background& Session::Tasks() { return *background_; }

DrawingPainter& Session::Painter() { return *painter_; }

int Session::Run() { return Win32FrontEnd::RunMessageLoop(); }

void Session::Quit(int exit_code) { PostQuitMessage(exit_code); }

void Win32MessageBox::Show(const std::string& text, const std::string& title, MessageIcon icon) {
  UINT style = MB_OK | MB_SETFOREGROUND;
  if (icon == MessageIcon::kInformation) {
    style |= MB_ICONINFORMATION;
  } else if (icon == MessageIcon::kCritical) {
    style |= MB_ICONERROR;
  }
  // Owned by the active window, so the operator answers it before going on there; that window
  // shows what the handler did up to here, its focus included.
  HWND owner = nullptr;
  if (front_end_ != nullptr) {
    front_end_->Flush();
    owner = front_end_->ActiveWindow();
  }
  MessageBoxW(owner != nullptr ? owner : GetActiveWindow(), Widen(text).c_str(),
              Widen(title).c_str(), style);
}

}  // namespace keldra::win32

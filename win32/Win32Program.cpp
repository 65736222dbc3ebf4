#include "win32/Win32Program.h"

#include "win32/DrawingView.h"
#include "win32/Win32Background.h"
#include "win32/Win32FrontEnd.h"

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

}  // namespace keldra::win32

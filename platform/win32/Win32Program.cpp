#include "platform/win32/Win32Program.h"

#include "platform/win32/Win32Background.h"
#include "platform/win32/Win32FrontEnd.h"

namespace keldra::win32 {

Session::Session(Screen& screen, Win32MessageBox& messages)
    : messages_(messages),
      front_end_(std::make_unique<Win32FrontEnd>(screen)),
      background_(std::make_unique<Win32Background>()) {
  messages_.Attach(front_end_.get());
}

Session::~Session() {
  background_.reset();
  messages_.Attach(nullptr);
  front_end_.reset();
}

Background& Session::Tasks() { return *background_; }

int Session::Run() { return Win32FrontEnd::RunMessageLoop(); }

void Session::Quit(int exit_code) { PostQuitMessage(exit_code); }

}  // namespace keldra::win32

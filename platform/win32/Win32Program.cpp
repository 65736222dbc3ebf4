#include "platform/win32/Win32Program.h"

#include "platform/win32/Win32Background.h"
#include "platform/win32/Win32FrontEnd.h"

namespace keldra::win32 {

Session::Session(Screen& screen)
    : front_end_(std::make_unique<Win32FrontEnd>(screen)),
      background_(std::make_unique<Win32Background>()) {}

Session::~Session() {
  background_.reset();
  front_end_.reset();
}

Background& Session::Tasks() { return *background_; }

int Session::Run() { return Win32FrontEnd::RunMessageLoop(); }

void Session::Quit(int exit_code) { PostQuitMessage(exit_code); }

}  // namespace keldra::win32

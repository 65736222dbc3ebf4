// What app/ needs to start the Windows program, without the Windows headers: the message boxes
// the Program is built with, and the session of the front end (its windows drawn for the
// program's Screen, its background work, the message loop) that runs until the program ends.
#pragma once

#include <memory>
#include <string>

#include "platform/Background.h"
#include "platform/Screen.h"
#include "platform/Services.h"

namespace keldra::win32 {

class Win32FrontEnd;
class Win32Background;

// Message boxes as Windows' own, modal to the program's active window (the front end's, once one
// is attached; before that, whatever window of the program is active).
class Win32MessageBox : public MessageBox {
 public:
  void Attach(const Win32FrontEnd* front_end) { front_end_ = front_end; }
  void Show(const std::string& text, const std::string& title, MessageIcon icon) override;

 private:
  const Win32FrontEnd* front_end_ = nullptr;
};

class Session {
 public:
  // Made on the user-interface thread, before the program shows its first window; the message
  // boxes are then owned by the program's active window.
  Session(Screen& screen, Win32MessageBox& messages);
  // Waits for background work still running, then closes the windows.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Background& Tasks();
  // Runs the message loop until Quit; returns the exit code given there.
  int Run();
  // Ends the message loop (the program's OnEnd).
  static void Quit(int exit_code = 0);

 private:
  Win32MessageBox& messages_;
  std::unique_ptr<Win32FrontEnd> front_end_;
  std::unique_ptr<Win32Background> background_;
};

}  // namespace keldra::win32

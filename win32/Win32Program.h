// What app/ needs to start the Windows program, without the Windows headers: the message boxes
// the Program is built with, and the session of the front end (its windows drawn for the
// program's Screen, its background work, the message loop) that runs until the program ends.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "system/Background.h"
#include "widgets/Drawing.h"
#include "widgets/MessageBox.h"
#include "widgets/Screen.h"

namespace keldra::win32 {

class Win32FrontEnd;
class Win32Background;
class Win32EventQueue;
class GdiplusSession;
class Win32DrawingPainter;

// Hands jobs from any thread (the rig's and the rotator's readings) to the user-interface thread,
// in order; made on that thread, and jobs still queued when it ends are dropped.
class DeviceEvents {
 public:
  DeviceEvents();
  ~DeviceEvents();
  DeviceEvents(const DeviceEvents&) = delete;
  DeviceEvents& operator=(const DeviceEvents&) = delete;
  void Post(std::function<void()> job);

 private:
  std::unique_ptr<Win32EventQueue> queue_;
};

// Message boxes as Windows' own, modal to the program's active window (the front end's, once one
// is attached; before that, whatever window of the program is active).
class Win32MessageBox : public MessageBox {
 public:
  void Attach(Win32FrontEnd* front_end) { front_end_ = front_end; }
  void Show(const std::string& text, const std::string& title, MessageIcon icon) override;

 private:
  Win32FrontEnd* front_end_ = nullptr;
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
  // Paints the map into a PNG ("Salva immagine").
  DrawingPainter& Painter();
  // Runs the message loop until Quit; returns the exit code given there.
  int Run();
  // Ends the message loop (the program's OnEnd).
  static void Quit(int exit_code = 0);

 private:
  Win32MessageBox& messages_;
  // First made and last gone: every picture and the map are painted with GDI+.
  std::unique_ptr<GdiplusSession> gdiplus_;
  std::unique_ptr<Win32DrawingPainter> painter_;
  std::unique_ptr<Win32FrontEnd> front_end_;
  std::unique_ptr<Win32Background> background_;
};

}  // namespace keldra::win32

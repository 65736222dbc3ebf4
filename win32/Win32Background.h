// Work and device events for the Windows front end. Win32EventQueue hands jobs from any thread to
// the user-interface thread through a message-only window, in the order they were posted; jobs
// still queued when it ends are dropped. Win32Background runs each job on a thread of its own and
// posts its `done` part through such a queue; ending it waits for the threads still working.
#pragma once

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "system/Background.h"
#include "win32/Win32Api.h"

namespace keldra::win32 {

class Win32EventQueue {
 public:
  // Made on the user-interface thread, which then runs the jobs.
  Win32EventQueue();
  ~Win32EventQueue();
  Win32EventQueue(const Win32EventQueue&) = delete;
  Win32EventQueue& operator=(const Win32EventQueue&) = delete;

  // From any thread.
  void Post(std::function<void()> job);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  HWND window_ = nullptr;
};

class Win32Background : public Background {
 public:
  Win32Background() = default;
  ~Win32Background() override;
  Win32Background(const Win32Background&) = delete;
  Win32Background& operator=(const Win32Background&) = delete;

  void Run(std::function<void()> work, std::function<void()> done) override;

 private:
  Win32EventQueue results_;
  std::mutex mutex_;
  std::vector<std::thread> threads_;
};

}  // namespace keldra::win32

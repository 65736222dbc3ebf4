#include "win32/Win32Background.h"

#include <memory>

namespace keldra::win32 {
namespace {

constexpr const wchar_t* kQueueClass = L"KeldraEventQueue";
constexpr UINT kRunJob = WM_APP + 2;

}  // namespace

Win32EventQueue::Win32EventQueue() {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &Win32EventQueue::Procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kQueueClass;
  RegisterClassExW(&window_class);  // fails harmlessly when a queue registered it before
  window_ = CreateWindowExW(0, kQueueClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

Win32EventQueue::~Win32EventQueue() {
  // Jobs still waiting are freed, never run: what they would update is going away.
  MSG message;
  while (PeekMessageW(&message, window_, kRunJob, kRunJob, PM_REMOVE)) {
    delete reinterpret_cast<std::function<void()>*>(message.lParam);
  }
  DestroyWindow(window_);
}

void Win32EventQueue::Post(std::function<void()> job) {
  auto* owned = new std::function<void()>(std::move(job));
  if (!PostMessageW(window_, kRunJob, 0, reinterpret_cast<LPARAM>(owned))) {
    delete owned;
  }
}

LRESULT CALLBACK Win32EventQueue::Procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == kRunJob) {
    std::unique_ptr<std::function<void()>> job(reinterpret_cast<std::function<void()>*>(l));
    (*job)();
    return 0;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

Win32Background::~Win32Background() {
  std::vector<std::thread> running;
  {
    std::lock_guard lock(mutex_);
    running.swap(threads_);
  }
  for (std::thread& thread : running) {
    thread.join();
  }
  // results_ ends after this: the results posted by now are dropped with it.
}

void Win32Background::Run(std::function<void()> work, std::function<void()> done) {
  std::lock_guard lock(mutex_);
  threads_.emplace_back([this, work = std::move(work), done = std::move(done)] {
    work();
    results_.Post(done);
  });
}

}  // namespace keldra::win32

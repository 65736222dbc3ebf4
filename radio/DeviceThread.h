// The thread that owns one outside device (the rig or the rotator): it carries out the commands
// queued to it in order and, between them, ticks about once a second to open the device or poll
// it. Readings go back through a `post` function that runs its job on the user-interface thread,
// so the caller never waits for a device.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace keldra {

// Runs a job on the user-interface thread, later.
using PostToUi = std::function<void(std::function<void()>)>;

// How often a device is polled and how long it may take to answer.
struct DeviceTiming {
  std::chrono::milliseconds poll{1000};
  // How long one exchange with a device may take before it counts as not answering.
  std::chrono::milliseconds answer{800};
  // The wait before trying again a device that could not be opened.
  std::chrono::milliseconds retry{2000};
};

class DeviceThread {
 public:
  DeviceThread(PostToUi post, DeviceTiming timing) : post_(std::move(post)), timing_(timing) {}
  virtual ~DeviceThread() = default;
  DeviceThread(const DeviceThread&) = delete;
  DeviceThread& operator=(const DeviceThread&) = delete;

  // Started once built, and stopped before being taken apart: the thread calls virtual functions.
  void Start();
  // Finishes the exchange under way, drops the queued commands and joins the thread.
  void Stop();
  void Enqueue(std::function<void()> job);

 protected:
  virtual void Tick() = 0;
  virtual void Shutdown() = 0;
  // From a job: the next tick comes as soon as the job ends (a new link is opened at once, not
  // at the next poll).
  void TickNow() { tick_now_ = true; }

  PostToUi post_;
  DeviceTiming timing_;

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  bool tick_now_ = false;  // the thread's own
  std::thread thread_;
};

}  // namespace keldra

#include "radio/DeviceThread.h"

namespace keldra {

void DeviceThread::Start() {
  thread_ = std::thread([this] { Loop(); });
}

void DeviceThread::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) {
    thread_.join();
  }
}

void DeviceThread::Enqueue(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void DeviceThread::Loop() {
  auto next_tick = std::chrono::steady_clock::now();
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait_until(lock, next_tick, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) {
        break;
      }
      if (!jobs_.empty()) {
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
    }
    if (job) {
      job();
      if (tick_now_) {
        tick_now_ = false;
        next_tick = std::chrono::steady_clock::now();
      }
      continue;
    }
    Tick();
    next_tick = std::chrono::steady_clock::now() + timing_.poll;
  }
  Shutdown();
}

}  // namespace keldra

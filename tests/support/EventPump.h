// The user-interface thread's event loop, for tests of code that posts its results back to it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace keldra::testing {

// The user-interface thread's queue: device threads post, the test runs the jobs on its own
// thread while it waits for something to happen.
class EventPump {
 public:
  void Post(std::function<void()> job) {
    {
      std::lock_guard lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    ready_.notify_all();
  }
  // Runs posted jobs until `done` holds or `limit` passes; whether it held.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        if (!ready_.wait_until(lock, end, [this] { return !jobs_.empty(); })) {
          return done();
        }
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
    return true;
  }
  // The same for what changes without an event (a file, a device): `done` is looked at every
  // few milliseconds too.
  bool Watch(const std::function<bool()>& done,
             std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
      RunUntil(done, std::chrono::milliseconds(5));
    }
    return done();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
};

}  // namespace keldra::testing

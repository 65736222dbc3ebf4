// Background work for the Qt front end: each job runs on a thread of its own, and its `done`
// part is queued to the user-interface thread's event loop. Ending the service waits for the
// threads still working and drops the results nobody will read.
#pragma once

#include <QObject>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "system/Background.h"

namespace keldra::qt {

class QtBackground : public Background {
 public:
  QtBackground();
  ~QtBackground() override;
  QtBackground(const QtBackground&) = delete;
  QtBackground& operator=(const QtBackground&) = delete;

  void Run(std::function<void()> work, std::function<void()> done) override;

 private:
  // Lives on the user-interface thread; a result queued to it after it is gone is dropped.
  std::unique_ptr<QObject> receiver_;
  std::mutex mutex_;
  std::vector<std::thread> threads_;
};

// Hands jobs from any thread to the user-interface thread's event loop, in order; jobs still
// queued when it ends are dropped.
class QtEventQueue {
 public:
  QtEventQueue();
  ~QtEventQueue();
  QtEventQueue(const QtEventQueue&) = delete;
  QtEventQueue& operator=(const QtEventQueue&) = delete;

  void Post(std::function<void()> job);

 private:
  std::unique_ptr<QObject> receiver_;
};

}  // namespace keldra::qt

#include "qt/QtBackground.h"

#include <QMetaObject>

namespace keldra::qt {

QtBackground::QtBackground() : receiver_(std::make_unique<QObject>()) {}

QtBackground::~QtBackground() {
  std::vector<std::thread> running;
  {
    std::lock_guard lock(mutex_);
    running.swap(threads_);
  }
  for (std::thread& thread : running) {
    thread.join();
  }
  // Results queued by now die with the receiver, before any event loop could deliver them.
  receiver_.reset();
}

void QtBackground::Run(std::function<void()> work, std::function<void()> done) {
  QObject* receiver = receiver_.get();
  std::lock_guard lock(mutex_);
  threads_.emplace_back([receiver, work = std::move(work), done = std::move(done)] {
    work();
    // The queued call owns its copy of `done` and frees it once delivered or dropped.
    QMetaObject::invokeMethod(receiver, done,  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
                              Qt::QueuedConnection);
  });
}

QtEventQueue::QtEventQueue() : receiver_(std::make_unique<QObject>()) {}

QtEventQueue::~QtEventQueue() = default;

void QtEventQueue::Post(std::function<void()> job) {
  // The queued call owns the job and frees it once delivered or dropped.
  QMetaObject::invokeMethod(  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
      receiver_.get(), std::move(job), Qt::QueuedConnection);
}

}  // namespace keldra::qt

// Work that may take longer than a blink (reading the call history at start-up) runs away from
// the user-interface thread, so the windows stay usable; its result comes back to the windows as
// an event on the user-interface thread. The work must touch nothing the windows own: it fills
// its own result, and only the `done` part, on the user-interface thread, hands it over.
#pragma once

#include <deque>
#include <functional>
#include <utility>

namespace keldra {

class Background {
 public:
  virtual ~Background() = default;
  // Runs `work` away from the user-interface thread, then `done` on it. A `done` still waiting
  // when the program ends is dropped.
  virtual void Run(std::function<void()> work, std::function<void()> done) = 0;
};

// Runs both parts at once, before Run returns: the model tests, and a program without a front end.
class InlineBackground : public Background {
 public:
  void Run(std::function<void()> work, std::function<void()> done) override {
    work();
    done();
  }
};

// Keeps the work until the test lets it finish, to show the windows before and after.
class HeldBackground : public Background {
 public:
  void Run(std::function<void()> work, std::function<void()> done) override {
    held_.emplace_back(std::move(work), std::move(done));
  }
  std::size_t Waiting() const { return held_.size(); }
  // Finishes every held job in the order it was given (and any it gives in turn).
  void Finish() {
    while (!held_.empty()) {
      auto [work, done] = std::move(held_.front());
      held_.pop_front();
      work();
      done();
    }
  }

 private:
  std::deque<std::pair<std::function<void()>, std::function<void()>>> held_;
};

}  // namespace keldra

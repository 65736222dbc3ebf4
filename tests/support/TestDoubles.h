// The services tests, benchmarks and fuzz targets give Program instead of the real ones: a message
// box that keeps every message shown, and a clock that stands still.
#pragma once

#include <string>
#include <vector>

#include "system/Clock.h"
#include "widgets/MessageBox.h"

namespace keldra {

// Keeps every message shown, for tests.
class RecordingMessageBox : public MessageBox {
 public:
  struct Message {
    std::string text;
    std::string title;
    MessageIcon icon;
  };
  void Show(const std::string& text, const std::string& title, MessageIcon icon) override {
    shown.push_back({text, title, icon});
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : shown) {
      texts.push_back(m.text);
    }
    return texts;
  }
  std::vector<Message> shown;
};

// A clock that stands still at a chosen local time, with a chosen offset of local time from UTC.
class FixedClock : public Clock {
 public:
  explicit FixedClock(DateTime local = {}, int utc_offset_minutes = 120)
      : local_(local), offset_minutes_(utc_offset_minutes) {}
  void Set(DateTime local) { local_ = local; }
  void SetOffsetMinutes(int minutes) { offset_minutes_ = minutes; }
  DateTime Local() const override { return local_; }
  DateTime Utc() const override { return AddMinutes(local_, -offset_minutes_); }

 private:
  DateTime local_;
  int offset_minutes_;
};

}  // namespace keldra

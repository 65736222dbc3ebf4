// The services a window may call besides its controls: message boxes and the clock. Program is
// built with them, so tests replace them with a recorder and a fixed clock.
#pragma once

#include <string>
#include <vector>

namespace keldra {

enum class MessageIcon { kNone, kInformation, kCritical };

inline constexpr const char* kDefaultTitle = "Keldra VHF qrp Test";

// A modal box with a title, a text, an icon and an OK button. Texts are Windows-1252.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

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

struct DateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Local() const = 0;
  virtual DateTime Utc() const = 0;
};

// The PC clock.
class SystemClock : public Clock {
 public:
  DateTime Local() const override;
  DateTime Utc() const override;
};

// A clock that stands still at a chosen local time, with a chosen offset of local time from UTC.
class FixedClock : public Clock {
 public:
  explicit FixedClock(DateTime local = {}, int utc_offset_minutes = 120)
      : local_(local), offset_minutes_(utc_offset_minutes) {}
  void Set(DateTime local) { local_ = local; }
  void SetOffsetMinutes(int minutes) { offset_minutes_ = minutes; }
  DateTime Local() const override { return local_; }
  DateTime Utc() const override;

 private:
  DateTime local_;
  int offset_minutes_;
};

// Adds minutes to a date and time, across days, months and years.
DateTime AddMinutes(const DateTime& t, int minutes);

}  // namespace keldra

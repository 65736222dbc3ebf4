#include "radio/drivers/StationPtt.h"

#include <condition_variable>
#include <mutex>

#include "system/SerialPort.h"

namespace keldra {
namespace {

// Longer than the rig thread's own answer time-out, so its answer, not ours, says what failed.
constexpr auto kCatAnswer = std::chrono::milliseconds(2500);

class NoPtt : public Ptt {
 public:
  std::string Key(bool) override { return {}; }
};

class CatPtt : public Ptt {
 public:
  explicit CatPtt(Radio& radio) : radio_(radio) {}

  std::string Key(bool on) override {
    // Shared with the rig's thread, which may answer after this call has given up.
    struct Answer {
      std::mutex mutex;
      std::condition_variable done;
      bool answered = false;
      std::string problem;
    };
    auto answer = std::make_shared<Answer>();
    radio_.SetPtt(on, [answer](const std::string& problem) {
      const std::lock_guard lock(answer->mutex);
      answer->answered = true;
      answer->problem = problem;
      answer->done.notify_all();
    });
    std::unique_lock lock(answer->mutex);
    if (!answer->done.wait_for(lock, kCatAnswer, [&] { return answer->answered; })) {
      return "la radio non ha risposto al comando PTT";
    }
    return answer->problem;
  }

 private:
  Radio& radio_;
};

class SerialLinePtt : public Ptt {
 public:
  SerialLinePtt(std::string path, bool rts) : path_(std::move(path)), rts_(rts) {}

  std::string Key(bool on) override {
    if (!port_.IsOpen()) {
      // Both lines low as the port opens: the transmitter stays off until asked.
      SerialSettings settings;
      settings.dtr = false;
      settings.rts = false;
      if (const SerialFailure failure = port_.Open(path_, settings);
          failure != SerialFailure::kNone) {
        return SerialFailureText(failure, path_);
      }
    }
    const SerialFailure failure = rts_ ? port_.SetRts(on) : port_.SetDtr(on);
    if (failure != SerialFailure::kNone) {
      // Opened again at the next message: an adapter pulled out and put back has a new handle.
      port_.Close();
      return SerialFailureText(failure, path_);
    }
    return {};
  }

 private:
  std::string path_;
  bool rts_;
  SerialPort port_;
};

}  // namespace

PttMaker StationPtt(Radio& radio) {
  return [&radio](const VoiceLink& link) -> std::unique_ptr<Ptt> {
    switch (link.ptt) {
      case PttWay::kCat:
        return std::make_unique<CatPtt>(radio);
      case PttWay::kRts:
      case PttWay::kDtr:
        return std::make_unique<SerialLinePtt>(link.ptt_port, link.ptt == PttWay::kRts);
      case PttWay::kNone:
        break;
    }
    return std::make_unique<NoPtt>();
  };
}

}  // namespace keldra

// The voice messages on the air: one thread of its own plays a sound with the transmitter keyed
// (PTT on, a lead time for the rig to switch over, the sound, PTT off) or records one from the
// microphone, and tells the windows through `post` what happened. PTT is released whatever ends
// the playing: the sound's end, a stop, a device that fails, the program's end. The
// user-interface thread only queues and stops; it never waits for the sound card or the rig.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "radio/DeviceThread.h"
#include "radio/Radio.h"

namespace keldra {

// How the transmitter is keyed: the rig's CAT command, a serial port's RTS or DTR line (the
// classic PTT interface), or not at all (the rig's VOX hears the sound).
enum class PttWay { kNone, kCat, kRts, kDtr };

inline constexpr int kMaxPttLeadMs = 2000;
inline constexpr int kMaxRepeatSeconds = 600;

struct VoiceLink {
  std::string output;  // sound devices by their system name; empty: the system's default
  std::string input;
  PttWay ptt = PttWay::kNone;
  std::string ptt_port;    // the serial port of RTS or DTR
  int lead_ms = 150;       // PTT on this long before the sound
  int repeat_seconds = 0;  // F1 again this long after it ended; 0: once
  bool operator==(const VoiceLink&) const = default;
};

// One way of keying the transmitter; Key returns why it failed (UTF-8), empty when done.
class Ptt {
 public:
  virtual ~Ptt() = default;
  virtual std::string Key(bool on) = 0;
};

// Mono 16-bit samples, as data/Wav reads and writes them (radio/ does not include data/).
struct VoiceSound {
  int rate = 8000;
  std::vector<std::int16_t> samples;
};

// How a play or a recording ended.
struct VoiceOutcome {
  enum class Kind { kPlayed, kStopped, kFailed } kind = Kind::kPlayed;
  bool recording = false;
  std::string problem;  // UTF-8, for kFailed
  VoiceSound recorded;  // what was recorded, also when stopped
};

// Makes the PTT of a link; the player keeps it while the link stays the same.
using PttMaker = std::function<std::unique_ptr<Ptt>(const VoiceLink&)>;

class VoicePlayer {
 public:
  VoicePlayer(PostToUi post, PttMaker make_ptt);
  ~VoicePlayer();
  VoicePlayer(const VoicePlayer&) = delete;
  VoicePlayer& operator=(const VoicePlayer&) = delete;

  // Stops what is under way and plays `sound`, keyed unless `key` is false (listening to a
  // recording). With `repeat`, plays it again link.repeat_seconds after each end until stopped.
  void Play(const VoiceLink& link, std::shared_ptr<const VoiceSound> sound, bool key, bool repeat);
  // Stops what is under way and records from link.input, at most `max_seconds`.
  void Record(const VoiceLink& link, int rate, int max_seconds);
  // Ends the play (silence at once, PTT off) or the recording (what was recorded is kept).
  void Stop();
  // True from Play or Record until its outcome is posted.
  bool Busy() const { return busy_; }

  // Events on the user-interface thread.
  // The first samples are at the card (after the lead), or the recording has begun.
  std::function<void()> Started;
  std::function<void()> Paused;            // a repeated message waits for its next turn
  std::function<void(int percent)> Level;  // the input's peak while recording
  std::function<void(const VoiceOutcome&)> Finished;

 private:
  struct Job {
    bool record = false;
    VoiceLink link;
    std::shared_ptr<const VoiceSound> sound;
    bool key = true;
    bool repeat = false;
    int rate = 16000;
    int max_seconds = 60;
    std::uint64_t generation = 0;
  };
  // Stops what is under way and hands `job` to the thread.
  void Begin(Job job);
  void Loop();
  VoiceOutcome PlayRepeated(const Job& job);
  VoiceOutcome PlayOnce(const Job& job);
  VoiceOutcome RecordOnce(const Job& job);
  // Sleeps until `until` or a stop; false on a stop.
  bool WaitUntil(std::chrono::steady_clock::time_point until);
  std::string KeyPtt(const VoiceLink& link, bool on);
  void Post(std::function<void()> job);
  // Posts the outcome of job `generation`.
  void Finish(std::uint64_t generation, VoiceOutcome outcome);

  PostToUi post_;
  PttMaker make_ptt_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> next_;
  bool ending_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<std::uint64_t> generation_{0};
  bool busy_ = false;  // the user-interface thread's own
  // The thread's own.
  std::unique_ptr<Ptt> ptt_;
  VoiceLink ptt_link_;
  std::thread thread_;
};

}  // namespace keldra

#include "radio/Voice.h"

#include <algorithm>
#include <cstdlib>

#include "system/Audio.h"

namespace keldra {
namespace {

using Clock = std::chrono::steady_clock;

// The player keeps this little ahead of the sound heard, whatever buffer the device has, so a
// stop silences it at once.
constexpr auto kAhead = std::chrono::milliseconds(60);

Clock::duration SoundTime(std::size_t samples, int rate) {
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(static_cast<double>(samples) / rate));
}

VoiceOutcome Failed(std::string problem, bool recording = false) {
  VoiceOutcome outcome;
  outcome.kind = VoiceOutcome::Kind::kFailed;
  outcome.problem = std::move(problem);
  outcome.recording = recording;
  return outcome;
}

VoiceOutcome Ended(VoiceOutcome::Kind kind) {
  VoiceOutcome outcome;
  outcome.kind = kind;
  return outcome;
}

int PeakPercent(const std::int16_t* from, const std::int16_t* to) {
  int peak = 0;
  for (const std::int16_t* s = from; s != to; ++s) {
    peak = std::max(peak, std::abs(static_cast<int>(*s)));
  }
  return peak * 100 / 32768;
}

}  // namespace

VoicePlayer::VoicePlayer(PostToUi post, PttMaker make_ptt)
    : post_(std::move(post)), make_ptt_(std::move(make_ptt)) {
  thread_ = std::thread([this] { Loop(); });
}

VoicePlayer::~VoicePlayer() {
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
    stop_ = true;
    next_.reset();
  }
  wake_.notify_all();
  thread_.join();
}

void VoicePlayer::Play(const VoiceLink& link, std::shared_ptr<const VoiceSound> sound, bool key,
                       bool repeat) {
  Job job;
  job.link = link;
  job.sound = std::move(sound);
  job.key = key;
  job.repeat = repeat;
  Begin(std::move(job));
}

void VoicePlayer::Record(const VoiceLink& link, int rate, int max_seconds) {
  Job job;
  job.record = true;
  job.link = link;
  job.rate = rate;
  job.max_seconds = max_seconds;
  Begin(std::move(job));
}

void VoicePlayer::Begin(Job job) {
  {
    const std::lock_guard lock(mutex_);
    job.generation = ++generation_;
    next_ = std::move(job);
    stop_ = true;
  }
  busy_ = true;
  wake_.notify_all();
}

void VoicePlayer::Stop() {
  std::optional<Job> dropped;
  {
    const std::lock_guard lock(mutex_);
    dropped.swap(next_);
    stop_ = true;
  }
  wake_.notify_all();
  if (dropped) {
    // Stopped before the thread took it up: it still ends, or the player would stay busy.
    VoiceOutcome outcome = Ended(VoiceOutcome::Kind::kStopped);
    outcome.recording = dropped->record;
    Finish(dropped->generation, std::move(outcome));
  }
}

void VoicePlayer::Finish(std::uint64_t generation, VoiceOutcome outcome) {
  Post([this, outcome = std::move(outcome), generation] {
    // A job the operator replaced by the next one still tells how it ended, but the player is
    // busy with the next.
    if (generation == generation_.load()) {
      busy_ = false;
    }
    if (Finished) {
      Finished(outcome);
    }
  });
}

void VoicePlayer::Post(std::function<void()> job) { post_(std::move(job)); }

void VoicePlayer::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return ending_ || next_.has_value(); });
    if (ending_) {
      break;
    }
    const Job job = std::move(*next_);
    next_.reset();
    stop_ = false;
    lock.unlock();
    VoiceOutcome outcome = job.record ? RecordOnce(job) : PlayRepeated(job);
    outcome.recording = job.record;
    Finish(job.generation, std::move(outcome));
    lock.lock();
  }
  lock.unlock();
  ptt_.reset();
}

bool VoicePlayer::WaitUntil(Clock::time_point until) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_until(lock, until, [this] { return stop_.load(); });
}

std::string VoicePlayer::KeyPtt(const VoiceLink& link, bool on) {
  if (!ptt_ || !(ptt_link_.ptt == link.ptt && ptt_link_.ptt_port == link.ptt_port)) {
    ptt_.reset();
    ptt_ = make_ptt_(link);
    ptt_link_ = link;
  }
  return ptt_->Key(on);
}

VoiceOutcome VoicePlayer::PlayRepeated(const Job& job) {
  for (;;) {
    VoiceOutcome outcome = PlayOnce(job);
    if (!job.repeat || job.link.repeat_seconds <= 0 ||
        outcome.kind != VoiceOutcome::Kind::kPlayed) {
      return outcome;
    }
    Post([this] {
      if (Paused) {
        Paused();
      }
    });
    if (!WaitUntil(Clock::now() + std::chrono::seconds(job.link.repeat_seconds))) {
      return Ended(VoiceOutcome::Kind::kStopped);
    }
  }
}

VoiceOutcome VoicePlayer::PlayOnce(const Job& job) {
  const VoiceSound& sound = *job.sound;
  // Released on every way out, once the sound is silent (the device closes first).
  struct Release {
    VoicePlayer* player;
    const VoiceLink* link;
    bool keyed = false;
    ~Release() {
      if (keyed) {
        player->KeyPtt(*link, false);
      }
    }
  } release{this, &job.link};
  if (job.key && job.link.ptt != PttWay::kNone) {
    release.keyed = true;
    if (std::string problem = KeyPtt(job.link, true); !problem.empty()) {
      return Failed(problem);
    }
    if (!WaitUntil(Clock::now() + std::chrono::milliseconds(job.link.lead_ms))) {
      return Ended(VoiceOutcome::Kind::kStopped);
    }
  }
  AudioOutput output;
  if (const AudioFailure failure = output.Open(job.link.output, sound.rate);
      failure != AudioFailure::kNone) {
    return Failed(AudioFailureText(failure, job.link.output));
  }
  const std::size_t chunk = static_cast<std::size_t>(std::max(1, sound.rate / 50));
  const Clock::time_point start = Clock::now();
  for (std::size_t at = 0; at < sound.samples.size(); at += chunk) {
    const std::size_t count = std::min(chunk, sound.samples.size() - at);
    if (stop_) {
      output.Abort();
      return Ended(VoiceOutcome::Kind::kStopped);
    }
    if (const AudioFailure failure = output.Write(sound.samples.data() + at, count);
        failure != AudioFailure::kNone) {
      output.Abort();
      return Failed(AudioFailureText(failure, job.link.output));
    }
    if (at == 0) {
      // The first samples are at the card.
      Post([this] {
        if (Started) {
          Started();
        }
      });
    }
    if (!WaitUntil(start + SoundTime(at + count, sound.rate) - kAhead)) {
      output.Abort();
      return Ended(VoiceOutcome::Kind::kStopped);
    }
  }
  if (!WaitUntil(start + SoundTime(sound.samples.size(), sound.rate))) {
    output.Abort();
    return Ended(VoiceOutcome::Kind::kStopped);
  }
  if (const AudioFailure failure = output.Drain(); failure != AudioFailure::kNone) {
    return Failed(AudioFailureText(failure, job.link.output));
  }
  return Ended(VoiceOutcome::Kind::kPlayed);
}

VoiceOutcome VoicePlayer::RecordOnce(const Job& job) {
  AudioInput input;
  if (const AudioFailure failure = input.Open(job.link.input, job.rate);
      failure != AudioFailure::kNone) {
    return Failed(AudioFailureText(failure, job.link.input), true);
  }
  Post([this] {
    if (Started) {
      Started();
    }
  });
  VoiceOutcome outcome = Ended(VoiceOutcome::Kind::kPlayed);
  outcome.recorded.rate = job.rate;
  std::vector<std::int16_t>& samples = outcome.recorded.samples;
  const std::size_t limit =
      static_cast<std::size_t>(job.rate) * static_cast<std::size_t>(job.max_seconds);
  const std::size_t chunk = static_cast<std::size_t>(std::max(1, job.rate / 20));
  const Clock::time_point start = Clock::now();
  while (samples.size() < limit) {
    // A card records in real time; a device that gives more at once is not read ahead of it.
    if (stop_ || !WaitUntil(start + SoundTime(samples.size(), job.rate) - kAhead)) {
      outcome.kind = VoiceOutcome::Kind::kStopped;
      break;
    }
    const std::size_t before = samples.size();
    if (const AudioFailure failure = input.Read(samples, std::min(chunk, limit - before));
        failure != AudioFailure::kNone) {
      outcome.kind = VoiceOutcome::Kind::kFailed;
      outcome.problem = AudioFailureText(failure, job.link.input);
      break;
    }
    Post([this, level = PeakPercent(samples.data() + before, samples.data() + samples.size())] {
      if (Level) {
        Level(level);
      }
    });
  }
  return outcome;
}

}  // namespace keldra

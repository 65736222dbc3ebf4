// The voice messages on the air through rigctld's own "T" (dummy rig, PTT read back with "t")
// and ALSA's file plugin as the sound card: PTT on before the sound and off after, every sample
// played in real time, a card that fails. The stop, the repeat and the recording are the
// window's scenarios (tests/hamlib/MainWindowVoiceTest.cpp).
#include <gtest/gtest.h>

#include <thread>

#include "Host.h"
#include "radio/Voice.h"
#include "radio/drivers/DaemonRadio.h"
#include "radio/drivers/StationPtt.h"
#include "support/AlsaFiles.h"
#include "support/EventPump.h"
#include "support/RigPtt.h"

namespace keldra::testing {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr DeviceTiming kTiming{
    .poll = milliseconds(200), .answer = milliseconds(500), .retry = milliseconds(300)};

class VoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HostHas("rigctld")) {
      GTEST_SKIP() << "rigctld is not installed (apt-get install libhamlib-utils)";
    }
    radio_.RigChanged = [this](const RigReading& reading) { rig_ = reading; };
    radio_.Connect({DaemonRadio::kRigDaemonModel, daemon_.Address(), 0}, {});
    ASSERT_TRUE(pump_.RunUntil([&] { return rig_.state == LinkState::kConnected; }));
    voice_.Started = [this] { ++started_; };
    voice_.Finished = [this](const VoiceOutcome& outcome) { outcome_ = outcome; };
    link_.output = AlsaFiles::kPlay;
    link_.ptt = PttWay::kCat;
    link_.lead_ms = 100;
  }
  std::string Ptt() { return PttAt(daemon_.Address()); }
  bool Finish(milliseconds limit = milliseconds(10000)) {
    return pump_.RunUntil([&] { return outcome_.has_value(); }, limit);
  }
  static std::shared_ptr<const VoiceSound> Sound(double seconds, int rate = 8000) {
    return std::make_shared<VoiceSound>(
        VoiceSound{rate, Ramp(static_cast<std::size_t>(seconds * rate))});
  }

  AlsaFiles alsa_;
  HostDaemon daemon_{"rigctld", FreePort(), "-P RIG"};
  EventPump pump_;
  DaemonRadio radio_{[this](std::function<void()> job) { pump_.Post(std::move(job)); }, kTiming};
  VoicePlayer voice_{[this](std::function<void()> job) { pump_.Post(std::move(job)); },
                     StationPtt(radio_)};
  RigReading rig_;
  VoiceLink link_;
  int started_ = 0;
  std::optional<VoiceOutcome> outcome_;
};

TEST_F(VoiceTest, KeyedForTheWholeSoundAndReleasedAfter) {
  const auto sound = Sound(0.8);
  EXPECT_EQ(Ptt(), "0");
  const Clock::time_point asked = Clock::now();
  voice_.Play(link_, sound, true, false);
  EXPECT_TRUE(voice_.Busy());
  // The lead time passes with PTT on and the card still silent.
  ASSERT_TRUE(pump_.Watch([&] { return Ptt() == "1"; }));
  EXPECT_EQ(alsa_.PlayedBytes(), 0U);
  ASSERT_TRUE(pump_.Watch([&] { return alsa_.PlayedBytes() > 0; }));
  EXPECT_GE(Clock::now() - asked, milliseconds(link_.lead_ms));
  EXPECT_EQ(Ptt(), "1");
  ASSERT_TRUE(Finish());
  EXPECT_EQ(outcome_->kind, VoiceOutcome::Kind::kPlayed);
  EXPECT_FALSE(voice_.Busy());
  EXPECT_EQ(started_, 1);
  // Heard in real time, not dumped at once into the card.
  EXPECT_GE(Clock::now() - asked, milliseconds(800 + link_.lead_ms));
  EXPECT_EQ(Ptt(), "0");
  EXPECT_TRUE(PlayedExactly(alsa_.PlayedSamples(), sound->samples));

  // Listening to a recording keys nothing.
  outcome_.reset();
  voice_.Play(link_, Sound(0.2, 44100), false, false);
  ASSERT_TRUE(pump_.Watch([&] { return alsa_.PlayedBytes() > 0; }));
  EXPECT_EQ(Ptt(), "0");
  ASSERT_TRUE(Finish());
  EXPECT_EQ(outcome_->kind, VoiceOutcome::Kind::kPlayed);
}

// An operator who types at once after F1 stops a message the thread may not have taken up yet:
// it still ends, and the player is free again.
TEST_F(VoiceTest, StoppedAtOnceStillEnds) {
  for (int i = 0; i < 20; ++i) {
    outcome_.reset();
    voice_.Play(link_, Sound(2), true, false);
    voice_.Stop();
    ASSERT_TRUE(Finish(milliseconds(3000))) << i;
    EXPECT_EQ(outcome_->kind, VoiceOutcome::Kind::kStopped);
    ASSERT_TRUE(pump_.RunUntil([&] { return !voice_.Busy(); }, milliseconds(3000))) << i;
  }
  EXPECT_EQ(Ptt(), "0");
}

TEST_F(VoiceTest, CardThatFailsLeavesNoPttOn) {
  link_.output = AlsaFiles::kMissing;
  voice_.Play(link_, Sound(0.5), true, false);
  ASSERT_TRUE(Finish());
  EXPECT_EQ(outcome_->kind, VoiceOutcome::Kind::kFailed);
  EXPECT_EQ(outcome_->problem, "Dispositivo audio keldra_no_such_card non trovato.");
  EXPECT_EQ(Ptt(), "0");
  EXPECT_EQ(started_, 0);
}

}  // namespace
}  // namespace keldra::testing

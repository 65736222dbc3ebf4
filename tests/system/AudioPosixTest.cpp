// The sound card through ALSA, with ALSA's own file plugin as the card: every sample written is
// played, every sample fed is recorded, and a card that is not there is said as such.
#include <gtest/gtest.h>

#include "support/AlsaFiles.h"
#include "system/Audio.h"

namespace keldra::testing {
namespace {

TEST(AudioPosixTest, PlaysAndRecordsEverySample) {
  const AlsaFiles alsa;
  const std::vector<std::int16_t> sound = Ramp(12345);
  {
    AudioOutput output;
    ASSERT_EQ(output.Open(AlsaFiles::kPlay, 48000), AudioFailure::kNone);
    // In pieces of odd sizes, as the player writes them.
    for (std::size_t at = 0; at < sound.size(); at += 997) {
      ASSERT_EQ(output.Write(sound.data() + at, std::min<std::size_t>(997, sound.size() - at)),
                AudioFailure::kNone);
    }
    EXPECT_EQ(output.Drain(), AudioFailure::kNone);
  }
  EXPECT_TRUE(PlayedExactly(alsa.PlayedSamples(), sound));

  const std::vector<std::int16_t> fed = Ramp(16000, 11);
  alsa.Feed(fed);
  AudioInput input;
  ASSERT_EQ(input.Open(AlsaFiles::kRecord, 16000), AudioFailure::kNone);
  std::vector<std::int16_t> recorded;
  while (recorded.size() < fed.size()) {
    ASSERT_EQ(input.Read(recorded, std::min<std::size_t>(800, fed.size() - recorded.size())),
              AudioFailure::kNone);
  }
  EXPECT_EQ(recorded, fed);

  EXPECT_EQ(AudioOutput().Open(AlsaFiles::kMissing, 8000), AudioFailure::kNotFound);
  EXPECT_EQ(AudioInput().Open(AlsaFiles::kMissing, 8000), AudioFailure::kNotFound);
  // The system's default comes first, whatever else the system has.
  EXPECT_EQ(ListAudioOutputs().front(), (AudioDeviceName{"", "Predefinito di sistema"}));
}

}  // namespace
}  // namespace keldra::testing

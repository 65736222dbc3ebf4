// The sound card through waveOut/waveIn, under Wine. Wine's winmm reaches ALSA (CTest points it
// at the tests' ALSA configuration, whose default card is the file plugin), but it mixes the
// sound into its own format and returns the buffers as fast as that card takes them, so here the
// calls are checked, not the samples (the samples are checked on Linux through ALSA itself).
#include <gtest/gtest.h>

#include <vector>

#include "system/Audio.h"

namespace keldra {
namespace {

TEST(AudioWindowsTest, PlaysRecordsAndNamesAMissingCard) {
  EXPECT_EQ(ListAudioOutputs().front(), (AudioDeviceName{"", "Predefinito di sistema"}));
  EXPECT_EQ(AudioOutput().Open("Scheda che non esiste", 8000), AudioFailure::kNotFound);
  AudioOutput output;
  ASSERT_EQ(output.Open("", 8000), AudioFailure::kNone) << "Wine reaches no sound card";
  const std::vector<std::int16_t> sound(8000, 1000);
  for (int pass = 0; pass < 2; ++pass) {
    // More pieces than the player keeps queued: Write waits for the card to give one back.
    for (std::size_t at = 0; at < sound.size(); at += 160) {
      ASSERT_EQ(output.Write(sound.data() + at, 160), AudioFailure::kNone);
    }
    if (pass == 0) {
      EXPECT_EQ(output.Drain(), AudioFailure::kNone);
    } else {
      output.Abort();
    }
  }
  output.Close();
  EXPECT_EQ(output.Write(sound.data(), 1), AudioFailure::kGone);

  AudioInput input;
  ASSERT_EQ(input.Open("", 16000), AudioFailure::kNone);
  std::vector<std::int16_t> recorded;
  while (recorded.size() < 16000) {
    ASSERT_EQ(input.Read(recorded, 800), AudioFailure::kNone);
  }
  EXPECT_EQ(recorded.size(), 16000U);
}

}  // namespace
}  // namespace keldra

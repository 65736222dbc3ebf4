// The message files: written to the byte, read back from every PCM layout a recorder writes into
// 16-bit mono, and the damaged ones refused with the file's name.
#include <gtest/gtest.h>

#include "data/Wav.h"
#include "support/WavFiles.h"

namespace keldra::testing {
namespace {

TEST(WavTest, WrittenToTheByte) {
  const Sound sound{8000, {0, 1, -1, 32767, -32768}};
  const std::string expected(
      "RIFF\x2e\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0"
      "data\x0a\0\0\0\0\0\x01\0\xff\xff\xff\x7f\0\x80",
      54);
  EXPECT_EQ(WavBytes(sound), expected);
  const WavRead back = ReadWav(expected);
  EXPECT_EQ(back.problem, WavProblem::kNone);
  EXPECT_EQ(back.sound, sound);
}

TEST(WavTest, EveryLayoutBecomes16BitMono) {
  struct Case {
    const char* name;
    int tag, channels, rate, bits;
    std::string data;
    bool extensible;
    std::vector<std::int16_t> samples;
  };
  const std::string f_half("\0\0\0\x3f", 4), f_minus_one("\0\0\x80\xbf", 4), f_two("\0\0\0\x40", 4);
  const Case cases[] = {
      {"pcm8_unsigned",
       1,
       1,
       8000,
       8,
       std::string("\x80\xff\x00", 3),
       false,
       {0, 127 << 8, -32768}},
      {"pcm16_stereo_mixed",
       1,
       2,
       44100,
       16,
       std::string("\x10\0\x30\0\xff\xff\x01\0", 8),
       false,
       {0x20, 0}},
      {"pcm24_rounded",
       1,
       1,
       48000,
       24,
       std::string("\x80\x34\x12\x7f\x34\x12\x00\x00\x80", 9),
       false,
       {0x1235, 0x1234, -32768}},
      {"pcm32", 1, 1, 48000, 32, std::string("\0\0\x34\x12", 4), false, {0x1234}},
      {"float_clamped",
       3,
       1,
       16000,
       32,
       f_half + f_minus_one + f_two,
       false,
       {16384, -32768, 32767}},
      {"extensible_pcm16", 1, 1, 22050, 16, std::string("\x05\0", 2), true, {5}},
      {"odd_byte_after_last_frame", 1, 1, 8000, 16, std::string("\x07\0\x09", 3), false, {7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WavRead read = ReadWav(Wav(c.tag, c.channels, c.rate, c.bits, c.data, c.extensible));
    EXPECT_EQ(read.problem, WavProblem::kNone);
    EXPECT_EQ(read.sound.rate, c.rate);
    EXPECT_EQ(read.sound.samples, c.samples);
    EXPECT_EQ(read.channels, c.channels);
    EXPECT_EQ(read.bits, c.bits);
  }
}

TEST(WavTest, DamagedFilesAreRefused) {
  const std::string good = Wav(1, 1, 8000, 16, std::string(200, '\1'));
  struct Case {
    const char* name;
    std::string bytes;
    WavProblem problem;
  };
  const Case cases[] = {
      {"empty", "", WavProblem::kNotWav},
      {"text", "CQ TEST CQ TEST", WavProblem::kNotWav},
      {"cut_in_header", good.substr(0, 8), WavProblem::kTruncated},
      {"cut_in_fmt", good.substr(0, 30), WavProblem::kTruncated},
      {"cut_in_chunk_header", good.substr(0, 40), WavProblem::kTruncated},
      {"cut_in_data", good.substr(0, good.size() - 1), WavProblem::kTruncated},
      {"no_data_chunk", good.substr(0, 36), WavProblem::kTruncated},
      {"data_before_fmt", std::string("RIFF\0\0\0\0WAVEdata\0\0\0\0", 20), WavProblem::kNotWav},
      {"compressed", Wav(2, 1, 8000, 4, "ab"), WavProblem::kUnsupported},
      {"12_bits", Wav(1, 1, 8000, 12, "ab"), WavProblem::kUnsupported},
      {"rate_3999", Wav(1, 1, 3999, 16, "ab"), WavProblem::kUnsupported},
      {"rate_192001", Wav(1, 1, 192001, 16, "ab"), WavProblem::kUnsupported},
      {"no_channels", Wav(1, 0, 8000, 16, "ab"), WavProblem::kUnsupported},
      {"too_long", Wav(1, 1, 4000, 8, std::string(4000 * kMaxSoundSeconds + 1, '\x80')),
       WavProblem::kTooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadWav(c.bytes).problem, c.problem);
  }
  EXPECT_EQ(ReadWav(Wav(1, 1, 4000, 8, std::string(4000 * kMaxSoundSeconds, '\x80'))).problem,
            WavProblem::kNone);
  EXPECT_EQ(WavProblemText(WavProblem::kTruncated, "messaggi/F2.wav"),
            "Il file messaggi/F2.wav è troncato (incompleto): registrare di nuovo il messaggio.");
  EXPECT_NE(WavMissingText("messaggi/F3.wav").find("messaggi/F3.wav non esiste"),
            std::string::npos);
}

}  // namespace
}  // namespace keldra::testing

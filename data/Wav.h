// The voice messages' sound files: WAV (RIFF) read from any PCM or float format a recorder or an
// editor writes (8, 16, 24 or 32 bits, mono or stereo, any rate) into the one form the sound
// device plays, 16-bit mono at the file's own rate; and written as 16-bit mono PCM. The reader
// takes the file as bad input: every size is checked against the bytes that are there, and it
// never throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace keldra {

// Mono 16-bit samples at a rate in Hz: what is played and what is recorded.
struct Sound {
  int rate = 8000;
  std::vector<std::int16_t> samples;
  bool operator==(const Sound&) const = default;
};

enum class WavProblem {
  kNone,
  kNotWav,       // no RIFF/WAVE header, or no format or data chunk
  kTruncated,    // a chunk runs past the end of the file
  kUnsupported,  // compressed, or a size or rate no sound card plays
  kTooLong,      // more than a message can be
};

struct WavRead {
  WavProblem problem = WavProblem::kNone;
  Sound sound;
  // The file as it was: for messages ("stereo, 44100 Hz, 24 bit").
  int channels = 0;
  int bits = 0;
};

// Longer than any voice message, short enough to hold in memory at 48 kHz.
inline constexpr int kMaxSoundSeconds = 300;

WavRead ReadWav(std::string_view bytes);
// 16-bit mono PCM, little-endian, a 44-byte header.
std::string WavBytes(const Sound& sound);
// What went wrong, in Italian, naming the file (UTF-8); `missing` for a file that is not there.
std::string WavProblemText(WavProblem problem, const std::string& file_name);
std::string WavMissingText(const std::string& file_name);

}  // namespace keldra

// WAV files of any layout, made byte by byte as recorders and editors write them, for the tests
// of the reader and of the messages played from disk.
#pragma once

#include <cstdint>
#include <string>

namespace keldra::testing {

// A WAV of the given layout around raw sample bytes; `extensible` wraps the tag as
// WAVE_FORMAT_EXTENSIBLE does.
inline std::string Wav(int tag, int channels, int rate, int bits, const std::string& data,
                       bool extensible = false) {
  auto u16 = [](int v) {
    return std::string{static_cast<char>(v & 255), static_cast<char>(v >> 8)};
  };
  auto u32 = [&](std::uint32_t v) {
    return u16(static_cast<int>(v & 0xFFFF)) + u16(static_cast<int>(v >> 16));
  };
  const int block = channels * bits / 8;
  std::string fmt = u16(extensible ? 0xFFFE : tag) + u16(channels) +
                    u32(static_cast<std::uint32_t>(rate)) +
                    u32(static_cast<std::uint32_t>(rate * block)) + u16(block) + u16(bits);
  if (extensible) {
    fmt += u16(22) + u16(bits) + u32(0) + u16(tag) + std::string(14, 'x');
  }
  const std::string list = "LIST" + u32(3) + "abc" + std::string(1, '\0');  // odd: padded
  return "RIFF" +
         u32(static_cast<std::uint32_t>(4 + 8 + fmt.size() + list.size() + 8 + data.size())) +
         "WAVE" + "fmt " + u32(static_cast<std::uint32_t>(fmt.size())) + fmt + list + "data" +
         u32(static_cast<std::uint32_t>(data.size())) + data;
}

}  // namespace keldra::testing

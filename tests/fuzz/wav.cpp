// The message file reader over any bytes: no crash, no hang, no undefined behaviour, and a sound
// it reads writes again as a file that reads back the same.
#include "data/Wav.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const keldra::WavRead read = keldra::ReadWav(bytes);
  if (read.problem != keldra::WavProblem::kNone) {
    return 0;
  }
  const keldra::WavRead again = keldra::ReadWav(keldra::WavBytes(read.sound));
  if (again.problem != keldra::WavProblem::kNone || again.sound != read.sound) {
    __builtin_trap();
  }
  return 0;
}

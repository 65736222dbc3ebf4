// The chat server's stream over any bytes, cut at any place: no crash, no hang, no undefined
// behaviour; every line is counted once at most, and what is read keeps to its limits.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/ChatProtocol.h"
#include "ui/ChatRoster.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  keldra::ChatStreamReader reader(256);
  std::vector<keldra::ChatFrame> frames;
  // The first byte says where the stream is cut, as the network cuts it.
  const std::size_t piece = size == 0 ? 1 : 1 + static_cast<std::uint8_t>(bytes[0]) % 64;
  for (std::size_t at = 0; at < size; at += piece) {
    reader.Feed(bytes.substr(at, piece), frames);
  }
  const keldra::ChatStreamCounts& counts = reader.Counts();
  std::size_t lines = 0;
  for (const char c : bytes) {
    lines += c == '\n' ? 1 : 0;
  }
  if (static_cast<std::size_t>(counts.frames) != frames.size() ||
      static_cast<std::size_t>(counts.frames + counts.malformed + counts.unknown +
                               counts.too_long) > lines + 1) {
    __builtin_trap();
  }
  keldra::ChatRoster roster;
  for (const keldra::ChatFrame& frame : frames) {
    if (frame.message.text.size() > 256 || frame.user.call.size() > 16) {
      __builtin_trap();
    }
    roster.Apply(frame, frame.room);
  }
  return 0;
}

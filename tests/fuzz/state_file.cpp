// The contest state file reader over any bytes: no crash, no hang, no undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const keldra::StateFileValues values = keldra::ReadStateFile(bytes);
  // What was read writes again without trouble.
  keldra::ContestState state;
  state.qso_list = values.qso_list_lines.empty() ? "" : values.qso_list_lines.front() + "\r\n";
  (void)keldra::StateFileText(state);
  return 0;
}

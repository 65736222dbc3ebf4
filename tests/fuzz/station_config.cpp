// The station file reader over any bytes: no crash, no hang, no undefined behaviour, and what it
// reads writes again as a file that reads back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/StationConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const keldra::StationConfigValues read = keldra::ReadStationConfig(bytes);
  const keldra::StationConfig station{read.call.value_or(""), read.locator.value_or(""),
                                      read.iqrp.value_or(""), read.mqc.value_or("")};
  const keldra::StationConfigValues again =
      keldra::ReadStationConfig(keldra::StationConfigText(station));
  // A value read from one line holds no line end, so it comes back as it was (a locator of up
  // to six characters, a number of up to three).
  if (again.call != station.call || again.locator != station.locator ||
      again.iqrp != station.iqrp || again.mqc != station.mqc) {
    __builtin_trap();
  }
  return 0;
}

// A comma-separated call-locator list read into the call history, over any bytes (see
// HistoryFuzz.h).
#include "tests/fuzz/HistoryFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return keldra::fuzz::CheckHistoryReader(keldra::HistoryFormat::kCommaList, data, size);
}

// The statistics and their report over a damaged QSO list (random bytes, short and huge lines,
// NUL bytes, LF-only line ends), with distances and bearings from the real calculator as the
// statistics window gets them. No crash, no hang, no undefined behaviour.
#include "export/Statistics.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "export/Report.h"
#include "geo/Locator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view list(reinterpret_cast<const char*>(data), size);
  const keldra::Statistics statistics =
      keldra::ComputeStatistics(list, [](const std::string& locator) {
        const keldra::LocatorResult result = keldra::CalculateLocators("JN81GD", locator);
        return keldra::DistanceBearingTexts{result.distance, result.bearing};
      });
  (void)keldra::BuildReport(statistics, "16/07/2023");
  return 0;
}

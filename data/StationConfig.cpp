#include "data/StationConfig.h"

#include "core/Text.h"
#include "system/Files.h"

namespace keldra {
namespace {

constexpr std::string_view kCallKey = "Call = ";
constexpr std::string_view kLocatorKey = "Locator = ";
constexpr std::string_view kIqrpKey = "IQRP = ";
constexpr std::string_view kMqcKey = "MQC = ";

}  // namespace

std::string StationConfigText(const StationConfig& config) {
  std::string text;
  for (const auto& [key, value] :
       {std::pair{kCallKey, &config.call}, std::pair{kLocatorKey, &config.locator},
        std::pair{kIqrpKey, &config.iqrp}, std::pair{kMqcKey, &config.mqc}}) {
    text.append(key);
    text.append(*value);
    text.append("\r\n");
  }
  return text;
}

StationConfigValues ReadStationConfig(std::string_view bytes) {
  StationConfigValues values;
  for (const std::string& line : SplitLines(bytes)) {
    if (line.starts_with(kCallKey)) {
      values.call = line.substr(kCallKey.size());
    } else if (line.starts_with(kLocatorKey)) {
      values.locator = Mid(line, kLocatorKey.size() + 1, 6);
    } else if (line.starts_with(kIqrpKey)) {
      values.iqrp = Mid(line, kIqrpKey.size() + 1, 3);
    } else if (line.starts_with(kMqcKey)) {
      values.mqc = Mid(line, kMqcKey.size() + 1, 3);
    }
  }
  return values;
}

}  // namespace keldra

// The station file config.txt: the operator's own callsign, locator and club membership numbers.
// Written as four CR LF lines ("Call = ", "Locator = ", "IQRP = ", "MQC = " and the values) and
// read back by each line's leading characters, a later line of a kind replacing an earlier one.
// The locator is read as the six characters after its key and each membership number as the
// three after its key, so a shorter number comes back with whatever followed it on its line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldra {

inline constexpr const char* kStationFileName = "config.txt";

struct StationConfig {
  std::string call;
  std::string locator;
  std::string iqrp;  // the I-QRP number, without the club letter; may be empty
  std::string mqc;   // the MQC number, likewise
  friend bool operator==(const StationConfig&, const StationConfig&) = default;
};

// What a station file says: each value present only when a line of its kind was found.
struct StationConfigValues {
  std::optional<std::string> call;
  std::optional<std::string> locator;
  std::optional<std::string> iqrp;
  std::optional<std::string> mqc;
};

std::string StationConfigText(const StationConfig& config);
StationConfigValues ReadStationConfig(std::string_view bytes);

}  // namespace keldra

#include "core/RigAndRotator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

#include "system/CodePage.h"

namespace keldra {

std::string FrequencyText(double hertz) {
  // Tens of Hz are the finest step a VHF rig shows the operator.
  const long long tens = std::llround(std::max(hertz, 0.0) / 10);
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld,%02lld", tens / 100000, tens / 100 % 1000,
                tens % 100);
  return text;
}

bool InContestBand(double hertz) { return hertz >= 144e6 && hertz <= 146e6; }

std::optional<std::string> ContestModeOf(std::string_view rig_mode) {
  if (rig_mode == "USB" || rig_mode == "LSB") {
    return "SSB";
  }
  if (rig_mode == "CW" || rig_mode == "CWR") {
    return "CW";
  }
  return std::nullopt;
}

double NormalizedDegrees(double degrees) {
  const double turned = std::fmod(degrees, 360.0);
  return turned < 0 ? turned + 360.0 : turned;
}

double RotatorTarget(double bearing, double offset, bool long_path) {
  return NormalizedDegrees(bearing - offset + (long_path ? 180 : 0));
}

double AntennaHeading(double rotator_azimuth, double offset) {
  return NormalizedDegrees(rotator_azimuth + offset);
}

std::string FillCwMessage(std::string_view pattern, const CwFields& fields) {
  const std::array<std::pair<std::string_view, const std::string*>, 4> names = {
      {{"{MIO}", &fields.own_call},
       {"{CALL}", &fields.call},
       {"{NR}", &fields.serial},
       {"{LOC}", &fields.own_locator}}};
  std::string filled;
  for (std::size_t at = 0; at < pattern.size();) {
    bool named = false;
    for (const auto& [name, value] : names) {
      if (ToUpper1252(pattern.substr(at, name.size())) == name) {
        filled += *value;
        at += name.size();
        named = true;
        break;
      }
    }
    if (!named) {
      filled += pattern[at++];
    }
  }
  // One blank between words, none at the ends.
  std::string tidy;
  for (const char c : ToUpper1252(filled)) {
    if (c == ' ' && (tidy.empty() || tidy.back() == ' ')) {
      continue;
    }
    tidy += c;
  }
  if (!tidy.empty() && tidy.back() == ' ') {
    tidy.pop_back();
  }
  return tidy;
}

}  // namespace keldra

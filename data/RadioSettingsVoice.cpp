// The voice messages' lines of radio.txt. A file written before they existed has none of them and
// keeps the defaults: no PTT, the system's sound cards.
#include <array>
#include <utility>

#include "core/Text.h"
#include "data/RadioSettings.h"

namespace keldra {
namespace {

constexpr std::array<std::pair<PttWay, std::string_view>, 4> kPttNames = {
    {{PttWay::kNone, "none"}, {PttWay::kCat, "cat"}, {PttWay::kRts, "rts"}, {PttWay::kDtr, "dtr"}}};

// A whole number in [low, high].
bool StoreNumber(int& into, std::string_view text, int low, int high) {
  const std::optional<int> value = WholeNumber(text, low, high);
  if (value) {
    into = *value;
  }
  return value.has_value();
}

}  // namespace

std::string VoiceSettingsText(const VoiceLink& voice) {
  std::string_view ptt = "none";
  for (const auto& [way, name] : kPttNames) {
    if (way == voice.ptt) {
      ptt = name;
    }
  }
  return "voice_output = " + voice.output + "\r\nvoice_input = " + voice.input +
         "\r\nvoice_ptt = " + std::string(ptt) + "\r\nvoice_ptt_port = " + voice.ptt_port +
         "\r\nvoice_lead_ms = " + std::to_string(voice.lead_ms) +
         "\r\nvoice_repeat_s = " + std::to_string(voice.repeat_seconds) + "\r\n";
}

std::optional<bool> StoreVoiceSetting(VoiceLink& voice, std::string_view key,
                                      std::string_view value) {
  if (key == "voice_output") {
    voice.output = std::string(value);
  } else if (key == "voice_input") {
    voice.input = std::string(value);
  } else if (key == "voice_ptt_port") {
    voice.ptt_port = std::string(value);
  } else if (key == "voice_ptt") {
    for (const auto& [way, name] : kPttNames) {
      if (value == name) {
        voice.ptt = way;
        return true;
      }
    }
    return false;
  } else if (key == "voice_lead_ms") {
    return StoreNumber(voice.lead_ms, value, 0, kMaxPttLeadMs);
  } else if (key == "voice_repeat_s") {
    return StoreNumber(voice.repeat_seconds, value, 0, kMaxRepeatSeconds);
  } else {
    return std::nullopt;
  }
  return true;
}

}  // namespace keldra

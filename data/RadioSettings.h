// The rig and rotator settings, radio.txt in the program folder: one "key = value" line each
// (CR LF), read back by key in any order. A line that is damaged (no "=", an unknown key, a number
// that is not one) is skipped and counted, and its setting keeps its default.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "radio/Keyer.h"
#include "radio/Radio.h"
#include "radio/Voice.h"

namespace keldra {

inline constexpr const char* kRadioFileName = "radio.txt";
// The voice messages, F1.wav to F4.wav, in this folder of the contest folder.
inline constexpr const char* kVoiceFolder = "messaggi";
// The longest recording of one message.
inline constexpr int kMaxRecordSeconds = 60;

struct RadioSettings {
  DeviceLink rig;
  DeviceLink rotator;
  // Degrees the antenna points clockwise of what the rotator reports.
  int antenna_offset = 0;
  // Turn the antenna as soon as the locator field holds six characters.
  bool auto_turn = false;
  // The CW messages of F1 to F4.
  std::array<std::string, 4> messages = {"CQ TEST {MIO}", "{CALL} 5NN {NR} {LOC}", "TU {MIO}",
                                         "{MIO}"};
  // Where Hamlib's daemons are, when the program starts them and they are in none of the usual
  // places (empty: look there only).
  std::string hamlib_folder;
  // The voice messages of F1 to F4 in SSB: sound cards, PTT, lead time, repeat.
  VoiceLink voice;
  // The CW keyer; a file written before there was a choice keys with the rig, as it did then.
  KeyerLink keyer;
  // In CW, Enter in the callsign field sends F2 and Enter on a complete row sends F3 and logs.
  bool enter_sends = false;
  bool operator==(const RadioSettings&) const = default;
};

struct RadioSettingsRead {
  RadioSettings settings;
  int skipped_lines = 0;
};

std::string RadioSettingsText(const RadioSettings& settings);
RadioSettingsRead ReadRadioSettings(std::string_view bytes);

// The voice messages' lines (RadioSettingsVoice.cpp): written after the others; one line stored,
// nullopt when the key is none of them, false when its value is not one the setting takes.
std::string VoiceSettingsText(const VoiceLink& voice);
std::optional<bool> StoreVoiceSetting(VoiceLink& voice, std::string_view key,
                                      std::string_view value);

}  // namespace keldra

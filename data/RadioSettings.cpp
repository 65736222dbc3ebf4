#include "data/RadioSettings.h"

#include <charconv>
#include <optional>

#include "core/Text.h"
#include "system/Files.h"

namespace keldra {
namespace {

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// The settings as keys and the places that hold them.
struct Keys {
  std::array<std::pair<std::string_view, int*>, 6> numbers;
  std::array<std::pair<std::string_view, std::string*>, 7> texts;
};

Keys KeysOf(RadioSettings& s) {
  return {{{{"rig_model", &s.rig.model},
            {"rig_speed", &s.rig.speed},
            {"rotator_model", &s.rotator.model},
            {"rotator_speed", &s.rotator.speed},
            {"antenna_offset", &s.antenna_offset},
            {"auto_turn", nullptr}}},
          {{{"rig_port", &s.rig.port},
            {"rotator_port", &s.rotator.port},
            {"cw_f1", &s.messages[0]},
            {"cw_f2", &s.messages[1]},
            {"cw_f3", &s.messages[2]},
            {"cw_f4", &s.messages[3]},
            // Hamlib's daemons on Windows.
            {"hamlib_folder", &s.hamlib_folder}}}};
}

// The keyer's lines: kind, port, speed, PTT and Enter that sends.
bool StoreKeyer(RadioSettings& settings, std::string_view key, std::string_view value) {
  if (key == "keyer_port") {
    settings.keyer.port = std::string(value);
    return true;
  }
  const std::optional<int> read = Number(value);
  if (!read) {
    return false;
  }
  if (key == "keyer") {
    if (*read < 0 || *read > static_cast<int>(KeyerKind::kCwdaemon)) {
      return false;
    }
    settings.keyer.kind = static_cast<KeyerKind>(*read);
  } else if (key == "keyer_wpm") {
    settings.keyer.wpm = ClampWpm(*read);
  } else if (key == "keyer_ptt") {
    settings.keyer.ptt = *read != 0;
  } else if (key == "enter_sends") {
    settings.enter_sends = *read != 0;
  } else {
    return false;
  }
  return true;
}

std::string KeyerText(const RadioSettings& settings) {
  return "keyer = " + std::to_string(static_cast<int>(settings.keyer.kind)) +
         "\r\nkeyer_port = " + settings.keyer.port +
         "\r\nkeyer_wpm = " + std::to_string(settings.keyer.wpm) +
         "\r\nkeyer_ptt = " + (settings.keyer.ptt ? "1" : "0") +
         "\r\nenter_sends = " + (settings.enter_sends ? "1" : "0") + "\r\n";
}

// Stores one line's value; false when the line says nothing we can use.
bool Store(RadioSettings& settings, std::string_view key, std::string_view value) {
  if (const std::optional<bool> voice = StoreVoiceSetting(settings.voice, key, value)) {
    return *voice;
  }
  if (key.starts_with("keyer") || key == "enter_sends") {
    return StoreKeyer(settings, key, value);
  }
  Keys keys = KeysOf(settings);
  for (auto& [name, text] : keys.texts) {
    if (key == name) {
      *text = std::string(value);
      return true;
    }
  }
  for (auto& [name, number] : keys.numbers) {
    if (key != name) {
      continue;
    }
    const std::optional<int> read = Number(value);
    if (!read) {
      return false;
    }
    if (number == nullptr) {
      settings.auto_turn = *read != 0;
    } else {
      *number = *read;
    }
    return true;
  }
  return false;
}

}  // namespace

std::string RadioSettingsText(const RadioSettings& settings) {
  RadioSettings copy = settings;
  const Keys keys = KeysOf(copy);
  std::string text;
  for (const auto& [name, number] : keys.numbers) {
    text += std::string(name) + " = " +
            std::to_string(number != nullptr ? *number : (settings.auto_turn ? 1 : 0)) + "\r\n";
  }
  for (const auto& [name, value] : keys.texts) {
    text += std::string(name) + " = " + *value + "\r\n";
  }
  text += VoiceSettingsText(settings.voice);
  return text + KeyerText(settings);
}

RadioSettingsRead ReadRadioSettings(std::string_view bytes) {
  RadioSettingsRead read;
  for (const std::string& line : SplitLines(bytes)) {
    const std::size_t equals = line.find('=');
    if (Trim(line).empty()) {
      continue;
    }
    if (equals == std::string::npos ||
        !Store(read.settings, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)))) {
      ++read.skipped_lines;
    }
  }
  return read;
}

}  // namespace keldra

#include "data/ChatSettings.h"

#include <optional>

#include "core/Text.h"
#include "system/Files.h"

namespace keldra {
namespace {

bool StoreNumber(int& into, std::string_view value, int low, int high) {
  const std::optional<int> read = WholeNumber(value, low, high);
  if (read) {
    into = *read;
  }
  return read.has_value();
}

bool StoreFlag(bool& into, std::string_view value) {
  int flag = 0;
  if (!StoreNumber(flag, value, 0, 1)) {
    return false;
  }
  into = flag == 1;
  return true;
}

// Stores one line's value; false when the line says nothing we can use. The password is taken
// as it stands, blanks included; the other values are trimmed.
bool Store(ChatSettings& s, std::string_view key, std::string_view raw) {
  const std::string value = Trim(raw);
  if (key == "password") {
    s.password = std::string(raw);
    return true;
  }
  if (key == "host" || key == "call" || key == "announce_host") {
    (key == "host" ? s.host : key == "call" ? s.call : s.announce_host) = value;
    return true;
  }
  if (key == "port" || key == "announce_port") {
    return StoreNumber(key == "port" ? s.port : s.announce_port, value, 1, 65535);
  }
  if (key == "room") {
    return StoreNumber(s.room, value, 1, 99);
  }
  if (key == "width" || key == "height") {
    return StoreNumber(key == "width" ? s.width : s.height, value, 0, 1000000);
  }
  if (key == "left" || key == "top") {
    std::optional<int>& at = key == "left" ? s.left : s.top;
    at = WholeNumber(value, -1000000, 1000000);
    return at.has_value();
  }
  if (key == "remember" || key == "announce") {
    return StoreFlag(key == "remember" ? s.remember : s.announce, value);
  }
  return false;
}

}  // namespace

std::string ChatSettingsText(const ChatSettings& s) {
  auto line = [](std::string_view key, const std::string& value) {
    return std::string(key) + "=" + value + "\r\n";
  };
  std::string text = line("host", s.host) + line("port", std::to_string(s.port)) +
                     line("call", s.call) + line("remember", s.remember ? "1" : "0");
  if (s.remember) {
    text += line("password", s.password);
  }
  text += line("room", std::to_string(s.room)) + line("announce", s.announce ? "1" : "0") +
          line("announce_host", s.announce_host) +
          line("announce_port", std::to_string(s.announce_port)) +
          line("width", std::to_string(s.width)) + line("height", std::to_string(s.height));
  if (s.left && s.top) {
    text += line("left", std::to_string(*s.left)) + line("top", std::to_string(*s.top));
  }
  return text;
}

ChatSettingsRead ReadChatSettings(std::string_view bytes) {
  ChatSettingsRead read;
  for (const std::string& line : SplitLines(bytes)) {
    if (Trim(line).empty()) {
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos ||
        !Store(read.settings, Trim(line.substr(0, equals)), line.substr(equals + 1))) {
      ++read.skipped_lines;
    }
  }
  // A password without "ricorda" was never meant to be kept.
  if (!read.settings.remember) {
    read.settings.password.clear();
  }
  return read;
}

}  // namespace keldra

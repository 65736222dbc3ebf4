#include "data/ChatProtocol.h"

#include <charconv>

#include "core/Text.h"

namespace keldra {
namespace {

// A field as the windows may show it: control bytes (a NUL, an escape) become "?".
std::string Shown(std::string_view field) {
  std::string text(field);
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      c = '?';
    }
  }
  return text;
}

// A value sent inside a frame: what would end a field or the frame becomes a blank.
std::string Sent(std::string_view value) {
  std::string text(value);
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '|' || byte < 0x20 || byte == 0x7f) {
      c = ' ';
    }
  }
  return text;
}

std::optional<long long> Number(std::string_view text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || at != end) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> Room(std::string_view text) {
  const std::optional<long long> room = Number(text);
  if (!room || *room < 0 || *room > 99) {
    return std::nullopt;
  }
  return static_cast<int>(*room);
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

ChatFrame Frame(ChatFrameKind kind, int room = 0) {
  ChatFrame frame;
  frame.kind = kind;
  frame.room = room;
  return frame;
}

// The fields of a frame: what stands between its "|"s, the empty one after the closing "|"
// dropped (a frame sent without it reads the same).
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields = SplitAt(line, '|');
  if (fields.size() > 1 && fields.back().empty()) {
    fields.pop_back();
  }
  return fields;
}

// The user frames: kind|room|CALL|name|LOC|state (UA0, UA5, UA2, UM3).
std::optional<ChatFrame> UserFrame(ChatFrameKind kind, const std::vector<std::string_view>& f) {
  if (f.size() < 6) {
    return std::nullopt;
  }
  const std::optional<int> room = Room(f[1]);
  const std::optional<long long> state = Number(f[5]);
  const std::string call = Upper(f[2]);
  if (!room || !state || !IsChatCall(call)) {
    return std::nullopt;
  }
  ChatFrame frame = Frame(kind, *room);
  frame.user = {call, Shown(f[3]), Upper(Shown(Trim(f[4]))), static_cast<int>(*state)};
  return frame;
}

// CH|room|time|CALL|name|0|text|dest: a "|" typed in the text splits it, so the text is all
// that stands between the sixth field and the last.
std::optional<ChatFrame> MessageFrame(const std::vector<std::string_view>& f) {
  if (f.size() < 8) {
    return std::nullopt;
  }
  const std::optional<int> room = Room(f[1]);
  if (!room || f[3].empty() || f[3].size() > 20) {
    return std::nullopt;
  }
  ChatFrame frame = Frame(ChatFrameKind::kMessage, *room);
  ChatMessage& message = frame.message;
  message.room = *room;
  message.time = Number(f[2]);
  message.call = Upper(Shown(f[3]));
  message.name = Shown(f[4]);
  std::string text(f[6]);
  for (std::size_t i = 7; i + 1 < f.size(); ++i) {
    text += '|';
    text += f[i];
  }
  message.text = Shown(text);
  const std::string to = Upper(Shown(Trim(f.back())));
  message.to = to == "0" ? "" : to;
  return frame;
}

std::optional<ChatFrame> Parse(const std::vector<std::string_view>& f, bool& known) {
  const std::string_view kind = f[0];
  known = true;
  if (kind == "UA0") {
    return UserFrame(ChatFrameKind::kUserListed, f);
  }
  if (kind == "UA5" || kind == "UA2") {
    return UserFrame(ChatFrameKind::kUserJoined, f);
  }
  if (kind == "UM3") {
    return UserFrame(ChatFrameKind::kUserChanged, f);
  }
  if (kind == "CH" || kind == "CR") {
    return MessageFrame(f);
  }
  if (kind == "CK") {
    return Frame(ChatFrameKind::kKeepAlive);
  }
  if (kind == "LOGSTAT") {
    if (f.size() < 2 || f[1].empty()) {
      return std::nullopt;
    }
    const bool accepted = f[1] == "100";
    ChatFrame frame =
        Frame(accepted ? ChatFrameKind::kLoginAccepted : ChatFrameKind::kLoginRefused);
    frame.code = Shown(f[1]);
    frame.reason = f.size() > 2 && !accepted ? Shown(f[2]) : "";
    if (accepted && f.size() > 2) {
      frame.room = Room(f[2]).value_or(0);
    }
    return frame;
  }
  if (kind == "UE") {
    if (f.size() < 2 || !Room(f[1])) {
      return std::nullopt;
    }
    return Frame(ChatFrameKind::kUserListEnd, *Room(f[1]));
  }
  if (kind == "UR6" || kind == "UR7" || kind == "US4") {
    const bool left = kind != "US4";
    if (f.size() < (left ? 3U : 4U) || !Room(f[1]) || !IsChatCall(Upper(f[2]))) {
      return std::nullopt;
    }
    ChatFrame frame =
        Frame(left ? ChatFrameKind::kUserLeft : ChatFrameKind::kUserState, *Room(f[1]));
    frame.user.call = Upper(f[2]);
    if (!left) {
      const std::optional<long long> state = Number(f[3]);
      if (!state) {
        return std::nullopt;
      }
      frame.user.state = static_cast<int>(*state);
    }
    return frame;
  }
  if (kind == "LOC") {
    // LOC|time|CALL|LOC: no room, the server's one locator per user.
    if (f.size() < 4 || !IsChatCall(Upper(f[2]))) {
      return std::nullopt;
    }
    ChatFrame frame = Frame(ChatFrameKind::kUserLocator);
    frame.user.call = Upper(f[2]);
    frame.user.locator = Upper(Shown(Trim(f[3])));
    return frame;
  }
  known = false;
  return std::nullopt;
}

}  // namespace

bool IsChatCall(std::string_view text) {
  if (text.size() < 3 || text.size() > 16) {
    return false;
  }
  bool digit = false;
  bool letter = false;
  for (const char c : text) {
    digit = digit || IsDigit(c);
    letter = letter || (c >= 'A' && c <= 'Z');
    if (!IsDigit(c) && !(c >= 'A' && c <= 'Z') && c != '/' && c != '-') {
      return false;
    }
  }
  return digit && letter;
}

std::string ChatTimeText(long long seconds) {
  long long of_day = seconds % 86400;
  if (of_day < 0) {
    of_day += 86400;
  }
  return ZeroFill(std::to_string(of_day / 3600), 2) + ":" +
         ZeroFill(std::to_string(of_day % 3600 / 60), 2);
}

std::optional<ChatFrame> ParseChatFrame(std::string_view line, ChatStreamCounts& counts) {
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  if (Trim(line).empty()) {
    return std::nullopt;  // the blank lines between frames are nothing
  }
  const std::vector<std::string_view> fields = Fields(line);
  bool known = false;
  std::optional<ChatFrame> frame = Parse(fields, known);
  if (frame) {
    ++counts.frames;
  } else if (known) {
    ++counts.malformed;
  } else {
    ++counts.unknown;
  }
  return frame;
}

void ChatStreamReader::Feed(std::string_view bytes, std::vector<ChatFrame>& frames) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (!dropping_) {
      // Only what still fits is kept: a line over the limit costs no more memory than that.
      const std::size_t room = max_line_ + 1 - std::min(pending_.size(), max_line_ + 1);
      pending_.append(piece.substr(0, room));
      if (pending_.size() > max_line_) {
        dropping_ = true;
        ++counts_.too_long;
        pending_.clear();
      }
    }
    if (end == std::string_view::npos) {
      return;
    }
    if (!dropping_) {
      if (std::optional<ChatFrame> frame = ParseChatFrame(pending_, counts_)) {
        frames.push_back(std::move(*frame));
      }
    }
    pending_.clear();
    dropping_ = false;
    bytes.remove_prefix(end + 1);
  }
}

void ChatStreamReader::Reset() {
  pending_.clear();
  dropping_ = false;
}

std::string LoginFrame(std::string_view call, std::string_view password, int room) {
  // The client's name, then the server's defaults for the history it sends: 25 lines, none of
  // the DX cluster, the user list, from the start.
  return "LOGINC|" + Sent(call) + "|" + Sent(password) + "|" + std::to_string(room) +
         "|Keldra VHF QRP Test|25|0|1|0|0|\r\n";
}

std::string SettingsDoneFrame(int room) { return "SDONE|" + std::to_string(room) + "|\r\n"; }

std::string RoomMessageFrame(int room, std::string_view text) {
  return "MSG|" + std::to_string(room) + "|0|" + Sent(text) + "|0|\r\n";
}

std::string PrivateMessageFrame(int room, std::string_view call, std::string_view text) {
  return RoomMessageFrame(room, "/cq " + Sent(call) + " " + std::string(text));
}

std::string LocatorFrame(int room, std::string_view locator) {
  return RoomMessageFrame(room, "/SETLOC " + Sent(locator));
}

std::string KeepAliveFrame() { return "CK|\r\n"; }

}  // namespace keldra

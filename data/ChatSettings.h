// The chat's settings, chat.txt in the contest folder: the server and the login, the room, the
// QSO announcements to other programs and the chat window's size. One "key=value" line each (CR
// LF), read back by key in any order; a damaged line is skipped and counted and its setting
// keeps its default. The password is in the file only when the operator ticked "ricorda", and
// the file is then written readable by its owner only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/ChatProtocol.h"

namespace keldra {

inline constexpr const char* kChatFileName = "chat.txt";
inline constexpr const char* kChatHost = "www.on4kst.info";
inline constexpr int kChatPort = 23001;
// Where the QSO announcements go unless the operator says otherwise: the port contest programs
// listen on, on this PC.
inline constexpr const char* kContactInfoHost = "127.0.0.1";
inline constexpr int kContactInfoPort = 12060;

struct ChatSettings {
  std::string host = kChatHost;
  int port = kChatPort;
  std::string call;  // empty: the station's own
  std::string password;
  bool remember = false;  // keep the password in the file
  int room = kDefaultChatRoom;
  bool announce = false;  // send every QSO as a contactinfo datagram
  std::string announce_host = kContactInfoHost;
  int announce_port = kContactInfoPort;
  int width = 0;  // the window's size in twips; 0: its own
  int height = 0;
  // Where the window stood (twips; left of or above the main screen is negative); none: never
  // placed by the operator.
  std::optional<int> left;
  std::optional<int> top;
  friend bool operator==(const ChatSettings&, const ChatSettings&) = default;
};

struct ChatSettingsRead {
  ChatSettings settings;
  int skipped_lines = 0;
};

// The file's text; the password only with `remember`.
std::string ChatSettingsText(const ChatSettings& settings);
ChatSettingsRead ReadChatSettings(std::string_view bytes);

}  // namespace keldra

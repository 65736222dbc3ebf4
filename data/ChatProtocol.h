// The ON4KST chat server's framed interface (port 23001), read and written. The server sends one
// frame a line, fields separated by "|" and ended by "|" and CR LF: the login's answer
// ("LOGSTAT|100|..."), the room's users ("UA0|room|CALL|name|LOC|state|", ended by "UE|room|n|"),
// who joins, changes or leaves, the chat lines ("CH|room|time|CALL|name|0|text|dest|") and its
// keep-alive ("CK|"). The client logs in with "LOGINC|...", says it is ready with "SDONE|room|"
// and writes with "MSG|room|0|text|0|".
//
// Everything from the network is bad input until read: a line longer than the limit is dropped
// whole, a frame with missing fields or a callsign that is no callsign is skipped, and each is
// counted; bytes that are not text become "?". Texts stay in the server's single-byte code page,
// which the program shows as Windows-1252. Nothing here throws or waits.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldra {

// The rooms of the chat by number; the 144/432 MHz room is the contest's.
struct ChatRoom {
  int number;
  const char* name;
};
inline constexpr ChatRoom kChatRooms[] = {{1, "50/70 MHz"},
                                          {2, "144/432 MHz"},
                                          {3, "Microwave"},
                                          {4, "EME/JT65"},
                                          {5, "Low Band"},
                                          {6, "50 MHz IARU Region 3"},
                                          {7, "50 MHz IARU Region 2"},
                                          {8, "144/432 MHz IARU R 2"},
                                          {9, "144/432 MHz IARU R 3"},
                                          {10, "kHz (2000-630m)"},
                                          {11, "Warc (30,17,12m)"},
                                          {12, "28 MHz"}};
inline constexpr int kDefaultChatRoom = 2;

struct ChatUser {
  std::string call;
  std::string name;
  std::string locator;
  int state = 0;  // the server's: 0 in the chat, 1 and 3 away, 2 here
  friend bool operator==(const ChatUser&, const ChatUser&) = default;
};

struct ChatMessage {
  int room = 0;
  std::optional<long long> time;  // seconds since 1970 UTC, when the frame carried a number
  std::string call;
  std::string name;
  std::string text;
  std::string to;  // empty for the whole room
  friend bool operator==(const ChatMessage&, const ChatMessage&) = default;
};

enum class ChatFrameKind {
  kLoginAccepted,  // LOGSTAT|100
  kLoginRefused,   // LOGSTAT with another code; `reason` holds the server's words
  kUserListed,     // UA0: one user of the list sent after the login
  kUserJoined,     // UA5, UA2
  kUserChanged,    // UM3: a new name, locator or state
  kUserState,      // US4: only the state
  kUserLocator,    // LOC: only the locator
  kUserLeft,       // UR6, UR7
  kUserListEnd,    // UE
  kMessage,        // CH, and CR (a line of the room's history)
  kKeepAlive,      // CK
};

struct ChatFrame {
  ChatFrameKind kind = ChatFrameKind::kKeepAlive;
  int room = 0;
  ChatUser user;        // the user frames' (only the call for UR, the state for US4 ...)
  ChatMessage message;  // kMessage
  std::string code;     // LOGSTAT's
  std::string reason;   // LOGSTAT's words
  friend bool operator==(const ChatFrame&, const ChatFrame&) = default;
};

// What a stream held besides its frames.
struct ChatStreamCounts {
  long long frames = 0;     // read and understood
  long long malformed = 0;  // a known kind with missing or bad fields
  long long too_long = 0;   // lines over the limit, dropped whole
  long long unknown = 0;    // kinds this program does not use (the DX cluster's, ...)
  friend bool operator==(const ChatStreamCounts&, const ChatStreamCounts&) = default;
};

// One line of the stream (without its line end) as a frame; nothing when it is no frame this
// program uses, counted as malformed or unknown.
std::optional<ChatFrame> ParseChatFrame(std::string_view line, ChatStreamCounts& counts);

// The server's stream, fed as it arrives in pieces of any size.
class ChatStreamReader {
 public:
  static constexpr std::size_t kDefaultMaxLine = 2048;
  explicit ChatStreamReader(std::size_t max_line = kDefaultMaxLine) : max_line_(max_line) {}

  // Appends the frames that the bytes complete to `frames`.
  void Feed(std::string_view bytes, std::vector<ChatFrame>& frames);
  const ChatStreamCounts& Counts() const { return counts_; }
  // A new connection: what was left of the old one's last line is dropped.
  void Reset();

 private:
  std::size_t max_line_;
  std::string pending_;
  bool dropping_ = false;  // inside a line already over the limit
  ChatStreamCounts counts_;
};

// Whether a text is a callsign the chat could carry: 3 to 16 letters, digits and "/" or "-",
// with a digit and a letter.
bool IsChatCall(std::string_view text);
// The hh:mm UTC of a frame's time.
std::string ChatTimeText(long long seconds);

// The frames this program sends, each ended by CR LF. A "|", a line end or a control character
// in a value would end a field or the frame; it is sent as a blank.
std::string LoginFrame(std::string_view call, std::string_view password, int room);
std::string SettingsDoneFrame(int room);
std::string RoomMessageFrame(int room, std::string_view text);
// A message to one station of the room (the chat's "/cq CALL text").
std::string PrivateMessageFrame(int room, std::string_view call, std::string_view text);
std::string LocatorFrame(int room, std::string_view locator);
std::string KeepAliveFrame();

}  // namespace keldra

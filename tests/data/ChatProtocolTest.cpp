// The chat server's framed stream: each frame kind read from the line the server sends, bad
// frames skipped and counted, a stream cut anywhere read the same, and the frames we send.
#include <gtest/gtest.h>

#include "data/ChatProtocol.h"

namespace keldra {
namespace {

struct FrameCase {
  const char* name;
  const char* line;
  std::optional<ChatFrame> frame;
  ChatStreamCounts counts;
};

ChatFrame User(ChatFrameKind kind, int room, ChatUser user) {
  ChatFrame frame;
  frame.kind = kind;
  frame.room = room;
  frame.user = std::move(user);
  return frame;
}

ChatFrame Message(ChatMessage message) {
  ChatFrame frame;
  frame.kind = ChatFrameKind::kMessage;
  frame.room = message.room;
  frame.message = std::move(message);
  return frame;
}

ChatFrame Login(ChatFrameKind kind, const char* code, const char* reason, int room = 0) {
  ChatFrame frame;
  frame.kind = kind;
  frame.code = code;
  frame.reason = reason;
  frame.room = room;
  return frame;
}

constexpr ChatStreamCounts kRead{1, 0, 0, 0};
constexpr ChatStreamCounts kMalformed{0, 1, 0, 0};
constexpr ChatStreamCounts kUnknown{0, 0, 0, 1};

TEST(ChatProtocolTest, OneLineEachKind) {
  const FrameCase cases[] = {
      {"user_listed", "UA0|2|dl6saq|walter not qrv|jn58ck|1|",
       User(ChatFrameKind::kUserListed, 2, {"DL6SAQ", "walter not qrv", "JN58CK", 1}), kRead},
      {"user_joined_ua2", "UA2|2|W5ADD|Parker|EM40WL|2|",
       User(ChatFrameKind::kUserJoined, 2, {"W5ADD", "Parker", "EM40WL", 2}), kRead},
      {"user_changed", "UM3|2|HA4XN|Zoli 2m SSB/CW|JN96LX|2|",
       User(ChatFrameKind::kUserChanged, 2, {"HA4XN", "Zoli 2m SSB/CW", "JN96LX", 2}), kRead},
      {"user_left", "UR6|2|IU4CHE|", User(ChatFrameKind::kUserLeft, 2, {"IU4CHE", "", "", 0}),
       kRead},
      {"user_state", "US4|2|DM5M|3|", User(ChatFrameKind::kUserState, 2, {"DM5M", "", "", 3}),
       kRead},
      {"user_locator", "LOC|1664012560|I4GHG/6|jn63dt|",
       User(ChatFrameKind::kUserLocator, 0, {"I4GHG/6", "", "JN63DT", 0}), kRead},
      {"list_end", "UE|2|22562|", User(ChatFrameKind::kUserListEnd, 2, {}), kRead},
      {"room_message", "CH|2|1663966535|DM5M|dm5m-team|0|kst4contest.test|0|",
       Message({2, 1663966535, "DM5M", "dm5m-team", "kst4contest.test", ""}), kRead},
      {"private_message", "CH|2|1663966534|DM5M|team|0|pse 144.300|do5amf|",
       Message({2, 1663966534, "DM5M", "team", "pse 144.300", "DO5AMF"}), kRead},
      {"bar_in_text", "CH|2|1|QX1AB|Al|0|a|b|c|0|", Message({2, 1, "QX1AB", "Al", "a|b|c", ""}),
       kRead},
      {"time_not_a_number", "CR|2|soon|QX1AB|Al|0|hi|0|",
       Message({2, std::nullopt, "QX1AB", "Al", "hi", ""}), kRead},
      {"control_bytes_shown_as_question_marks", "CH|2|1|QX1AB|A\x1b|0|x\x01y|0|",
       Message({2, 1, "QX1AB", "A?", "x?y", ""}), kRead},
      {"login_accepted", "LOGSTAT|100|2|20040703a|KEY|0|",
       Login(ChatFrameKind::kLoginAccepted, "100", "", 2), kRead},
      {"wrong_password", "LOGSTAT|114|Wrong password!|",
       Login(ChatFrameKind::kLoginRefused, "114", "Wrong password!"), kRead},
      {"keep_alive", "CK|", Login(ChatFrameKind::kKeepAlive, "", ""), kRead},
      {"keep_alive_with_cr", "CK|\r", Login(ChatFrameKind::kKeepAlive, "", ""), kRead},
      {"user_missing_state", "UA0|2|QX1AB|Al|JN61|", std::nullopt, kMalformed},
      {"user_call_not_a_call", "UA5|2|<script>|x|JN61AA|0|", std::nullopt, kMalformed},
      {"user_room_not_a_number", "UA0|two|QX1AB|Al|JN61AA|0|", std::nullopt, kMalformed},
      {"user_state_not_a_number", "UA0|2|QX1AB|Al|JN61AA|here|", std::nullopt, kMalformed},
      {"message_missing_destination", "CH|2|1|QX1AB|Al|0|hi|", std::nullopt, kMalformed},
      {"message_without_sender", "CH|2|1||Al|0|hi|0|", std::nullopt, kMalformed},
      {"state_missing", "US4|2|DM5M|", std::nullopt, kMalformed},
      {"logstat_without_code", "LOGSTAT|", std::nullopt, kMalformed},
      {"list_end_without_room", "UE|", std::nullopt, kMalformed},
      {"dx_cluster_not_used", "DL|2|QX1AB|144300.0|QX2CD|599|", std::nullopt, kUnknown},
      {"not_a_frame", "Login:", std::nullopt, kUnknown},
      {"blank_line", "  ", std::nullopt, {}},
  };
  for (const FrameCase& c : cases) {
    ChatStreamCounts counts;
    EXPECT_EQ(ParseChatFrame(c.line, counts), c.frame) << c.name;
    EXPECT_EQ(counts, c.counts) << c.name;
  }
}

TEST(ChatProtocolTest, StreamCutAnywhereReadsTheSame) {
  const std::string stream =
      "LOGSTAT|100|2|x|\r\nUA0|2|QX1AB|Al|JN61AA|0|\r\nUA0|2|QX2CD|Bo|JN45XX|2|\r\n"
      "UE|2|2|\r\nCH|2|1|QX1AB|Al|0|cq 144.300|0|\r\nCK|\n";
  ChatStreamReader whole;
  std::vector<ChatFrame> expected;
  whole.Feed(stream, expected);
  ASSERT_EQ(expected.size(), 6U);
  for (std::size_t piece = 1; piece <= 7; ++piece) {
    ChatStreamReader reader;
    std::vector<ChatFrame> frames;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
      reader.Feed(std::string_view(stream).substr(at, piece), frames);
    }
    EXPECT_EQ(frames, expected) << piece;
    EXPECT_EQ(reader.Counts(), whole.Counts()) << piece;
  }
}

TEST(ChatProtocolTest, OverlongLinesDroppedWholeAndCounted) {
  ChatStreamReader reader(32);
  std::vector<ChatFrame> frames;
  const std::string long_text(100, 'x');
  // Sent in pieces: the reader keeps no more than its limit while it waits for the line end.
  reader.Feed("CH|2|1|QX1AB|Al|0|" + long_text.substr(0, 50), frames);
  reader.Feed(long_text.substr(50) + "|0|\r\nCK|\r\n", frames);
  reader.Feed(std::string(32, 'y') + "\r\nUR6|2|QX1AB|\r\n", frames);  // 33 with the CR
  ASSERT_EQ(frames.size(), 2U);
  EXPECT_EQ(frames[0].kind, ChatFrameKind::kKeepAlive);
  EXPECT_EQ(frames[1].kind, ChatFrameKind::kUserLeft);
  EXPECT_EQ(reader.Counts(), (ChatStreamCounts{2, 0, 2, 0}));
  // A new connection starts clean: half a line of the old one is no frame.
  reader.Feed("UR6|2|QX", frames);
  reader.Reset();
  reader.Feed("CK|\r\n", frames);
  EXPECT_EQ(frames.size(), 3U);
  EXPECT_EQ(reader.Counts().malformed, 0);
}

TEST(ChatProtocolTest, FramesSent) {
  EXPECT_EQ(LoginFrame("QX0ABC", "se|cret\r\n", 2),
            "LOGINC|QX0ABC|se cret  |2|Keldra VHF QRP Test|25|0|1|0|0|\r\n");
  EXPECT_EQ(SettingsDoneFrame(2), "SDONE|2|\r\n");
  EXPECT_EQ(RoomMessageFrame(2, "qrv 144.300 | cw\r\n"), "MSG|2|0|qrv 144.300   cw  |0|\r\n");
  EXPECT_EQ(PrivateMessageFrame(2, "QX1AB", "sked 144.310?"),
            "MSG|2|0|/cq QX1AB sked 144.310?|0|\r\n");
  EXPECT_EQ(LocatorFrame(2, "JN81GD"), "MSG|2|0|/SETLOC JN81GD|0|\r\n");
  EXPECT_EQ(KeepAliveFrame(), "CK|\r\n");
}

TEST(ChatProtocolTest, CallsAndTimes) {
  for (const char* call : {"QX1AB", "I4GHG/6", "9A2AA", "OE3XYZ/P", "S5-0AA"}) {
    EXPECT_TRUE(IsChatCall(call)) << call;
  }
  for (const char* call : {"", "AB", "ABCDEF", "123", "qx1ab", "QX1 AB", "QX1AB/P/MM/1234567"}) {
    EXPECT_FALSE(IsChatCall(call)) << call;
  }
  EXPECT_EQ(ChatTimeText(1663966535), "20:55");
  EXPECT_EQ(ChatTimeText(0), "00:00");
  EXPECT_EQ(ChatTimeText(-60), "23:59");
}

}  // namespace
}  // namespace keldra

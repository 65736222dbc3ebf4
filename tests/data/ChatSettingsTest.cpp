// chat.txt: written and read back, the password only with "ricorda", damaged lines skipped.
#include <gtest/gtest.h>

#include "data/ChatSettings.h"

namespace keldra {
namespace {

TEST(ChatSettingsTest, RoundTripKeepsThePasswordOnlyWhenRemembered) {
  ChatSettings set;
  set.host = "localhost";
  set.port = 4242;
  set.call = "QX0ABC";
  set.password = " pa ss=word ";
  set.remember = true;
  set.room = 3;
  set.announce = true;
  set.announce_host = "192.168.1.20";
  set.announce_port = 12061;
  set.width = 15900;
  set.height = 10200;
  set.left = -19200;  // a screen left of the main one
  set.top = 300;
  EXPECT_EQ(ReadChatSettings(ChatSettingsText(set)).settings, set);

  set.remember = false;
  const std::string text = ChatSettingsText(set);
  EXPECT_EQ(text.find("pa ss"), std::string::npos);
  ChatSettings forgotten = set;
  forgotten.password.clear();
  EXPECT_EQ(ReadChatSettings(text).settings, forgotten);
  EXPECT_EQ(ReadChatSettings("").settings, ChatSettings{});
}

TEST(ChatSettingsTest, DamagedLinesAreSkipped) {
  // A password written by hand without "ricorda" is not taken either.
  const ChatSettingsRead read = ReadChatSettings(
      "port=0\r\nroom=two\r\nannounce=yes\r\nno equals\r\ncolour=blue\r\n\r\n"
      " host = example.org \r\npassword=x\r\nannounce_port=70000\r\nroom=9\n");
  ChatSettings expected;
  expected.host = "example.org";
  expected.room = 9;
  EXPECT_EQ(read.settings, expected);
  EXPECT_EQ(read.skipped_lines, 6);
}

}  // namespace
}  // namespace keldra

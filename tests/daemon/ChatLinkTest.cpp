// The chat window against a chat server of the tests' own on loopback: login, the room's users
// with their points, messages to the room and private ones, users joining and leaving, a wrong
// password, a drop and a stall with the reconnection; a user taken into the entry row; and the
// QSO announced as a contactinfo datagram to a listener.
#include <gtest/gtest.h>

#include "ChatServer.h"
#include "core/Text.h"
#include "support/EventPump.h"
#include "system/Datagram.h"
#include "ui/ChatWindow.h"
#include "ui/MainWindowFixture.h"

namespace keldra::testing {
namespace {

constexpr const char* kPassword = "s3gr3ta-pw";

class ChatLinkTest : public MainWindowTest {
 protected:
  ChatLinkTest()
      : server_(kPassword, {{"QX1AB", "Aldo", "JN61FW"},
                            {"QX2CD", "Bruno", "JN45XX"},
                            {"QX3EF", "Carlo", "JN81GD"}}) {}
  // The chat's link posts to the pump until the program ends it: the program goes first.
  ~ChatLinkTest() override { program_.reset(); }

  // The chat window pointed at the test's server, connected with `password`.
  ChatWindow& Connected(const std::string& password = kPassword) {
    Main();
    program().SetPost([this](std::function<void()> job) { pump_.Post(std::move(job)); });
    ChatWindow& chat = program().Get<ChatWindow>();
    chat.SetTiming({.first_retry = std::chrono::milliseconds(100),
                    .longest_retry = std::chrono::milliseconds(400),
                    .stall = std::chrono::milliseconds(600),
                    .keep_alive = std::chrono::milliseconds(200),
                    .connect = std::chrono::milliseconds(1000),
                    .slice = std::chrono::milliseconds(20)});
    chat.host.SetText("127.0.0.1");
    chat.port.SetText(std::to_string(server_.Port()));
    chat.call.SetText("QX0ABC");
    chat.password.SetText(password);
    chat.connect_button.Press();
    return chat;
  }

  bool Until(const std::function<bool()>& done) { return pump_.RunUntil(done); }
  static bool Shows(const Control& control, const std::string& part) {
    const std::string text = control.Kind() == ControlKind::kLabel
                                 ? static_cast<const Label&>(control).Caption()
                                 : static_cast<const TextBox&>(control).Text();
    return Cp1252ToUtf8(text).find(part) != std::string::npos;
  }
  bool ServerGot(const std::string& line) {
    for (const std::string& got : server_.Received()) {
      if (got == line) {
        return true;
      }
    }
    return false;
  }

  ChatServer server_;
  EventPump pump_;
};

TEST_F(ChatLinkTest, LoginUsersAndMessages) {
  ChatWindow& chat = Connected();
  ASSERT_TRUE(Until([&] { return chat.Rows().size() == 3; }));
  EXPECT_TRUE(Shows(chat.state, "In linea nella stanza 144/432 MHz"));
  EXPECT_TRUE(ServerGot("SDONE|2|"));
  EXPECT_TRUE(ServerGot("MSG|2|0|/SETLOC JN81GD|0|"));
  // By points: Bruno far in the north first, the own square's Carlo (1 km) last; the station's
  // own call is not listed.
  EXPECT_EQ(chat.Rows()[0].call, "QX2CD");
  EXPECT_EQ(chat.Rows()[2].call, "QX3EF");
  EXPECT_EQ(chat.Rows()[2].points, 1);
  EXPECT_EQ(chat.users.ListCount(), 3);
  EXPECT_EQ(chat.users.Items()[2], ChatRowLine(chat.Rows()[2]));

  server_.Push("UA5|2|QX4GH|Dino|JN70AA|2|");
  server_.Push("UR6|2|QX1AB|");
  server_.Push("CH|2|1700000100|QX2CD|Bruno|0|cq 144.300 ssb|0|");
  server_.Push("CH|2|1700000160|QX3EF|Carlo|0|sked 144.310?|QX0ABC|");
  server_.Push("CH|2|1700000220|QX4GH|Dino|0|qx0abc pse qrz|0|");
  server_.Push("UA0|2|bad call|x|JN|0|");
  ASSERT_TRUE(Until([&] { return Shows(chat.messages, "qx0abc pse qrz"); }));
  EXPECT_TRUE(Shows(chat.messages, "22:15   QX2CD      Bruno> cq 144.300 ssb"));
  EXPECT_TRUE(Shows(chat.mine, "22:16 * QX3EF      Carlo> (a QX0ABC) sked 144.310?"));
  EXPECT_TRUE(Shows(chat.mine, "QX4GH      Dino> qx0abc pse qrz"));
  EXPECT_FALSE(Shows(chat.mine, "Bruno"));
  ASSERT_TRUE(Until([&] { return chat.Roster().Find("QX4GH") && !chat.Roster().Find("QX1AB"); }));
  EXPECT_TRUE(Until([&] { return Shows(chat.state, "righe non valide scartate: 1"); }));

  // To the room, then privately: the server echoes both.
  chat.say.SetText("qrv 144.300");
  chat.send_button.Press();
  chat.to.SetText("qx2cd");
  chat.say.SetText("sked?");
  chat.say.PressKey(key::kEnter);
  ASSERT_TRUE(Until([&] { return Shows(chat.mine, "(a QX2CD) sked?"); }));
  EXPECT_TRUE(ServerGot("MSG|2|0|qrv 144.300|0|"));
  EXPECT_TRUE(ServerGot("MSG|2|0|/cq QX2CD sked?|0|"));
  EXPECT_TRUE(Shows(chat.messages, "QX0ABC     me> qrv 144.300"));
  EXPECT_EQ(chat.say.Text(), "");
}

TEST_F(ChatLinkTest, WrongPasswordIsSaidOnceAndNotRetried) {
  ChatWindow& chat = Connected("wrong-one");
  ASSERT_TRUE(Until([&] { return Shows(chat.state, "Accesso rifiutato"); }));
  EXPECT_TRUE(Shows(chat.state, "password errata"));
  ASSERT_EQ(messages_.shown.size(), 1U);
  EXPECT_EQ(Cp1252ToUtf8(messages_.shown[0].text),
            "La chat ha rifiutato l'accesso: password errata.");
  // Four retry pauses later there is still one attempt.
  pump_.RunUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(server_.Connections(), 1);
  // The password went to the server and nowhere else: not the file ("ricorda" unticked), not a
  // message, not the window's texts.
  EXPECT_EQ(ReadBytes(File("chat.txt")).find("wrong-one"), std::string::npos);
  for (const Control* control : chat.Controls()) {
    if (control != &chat.password && control->Kind() == ControlKind::kLabel) {
      EXPECT_FALSE(Shows(*control, "wrong-one")) << control->Name();
    }
  }
}

TEST_F(ChatLinkTest, DropAndStallReconnect) {
  ChatWindow& chat = Connected();
  ASSERT_TRUE(Until([&] { return chat.Rows().size() == 3; }));
  server_.Drop();
  ASSERT_TRUE(Until([&] { return Shows(chat.state, "Collegamento perso"); }));
  EXPECT_TRUE(chat.Rows().empty());
  ASSERT_TRUE(Until([&] { return server_.Connections() == 2 && chat.Rows().size() == 3; }));
  EXPECT_TRUE(Shows(chat.state, "In linea"));

  // A server that stays connected and falls silent is dropped after the stall time.
  server_.Stall(true);
  ASSERT_TRUE(Until([&] { return Shows(chat.state, "il server non risponde"); }));
  server_.Stall(false);
  ASSERT_TRUE(Until([&] { return server_.Connections() == 3 && Shows(chat.state, "In linea"); }));
  // While it stalled the link kept sending its own keep-alive.
  EXPECT_TRUE(ServerGot("CK|"));
}

TEST_F(ChatLinkTest, RetryPauseGrowsToHalfAMinute) {
  const ChatTiming timing;
  std::vector<long long> seconds;
  for (int failures = 1; failures <= 6; ++failures) {
    seconds.push_back(
        std::chrono::duration_cast<std::chrono::seconds>(ChatRetryPause(failures, timing)).count());
  }
  EXPECT_EQ(seconds, (std::vector<long long>{3, 6, 12, 24, 30, 30}));
}

TEST_F(ChatLinkTest, UserIntoTheEntryRowAndTheQsoAnnounced) {
  DatagramSocket listener;
  ASSERT_EQ(listener.Bind(0), SocketFailure::kNone);
  ChatWindow& chat = Connected();
  chat.announce_address.SetText("127.0.0.1:" + std::to_string(listener.Port()));
  chat.announce.SetValue(1);
  ASSERT_TRUE(Until([&] { return chat.Rows().size() == 3; }));
  MainWindow& m = Main();

  chat.users.SetListIndex(1);  // QX1AB, JN61FW
  chat.users.DblClick();
  EXPECT_EQ(m.call.Text(), "QX1AB");
  EXPECT_EQ(m.locator.Text(), "JN61FW");
  EXPECT_EQ(Trim(m.distance.Caption()), PlainDecimal(chat.Rows()[1].km));
  EXPECT_EQ(Focused(), "Text9");  // the serial received is the operator's to type

  // A row in progress is not overwritten.
  chat.users.SetListIndex(0);
  EXPECT_TRUE(chat.users.PressKey(key::kEnter));
  EXPECT_EQ(m.call.Text(), "QX1AB");
  EXPECT_TRUE(Shows(chat.state, "riga del log"));

  m.serial_received.SetText("007");
  m.ok_button.Press();
  ASSERT_EQ(m.Log().Entries().size(), 1U);
  EXPECT_TRUE(Until([&] { return chat.Rows()[1].worked || chat.Rows()[0].worked; }));
  std::string datagram;
  ASSERT_EQ(listener.Receive(datagram, std::chrono::steady_clock::now() + std::chrono::seconds(2)),
            SocketFailure::kNone);
  const LoggedQso& qso = *m.Log().Entries()[0].qso;
  const std::string parts[] = {"<call>QX1AB</call>",
                               "<mycall>QX0ABC</mycall>",
                               "<gridsquare>JN61FW</gridsquare>",
                               "<rcvnr>007</rcvnr>",
                               "<band>144</band>",
                               "<points>" + PlainDecimal(qso.km) + "</points>",
                               "<timestamp>2023-07-16 07:30:00"};
  for (const std::string& part : parts) {
    EXPECT_NE(datagram.find(part), std::string::npos) << part << "\n" << datagram;
  }
}

}  // namespace
}  // namespace keldra::testing

// The chat window in the real widgets: the password shown as dots, a double click and Enter on
// a user reaching the entry row, Ctrl+R reaching the rotator. Screenshot of the window with a
// room's users and messages (fed as the link would feed them). The window's place and size kept.
#include <QLineEdit>
#include <QListWidget>

#include "QtTestSupport.h"
#include "support/FakeRadio.h"
#include "ui/ChatWindow.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

class ChatQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kLoggingStationFile);
    WriteBytes(File("radio.txt"), "rotator_model = 1\r\n");
    WriteBytes(File("iqrp.txt"), "QX3EF#12\r\n");
    program().SetDevices(radio_);
    FrontEnd();
    program().Start();
    Settle();
  }
  QWidget* Widget(const Control& c) { return FrontEnd().WidgetOf(c); }
  FakeRadio radio_;
};

ChatFrame UserFrame(const char* call, const char* name, const char* locator) {
  ChatFrame frame;
  frame.kind = ChatFrameKind::kUserListed;
  frame.room = 2;
  frame.user = {call, name, locator, 0};
  return frame;
}

ChatFrame Said(long long time, const char* call, const char* name, const char* text,
               const char* to = "") {
  ChatFrame frame;
  frame.kind = ChatFrameKind::kMessage;
  frame.room = 2;
  frame.message = {2, time, call, name, text, to};
  return frame;
}

TEST_F(ChatQtTest, UsersReachTheEntryRowAndTheRotator) {
  MainWindow& m = program().Get<MainWindow>();
  radio_.Rotator(LinkState::kConnected, 0);
  m.chat_button.Press();
  ChatWindow& chat = program().Get<ChatWindow>();
  chat.password.SetText("segreta");
  chat.OnStatus({ChatLinkState::kOnline, "", 0, {}});
  chat.OnFrames({UserFrame("QX1AB", "Aldo", "JN61FW"), UserFrame("QX2CD", "Bruno", "JN45XX"),
                 UserFrame("QX3EF", "Carlo", "JN70KU"), UserFrame("QX4GH", "Dino", "JN63QN"),
                 Said(1700000100, "QX2CD", "Bruno", "cq 144.300 ssb"),
                 Said(1700000160, "QX3EF", "Carlo", "sked 144.310? ur QTF 300", "QX0ABC"),
                 Said(1700000220, "QX1AB", "Aldo", "qrv 144.290")});
  Settle();
  auto* password = qobject_cast<QLineEdit*>(Widget(chat.password));
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  auto* list = qobject_cast<QListWidget*>(Widget(chat.users));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 4);
  Screenshot(chat, "chat_window");

  // Carlo, a club member, stands where the points put him; a double click takes him.
  int carlo = 0;
  while (carlo < 4 && chat.Rows()[static_cast<std::size_t>(carlo)].call != "QX3EF") {
    ++carlo;
  }
  ASSERT_LT(carlo, 4);
  const QRect at = list->visualItemRect(list->item(carlo));
  // As the system sends it: a click, then the second press as a double click.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at.center());
  Settle();
  EXPECT_EQ(m.call.Text(), "QX3EF");
  EXPECT_EQ(m.locator.Text(), "JN70KU");

  // Enter on another user finds the row in use; Ctrl+R turns the antenna to the user.
  list->setFocus();
  list->setCurrentRow(0);
  QTest::keyClick(list, Qt::Key_Return);
  QTest::keyClick(list, Qt::Key_R, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(m.call.Text(), "QX3EF");
  ASSERT_EQ(radio_.turned_to.size(), 1U);
  EXPECT_NEAR(radio_.turned_to[0], *chat.Rows()[0].bearing, 0.5);
}

TEST_F(ChatQtTest, PlaceAndSizeAreKeptForTheNextStart) {
  for (int start = 0; start < 2; ++start) {  // the next window reads them from chat.txt
    program().Get<MainWindow>().chat_button.Press();
    Settle();
    QWidget* window = FrontEnd().WindowOf(program().Get<ChatWindow>());
    ASSERT_NE(window, nullptr);
    if (start == 0) {
      window->setGeometry(40, 30, 1000, 700);
      Settle();
      program().Get<ChatWindow>().Unload();
    }
  }
  EXPECT_EQ(FrontEnd().WindowOf(program().Get<ChatWindow>())->geometry(), QRect(40, 30, 1000, 700));
}

}  // namespace
}  // namespace keldra::testing

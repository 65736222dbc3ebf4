// The chat through real input: the chat window opened from the main window, "Connetti" clicked
// (the test's own chat server on loopback), the user double-clicked in the list, the serial typed
// and "OK": the real program's files equal the model's for the same QSO typed by hand.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Harness.h"
#include "daemon/ChatServer.h"
#include "ui/ChatWindow.h"

namespace keldra::e2e {
namespace {

const char kStation[] = "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";

TEST(ChatScenarioTest, AUserDoubleClickedIsLoggedAsIfTyped) {
  testing::ChatServer server("pw-e2e", {{"QX1AB", "Aldo", "JN61FW"}});
  const std::string chat_file = "host=127.0.0.1\r\nport=" + std::to_string(server.Port()) +
                                "\r\ncall=QX0ABC\r\nremember=1\r\npassword=pw-e2e\r\n";
  const StartState setup{
      {2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}, {"chat.txt", chat_file}}};
  XSession x;
  BothRuns run(x, setup);
  // Both write chat.txt alike; only the real program has the server to reach.
  run.Play({Click("Form1", "ChatButton"), Click("ChatWindow", "ChatConnect", "e2e_chat_open")});
  for (int i = 0; i < 100 && server.Received().size() < 3; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_GE(server.Received().size(), 3U);  // login, ready, locator
  std::this_thread::sleep_for(std::chrono::milliseconds(500));

  // The first row of the list, double-clicked where the model's window puts it.
  const auto& chat = static_cast<const ChatWindow&>(run.model.Window("ChatWindow"));
  const std::string window = run.op.WaitForWindow(chat.Caption());
  ASSERT_FALSE(window.empty());
  const int x_at = chat.users.Left() / 15 + 40;
  const int y_at = chat.users.Top() / 15 + 9;
  x.Run("xdotool mousemove --window " + window + " " + std::to_string(x_at) + " " +
        std::to_string(y_at) + " click --repeat 2 --delay 120 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  run.op.Play(run.op.Prepare(Keys("Form1", "7\n\n\n\n")), {});
  run.op.Screenshot("e2e_chat_logged");

  // The model logs the same QSO typed by hand.
  run.model.Play(Click("Form1", "Text6"));
  run.model.Play(Keys("Form1", "QX1AB\n\n\n7\nJN61FW\n\n\n"));
  auto expected = FolderFiles(run.model_folder);
  auto actual = FolderFiles(run.real_folder);
  for (int i = 0; i < 100 && actual != expected; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    actual = FolderFiles(run.real_folder);
  }
  EXPECT_EQ(actual, expected);
  EXPECT_NE(expected["parziale.db"].find("QX1AB"), std::string::npos);
}

}  // namespace
}  // namespace keldra::e2e

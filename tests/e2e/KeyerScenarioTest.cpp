// CW through a WinKeyer with real keys on the real program: the keyer is the tests' own at the far
// end of a pseudo-terminal; the model windows run on fake keyers. In CW, F1 keys CQ, PgUp raises
// the speed, Esc clears the keyer, Enter in the callsign field sends the exchange and Enter on
// the complete row sends the closing message and logs the QSO. The files must be the model's
// byte for byte, and the keyer must have received the bytes the model's keyer was told.
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "Harness.h"
#include "support/FakeKeyer.h"
#include "support/FakeWinKeyerPosix.h"

namespace keldra::e2e {
namespace {

using namespace std::chrono_literals;

const char kStation[] = "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";

TEST(KeyerScenarioTest, FKeysSpeedEscAndEnterThatSendsThroughAWinKeyer) {
  XSession x;
  testing::FakeWinKeyer keyer(std::filesystem::temp_directory_path() /
                              ("keldra-e2e-winkeyer-" + std::to_string(getpid())));
  keyer.char_ms = 5;
  // The Windows program reaches the keyer through a COM port Wine maps to the pseudo-terminal.
  std::string port = keyer.Path().string();
  std::filesystem::path com;
  if (!WindowsProgram().empty()) {
    com = std::filesystem::path(std::getenv("WINEPREFIX")) / "dosdevices" / "com42";
    std::filesystem::remove(com);
    std::filesystem::create_symlink(keyer.Path(), com);
    port = "COM42";
  }
  FakeKeyers model_keyers;
  const StartState setup{{2023, 7, 16, 9, 0, 0},
                         120,
                         {{"config.txt", kStation},
                          {"radio.txt", "keyer = 2\r\nkeyer_port = " + port +
                                            "\r\nkeyer_wpm = 24\r\nenter_sends = 1\r\n"}},
                         nullptr,
                         &model_keyers};
  BothRuns run(x, setup);
  run.Play({
      Click("Form1", "Command7"),
      Click("Form1", "Text2"),
      Keys("Form1", std::string(10, '\b') + "16/07/23\n"),
      // CW with the arrow; F1, PgUp and Esc from the callsign field; Enter sends the exchange.
      Keys("Form1", std::string(6, '\b') + "0702\n\n\x02\n\x04\x06\x1bQX1ZZ\n",
           "e2e_keyer_01_exchange_sent"),
      Keys("Form1", "\n\n012\nJN83KA\n", "e2e_keyer_02_logged_by_enter"),
  });
  EXPECT_EQ(model_keyers.log,
            (std::vector<std::string>{"send CQ TEST QX0ABC", "speed 26", "stop",
                                      "send QX1ZZ 5NN 001 JN81GD", "send TU QX0ABC"}));
  const std::string saved = testing::ReadBytes(run.real_folder / "parziale.db");
  EXPECT_NE(saved.find("230716;0702;QX1ZZ;0;599;001;599;012;;JN83KA;"), std::string::npos) << saved;

  // The keyer's bytes: opened, CQ (as far as it got before Esc), the speed, the clear, then the
  // two messages whole.
  std::string received;
  for (int i = 0; i < 100 && !(received = keyer.Received()).ends_with("TU QX0ABC"); ++i) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_TRUE(received.starts_with(std::string("\x00\x02\x02\x18", 4))) << received;
  EXPECT_NE(received.find("\x02\x1A"), std::string::npos) << received;
  EXPECT_TRUE(received.ends_with("\x0AQX1ZZ 5NN 001 JN81GDTU QX0ABC")) << received;
  if (!com.empty()) {
    std::filesystem::remove(com);
  }
}

}  // namespace
}  // namespace keldra::e2e

// The WinKeyer driver against the tests' own WinKeyer on a pseudo-terminal: the bytes checked
// exactly, the text paced by XOFF, the speed and the clear at once, the host close at the end,
// and the faults (never answering, unplugged mid-message), the caller never waiting.
#include <gtest/gtest.h>

#include "radio/drivers/WinKeyer.h"
#include "support/EventPump.h"
#include "support/FakeWinKeyerPosix.h"

namespace keldra::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

// Host open, the speed, the speed pot's range.
std::string Opening(char wpm) {
  return std::string("\x00\x02\x02", 3) + wpm + std::string("\x05\x0A\x28\x00", 4);
}

class WinKeyerPosixTest : public ::testing::Test {
 protected:
  std::unique_ptr<WinKeyer> Open() {
    auto keyer = std::make_unique<WinKeyer>(KeyerLink{KeyerKind::kWinKeyer, fake_.Path(), 24},
                                            [this](std::function<void()> job) { pump_.Post(job); });
    keyer->Changed = [this](const KeyerState& state) { states_.push_back(state); };
    keyer->Sent = [this](const std::string& text, bool sent) {
      sent_.push_back(text + (sent ? "" : " (non inviato)"));
    };
    return keyer;
  }
  bool RunUntil(const std::function<bool()>& done) { return pump_.RunUntil(done, 5s); }
  bool Link(LinkState link) {
    return RunUntil([&] { return !states_.empty() && states_.back().link == link; });
  }
  // The fake reads on a thread of its own: what was written reaches it a moment later.
  bool Arrived(std::size_t bytes) {
    for (int i = 0; i < 100 && fake_.Received().size() < bytes; ++i) {
      std::this_thread::sleep_for(10ms);
    }
    return fake_.Received().size() >= bytes;
  }
  static auto Us(steady_clock::duration d) { return d / std::chrono::microseconds(1); }

  FakeWinKeyer fake_{std::filesystem::temp_directory_path() /
                     ("keldra-winkeyer-" + std::to_string(getpid()))};
  EventPump pump_;
  std::vector<KeyerState> states_;
  std::vector<std::string> sent_;
};

TEST_F(WinKeyerPosixTest, KeysTextPacedByItsStatusAndClosesTheHost) {
  fake_.xoff_at = 6;
  std::unique_ptr<WinKeyer> keyer = Open();
  ASSERT_TRUE(Link(LinkState::kConnected));
  EXPECT_EQ(states_.back().answered, "WinKeyer 2.3");
  ASSERT_TRUE(Arrived(8));
  EXPECT_EQ(fake_.Received(), Opening(24));
  const auto pressed = steady_clock::now();
  keyer->Send("cq test de qx0abc\x0A\xE0");  // lower case; no stray command
  ASSERT_TRUE(RunUntil([&] { return fake_.Keyed().size() >= 4; }));
  const auto asked = steady_clock::now();
  keyer->SetSpeed(30);  // mid-message
  ASSERT_TRUE(RunUntil([&] { return !sent_.empty() && !states_.back().busy; }));
  const std::size_t speed = fake_.Received().find("\x02\x1E");
  std::cout << "F1 to the first byte " << Us(fake_.ArrivalOf(8) - pressed) << " us, PgUp to the "
            << "speed " << Us(fake_.ArrivalOf(speed) - asked) << " us\n";
  EXPECT_LT(fake_.ArrivalOf(speed) - asked, 100ms);
  EXPECT_EQ(fake_.Keyed(), "CQ TEST DE QX0ABC");
  EXPECT_GE(fake_.xoffs, 2);
  EXPECT_EQ(fake_.past_xoff, 0);
  EXPECT_EQ(fake_.Received().substr(8).erase(speed - 8, 2), "CQ TEST DE QX0ABC");
  fake_.Emit(0x80 | 10);  // the speed pot turned to 20
  ASSERT_TRUE(RunUntil([&] { return states_.back().wpm == 20; }));

  // Esc clears the keyer at once; nothing more of the message comes, then the host close.
  fake_.char_ms = 200;
  keyer->Send("QX1ZZ 5NN 001 JN81GD");
  ASSERT_TRUE(RunUntil([&] { return fake_.Keyed().size() > 17; }));
  keyer->Stop();
  ASSERT_TRUE(RunUntil([&] { return fake_.Received().back() == '\x0A'; }));
  EXPECT_TRUE(RunUntil([&] { return sent_.back() == "QX1ZZ 5NN 001 JN81GD (non inviato)"; }));
  const std::string stopped = fake_.Received();
  std::this_thread::sleep_for(100ms);
  keyer.reset();
  ASSERT_TRUE(Arrived(stopped.size() + 3));
  EXPECT_EQ(fake_.Received(), stopped + "\x0A" + std::string("\x00\x03", 2));
  EXPECT_EQ(winkeyer::Ptt(true) + winkeyer::Ptt(false), std::string("\x18\x01\x18\x00", 4));
}

TEST_F(WinKeyerPosixTest, FaultsAreSaidOnceAndTheKeyerTriedAgain) {
  fake_.mute = true;
  std::unique_ptr<WinKeyer> keyer = Open();
  ASSERT_TRUE(Link(LinkState::kNotConnected));
  EXPECT_EQ(states_.back().problem,
            "il WinKeyer su " + fake_.Path().string() + " non risponde all'apertura");
  std::this_thread::sleep_for(2100ms);  // the thread waits for the host open again
  const auto called = steady_clock::now();
  keyer->SetSpeed(30);
  keyer->Send("CQ");
  keyer->Stop();
  EXPECT_LT(steady_clock::now() - called, 20ms);
  ASSERT_TRUE(RunUntil([&] { return !sent_.empty(); }));
  EXPECT_EQ(sent_.back(), "CQ (non inviato)");

  fake_.mute = false;
  ASSERT_TRUE(Link(LinkState::kConnected));
  fake_.char_ms = 200;
  keyer->Send("CQ TEST QX0ABC");
  ASSERT_TRUE(RunUntil([&] { return !fake_.Keyed().empty(); }));
  fake_.Unplug();
  ASSERT_TRUE(Link(LinkState::kNotConnected));
  const std::size_t unplugged = fake_.Received().size();
  fake_.PlugIn();
  ASSERT_TRUE(Link(LinkState::kConnected) && Arrived(unplugged + 8));
  EXPECT_EQ(fake_.Received().substr(unplugged), Opening(30));
}

}  // namespace
}  // namespace keldra::testing

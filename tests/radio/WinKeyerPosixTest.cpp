// The WinKeyer driver against a WinKeyer of the tests' own on a pseudo-terminal: the bytes it
// receives, checked exactly, the text paced by its XOFF status, the speed and the clear at once,
// the host close at the end, and the faults (never answering, unplugged mid-message).
#include <gtest/gtest.h>
#include <unistd.h>

#include "radio/drivers/WinKeyer.h"
#include "support/EventPump.h"
#include "support/FakeWinKeyerPosix.h"

namespace keldra::testing {
namespace {

using namespace std::chrono_literals;

// Host open, the speed, the speed pot's range.
std::string Opening(char wpm) {
  return std::string("\x00\x02\x02", 3) + wpm + std::string("\x05\x0A\x28\x00", 4);
}
const std::string kOpening = Opening(24);

class WinKeyerPosixTest : public ::testing::Test {
 protected:
  std::filesystem::path Port() const {
    return std::filesystem::temp_directory_path() / ("keldra-winkeyer-" + std::to_string(getpid()));
  }
  std::unique_ptr<WinKeyer> Open(FakeWinKeyer&, bool ptt = false) {
    auto keyer = std::make_unique<WinKeyer>(KeyerLink{KeyerKind::kWinKeyer, Port(), 24, ptt},
                                            [this](std::function<void()> job) { pump_.Post(job); });
    keyer->Changed = [this](const KeyerState& state) { states_.push_back(state); };
    keyer->Sent = [this](const std::string& text, bool sent) {
      sent_.push_back(text + (sent ? "" : " (non inviato)"));
    };
    return keyer;
  }
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s) {
    return pump_.RunUntil(done, limit);
  }
  // The fake reads on a thread of its own: what was written reaches it a moment later.
  static bool Arrived(FakeWinKeyer& fake, std::size_t bytes) {
    for (int i = 0; i < 100 && fake.Received().size() < bytes; ++i) {
      std::this_thread::sleep_for(10ms);
    }
    return fake.Received().size() >= bytes;
  }
  const KeyerState& State() const {
    static const KeyerState none;
    return states_.empty() ? none : states_.back();
  }

  EventPump pump_;
  std::vector<KeyerState> states_;
  std::vector<std::string> sent_;
};

TEST_F(WinKeyerPosixTest, KeysTextPacedByItsStatusAndClosesTheHost) {
  FakeWinKeyer fake(Port());
  fake.SetXoffAt(6);
  std::unique_ptr<WinKeyer> keyer = Open(fake);
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kConnected; }));
  EXPECT_EQ(State().answered, "WinKeyer 2.3");
  EXPECT_TRUE(Arrived(fake, kOpening.size()));
  EXPECT_EQ(fake.Received(), kOpening);

  const auto pressed = std::chrono::steady_clock::now();
  keyer->Send("cq test de qx0abc");
  ASSERT_TRUE(RunUntil([&] { return fake.Received().size() > kOpening.size(); }));
  const auto first = *fake.ArrivalOf(kOpening.size()) - pressed;
  EXPECT_LT(first, 100ms);
  std::cout << "first byte at the keyer after "
            << std::chrono::duration_cast<std::chrono::microseconds>(first).count() << " us\n";
  ASSERT_TRUE(RunUntil([&] { return fake.Keyed().size() >= 4; }));
  // The speed goes out at once, in the middle of the message.
  const std::size_t before = fake.Received().size();
  const auto asked = std::chrono::steady_clock::now();
  keyer->SetSpeed(30);
  ASSERT_TRUE(RunUntil([&] { return fake.Received().find("\x02\x1E") != std::string::npos; }));
  const auto took = *fake.ArrivalOf(fake.Received().find("\x02\x1E", before)) - asked;
  EXPECT_LT(took, 100ms);
  std::cout << "speed at the keyer after "
            << std::chrono::duration_cast<std::chrono::microseconds>(took).count() << " us\n";
  ASSERT_TRUE(RunUntil([&] { return !sent_.empty() && !State().busy; }));
  EXPECT_EQ(fake.Keyed(), "CQ TEST DE QX0ABC");
  EXPECT_GE(fake.XoffsRaised(), 2);
  EXPECT_EQ(fake.BytesPastXoff(), 0);
  EXPECT_EQ(sent_, std::vector<std::string>{"cq test de qx0abc"});
  std::string text = fake.Received().substr(kOpening.size());
  text.erase(text.find("\x02\x1E"), 2);
  EXPECT_EQ(text, "CQ TEST DE QX0ABC");

  // The speed pot turned to 20: the speed follows it.
  fake.Emit(0x80 | 10);
  ASSERT_TRUE(RunUntil([&] { return State().wpm == 20; }));

  // Esc: the buffer is cleared at once and nothing more of the message comes.
  fake.SetCharTime(200ms);
  keyer->Send("QX1ZZ 5NN 001 JN81GD");
  ASSERT_TRUE(RunUntil([&] { return fake.Keyed().size() > 17; }));
  keyer->Stop();
  ASSERT_TRUE(RunUntil([&] { return fake.Received().back() == '\x0A'; }));
  const std::string stopped = fake.Received();
  std::this_thread::sleep_for(100ms);
  keyer.reset();
  EXPECT_TRUE(Arrived(fake, stopped.size() + 3));
  EXPECT_EQ(fake.Received(), stopped + "\x0A" + std::string("\x00\x03", 2));
  EXPECT_EQ(sent_.back(), "QX1ZZ 5NN 001 JN81GD (non inviato)");
}

TEST_F(WinKeyerPosixTest, PttAroundEachMessage) {
  FakeWinKeyer fake(Port());
  std::unique_ptr<WinKeyer> keyer = Open(fake, true);
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kConnected; }));
  keyer->Send("TU");
  ASSERT_TRUE(RunUntil([&] { return !sent_.empty(); }));
  EXPECT_EQ(fake.Received().substr(kOpening.size()), std::string("\x18\x01TU\x18\x00", 6));
}

TEST_F(WinKeyerPosixTest, FaultsAreSaidAndTheKeyerTriedAgain) {
  FakeWinKeyer fake(Port());
  fake.SetMute(true);
  std::unique_ptr<WinKeyer> keyer = Open(fake);
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kNotConnected; }));
  EXPECT_EQ(State().problem, "il WinKeyer su " + Port().string() + " non risponde all'apertura");
  // The keyer's thread waits for the host open again: the caller never does.
  std::this_thread::sleep_for(2100ms);
  const auto called = std::chrono::steady_clock::now();
  keyer->SetSpeed(30);
  keyer->Send("CQ");
  keyer->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - called, 20ms);
  ASSERT_TRUE(RunUntil([&] { return !sent_.empty(); }));
  EXPECT_EQ(sent_.back(), "CQ (non inviato)");
  ASSERT_TRUE(RunUntil([&] { return State().wpm == 30; }));

  // It answers at the next try.
  fake.SetMute(false);
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kConnected; }));
  // Unplugged in the middle of a message: said once, and found again when plugged back in.
  fake.SetCharTime(200ms);
  keyer->Send("CQ TEST QX0ABC");
  ASSERT_TRUE(RunUntil([&] { return !fake.Keyed().empty(); }));
  fake.Unplug();
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kNotConnected; }));
  const std::size_t said = states_.size();
  EXPECT_FALSE(State().problem.empty());
  std::this_thread::sleep_for(2500ms);  // a failed retry in between
  RunUntil([] { return false; }, 100ms);
  EXPECT_EQ(states_.size(), said);
  const std::size_t unplugged = fake.Received().size();
  fake.PlugIn();
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kConnected; }));
  EXPECT_TRUE(Arrived(fake, unplugged + kOpening.size()));
  EXPECT_EQ(fake.Received().substr(unplugged), Opening(30));
}

}  // namespace
}  // namespace keldra::testing

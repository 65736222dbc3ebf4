// The WinKeyer's protocol bytes, both ways.
#include <gtest/gtest.h>

#include "radio/drivers/WinKeyer.h"

namespace keldra::testing {
namespace {

using winkeyer::Incoming;

TEST(WinKeyerTest, CommandBytes) {
  const struct {
    const char* name;
    std::string bytes;
    std::string expected;
  } commands[] = {
      {"host_open", winkeyer::HostOpen(), std::string("\x00\x02", 2)},
      {"host_close", winkeyer::HostClose(), std::string("\x00\x03", 2)},
      {"speed_24", winkeyer::Speed(24), "\x02\x18"},
      {"speed_below_range", winkeyer::Speed(2), "\x02\x05"},
      {"speed_above_range", winkeyer::Speed(99), "\x02\x3C"},
      {"clear", winkeyer::Clear(), "\x0A"},
      {"ptt_on", winkeyer::Ptt(true), "\x18\x01"},
      {"ptt_off", winkeyer::Ptt(false), std::string("\x18\x00", 2)},
      {"pot_range_10_to_50", winkeyer::PotRange(), std::string("\x05\x0A\x28\x00", 4)},
      // Lower case is keyed as upper case; what the keyer cannot key (control bytes that would be
      // commands, accented letters) is left out.
      {"text", winkeyer::Text("cq Test/p 5nn?"), "CQ TEST/P 5NN?"},
      {"text_unkeyable",
       winkeyer::Text("a\x02\x0A\xE0"
                      "b\x1b"),
       "AB"},
  };
  for (const auto& c : commands) {
    EXPECT_EQ(c.bytes, c.expected) << c.name;
  }
}

TEST(WinKeyerTest, KeyerBytes) {
  using Kind = Incoming::Kind;
  const struct {
    std::uint8_t byte;
    Kind kind;
    winkeyer::Status status;
    int pot_wpm;
  } bytes[] = {
      {0xC0, Kind::kStatus, {}, 0},
      {0xC1, Kind::kStatus, {.xoff = true}, 0},
      {0xC4, Kind::kStatus, {.busy = true}, 0},
      {0xC5, Kind::kStatus, {.xoff = true, .busy = true}, 0},
      {0xDA, Kind::kStatus, {.break_in = true, .key_down = true, .waiting = true}, 0},
      {0x80, Kind::kPot, {}, 10},
      {0x80 | 14, Kind::kPot, {}, 24},
      {0xBF, Kind::kPot, {}, 73},
      {'K', Kind::kEcho, {}, 0},
  };
  for (const auto& b : bytes) {
    const Incoming in = winkeyer::Parse(b.byte);
    EXPECT_EQ(in.kind, b.kind) << int(b.byte);
    EXPECT_EQ(in.status, b.status) << int(b.byte);
    EXPECT_EQ(in.pot_wpm, b.pot_wpm) << int(b.byte);
  }
}

}  // namespace
}  // namespace keldra::testing

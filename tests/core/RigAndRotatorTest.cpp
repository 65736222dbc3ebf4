// The rig's frequency and mode as the logger shows them, the rotator's target, and the CW
// messages with their fields filled in.
#include <gtest/gtest.h>

#include "core/RigAndRotator.h"

namespace keldra {
namespace {

TEST(RigAndRotatorTest, FrequencyBandAndMode) {
  const struct {
    double hertz;
    const char* text;
    bool in_band;
  } frequencies[] = {{144300000, "144.300,00", true},    {144300125, "144.300,13", true},
                     {143999990, "143.999,99", false},   {144000000, "144.000,00", true},
                     {146000000, "146.000,00", true},    {146000010, "146.000,01", false},
                     {1296200000, "1296.200,00", false}, {7050000, "7.050,00", false}};
  for (const auto& f : frequencies) {
    SCOPED_TRACE(f.text);
    EXPECT_EQ(FrequencyText(f.hertz), f.text);
    EXPECT_EQ(InContestBand(f.hertz), f.in_band);
  }
  const struct {
    const char* rig;
    std::optional<std::string> contest;
  } modes[] = {{"USB", "SSB"}, {"LSB", "SSB"}, {"CW", "CW"}, {"CWR", "CW"},
               {"FM", {}},     {"PKTUSB", {}}, {"", {}},     {"usb", {}}};
  for (const auto& m : modes) {
    SCOPED_TRACE(m.rig);
    EXPECT_EQ(ContestModeOf(m.rig), m.contest);
  }
}

TEST(RigAndRotatorTest, RotatorTargetAndAntennaHeading) {
  const struct {
    double bearing;
    double offset;
    bool long_path;
    double target;
  } cases[] = {{123, 0, false, 123}, {123, 0, true, 303},   {300, 0, true, 120},
               {10, 20, false, 350}, {350, -20, false, 10}, {360, 0, false, 0},
               {0, 0, true, 180}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bearing);
    EXPECT_DOUBLE_EQ(RotatorTarget(c.bearing, c.offset, c.long_path), c.target);
    // The antenna, turned there, points back along the bearing (or its opposite).
    EXPECT_DOUBLE_EQ(AntennaHeading(c.target, c.offset),
                     NormalizedDegrees(c.bearing + (c.long_path ? 180 : 0)));
  }
}

TEST(RigAndRotatorTest, CwMessageFields) {
  const CwFields fields{"QX0ABC", "qx1zz/p", "007", "JN81GD"};
  const struct {
    const char* pattern;
    const char* sent;
  } cases[] = {{"CQ TEST {MIO}", "CQ TEST QX0ABC"},
               {"{CALL} 5NN {NR} {LOC}", "QX1ZZ/P 5NN 007 JN81GD"},
               {"TU {MIO}", "TU QX0ABC"},
               {"{mio} {Call}", "QX0ABC QX1ZZ/P"},
               {"{MIO}{MIO}", "QX0ABCQX0ABC"},
               {"{XYZ} {MIO", "{XYZ} {MIO"},
               {"  tu   73  ", "TU 73"},
               {"", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(FillCwMessage(c.pattern, fields), c.sent);
  }
  // An empty callsign field leaves no hole in the message.
  EXPECT_EQ(FillCwMessage("{CALL} 5NN {NR}", {"QX0ABC", "", "012", "JN81GD"}), "5NN 012");
}

}  // namespace
}  // namespace keldra

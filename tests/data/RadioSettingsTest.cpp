// radio.txt: written and read back whole, and a damaged file read as far as it can be.
#include <gtest/gtest.h>

#include "data/RadioSettings.h"

namespace keldra {
namespace {

TEST(RadioSettingsTest, RoundTrip) {
  RadioSettings set;
  set.rig = {2, "localhost:4532", 0};
  set.rotator = {602, "/dev/ttyUSB1", 9600};
  set.antenna_offset = -15;
  set.auto_turn = true;
  set.messages = {"CQ {MIO} = TEST", "", "TU", "{MIO} {LOC}"};
  const std::string text = RadioSettingsText(set);
  EXPECT_NE(text.find("rig_port = localhost:4532\r\n"), std::string::npos);
  const RadioSettingsRead read = ReadRadioSettings(text);
  EXPECT_EQ(read.settings, set);
  EXPECT_EQ(read.skipped_lines, 0);
  // The keyer's lines: every kind and field comes back.
  set.keyer = {KeyerKind::kCwdaemon, "shack-pc:6790", 32, true};
  set.enter_sends = true;
  EXPECT_EQ(ReadRadioSettings(RadioSettingsText(set)).settings, set);
  // Nothing on disk yet: the defaults, no rig, no rotator.
  EXPECT_EQ(ReadRadioSettings("").settings, RadioSettings{});
}

TEST(RadioSettingsTest, AFileWithoutKeyerLinesKeysWithTheRigAsBefore) {
  // A kind this program does not know is a damaged line; a speed out of range is brought in.
  const RadioSettingsRead read = ReadRadioSettings("rig_model = 1\r\nkeyer = 9\r\nkeyer_wpm = 80");
  EXPECT_EQ(read.settings.keyer, (KeyerLink{KeyerKind::kRig, "", kMaxWpm, false}));
  EXPECT_FALSE(read.settings.enter_sends);
  EXPECT_EQ(read.skipped_lines, 1);
}

TEST(RadioSettingsTest, DamagedLinesAreSkipped) {
  const RadioSettingsRead read = ReadRadioSettings(
      "rig_model = 1\r\n"
      "rig_speed = fast\r\n"        // not a number
      "garbage without equals\r\n"  // no key
      "colour = blue\n"             // unknown key, bare LF
      "\r\n"                        // blank: not damaged
      "  antenna_offset=  30 \r\n"  // blanks around key and value
      "rotator_model = 12x\r\n"     // trailing junk
      "cw_f2 = {CALL} 599\r\n"
      "auto_turn = 1");  // last line without its end
  RadioSettings expected;
  expected.rig.model = 1;
  expected.antenna_offset = 30;
  expected.messages[1] = "{CALL} 599";
  expected.auto_turn = true;
  EXPECT_EQ(read.settings, expected);
  EXPECT_EQ(read.skipped_lines, 4);
}

TEST(RadioSettingsTest, VoiceLines) {
  RadioSettings set;
  set.voice = {
      "plughw:CARD=CODEC,DEV=0", "sysdefault:CARD=CODEC", PttWay::kDtr, "/dev/ttyUSB2", 250, 6};
  const std::string text = RadioSettingsText(set);
  EXPECT_NE(text.find("voice_ptt = dtr\r\nvoice_ptt_port = /dev/ttyUSB2\r\n"), std::string::npos);
  EXPECT_EQ(ReadRadioSettings(text).settings, set);
  // A file from before the voice messages: no PTT, the system's cards.
  EXPECT_EQ(ReadRadioSettings("rig_model = 2\r\n").settings.voice, VoiceLink{});
  const RadioSettingsRead read = ReadRadioSettings(
      "voice_ptt = cat\r\n"
      "voice_ptt = VOX\r\n"  // not a way of keying: the one before stays
      "voice_lead_ms = 2000\r\n"
      "voice_lead_ms = 2001\r\n"  // past the limit
      "voice_repeat_s = -1\r\n"   // below it
      "voice_repeat_s = 600\r\n");
  VoiceLink expected;
  expected.ptt = PttWay::kCat;
  expected.lead_ms = 2000;
  expected.repeat_seconds = 600;
  EXPECT_EQ(read.settings.voice, expected);
  EXPECT_EQ(read.skipped_lines, 3);
}

}  // namespace
}  // namespace keldra

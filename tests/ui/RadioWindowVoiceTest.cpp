// The voice messages' settings in "Radio e rotore": shown as radio.txt has them, refused when
// they cannot work, saved and taken by the main window.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ui/RadioWindow.h"

namespace keldra::testing {
namespace {

TEST_F(MainWindowTest, VoiceSettingsShownCheckedAndSaved) {
  // A card unplugged since it was chosen stays chosen.
  WriteBytes(File("radio.txt"), "voice_output = USB Audio CODEC\r\nvoice_ptt = cat\r\n");
  Main().radio_button.Press();
  RadioWindow& w = program().Get<RadioWindow>();
  EXPECT_EQ(w.voice_output.Text(), "USB Audio CODEC (non presente ora)");
  EXPECT_EQ(w.voice_input.Text(), "Predefinito di sistema");
  EXPECT_EQ(w.voice_ptt.Text(), "CAT della radio");
  EXPECT_EQ(w.voice_lead.Text(), "150");

  const struct {
    const char* name;
    int ptt;
    const char* port;
    const char* lead;
    const char* repeat;
    const char* refused;
  } refused[] = {
      {"rts_without_port", 1, "", "150", "0",
       "PTT su RTS o DTR: indicare la porta seriale (es. /dev/ttyUSB0 o COM3)."},
      {"lead_past_2000", 2, "COM3", "2001", "0",
       "Anticipo del PTT: un numero intero di millisecondi tra 0 e 2000."},
      {"repeat_not_a_number", 2, "COM3", "0", "1O",
       "Ripeti il CQ: un numero intero di secondi tra 0 e 600 (0: non ripetere)."},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.name);
    w.voice_ptt.SetListIndex(r.ptt);
    w.voice_ptt_port.SetText(r.port);
    w.voice_lead.SetText(r.lead);
    w.voice_repeat.SetText(r.repeat);
    w.save_button.Press();
    EXPECT_EQ(LastMessage(), r.refused);
    EXPECT_TRUE(w.Loaded());
  }
  w.voice_repeat.SetText("8");
  w.save_button.Press();
  EXPECT_FALSE(w.Loaded());
  const VoiceLink expected{"USB Audio CODEC", "", PttWay::kDtr, "COM3", 0, 8};
  EXPECT_EQ(Main().RadioSetup().voice, expected);
  EXPECT_EQ(ReadRadioSettings(ReadBytes(File("radio.txt"))).settings.voice, expected);
}

}  // namespace
}  // namespace keldra::testing

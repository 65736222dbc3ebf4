// The voice messages in the main window, on Hamlib's dummy rig behind rigctld (its PTT read back
// with "t") and ALSA's file plugin as the sound card: F1 in SSB keys the rig and plays the
// operator's file as it is on disk, Esc and typing a call stop it, a damaged or missing file is
// said and never keys the rig, a recording is saved as the microphone gave it and played back
// without PTT, and F1 repeats until the operator types.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "data/Wav.h"
#include "hamlib/Daemons.h"
#include "radio/drivers/HamlibRadio.h"
#include "radio/drivers/StationPtt.h"
#include "support/AlsaFiles.h"
#include "support/RigPtt.h"
#include "support/WavFiles.h"
#include "system/CodePage.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

using std::chrono::milliseconds;

class MainWindowVoiceTest : public ProgramTest {
 protected:
  void SetUp() override {
    if (!OnPath("rigctld")) {
      GTEST_SKIP() << "rigctld is not installed (apt-get install libhamlib-utils)";
    }
    WriteBytes(File("config.txt"), kLoggingStationFile);
  }
  void TearDown() override { program_.reset(); }

  // The window with the rig linked through rigctld and the voice settings `extra` adds.
  MainWindow& Linked(const std::string& extra = "") {
    WriteBytes(File("radio.txt"), "rig_model = 2\r\nrig_port = " + rig_.Address() +
                                      "\r\nvoice_output = keldra_play\r\nvoice_input = "
                                      "keldra_rec\r\nvoice_ptt = cat\r\nvoice_lead_ms = 80\r\n" +
                                      extra);
    program().SetDevices(radio_);
    program().SetVoice(&voice_);
    MainWindow& m = program().Get<MainWindow>();
    EXPECT_TRUE(pump_.RunUntil([&] { return m.rig_state.Caption().starts_with("connessa"); }));
    return m;
  }
  void Message(const std::string& key, const std::string& bytes) {
    std::filesystem::create_directories(File("messaggi"));
    WriteBytes(File("messaggi") / (key + ".wav"), bytes);
  }
  std::string Ptt() { return PttAt(rig_.Address()); }
  bool Quiet() {
    return pump_.Watch([&] { return !voice_.Busy(); });
  }

  AlsaFiles alsa_;
  Daemon rig_{"rigctld", FreePort(), {"-P", "RIG"}};
  EventPump pump_;
  HamlibRadio radio_{[this](std::function<void()> job) { pump_.Post(std::move(job)); }};
  VoicePlayer voice_{[this](std::function<void()> job) { pump_.Post(std::move(job)); },
                     StationPtt(radio_)};
};

// A stereo 44.1 kHz file of 24 bits, as an editor saves it: what is played is its mix.
std::string EditorFile(std::size_t frames) {
  std::string data;
  for (std::size_t i = 0; i < frames * 2; ++i) {
    const std::size_t v = i * 977 % 8000000;
    data += {static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255),
             static_cast<char>((v >> 16) & 255)};
  }
  return Wav(1, 2, 44100, 24, data);
}

TEST_F(MainWindowVoiceTest, F1InSsbKeysTheRigAndPlaysTheFile) {
  const std::string file = EditorFile(44100 / 2);
  Message("F1", file);
  MainWindow& m = Linked();
  EXPECT_EQ(m.mode.Text(), "SSB");
  EXPECT_TRUE(m.call.PressKey(key::kF1));
  ASSERT_TRUE(pump_.Watch([&] { return m.voice_status.Caption() == "TX F1 (Esc ferma)"; }));
  EXPECT_EQ(Ptt(), "1");
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Ptt(), "0");
  EXPECT_EQ(m.voice_status.Caption(), "");
  EXPECT_TRUE(PlayedExactly(alsa_.PlayedSamples(), ReadWav(file).sound.samples));
  EXPECT_TRUE(messages_.shown.empty());

  // In CW the keys are the CW messages again.
  m.mode.SetText("CW");
  EXPECT_FALSE(voice_.Busy());
  m.call.PressKey(key::kF1);
  EXPECT_FALSE(voice_.Busy());
}

TEST_F(MainWindowVoiceTest, EscAndTypingACallStopAtOnce) {
  Message("F1", WavBytes({8000, Ramp(8000 * 5)}));
  MainWindow& m = Linked();
  for (const int stop_key : {key::kEscape, static_cast<int>('Q')}) {
    SCOPED_TRACE(stop_key);
    m.call.SetText("");
    m.call.PressKey(key::kF1);
    ASSERT_TRUE(pump_.Watch([&] { return alsa_.PlayedBytes() > 0; }));
    if (stop_key == key::kEscape) {
      EXPECT_TRUE(m.call.PressKey(key::kEscape));
    } else {
      m.call.Type("q");
      EXPECT_EQ(m.call.Text(), "Q");  // the key still types
    }
    // A wait, not the budget (bench/radio_voice measures that): the sanitizers slow the rig.
    ASSERT_TRUE(pump_.RunUntil([&] { return !voice_.Busy(); }, milliseconds(3000)));
    EXPECT_EQ(Ptt(), "0");
    EXPECT_LT(alsa_.PlayedBytes(), 8000U * 2 * 2);
  }
}

TEST_F(MainWindowVoiceTest, DamagedOrMissingFileIsSaidAndNeverKeys) {
  MainWindow& m = Linked();
  const std::string cut = WavBytes({8000, Ramp(4000)}).substr(0, 3000);
  Message("F2", cut);
  m.call.PressKey(key::kF1 + 1);
  m.call.PressKey(key::kF1 + 2);
  EXPECT_FALSE(voice_.Busy());
  EXPECT_EQ(Ptt(), "0");
  ASSERT_EQ(messages_.shown.size(), 2U);
  EXPECT_EQ(Cp1252ToUtf8(messages_.shown[0].text),
            WavProblemText(WavProblem::kTruncated, (File("messaggi") / "F2.wav").string()));
  EXPECT_EQ(Cp1252ToUtf8(messages_.shown[1].text),
            WavMissingText((File("messaggi") / "F3.wav").string()));
}

TEST_F(MainWindowVoiceTest, RecordedFromTheMicrophoneAndPlayedBackWithoutPtt) {
  const std::vector<std::int16_t> fed = Ramp(16000 * 3, 7);
  alsa_.Feed(fed);
  MainWindow& m = Linked();
  const KeyModifiers record{.shift = true, .control = true};
  EXPECT_TRUE(m.call.PressKey(key::kF1 + 1, record));
  ASSERT_TRUE(pump_.Watch([&] { return m.voice_status.Caption().starts_with("REC F2 0 s ["); }));
  EXPECT_NE(m.voice_status.Caption().find("|||||"), std::string::npos);
  pump_.Watch([] { return false; }, milliseconds(600));
  EXPECT_TRUE(m.call.PressKey(key::kF1 + 1, record));
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Ptt(), "0");
  const WavRead saved = ReadWav(ReadBytes(File("messaggi") / "F2.wav"));
  ASSERT_EQ(saved.problem, WavProblem::kNone);
  EXPECT_EQ(saved.channels, 1);
  EXPECT_EQ(saved.bits, 16);
  EXPECT_EQ(saved.sound.rate, 16000);
  ASSERT_GE(saved.sound.samples.size(), 16000U / 2);
  EXPECT_TRUE(std::equal(saved.sound.samples.begin(), saved.sound.samples.end(), fed.begin()));
  EXPECT_TRUE(m.voice_status.Caption().starts_with("F2 registrato (0,"));
  EXPECT_TRUE(m.voice_status.Caption().ends_with(" s): Maiusc+F2 per ascoltarlo"));

  EXPECT_TRUE(m.call.PressKey(key::kF1 + 1, {.shift = true}));
  ASSERT_TRUE(pump_.Watch([&] { return alsa_.PlayedBytes() > 0; }));
  EXPECT_EQ(Ptt(), "0");
  ASSERT_TRUE(Quiet());
  EXPECT_TRUE(PlayedExactly(alsa_.PlayedSamples(), saved.sound.samples));
}

TEST_F(MainWindowVoiceTest, CqRepeatsUntilTheOperatorTypes) {
  Message("F1", WavBytes({8000, Ramp(1600)}));
  MainWindow& m = Linked("voice_repeat_s = 1\r\n");
  m.call.PressKey(key::kF1);
  ASSERT_TRUE(pump_.Watch([&] { return m.voice_status.Caption().starts_with("CQ: di nuovo"); }));
  EXPECT_EQ(Ptt(), "0");
  ASSERT_TRUE(pump_.Watch([&] { return m.voice_status.Caption() == "TX F1 (Esc ferma)"; }));
  m.call.Type("i");
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Ptt(), "0");
  EXPECT_EQ(m.voice_status.Caption(), "");
}

}  // namespace
}  // namespace keldra::testing

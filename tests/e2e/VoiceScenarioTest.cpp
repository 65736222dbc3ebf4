// An SSB voice message with real keys on the real program: its sound card is ALSA's file plugin
// and its rig Hamlib's dummy behind rigctld, keyed over CAT. F1 in the callsign field must key
// the rig while messaggi/F1.wav plays and release it after, and the card must receive the file's
// samples. The model windows play through a file card of their own, with no rig to key. Under
// Wine the Windows program plays through winmm into the same kind of card.
#include <gtest/gtest.h>

#include <thread>

#include "Harness.h"
#include "data/Wav.h"
#include "hamlib/Daemons.h"
#include "support/AlsaFiles.h"
#include "support/EventPump.h"
#include "support/FakeRadio.h"
#include "support/RigPtt.h"

namespace keldra::e2e {
namespace {

using namespace std::chrono_literals;

const char kStation[] = "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";

struct NoPtt : Ptt {
  std::string Key(bool) override { return {}; }
};

// The PTT as rigctld has it once it reads `wanted`, or after `limit`.
std::string PttBecomes(const std::string& address, const std::string& wanted,
                       std::chrono::milliseconds limit) {
  std::string ptt;
  for (auto end = std::chrono::steady_clock::now() + limit;
       (ptt = testing::PttAt(address)) != wanted && std::chrono::steady_clock::now() < end;) {
    std::this_thread::sleep_for(20ms);
  }
  return ptt;
}

TEST(VoiceScenarioTest, F1InSsbKeysTheRigWhileTheCardPlaysTheFile) {
  if (!testing::OnPath("rigctld")) {
    GTEST_SKIP() << "rigctld (libhamlib-utils) is not installed";
  }
  // Windows names its cards as waveOut does: there the file card is the system's default.
  const bool wine = !WindowsProgram().empty();
  XSession x;
  const testing::AlsaFiles model_card("model");
  const testing::AlsaFiles real_card("real", false);
  testing::Daemon rig("rigctld", testing::FreePort(), {"-P", "RIG"});
  ASSERT_EQ(std::system(("rigctl -m 2 -r " + rig.Address() + " F 144300000 M USB 0").c_str()), 0);
  const std::vector<std::int16_t> sound = testing::Ramp(8000 * 2);
  FakeRadio fake;
  testing::EventPump pump;
  VoicePlayer voice([&pump](std::function<void()> job) { pump.Post(std::move(job)); },
                    [](const VoiceLink&) { return std::make_unique<NoPtt>(); });
  const StartState setup{{2023, 7, 16, 9, 0, 0},
                         120,
                         {{"config.txt", kStation},
                          {"radio.txt", "rig_model = 2\r\nrig_port = " + rig.Address() +
                                            (wine ? "" : "\r\nvoice_output = keldra_play") +
                                            "\r\nvoice_ptt = cat\r\nvoice_lead_ms = 80\r\n"},
                          {"messaggi/F1.wav", WavBytes({8000, sound})}},
                         &fake,
                         nullptr,
                         &voice,
                         {{"ALSA_CONFIG_PATH", real_card.Config().string()}}};
  BothRuns run(x, setup);
  fake.Rig(LinkState::kConnected, 144300000, "USB");
  run.Play({Click("Form1", "Text6"), Keys("Form1", "\x04", "e2e_voice_01_f1")});

  // Keyed before the two seconds of sound are all at the card, released once they are.
  EXPECT_EQ(PttBecomes(rig.Address(), "1", 3000ms), "1");
  EXPECT_LT(real_card.PlayedBytes(), sound.size() * 2);
  EXPECT_EQ(PttBecomes(rig.Address(), "0", 10000ms), "0");
  if (wine) {
    // Wine's winmm hands the sound on in pieces of its own timing, some twice: the whole of it
    // arrived, its samples are not compared.
    EXPECT_GE(real_card.PlayedBytes(), sound.size() * 2);
  } else {
    EXPECT_TRUE(testing::PlayedExactly(real_card.PlayedSamples(), sound))
        << real_card.PlayedBytes() << " bytes played";
  }
  ASSERT_TRUE(pump.RunUntil([&] { return !voice.Busy(); }, 10000ms));
  EXPECT_TRUE(testing::PlayedExactly(model_card.PlayedSamples(), sound));
}

}  // namespace
}  // namespace keldra::e2e

// The voice messages' budgets, through the main window on Hamlib's dummy rig behind rigctld
// (PTT through CAT) and ALSA's file plugin as the card: from F1 to the first samples at the card
// within 100 ms (no lead time set, so the rig's answer to PTT on is inside the figure), and from
// Esc to silence with PTT off within 50 ms. PTT off is seen twice: when the rig is told (the
// dummy rig's own entry in rigctld's time-stamped log), and when Hamlib answers, which is later
// by Hamlib's own pause after every PTT off (50 ms in rig_set_ptt, for the rig's relays; through
// rigctld it is paused in the daemon and again in the client).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "data/Wav.h"
#include "hamlib/Daemons.h"
#include "radio/drivers/HamlibRadio.h"
#include "radio/drivers/StationPtt.h"
#include "support/AlsaFiles.h"
#include "support/EventPump.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// When rigctld's log (-Z) last shows the dummy rig told to key or unkey.
std::optional<std::chrono::system_clock::time_point> LastPttAtTheRig(const fs::path& log) {
  std::ifstream in(log, std::ios::binary);
  std::optional<std::chrono::system_clock::time_point> last;
  for (std::string line; std::getline(in, line);) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, micro = 0;
    if (line.find("dummy_set_ptt entered") == std::string::npos ||
        std::sscanf(line.c_str(), "%d-%d-%dT%d:%d:%d.%d", &year, &month, &day, &hour, &minute,
                    &second, &micro) != 7) {
      continue;
    }
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    last = std::chrono::system_clock::from_time_t(timegm(&t)) + std::chrono::microseconds(micro);
  }
  return last;
}

// state.range(0): 0 measures F1 to the first sample, 1 Esc to silence and Hamlib's answer to PTT
// off, 2 Esc to silence and the rig told PTT off.
void BM_VoiceMessage(benchmark::State& state) {
  const testing::AlsaFiles alsa;
  std::random_device rd;
  const fs::path folder = fs::temp_directory_path() / ("keldra-bench-" + std::to_string(rd()));
  fs::create_directories(folder / "messaggi");
  const fs::path rig_log = folder / "rigctld.log";
  testing::Daemon rig("rigctld", testing::FreePort(), {"-P", "RIG", "-vvvvv", "-Z"},
                      rig_log.string());
  std::ofstream(folder / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  std::ofstream(folder / "radio.txt", std::ios::binary)
      << "rig_model = 2\r\nrig_port = " << rig.Address()
      << "\r\nvoice_output = keldra_play\r\nvoice_ptt = cat\r\nvoice_lead_ms = 0\r\n";
  std::ofstream(folder / "messaggi" / "F1.wav", std::ios::binary)
      << WavBytes({8000, testing::Ramp(8000 * 10)});
  double worst_ms = 0;
  {
    testing::EventPump pump;
    HamlibRadio radio([&pump](std::function<void()> job) { pump.Post(std::move(job)); });
    VoicePlayer voice([&pump](std::function<void()> job) { pump.Post(std::move(job)); },
                      StationPtt(radio));
    RecordingMessageBox messages;
    FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
    Program program(messages, clock, folder);
    program.SetDevices(radio);
    program.SetVoice(&voice);
    program.Start();
    MainWindow& main = program.Get<MainWindow>();
    pump.RunUntil([&] { return main.rig_state.Caption().starts_with("connessa"); });
    bool started = false;
    // Seen by the window first (its own handler), then by the figure.
    auto window_started = voice.Started;
    voice.Started = [&] {
      window_started();
      started = true;
    };
    const auto ms = [](Clock::time_point from, Clock::time_point to) {
      return std::chrono::duration<double, std::milli>(to - from).count();
    };
    for (auto _ : state) {
      started = false;
      const Clock::time_point pressed = Clock::now();
      main.call.PressKey(key::kF1);
      if (!pump.RunUntil([&] { return started; })) {
        state.SkipWithError("the message did not start");
        break;
      }
      const Clock::time_point first_sample = Clock::now();
      const auto escape = std::chrono::system_clock::now();
      main.call.PressKey(key::kEscape);
      if (!pump.RunUntil([&] { return !voice.Busy(); })) {
        state.SkipWithError("the message did not stop");
        break;
      }
      const Clock::time_point quiet = Clock::now();
      const auto unkeyed = LastPttAtTheRig(rig_log);
      if (state.range(0) == 2 && (!unkeyed || *unkeyed < escape)) {
        state.SkipWithError("rigctld's log shows no PTT off after Esc");
        break;
      }
      const double figure =
          state.range(0) == 0 ? ms(pressed, first_sample)
          : state.range(0) == 1
              ? ms(first_sample, quiet)
              : std::chrono::duration<double, std::milli>(*unkeyed - escape).count();
      worst_ms = std::max(worst_ms, figure);
      state.SetIterationTime(figure / 1000);
    }
    program.End();
  }
  fs::remove_all(folder);
  state.counters["worst_ms"] = worst_ms;
}
BENCHMARK(BM_VoiceMessage)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

// Opening the statistics window recomputes the whole log: one calculator run per QSO and the
// ranking's exchange sort, which is quadratic by nature. Budgets: 500 QSOs instant (under
// 20 ms), 20,000 QSOs under a second, both for the pure computation and for the window opened
// from "STAT" through the shared calculator.
#include "export/Statistics.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "TestSupport.h"
#include "geo/Locator.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/StatisticsWindow.h"

namespace {

// A log of `count` QSOs spread over the map's area, the contest hours and many countries, with
// many equal distances as a real log has.
std::string Log(int count) {
  static const char* const kCalls[] = {"IK7", "9A2", "S51", "OE3", "HA5", "YU1", "DL1", "OK1",
                                       "SV1", "LZ2", "YO3", "F6",  "HB9", "QX1", "GM4", "EA6"};
  std::mt19937 random(11);
  std::string log;
  for (int i = 1; i <= count; ++i) {
    std::string serial = std::to_string(i);
    if (serial.size() < 3) {
      serial.insert(0, 3 - serial.size(), '0');
    }
    const std::string hour = std::to_string(7 + random() % 6);
    std::string call = kCalls[random() % 16] + std::string{char('A' + random() % 26), 'B', 'C'};
    const std::string locator = {char('J' + random() % 2),  char('M' + random() % 3),
                                 char('0' + random() % 10), char('0' + random() % 10),
                                 char('A' + random() % 24), char('A' + random() % 24)};
    log += serial + "   16/07/23   " + (hour.size() < 2 ? "0" : "") + hour +
           ".15   144Mhz   SSB   " + call + std::string(12 - call.size(), ' ') + "59-012   " +
           locator + "   \r\n";
  }
  return log;
}

void BM_ComputeStatistics(benchmark::State& state) {
  const std::string log = Log(static_cast<int>(state.range(0)));
  const keldra::DistanceBearingSource source = [](const std::string& locator) {
    keldra::LocatorResult r = keldra::CalculateLocators("JN81GD", locator);
    return keldra::DistanceBearingTexts{std::move(r.distance), std::move(r.bearing)};
  };
  for (auto _ : state) {
    benchmark::DoNotOptimize(keldra::ComputeStatistics(log, source));
  }
}
BENCHMARK(BM_ComputeStatistics)->Arg(500)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_OpenStatisticsWindow(benchmark::State& state) {
  keldra::RecordingMessageBox messages;
  keldra::FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  keldra::Program program(messages, clock, std::filesystem::temp_directory_path());
  keldra::ContestState contest;
  contest.qso_list = Log(static_cast<int>(state.range(0)));
  keldra::testing::PutContest(program, contest);
  for (auto _ : state) {
    program.Get<keldra::MainWindow>().statistics_button.Press();  // "STAT"
    benchmark::DoNotOptimize(program.Find<keldra::StatisticsWindow>()->ranking.ListCount());
    program.Find<keldra::StatisticsWindow>()->close_button.Press();  // "Chiudi"
  }
}
BENCHMARK(BM_OpenStatisticsWindow)->Arg(500)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

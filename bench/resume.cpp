// Resuming a contest of 20,000 QSOs ("Continua Contest" presses apri_parz): reading parziale.db
// and filling the main window's lists and totals must stay under 200 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "core/StateFile.h"
#include "core/Text.h"
#include "support/TestDoubles.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"

namespace keldra {
namespace {

// A contest file of `qsos` QSOs in the program's own line formats.
std::string ContestFileOf(int qsos) {
  ContestState state;
  state.serial = ZeroFill(std::to_string(qsos + 1), 3);
  state.qsos = std::to_string(qsos);
  for (int i = 1; i <= qsos; ++i) {
    const std::string serial = ZeroFill(std::to_string(i), 3);
    const std::string call = "QX" + std::to_string(i % 10) + "A" + std::to_string(i);
    state.qso_list += serial + "   16/07/23   07.30   144Mhz   SSB   " + call +
                      std::string(call.size() < 12 ? 12 - call.size() : 0, ' ') +
                      "59-012   JN71GD   I003\r\n";
    state.edi_records +=
        "230716;0730;" + call + ";1;59;" + serial + ";59;012;I003;JN71GD;168;;;;\r\n";
  }
  return StateFileText(state);
}

void BM_ResumeContest(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "keldra-bench-resume";
  std::filesystem::create_directories(folder);
  {
    std::ofstream out(folder / "config.txt", std::ios::binary);
    out << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = \r\n";
  }
  RecordingMessageBox messages;
  FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  auto program = std::make_unique<Program>(messages, clock, folder);
  {
    std::ofstream out(folder / "parziale.db", std::ios::binary);
    out << ContestFileOf(static_cast<int>(state.range(0)));
  }
  for (auto _ : state) {
    // A program of its own each time: the resume loads into an empty contest.
    state.PauseTiming();
    program->End();
    program = std::make_unique<Program>(messages, clock, folder);
    program->Get<EdiHeaderWindow>();
    MainWindow& main = program->Get<MainWindow>();
    state.ResumeTiming();
    main.resume_button.Press();
  }
  const std::string& list = program->Get<MainWindow>().qso_list.Text();
  state.counters["qsos"] = static_cast<double>(std::count(list.begin(), list.end(), '\n'));
  program->End();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ResumeContest)->Arg(300)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

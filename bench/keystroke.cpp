// Every key typed into the callsign field upper-cases it and searches the whole QSO list for the
// duplicate hint. With 20,000 QSOs logged one keystroke must still take well under 1 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "TestSupport.h"
#include "core/QsoRecord.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;

std::string ListOf(long long n) {
  std::string list;
  for (long long i = 0; i < n; ++i) {
    QsoFields q;
    q.serial_sent = std::to_string(i + 1);
    q.date = "16/07/23";
    q.time = "08.15";
    q.call = "QA" + std::to_string(i) + "X";
    q.report_received = "59";
    q.serial_received = "012";
    q.locator = "JN71GD";
    list += QsoListLine(q) + "\r\n";
  }
  return list;
}

// Types a callsign that is not in the log (the full search every time), then takes it back.
void BM_CallsignKeystroke(benchmark::State& state) {
  std::random_device rd;
  const fs::path folder = fs::temp_directory_path() / ("keldra-bench-" + std::to_string(rd()));
  fs::create_directories(folder);
  std::ofstream(folder / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  {
    RecordingMessageBox messages;
    FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
    Program program(messages, clock, folder);
    MainWindow& main = program.Get<MainWindow>();
    ContestState contest;
    contest.qso_list = ListOf(state.range(0));
    testing::PutContest(program, contest);
    main.call.SetFocus();
    main.call.Type("QX9ZZ");
    for (auto _ : state) {
      main.call.Type("q");
      main.call.Backspace();
    }
    state.SetItemsProcessed(2 * state.iterations());  // keystrokes
    state.SetComplexityN(state.range(0));
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_CallsignKeystroke)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

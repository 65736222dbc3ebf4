// The call history's budgets: 200,000 history lines load in under 300 ms and take under 50 MB;
// with 100,000 known calls, the partial match of one callsign keystroke stays under 2 ms. Run
// the Release build: `bench_history --benchmark_counters_tabular=true`.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "data/CallHistory.h"
#include "data/HistoryFiles.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;

// Distinct made-up calls: two letters, a digit, two or three letters.
std::vector<std::string> Calls(std::size_t n) {
  std::mt19937 random(17);
  std::vector<std::string> calls;
  std::string call;
  for (std::size_t i = 0; calls.size() < n; ++i) {
    call.clear();
    std::size_t k = i;
    auto letter = [&] {
      call += static_cast<char>('A' + k % 26);
      k /= 26;
    };
    letter();
    letter();
    call += static_cast<char>('0' + random() % 10);
    letter();
    letter();
    if (random() % 2) {
      call += static_cast<char>('A' + random() % 26);
    }
    calls.push_back(call);
  }
  return calls;
}

std::string Locator(std::mt19937& random) {
  std::string l = "JN00AA";
  l[0] = static_cast<char>('A' + random() % 18);
  l[1] = static_cast<char>('A' + random() % 18);
  l[2] = static_cast<char>('0' + random() % 10);
  l[3] = static_cast<char>('0' + random() % 10);
  l[4] = static_cast<char>('A' + random() % 24);
  l[5] = static_cast<char>('A' + random() % 24);
  return l;
}

// Kilobytes of this process's memory now (VmRSS) or at its peak (VmHWM).
long MemoryKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == key + ":") {
      long kb = 0;
      status >> kb;
      return kb;
    }
  }
  return 0;
}

// A program folder whose storico holds 200,000 lines: an EDI log of 100,000 records and a
// call-locator list of 100,000 lines, over 60,000 calls seen in several years.
fs::path HistoryFolder() {
  fs::path folder = fs::temp_directory_path() / "keldra-bench-history";
  fs::remove_all(folder);
  fs::create_directories(folder / kHistoryFolderName);
  const std::vector<std::string> calls = Calls(60000);
  std::mt19937 random(4);
  std::ofstream edi(folder / kHistoryFolderName / "2022.edi", std::ios::binary);
  edi << "[REG1TEST;1]\r\nPCall=QX0ZZA\r\n[QSORecords;100000]\r\n";
  for (int i = 0; i < 100000; ++i) {
    edi << (18 + i % 5) << "0716;0815;" << calls[random() % calls.size()] << ";1;59;001;59;"
        << (i % 1000) << ";;" << Locator(random) << ";" << (i % 900) << ";;;;\r\n";
  }
  edi << "[END; bench]\r\n";
  std::ofstream list(folder / kHistoryFolderName / "C_W", std::ios::binary);
  for (int i = 0; i < 100000; ++i) {
    list << calls[random() % calls.size()] << ' ' << Locator(random) << " 2021071" << i % 10
         << "\r\n";
  }
  return folder;
}

void BM_LoadHistory200kLines(benchmark::State& state) {
  const fs::path folder = HistoryFolder();
  const long before_kb = MemoryKb("VmRSS");
  std::size_t lines = 0;
  long held_kb = 0;
  std::size_t footprint = 0;
  for (auto _ : state) {
    HistoryLoad load = LoadHistory(Files(), folder);
    lines = load.Read() + load.Skipped();
    held_kb = MemoryKb("VmRSS") - before_kb;
    footprint = load.history.Footprint();
    benchmark::DoNotOptimize(load);
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["index_MB"] = static_cast<double>(footprint) / 1e6;
  state.counters["held_MB"] = static_cast<double>(held_kb) / 1e3;
  state.counters["peak_MB"] = static_cast<double>(MemoryKb("VmHWM") - before_kb) / 1e3;
  fs::remove_all(folder);
}
BENCHMARK(BM_LoadHistory200kLines)->Unit(benchmark::kMillisecond)->Iterations(5);

// One keystroke's partial match over 100,000 calls: the ten shown, found among all of them.
void BM_PartialMatch100kCalls(benchmark::State& state, const char* typed) {
  std::mt19937 random(9);
  CallHistory::Builder builder;
  for (const std::string& call : Calls(100000)) {
    builder.Add(call, Locator(random), 20230716);
  }
  const CallHistory history = std::move(builder).Build();
  std::size_t shown = 0;
  for (auto _ : state) {
    const std::vector<std::string> found = history.Matching(typed, 10);
    shown = found.size();
    benchmark::DoNotOptimize(history.Locators(typed));
  }
  state.counters["calls"] = static_cast<double>(history.Calls());
  state.counters["shown"] = static_cast<double>(shown);
}
// Many beginnings, many inside, and none at all (the whole list searched).
BENCHMARK_CAPTURE(BM_PartialMatch100kCalls, begins, "AB3")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PartialMatch100kCalls, inside, "7KA")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PartialMatch100kCalls, none, "QQ9ZZZ")->Unit(benchmark::kMicrosecond);

// The same in the main window: one callsign keystroke with 100,000 known calls (upper case, the
// duplicate hint, the known calls listed and marked, the history line), typed and taken back.
void BM_CallKeystrokeWithHistory(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "keldra-bench-keystroke";
  fs::remove_all(folder);
  fs::create_directories(folder / kHistoryFolderName);
  std::ofstream(folder / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  {
    std::mt19937 random(9);
    std::ofstream list(folder / kHistoryFolderName / "C_W", std::ios::binary);
    for (const std::string& call : Calls(100000)) {
      list << call << ' ' << Locator(random) << "\r\n";
    }
  }
  {
    RecordingMessageBox messages;
    FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
    Program program(messages, clock, folder);
    MainWindow& main = program.Get<MainWindow>();
    main.call.SetFocus();
    main.call.Type("7K");
    for (auto _ : state) {
      main.call.Type("a");
      main.call.Backspace();
    }
    state.SetItemsProcessed(2 * state.iterations());  // keystrokes
    state.counters["known_calls"] = static_cast<double>(program.History().FromFiles().Calls());
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_CallKeystrokeWithHistory)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

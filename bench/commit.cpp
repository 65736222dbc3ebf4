// "OK" must stay instant late in a big contest: one commit into a log of 20,000 QSOs (checks,
// both lines, totals, the state text, the previous file kept as backup.db, the new file written
// and renamed into place) within 10 ms apart from the disk's own fsync, growing linearly with the
// log. The commit runs in a folder on tmpfs when there is one, where fsync costs nothing.
//
// The durable write itself is measured against a plain write plus fsync of the same bytes, side
// by side on the real disk: it may cost at most 1.5 times as much.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "TestSupport.h"
#include "core/QsoRecord.h"
#include "core/StateFile.h"
#include "support/TestDoubles.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;

class BenchFolder {
 public:
  explicit BenchFolder(const fs::path& parent) {
    std::random_device rd;
    path_ = parent / ("keldra-bench-" + std::to_string(rd()));
    fs::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

fs::path FastParent() {
  std::error_code ec;
  return fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

QsoFields LoggedQso(long long i) {
  QsoFields q;
  q.serial_sent = std::to_string(i + 1);
  q.date = "16/07/23";
  q.time = "08.15";
  q.call = "QA" + std::to_string(i) + "X";
  q.report_sent = "59";
  q.report_received = "59";
  q.serial_received = "012";
  q.locator = "JN71GD";
  q.club_code = i % 3 == 0 ? "I003" : "";
  q.distance_km = "168";
  return q;
}

// A contest of n QSOs, as the main window holds it after n commits.
void FillContest(Program& program, MainWindow& main, long long n) {
  std::string list;
  std::string records;
  for (long long i = 0; i < n; ++i) {
    const QsoFields q = LoggedQso(i);
    list += QsoListLine(q) + "\r\n";
    records += EdiRecordLine(q) + "\r\n";
  }
  ContestState contest;
  contest.qso_list = list;
  contest.edi_records = records;
  contest.serial = std::to_string(n + 1);
  contest.qsos = std::to_string(n);
  contest.km = std::to_string(168 * n);
  contest.points = std::to_string(168 * n + 168 * (n / 3));
  testing::PutContest(program, contest);
  SaveContest(program, main);
}

void BM_CommitInto(benchmark::State& state) {
  const long long n = state.range(0);
  BenchFolder folder(FastParent());
  std::ofstream(folder.path() / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  RecordingMessageBox messages;
  FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  Program program(messages, clock, folder.path());
  MainWindow& main = program.Get<MainWindow>();
  FillContest(program, main, n);
  long long next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    main.call.SetText("QB" + std::to_string(next++) + "Z");
    main.serial_received.SetText("001");
    main.locator.SetText(next % 2 == 0 ? "JN71GD" : "JN91GD");
    state.ResumeTiming();
    main.ok_button.Press();
  }
  if (!messages.shown.empty()) {
    state.SkipWithError(messages.shown.back().text.c_str());
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_CommitInto)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The state text of a 20,000-QSO contest, about 3 MB.
const std::string& BigStateText() {
  static const std::string text = [] {
    ContestState s;
    for (long long i = 0; i < 20000; ++i) {
      s.qso_list += QsoListLine(LoggedQso(i)) + "\r\n";
      s.edi_records += EdiRecordLine(LoggedQso(i)) + "\r\n";
    }
    return StateFileText(s);
  }();
  return text;
}

void BM_DurableReplaceWithBackup(benchmark::State& state) {
  BenchFolder folder(fs::temp_directory_path());
  Files files;
  const fs::path target = folder.path() / "parziale.db";
  const fs::path backup = folder.path() / "backup.db";
  const std::string& bytes = BigStateText();
  if (!files.Replace(target, bytes)) {
    state.SkipWithError("first write failed");
  }
  for (auto _ : state) {
    if (!files.Replace(target, bytes, &backup)) {
      state.SkipWithError("write failed");
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DurableReplaceWithBackup)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the same bytes written over the file in place and fsynced.
void BM_PlainWriteAndFsync(benchmark::State& state) {
  BenchFolder folder(fs::temp_directory_path());
  const fs::path target = folder.path() / "parziale.db";
  const std::string& bytes = BigStateText();
  for (auto _ : state) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
      state.SkipWithError("open failed");
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n <= 0) {
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    ::fsync(fd);
    ::close(fd);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PlainWriteAndFsync)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

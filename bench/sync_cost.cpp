// What the syncs cost per QSO: every "OK" saves the whole contest once, so one save of an n-QSO
// contest file is the cost of one QSO. At 300 QSOs (a contest) and 20,000 (the program's limit
// of comfort), on the real disk (temporary folder), three ways of writing the same bytes:
//  - durable: the program's own write (temporary file, fsync, backup kept by a hard link,
//    rename, fsync of the folder);
//  - plain: the file rewritten in place and fsynced once, the least a write that survives a
//    power cut can cost;
//  - unsynced: the program's sequence without any fsync, to show what the syncs alone cost.
// The durable write must stay within 1.5 times the plain one (the counter "ratio").
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

#include "core/QsoRecord.h"
#include "core/StateFile.h"
#include "system/Files.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;

class BenchFolder {
 public:
  BenchFolder() {
    std::random_device rd;
    path_ = fs::temp_directory_path() / ("keldra-bench-" + std::to_string(rd()));
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

std::string ContestText(long long qsos) {
  ContestState s;
  for (long long i = 0; i < qsos; ++i) {
    QsoFields q;
    q.serial_sent = std::to_string(i + 1);
    q.date = "16/07/23";
    q.time = "08.15";
    q.call = "QA" + std::to_string(i) + "X";
    q.report_sent = q.report_received = "59";
    q.serial_received = "012";
    q.locator = "JN71GD";
    q.distance_km = "168";
    s.qso_list += QsoListLine(q) + "\r\n";
    s.edi_records += EdiRecordLine(q) + "\r\n";
  }
  return StateFileText(s);
}

bool WriteAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool PlainWriteAndFsync(const fs::path& target, const std::string& bytes) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

// The program's sequence with every fsync left out.
bool UnsyncedReplace(const fs::path& target, const fs::path& backup, const std::string& bytes) {
  const fs::path temp = target.parent_path() / ".unsynced.tmp";
  const fs::path link = target.parent_path() / ".link.tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  const bool ok = WriteAll(fd, bytes);
  if (::close(fd) != 0 || !ok) {
    return false;
  }
  return ::link(target.c_str(), link.c_str()) == 0 && ::rename(link.c_str(), backup.c_str()) == 0 &&
         ::rename(temp.c_str(), target.c_str()) == 0;
}

double Millis(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The durable and the plain write take turns, in alternating order, so that a disk that other
// work keeps busy slows both alike; the counters give the mean of each and their ratio.
void BM_DurableVsPlain(benchmark::State& state) {
  const std::string bytes = ContestText(state.range(0));
  BenchFolder durable_folder, plain_folder;
  const fs::path durable = durable_folder.path() / "parziale.db";
  const fs::path backup = durable_folder.path() / "backup.db";
  const fs::path plain = plain_folder.path() / "parziale.db";
  Files files;
  if (!files.Replace(durable, bytes) || !PlainWriteAndFsync(plain, bytes)) {
    state.SkipWithError("first write failed");
    return;
  }
  ::sync();
  double durable_ms = 0, plain_ms = 0;
  bool durable_first = true;
  for (auto _ : state) {
    for (int turn = 0; turn < 2; ++turn) {
      const auto start = std::chrono::steady_clock::now();
      const bool ok = (turn == 0) == durable_first ? files.Replace(durable, bytes, &backup).ok()
                                                   : PlainWriteAndFsync(plain, bytes);
      const double ms = Millis(std::chrono::steady_clock::now() - start);
      if (!ok) {
        state.SkipWithError("a write failed");
      }
      ((turn == 0) == durable_first ? durable_ms : plain_ms) += ms;
    }
    durable_first = !durable_first;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["bytes"] = static_cast<double>(bytes.size());
  state.counters["durable_ms"] = durable_ms / runs;
  state.counters["plain_ms"] = plain_ms / runs;
  state.counters["ratio"] = durable_ms / plain_ms;
}
BENCHMARK(BM_DurableVsPlain)->Arg(300)->Arg(20000)->Unit(benchmark::kMillisecond);

// The program's sequence without its syncs, on its own (its unsynced data would otherwise be paid
// by the next fsync above): durable_ms minus this is what the syncs cost.
void BM_Unsynced(benchmark::State& state) {
  const std::string bytes = ContestText(state.range(0));
  BenchFolder folder;
  const fs::path target = folder.path() / "parziale.db";
  if (!Files().Replace(target, bytes)) {
    state.SkipWithError("first write failed");
  }
  ::sync();
  for (auto _ : state) {
    if (!UnsyncedReplace(target, folder.path() / "backup.db", bytes)) {
      state.SkipWithError("a write failed");
    }
  }
}
BENCHMARK(BM_Unsynced)->Arg(300)->Arg(20000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

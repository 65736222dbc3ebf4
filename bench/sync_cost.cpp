// What the syncs cost per QSO: every "OK" saves the whole contest once, so one save of an n-QSO
// contest file is the cost of one QSO. At 300 QSOs (a contest) and 20,000 (the program's limit
// of comfort), on the real disk, three ways of writing the same bytes run side by side, so a
// busy disk slows them alike:
//  - durable: the program's own write (temporary file, fsync, backup kept by a hard link,
//    rename, fsync of the folder);
//  - plain: the file rewritten in place and fsynced once, the least a write that survives a
//    power cut can cost;
//  - unsynced: the program's sequence without any fsync, to show what the syncs alone cost.
// The counter "ratio" is durable / plain; it must stay at or below 1.5.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

#include "core/QsoRecord.h"
#include "core/StateFile.h"
#include "platform/Files.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

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
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool PlainWriteAndFsync(const fs::path& target, const std::string& bytes) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

// The program's sequence with every fsync left out.
bool UnsyncedReplace(const fs::path& target, const fs::path& backup, const std::string& bytes) {
  const fs::path temp = target.parent_path() / ".unsynced.tmp";
  const fs::path link = target.parent_path() / ".link.tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, bytes);
  if (::close(fd) != 0 || !ok) return false;
  return ::link(target.c_str(), link.c_str()) == 0 && ::rename(link.c_str(), backup.c_str()) == 0 &&
         ::rename(temp.c_str(), target.c_str()) == 0;
}

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

void BM_SyncCostPerQso(benchmark::State& state) {
  const std::string bytes = ContestText(state.range(0));
  BenchFolder durable_folder, plain_folder, unsynced_folder;
  const fs::path durable = durable_folder.path() / "parziale.db";
  const fs::path durable_backup = durable_folder.path() / "backup.db";
  const fs::path plain = plain_folder.path() / "parziale.db";
  const fs::path unsynced = unsynced_folder.path() / "parziale.db";
  const fs::path unsynced_backup = unsynced_folder.path() / "backup.db";
  Files files;
  if (!files.Replace(durable, bytes) || !files.Replace(unsynced, bytes)) {
    state.SkipWithError("first write failed");
    return;
  }
  double durable_us = 0, plain_us = 0, unsynced_us = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const bool a = files.Replace(durable, bytes, &durable_backup).ok();
    const auto t1 = Clock::now();
    const bool b = PlainWriteAndFsync(plain, bytes);
    const auto t2 = Clock::now();
    const bool c = UnsyncedReplace(unsynced, unsynced_backup, bytes);
    const auto t3 = Clock::now();
    if (!a || !b || !c) state.SkipWithError("a write failed");
    durable_us += Micros(t1 - t0);
    plain_us += Micros(t2 - t1);
    unsynced_us += Micros(t3 - t2);
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["bytes"] = static_cast<double>(bytes.size());
  state.counters["durable_us"] = durable_us / runs;
  state.counters["plain_fsync_us"] = plain_us / runs;
  state.counters["unsynced_us"] = unsynced_us / runs;
  state.counters["syncs_us"] = (durable_us - unsynced_us) / runs;
  state.counters["ratio"] = durable_us / plain_us;
}
BENCHMARK(BM_SyncCostPerQso)->Arg(300)->Arg(20000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

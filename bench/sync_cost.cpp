// What the syncs cost per QSO: every "OK" saves the whole contest once, so one save of an n-QSO
// contest file is the cost of one QSO. At 300 QSOs (a contest) and 20,000 (the program's limit
// of comfort), on the real disk, three ways of writing the same bytes:
//  - durable: the program's own write (temporary file, fsync, backup kept by a hard link,
//    rename, fsync of the folder);
//  - plain: the file rewritten in place and fsynced once, the least a write that survives a
//    power cut can cost;
//  - unsynced: the program's sequence without any fsync, to show what the syncs alone cost.
// BM_Durable must stay within 1.5 times BM_PlainWriteOneFsync at the same size.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "core/QsoRecord.h"
#include "core/StateFile.h"
#include "platform/Files.h"

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

// Each way runs on its own, after a sync of the whole disk, in its own folder: interleaved, the
// unsynced writes of one would be paid by the next one's fsync.
void Run(benchmark::State& state,
         const std::function<bool(const fs::path&, const std::string&)>& save) {
  const std::string bytes = ContestText(state.range(0));
  BenchFolder folder;
  const fs::path target = folder.path() / "parziale.db";
  if (!Files().Replace(target, bytes)) state.SkipWithError("first write failed");
  ::sync();
  for (auto _ : state) {
    if (!save(target, bytes)) state.SkipWithError("a write failed");
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_Durable(benchmark::State& state) {
  Files files;
  Run(state, [&](const fs::path& target, const std::string& bytes) {
    const fs::path backup = target.parent_path() / "backup.db";
    return files.Replace(target, bytes, &backup).ok();
  });
}
void BM_PlainWriteOneFsync(benchmark::State& state) { Run(state, PlainWriteAndFsync); }
void BM_Unsynced(benchmark::State& state) {
  Run(state, [](const fs::path& target, const std::string& bytes) {
    return UnsyncedReplace(target, target.parent_path() / "backup.db", bytes);
  });
}
BENCHMARK(BM_Durable)->Arg(300)->Arg(20000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteOneFsync)
    ->Arg(300)
    ->Arg(20000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unsynced)->Arg(300)->Arg(20000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

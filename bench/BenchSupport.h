// What the benchmarks of the windows share: a contest folder of their own with the station's
// config.txt, a program on it whose main window holds a log of many QSOs, and that log's lines.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "TestSupport.h"
#include "core/QsoRecord.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"

namespace keldra::bench {

// The QSO list of `n` QSOs, all with QA<i>X in JN71GD.
inline std::string QsoList(long long n) {
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

// The station QX0ABC in JN81GD with `qsos` QSOs in its log; the folder goes with it. Files the
// program reads at its start (a club list) are written by `prepare` before the program exists.
class BenchContest {
 public:
  template <class Prepare>
  BenchContest(long long qsos, Prepare prepare) : folder_(NewFolder()) {
    std::ofstream(folder_ / "config.txt", std::ios::binary)
        << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
    prepare(folder_);
    program_ = std::make_unique<Program>(messages_, clock_, folder_);
    main_ = &program_->Get<MainWindow>();
    ContestState contest;
    contest.qso_list = QsoList(qsos);
    testing::PutContest(*program_, contest);
  }
  explicit BenchContest(long long qsos) : BenchContest(qsos, [](const std::filesystem::path&) {}) {}
  ~BenchContest() {
    program_.reset();
    std::filesystem::remove_all(folder_);
  }
  BenchContest(const BenchContest&) = delete;
  BenchContest& operator=(const BenchContest&) = delete;

  Program& program() { return *program_; }
  MainWindow& main() { return *main_; }

 private:
  static std::filesystem::path NewFolder() {
    std::random_device rd;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("keldra-bench-" + std::to_string(rd()));
    std::filesystem::create_directories(folder);
    return folder;
  }

  std::filesystem::path folder_;
  RecordingMessageBox messages_;
  FixedClock clock_{{2023, 7, 16, 9, 30, 0}, 120};
  std::unique_ptr<Program> program_;
  MainWindow* main_ = nullptr;
};

}  // namespace keldra::bench

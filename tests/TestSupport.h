// Shared test fixtures: a temporary program folder, a message recorder, a fixed clock and a
// Program built on them, plus small helpers to read and write files byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "support/TestDoubles.h"
#include "ui/Program.h"

namespace keldra::testing {

// The station most tests log from: own locator JN81GD, a member of both clubs.
inline constexpr const char* kLoggingStationFile =
    "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";

// A fresh folder under the system's temporary folder, removed at the end of the test.
class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("keldra-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A hand-made contest appended to the program's log as a resume appends a saved one: its lines
// (even ones that record no QSO), its serial and every total.
inline void PutContest(Program& program, const ContestState& state) {
  StateFileValues values;
  values.serial = state.serial;
  values.qsos = state.qsos;
  values.km = state.km;
  values.multipliers = state.multipliers;
  values.points = state.points;
  values.average_km = state.average_km;
  values.odx_call = state.odx_call;
  values.odx_locator = state.odx_locator;
  values.odx_km = state.odx_km;
  values.iqrp_qsos = state.iqrp_qsos;
  values.mqc_qsos = state.mqc_qsos;
  values.qso_list_lines = SplitLines(state.qso_list);
  values.edi_record_lines = SplitLines(state.edi_records);
  program.Contest().Load(values);
}

// A Program on a temporary folder, with recorded messages and a clock standing at
// 16/07/2023 09.30 local time, two hours ahead of UTC (Italian summer time).
class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() : clock_({2023, 7, 16, 9, 30, 0}, 120) {}
  Program& program() {
    if (!program_) {
      program_ = std::make_unique<Program>(messages_, clock_, folder_.path());
    }
    return *program_;
  }
  std::filesystem::path File(const std::string& name) const { return folder_ / name; }

  TempFolder folder_;
  RecordingMessageBox messages_;
  FixedClock clock_;
  std::unique_ptr<Program> program_;
};

}  // namespace keldra::testing

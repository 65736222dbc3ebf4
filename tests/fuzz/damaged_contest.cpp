// The windows over a damaged contest file, as an operator meets one: start-up finds parziale.db,
// "Continua Contest" loads it, "OK" logs one more QSO, the edit window looks up a callsign the
// file names and corrects its locator, and the statistics window and its report are computed
// over the lists the file gave. The input's first line is the callsign looked up, the rest is
// the file. No crash, no hang, no undefined behaviour, whatever the file holds.
//
// The disk refuses every write (as a read-only folder does), so a run never waits for fsync;
// reads are real, from a folder in memory where the system has one.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/TestDoubles.h"
#include "system/Files.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/QsoEditWindow.h"
#include "ui/ReportWindow.h"
#include "ui/StartWindow.h"
#include "ui/StatisticsWindow.h"

namespace {

class ReadOnlyDisk : public keldra::Files {
 protected:
  std::error_code Inject(keldra::WriteStep) override {
    return std::make_error_code(std::errc::read_only_file_system);
  }
};

// A folder of its own for this run, removed when the run ends.
class RunFolder {
 public:
  RunFolder() {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    path_ = base / ("keldra-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(path_);
    std::ofstream(path_ / "config.txt", std::ios::binary)
        << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  }
  ~RunFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t end = input.find('\n');
  const std::string call(input.substr(0, end == std::string_view::npos ? 0 : end));
  input.remove_prefix(end == std::string_view::npos ? 0 : end + 1);
  const RunFolder folder;
  std::ofstream(folder.path() / "parziale.db", std::ios::binary) << input;

  keldra::RecordingMessageBox messages;
  keldra::FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  ReadOnlyDisk disk;
  keldra::Program program(messages, clock, folder.path(), &disk);
  program.Start();
  program.Get<keldra::StartWindow>().continue_button.Press();
  keldra::MainWindow& main = program.Get<keldra::MainWindow>();

  main.call.SetText("QX9ZZZ");
  main.serial_received.SetText("001");
  main.locator.SetText("JN71QH");
  main.ok_button.Press();

  main.edit_qso_button.Press();
  keldra::QsoEditWindow& edit = program.Get<keldra::QsoEditWindow>();
  edit.search_call.SetText(call);
  edit.search_button.Press();
  edit.locator.SetText("JM89AU");
  edit.modify_button.Press();
  edit.close_button.Press();

  main.statistics_button.Press();
  program.Get<keldra::StatisticsWindow>().report_button.Press();
  program.End();
  return 0;
}

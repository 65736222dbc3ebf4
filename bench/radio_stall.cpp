// A rig that answers late or never must not hold up the window: the real front end with the
// rig and the rotator behind a daemon on loopback that answers after 2 s (or never), while the
// operator types callsigns into the entry row, presses F1 and "Ruota". The figure is the longest
// time one pass of the event loop took (a key, or a device reading, handled from start to end);
// the budget is 20 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "hamlib/Daemons.h"
#include "qt/QtBackground.h"
#include "qt/QtFrontEnd.h"
#include "radio/drivers/HamlibRadio.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench-radio-stall";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// state.range(0): the daemon's delay in ms, or -1 for never.
void BM_LongestEventLoopGapWithASlowRig(benchmark::State& state) {
  App();
  std::random_device rd;
  const fs::path folder = fs::temp_directory_path() / ("keldra-bench-" + std::to_string(rd()));
  fs::create_directories(folder);
  testing::SlowDaemon daemon{std::chrono::milliseconds(state.range(0))};
  std::ofstream(folder / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  std::ofstream(folder / "radio.txt", std::ios::binary)
      << "rig_model = 2\r\nrig_port = " << daemon.Address()
      << "\r\nrotator_model = 2\r\nrotator_port = " << daemon.Address() << "\r\n";
  double longest_ms = 0;
  long long passes = 0;
  {
    qt::QtEventQueue events;
    HamlibRadio radio([&events](std::function<void()> job) { events.Post(std::move(job)); });
    RecordingMessageBox messages;
    FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
    Program program(messages, clock, folder);
    program.SetDevices(radio);
    qt::QtFrontEnd front_end(program.Desktop());
    program.Start();
    MainWindow& main = program.Get<MainWindow>();
    QWidget* call = front_end.WidgetOf(main.call);
    const auto pass = [&](const std::function<void()>& step) {
      const Clock::time_point start = Clock::now();
      step();
      QCoreApplication::processEvents();
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      longest_ms = std::max(longest_ms, ms);
      ++passes;
    };
    for (auto _ : state) {
      // Six seconds of typing: several polls, time-outs and reconnections of both devices.
      const Clock::time_point end = Clock::now() + std::chrono::seconds(6);
      for (int i = 0; Clock::now() < end; ++i) {
        pass([&] { QTest::keyClick(call, static_cast<char>('A' + i % 26)); });
        if (i % 8 == 7) {
          pass([&] { QTest::keyClick(call, Qt::Key_Backspace); });
          pass([&] { QTest::keyClick(call, Qt::Key_F1); });
          pass([&] { main.turn_button.Press(); });
          main.call.SetText({});
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    if (main.rig_state.Caption() != "non connessa") {
      state.SkipWithError("a rig that does not answer counted as connected");
    }
    program.End();
  }
  fs::remove_all(folder);
  state.counters["longest_gap_ms"] = longest_ms;
  state.counters["passes"] = static_cast<double>(passes);
}
BENCHMARK(BM_LongestEventLoopGapWithASlowRig)
    ->Arg(2000)
    ->Arg(-1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

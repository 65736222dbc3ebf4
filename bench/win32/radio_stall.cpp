// A rig and a rotator whose daemons stop answering must not hold up the windows: the Windows
// program's main window in Windows' own controls, the rig and the rotator behind rigctld and
// rotctld on the host, both stopped (their ports accept connections and never answer), while
// callsigns are typed into the entry row, with F1 and "Ruota" every eight keys, for six seconds.
// The figure is the longest pass of the message loop (a key, or a device reading, handled from
// start to end); the budget is 20 ms, and it fails at 200 ms (a pass that waited on a daemon's
// time-out). scripts/windows runs it; run it under Wine with an X display: the daemons are the
// Linux host's, started and stopped through the daemon tests' host helpers.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "daemon/Host.h"
#include "radio/drivers/DaemonRadio.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"

// After the model: windows.h names its MessageBox function as a macro.
#include "win32/Win32FrontEnd.h"
#include "win32/Win32Program.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A key down and up at the focused control, delivered as the program's message loop would.
void PostKey(UINT virtual_key) {
  HWND target = GetFocus();
  const UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, virtual_key, 1 | (scan << 16) | 0xC0000000u);
}

int Run() {
  if (!testing::HostHas("rigctld") || !testing::HostHas("rotctld")) {
    std::printf("skipped: rigctld and rotctld (libhamlib-utils) are not on the host\n");
    return 0;
  }
  testing::HostDaemon rig("rigctld", testing::FreePort());
  testing::HostDaemon rotator("rotctld", testing::FreePort());  // both started
  rig.Pause();
  rotator.Pause();

  const fs::path folder = fs::temp_directory_path() / "keldra-bench-win32-radio";
  fs::create_directories(folder);
  std::ofstream(folder / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  std::ofstream(folder / "radio.txt", std::ios::binary)
      << "rig_model = 2\r\nrig_port = " << rig.Address()
      << "\r\nrotator_model = 2\r\nrotator_port = " << rotator.Address() << "\r\n";
  double longest_ms = 0;
  std::vector<double> all_ms;
  long long longest_pass = 0;
  bool said_not_connected = false;
  {
    win32::DeviceEvents events;
    DaemonRadio radio([&events](std::function<void()> job) { events.Post(std::move(job)); });
    RecordingMessageBox messages;
    FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
    Program program(messages, clock, folder);
    program.SetDevices(radio);
    win32::Win32FrontEnd front_end(program.Desktop());
    program.Start();
    MainWindow& main = program.Get<MainWindow>();
    const auto pass = [&](const std::function<void()>& step) {
      const Clock::time_point start = Clock::now();
      step();
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      front_end.Flush();
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      if (ms > longest_ms) {
        longest_ms = ms;
        longest_pass = static_cast<long long>(all_ms.size());
      }
      all_ms.push_back(ms);
    };
    pass([] {});  // the first paint of the window, which is no pass of the contest
    longest_ms = 0;
    all_ms.clear();
    const Clock::time_point end = Clock::now() + std::chrono::seconds(6);
    for (int i = 0; Clock::now() < end; ++i) {
      pass([i] { PostKey('A' + i % 26); });
      if (i % 8 == 7) {
        pass([] { PostKey(VK_BACK); });
        pass([] { PostKey(VK_F1); });
        pass([&main] { main.turn_button.Press(); });
        main.call.SetText({});
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    said_not_connected = main.rig_state.Caption() == "non connessa";
    program.End();
  }
  rig.Resume();
  rotator.Resume();
  fs::remove_all(folder);
  std::sort(all_ms.begin(), all_ms.end());
  std::printf(
      "daemons stopped: %zu passes, longest %.1f ms (pass %lld), 99th percentile %.1f ms "
      "(budget 20 ms)\n",
      all_ms.size(), longest_ms, longest_pass, all_ms[all_ms.size() * 99 / 100]);
  if (!said_not_connected) {
    std::printf("a rig that does not answer counted as connected\n");
    return 1;
  }
  // A pass that waited on a daemon would take its answer time-out (800 ms); on a loaded machine
  // the budget may be missed by the scheduler alone, which the figure shows but does not fail.
  return longest_ms < 200 ? 0 : 1;
}

}  // namespace
}  // namespace keldra

int main() { return keldra::Run(); }

// The front end's figures on a contest of 20,000 QSOs, through real input on the real program (the
// Linux build, or the Windows one under Wine with KELDRA_WINDOWS_EXE): start to the first window,
// working set, a keystroke and "OK" in the entry row, "Continua Contest" to a drawn window, and the
// map's redraw. bench/front_ends runs it for both programs and prints the figures side by side;
// it runs only with KELDRA_FIGURES set. CPU times are read from /proc (the program's threads, plus
// Wine's server under Wine); the X server's share is in neither.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "Harness.h"
#include "core/StateFile.h"
#include "core/Text.h"

namespace keldra::e2e {
namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const char kStation[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";
constexpr int kQsos = 20000;

// A contest file of `qsos` QSOs in the program's own line formats.
std::string ContestFileOf(int qsos) {
  ContestState state;
  state.serial = ZeroFill(std::to_string(qsos + 1), 3);
  state.qsos = std::to_string(qsos);
  for (int i = 1; i <= qsos; ++i) {
    const std::string serial = ZeroFill(std::to_string(i), 3);
    const std::string call = "QX" + std::to_string(i % 10) + "A" + std::to_string(i);
    const std::string locator =
        std::string("JN") + static_cast<char>('3' + i % 6) + static_cast<char>('0' + i % 10) + "GD";
    state.qso_list += serial + "   16/07/23   07.30   144Mhz   SSB   " + call +
                      std::string(call.size() < 12 ? 12 - call.size() : 0, ' ') + "59-012   " +
                      locator + "   I003\r\n";
    state.edi_records +=
        "230716;0730;" + call + ";1;59;" + serial + ";59;012;I003;" + locator + ";168;;;;\r\n";
  }
  return StateFileText(state);
}

// CPU time in milliseconds of every thread of a process (its /proc schedstat, nanoseconds).
double CpuMs(pid_t pid) {
  if (pid <= 0) {
    return 0;
  }
  double total = 0;
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream in(task.path() / "schedstat");
    double ns = 0;
    in >> ns;
    total += ns / 1e6;
  }
  return total;
}

// How often a process went to sleep by itself: for Wine's server, about one per request it
// answered (the figure that stays when the machine's load moves the times).
double Wakeups(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("voluntary_ctxt_switches:", 0) == 0) {
      return std::atof(line.c_str() + 24);
    }
  }
  return 0;
}

double ResidentMb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("VmRSS:", 0) == 0) {
      return std::atof(line.c_str() + 6) / 1024;
    }
  }
  return 0;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

class Figures {
 public:
  explicit Figures(RealProgram& real) : real_(real) {}
  double Cpu() const { return CpuMs(real_.Pid()) + CpuMs(real_.ServerPid()); }
  // Waits until the program has been idle for 150 ms (under 10 % of a core in every 5 ms, as an
  // idle Wine process still wakes for its timers), ten seconds at most; returns when it last
  // worked.
  Clock::time_point Idle() const {
    double cpu = Cpu();
    Clock::time_point last = Clock::now();
    const Clock::time_point until = last + 10s;
    while (Clock::now() - last < 150ms && Clock::now() < until) {
      std::this_thread::sleep_for(5ms);
      const double now = Cpu();
      if (now > cpu + 0.5) {
        last = Clock::now();
      }
      cpu = now;
    }
    return last;
  }

 private:
  RealProgram& real_;
};

// A figure, with its budget when it has one.
void Report(const std::string& what, double value, const char* unit, double budget = 0) {
  std::cout << "[ figure ] " << what << ": " << value << " " << unit;
  if (budget > 0) {
    std::cout << " (budget " << budget << " " << unit << ")";
  }
  std::cout << std::endl;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

TEST(FrontEndFigures, OnTwentyThousandQsos) {
  if (std::getenv("KELDRA_FIGURES") == nullptr) {
    GTEST_SKIP() << "KELDRA_FIGURES is not set (bench/front_ends sets it)";
  }
  XSession x;
  testing::TempFolder root;
  const StartState fresh{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}};

  // Start to the first window, Wine's server (when under Wine) up from a start before.
  {
    RealProgram real(x, root.path() / "start", fresh);
    std::vector<double> starts;
    std::vector<double> start_wakeups;
    for (int i = 0; i < 4; ++i) {
      const double wakeups = Wakeups(real.ServerPid());
      const auto t0 = Clock::now();
      real.Start();
      ASSERT_FALSE(x.WindowTitles(real.Pid()).empty());
      if (i > 0) {
        starts.push_back(Ms(Clock::now() - t0));
        start_wakeups.push_back(Wakeups(real.ServerPid()) - wakeups);
      }
      if (i == 3) {
        std::this_thread::sleep_for(1s);
        Report("working set after start", ResidentMb(real.Pid()), "MB");
      }
      real.Kill();
    }
    Report("start to the first window (median of 3)", Median(starts), "ms", 500);
    if (real.ServerPid() > 0) {
      Report("start (Wine server wake-ups, median of 3)", Median(start_wakeups), "");
    }
  }

  // "Continua Contest" on 20,000 QSOs.
  StartState contest = fresh;
  contest.files["parziale.db"] = ContestFileOf(kQsos);
  testing::TempFolder model_folder;
  ModelOperator model(contest, model_folder.path());
  RealProgram real(x, root.path() / "contest", contest);
  real.Start();
  XOperator op(x, real, model);
  Figures figures(real);
  ASSERT_FALSE(x.WindowTitles(real.Pid()).empty());
  figures.Idle();
  const Step resume = Click("Form5", "Command1");
  const XOperator::Prepared prepared = op.Prepare(resume);
  model.Play(resume);
  const auto t0 = Clock::now();
  op.Play(prepared, {});
  ASSERT_FALSE(op.WaitForWindow(model.Window("Form1").Caption()).empty());
  const auto shown = Clock::now();
  Report("Continua Contest to the main window shown", Ms(shown - t0), "ms", 1000);
  Report("Continua Contest to the main window drawn (CPU idle)", Ms(figures.Idle() - t0), "ms",
         1000);
  Report("working set with 20,000 QSOs", ResidentMb(real.Pid()), "MB");

  // Keystrokes in the call box, then the row through to "OK".
  const Step call = Click("Form1", "Text6");
  const XOperator::Prepared at_call = op.Prepare(call);
  op.Play(at_call, {});
  figures.Idle();
  constexpr int kKeystrokes = 60;
  double cpu = figures.Cpu();
  x.Run("xdotool key --delay 20 " + [] {
    std::string keys;
    for (int i = 0; i < kKeystrokes / 2; ++i) {
      keys += " shift+q BackSpace";
    }
    return keys;
  }());
  figures.Idle();
  Report("keystroke in the entry row (CPU each, of 60)", (figures.Cpu() - cpu) / kKeystrokes, "ms",
         2);

  std::vector<double> oks_wall;
  std::vector<double> oks_cpu;
  std::vector<double> oks_wakeups;
  const fs::path state_file = root.path() / "contest" / "parziale.db";
  constexpr int kOks = 9;
  for (int i = 0; i < kOks; ++i) {
    op.TypeKeys("IK5A" + std::string(1, static_cast<char>('A' + i)) + "\n\n\n7\nJN53HT\n\n");
    figures.Idle();
    const auto size = fs::file_size(state_file);
    cpu = figures.Cpu();
    const double wakeups = Wakeups(real.ServerPid());
    const auto ok = Clock::now();
    x.Run("xdotool key Return");
    for (int wait = 0; wait < 5000 && fs::file_size(state_file) == size; ++wait) {
      std::this_thread::sleep_for(1ms);
    }
    oks_wall.push_back(Ms(Clock::now() - ok));
    figures.Idle();
    oks_cpu.push_back(figures.Cpu() - cpu);
    oks_wakeups.push_back(Wakeups(real.ServerPid()) - wakeups);
  }
  Report("OK to the contest file written (wall, median of 9)", Median(oks_wall), "ms", 20);
  Report("OK (CPU, median of 9)", Median(oks_cpu), "ms", 10);
  if (real.ServerPid() > 0) {
    Report("OK (Wine server wake-ups, median of 9)", Median(oks_wakeups), "");
  }

  // The map: opened, then redrawn by the wheel about its centre.
  const Step map = Click("Form1", "MapButton");
  const XOperator::Prepared at_map = op.Prepare(map);
  model.Play(map);
  const auto opened = Clock::now();
  op.Play(at_map, {});
  const std::string window = op.WaitForWindow(model.Window("MapWindow").Caption());
  ASSERT_FALSE(window.empty());
  Report("map opened and drawn (CPU idle)", Ms(figures.Idle() - opened), "ms", 1000);
  const Control& canvas = model.ControlOf("MapWindow", "Map");
  const int cx = (canvas.Left() + canvas.Width() / 2) / 15;
  const int cy = (canvas.Top() + canvas.Height() / 2) / 15;
  std::vector<double> redraws;
  for (int i = 0; i < 8; ++i) {
    cpu = figures.Cpu();
    x.Run("xdotool mousemove --window " + window + " " + std::to_string(cx) + " " +
          std::to_string(cy) + " click " + (i % 2 == 0 ? "4" : "5"));
    figures.Idle();
    redraws.push_back(figures.Cpu() - cpu);
  }
  Report("map redraw on the wheel (CPU, median of 8)", Median(redraws), "ms", 50);
  x.Screenshot("figures_map");
}

}  // namespace
}  // namespace keldra::e2e

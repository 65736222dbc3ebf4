// The map window with 20,000 QSOs painted by the GDI+ drawing control (run it under Wine, or on
// Windows): the first paint (every layer built), a notch of the wheel, a drag step and a commit,
// each to the painted window; the budget of a redraw is 50 ms. Writes the map as PNG beside it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/ContestLog.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"
#include "ui/Program.h"

// After the model: windows.h names its MessageBox function as a macro.
#include "win32/DrawingWidget.h"

namespace keldra {
namespace {

constexpr int kQsos = 20000;

// A QSO in a random square of four fields around Italy.
LoggedQso QsoFor(int i, std::mt19937& random) {
  std::uniform_int_distribution<int> lon(0, 8);
  std::uniform_int_distribution<int> lat(0, 9);
  std::uniform_int_distribution<int> sub(0, 23);
  const char field[] = {'J', 'N', 'J', 'N', 'J', 'O', 'K', 'N'};
  const int f = i % 4;
  LoggedQso qso;
  qso.serial = i;
  qso.date = "16/07/23";
  qso.time = "07.30";
  qso.call = "QX" + std::to_string(i % 10) + "A" + std::to_string(i);
  qso.report_sent = "59";
  qso.report_received = "59";
  qso.serial_received = "012";
  qso.locator = {field[2 * f],
                 field[2 * f + 1],
                 static_cast<char>('0' + lon(random)),
                 static_cast<char>('0' + lat(random)),
                 static_cast<char>('A' + sub(random)),
                 static_cast<char>('A' + sub(random))};
  qso.km = 100;
  return qso;
}

// The median of `runs` timings of `step`, in milliseconds.
double Median(int runs, const std::function<void(int)>& step) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    step(i);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

int Run() {
  win32::GdiplusSession gdiplus;
  const auto folder = std::filesystem::temp_directory_path() / "keldra-bench-win32-map";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = \r\n";
  RecordingMessageBox messages;
  FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  std::mt19937 random{5};
  int redraws = 0;
  {
    Program program(messages, clock, folder);
    program.Get<MainWindow>();  // the map follows the main window's station and the log
    for (int i = 1; i <= kQsos; ++i) {
      program.Contest().Log(QsoFor(i, random));
    }
    MapWindow& map = program.Get<MapWindow>();
    const int w = map.map.Width() / kTwipsPerPixel;
    const int h = map.map.Height() / kTwipsPerPixel;
    HWND top =
        CreateWindowExW(0, L"STATIC", L"Mappa", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, w + 40,
                        h + 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND view = win32::CreateDrawingWidget(top, map.map, 8, 8, w, h);
    auto paint = [&] {
      win32::RedrawDrawingWidget(view, map.map);
      UpdateWindow(view);
      ++redraws;
    };
    const double first = Median(1, [&](int) { paint(); });
    const double zoom = Median(21, [&](int i) {
      POINT at{w / 3, h / 2};
      ClientToScreen(view, &at);
      SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, i % 2 == 0 ? WHEEL_DELTA : -WHEEL_DELTA),
                   MAKELPARAM(at.x, at.y));
      UpdateWindow(view);
    });
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
    const double pan = Median(21, [&](int i) {
      SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(i % 2 == 0 ? 320 : 300, 300));
      UpdateWindow(view);
    });
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
    int next = kQsos + 1;
    const double commit = Median(11, [&](int) {
      program.Contest().Log(QsoFor(next++, random));
      paint();
    });
    const double png_ms = Median(1, [&](int) {
      if (auto png = win32::Win32DrawingPainter().Png(map.map)) {
        std::ofstream("map_20000_qsos.png", std::ios::binary) << *png;
      }
    });
    std::printf("map of %zu QSOs, %dx%d pixels (median ms)\n", map.Qsos().size(), w, h);
    if (map.Qsos().size() < kQsos) {
      redraws = 0;  // a map without the contest's QSOs measures nothing
    }
    std::printf("first paint %.1f  wheel notch %.1f  drag step %.1f  commit %.1f  png %.1f\n",
                first, zoom, pan, commit, png_ms);
    DestroyWindow(top);
  }
  std::filesystem::remove_all(folder);
  return redraws > 0 ? 0 : 1;
}

}  // namespace
}  // namespace keldra

int main() { return keldra::Run(); }

// The map window with 20,000 QSOs, drawn by the real front end offscreen: opening and drawing it
// must stay under 150 ms, a redraw after a commit and a zoom or pan step under 30 ms each; with
// 2,000 users of the chat on it too, a change of the room's users redrawn and a zoom step under the
// same 30 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "TestSupport.h"
#include "qt/QtFrontEnd.h"
#include "support/MapRecords.h"
#include "support/TestDoubles.h"
#include "ui/ChatWindow.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"
#include "ui/Program.h"

namespace keldra {
namespace {

constexpr int kQsos = 20000;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench-map";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

std::string Record(int i, std::mt19937& random) {
  std::uniform_int_distribution<int> lon(0, 8);
  std::uniform_int_distribution<int> lat(0, 9);
  std::uniform_int_distribution<int> sub(0, 23);
  const char field[] = {'J', 'N', 'J', 'N', 'J', 'O', 'K', 'N'};
  const int f = i % 4;
  const std::string locator{field[2 * f],
                            field[2 * f + 1],
                            static_cast<char>('0' + lon(random)),
                            static_cast<char>('0' + lat(random)),
                            static_cast<char>('A' + sub(random)),
                            static_cast<char>('A' + sub(random))};
  const std::string serial = std::to_string(100000 + i).substr(1);
  return "230716;0730;QX" + std::to_string(i % 10) + "A" + std::to_string(i) + ";1;59;" + serial +
         ";59;012;;" + locator + ";100;;;;\r\n";
}

// A program with the main window holding 20,000 QSOs, drawn by the Qt front end.
struct Contest {
  Contest() : clock({2023, 7, 16, 9, 30, 0}, 120) {
    App();
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "config.txt", std::ios::binary)
        << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = \r\n";
    program = std::make_unique<Program>(messages, clock, folder);
    front_end = std::make_unique<qt::QtFrontEnd>(program->Desktop());
    // The map follows the main window: without it the map stays empty, whatever the log holds.
    program->Start();
    std::string records;
    for (int i = 1; i <= kQsos; ++i) {
      records += Record(i, random);
    }
    ContestState contest;
    contest.edi_records = records;
    testing::PutContest(*program, contest);
  }
  ~Contest() {
    front_end.reset();
    program.reset();
    std::filesystem::remove_all(folder);
  }
  // The map window drawn whole, as the screen would show it.
  void Draw(MapWindow& map) {
    QCoreApplication::processEvents();
    front_end->WidgetOf(map.map)->grab();
  }

  std::filesystem::path folder = std::filesystem::temp_directory_path() / "keldra-bench-map";
  RecordingMessageBox messages;
  FixedClock clock;
  std::unique_ptr<Program> program;
  std::unique_ptr<qt::QtFrontEnd> front_end;
  std::mt19937 random{5};
};

void BM_MapOpenAndDraw(benchmark::State& state) {
  Contest contest;
  for (auto _ : state) {
    MapWindow& map = contest.program->Get<MapWindow>();
    map.Show();
    contest.Draw(map);
    state.PauseTiming();
    map.Unload();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MapOpenAndDraw)->Unit(benchmark::kMillisecond);

void BM_MapRedrawAfterCommit(benchmark::State& state) {
  Contest contest;
  MapWindow& map = contest.program->Get<MapWindow>();
  map.Show();
  contest.Draw(map);
  int next = kQsos + 1;
  double model_ms = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ContestState one;  // appended to the log, as a commit appends it
    one.edi_records = Record(next++, contest.random);
    testing::PutContest(*contest.program, one);
    model_ms +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    contest.Draw(map);
  }
  state.counters["qsos"] = static_cast<double>(map.Qsos().size());
  // Of the time, what the window spends rebuilding its layers; the rest is painting.
  state.counters["model_ms"] = model_ms / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MapRedrawAfterCommit)->Unit(benchmark::kMillisecond);

// One step of the operator: a notch of the wheel (in and out by turns, about a point off the
// centre) or a drag of 20 pixels (there and back by turns), and the map drawn again.
void BM_MapZoomStep(benchmark::State& state) {
  Contest contest;
  MapWindow& map = contest.program->Get<MapWindow>();
  map.Show();
  contest.Draw(map);
  QWidget* widget = contest.front_end->WidgetOf(map.map);
  int step = 0;
  for (auto _ : state) {
    const QPointF at(300, 250);
    QWheelEvent wheel(at, widget->mapToGlobal(at), {}, {0, step++ % 2 == 0 ? 120 : -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
    contest.Draw(map);
  }
}
BENCHMARK(BM_MapZoomStep)->Unit(benchmark::kMillisecond);

void BM_MapPanStep(benchmark::State& state) {
  Contest contest;
  MapWindow& map = contest.program->Get<MapWindow>();
  map.Show();
  contest.Draw(map);
  QWidget* widget = contest.front_end->WidgetOf(map.map);
  QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(300, 300));
  int step = 0;
  for (auto _ : state) {
    const QPointF to(step++ % 2 == 0 ? 320 : 300, 300);
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    contest.Draw(map);
  }
  QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(300, 300));
}
BENCHMARK(BM_MapPanStep)->Unit(benchmark::kMillisecond);

// One user of 2,000 leaves the room and comes back by turns: the chat's list refilled, the map's
// layer of users built again and the map drawn.
void BM_MapChatUsersRedraw(benchmark::State& state) {
  Contest contest;
  ChatWindow& chat = contest.program->Get<ChatWindow>();
  const std::vector<ChatFrame> room = testing::ChatRoomUsers(2000);
  chat.OnFrames(std::vector<ChatFrame>(room));
  MapWindow& map = contest.program->Get<MapWindow>();
  map.Show();
  contest.Draw(map);
  ChatFrame left = room[1000];
  left.kind = ChatFrameKind::kUserLeft;
  int step = 0;
  double model_ms = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    chat.OnFrames({step++ % 2 == 0 ? left : room[1000]});
    model_ms +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    contest.Draw(map);
  }
  state.counters["users"] = static_cast<double>(map.ChatUsers().size());
  state.counters["model_ms"] = model_ms / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MapChatUsersRedraw)->Unit(benchmark::kMillisecond);

// A notch of the wheel with 2,000 users of the chat on the map, in and out by turns.
void BM_MapZoomStepWithChatUsers(benchmark::State& state) {
  Contest contest;
  contest.program->Get<ChatWindow>().OnFrames(testing::ChatRoomUsers(2000));
  MapWindow& map = contest.program->Get<MapWindow>();
  map.Show();
  contest.Draw(map);
  QWidget* widget = contest.front_end->WidgetOf(map.map);
  int step = 0;
  for (auto _ : state) {
    const QPointF at(300, 250);
    QWheelEvent wheel(at, widget->mapToGlobal(at), {}, {0, step++ % 2 == 0 ? 120 : -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
    contest.Draw(map);
  }
  state.counters["users"] = static_cast<double>(map.ChatUsers().size());
}
BENCHMARK(BM_MapZoomStepWithChatUsers)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

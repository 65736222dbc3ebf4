// The chat window at 20,000 QSOs with 2,000 users in the room: a chat line shown (the link's
// batch of one message) must cost under 2 ms of the user-interface thread, and the user list
// refilled (QRB, QTF, worked, club and points of every user) under 20 ms; a new QSO refills it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "TestSupport.h"
#include "core/QsoRecord.h"
#include "support/TestDoubles.h"
#include "ui/ChatWindow.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;

std::string ListOf(long long n) {
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

// A room of `users` around the station, every tenth already in the log, every seventh a member.
std::vector<ChatFrame> Room(int users) {
  std::vector<ChatFrame> frames;
  for (int i = 0; i < users; ++i) {
    ChatFrame frame;
    frame.kind = ChatFrameKind::kUserListed;
    frame.room = 2;
    const std::string call =
        i % 10 == 0 ? "QA" + std::to_string(i) + "X" : "QB" + std::to_string(i) + "Y";
    const std::string locator = {'J',
                                 static_cast<char>('K' + i % 5),
                                 static_cast<char>('0' + i % 10),
                                 static_cast<char>('0' + i / 10 % 10),
                                 static_cast<char>('A' + i % 24),
                                 static_cast<char>('A' + i / 24 % 24)};
    frame.user = {call, "Op " + std::to_string(i), locator, 0};
    frames.push_back(frame);
  }
  return frames;
}

template <class Body>
void WithChat(benchmark::State& state, Body body) {
  std::random_device rd;
  const fs::path folder = fs::temp_directory_path() / ("keldra-bench-" + std::to_string(rd()));
  fs::create_directories(folder);
  std::ofstream(folder / "config.txt", std::ios::binary)
      << "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";
  std::string members;
  for (int i = 0; i < 2000; i += 7) {
    members += "QB" + std::to_string(i) + "Y#" + std::to_string(i + 1) + "\r\n";
  }
  std::ofstream(folder / "iqrp.txt", std::ios::binary) << members;
  {
    RecordingMessageBox messages;
    FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
    Program program(messages, clock, folder);
    program.Get<MainWindow>();
    ContestState contest;
    contest.qso_list = ListOf(20000);
    testing::PutContest(program, contest);
    ChatWindow& chat = program.Get<ChatWindow>();
    chat.OnFrames(Room(static_cast<int>(state.range(0))));
    body(state, chat);
  }
  fs::remove_all(folder);
}

void BM_ChatLine(benchmark::State& state) {
  WithChat(state, [](benchmark::State& s, ChatWindow& chat) {
    long long n = 0;
    for (auto _ : s) {
      ChatFrame frame;
      frame.kind = ChatFrameKind::kMessage;
      frame.room = 2;
      frame.message = {2, 1700000000 + n, "QB1Y", "Op 1", "cq cq 144.300 ssb, qx0abc pse", ""};
      chat.OnFrames({frame});
      ++n;
    }
  });
}
BENCHMARK(BM_ChatLine)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_ChatUserListRefill(benchmark::State& state) {
  WithChat(state, [](benchmark::State& s, ChatWindow& chat) {
    for (auto _ : s) {
      chat.Refill();
    }
  });
}
BENCHMARK(BM_ChatUserListRefill)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();

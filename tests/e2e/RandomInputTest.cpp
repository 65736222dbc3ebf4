// Random real keys and clicks on the real program, on a contest with QSOs: letters with and without
// Shift, digits, punctuation, Enter, arrows, Tab, function keys, Ctrl+A/Z/V, and clicks anywhere
// on whatever windows it shows. The program may end as an operator ends it (it is then started
// again); it must never die otherwise, nor stop answering (every few seconds each of its windows
// must answer the window manager's ping), and its contest file must stay one the program reads.
// KELDRA_RANDOM_ACTIONS sets how many actions (a minute's worth by default), KELDRA_RANDOM_SEED
// the seed.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include "Harness.h"
#include "core/StateFile.h"

namespace keldra::e2e {
namespace {

const char* const kKeys[] = {"a",
                             "q",
                             "x",
                             "shift+i",
                             "shift+k",
                             "shift+p",
                             "5",
                             "0",
                             "9",
                             "space",
                             "Return",
                             "Return",
                             "Return",
                             "shift+7",
                             "shift+period",
                             "period",
                             "shift+comma",
                             "minus",
                             "Up",
                             "Down",
                             "Left",
                             "Right",
                             "Tab",
                             "shift+Tab",
                             "BackSpace",
                             "Delete",
                             "Home",
                             "End",
                             "Escape",
                             "F1",
                             "F2",
                             "F5",
                             "F10",
                             "F12",
                             "ctrl+a",
                             "ctrl+z",
                             "ctrl+v",
                             "shift+Insert",
                             "egrave",
                             "ISO_Level3_Shift+ograve"};

int EnvNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::atoi(value) : fallback;
}

// The contest file must read back as a whole contest: a count, and both lists of that length.
void ExpectReadableContest(const std::filesystem::path& file, int action) {
  if (!std::filesystem::exists(file)) {
    return;  // "Nuovo Contest" before the first QSO
  }
  const StateFileValues state = ReadStateFile(testing::ReadBytes(file));
  ASSERT_TRUE(state.qsos.has_value()) << "after action " << action;
  EXPECT_EQ(state.qso_list_lines.size(), state.edi_record_lines.size())
      << "after action " << action;
  EXPECT_EQ(std::to_string(state.qso_list_lines.size()), *state.qsos) << "after action " << action;
}

// How often the windows are pinged, and how long a window may take to answer: a loaded machine
// answers within a second; ten seconds without an answer is a window the operator cannot use.
constexpr auto kProbeEvery = std::chrono::seconds(3);
constexpr auto kAnswerTime = std::chrono::seconds(10);

void ExpectAnswering(const XSession& x, RealProgram& real, const std::vector<std::string>& ids,
                     int action, const std::string& last) {
  for (const std::string& id : ids) {
    if (!x.Answers(id, kAnswerTime) && real.Running()) {
      x.Screenshot("e2e_random_input_failure");
      std::string title = x.Run("xdotool getwindowname " + id);
      title.erase(title.find_last_not_of('\n') + 1);
      FAIL() << "the window \"" << title << "\" stopped answering after action " << action << ": "
             << last << "\n"
             << real.Output();
    }
  }
}

// The probe itself: the program's window answers, a stopped program's does not, and answers again
// once it goes on (the probe would let a hang through if it could not tell these apart).
TEST(HangProbe, AStoppedProgramsWindowDoesNotAnswer) {
  XSession x;
  testing::TempFolder root;
  RealProgram real(x, root.path() / "contest", StartState{{2023, 7, 16, 9, 0, 0}, 120, {}});
  real.Start();
  ASSERT_FALSE(x.WindowTitles(real.Pid()).empty()) << real.Output();
  const std::vector<std::string> ids = x.Windows(real.Pid());
  ASSERT_FALSE(ids.empty());
  EXPECT_TRUE(x.Answers(ids.front(), kAnswerTime));
  kill(real.Pid(), SIGSTOP);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(x.Answers(ids.front(), std::chrono::seconds(2)));
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  kill(real.Pid(), SIGCONT);
  EXPECT_TRUE(x.Answers(ids.front(), kAnswerTime));
}

TEST(RandomInput, RandomKeysAndClicksNeverKillTheProgramNorItsContest) {
  XSession x;
  testing::TempFolder model_folder;
  testing::TempFolder real_root;
  const char station[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";
  // A contest of a few QSOs, logged through the model windows.
  StartState start{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", station}}};
  {
    ModelOperator model(start, model_folder.path());
    for (const char* qso : {"IK5ABC/P\n\n\n1\nJN53HT\nI003\n\n", "OE7ABC\n\n\n4\nJN57NF\n\n\n",
                            "G4ABC\n\n\n3\nIO91VL\n\n\n"}) {
      model.Play(Keys("Form1", qso));
    }
  }
  start.files = FolderFiles(model_folder.path());
  ASSERT_TRUE(start.files.count("parziale.db"));

  const auto folder = real_root.path() / "contest";
  RealProgram real(x, folder, start);
  real.Start();
  std::mt19937 random(static_cast<unsigned>(EnvNumber("KELDRA_RANDOM_SEED", 20230716)));
  const int actions = EnvNumber("KELDRA_RANDOM_ACTIONS", 600);
  int restarts = 0;
  int windowless = 0;
  bool restarted = true;
  std::string last;
  auto next_probe = std::chrono::steady_clock::now();
  for (int action = 0; action < actions; ++action) {
    if (!real.Running()) {
      const int status = real.WaitForExit(1);
      ASSERT_EQ(status, 0) << "the program died after action " << action << ":\n" << real.Output();
      ExpectReadableContest(folder / "parziale.db", action);
      ++restarts;
      restarted = true;
      real.Start();
      std::this_thread::sleep_for(std::chrono::milliseconds(700));
    }
    const std::vector<std::string> ids = x.Windows(real.Pid());
    if (!ids.empty() && std::chrono::steady_clock::now() >= next_probe) {
      ASSERT_NO_FATAL_FAILURE(ExpectAnswering(x, real, ids, action, last));
      next_probe = std::chrono::steady_clock::now() + kProbeEvery;
    }
    if (ids.empty()) {
      // A program that runs on with no window is one the operator cannot use or end.
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      // A start on a loaded machine may take up to a minute; ten seconds without a window at any
      // other time is a fault.
      if (++windowless > (restarted ? 600 : 100) && real.Running()) {
        x.Screenshot("e2e_random_input_failure");
        FAIL() << "the program runs with no window after action " << action << ": " << last << "\n"
               << real.Output();
      }
      continue;
    }
    windowless = 0;
    restarted = false;
    if (random() % 3 == 0) {
      const std::string& window = ids[random() % ids.size()];
      std::istringstream size(x.Run("xdotool getwindowgeometry --shell " + window));
      int width = 0;
      int height = 0;
      for (std::string line; size >> line;) {
        if (line.rfind("WIDTH=", 0) == 0) {
          width = std::atoi(line.c_str() + 6);
        }
        if (line.rfind("HEIGHT=", 0) == 0) {
          height = std::atoi(line.c_str() + 7);
        }
      }
      if (width <= 0 || height <= 0) {
        continue;
      }
      last = "click in " + x.Run("xdotool getwindowname " + window);
      x.Run("xdotool mousemove --window " + window + " " + std::to_string(random() % width) + " " +
            std::to_string(random() % height) + " click 1");
    } else {
      last = kKeys[random() % std::size(kKeys)];
      x.Run("xdotool key --delay 5 " + last);
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  if (!real.Running()) {
    ASSERT_EQ(real.WaitForExit(1), 0) << "the program died at the end";
  } else {
    ExpectAnswering(x, real, x.Windows(real.Pid()), actions, last);
  }
  ExpectReadableContest(folder / "parziale.db", actions);
  x.Screenshot("e2e_random_input_end");
  std::cout << "[ random input ] actions " << actions << ", normal ends and restarts " << restarts
            << "\n";
}

}  // namespace
}  // namespace keldra::e2e

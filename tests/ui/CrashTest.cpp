// The crash test: a logger process commits QSOs through the main window's "OK" in a loop, now and
// then correcting an earlier QSO's locator in the edit window, and is killed with SIGKILL at a
// random moment, a few hundred times over, on one program folder. After every kill a fresh
// program continues the contest as the operator would ("Continua Contest"), and every QSO whose
// "OK" had returned before the kill must be there, with every correction whose "Modifica"
// returned, the serial number, the totals and both lists agreeing, and parziale.db and backup.db
// each a whole file.
//
// The number of kills is KELDRA_CRASH_KILLS (default 200).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "core/QsoEdit.h"
#include "core/StateFile.h"
#include "core/Text.h"
#include "support/LoggerProcess.h"
#include "support/TestDoubles.h"
#include "support/TextTotals.h"
#include "system/Files.h"
#include "system/InstanceLock.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/MainWindow.h"
#include "ui/QsoEditWindow.h"
#include "ui/StartWindow.h"

namespace keldra::testing {
namespace {

int KillCount() {
  const char* text = std::getenv("KELDRA_CRASH_KILLS");
  const int count = text == nullptr ? 0 : std::atoi(text);
  return count > 0 ? count : 200;
}

// The QSO logged with serial number n: a callsign of its own (the duplicate check must not
// refuse it), a locator somewhere in Europe, and now and then a club member.
std::string CallOf(int n) {
  std::string call = "QX" + std::to_string(n % 10);
  for (int i = 0, v = n; i < 3; ++i, v /= 26) {
    call += static_cast<char>('A' + v % 26);
  }
  return call;
}
std::string LocatorOf(int n) {
  return std::string{'J',
                     'N',
                     static_cast<char>('0' + n % 10),
                     static_cast<char>('0' + (n / 10) % 10),
                     static_cast<char>('A' + n % 24),
                     static_cast<char>('A' + (n / 3) % 24)};
}
std::string ClubOf(int n) {
  if (n % 5 == 0) {
    return "I" + ZeroFill(std::to_string(n % 1000), 3);
  }
  if (n % 7 == 0) {
    return "M" + ZeroFill(std::to_string(n % 600), 3);
  }
  return {};
}

// Opens the main window as the operator does: with a contest on disk, "Continua Contest".
MainWindow& StartAndContinue(Program& program) {
  program.Start();
  if (StartWindow* start = program.Find<StartWindow>(); start != nullptr && start->Visible()) {
    start->continue_button.Press();
  }
  return program.Get<MainWindow>();
}

// The logger process: holds the folder's lock as the program does, continues the contest and
// commits QSOs until it is killed, telling the parent each serial number whose "OK" returned.
// It never returns; anything unexpected is reported as a line starting with "!".
[[noreturn]] void RunLogger(const std::filesystem::path& folder,
                            const std::function<void(std::string)>& say) {
  InstanceLock lock;
  if (lock.Acquire(folder) != InstanceLock::Outcome::kAcquired) {
    say("! lock not acquired");
    std::_Exit(2);
  }
  RecordingMessageBox messages;
  FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  Program program(messages, clock, folder);
  MainWindow& main = StartAndContinue(program);
  for (int committed = 0; committed < 500; ++committed) {
    const int n = static_cast<int>(LeadingNumber(main.qso_number.Text()));
    main.call.SetText(CallOf(n));
    main.serial_received.SetText("001");
    main.locator.SetText(LocatorOf(n));
    main.club_code.SetText(ClubOf(n));
    main.ok_button.Press();
    if (!messages.shown.empty()) {
      say("! " + messages.shown.front().text);
      std::_Exit(3);
    }
    say(std::to_string(n));
    // Every third QSO, an earlier one gets a new locator through the edit window.
    if (n % 3 == 0) {
      const int earlier = n / 2;
      const std::string locator = LocatorOf(n + 1000);
      main.edit_qso_button.Press();
      QsoEditWindow& edit = program.Get<QsoEditWindow>();
      edit.search_call.SetText(CallOf(earlier));
      edit.search_button.Press();
      edit.locator.SetText(locator);
      edit.modify_button.Press();
      edit.close_button.Press();
      if (messages.shown.size() > 1 ||
          (messages.shown.size() == 1 && messages.shown[0].text != "I dati del QSO sono stati "
                                                                   "modificati")) {
        say("! " + messages.shown.back().text);
        std::_Exit(3);
      }
      messages.shown.clear();
      say(std::to_string(earlier) + " " + locator);
    }
  }
  for (;;) {
    std::this_thread::sleep_for(std::chrono::hours(1));
  }
}

// The lines the logger reported, up to `wanted` of them or its end; false on a timeout.
bool ReadReports(LoggerProcess& logger, std::string& pending, std::vector<std::string>& lines,
                 std::size_t wanted) {
  while (lines.size() < wanted) {
    char buffer[512];
    const long n = logger.Read(buffer, sizeof buffer, 20000);
    if (n < 0) {
      return false;
    }
    if (n == 0) {
      return true;  // the process is gone and its reports drained
    }
    pending.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      lines.push_back(pending.substr(0, end));
      pending.erase(0, end + 1);
    }
  }
  return true;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

// A state file is whole when it holds every key and writing what was read gives its bytes back:
// a file cut short, or spliced from two versions, does not.
std::optional<StateFileValues> WholeStateFile(const std::filesystem::path& path) {
  const std::string bytes = ReadBytes(path);
  StateFileValues v = ReadStateFile(bytes);
  if (!v.serial || !v.qsos || !v.km || !v.multipliers || !v.points || !v.average_km ||
      !v.odx_call || !v.odx_locator || !v.odx_km || !v.iqrp_qsos || !v.mqc_qsos) {
    return std::nullopt;
  }
  ContestState state;
  static_cast<ContestTotals&>(state) = TotalsRead(v, {});
  state.serial = *v.serial;
  state.qso_list = Joined(v.qso_list_lines);
  state.edi_records = Joined(v.edi_record_lines);
  if (StateFileText(state) != bytes) {
    return std::nullopt;
  }
  return v;
}

// The locators QSO n may show: the one its last returned correction gave it; without one, its
// own, or the one of a correction that was saved but killed before its "Modifica" returned.
// (Each QSO is corrected at most once, by QSO 2n or 2n + 1, whichever is a multiple of three.)
std::vector<std::string> PossibleLocators(int n, const std::map<int, std::string>& corrected) {
  if (auto it = corrected.find(n); it != corrected.end()) {
    return {it->second};
  }
  std::vector<std::string> possible{LocatorOf(n)};
  for (int by : {2 * n, 2 * n + 1}) {
    if (by % 3 == 0) {
      possible.push_back(LocatorOf(by + 1000));
    }
  }
  return possible;
}

bool LocatorIsOneOf(const std::string& record, const std::vector<std::string>& locators) {
  for (const std::string& locator : locators) {
    if (record.find(";" + locator + ";") != std::string::npos) {
      return true;
    }
  }
  return false;
}

struct Figures {
  int kills = 0;
  int mid_write = 0;  // kills that left a temporary file: the process died inside a write
  long long checked = 0;
  long long lost = 0;
  int edits = 0;  // corrections made through the edit window whose "Modifica" returned
};

TEST(CrashTest, EveryQsoWhoseOkReturnedSurvivesAKill) {
  if (RunAsLoggerProcess(RunLogger)) {
    return;
  }
  TempFolder folder;
  WriteBytes(folder / "config.txt", kLoggingStationFile);
  std::mt19937 rng(std::random_device{}());
  std::map<int, std::string> returned;   // serial -> callsign, every "OK" that returned
  std::map<int, std::string> corrected;  // serial -> locator, every "Modifica" that returned
  std::size_t last_size = 0;             // QSOs found after the previous kill
  Figures figures;
  const int kills = KillCount();

  for (int round = 0; round < kills; ++round) {
    SCOPED_TRACE("kill " + std::to_string(round + 1));
    LoggerProcess logger(folder.path(), RunLogger);
    ASSERT_TRUE(logger.Started());

    // Let it log a few QSOs (none, at times: a kill during the start-up), then kill it at a
    // random moment, as likely inside a commit as between two.
    std::string pending;
    std::vector<std::string> lines;
    const bool answered = ReadReports(logger, pending, lines, rng() % 4);
    if (answered) {
      SleepMicroseconds(rng() % 6000);
    }
    const bool killed = logger.Kill();
    ASSERT_TRUE(answered) << "the logger hangs";
    ASSERT_TRUE(ReadReports(logger, pending, lines, SIZE_MAX));
    for (const std::string& line : lines) {
      ASSERT_FALSE(line.starts_with("!")) << line;
      const int n = std::stoi(line);
      if (const std::size_t blank = line.find(' '); blank != std::string::npos) {
        corrected[n] = line.substr(blank + 1);
        ++figures.edits;
      } else {
        returned[n] = CallOf(n);
      }
    }
    ASSERT_TRUE(killed) << "the logger ended by itself";
    ++figures.kills;

    // The kill released the folder's lock.
    {
      InstanceLock lock;
      ASSERT_EQ(lock.Acquire(folder.path()), InstanceLock::Outcome::kAcquired);
    }
    bool temporary_left = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(".parziale.db.tmp") || name.starts_with(".backup.db.tmp")) {
        temporary_left = true;
        std::filesystem::remove(entry.path());
      }
    }
    if (temporary_left) {
      ++figures.mid_write;
    }

    // Both files whole; the backup is the version before the current one (or the same, when
    // the kill fell between keeping it and renaming the new file into place).
    std::optional<StateFileValues> saved;
    if (std::filesystem::exists(folder / kStateFileName)) {
      saved = WholeStateFile(folder / kStateFileName);
      ASSERT_TRUE(saved) << "parziale.db is not a whole file:\n"
                         << ReadBytes(folder / "parziale.db");
    }
    if (std::filesystem::exists(folder / kStateBackupFileName)) {
      ASSERT_TRUE(saved);
      const std::optional<StateFileValues> backup = WholeStateFile(folder / kStateBackupFileName);
      ASSERT_TRUE(backup) << "backup.db is not a whole file";
      EXPECT_LE(backup->qso_list_lines.size(), saved->qso_list_lines.size());
      EXPECT_GE(backup->qso_list_lines.size() + 1, saved->qso_list_lines.size());
    }

    // A fresh start on the folder continues the contest with every returned QSO.
    RecordingMessageBox messages;
    FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
    Program program(messages, clock, folder.path());
    MainWindow& main = StartAndContinue(program);
    EXPECT_TRUE(messages.shown.empty());
    const std::vector<std::string> list = SplitLines(main.qso_list.Text());
    const std::vector<std::string> records = SplitLines(main.Log().EdiRecordsText());
    const long long count = static_cast<long long>(list.size());
    ASSERT_EQ(records.size(), list.size());
    EXPECT_EQ(program.Get<EdiHeaderWindow>().edi_records.Text(), main.Log().EdiRecordsText());
    EXPECT_EQ(main.total_qsos.Caption(), PlainDecimal(count));
    EXPECT_EQ(main.qso_number.Text(), ZeroFill(PlainDecimal(count + 1), 3));
    const ContestTotals totals = TotalsOfRecords(main.Log().EdiRecordsText());
    EXPECT_EQ(main.total_km.Caption(), totals.km);
    EXPECT_EQ(main.total_points.Caption(), totals.points);
    EXPECT_EQ(main.total_multipliers.Caption(), totals.multipliers);
    EXPECT_EQ(main.average_km.Caption(), totals.average_km);
    EXPECT_EQ(main.odx_call.Caption(), totals.odx_call);
    EXPECT_EQ(main.odx_km.Caption(), totals.odx_km);
    EXPECT_EQ(main.iqrp_qsos.Caption(), totals.iqrp_qsos);
    EXPECT_EQ(main.mqc_qsos.Caption(), totals.mqc_qsos);
    EXPECT_GE(list.size(), last_size) << "QSOs of an earlier run went missing";
    for (const auto& [serial, call] : returned) {
      ++figures.checked;
      const std::size_t at = static_cast<std::size_t>(serial - 1);
      const bool present = at < list.size() &&
                           list[at].starts_with(ZeroFill(std::to_string(serial), 3) + "   ") &&
                           list[at].find("   " + call + " ") != std::string::npos &&
                           records[at].find(";" + call + ";") != std::string::npos &&
                           LocatorIsOneOf(records[at], PossibleLocators(serial, corrected));
      if (!present) {
        ++figures.lost;
        ADD_FAILURE() << "QSO " << serial << " " << call << " lost:\n"
                      << (at < list.size() ? list[at] + "\n" + records[at] : "");
      }
    }
    last_size = list.size();
  }

  std::cout << "[ crash    ] kills survived " << figures.kills << ", of them inside a write "
            << figures.mid_write << ", QSOs logged " << returned.size() << ", corrections "
            << figures.edits << ", QSOs checked " << figures.checked << ", QSOs lost "
            << figures.lost << "\n";
  ::testing::Test::RecordProperty("kills", figures.kills);
  ::testing::Test::RecordProperty("qsos_lost", static_cast<int>(figures.lost));
  EXPECT_EQ(figures.kills, kills);
  EXPECT_EQ(figures.lost, 0);
  EXPECT_GT(returned.size(), 0U);
}

}  // namespace
}  // namespace keldra::testing

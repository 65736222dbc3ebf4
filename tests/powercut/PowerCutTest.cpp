// The power-cut test. One session is recorded at the level of the system calls: the station
// data saved, 30 QSOs logged through the main window's "OK", three of them corrected in the edit
// window, a member added to each club list (the MQC one new) and the EDI log saved twice. Then, for
// every state of the folder a power cut at any point of that session can leave (see CrashStates.h),
// a fresh program continues the contest as the operator would ("Continua Contest", or the emergency
// restore when the contest file is broken), and:
//  - every QSO whose "OK" had returned is there, with every correction whose "Modifica" had
//    returned;
//  - parziale.db and backup.db are each a whole contest file;
//  - config.txt, the club lists and the EDI log are each the version last saved before the cut,
//    or a later one, whole.
// KELDRA_POWERCUT_QSOS sets the number of QSOs (default and least 30), KELDRA_POWERCUT_STATES the
// most distinct folders checked (default 5000; beyond it an even sample of them).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <set>

#include "CrashStates.h"
#include "FsRecorder.h"
#include "TestSupport.h"
#include "core/StateFile.h"
#include "core/Text.h"
#include "system/Files.h"
#include "ui/ClubManagementWindow.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"
#include "ui/MainWindow.h"
#include "ui/QsoEditWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"

namespace keldra::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kEdiName = "QX0ABC.edi";

int FromEnvironment(const char* name, int fallback) {
  const char* text = std::getenv(name);
  const int value = text == nullptr ? 0 : std::atoi(text);
  return value > 0 ? value : fallback;
}

std::string CallOf(int n) {
  std::string call = "QX" + std::to_string(n % 10);
  for (int i = 0, v = n; i < 3; ++i, v /= 26) {
    call += static_cast<char>('A' + v % 26);
  }
  return call;
}
std::string LocatorOf(int n) {
  return {'J',
          'N',
          static_cast<char>('0' + n % 10),
          static_cast<char>('0' + (n / 10) % 10),
          static_cast<char>('A' + n % 24),
          static_cast<char>('A' + (n / 3) % 24)};
}
// Every tenth QSO, QSO n / 2 gets a new locator.
bool CorrectsAfter(int n) { return n % 10 == 0; }
std::string CorrectedLocatorOf(int n) { return LocatorOf(n + 1000); }

// What a folder must hold after a cut: what had returned before it.
struct Expected {
  std::map<int, std::string> returned;       // serial -> callsign
  std::set<int> corrected;                   // serials whose correction returned
  std::map<std::string, std::size_t> saved;  // file -> index of its version last saved
};

// The recorded session: its calls, and what was expected after each note in them.
struct Session {
  std::vector<FsCall> log;
  std::vector<Expected> after_note;  // [k]: after the first k notes
  std::map<std::string, std::vector<std::optional<std::string>>> versions;  // [0]: before
};

class Recording {
 public:
  Recording(const fs::path& folder, Session& session) : folder_(folder), session_(session) {
    session_.after_note.push_back({});
    for (const char* name : {"config.txt", "iqrp.txt", "mqc.txt", kEdiName}) {
      session_.versions[name].push_back(Current(name));
      session_.after_note.back().saved[name] = 0;
    }
  }
  // The operator's action returned: note it, with what it saved.
  void Returned(const std::function<void(Expected&)>& change) {
    Expected next = session_.after_note.back();
    change(next);
    for (auto& [name, versions] : session_.versions) {
      if (versions.back() != Current(name)) {
        versions.push_back(Current(name));
      }
      next.saved[name] = versions.size() - 1;
    }
    session_.after_note.push_back(std::move(next));
    MarkRecording("returned");
  }

 private:
  std::optional<std::string> Current(const std::string& name) const {
    if (!fs::exists(folder_ / name)) {
      return std::nullopt;
    }
    return ReadBytes(folder_ / name);
  }
  fs::path folder_;
  Session& session_;
};

Session RecordSession(const fs::path& folder, int qsos) {
  Session session;
  Recording recording(folder, session);
  StartRecording(folder);
  RecordingMessageBox messages;
  FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  Program program(messages, clock, folder);
  program.Start();
  MainWindow& main = program.Get<MainWindow>();

  StationWindow& station = program.Get<StationWindow>();
  station.Show();
  station.call.SetText("QX0ABC");
  station.locator.SetText("JN81GD");
  station.iqrp_number.SetText("001");
  station.mqc_number.SetText("002");
  station.save_button.Press();
  recording.Returned([](Expected&) {});

  for (int n = 1; n <= qsos; ++n) {
    main.call.SetText(CallOf(n));
    main.serial_received.SetText("001");
    main.locator.SetText(LocatorOf(n));
    main.ok_button.Press();
    recording.Returned([&](Expected& e) { e.returned[n] = CallOf(n); });
    if (CorrectsAfter(n)) {
      main.edit_qso_button.Press();
      QsoEditWindow& edit = program.Get<QsoEditWindow>();
      edit.search_call.SetText(CallOf(n / 2));
      edit.search_button.Press();
      edit.locator.SetText(CorrectedLocatorOf(n / 2));
      edit.modify_button.Press();
      recording.Returned([&](Expected& e) { e.corrected.insert(n / 2); });
      edit.close_button.Press();
    }
    if (n % 12 == 0) {
      ClubManagementWindow& clubs = program.Get<ClubManagementWindow>();
      clubs.Show();
      clubs.club_choice.SetListIndex(n % 24 == 0 ? 1 : 0);  // the MQC list, then the I-QRP one
      clubs.new_member.SetText(CallOf(n));
      clubs.add_button.Press();
      recording.Returned([](Expected&) {});
      clubs.exit_button.Press();
    }
    if (n % 15 == 0) {
      EdiSaveWindow& save = program.Get<EdiSaveWindow>();
      save.file_name.SetText(kEdiName);
      save.log_text.SetText(program.Contest().EdiRecordsText());
      save.save_button.Press();
      recording.Returned([](Expected&) {});
      save.exit_button.Press();
    }
  }
  session.log = StopRecording();
  // Only saves that worked: none of them told the operator of a failure.
  for (const auto& m : messages.shown) {
    EXPECT_NE(m.icon, MessageIcon::kCritical) << m.text;
  }
  return session;
}

FolderFiles FilesIn(const fs::path& folder) {
  FolderFiles files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = ReadBytes(entry.path());
  }
  return files;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

// A contest file is whole when it holds every key and writing what was read gives its bytes
// back: a file cut short, or spliced from two versions, does not.
bool WholeStateFile(const std::string& bytes) {
  const StateFileValues v = ReadStateFile(bytes);
  if (!v.serial || !v.qsos || !v.km || !v.multipliers || !v.points || !v.average_km ||
      !v.odx_call || !v.odx_locator || !v.odx_km || !v.iqrp_qsos || !v.mqc_qsos) {
    return false;
  }
  ContestState state;
  static_cast<ContestTotals&>(state) = TotalsRead(v, {});
  state.serial = *v.serial;
  state.qso_list = Joined(v.qso_list_lines);
  state.edi_records = Joined(v.edi_record_lines);
  return StateFileText(state) == bytes;
}

// The operator after the power comes back: "Continua Contest"; with a broken contest file, the
// emergency restore first, then "Continua Contest".
MainWindow& Continue(std::unique_ptr<Program>& program, RecordingMessageBox& messages,
                     FixedClock& clock, const fs::path& folder, bool restore) {
  if (restore) {
    Program first(messages, clock, folder);
    first.Start();
    if (StartWindow* start = first.Find<StartWindow>(); start != nullptr && start->Visible()) {
      start->emergency_restore.Toggle();
      first.Get<RestoreWindow>().yes_button.Press();
    }
  }
  program = std::make_unique<Program>(messages, clock, folder);
  program->Start();
  if (StartWindow* start = program->Find<StartWindow>(); start != nullptr && start->Visible()) {
    start->continue_button.Press();
  }
  return program->Get<MainWindow>();
}

struct Figures {
  std::size_t states = 0;
  std::size_t folders = 0;
  long long qsos_checked = 0;
  long long qsos_lost = 0;
  long long files_checked = 0;
  long long files_wrong = 0;
};

// Checks one folder a cut left; every fault found is a test failure, counted in the figures.
void CheckFolder(const FolderFiles& files, const Expected& expected, const Session& session,
                 const fs::path& folder, Figures& figures) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    fs::remove_all(entry.path());
  }
  for (const auto& [name, bytes] : files) {
    WriteBytes(folder / name, bytes);
  }

  for (const auto& [name, versions] : session.versions) {
    ++figures.files_checked;
    const auto it = files.find(name);
    const std::optional<std::string> found =
        it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
    const auto first = versions.begin() + static_cast<long>(expected.saved.at(name));
    if (std::find(first, versions.end(), found) == versions.end()) {
      ++figures.files_wrong;
      ADD_FAILURE() << name << " is neither its last saved version nor a later one:\n"
                    << found.value_or("(missing)");
    }
  }
  bool broken = false;
  for (const char* name : {kStateFileName, kStateBackupFileName}) {
    if (auto it = files.find(name); it != files.end() && !WholeStateFile(it->second)) {
      ++figures.files_wrong;
      broken = true;
      ADD_FAILURE() << name << " is not a whole contest file:\n" << it->second;
    }
  }

  RecordingMessageBox messages;
  FixedClock clock({2023, 7, 16, 9, 30, 0}, 120);
  std::unique_ptr<Program> program;
  MainWindow& main = Continue(program, messages, clock, folder, broken);
  const std::vector<std::string> list = SplitLines(main.qso_list.Text());
  const std::vector<std::string> records = SplitLines(main.Log().EdiRecordsText());
  for (const auto& [serial, call] : expected.returned) {
    ++figures.qsos_checked;
    const auto at = static_cast<std::size_t>(serial - 1);
    const bool listed = at < list.size() && at < records.size() &&
                        list[at].starts_with(ZeroFill(std::to_string(serial), 3) + "   ") &&
                        records[at].find(";" + call + ";") != std::string::npos;
    std::set<std::string> locators{CorrectedLocatorOf(serial)};
    if (expected.corrected.count(serial) == 0) {
      locators.insert(LocatorOf(serial));
    }
    const bool located =
        listed && std::any_of(locators.begin(), locators.end(), [&](const std::string& l) {
          return records[at].find(";" + l + ";") != std::string::npos;
        });
    if (!located) {
      ++figures.qsos_lost;
      ADD_FAILURE() << "QSO " << serial << " " << call << " lost or without its correction:\n"
                    << (listed ? records[at] : "(not in the list)");
    }
  }
}

TEST(PowerCutTest, NoReturnedQsoOrSavedFileIsLostAtAnyCut) {
  const auto started = std::chrono::steady_clock::now();
  // Fewer than 30 QSOs would leave a file of the session unsaved.
  const int qsos = std::max(30, FromEnvironment("KELDRA_POWERCUT_QSOS", 30));
  const std::size_t budget =
      static_cast<std::size_t>(FromEnvironment("KELDRA_POWERCUT_STATES", 5000));
  TempFolder recorded;
  const FolderFiles initial{
      {"config.txt", "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = \r\nMQC = \r\n"},
      {"iqrp.txt", "QX1AA#1\r\nQX2BB#2\r\n"},
      {kEdiName, "[REG1TEST;1]\r\n"}};
  for (const auto& [name, bytes] : initial) {
    WriteBytes(recorded / name, bytes);
  }
  const Session session = RecordSession(recorded.path(), qsos);
  ASSERT_FALSE(HasFailure());
  ASSERT_EQ(session.after_note.back().returned.size(), static_cast<std::size_t>(qsos));
  for (const auto& [name, versions] : session.versions) {
    ASSERT_GE(versions.size(), 2U) << name << " was never saved";
  }
  // Every change of the folder went through the calls logged, or the states below miss some.
  ASSERT_EQ(AllWritten(initial, session.log), FilesIn(recorded.path()));

  // Folders that repeat are checked once, against the latest cut that left them: what must
  // survive only grows with time.
  Figures figures;
  std::vector<std::size_t> notes_before(session.log.size() + 1, 0);
  for (std::size_t i = 0; i < session.log.size(); ++i) {
    notes_before[i + 1] = notes_before[i] + (session.log[i].kind == FsCall::Kind::kMark);
  }
  std::map<FolderFiles, std::size_t> latest_cut;
  figures.states = ForEachCrashState(
      initial, session.log,
      [&](std::size_t cut, const FolderFiles& files) { latest_cut[files] = cut; });
  figures.folders = latest_cut.size();

  TempFolder replay;
  const std::size_t stride = (latest_cut.size() + budget - 1) / budget;
  std::size_t index = 0, checked = 0;
  for (const auto& [files, cut] : latest_cut) {
    if (index++ % stride != 0) {
      continue;
    }
    ++checked;
    CheckFolder(files, session.after_note[notes_before[cut]], session, replay.path(), figures);
    if (figures.qsos_lost + figures.files_wrong > 20) {
      break;  // enough to show what is wrong
    }
  }
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << "[ power    ] calls logged " << session.log.size() << ", crash states "
            << figures.states << ", distinct folders " << figures.folders << ", checked " << checked
            << ", QSOs checked " << figures.qsos_checked << ", QSOs lost " << figures.qsos_lost
            << ", files checked " << figures.files_checked << ", files not whole or lost "
            << figures.files_wrong << ", " << seconds << " s\n";
  EXPECT_EQ(figures.qsos_lost, 0);
  EXPECT_EQ(figures.files_wrong, 0);
  EXPECT_GT(checked, 0U);
}

}  // namespace
}  // namespace keldra::testing

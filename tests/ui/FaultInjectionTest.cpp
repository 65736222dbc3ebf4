// Every window that saves the operator's data, with the disk failing at each step of the durable
// write in turn (and as a read-only folder, and as a full disk): the operator gets a critical
// message naming the file, the window keeps what it shows, each file on disk is its old or its
// new version and nothing else is left behind, and pressing the same button again once the disk
// is back saves for good.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/StateFile.h"
#include "support/ShownState.h"
#include "support/TestDoubles.h"
#include "system/CodePage.h"
#include "ui/ClubManagementWindow.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"
#include "ui/MainWindow.h"
#include "ui/QsoEditWindow.h"
#include "ui/ReportWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"

namespace keldra::testing {
namespace {

// A disk that fails one step of every write with one error, until it is mended.
class FaultyDisk : public Files {
 public:
  std::optional<WriteStep> failing;
  std::errc error = std::errc::io_error;
  std::string unreadable;  // a file name whose reads fail
  int fired = 0;

 protected:
  std::error_code Inject(WriteStep step) override {
    if (failing != step) {
      return {};
    }
    ++fired;
    return std::make_error_code(error);
  }
  std::error_code InjectRead(const fs::path& path) const override {
    return path.filename() == unreadable ? std::make_error_code(std::errc::io_error)
                                         : std::error_code();
  }
};

struct Fault {
  const char* name;
  WriteStep step;
  std::errc error;
};

// Each step of a durable write, then the two failures an operator meets in practice.
const Fault kFaults[] = {
    {"create temporary", WriteStep::kCreateTemp, std::errc::io_error},
    {"write", WriteStep::kWrite, std::errc::io_error},
    {"flush", WriteStep::kFlush, std::errc::io_error},
    {"fsync", WriteStep::kFsync, std::errc::io_error},
    {"close", WriteStep::kClose, std::errc::io_error},
    {"keep previous", WriteStep::kKeepPrevious, std::errc::io_error},
    {"rename", WriteStep::kRename, std::errc::io_error},
    {"sync folder", WriteStep::kSyncFolder, std::errc::io_error},
    {"read-only folder", WriteStep::kCreateTemp, std::errc::read_only_file_system},
    {"full disk", WriteStep::kWrite, std::errc::no_space_on_device},
};

// One program on a fresh folder over a faulty disk.
class Bench {
 public:
  Bench() : clock_({2023, 7, 16, 9, 30, 0}, 120) {}
  ~Bench() { program_.reset(); }

  Program& Start() {
    program_ = std::make_unique<Program>(messages_, clock_, folder_.path(), &disk_);
    program_->Start();
    return *program_;
  }
  Program& program() { return *program_; }
  FaultyDisk& disk() { return disk_; }
  std::filesystem::path File(const std::string& name) const { return folder_ / name; }
  // A file's bytes, or nullopt when it does not exist.
  std::optional<std::string> Bytes(const std::string& name) const {
    if (!std::filesystem::exists(File(name))) {
      return std::nullopt;
    }
    return ReadBytes(File(name));
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }
  std::vector<RecordingMessageBox::Message>& Shown() { return messages_.shown; }

  void Fail(const Fault& fault) {
    disk_.failing = fault.step;
    disk_.error = fault.error;
    disk_.fired = 0;
    messages_.shown.clear();
  }
  void Mend() {
    disk_.failing.reset();
    messages_.shown.clear();
  }

  // The one critical message of a failed save, naming the file (the contest's own, or its
  // backup when keeping the previous version failed).
  void ExpectFailureReported(const std::string& file_name) {
    ASSERT_EQ(disk_.fired, 1) << "the fault was never reached";
    std::vector<std::string> critical;
    for (const auto& m : messages_.shown) {
      if (m.icon == MessageIcon::kCritical) {
        critical.push_back(Cp1252ToUtf8(m.text));
      }
    }
    ASSERT_EQ(critical.size(), 1u);
    const bool named = critical[0].find(File(file_name).string()) != std::string::npos ||
                       (file_name == kStateFileName &&
                        critical[0].find(File(kStateBackupFileName).string()) != std::string::npos);
    EXPECT_TRUE(named) << critical[0];
  }

 private:
  TempFolder folder_;
  RecordingMessageBox messages_;
  FixedClock clock_;
  FaultyDisk disk_;
  std::unique_ptr<Program> program_;
};

void ExpectOneOf(const std::optional<std::string>& actual,
                 const std::vector<std::optional<std::string>>& versions, const char* file) {
  bool found = false;
  for (const auto& v : versions) {
    found = found || v == actual;
  }
  EXPECT_TRUE(found) << file << " is neither its old nor its new version";
}

// The main window with the station file and `qsos` QSOs logged through "OK".
MainWindow& MainWithQsos(Bench& bench, int qsos) {
  WriteBytes(bench.File("config.txt"), kLoggingStationFile);
  MainWindow& main = bench.Start().Get<MainWindow>();
  for (int i = 0; i < qsos; ++i) {
    main.call.SetText("QX1A" + std::string(1, static_cast<char>('A' + i)));
    main.serial_received.SetText("01" + std::to_string(i));
    main.locator.SetText(i % 2 == 0 ? "JN71QH" : "JM89AU");
    main.ok_button.Press();
  }
  return main;
}

TEST(FaultInjectionTest, OkKeepsTheQsoOnScreenAndTheNextOkSavesIt) {
  for (const Fault& fault : kFaults) {
    SCOPED_TRACE(fault.name);
    Bench bench;
    MainWindow& main = MainWithQsos(bench, 2);
    const std::set<std::string> names = bench.Names();
    const std::optional<std::string> old_state = bench.Bytes("parziale.db");
    const std::optional<std::string> old_backup = bench.Bytes("backup.db");
    ASSERT_TRUE(old_state && old_backup);

    bench.Fail(fault);
    main.call.SetText("QX2XYZ");
    main.serial_received.SetText("033");
    main.locator.SetText("JM79JW");
    main.ok_button.Press();
    bench.ExpectFailureReported("parziale.db");
    // The QSO is logged on screen as any other: nothing the operator typed is lost.
    EXPECT_EQ(main.total_qsos.Caption(), "3");
    EXPECT_EQ(main.qso_number.Text(), "004");
    EXPECT_NE(main.qso_list.Text().find("QX2XYZ"), std::string::npos);
    EXPECT_EQ(bench.program().Get<EdiHeaderWindow>().edi_records.Text(),
              main.Log().EdiRecordsText());
    EXPECT_EQ(main.call.Text(), "");
    EXPECT_EQ(bench.program().Desktop().ActiveControl(), &main.call);
    const std::string new_state = StateFileText(ContestStateOf(main));
    ExpectOneOf(bench.Bytes("parziale.db"), {old_state, new_state}, "parziale.db");
    ExpectOneOf(bench.Bytes("backup.db"), {old_backup, old_state}, "backup.db");
    EXPECT_EQ(bench.Names(), names) << "a temporary file was left behind";

    // The disk is back: the next "OK", even one that logs nothing, saves the contest.
    bench.Mend();
    main.ok_button.Press();
    ASSERT_EQ(bench.Shown().size(), 1u);
    EXPECT_EQ(bench.Shown()[0].text, "Inserire CallSign...");
    EXPECT_EQ(bench.Bytes("parziale.db"), new_state);
    ExpectOneOf(bench.Bytes("backup.db"), {old_state, new_state}, "backup.db");
    EXPECT_FALSE(main.save_pending);

    // And the press after that, refused again, writes nothing: the backup stays.
    const std::optional<std::string> backup = bench.Bytes("backup.db");
    main.ok_button.Press();
    EXPECT_EQ(bench.Bytes("backup.db"), backup);
  }
}

TEST(FaultInjectionTest, ModificationKeepsTheCorrectionOnScreenAndTheNextOkSavesIt) {
  for (const Fault& fault : kFaults) {
    SCOPED_TRACE(fault.name);
    Bench bench;
    MainWindow& main = MainWithQsos(bench, 2);
    const std::optional<std::string> old_state = bench.Bytes("parziale.db");
    const std::optional<std::string> old_backup = bench.Bytes("backup.db");
    const std::set<std::string> names = bench.Names();

    main.edit_qso_button.Press();
    QsoEditWindow& edit = bench.program().Get<QsoEditWindow>();
    edit.search_call.SetText("QX1AB");
    edit.search_button.Press();
    edit.locator.SetText("JM79JW");
    bench.Fail(fault);
    edit.modify_button.Press();
    bench.ExpectFailureReported("parziale.db");
    EXPECT_NE(main.qso_list.Text().find("JM79JW"), std::string::npos);
    EXPECT_EQ(bench.program().Get<EdiHeaderWindow>().edi_records.Text(),
              main.Log().EdiRecordsText());
    EXPECT_NE(main.Log().EdiRecordsText().find(";JM79JW;"), std::string::npos);
    const std::string new_state = StateFileText(ContestStateOf(main));
    ExpectOneOf(bench.Bytes("parziale.db"), {old_state, new_state}, "parziale.db");
    ExpectOneOf(bench.Bytes("backup.db"), {old_backup, old_state}, "backup.db");
    EXPECT_EQ(bench.Names(), names) << "a temporary file was left behind";

    bench.Mend();
    main.ok_button.Press();
    EXPECT_EQ(bench.Bytes("parziale.db"), new_state);
  }
}

TEST(FaultInjectionTest, EsciSavesAnUnsavedContestOrStaysOpenOnce) {
  struct Case {
    const char* name;
    bool disk_back;
  };
  for (const Case c : {Case{"disk back: saved, then the end", true},
                       Case{"disk still failing: warned, the second Esci ends", false}}) {
    SCOPED_TRACE(c.name);
    Bench bench;
    MainWindow& main = MainWithQsos(bench, 1);
    bench.Fail(kFaults[1]);
    main.call.SetText("QX2XYZ");
    main.serial_received.SetText("033");
    main.locator.SetText("JM79JW");
    main.ok_button.Press();
    ASSERT_TRUE(main.save_pending);
    const std::string unsaved = StateFileText(ContestStateOf(main));
    if (c.disk_back) {
      bench.Mend();
    }
    bench.Shown().clear();

    main.exit_button.Press();
    if (c.disk_back) {
      EXPECT_TRUE(bench.Shown().empty());
      EXPECT_TRUE(bench.program().Ended());
      EXPECT_EQ(bench.Bytes("parziale.db"), unsaved);
      continue;
    }
    ASSERT_EQ(bench.Shown().size(), 2u);
    EXPECT_EQ(bench.Shown()[1].icon, MessageIcon::kCritical);
    EXPECT_NE(Cp1252ToUtf8(bench.Shown()[1].text).find("Esci"), std::string::npos);
    EXPECT_FALSE(bench.program().Ended());
    EXPECT_NE(bench.Bytes("parziale.db"), unsaved);
    main.exit_button.Press();
    EXPECT_TRUE(bench.program().Ended());
  }
}

// A window whose button writes one file: what the window shows before the press, the file's
// versions, and the check that the window still shows it after a failure.
struct OneFileSave {
  const char* window;
  const char* file;
  // Prepares the window (the file may already hold an old version) and returns its button.
  std::function<CommandButton&(Bench&)> open;
  std::function<std::string(Bench&)> screen;  // what the window shows
  std::string new_bytes;
};

std::vector<OneFileSave> OneFileSaves() {
  return {
      {"club addition", "iqrp.txt",
       [](Bench& b) -> CommandButton& {
         WriteBytes(b.File("config.txt"), kLoggingStationFile);
         WriteBytes(b.File("iqrp.txt"), "QX1AB#1\r\n");
         ClubManagementWindow& clubs = b.Start().Get<ClubManagementWindow>();
         clubs.new_member.SetText("QX2CD");
         return clubs.add_button;
       },
       [](Bench& b) {
         ClubManagementWindow& f = b.program().Get<ClubManagementWindow>();
         return f.iqrp_list.Text() + "|" + f.iqrp_count.Text() + "|" + f.next_number.Caption() +
                "|" + f.new_member.Text();
       },
       "QX1AB#1\r\nQX2CD#2\r\n"},
      {"EDI save", "QX0ABC.edi",
       [](Bench& b) -> CommandButton& {
         WriteBytes(b.File("config.txt"), kLoggingStationFile);
         WriteBytes(b.File("QX0ABC.edi"), "an older log");
         EdiSaveWindow& save = b.Start().Get<EdiSaveWindow>();
         save.log_text.SetText("[REG1TEST;1]\r\nPCall=QX0ABC\r\n");
         save.file_name.SetText("QX0ABC.edi");
         return save.save_button;
       },
       [](Bench& b) {
         EdiSaveWindow& f = b.program().Get<EdiSaveWindow>();
         return f.log_text.Text() + "|" + f.file_name.Text();
       },
       "[REG1TEST;1]\r\nPCall=QX0ABC\r\n"},
      {"statistics save", "keldra_qrp_statistiche.txt",
       [](Bench& b) -> CommandButton& {
         WriteBytes(b.File("config.txt"), kLoggingStationFile);
         ReportWindow& report = b.Start().Get<ReportWindow>();
         report.report.SetText("Statistiche\r\nQSO: 3\r\n");
         return report.save_button;
       },
       [](Bench& b) { return b.program().Get<ReportWindow>().report.Text(); },
       "Statistiche\r\nQSO: 3\r\n"},
      {"station save", "config.txt",
       [](Bench& b) -> CommandButton& {
         StationWindow& station =
             *b.Start().Find<StationWindow>();  // no station file: it stands in
         station.call.SetText("QX0NEW");
         station.locator.SetText("JN71AB");
         station.iqrp_number.SetText("004");
         station.mqc_number.SetText("");
         return station.save_button;
       },
       [](Bench& b) {
         StationWindow* f = b.program().Find<StationWindow>();
         if (f == nullptr) {
           return std::string("(closed)");
         }
         return f->call.Text() + "|" + f->locator.Text() + "|" + f->iqrp_number.Text() + "|" +
                (f->Visible() ? "shown" : "hidden");
       },
       "Call = QX0NEW\r\nLocator = JN71AB\r\nIQRP = 004\r\nMQC = \r\n"},
  };
}

TEST(FaultInjectionTest, EveryOtherSaveReportsKeepsTheWindowAndSavesOnTheNextPress) {
  for (const OneFileSave& save : OneFileSaves()) {
    for (const Fault& fault : kFaults) {
      // Only the contest file keeps a previous version.
      if (fault.step == WriteStep::kKeepPrevious) {
        continue;
      }
      SCOPED_TRACE(std::string(save.window) + ", " + fault.name);
      Bench bench;
      CommandButton& button = save.open(bench);
      const std::optional<std::string> old_bytes = bench.Bytes(save.file);
      const std::string screen = save.screen(bench);
      const std::set<std::string> names = bench.Names();

      bench.Fail(fault);
      button.Press();
      bench.ExpectFailureReported(save.file);
      EXPECT_EQ(save.screen(bench), screen);
      ExpectOneOf(bench.Bytes(save.file), {old_bytes, save.new_bytes}, save.file);
      std::set<std::string> after = bench.Names();
      after.erase(save.file);  // a new file renamed into place before the folder's sync failed
      std::set<std::string> before = names;
      before.erase(save.file);
      EXPECT_EQ(after, before) << "a temporary file was left behind";

      bench.Mend();
      button.Press();
      EXPECT_EQ(bench.Bytes(save.file), save.new_bytes);
      for (const auto& m : bench.Shown()) {
        EXPECT_NE(m.icon, MessageIcon::kCritical);
      }
    }
  }
}

// Reads that fail: the operator is told, and no later save can overwrite what was not read.
TEST(FaultInjectionTest, UnreadableContestIsNotContinuedAsAnEmptyOne) {
  Bench bench;
  MainWindow& first = MainWithQsos(bench, 2);
  const std::string saved = StateFileText(ContestStateOf(first));
  const std::optional<std::string> backup = bench.Bytes("backup.db");

  bench.disk().unreadable = "parziale.db";
  bench.Start();
  StartWindow& start = bench.program().Get<StartWindow>();
  ASSERT_TRUE(start.Visible());
  start.continue_button.Press();
  ASSERT_EQ(bench.Shown().size(), 1u);
  EXPECT_EQ(bench.Shown()[0].icon, MessageIcon::kCritical);
  EXPECT_NE(Cp1252ToUtf8(bench.Shown()[0].text).find("parziale.db"), std::string::npos);
  // The start window stays up: nothing can be logged over the contest that was not read.
  EXPECT_TRUE(start.Visible());
  EXPECT_FALSE(bench.program().Get<MainWindow>().Visible());

  // Once the file reads again, the same button continues the contest.
  bench.disk().unreadable.clear();
  bench.Shown().clear();
  start.continue_button.Press();
  MainWindow& main = bench.program().Get<MainWindow>();
  EXPECT_TRUE(bench.Shown().empty());
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.total_qsos.Caption(), "2");
  EXPECT_EQ(StateFileText(ContestStateOf(main)), saved);
  EXPECT_EQ(bench.Bytes("backup.db"), backup);
}

TEST(FaultInjectionTest, RestoreFromAnUnreadableOrUnwritableBackupChangesNothing) {
  struct Case {
    const char* name;
    std::string unreadable;
    std::optional<WriteStep> failing;
  };
  const Case cases[] = {{"backup unreadable", "backup.db", std::nullopt},
                        {"contest file not replaced", "", WriteStep::kRename}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bench bench;
    MainWithQsos(bench, 2);
    const std::optional<std::string> state = bench.Bytes("parziale.db");
    const std::optional<std::string> backup = bench.Bytes("backup.db");
    const std::set<std::string> names = bench.Names();
    bench.Start();
    bench.disk().unreadable = c.unreadable;
    bench.disk().failing = c.failing;
    bench.Shown().clear();
    bench.program().Get<StartWindow>().emergency_restore.SetValue(1);
    bench.program().Get<RestoreWindow>().yes_button.Press();
    ASSERT_EQ(bench.Shown().size(), 1u);
    EXPECT_EQ(bench.Shown()[0].icon, MessageIcon::kCritical);
    EXPECT_FALSE(bench.program().Ended());
    EXPECT_EQ(bench.Bytes("parziale.db"), state);
    EXPECT_EQ(bench.Bytes("backup.db"), backup);
    EXPECT_EQ(bench.Names(), names);
  }
}

}  // namespace
}  // namespace keldra::testing

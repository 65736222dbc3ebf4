// What only Windows does to the file service: another program holding the contest file open, a
// read-only file, folder names outside the 8-bit code page, and the lock of a second copy.
#include <gtest/gtest.h>
#include <windows.h>

#include "FilesFixture.h"
#include "TestSupport.h"
#include "system/ContestFolder.h"
#include "system/InstanceLock.h"

namespace keldra {
namespace {

// The file held open as a spreadsheet or an editor holds it: readable by others, but not to be
// replaced or deleted while open.
class HeldOpen {
 public:
  HeldOpen(const fs::path& path, DWORD share)
      : h_(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldOpen() { Release(); }
  bool Held() const { return h_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) {
      CloseHandle(h_);
      h_ = INVALID_HANDLE_VALUE;
    }
  }

 private:
  HANDLE h_;
};

struct HeldCase {
  const char* name;
  DWORD share;
};

class HeldOpenTest : public FilesTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldOpenTest, TheSaveSaysSoKeepsTheOldFilesAndTheNextOneSavesEverything) {
  const fs::path target = File("parziale.db");
  const fs::path backup = File("backup.db");
  Put(target, "two QSOs");
  Put(backup, "one QSO");
  HeldOpen other(target, GetParam().share);
  ASSERT_TRUE(other.Held());

  const IoStatus status = files_.Replace(target, "three QSOs", &backup);

  ASSERT_FALSE(status);
  EXPECT_NE(status.Describe().find("parziale.db"), std::string::npos) << status.Describe();
  EXPECT_NE(status.Describe().find("altro programma"), std::string::npos) << status.Describe();
  // Nothing is lost: the old file and its backup as they were, and no temporary file left.
  other.Release();
  EXPECT_EQ(Slurp(target), "two QSOs");
  EXPECT_EQ(Names(), (std::set<std::string>{"backup.db", "parziale.db"}));

  ASSERT_TRUE(files_.Replace(target, "four QSOs", &backup)) << status.Describe();
  EXPECT_EQ(Slurp(target), "four QSOs");
  EXPECT_EQ(Slurp(backup), "two QSOs");
  EXPECT_EQ(Names(), (std::set<std::string>{"backup.db", "parziale.db"}));
}

INSTANTIATE_TEST_SUITE_P(Sharing, HeldOpenTest,
                         ::testing::Values(HeldCase{"NoSharingAtAll", 0},
                                           HeldCase{"ReadSharedOnly", FILE_SHARE_READ}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FilesTest, AFileHeldOpenForReadingOnlyIsStillRead) {
  const fs::path target = File("iqrp.txt");
  Put(target, "I001 QX1AA\r\n");
  HeldOpen other(target, FILE_SHARE_READ);
  const ReadResult read = files_.Read(target);
  ASSERT_TRUE(read.status) << read.status.Describe();
  EXPECT_EQ(read.bytes, "I001 QX1AA\r\n");
}

TEST_F(FilesTest, AReadOnlyFileIsNotReplacedAndTheReasonSaysWhy) {
  const fs::path target = File("parziale.db");
  Put(target, "old state");
  ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));

  const IoStatus status = files_.Replace(target, "new state");

  EXPECT_FALSE(status);
  EXPECT_EQ(status.step(), "sostituzione");
  EXPECT_NE(status.Describe().find("sola lettura"), std::string::npos) << status.Describe();
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Slurp(target), "old state");
  EXPECT_EQ(Names(), std::set<std::string>{"parziale.db"});
}

TEST_F(FilesTest, AFolderWithLettersOutsideTheCodePageWorksThroughout) {
  // "Niccolò" and a Polish and a Greek name: a path through the 8-bit code page loses them.
  const fs::path folder =
      folder_ / L"Niccol\u00f2 \u0141\u00f3d\u017a \u0391\u03b8\u03ae\u03bd\u03b1";
  ASSERT_TRUE(PrepareContestFolder(folder));
  const fs::path target = folder / "parziale.db";
  const fs::path backup = folder / "backup.db";
  ASSERT_TRUE(files_.Replace(target, "one", &backup));
  ASSERT_TRUE(files_.Replace(target, "two", &backup));
  EXPECT_EQ(files_.Read(target).bytes, "two");
  EXPECT_EQ(files_.Read(backup).bytes, "one");
  InstanceLock lock;
  EXPECT_EQ(lock.Acquire(folder), InstanceLock::Outcome::kAcquired);
  Put(folder / ".parziale.db.tmp123", "half");
  RemoveLeftoverTemporaries(folder);
  EXPECT_FALSE(fs::exists(folder / ".parziale.db.tmp123"));
  EXPECT_TRUE(fs::exists(folder / "parziale.db"));
  // A message names the folder as the operator wrote it (UTF-8).
  const IoStatus failed = IoStatus::Failed("scrittura", target, {});
  const std::u8string name = folder.u8string();
  EXPECT_NE(failed.Describe().find(std::string(name.begin(), name.end())), std::string::npos);
}

TEST(WindowsReasonTest, TheCommonWindowsErrorsAreToldInItalian) {
  const std::pair<DWORD, const char*> kReasons[] = {
      {ERROR_ACCESS_DENIED, "accesso negato"},
      {ERROR_SHARING_VIOLATION, "aperto in un altro programma"},
      {ERROR_LOCK_VIOLATION, "aperto in un altro programma"},
      {ERROR_DISK_FULL, "spazio su disco esaurito"},
      {ERROR_HANDLE_DISK_FULL, "spazio su disco esaurito"},
      {ERROR_PATH_NOT_FOUND, "file o cartella inesistente"},
      {ERROR_FILE_NOT_FOUND, "file o cartella inesistente"},
      {ERROR_WRITE_PROTECT, "protetto da scrittura"},
      {ERROR_NOT_READY, "unità non pronta"},
  };
  for (const auto& [code, words] : kReasons) {
    const std::string reason =
        Reason(std::error_code(static_cast<int>(code), std::system_category()));
    EXPECT_NE(reason.find(words), std::string::npos) << code << ": " << reason;
  }
}

}  // namespace
}  // namespace keldra

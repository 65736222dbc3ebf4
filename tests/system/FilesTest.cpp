// Files of the operator's data: exact bytes, the previous version kept, and a failure at any
// step of a write leaving the old file whole with nothing else behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "FilesFixture.h"
#include "system/Files.h"

namespace keldra {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    bytes.push_back(static_cast<char>(b));
  }
  return bytes;
}

TEST_F(FilesTest, ReplaceWritesExactBytes) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"crlf lines", "TEXT1=1\r\nTEXT12=\r\n"},
      {"every byte", AllBytes()},
      {"nul and cr without lf", std::string("a\0b\rc", 5)},
      {"large", std::string(3 * 1024 * 1024 + 7, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path target = File("parziale.db");
    ASSERT_TRUE(files_.Replace(target, c.bytes).ok());
    EXPECT_EQ(Slurp(target), c.bytes);
    const ReadResult read = files_.Read(target);
    EXPECT_TRUE(read.status.ok());
    EXPECT_EQ(read.bytes, c.bytes);
    EXPECT_EQ(Names(), std::set<std::string>{"parziale.db"});
  }
}

TEST_F(FilesTest, ReplaceOverALongerFileLeavesNoTail) {
  const fs::path target = File("config.txt");
  Put(target, "IW3ABC\r\nJN55AB\r\n123\r\n456\r\n");
  ASSERT_TRUE(files_.Replace(target, "I1X\r\n").ok());
  EXPECT_EQ(Slurp(target), "I1X\r\n");
}

TEST_F(FilesTest, ReplaceKeepsThePreviousVersion) {
  const fs::path target = File("parziale.db");
  const fs::path previous = File("backup.db");
  Put(target, "first");
  Put(previous, "stale backup");

  ASSERT_TRUE(files_.Replace(target, "second", &previous).ok());
  EXPECT_EQ(Slurp(target), "second");
  EXPECT_EQ(Slurp(previous), "first");
  // Two files, not two names of one: writing one in place must not change the other.
  EXPECT_FALSE(fs::equivalent(target, previous));

  ASSERT_TRUE(files_.Replace(target, "third", &previous).ok());
  EXPECT_EQ(Slurp(target), "third");
  EXPECT_EQ(Slurp(previous), "second");
  EXPECT_EQ(Names(), (std::set<std::string>{"backup.db", "parziale.db"}));

  Put(target, "written in place");
  EXPECT_EQ(Slurp(previous), "second");
}

TEST_F(FilesTest, NoPreviousVersionOfAFileThatDidNotExist) {
  const fs::path target = File("parziale.db");
  const fs::path previous = File("backup.db");
  Put(previous, "backup of the last contest");
  ASSERT_TRUE(files_.Replace(target, "new contest", &previous).ok());
  EXPECT_EQ(Slurp(target), "new contest");
  EXPECT_EQ(Slurp(previous), "backup of the last contest");
}

// Fails one chosen step of every write.
class FailingFiles : public Files {
 public:
  explicit FailingFiles(WriteStep step) : step_(step) {}

 protected:
  std::error_code Inject(WriteStep step) override {
    return step == step_ ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
  }

 private:
  WriteStep step_;
};

TEST_F(FilesTest, AFailedStepLeavesTheOldFileWholeAndNothingBehind) {
  const WriteStep steps[] = {WriteStep::kCreateTemp, WriteStep::kWrite, WriteStep::kFlush,
                             WriteStep::kFsync,      WriteStep::kClose, WriteStep::kKeepPrevious,
                             WriteStep::kRename};
  const fs::path target = File("parziale.db");
  const fs::path previous = File("backup.db");
  std::set<std::string> step_names;
  for (WriteStep step : steps) {
    SCOPED_TRACE(static_cast<int>(step));
    Put(target, "old state\r\n");
    Put(previous, "old backup\r\n");
    FailingFiles files(step);

    const IoStatus status = files.Replace(target, "new state\r\n", &previous);

    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.code(), std::errc::no_space_on_device);
    EXPECT_FALSE(status.step().empty());
    step_names.insert(status.step());
    EXPECT_EQ(status.path(), step == WriteStep::kKeepPrevious ? previous : target);
    EXPECT_EQ(Slurp(target), "old state\r\n");
    // The backup is the old backup or the old state, never anything else.
    const std::string backup = Slurp(previous);
    EXPECT_TRUE(backup == "old backup\r\n" || backup == "old state\r\n") << backup;
    EXPECT_EQ(Names(), (std::set<std::string>{"backup.db", "parziale.db"}));
  }
  // Each step is told apart in the message.
  EXPECT_EQ(step_names.size(), std::size(steps));
}

TEST_F(FilesTest, AFailedFolderSyncIsReportedWithTheNewFileWhole) {
  // The rename has happened by then: the file is the new one, but its durability is not sure.
  const fs::path target = File("parziale.db");
  Put(target, "old state\r\n");
  FailingFiles files(WriteStep::kSyncFolder);
  const IoStatus status = files.Replace(target, "new state\r\n");
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.path(), target);
  EXPECT_EQ(Slurp(target), "new state\r\n");
  EXPECT_EQ(Names(), std::set<std::string>{"parziale.db"});
}

TEST_F(FilesTest, ReadingAMissingFileSaysWhichFile) {
  const ReadResult read = files_.Read(File("iqrp.txt"));
  EXPECT_FALSE(read.status.ok());
  EXPECT_EQ(read.status.path(), File("iqrp.txt"));
  EXPECT_EQ(read.status.code(), std::errc::no_such_file_or_directory);
  EXPECT_TRUE(read.bytes.empty());
}

TEST_F(FilesTest, ExistsIsTrueForFilesOnly) {
  Put(File("config.txt"), "");
  fs::create_directory(File("folder"));
  EXPECT_TRUE(files_.Exists(File("config.txt")));
  EXPECT_FALSE(files_.Exists(File("folder")));
  EXPECT_FALSE(files_.Exists(File("missing.txt")));
}

TEST_F(FilesTest, CopyAndRemove) {
  Put(File("backup.db"), AllBytes());
  Put(File("parziale.db"), "damaged");
  ASSERT_TRUE(files_.Copy(File("backup.db"), File("parziale.db")).ok());
  EXPECT_EQ(Slurp(File("parziale.db")), AllBytes());
  EXPECT_EQ(Slurp(File("backup.db")), AllBytes());

  // Copying a missing file fails and leaves the destination alone.
  EXPECT_FALSE(files_.Copy(File("missing.db"), File("parziale.db")).ok());
  EXPECT_EQ(Slurp(File("parziale.db")), AllBytes());

  EXPECT_TRUE(files_.Remove(File("parziale.db")).ok());
  EXPECT_FALSE(fs::exists(File("parziale.db")));
  EXPECT_TRUE(files_.Remove(File("parziale.db")).ok());  // already gone
}

TEST(SplitLinesTest, Lines) {
  using Lines = std::vector<std::string>;
  struct Case {
    const char* name;
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"lf", "a\nb\n", {"a", "b"}},
      {"mixed", "a\r\nb\nc\r\n", {"a", "b", "c"}},
      {"last line without end", "a\r\nb", {"a", "b"}},
      {"only a line without end", "I003", {"I003"}},
      {"empty lines kept", "a\r\n\r\n\nb\r\n", {"a", "", "", "b"}},
      {"one empty line", "\r\n", {""}},
      {"blanks kept", " a \r\n", {" a "}},
      {"cr inside a line stays", "a\rb\r\n", {"a\rb"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitLines(c.bytes), c.lines);
  }
}

TEST_F(FilesTest, OnlyTheTemporariesOfAnInterruptedWriteAreRemovedAsLeftovers) {
  const std::vector<std::string> leftovers = {".parziale.db.tmp123", ".backup.db.tmp9"};
  const std::vector<std::string> kept = {"parziale.db", ".keldra.lock", "log.tmp1", ".a.tmp",
                                         ".x.tmp12a"};
  for (const auto& name : leftovers) {
    Put(File(name), "half");
  }
  for (const auto& name : kept) {
    Put(File(name), "keep");
  }
  RemoveLeftoverTemporaries(folder_);
  EXPECT_EQ(Names(), std::set<std::string>(kept.begin(), kept.end()));
}

}  // namespace
}  // namespace keldra

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "data/Clubs.h"
#include "tests/TestSupport.h"

namespace keldra {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct LookupCase {
  const char* name;
  const char* callsign;
  const char* mqc;
  const char* iqrp;
  std::optional<std::string> code;
};

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, GivesTheClubCode) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(LookUpClubCode(c.callsign, c.mqc, c.iqrp), c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Clubs, LookupTest,
    ::testing::Values(
        LookupCase{"SuffixP_OneDigit", "QX1AB/P", "", "QX1AB#7\r\n", "I007"},
        LookupCase{"SuffixP_TwoDigits", "QX1AB/P", "", "QX1AB#42\r\n", "I042"},
        LookupCase{"SuffixP_ThreeDigits", "QX1AB/P", "", "QX1AB#123\r\n", "I123"},
        LookupCase{"KeyIsUpToFirstSlash", "QX/QX1AB/P", "", "QX#5\r\nQX1AB#6\r\n", "I005"},
        LookupCase{"BlanksAroundCallsignIgnored", " QX1AB/P ", "", "QX1AB#7\r\n", "I007"},
        LookupCase{"FourDigitsStay", "QX1AB", "", "QX1AB#1100\r\n", "I1100"},
        LookupCase{"OnlyMqc", "QX1AB", "QX1AB#5\r\n", "QX2CD#9\r\n", "M005"},
        LookupCase{"BothClubs_IqrpWins", "QX1AB", "QX1AB#5\r\n", "QX1AB#9\r\n", "I009"},
        LookupCase{"LastLineOfAFileWins", "QX1AB", "", "QX1AB#3\r\nQX2CD#4\r\nQX1AB#8\r\n", "I008"},
        LookupCase{"LeadingZeroKept", "QX1AB", "", "QX1AB#007\r\n", "I007"},
        LookupCase{"LeadingZeroPaddedAsHeld", "QX1AB", "", "QX1AB#07\r\n", "I007"},
        LookupCase{"LfOnlyLineEnds", "QX1AB", "QX9ZZ#1\nQX1AB#12\n", "", "M012"},
        LookupCase{"LastLineWithoutEnd", "QX1AB", "", "QX2CD#1\r\nQX1AB#2", "I002"},
        LookupCase{"BlanksAroundFieldsIgnored", "QX1AB", "", "QX1AB # 4 \r\n", "I004"},
        LookupCase{"LinesWithoutHashSkipped", "QX1AB", "", "\r\nQX1AB\r\n\r\nQX1AB#11\r\n\r\n",
                   "I011"},
        LookupCase{"NotListed", "QX1AB", "QX2CD#1\r\n", "QX3EF#2\r\n", std::nullopt},
        LookupCase{"EmptyFiles", "QX1AB", "", "", std::nullopt},
        LookupCase{"LongerCallsignIsNotAMatch", "QX1AB", "", "QX1ABC#4\r\n", std::nullopt},
        LookupCase{"ShorterCallsignIsNotAMatch", "QX1ABC", "", "QX1AB#4\r\n", std::nullopt},
        LookupCase{"CaseSensitive", "QX1AB", "", "qx1ab#4\r\n", std::nullopt},
        LookupCase{"EmptyNumberGivesNoCode", "QX1AB", "", "QX1AB#\r\n", std::nullopt},
        LookupCase{"NonDigitNumberGivesNoCode", "QX1AB", "QX1AB#x7\r\n", "", std::nullopt},
        LookupCase{"BrokenLaterLineKeepsEarlierCode", "QX1AB", "", "QX1AB#7\r\nQX1AB#?\r\n",
                   "I007"},
        LookupCase{"EmptyCallsignMatchesNothing", "", "", "#4\r\n", std::nullopt},
        LookupCase{"SlashOnlyMatchesNothing", "/P", "", "#4\r\n", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClubFilesLookup, ReadsBothFilesFromTheFolder) {
  TempFolder folder;
  Files files;
  EXPECT_EQ(LookUpClubCode(files, folder.path(), "QX1AB"), std::nullopt) << "no files at all";
  WriteBytes(folder / "mqc.txt", "QX1AB#5\r\nQX2CD#6\r\n");
  EXPECT_EQ(LookUpClubCode(files, folder.path(), "QX2CD/M"), "M006") << "iqrp.txt missing";
  WriteBytes(folder / "iqrp.txt", "QX1AB#9\r\n");
  EXPECT_EQ(LookUpClubCode(files, folder.path(), "QX1AB"), "I009");
  EXPECT_EQ(LookUpClubCode(files, folder.path(), "QX2CD"), "M006");
}

// Files whose reads of one file fail, as an unreadable file would.
class UnreadableFiles : public Files {
 public:
  explicit UnreadableFiles(std::string name) : name_(std::move(name)) {}

 protected:
  std::error_code InjectRead(const fs::path& path) const override {
    return path.filename() == name_ ? std::make_error_code(std::errc::permission_denied)
                                    : std::error_code();
  }

 private:
  std::string name_;
};

TEST(ClubFilesLookup, UnreadableFileListsNobody) {
  TempFolder folder;
  WriteBytes(folder / "mqc.txt", "QX1AB#5\r\n");
  WriteBytes(folder / "iqrp.txt", "QX1AB#9\r\n");
  UnreadableFiles files("iqrp.txt");
  EXPECT_EQ(LookUpClubCode(files, folder.path(), "QX1AB"), "M005");
}

TEST(MemberList, ParsesMembersAndDropsLinesWithoutHash) {
  const std::vector<Member> members =
      ParseMembers("QX1AB#7\r\n\r\nnot a member\r\n QX2CD #  042\nQX3EF#1#2\r\n#5\r\n");
  const std::vector<Member> expected = {
      {"QX1AB", "7"}, {"QX2CD", "042"}, {"QX3EF", "1#2"}, {"", "5"}};
  EXPECT_EQ(members, expected);
  EXPECT_TRUE(ParseMembers("").empty());
  EXPECT_TRUE(ParseMembers("\r\n\r\n").empty());
}

TEST(MemberList, FormatsEveryLineWithCrLfAndNothingAfter) {
  EXPECT_EQ(FormatMembers({{"QX1AB", "7"}, {"QX2CD", "42"}}), "QX1AB#7\r\nQX2CD#42\r\n");
  EXPECT_EQ(FormatMembers({}), "");
  // What was read from a file with stray empty lines comes back without them.
  EXPECT_EQ(FormatMembers(ParseMembers("QX1AB#7\n\nQX2CD#42\n\n")), "QX1AB#7\r\nQX2CD#42\r\n");
}

TEST(MemberList, FindsTheLastMemberWithExactlyThatName) {
  const std::vector<Member> members = {{"QX1ABC", "1"}, {"QX1AB", "2"}, {"QX1AB", "3"}};
  ASSERT_NE(FindMember(members, "QX1AB"), nullptr);
  EXPECT_EQ(FindMember(members, "QX1AB")->number, "3");
  EXPECT_EQ(FindMember(members, "QX1ABC")->number, "1");
  EXPECT_EQ(FindMember(members, "QX1A"), nullptr);
  EXPECT_EQ(FindMember(members, "qx1ab"), nullptr);
}

struct NextNumberCase {
  const char* name;
  std::vector<Member> members;
  long long next;
};

class NextNumberTest : public ::testing::TestWithParam<NextNumberCase> {};

TEST_P(NextNumberTest, IsOneMoreThanTheHighest) {
  EXPECT_EQ(NextMemberNumber(GetParam().members), GetParam().next);
}

std::vector<Member> Numbered(int count) {
  std::vector<Member> members;
  for (int i = 1; i <= count; ++i) {
    members.push_back({"QX" + std::to_string(i), std::to_string(i)});
  }
  return members;
}

INSTANTIATE_TEST_SUITE_P(
    Clubs, NextNumberTest,
    ::testing::Values(
        NextNumberCase{"EmptyList", {}, 1}, NextNumberCase{"FortyOneInOrder", Numbered(41), 42},
        NextNumberCase{"GapAfterDeletion", {{"A", "1"}, {"B", "2"}, {"C", "7"}}, 8},
        NextNumberCase{"OutOfOrder", {{"A", "30"}, {"B", "2"}}, 31},
        NextNumberCase{"LeadingZeros", {{"A", "007"}, {"B", "0012"}}, 13},
        NextNumberCase{"BrokenNumbersIgnored", {{"A", "x9"}, {"B", ""}, {"C", "3"}}, 4},
        NextNumberCase{
            "AbsurdlyLongNumberIgnored", {{"A", "12345678901234567890"}, {"B", "5"}}, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemberFile, MissingFileIsAnEmptyList) {
  TempFolder folder;
  Files files;
  const MemberFile file = ReadMemberFile(files, folder / "iqrp.txt");
  EXPECT_TRUE(file.status.ok());
  EXPECT_FALSE(file.exists);
  EXPECT_TRUE(file.members.empty());
}

TEST(MemberFile, UnreadableFileIsAFailureNamingIt) {
  TempFolder folder;
  WriteBytes(folder / "iqrp.txt", "QX1AB#9\r\n");
  UnreadableFiles files("iqrp.txt");
  const MemberFile file = ReadMemberFile(files, folder / "iqrp.txt");
  EXPECT_FALSE(file.status.ok());
  EXPECT_TRUE(file.exists);
  EXPECT_EQ(file.status.path(), folder / "iqrp.txt");
}

TEST(MemberFile, WritesAndReadsBack) {
  TempFolder folder;
  Files files;
  WriteBytes(folder / "mqc.txt", "OLD#1\r\n");
  const std::vector<Member> members = {{"QX1AB", "1"}, {"QX2CD", "2"}};
  ASSERT_TRUE(WriteMemberFile(files, folder / "mqc.txt", members).ok());
  EXPECT_EQ(ReadBytes(folder / "mqc.txt"), "QX1AB#1\r\nQX2CD#2\r\n");
  EXPECT_EQ(ReadMemberFile(files, folder / "mqc.txt").members, members);
}

// Files whose renames fail, as on a full or read-only disk.
class FailingRename : public Files {
 protected:
  std::error_code Inject(WriteStep step) override {
    return step == WriteStep::kRename ? std::make_error_code(std::errc::no_space_on_device)
                                      : std::error_code();
  }
};

TEST(MemberFile, FailedWriteLeavesTheOldFile) {
  TempFolder folder;
  FailingRename files;
  WriteBytes(folder / "iqrp.txt", "QX1AB#1\r\n");
  const IoStatus status = WriteMemberFile(files, folder / "iqrp.txt", {{"QX9ZZ", "2"}});
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(ReadBytes(folder / "iqrp.txt"), "QX1AB#1\r\n");
}

}  // namespace
}  // namespace keldra

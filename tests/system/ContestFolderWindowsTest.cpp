// The contest folder on Windows: the operator's folder first, then the executable's own for a
// portable copy, then Documents\Keldra VHF QRP Test.
#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "system/ContestFolder.h"

namespace keldra::testing {
namespace {

struct ChoiceCase {
  const char* name;
  const char* given;
  bool writable;
  bool installed;
  const char* documents;
  FolderSource source;
  const char* folder;  // empty: no folder, a problem instead
};

const ChoiceCase kChoices[] = {
    {"GivenAbsolute_winsOverEverything", "D:\\gare\\2026", true, false, "C:\\Users\\op\\Documents",
     FolderSource::kGiven, "D:\\gare\\2026"},
    {"GivenRelative_readFromTheCurrentFolder", "gara\\..\\2026", true, true, "",
     FolderSource::kGiven, "E:\\keldra\\2026"},
    {"PortableCopy_executableFolder", "", true, false, "C:\\Users\\op\\Documents",
     FolderSource::kExecutable, "E:\\keldra"},
    {"Installed_documents", "", true, true, "C:\\Users\\Niccol\xc3\xb2\\Documents",
     FolderSource::kUserData, "C:\\Users\\Niccol\xc3\xb2\\Documents\\Keldra VHF QRP Test"},
    {"ReadOnlyPortable_documents", "", false, false, "C:\\Users\\op\\Documents",
     FolderSource::kUserData, "C:\\Users\\op\\Documents\\Keldra VHF QRP Test"},
    {"NoDocuments_problem", "", false, true, "", FolderSource::kUserData, ""},
};

fs::path Utf8Path(const char* utf8) {
  return fs::path(std::u8string(utf8, utf8 + std::strlen(utf8)));
}

class ChooseContestFolderTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseContestFolderTest, PicksTheFolderOfItsBranch) {
  const ChoiceCase& c = GetParam();
  FolderFacts facts;
  facts.given = Utf8Path(c.given);
  facts.working = "E:\\keldra";
  facts.executable_folder = "E:\\keldra";
  facts.executable_folder_writable = c.writable;
  facts.installed = c.installed;
  facts.documents = Utf8Path(c.documents);
  const FolderChoice choice = ChooseContestFolder(facts);
  EXPECT_EQ(choice.source, c.source);
  EXPECT_EQ(choice.folder, Utf8Path(c.folder));
  if (choice.folder.empty()) {
    EXPECT_NE(choice.problem.find("Documenti"), std::string::npos) << choice.problem;
    EXPECT_NE(choice.problem.find("--cartella"), std::string::npos) << choice.problem;
  } else {
    EXPECT_EQ(choice.problem, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Branches, ChooseContestFolderTest, ::testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GatherFolderFactsTest, SeesTheSetupsMarkerTriesAWriteAndFindsTheDocuments) {
  TempFolder program;
  const fs::path folder = program / "Keldra VHF QRP Test";
  fs::create_directories(folder);
  FolderFacts facts = GatherFolderFacts({}, folder);
  EXPECT_FALSE(facts.installed);
  EXPECT_TRUE(facts.executable_folder_writable);
  // The write probe leaves nothing behind.
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_TRUE(facts.documents.is_absolute()) << facts.documents;
  WriteBytes(folder / "installato", "");
  EXPECT_TRUE(GatherFolderFacts({}, folder).installed);
  EXPECT_FALSE(GatherFolderFacts({}, program / "manca").executable_folder_writable);
}

TEST(ExecutableFolderTest, IsTheFolderOfTheRunningTestProgram) {
  const fs::path folder = ExecutableFolder();
  EXPECT_TRUE(fs::exists(folder / "test_system.exe")) << folder;
}

TEST(FolderRuleHelpTest, NamesTheUsersFolder) {
  for (const char* part : {"Documenti\\Keldra VHF QRP Test", "copia portatile"}) {
    EXPECT_NE(FolderRuleHelp().find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace keldra::testing

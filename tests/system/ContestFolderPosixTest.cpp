// The contest folder on Linux: the operator's folder first, then the executable's own when it may
// be used, then the user's data folder.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "system/ContestFolder.h"

namespace keldra::testing {
namespace {

struct ChoiceCase {
  const char* name;
  const char* given;
  bool writable;
  bool installed;
  const char* xdg;
  const char* home;
  FolderSource source;
  const char* folder;  // empty: no folder, a problem instead
};

const ChoiceCase kChoices[] = {
    {"GivenAbsolute_winsOverEverything", "/srv/contest", true, false, "/x", "/home/op",
     FolderSource::kGiven, "/srv/contest"},
    {"GivenRelative_readFromTheCurrentFolder", "gara/../2024", true, true, "", "/home/op",
     FolderSource::kGiven, "/home/op/work/2024"},
    {"GivenOnAnInstalledCopy_stillGiven", "/tmp/c", false, true, "", "", FolderSource::kGiven,
     "/tmp/c"},
    {"WritableUnmarked_executableFolder", "", true, false, "/x", "/home/op",
     FolderSource::kExecutable, "/opt/keldra"},
    {"WritableButInstalled_userData", "", true, true, "", "/home/op", FolderSource::kUserData,
     "/home/op/.local/share/keldra"},
    {"ReadOnly_userDataUnderXdg", "", false, false, "/data/op", "/home/op", FolderSource::kUserData,
     "/data/op/keldra"},
    {"ReadOnlyXdgRelative_ignoredForHome", "", false, false, "dati", "/home/op",
     FolderSource::kUserData, "/home/op/.local/share/keldra"},
    {"ReadOnlyNoXdgNoHome_problem", "", false, false, "", "", FolderSource::kUserData, ""},
    {"ReadOnlyHomeRelative_problem", "", false, true, "", "op", FolderSource::kUserData, ""},
};

class ChooseContestFolderTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseContestFolderTest, PicksTheFolderOfItsBranch) {
  const ChoiceCase& c = GetParam();
  FolderFacts facts;
  facts.given = c.given;
  facts.working = "/home/op/work";
  facts.executable_folder = "/opt/keldra";
  facts.executable_folder_writable = c.writable;
  facts.installed = c.installed;
  facts.xdg_data_home = c.xdg;
  facts.home = c.home;
  const FolderChoice choice = ChooseContestFolder(facts);
  EXPECT_EQ(choice.source, c.source);
  EXPECT_EQ(choice.folder, fs::path(c.folder));
  if (choice.folder.empty()) {
    EXPECT_NE(choice.problem.find("--cartella"), std::string::npos) << choice.problem;
  } else {
    EXPECT_EQ(choice.problem, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Branches, ChooseContestFolderTest, ::testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GatherFolderFactsTest, SeesTheInstalledMarkerBesideTheBinFolderAndWhetherItCanWrite) {
  TempFolder prefix;
  const fs::path bin = prefix / "bin";
  fs::create_directories(bin);
  EXPECT_FALSE(GatherFolderFacts({}, bin).installed);
  EXPECT_TRUE(GatherFolderFacts({}, bin).executable_folder_writable);
  fs::create_directories(prefix / "share" / "keldra");
  WriteBytes(prefix / "share" / "keldra" / "installato", "");
  EXPECT_TRUE(GatherFolderFacts({}, bin).installed);
  EXPECT_FALSE(GatherFolderFacts({}, prefix / "missing").executable_folder_writable);
}

TEST(FolderRuleHelpTest, NamesTheUsersFolder) {
  for (const char* part : {"$XDG_DATA_HOME/keldra", "~/.local/share/keldra"}) {
    EXPECT_NE(FolderRuleHelp().find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace keldra::testing

// The real program on folders named with --cartella: one copy per folder (a second one on the same
// folder is turned away and the first runs on), copies on different folders side by side, and a
// folder that cannot be made stops the program with a message before any window of the contest.
// The first two run against the Windows program too, under Wine, where scripts/test names it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Harness.h"
#include "system/Clock.h"
#include "widgets/MessageBox.h"

namespace keldra::e2e {
namespace {
using namespace std::chrono_literals;

const char kStation[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";
const DateTime kMorning{2023, 7, 16, 9, 0, 0};

// Closes the message box a process shows (it has the keyboard), as the operator would.
void CloseMessageOf(const XSession& x, pid_t pid) {
  const std::string window = x.Run("xdotool search --onlyvisible --pid " + std::to_string(pid) +
                                   " --name '^" + std::string(kDefaultTitle) + "$'");
  x.Run("xdotool windowactivate --sync " + window.substr(0, window.find('\n')) + " key Return");
}

class StartFolderTest : public ::testing::Test {
 protected:
  // A copy of the program on `folder`: the Linux build given --cartella, or, where the harness
  // names one, the Windows program under Wine, which it gives the folder the same way.
  std::unique_ptr<RealProgram> CopyOn(const std::filesystem::path& folder, StartState setup) {
    if (!WindowsProgram().empty()) {
      return std::make_unique<RealProgram>(x_, folder, std::move(setup));
    }
    return std::make_unique<RealProgram>(x_, folder, std::move(setup),
                                         std::vector<std::string>{"--cartella", folder.string()},
                                         KELDRA_EXECUTABLE);
  }

  testing::TempFolder root_;
  XSession x_;
};

TEST_F(StartFolderTest, ASecondCopyOnTheSameFolderIsTurnedAwayAndTheFirstRunsOn) {
  const auto folder = root_.path() / "gara";
  const std::unique_ptr<RealProgram> first =
      CopyOn(folder, {kMorning, 120, {{"config.txt", kStation}}});
  first->Start();
  ASSERT_EQ(x_.WindowTitles(first->Pid()).size(), 1u);
  const std::unique_ptr<RealProgram> second = CopyOn(folder, {kMorning, 120, {}});
  second->Start();
  EXPECT_EQ(x_.WindowTitles(second->Pid()), std::vector<std::string>{kDefaultTitle});
  CloseMessageOf(x_, second->Pid());
  EXPECT_EQ(second->WaitForExit(10), 1);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(first->Running());
}

TEST_F(StartFolderTest, CopiesOnDifferentFoldersRunSideBySide) {
  std::vector<std::unique_ptr<RealProgram>> copies;
  for (const char* name : {"nord", "sud"}) {
    copies.push_back(CopyOn(root_.path() / name, {kMorning, 120, {{"config.txt", kStation}}}));
    copies.back()->Start();
  }
  for (auto& copy : copies) {
    const auto titles = x_.WindowTitles(copy->Pid());
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].rfind("Keldra VHF qrp - ", 0), 0u) << titles[0];
    EXPECT_TRUE(copy->Running());
  }
  for (const char* name : {"nord", "sud"}) {
    EXPECT_TRUE(std::filesystem::exists(root_.path() / name / ".keldra.lock")) << name;
  }
}

TEST_F(StartFolderTest, AFolderThatCannotBeMadeStopsTheProgramWithAMessageOnly) {
  testing::WriteBytes(root_.path() / "occupato", "");
  const auto folder = root_.path() / "occupato" / "gara";
  RealProgram real(x_, folder, {kMorning, 120, {}}, {"--cartella", folder.string()},
                   KELDRA_EXECUTABLE);
  real.Start();
  EXPECT_EQ(x_.WindowTitles(real.Pid()), std::vector<std::string>{kDefaultTitle});
  x_.Screenshot("e2e_13_folder_cannot_be_made");
  CloseMessageOf(x_, real.Pid());
  EXPECT_EQ(real.WaitForExit(10), 1);
  EXPECT_EQ(testing::ReadBytes(root_.path() / "occupato"), "");
}

}  // namespace
}  // namespace keldra::e2e

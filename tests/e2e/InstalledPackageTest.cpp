// The package as an operator gets it: the installed executable logs a QSO, typed with real keys, in
// the folder named with --cartella; without it, it keeps its files in the user's data folder and
// never beside itself, even when run by root. scripts/test installs the package, runs these with
// KELDRA_INSTALLED naming the installed executable, and removes the package again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Harness.h"

namespace keldra::e2e {
namespace {
namespace fs = std::filesystem;

const char kStation[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";

class InstalledPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* installed = std::getenv("KELDRA_INSTALLED");
    if (installed == nullptr) {
      GTEST_SKIP() << "KELDRA_INSTALLED names no installed executable";
    }
    executable_ = installed;
  }
  fs::path executable_;
  testing::TempFolder root_;
  testing::TempFolder model_folder_;
};

TEST_F(InstalledPackageTest, LogsAQsoInTheFolderGivenOnTheCommandLine) {
  XSession x;
  const StartState setup{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}};
  const fs::path folder = root_.path() / "gara";
  ModelOperator model(setup, model_folder_.path());
  RealProgram real(x, folder, setup, {"--cartella", folder.string()}, executable_);
  real.Start();
  XOperator op(x, real, model);
  PlayBoth({Click("Form1", "Text6"), Keys("Form1", "IK5ABC/P\n\n\n7\nJN53HT\nI003\n\n"),
            Click("Form1", "Command3")},
           model, op, model_folder_.path(), folder);
  EXPECT_EQ(real.WaitForExit(10), 0);
  EXPECT_NE(testing::ReadBytes(folder / "parziale.db").find("IK5ABC/P"), std::string::npos);
  EXPECT_FALSE(fs::exists(executable_.parent_path() / "parziale.db"));
}

TEST_F(InstalledPackageTest, WithoutAFolderItKeepsItsFilesInTheUserDataFolder) {
  XSession x;
  const fs::path data = root_.path() / "dati";
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  RealProgram real(x, data / "keldra", {{2023, 7, 16, 9, 0, 0}, 120, {}}, {}, executable_);
  real.Start();
  // The first start asks for the station: its window is up once the folder has been chosen.
  const auto titles = x.WindowTitles(real.Pid());
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(titles.size(), 1u);
  EXPECT_TRUE(fs::exists(data / "keldra" / ".keldra.lock"));
  EXPECT_FALSE(fs::exists(executable_.parent_path() / ".keldra.lock"));
  EXPECT_TRUE(real.Running());
}

}  // namespace
}  // namespace keldra::e2e

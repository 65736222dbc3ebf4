// The Windows setup's program as an operator starts it from the Start menu: no folder on the
// command line, so it keeps the contest in Documents. scripts/windows-installer-test installs the
// setup in a Wine prefix of its own, leaves a contest in Documents\Keldra VHF QRP Test and runs
// this with KELDRA_WINDOWS_EXE naming the installed program and KELDRA_WINDOWS_DOCUMENTS that
// folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Harness.h"

namespace keldra::e2e {
namespace {
namespace fs = std::filesystem;

TEST(InstalledSetupTest, ContinuesTheContestInDocumentsAndLogsAQsoTypedWithRealKeys) {
  const char* documents = std::getenv("KELDRA_WINDOWS_DOCUMENTS");
  if (documents == nullptr || WindowsProgram().empty()) {
    GTEST_SKIP() << "KELDRA_WINDOWS_EXE and KELDRA_WINDOWS_DOCUMENTS name no installed program";
  }
  // The model starts from the contest the installed program finds.
  StartState setup{{2023, 7, 16, 9, 0, 0}, 120, FolderFiles(documents)};
  ASSERT_TRUE(setup.files.count("parziale.db"));
  testing::TempFolder model_folder;
  ModelOperator model(setup, model_folder.path());
  XSession x;
  RealProgram real(x, documents, setup, {}, WindowsProgram());
  real.Start();
  XOperator op(x, real, model);
  PlayBoth({Click("Form5", "Command1"), Click("Form1", "Text6"),
            Keys("Form1", "IK5ABC/P\n\n\n7\nJN53HT\n\n\n", "e2e_setup_installed_qso"),
            Click("Form1", "Command3")},
           model, op, model_folder.path(), documents);
  EXPECT_EQ(real.WaitForExit(30), 0);
  EXPECT_NE(testing::ReadBytes(fs::path(documents) / "parziale.db").find("IK5ABC/P"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(fs::path(WindowsProgram()).parent_path() / "parziale.db"));
}

}  // namespace
}  // namespace keldra::e2e

// A contest folder that cannot be made is refused before anything runs (the choice of the folder
// is tested per system, with that system's paths).
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "system/ContestFolder.h"

namespace keldra::testing {
namespace {

TEST(PrepareContestFolderTest, CreatesAMissingFolderWithItsParentsAndKeepsAnExistingOne) {
  TempFolder root;
  const fs::path folder = root / "a" / "b" / "keldra";
  ASSERT_TRUE(PrepareContestFolder(folder));
  EXPECT_TRUE(fs::is_directory(folder));
  WriteBytes(folder / "parziale.db", "x");
  ASSERT_TRUE(PrepareContestFolder(folder));
  EXPECT_EQ(ReadBytes(folder / "parziale.db"), "x");
}

TEST(PrepareContestFolderTest, AFileInTheWayIsRefusedWithAnItalianReason) {
  TempFolder root;
  WriteBytes(root / "occupato", "");
  for (const fs::path& folder : {root / "occupato", root / "occupato" / "keldra"}) {
    const IoStatus status = PrepareContestFolder(folder);
    ASSERT_FALSE(status) << folder;
    const std::string message = FolderProblemMessage(folder, status);
    EXPECT_NE(message.find(folder.string()), std::string::npos) << message;
    EXPECT_NE(message.find("c'è un file"), std::string::npos) << message;
    EXPECT_NE(message.find("non parte"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace keldra::testing

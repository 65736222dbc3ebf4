// The folder's sync, made to fail for real: after the rename the new file is in place, but until
// the folder is synced it may not survive a power cut, so the write is not reported as done.
// A file system that cannot sync a folder at all is the exception.
#include <gtest/gtest.h>

#include <cerrno>

#include "FsRecorder.h"
#include "TestSupport.h"
#include "system/Files.h"

namespace keldra::testing {
namespace {

TEST(FolderSyncTest, AFailedFolderSyncIsReported) {
  struct Case {
    const char* name;
    int error;
    bool ok;
  };
  const Case cases[] = {{"io_error_reported", EIO, false},
                        {"unsupported_by_the_file_system_tolerated", EINVAL, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    Files files;
    StartRecording(folder.path());
    FailFolderSyncs(c.error);
    const IoStatus status = files.Replace(folder / "parziale.db", "new state\r\n");
    FailFolderSyncs(0);
    StopRecording();
    EXPECT_EQ(status.ok(), c.ok) << status.Describe();
    if (!c.ok) {
      EXPECT_EQ(status.step(), "sincronizzazione della cartella");
      EXPECT_EQ(status.code(), std::error_code(c.error, std::generic_category()));
    }
    EXPECT_EQ(ReadBytes(folder / "parziale.db"), "new state\r\n");
  }
}

}  // namespace
}  // namespace keldra::testing

// The states a cut at the end of a short log can leave of a file "f" that held "old".
#include <gtest/gtest.h>

#include <set>

#include "CrashStates.h"

namespace keldra::testing {
namespace {

using Kind = FsCall::Kind;

FsCall Open(const std::string& name, int handle, bool created, bool truncated = false) {
  FsCall call;
  call.kind = Kind::kOpen;
  call.name = name;
  call.handle = handle;
  call.created = created;
  call.truncated = truncated;
  return call;
}
FsCall Write(int handle, std::int64_t offset, const std::string& bytes) {
  FsCall call;
  call.kind = Kind::kWrite;
  call.handle = handle;
  call.offset = offset;
  call.bytes = bytes;
  return call;
}
FsCall On(Kind kind, int handle) {
  FsCall call;
  call.kind = kind;
  call.handle = handle;
  return call;
}
FsCall Names(Kind kind, const std::string& name, const std::string& name2 = "") {
  FsCall call;
  call.kind = kind;
  call.name = name;
  call.name2 = name2;
  return call;
}

TEST(CrashStatesTest, WhatACutAtTheEndMayLeaveOfAFile) {
  const FsCall create = Open("t", 3, true);
  const FsCall write = Write(3, 0, "new!");
  const FsCall sync = On(Kind::kSync, 3);
  const FsCall close = On(Kind::kClose, 3);
  const FsCall rename = Names(Kind::kRename, "t", "f");
  const FsCall sync_folder = On(Kind::kSyncFolder, -1);
  struct Case {
    const char* name;
    std::vector<FsCall> log;
    std::set<std::string> contents;  // "-": no file "f"
  };
  const Case cases[] = {
      {"synced_then_renamed_then_folder_synced",
       {create, write, sync, close, rename, sync_folder},
       {"new!"}},
      {"rename_not_yet_synced", {create, write, sync, close, rename}, {"old", "new!"}},
      {"renamed_before_its_data_synced",
       {create, write, close, rename, sync_folder},
       {"", "ne", "new!"}},
      {"unlink_not_yet_synced", {Names(Kind::kUnlink, "f")}, {"old", "-"}},
      {"rewritten_in_place",
       {Open("f", 3, false, true), Write(3, 0, "new!")},
       {"old", "ne", "new!"}},
      {"overwritten_in_the_middle_and_synced",
       {Open("f", 3, false), Write(3, 1, "XY"), sync},
       {"oXY"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::set<std::string> found;
    std::set<FolderFiles> states;
    ForEachCrashState({{"f", "old"}}, c.log, [&](std::size_t cut, const FolderFiles& files) {
      if (cut < c.log.size()) {
        return;
      }
      auto it = files.find("f");
      found.insert(it == files.end() ? "-" : it->second);
      states.insert(files);
    });
    EXPECT_EQ(found, c.contents);
    // Everything written is one of the states: the one where the power never went.
    EXPECT_EQ(states.count(AllWritten({{"f", "old"}}, c.log)), 1U);
  }
}

}  // namespace
}  // namespace keldra::testing

// The states of a folder that a power cut can leave, worked out from a log of its file-system
// calls under what POSIX promises and no more:
//  - a file's bytes are on the disk once an fsync (or fdatasync) of the file returned; writes and
//    truncations made since may be there or not: none of them, all of them, or a torn half (the
//    writes in order up to half of their bytes, cutting one in the middle);
//  - a new name, a link, a rename or an unlink is on the disk once an fsync of the folder
//    returned; those made since may each be there or not (every combination of up to four of
//    them, else every prefix), each one whole, as a rename is atomic.
// A cut is tried after every call of the log. Where several files hold unsynced data, they are
// taken all "none", all "all" or all "torn" together, which keeps the number of states linear
// in the length of the log.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FsRecorder.h"

namespace keldra::testing {

// The files of a folder: name -> bytes.
using FolderFiles = std::map<std::string, std::string>;

// Calls `visit(cut, files)` for every state a power cut can leave once log[0, cut) had returned,
// for every cut from 0 to log.size(), starting from `initial` (all of it on the disk). States
// repeat; the caller may merge them. Returns the number of states visited.
std::size_t ForEachCrashState(const FolderFiles& initial, const std::vector<FsCall>& log,
                              const std::function<void(std::size_t, const FolderFiles&)>& visit);

// The folder once every call of the log reached the disk: what the real folder must hold, unless
// a call escaped the recorder.
FolderFiles AllWritten(const FolderFiles& initial, const std::vector<FsCall>& log);

}  // namespace keldra::testing

#include "CrashStates.h"

#include <algorithm>

namespace keldra::testing {
namespace {

// A change to the folder's data of one file, not yet synced.
struct DataChange {
  bool truncate = false;
  std::int64_t offset = 0;  // where the bytes go, or the new length
  std::string bytes;
};

// A file's contents apart from its names: what is on the disk and what may yet be lost.
struct Inode {
  std::string synced;
  std::vector<DataChange> pending;
};

// A change to the folder's names: `removed` goes, then `added` names `inode`. A rename does both
// at once; a new name, a link or an unlink one of them.
struct NameChange {
  std::string removed;
  std::string added;
  int inode = -1;
};

enum class Unsynced { kNone, kAll, kTornHalf };

void Apply(std::string& bytes, const DataChange& change, std::size_t keep) {
  if (change.truncate) {
    bytes.resize(static_cast<std::size_t>(change.offset));
    return;
  }
  const auto at = static_cast<std::size_t>(change.offset);
  if (bytes.size() < at + keep) {
    bytes.resize(at + keep);
  }
  bytes.replace(at, keep, change.bytes, 0, keep);
}

class FolderModel {
 public:
  explicit FolderModel(const FolderFiles& initial) {
    for (const auto& [name, bytes] : initial) {
      inodes_.push_back({bytes, {}});
      durable_[name] = live_[name] = static_cast<int>(inodes_.size()) - 1;
    }
  }

  void Apply(const FsCall& call) {
    using Kind = FsCall::Kind;
    switch (call.kind) {
      case Kind::kOpen: {
        auto it = live_.find(call.name);
        if (call.created || it == live_.end()) {
          inodes_.push_back({});
          const int inode = static_cast<int>(inodes_.size()) - 1;
          live_[call.name] = inode;
          names_pending_.push_back({"", call.name, inode});
          handles_[call.handle] = inode;
        } else {
          handles_[call.handle] = it->second;
        }
        if (call.truncated) {
          inodes_[handles_[call.handle]].pending.push_back({true, 0, {}});
        }
        break;
      }
      case Kind::kWrite:
      case Kind::kTruncate:
        if (Inode* inode = ByHandle(call.handle)) {
          inode->pending.push_back({call.kind == Kind::kTruncate, call.offset, call.bytes});
        }
        break;
      case Kind::kSync:
        if (Inode* inode = ByHandle(call.handle)) {
          inode->synced = Contents(*inode, Unsynced::kAll);
          inode->pending.clear();
        }
        break;
      case Kind::kSyncFolder:
        for (const NameChange& change : names_pending_) {
          ApplyTo(durable_, change);
        }
        names_pending_.clear();
        break;
      case Kind::kLink:
      case Kind::kRename: {
        auto it = live_.find(call.name);
        if (it == live_.end() || call.name2.empty()) {
          break;
        }
        const NameChange change{call.kind == Kind::kRename ? call.name : "", call.name2,
                                it->second};
        ApplyTo(live_, change);
        names_pending_.push_back(change);
        break;
      }
      case Kind::kUnlink:
        if (live_.erase(call.name) != 0) {
          names_pending_.push_back({call.name, "", -1});
        }
        break;
      case Kind::kClose:
        handles_.erase(call.handle);
        break;
      case Kind::kMark:
        break;
    }
  }

  std::size_t VisitStates(std::size_t cut,
                          const std::function<void(std::size_t, const FolderFiles&)>& visit) {
    std::size_t visited = 0;
    const std::size_t count = names_pending_.size();
    // Every subset of a few unsynced name changes; past that, every prefix.
    const bool subsets = count <= 4;
    const std::size_t variants = subsets ? (std::size_t{1} << count) : count + 1;
    for (std::size_t v = 0; v < variants; ++v) {
      std::map<std::string, int> names = durable_;
      for (std::size_t i = 0; i < count; ++i) {
        const bool kept = subsets ? ((v >> i) & 1) != 0 : i < v;
        if (kept) {
          ApplyTo(names, names_pending_[i]);
        }
      }
      const bool unsynced_data = std::any_of(names.begin(), names.end(), [&](const auto& entry) {
        return !inodes_[entry.second].pending.empty();
      });
      for (Unsynced data : {Unsynced::kNone, Unsynced::kAll, Unsynced::kTornHalf}) {
        if (!unsynced_data && data != Unsynced::kNone) {
          break;
        }
        FolderFiles files;
        for (const auto& [name, inode] : names) {
          files[name] = Contents(inodes_[inode], data);
        }
        visit(cut, files);
        ++visited;
      }
    }
    return visited;
  }

  FolderFiles Live() const {
    FolderFiles files;
    for (const auto& [name, inode] : live_) {
      files[name] = Contents(inodes_[inode], Unsynced::kAll);
    }
    return files;
  }

 private:
  Inode* ByHandle(int handle) {
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : &inodes_[it->second];
  }

  static void ApplyTo(std::map<std::string, int>& names, const NameChange& change) {
    if (!change.removed.empty()) {
      names.erase(change.removed);
    }
    if (!change.added.empty()) {
      names[change.added] = change.inode;
    }
  }

  static std::string Contents(const Inode& inode, Unsynced data) {
    std::string bytes = inode.synced;
    if (data == Unsynced::kNone) {
      return bytes;
    }
    std::size_t total = 0;
    for (const DataChange& change : inode.pending) {
      total += change.bytes.size();
    }
    std::size_t budget = data == Unsynced::kAll ? total : total / 2;
    for (const DataChange& change : inode.pending) {
      const std::size_t keep = std::min(budget, change.bytes.size());
      if (!change.truncate && keep == 0 && !change.bytes.empty()) {
        break;
      }
      keldra::testing::Apply(bytes, change, keep);
      budget -= keep;
    }
    return bytes;
  }

  std::vector<Inode> inodes_;
  std::map<std::string, int> durable_;  // the names on the disk
  std::map<std::string, int> live_;     // the names as the program sees them
  std::vector<NameChange> names_pending_;
  std::map<int, int> handles_;
};

}  // namespace

std::size_t ForEachCrashState(const FolderFiles& initial, const std::vector<FsCall>& log,
                              const std::function<void(std::size_t, const FolderFiles&)>& visit) {
  FolderModel model(initial);
  std::size_t visited = model.VisitStates(0, visit);
  for (std::size_t i = 0; i < log.size(); ++i) {
    model.Apply(log[i]);
    // A cut just after a note of the test leaves what the call before it left, but the note
    // (an "OK" that returned) raises what that folder must hold.
    visited += model.VisitStates(i + 1, visit);
  }
  return visited;
}

FolderFiles AllWritten(const FolderFiles& initial, const std::vector<FsCall>& log) {
  FolderModel model(initial);
  for (const FsCall& call : log) {
    model.Apply(call);
  }
  return model.Live();
}

}  // namespace keldra::testing

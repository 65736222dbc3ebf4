// The contest's state file seen from the windows: the one place that saves the running contest to
// parziale.db (keeping the replaced version as backup.db), and the
// one place that reads the file back for a resume. Every window that changes the contest (the
// commit, the QSO modification) saves through SaveContest, so a failed write is always reported.
#pragma once

#include <optional>

#include "core/ContestState.h"
#include "core/StateFile.h"

namespace keldra {

class MainWindow;
class Program;

// Saves the running contest (Program's log): nothing is written while its QSO list is empty;
// otherwise parziale.db is replaced atomically and durably, the old file becoming backup.db.
// Returns true when the file is current (also when there was nothing to write). On failure it
// shows a critical message naming the file and the reason, sets the window's save_pending (a
// successful save clears it) and returns false.
bool SaveContest(Program& program, MainWindow& form);

// Reads parziale.db of the program folder by the state file's reading rule. Returns nullopt when
// the file does not exist (nothing to resume). A file that exists but cannot be read is reported
// with a critical message, and nullopt returned.
std::optional<StateFileValues> ReadContestFile(Program& program);

}  // namespace keldra

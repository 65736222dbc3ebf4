// `keldra --adif FILE.adi`: the ADIF log of the running contest, for scripts and for the station's
// general log, written without opening a window. The QSOs come from the contest file parziale.db
// of the contest folder, the station's callsign and locator from its config.txt.
#pragma once

#include <filesystem>
#include <ostream>

#include "system/Clock.h"

namespace keldra {

// Writes the ADIF of the contest in `folder` to `target` (a path as the operator typed it, so
// relative to the current folder), replacing it atomically. Returns the exit status: 0 when
// written (one line on `out`); 1, with the reason in Italian on `err`, when there is no contest,
// the contest or station file is damaged or unreadable, or the file cannot be written; 2 when no
// file name was given. A file of the program's own in `folder` is never overwritten.
int RunAdifCommand(const std::filesystem::path& folder, const std::filesystem::path& target,
                   const Clock& clock, std::ostream& out, std::ostream& err);

}  // namespace keldra

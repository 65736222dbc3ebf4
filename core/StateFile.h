// The contest state file parziale.db: keyed text lines, one per total, then one line per QSO of
// each list. Writing turns a ContestState into the file's bytes and replaces the file durably,
// keeping the version it replaces as backup.db (what the emergency restore brings back).
// Reading follows the one rule every reader of the file shares: each line is recognised by its
// key, the value is everything after the key and its blank, and lines that match no key (or are
// too short to carry a value) are skipped, so a damaged file loads what it can.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ContestState.h"
#include "system/Files.h"

namespace keldra {

inline constexpr const char* kStateFileName = "parziale.db";
inline constexpr const char* kStateBackupFileName = "backup.db";

// The file's bytes for a contest, lines ended by CR LF. Empty when the QSO list is empty: a
// contest without QSOs is never written.
std::string StateFileText(const ContestState& state);

// The two lists in the file's form, kept as the log grows so that a save need not split them
// again: each list line added becomes the file's line for it ("LISTA_QSO line" or "QSO_EDI line",
// ended by CR LF; one per piece when the line itself holds a CR LF). The closing line each list
// ends with in the file is not among them.
struct StateFileLists {
  std::string qso_list;
  std::string edi_records;
  void AddQsoListLine(std::string_view line);
  void AddEdiRecordLine(std::string_view line);
};

// The file's bytes for the totals and serial of `head` with these lists (the lists of `head` are
// not read): the bytes StateFileText gives for `head` holding each list line followed by CR LF.
std::string StateFileText(const ContestState& head, const StateFileLists& lists);

// Writes `state` to `state_path`; the file it replaces becomes `backup_path`. Nothing is written
// (and Ok returned) while the QSO list is empty. On failure the old file is still whole.
IoStatus WriteStateFile(Files& files, const std::filesystem::path& state_path,
                        const std::filesystem::path& backup_path, const ContestState& state);

// What a state file says. A total is present only when a line carried it (the last such line
// wins); the list lines come in file order, without their keys and line ends.
struct StateFileValues {
  std::optional<std::string> serial;
  std::optional<std::string> qsos;
  std::optional<std::string> km;
  std::optional<std::string> multipliers;
  std::optional<std::string> points;
  std::optional<std::string> average_km;
  std::optional<std::string> odx_call;
  std::optional<std::string> odx_locator;
  std::optional<std::string> odx_km;
  std::optional<std::string> iqrp_qsos;
  std::optional<std::string> mqc_qsos;
  std::vector<std::string> qso_list_lines;
  std::vector<std::string> edi_record_lines;
};

// Reads the file's bytes by the reading rule. Line ends may be CR LF or LF; a last line without
// its end still counts. A "LISTA_QSO" line counts only when longer than 11 characters, a "QSO_EDI"
// line only when longer than 9, which skips the empty closing line of each list.
StateFileValues ReadStateFile(std::string_view bytes);

// The totals a read file carries, each over its `shown` value; a total the file lacks stays.
ContestTotals TotalsRead(const StateFileValues& values, ContestTotals shown);

}  // namespace keldra

// The files the call history is read from, all written by other programs or by earlier contests
// of this one: EDI logs (ours and other loggers'), and the call-locator lists VHF operators pass
// around, blank-separated ("CALL LOCATOR [YYYYMMDD] [anything]", files C_W and *.cw) or
// comma-separated ("CALL,LOCATOR,...", *.csv and *.csl, a first line starting with "," naming the
// list). Each reader takes the bytes and gives the sightings it could read and the count of lines
// it had to skip; no byte sequence makes it fail. The loader finds the files in the program folder
// and its "storico" sub-folder and builds the history from them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/CallHistory.h"
#include "system/Files.h"

namespace keldra {

inline constexpr const char* kHistoryFolderName = "storico";

// yyyymmdd from "yyyymmdd", or from "yymmdd" (years 80 to 99 are 1980 to 1999); 0 when it is no
// such date.
HistoryDate ParseHistoryDate(std::string_view text);

// What a reader took from one file: every entry read, and the lines that looked like data but
// gave none (a broken record, an unreal locator). Blank lines and an EDI log's header are neither.
struct HistoryRead {
  std::vector<HistoryEntry> entries;
  std::size_t skipped = 0;
};

enum class HistoryFormat { kEdi, kBlankList, kCommaList };

// The format a file's name says (case ignored), or nothing for a file that is no history source.
std::optional<HistoryFormat> HistoryFormatOf(const std::filesystem::path& file);

// An EDI log: the records after "[QSORecords" up to the next "[" line, or every line when the
// text has no such section (a bare record list). A record has at least ten ";"-separated fields:
// its date yymmdd (or yyyymmdd; unreadable gives no date), call third and locator tenth.
HistoryRead ReadEdiLog(std::string_view bytes);
HistoryRead ReadBlankList(std::string_view bytes);
HistoryRead ReadCommaList(std::string_view bytes);
HistoryRead ReadHistory(HistoryFormat format, std::string_view bytes);

// A file is read up to this many bytes, to its last whole line; the rest is left unread.
inline constexpr std::size_t kHistoryFileLimit = 32u << 20;

// One file as the loader met it.
struct HistoryFileRead {
  std::filesystem::path path;
  IoStatus status;  // a file that could not be read gives nothing
  std::size_t read = 0;
  std::size_t skipped = 0;
  bool cut = false;  // longer than the limit: read in part
};

struct HistoryLoad {
  CallHistory history;
  std::vector<HistoryFileRead> files;
  std::size_t Read() const;
  std::size_t Skipped() const;
  std::size_t Unreadable() const;
};

// Reads every *.edi of `folder` and every source of `folder`/storico, in name order, each file up
// to `limit` bytes.
HistoryLoad LoadHistory(const Files& files, const std::filesystem::path& folder,
                        std::size_t limit = kHistoryFileLimit);

// The line that tells the operator what was read, in Italian, Windows-1252.
std::string HistorySummary(const HistoryLoad& load);

}  // namespace keldra

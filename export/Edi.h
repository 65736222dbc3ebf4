// The EDI log ([REG1TEST;1]) that the operator submits after the contest: the whole file text
// from the station and entrant details of the header window, the totals of the main window and
// the EDI record lines prepared at every commit; the power categories with their limits, section
// codes and file-name prefixes; and the file name, made safe to write inside the program folder.
// Every text is Windows-1252, as the windows hold it; the file is written from it byte for byte.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/ContestState.h"

namespace keldra {

// The details typed in the header window, as its fields hold them.
struct EdiHeader {
  std::string callsign;        // PCall, RCall
  std::string locator;         // PWWLo
  std::string category;        // PSect, one of the three category texts (or anything else)
  std::string date;            // TDate, dd/mm/yyyy
  std::string name;            // RName
  std::string address;         // PAdr1, RAdr1
  std::string postcode;        // RPoCo
  std::string city;            // RCity
  std::string country;         // RCoun
  std::string phone;           // RPhon
  std::string email;           // RHBBS
  std::string operators;       // MOpe1
  std::string club;            // PClub
  std::string receiver;        // SRXeq
  std::string transmitter;     // STXeq
  std::string antennas;        // SAnte
  std::string power;           // SPowe, as typed
  std::string antenna_height;  // SAntH, first part
  std::string altitude;        // SAntH, second part
  std::string comments;        // under [Remarks]
  std::string records;         // the EDI record lines, each ending CR LF
};

// The main window's texts the log reads, as they stand: the totals (the average and the club
// counts go unused), the entry row's date and the station's own club numbers.
struct EdiTotals : ContestTotals {
  std::string entry_date;  // dd/mm/yy: the year of TName
  std::string iqrp_number;
  std::string mqc_number;
};

// A power category of the contest.
struct EdiCategory {
  std::string_view text;  // as the category box offers it
  double limit_watts;
  std::string_view section;  // PSect
  std::string_view prefix;   // of the file name
};

// The three categories, in the order the box offers them.
std::span<const EdiCategory> EdiCategories();
// The category with exactly this text (case and blanks included), or null.
const EdiCategory* FindEdiCategory(std::string_view text);

// The power typed in watts: the number at the start, a decimal comma read as a point ("0,5" is
// half a watt).
double PowerWatts(std::string_view power);

// The refusal message when the power is above the limit of the chosen category; nothing when it
// is within it or the category is none of the three.
std::optional<std::string> PowerRefusal(std::string_view category, std::string_view power);

// The complete file text, CR LF after every line, from [REG1TEST;1] to the END line.
std::string EdiLogText(const EdiHeader& header, const EdiTotals& totals);

// The proposed file name, prefix + callsign + ".edi"; nothing for a category that is none of the
// three.
std::optional<std::string> EdiFileName(std::string_view category, std::string_view callsign);

// A file name that can only name a file inside the program folder: every character that cannot
// stand in a file name on Windows or Linux becomes "_", and trailing dots and blanks are dropped.
// A name that is empty, made only of dots and blanks, one of the program's own data files or a
// Windows device name (NUL, COM1 ...) is refused with the reason, in Italian.
struct SafeName {
  std::string name;     // the safe name, when accepted
  std::string refusal;  // why not, when refused
  bool ok() const { return refusal.empty(); }
};
SafeName MakeSafeFileName(std::string_view name);

}  // namespace keldra

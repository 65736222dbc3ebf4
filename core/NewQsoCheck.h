// The checks of "OK" on the entry row, beside those of a correction (QsoEdit.h): which field
// refuses the QSO and why, in a fixed order that stops at the first failure. Besides checking,
// they complete a one-digit hour ("9.20" becomes "09.20"), which the window then shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldra {

class ContestLog;

// The entry row's texts as "OK" finds them (the club code already trimmed).
struct NewQsoTexts {
  std::string date;
  std::string time;
  std::string mode;
  std::string call;
  std::string rst_sent;
  std::string rst_received;
  std::string serial_received;
  std::string locator;
  std::string club_code;
};

enum class EntryField {
  kDate,
  kTime,
  kMode,
  kCall,
  kRstSent,
  kRstReceived,
  kSerialReceived,
  kLocator,
  kClubCode
};

// Why "OK" was refused: the message (Windows-1252), the field that takes the cursor, and whether
// it turns yellow.
struct NewQsoRefusal {
  std::string message;
  EntryField field;
  bool highlight;
  friend bool operator==(const NewQsoRefusal&, const NewQsoRefusal&) = default;
};

struct NewQsoCheck {
  std::optional<NewQsoRefusal> refusal;
  std::string time;  // the time as the checks completed it
};

// Checks a new QSO against the row's rules and the QSOs already in `log`. Off-line the time is
// typed, so only an hour written with one digit before its "." is completed; on-line it comes
// from the clock and any four-character time gets its leading "0".
NewQsoCheck CheckNewQso(const NewQsoTexts& entry, bool off_line, const ContestLog& log);

}  // namespace keldra

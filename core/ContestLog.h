// The running contest as a typed log: the QSOs as records with typed fields, the serial to send
// next and the totals as numbers, kept by the scoring rule. The windows show it and change it only
// through its operations (log a QSO, correct one, load a saved contest), and every observer is told
// of each change. The QSO list, the EDI record list and the state file are output formats made from
// it, byte for byte what the program has always written.
//
// A saved contest may hold lines that record no QSO (a damaged or hand-edited file); the log keeps
// them as they were read, so they are still shown and saved, but they are no QSO for the windows
// that read the records.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/ContestState.h"
#include "core/QsoRecord.h"
#include "core/StateFile.h"

namespace keldra {

// One logged QSO. The texts are what was typed; the numbers are numbers.
struct LoggedQso {
  long long serial = 0;  // sent; shown with at least three digits
  std::string date;      // "dd/mm/yy"
  std::string time;      // "hh.mm" UTC
  std::string band = "144";
  QsoMode mode = QsoMode::kSsb;
  std::string call;
  std::string report_sent;
  std::string report_received;
  std::string serial_received;  // three characters, as received
  std::string locator;
  std::string club_code;  // empty, or "I"/"M" and the member number
  long long km = 0;       // whole km, never doubled; at least 1 for a committed QSO
  friend bool operator==(const LoggedQso&, const LoggedQso&) = default;
};

// The QSO's fields in the texts the line formats take, and back: nullopt when the serial sent or
// the distance is not a whole number.
QsoFields FieldsOf(const LoggedQso& qso);
std::optional<LoggedQso> QsoOf(const QsoFields& fields);

// The totals of the contest frame.
struct LogTotals {
  long long qsos = 0;
  long long km = 0;           // sum of the distances, never doubled
  long long multipliers = 0;  // QSOs with a club member
  long long points = 0;
  long long average_km = 0;  // km / QSOs, rounded half to even
  std::string odx_call = "...";
  std::string odx_locator = "...";
  long long odx_km = 0;
  long long iqrp_qsos = 0;
  long long mqc_qsos = 0;
  friend bool operator==(const LogTotals&, const LogTotals&) = default;
};

// The totals after one more QSO: its distance counts once, its points twice with a club code; an
// equal distance does not take the ODX from an earlier QSO.
LogTotals WithQso(LogTotals totals, const LoggedQso& qso);

// The texts the labels and the state file show: plain decimals, and the ODX distance as the QRB
// indicator shows a distance (a blank before it, "1" alone inside the own subsquare, "0" while
// there is none).
ContestTotals TotalsText(const LogTotals& totals);
// Totals read from texts: each the leading number of its text.
LogTotals TotalsOfText(const ContestTotals& texts);

// The serial as the entry field shows it: at least three digits.
std::string SerialText(long long serial);

// What changed: `count` entries from `first` were logged, corrected or loaded.
enum class LogChange { kLogged, kCorrected, kLoaded };
struct LogEvent {
  LogChange change;
  std::size_t first = 0;
  std::size_t count = 0;
};

class ContestLog {
 public:
  // One line pair of the log, in logging order.
  struct Entry {
    std::optional<LoggedQso> qso;  // none for lines of a saved file that record no QSO
    std::optional<std::string> list_line;
    std::optional<std::string> record_line;
  };

  using Observer = std::function<void(const LogEvent&)>;
  // Observers are told in the order they came; the returned id forgets one.
  int Observe(Observer observer);
  void Forget(int id);

  const std::vector<Entry>& Entries() const { return entries_; }
  long long NextSerial() const { return next_serial_; }
  const LogTotals& Totals() const { return totals_; }
  // The QSO list and the EDI record list, one line per entry that has one, each ended by CR LF.
  const std::string& QsoListText() const { return list_text_; }
  const std::string& EdiRecordsText() const { return records_text_; }
  // What the state file saves.
  ContestState State() const;
  // The state file's bytes, StateFileText(State()), made from the lists kept in the file's form.
  std::string StateFileText() const;
  // Whether the duplicate check finds `call` in the QSO list: ListHasCall(QsoListText(), call),
  // answered without reading the list.
  bool HasCall(std::string_view call) const;

  // A new QSO at the end; the next serial follows its serial.
  void Log(const LoggedQso& qso);
  // Entry `index` now records `qso` (a correction changes no serial); the totals are those of its
  // QSOs in order, the QSO count kept. False when the index holds no QSO.
  bool Correct(std::size_t index, const LoggedQso& qso);
  // A saved contest appended: its lines in file order, paired by position; the serial and every
  // total the file carries replace the log's.
  void Load(const StateFileValues& values);

 private:
  // Hashes a call however it is held, so a lookup need not copy it.
  struct CallHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view call) const {
      return std::hash<std::string_view>{}(call);
    }
  };

  void Tell(const LogEvent& event);
  ContestState Head() const;
  void AddTexts(const Entry& entry);
  void RebuildTexts();

  std::vector<Entry> entries_;
  long long next_serial_ = 1;
  LogTotals totals_;
  std::string list_text_;
  std::string records_text_;
  StateFileLists file_lists_;
  std::unordered_set<std::string, CallHash, std::equal_to<>> calls_;
  std::vector<std::pair<int, Observer>> observers_;
  int next_observer_ = 0;
};

}  // namespace keldra

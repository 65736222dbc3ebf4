#include "core/ContestLog.h"

#include <algorithm>
#include <utility>

#include "core/Text.h"
#include "system/Files.h"

namespace keldra {

namespace {

std::optional<long long> WholeNumber(std::string_view text) {
  if (!IsAllDigits(text) || text.size() > 15) {
    return std::nullopt;
  }
  return static_cast<long long>(LeadingNumber(text));
}

long long Number(std::string_view text) {
  // A hand-edited total cannot overflow the counts.
  return static_cast<long long>(std::clamp(LeadingNumber(text), -1e15, 1e15));
}

// A distance as the QRB indicator shows it, and so as the ODX label copies it.
std::string DistanceText(long long km) {
  if (km == 0 || km == 1) {
    return PlainDecimal(km);
  }
  return " " + PlainDecimal(km);
}

// The band is only in the list line: the number before "Mhz" ("144" unless it has none). Read
// without parsing the whole line, as a resume reads thousands of them.
std::string BandOfListLine(std::string_view line) {
  const std::size_t unit = line.find("Mhz");
  if (unit == std::string_view::npos) {
    return "144";
  }
  const std::size_t blank = line.rfind(' ', unit);
  const std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
  return unit > start ? std::string(line.substr(start, unit - start)) : "144";
}

void AppendLine(std::string& text, const std::optional<std::string>& line) {
  if (line) {
    text += *line;
    text += "\r\n";
  }
}

}  // namespace

QsoFields FieldsOf(const LoggedQso& qso) {
  return QsoFields{SerialText(qso.serial),
                   qso.date,
                   qso.time,
                   qso.band,
                   qso.mode,
                   qso.call,
                   qso.report_sent,
                   qso.report_received,
                   qso.serial_received,
                   qso.locator,
                   qso.club_code,
                   PlainDecimal(qso.km)};
}

std::optional<LoggedQso> QsoOf(const QsoFields& fields) {
  const std::optional<long long> serial = WholeNumber(fields.serial_sent);
  const std::optional<long long> km = WholeNumber(fields.distance_km);
  if (!serial || !km) {
    return std::nullopt;
  }
  return LoggedQso{*serial,
                   fields.date,
                   fields.time,
                   fields.band,
                   fields.mode,
                   fields.call,
                   fields.report_sent,
                   fields.report_received,
                   fields.serial_received,
                   fields.locator,
                   fields.club_code,
                   *km};
}

LogTotals WithQso(LogTotals totals, const LoggedQso& qso) {
  ++totals.qsos;
  totals.km += qso.km;
  totals.points += qso.club_code.empty() ? qso.km : 2 * qso.km;
  if (!qso.club_code.empty()) {
    ++totals.multipliers;
    totals.iqrp_qsos += qso.club_code.front() == 'I' ? 1 : 0;
    totals.mqc_qsos += qso.club_code.front() == 'M' ? 1 : 0;
  }
  // A loaded count may be negative; then the average stays as it was rather than divide by 0.
  if (totals.qsos != 0) {
    totals.average_km = static_cast<long long>(
        RoundHalfEven(static_cast<double>(totals.km) / static_cast<double>(totals.qsos)));
  }
  if (totals.odx_km < qso.km) {
    totals.odx_call = qso.call;
    totals.odx_locator = qso.locator;
    totals.odx_km = qso.km;
  }
  return totals;
}

ContestTotals TotalsText(const LogTotals& totals) {
  return ContestTotals{PlainDecimal(totals.qsos),
                       PlainDecimal(totals.km),
                       PlainDecimal(totals.multipliers),
                       PlainDecimal(totals.points),
                       PlainDecimal(totals.average_km),
                       totals.odx_call,
                       totals.odx_locator,
                       DistanceText(totals.odx_km),
                       PlainDecimal(totals.iqrp_qsos),
                       PlainDecimal(totals.mqc_qsos)};
}

LogTotals TotalsOfText(const ContestTotals& texts) {
  return LogTotals{Number(texts.qsos),    Number(texts.km),         Number(texts.multipliers),
                   Number(texts.points),  Number(texts.average_km), texts.odx_call,
                   texts.odx_locator,     Number(texts.odx_km),     Number(texts.iqrp_qsos),
                   Number(texts.mqc_qsos)};
}

std::string SerialText(long long serial) { return ZeroFill(PlainDecimal(serial), 3); }

int ContestLog::Observe(Observer observer) {
  observers_.emplace_back(next_observer_, std::move(observer));
  return next_observer_++;
}

void ContestLog::Forget(int id) {
  std::erase_if(observers_, [id](const auto& o) { return o.first == id; });
}

void ContestLog::Tell(const LogEvent& event) {
  // An observer may forget itself (a window closing) while being told.
  const auto observers = observers_;
  for (const auto& [id, observer] : observers) {
    observer(event);
  }
}

ContestState ContestLog::Head() const {
  ContestState head;
  static_cast<ContestTotals&>(head) = TotalsText(totals_);
  head.serial = SerialText(next_serial_);
  return head;
}

ContestState ContestLog::State() const {
  ContestState state = Head();
  state.qso_list = list_text_;
  state.edi_records = records_text_;
  return state;
}

std::string ContestLog::StateFileText() const { return keldra::StateFileText(Head(), file_lists_); }

bool ContestLog::HasCall(std::string_view call) const {
  return !call.empty() && calls_.find(call) != calls_.end();
}

void ContestLog::Log(const LoggedQso& qso) {
  const QsoFields fields = FieldsOf(qso);
  Entry entry{qso, QsoListLine(fields), EdiRecordLine(fields)};
  AddTexts(entry);
  entries_.push_back(std::move(entry));
  next_serial_ = qso.serial + 1;
  totals_ = WithQso(totals_, qso);
  Tell({LogChange::kLogged, entries_.size() - 1, 1});
}

bool ContestLog::Correct(std::size_t index, const LoggedQso& qso) {
  if (index >= entries_.size() || !entries_[index].qso) {
    return false;
  }
  const QsoFields fields = FieldsOf(qso);
  entries_[index] = Entry{qso, QsoListLine(fields), EdiRecordLine(fields)};
  LogTotals totals;
  for (const Entry& entry : entries_) {
    if (entry.qso) {
      totals = WithQso(totals, *entry.qso);
    }
  }
  totals.qsos = totals_.qsos;  // a correction neither adds nor removes a QSO
  totals_ = totals;
  RebuildTexts();
  Tell({LogChange::kCorrected, index, 1});
  return true;
}

void ContestLog::Load(const StateFileValues& values) {
  const std::size_t first = entries_.size();
  const std::size_t count = std::max(values.qso_list_lines.size(), values.edi_record_lines.size());
  for (std::size_t i = 0; i < count; ++i) {
    Entry entry;
    if (i < values.qso_list_lines.size()) {
      entry.list_line = values.qso_list_lines[i];
    }
    if (i < values.edi_record_lines.size()) {
      entry.record_line = values.edi_record_lines[i];
      const QsoParse record = ParseEdiRecordLine(*entry.record_line);
      if (record.qso) {
        entry.qso = QsoOf(*record.qso);
      }
    }
    if (entry.qso && entry.list_line) {
      entry.qso->band = BandOfListLine(*entry.list_line);
    }
    AddTexts(entry);
    entries_.push_back(std::move(entry));
  }
  if (values.serial) {
    next_serial_ = Number(*values.serial);
  }
  totals_ = TotalsOfText(TotalsRead(values, TotalsText(totals_)));
  Tell({LogChange::kLoaded, first, count});
}

// The entry's lines join both texts, their file form and, with the calls the duplicate check reads
// in its list line, the logged calls.
void ContestLog::AddTexts(const Entry& entry) {
  const std::size_t list_end = list_text_.size();
  AppendLine(list_text_, entry.list_line);
  AppendLine(records_text_, entry.record_line);
  if (entry.list_line) {
    file_lists_.AddQsoListLine(*entry.list_line);
    // Read as ListHasCall reads it: in the list, with its line end.
    AnyLine(std::string_view(list_text_).substr(list_end), [this](std::string_view line) {
      calls_.emplace(CallOfListLine(line));
      return false;
    });
  }
  if (entry.record_line) {
    file_lists_.AddEdiRecordLine(*entry.record_line);
  }
}

void ContestLog::RebuildTexts() {
  list_text_.clear();
  records_text_.clear();
  file_lists_ = {};
  calls_.clear();
  for (const Entry& entry : entries_) {
    AddTexts(entry);
  }
}

}  // namespace keldra

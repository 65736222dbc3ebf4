#include "core/QsoRecord.h"

#include <algorithm>
#include <vector>

#include "core/Text.h"
#include "system/Files.h"

namespace keldra {

namespace {

constexpr std::size_t kCallField = 12;  // callsign plus filler
constexpr std::size_t kLongCall = 11;   // from this length on, no filler at all
constexpr std::size_t kTimeField = 5;   // "hh.mm"
constexpr std::size_t kEdiFields = 15;  // the last four are always empty
constexpr std::string_view kBandUnit = "Mhz";

// The next run of non-blank characters at or after `pos`; `pos` ends after it.
std::string_view NextToken(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') {
    ++pos;
  }
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] != ' ') {
    ++pos;
  }
  return text.substr(start, pos - start);
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') {
    ++pos;
  }
}

QsoParse Refused(std::string problem) { return QsoParse{std::nullopt, std::move(problem)}; }

// The length of the callsign at the start of `token`, the run of non-blanks where a list line's
// callsign begins. A callsign of 11 or more characters has no filler, so the report received
// ("59" in SSB, "599" in CW), "-" and the serial received follow it in the same run.
std::size_t CallLength(std::string_view token, QsoMode mode) {
  if (token.size() < kLongCall) {
    return token.size();
  }
  const std::size_t report = mode == QsoMode::kSsb ? 2 : 3;
  const std::size_t dash = token.rfind('-');
  if (dash == std::string_view::npos || dash < report) {
    return token.size();
  }
  return dash - report;
}

// Positions 0-based in a list line: where the callsign starts, and its mode.
struct CallPlace {
  std::size_t start = 0;
  std::size_t length = 0;
  std::optional<QsoMode> mode;
};

CallPlace FindCall(std::string_view line) {
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    NextToken(line, pos);  // serial, date, time, band
  }
  CallPlace place;
  place.mode = ModeFromText(NextToken(line, pos));
  SkipBlanks(line, pos);
  place.start = pos;
  std::size_t end = pos;
  const std::string_view token = NextToken(line, end);
  place.length = place.mode ? CallLength(token, *place.mode) : token.size();
  return place;
}

}  // namespace

std::optional<QsoMode> ModeFromText(std::string_view text) {
  if (text == "SSB") {
    return QsoMode::kSsb;
  }
  if (text == "CW") {
    return QsoMode::kCw;
  }
  return std::nullopt;
}

std::string ModeText(QsoMode mode) { return mode == QsoMode::kSsb ? "SSB" : "CW"; }

std::string EdiDate(std::string_view list_date) {
  return Mid(list_date, 7, 2) + Mid(list_date, 4, 2) + Mid(list_date, 1, 2);
}

std::string ListDate(std::string_view edi_date) {
  return Mid(edi_date, 5, 2) + "/" + Mid(edi_date, 3, 2) + "/" + Mid(edi_date, 1, 2);
}

std::string EdiTime(std::string_view list_time) {
  if (list_time.size() == 4) {
    return "0" + Mid(list_time, 1, 1) + Mid(list_time, 3, 2);
  }
  return Mid(list_time, 1, 2) + Mid(list_time, 4, 2);
}

std::string ListTime(std::string_view edi_time) {
  return Mid(edi_time, 1, 2) + "." + Mid(edi_time, 3, 2);
}

std::string QsoListLine(const QsoFields& qso) {
  const bool ssb = qso.mode == QsoMode::kSsb;
  std::string line;
  line.reserve(96);
  line += qso.serial_sent;
  line += "   ";
  line += qso.date;
  line += "   ";
  line += qso.time;
  if (qso.time.size() < kTimeField) {
    line.append(kTimeField - qso.time.size(), ' ');
  }
  line += "   ";
  line += qso.band;
  line += kBandUnit;
  line += "   ";
  line += ssb ? "SSB" : "CW ";
  line += "   ";
  line += qso.call;
  if (qso.call.size() < kLongCall) {
    line.append(kCallField - qso.call.size(), ' ');
  }
  line += qso.report_received;
  line += "-";
  line += qso.serial_received;
  line += ssb ? "   " : "  ";  // the locator lines up in both modes
  line += qso.locator;
  line += "   ";
  line += qso.club_code;
  return line;
}

std::string EdiRecordLine(const QsoFields& qso) {
  std::string line;
  line.reserve(64);
  for (const std::string& field :
       {EdiDate(qso.date), EdiTime(qso.time), qso.call,
        std::string(qso.mode == QsoMode::kSsb ? "1" : "0"), qso.report_sent, qso.serial_sent,
        qso.report_received, qso.serial_received, qso.club_code, qso.locator, qso.distance_km}) {
    line += field;
    line += ';';
  }
  line += ";;;";
  return line;
}

QsoParse ParseQsoListLine(std::string_view line) {
  QsoFields qso;
  std::size_t pos = 0;
  qso.serial_sent = NextToken(line, pos);
  qso.date = NextToken(line, pos);
  qso.time = NextToken(line, pos);
  const std::string_view band = NextToken(line, pos);
  if (band.size() < kBandUnit.size() || band.substr(band.size() - kBandUnit.size()) != kBandUnit) {
    return Refused("no band in \"" + std::string(line) + "\"");
  }
  qso.band = band.substr(0, band.size() - kBandUnit.size());
  const CallPlace call = FindCall(line);
  if (!call.mode) {
    return Refused("no mode in \"" + std::string(line) + "\"");
  }
  qso.mode = *call.mode;
  qso.call = line.substr(call.start, call.length);
  pos = call.start + call.length;
  // After the callsign: report, "-", three characters of serial, the locator, the club code.
  SkipBlanks(line, pos);
  const std::size_t dash = line.find('-', pos);
  if (qso.call.empty() || dash == std::string_view::npos) {
    return Refused("no callsign or report in \"" + std::string(line) + "\"");
  }
  qso.report_received = line.substr(pos, dash - pos);
  qso.serial_received = Mid(line, dash + 2, 3);
  pos = std::min(line.size(), dash + 4);
  qso.locator = NextToken(line, pos);
  qso.club_code = NextToken(line, pos);
  if (qso.serial_received.size() != 3 || qso.locator.empty() || !NextToken(line, pos).empty()) {
    return Refused("unexpected columns in \"" + std::string(line) + "\"");
  }
  return QsoParse{std::move(qso), {}};
}

QsoParse ParseEdiRecordLine(std::string_view line) {
  const std::vector<std::string_view> fields = SplitAt(line, ';');
  if (fields.size() != kEdiFields) {
    return Refused("not " + std::to_string(kEdiFields) + " fields in \"" + std::string(line) +
                   "\"");
  }
  for (std::size_t i = 11; i < kEdiFields; ++i) {
    if (!fields[i].empty()) {
      return Refused("closing fields not empty in \"" + std::string(line) + "\"");
    }
  }
  if (fields[3] != "1" && fields[3] != "0") {
    return Refused("no mode code in \"" + std::string(line) + "\"");
  }
  QsoFields qso;
  qso.date = ListDate(fields[0]);
  qso.time = ListTime(fields[1]);
  qso.call = fields[2];
  qso.mode = fields[3] == "1" ? QsoMode::kSsb : QsoMode::kCw;
  qso.report_sent = fields[4];
  qso.serial_sent = fields[5];
  qso.report_received = fields[6];
  qso.serial_received = fields[7];
  qso.club_code = fields[8];
  qso.locator = fields[9];
  qso.distance_km = fields[10];
  return QsoParse{std::move(qso), {}};
}

std::string_view CallOfListLine(std::string_view line) {
  const CallPlace call = FindCall(line);
  return line.substr(call.start, call.length);
}

bool ListHasCall(std::string_view list, std::string_view call) {
  if (call.empty()) {
    return false;
  }
  return AnyLine(list, [call](std::string_view line) {
    // Cheap filter first: most lines do not contain the callsign at all.
    return line.find(call) != std::string_view::npos && CallOfListLine(line) == call;
  });
}

}  // namespace keldra

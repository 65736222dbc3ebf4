#include "export/Adif.h"

#include <array>
#include <utility>

#include "core/Text.h"
#include "export/Edi.h"

namespace keldra {

namespace {

constexpr std::string_view kEol = "\r\n";

// ASCII for the bytes 0x80-0xFF of Windows-1252; empty drops the character.
constexpr std::array<std::string_view, 128> kHighHalf = {
    // 0x80
    "", "", "", "f", "", "...", "", "", "^", "", "S", "", "OE", "", "Z", "",
    // 0x90
    "", "'", "'", "\"", "\"", "", "-", "-", "~", "", "s", "", "oe", "", "z", "Y",
    // 0xA0
    " ", "", "", "", "", "", "|", "", "", "", "", "", "", "", "", "",
    // 0xB0
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    // 0xC0
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    // 0xD0
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    // 0xE0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // 0xF0
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y"};

bool IsLetterIn(char c, char first, char last) {
  const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return upper >= first && upper <= last;
}

// A Maidenhead locator of 4, 6 or 8 characters, as the ADIF's grid square fields take it.
bool IsGridSquare(std::string_view s) {
  if (s.size() != 4 && s.size() != 6 && s.size() != 8) {
    return false;
  }
  if (!IsLetterIn(s[0], 'A', 'R') || !IsLetterIn(s[1], 'A', 'R')) {
    return false;
  }
  if (!IsDigit(s[2]) || !IsDigit(s[3])) {
    return false;
  }
  if (s.size() >= 6 && (!IsLetterIn(s[4], 'A', 'X') || !IsLetterIn(s[5], 'A', 'X'))) {
    return false;
  }
  return s.size() < 8 || (IsDigit(s[6]) && IsDigit(s[7]));
}

int TwoDigits(std::string_view s, std::size_t at) { return (s[at] - '0') * 10 + s[at + 1] - '0'; }

// "yymmdd" naming a real day of 2000-2099.
bool IsRecordDate(std::string_view d) {
  if (d.size() != 6 || !IsAllDigits(d)) {
    return false;
  }
  const int year = 2000 + TwoDigits(d, 0);
  const int month = TwoDigits(d, 2);
  const int day = TwoDigits(d, 4);
  constexpr std::array<int, 12> kDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) {
    return false;
  }
  return month != 2 || day < 29 || year % 4 == 0;  // 2000-2099: every fourth year is leap
}

bool IsRecordTime(std::string_view t) {
  return t.size() == 4 && IsAllDigits(t) && TwoDigits(t, 0) < 24 && TwoDigits(t, 2) < 60;
}

// A whole number without its leading zeros ("005" gives "5", "000" gives "0").
std::string AsNumber(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? "0" : std::string(digits.substr(first));
}

// The power when the whole text (blanks around it aside) is a number, "," or "." as decimal
// point; empty otherwise.
std::string PowerNumber(std::string_view typed) {
  std::string text = Trim(typed);
  std::size_t digits = 0;
  std::size_t points = 0;
  for (char& c : text) {
    if (c == ',') {
      c = '.';
    }
    if (c == '.') {
      ++points;
    } else if (IsDigit(c)) {
      ++digits;
    } else {
      return {};
    }
  }
  if (digits == 0 || points > 1) {
    return {};
  }
  return PlainDecimal(LeadingNumber("0" + text));
}

// What keeps a record line out of the ADIF, or empty when it can go in as it is.
std::string RecordProblem(const QsoFields& q) {
  if (!IsRecordDate(EdiDate(q.date))) {
    return "data non valida \"" + q.date + "\"";
  }
  if (!IsRecordTime(EdiTime(q.time))) {
    return "ora non valida \"" + q.time + "\"";
  }
  if (AdifAscii(q.call).empty()) {
    return "nominativo mancante";
  }
  if (!IsGridSquare(q.locator)) {
    return "locatore non valido \"" + q.locator + "\"";
  }
  if (!IsAllDigits(q.serial_sent)) {
    return "numero inviato non valido \"" + q.serial_sent + "\"";
  }
  if (!IsAllDigits(q.serial_received)) {
    return "numero ricevuto non valido \"" + q.serial_received + "\"";
  }
  if (!IsAllDigits(q.distance_km)) {
    return "distanza non valida \"" + q.distance_km + "\"";
  }
  return {};
}

void Field(std::string& out, std::string_view name, std::string_view ascii) {
  if (ascii.empty()) {
    return;
  }
  out += '<';
  out += name;
  out += ':';
  out += std::to_string(ascii.size());
  out += '>';
  out += ascii;
  out += ' ';
}

std::string Timestamp(const DateTime& t) {
  auto two = [](int n) { return ZeroFill(std::to_string(n), 2); };
  return ZeroFill(std::to_string(t.year), 4) + two(t.month) + two(t.day) + " " + two(t.hour) +
         two(t.minute) + two(t.second);
}

}  // namespace

std::string AdifAscii(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      out += kHighHalf[byte - 0x80];
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    }
  }
  return out;
}

AdifQsos AdifQsosFromRecords(std::string_view records) {
  AdifQsos result;
  std::size_t number = 0;
  for (std::string_view line : SplitAt(records, '\n')) {
    ++number;
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    if (line.empty()) {
      continue;
    }
    const std::string where = "riga " + std::to_string(number);
    QsoParse parsed = ParseEdiRecordLine(line);
    if (!parsed.qso) {
      result.problems.push_back(where + ": non e' un QSO \"" + AdifAscii(line) + "\"");
      continue;
    }
    if (const std::string problem = RecordProblem(*parsed.qso); !problem.empty()) {
      std::string reported = where;
      reported.append(" (").append(parsed.qso->call).append("): ").append(problem);
      result.problems.push_back(std::move(reported));
      continue;
    }
    result.qsos.push_back(AdifQso{std::move(*parsed.qso), {}});
  }
  return result;
}

std::string AdifLogText(const AdifStation& station, std::span<const AdifQso> qsos,
                        const DateTime& created_utc) {
  std::string out;
  out.reserve(256 + qsos.size() * 320);
  out += "ADIF log of the Keldra VHF QRP Test";
  out += kEol;
  auto header_field = [&out](std::string_view name, std::string_view value) {
    Field(out, name, value);
    out.back() = '\r';
    out += '\n';
  };
  header_field("ADIF_VER", kAdifVersion);
  header_field("CREATED_TIMESTAMP", Timestamp(created_utc));
  header_field("PROGRAMID", kAdifProgramId);
  header_field("PROGRAMVERSION", kAdifProgramVersion);
  out += "<EOH>";
  out += kEol;

  const std::string own_call = AdifAscii(station.callsign);
  const std::string operator_call =
      station.operator_call.empty() ? own_call : AdifAscii(station.operator_call);
  const std::string own_locator = IsGridSquare(station.locator) ? station.locator : "";
  const std::string power = PowerNumber(station.power);
  for (const AdifQso& qso : qsos) {
    const QsoFields& q = qso.fields;
    Field(out, "CALL", AdifAscii(q.call));
    Field(out, "QSO_DATE", "20" + EdiDate(q.date));
    Field(out, "TIME_ON", EdiTime(q.time));
    Field(out, "BAND", kAdifBand);
    Field(out, "FREQ", AdifAscii(qso.freq_mhz));
    Field(out, "MODE", ModeText(q.mode));
    Field(out, "RST_SENT", AdifAscii(q.report_sent));
    Field(out, "RST_RCVD", AdifAscii(q.report_received));
    if (IsAllDigits(q.serial_sent)) {
      Field(out, "STX", AsNumber(q.serial_sent));
    }
    if (IsAllDigits(q.serial_received)) {
      Field(out, "SRX", AsNumber(q.serial_received));
    }
    Field(out, "SRX_STRING", AdifAscii(q.club_code));
    if (IsGridSquare(q.locator)) {
      Field(out, "GRIDSQUARE", q.locator);
    }
    if (IsAllDigits(q.distance_km)) {
      Field(out, "DISTANCE", AsNumber(q.distance_km));
    }
    Field(out, "MY_GRIDSQUARE", own_locator);
    Field(out, "STATION_CALLSIGN", own_call);
    Field(out, "OPERATOR", operator_call);
    Field(out, "TX_PWR", power);
    Field(out, "CONTEST_ID", kAdifContestId);
    out += "<EOR>";
    out += kEol;
  }
  return out;
}

std::string AdifFileName(std::string_view category, std::string_view callsign) {
  if (const auto edi = EdiFileName(category, callsign)) {
    return edi->substr(0, edi->size() - 4) + ".adi";
  }
  return std::string(callsign) + ".adi";
}

}  // namespace keldra

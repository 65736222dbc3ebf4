#include "export/ContactInfo.h"

#include <cmath>
#include <utility>
#include <vector>

#include "core/QsoRecord.h"
#include "core/Text.h"
#include "system/CodePage.h"

namespace keldra {
namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : Cp1252ToUtf8(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// "dd/mm/yy" and "hh.mm" as "20yy-mm-dd hh:mm:00" (the contest is this century's).
std::string Timestamp(const LoggedQso& qso) {
  const std::string date = EdiDate(qso.date);  // yymmdd
  const std::string time = EdiTime(qso.time);  // hhmm
  return "20" + Mid(date, 1, 2) + "-" + Mid(date, 3, 2) + "-" + Mid(date, 5, 2) + " " +
         Mid(time, 1, 2) + ":" + Mid(time, 3, 2) + ":00";
}

}  // namespace

std::string ContactInfoXml(const LoggedQso& qso, const ContactInfoStation& station) {
  // Tens of hertz, as the broadcaster counts them; nothing known is 0.
  const std::string frequency =
      station.frequency_hz && *station.frequency_hz > 0
          ? PlainDecimal(static_cast<long long>(std::llround(*station.frequency_hz / 10)))
          : "0";
  const bool member = !qso.club_code.empty();
  const long long points = WithQso(LogTotals{}, qso).points;
  const std::vector<std::pair<const char*, std::string>> fields = {
      {"app", "KeldraQRP"},
      {"contestname", "KELDRA-VHF-QRP"},
      {"contestnr", "1"},
      {"timestamp", Timestamp(qso)},
      {"mycall", station.call},
      {"band", qso.band},
      {"rxfreq", frequency},
      {"txfreq", frequency},
      {"operator", station.call},
      {"mode", qso.mode == QsoMode::kCw ? "CW" : "USB"},
      {"call", qso.call},
      {"countryprefix", ""},
      {"wpxprefix", ""},
      {"stationprefix", ""},
      {"continent", ""},
      {"snt", qso.report_sent},
      {"sntnr", PlainDecimal(qso.serial)},
      {"rcv", qso.report_received},
      {"rcvnr", qso.serial_received},
      {"gridsquare", qso.locator},
      {"exchange1", qso.club_code},
      {"section", ""},
      {"comment", ""},
      {"qth", ""},
      {"name", ""},
      {"power", ""},
      {"misctext", ""},
      {"zone", "0"},
      {"prec", ""},
      {"ck", "0"},
      {"ismultiplier1", member ? "1" : "0"},
      {"ismultiplier2", "0"},
      {"ismultiplier3", "0"},
      {"points", PlainDecimal(points)},
      {"radionr", "1"},
      {"RoverLocation", ""},
      {"RadioInterfaced", station.frequency_hz ? "1" : "0"},
      {"NetworkedCompNr", "0"},
      {"IsOriginal", "True"},
      {"NetBiosName", ""},
      {"IsRunQSO", "0"},
      {"StationName", ""},
      // The same QSO keeps its ID when it is corrected, so a listener replaces it.
      {"ID", "keldra-" + PlainDecimal(qso.serial)},
      {"IsClaimedQso", "True"},
  };
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<contactinfo>\n";
  for (const auto& [name, value] : fields) {
    xml += "\t<" + std::string(name) + ">" + Escaped(value) + "</" + name + ">\n";
  }
  xml += "</contactinfo>\n";
  return xml;
}

}  // namespace keldra

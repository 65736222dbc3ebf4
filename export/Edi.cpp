#include "export/Edi.h"

#include <algorithm>
#include <array>

#include "core/Text.h"

namespace keldra {

namespace {

constexpr std::string_view kEol = "\r\n";

constexpr std::array<EdiCategory, 3> kCategories = {{
    {"0,5 watt", 0.5, "01", "01-"},
    {"3 watt", 3, "02", "02-"},
    {"5 watt", 5, "03", "03-"},
}};

// The program's own data files: an EDI log written over one of them would destroy the contest
// or the station data.
constexpr std::array<std::string_view, 6> kProgramFiles = {
    "parziale.db", "backup.db", "config.txt", "iqrp.txt", "mqc.txt", "keldra_qrp_statistiche.txt"};

// Line ends inside a multi-line field made CR LF, whatever the field held (LF, CR or CR LF).
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += kEol;
      if (i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else if (text[i] == '\n') {
      out += kEol;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsForbiddenInFileName(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20) {
    return true;
  }
  return std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9: Windows opens the device whatever the extension (and
// blanks before it), so the log would vanish while the save is reported as done.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  stem = stem.substr(0, stem.find_last_not_of(' ') + 1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
    if (SameNameIgnoringCase(stem, device)) {
      return true;
    }
  }
  return stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9' &&
         (SameNameIgnoringCase(stem.substr(0, 3), "COM") ||
          SameNameIgnoringCase(stem.substr(0, 3), "LPT"));
}

}  // namespace

std::span<const EdiCategory> EdiCategories() { return kCategories; }

const EdiCategory* FindEdiCategory(std::string_view text) {
  for (const EdiCategory& category : kCategories) {
    if (category.text == text) {
      return &category;
    }
  }
  return nullptr;
}

double PowerWatts(std::string_view power) {
  std::string with_point(power);
  std::replace(with_point.begin(), with_point.end(), ',', '.');
  return LeadingNumber(with_point);
}

std::optional<std::string> PowerRefusal(std::string_view category, std::string_view power) {
  const EdiCategory* chosen = FindEdiCategory(category);
  if (chosen == nullptr || PowerWatts(power) <= chosen->limit_watts) {
    return std::nullopt;
  }
  return "La massima potenza consentita in questa categoria e' di " + std::string(chosen->text) +
         "... cambiare la categoria";
}

std::string EdiLogText(const EdiHeader& h, const EdiTotals& t) {
  std::string out;
  out.reserve(1024 + h.records.size() + h.comments.size());
  auto line = [&out](std::string_view key, std::string_view value = {}) {
    out += key;
    out += value;
    out += kEol;
  };
  const std::string day = Mid(h.date, 7, 4) + Mid(h.date, 4, 2) + Mid(h.date, 1, 2);
  std::string exchange;
  if (!t.iqrp_number.empty()) {
    exchange = "I" + t.iqrp_number;
  } else if (!t.mqc_number.empty()) {
    exchange = "M" + t.mqc_number;
  }

  line("[REG1TEST;1]");
  line("TName=KELDRA VHF QRP Contest 20", Mid(t.entry_date, 7, 2));
  line("TDate=", day + ";" + day);
  line("PCall=", h.callsign);
  line("PWWLo=", h.locator);
  line("PExch=", exchange);
  line("PAdr1=", h.address);
  line("PAdr2=");
  if (const EdiCategory* category = FindEdiCategory(h.category)) {
    line("PSect=", category->section);
  }
  line("PBand=144 MHz");
  line("PClub=", h.club);
  line("RName=", h.name);
  line("RCall=", h.callsign);
  line("RAdr1=", h.address);
  line("RAdr2=");
  line("RPoCo=", h.postcode);
  line("RCity=", h.city);
  line("RCoun=", h.country);
  line("RPhon=", h.phone);
  line("RHBBS=", h.email);
  line("MOpe1=", h.operators);
  line("MOpe2=");
  line("STXeq=", h.transmitter);
  line("SPowe=", h.power);
  line("SRXeq=", h.receiver);
  line("SAnte=", h.antennas);
  line("SAntH=", h.antenna_height + ";" + h.altitude);
  line("CQSOs=", t.qsos + ";" + t.multipliers);
  line("CQSOP=", t.km);
  line("CWWLs=0;0;0");
  line("CWWLB=0");
  line("CExcs=", t.qsos + ";" + t.km + ";" + t.multipliers);
  line("CExcB=", t.points);
  line("CDXCs=1;0;0");
  line("CDXCB=", PlainDecimal(LeadingNumber(t.points) - LeadingNumber(t.km)));
  line("CToSc=", t.points);
  line("CODXC=", t.odx_call + ";" + t.odx_locator + ";" + t.odx_km);
  line("[Remarks]");
  if (!h.comments.empty()) {
    line(WithCrLf(h.comments));
  }
  line("[QSORecords;", t.qsos + "]");
  out += h.records;
  // A record list whose last line lost its end would glue the END line to the last QSO.
  if (!h.records.empty() && !h.records.ends_with(kEol)) {
    if (h.records.ends_with('\r') || h.records.ends_with('\n')) {
      out.pop_back();
    }
    out += kEol;
  }
  line("[END; Created with Keldra QRP Test by QX0ZZA]");
  return out;
}

std::optional<std::string> EdiFileName(std::string_view category, std::string_view callsign) {
  const EdiCategory* chosen = FindEdiCategory(category);
  if (chosen == nullptr) {
    return std::nullopt;
  }
  return std::string(chosen->prefix) + std::string(callsign) + ".edi";
}

SafeName MakeSafeFileName(std::string_view name) {
  SafeName result;
  result.name.reserve(name.size());
  for (char c : name) {
    result.name += IsForbiddenInFileName(c) ? '_' : c;
  }
  // Windows drops trailing dots and blanks: the name shown is the name the file gets.
  result.name.erase(result.name.find_last_not_of(". ") + 1);
  if (result.name.empty()) {
    result.refusal = "Il nome del Log non e' valido: scrivere il nome del file da salvare";
    return result;
  }
  for (std::string_view own : kProgramFiles) {
    if (SameNameIgnoringCase(result.name, own)) {
      result.refusal = "Il nome " + result.name +
                       " e' quello di un file del programma: scegliere un altro nome per il Log";
      return result;
    }
  }
  if (IsDeviceName(result.name)) {
    result.refusal =
        "Il nome " + result.name + " e' riservato dal sistema: scegliere un altro nome per il Log";
  }
  return result;
}

}  // namespace keldra

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/Edi.h"

namespace keldra {
namespace {

// A three-QSO contest: one I-QRP member at 523 km (doubled), a CW QSO and a plain one.
constexpr const char* kRecords =
    "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n"
    "230716;0832;QX2DEF;0;59;002;59;007;;JN72KL;410;;;;\r\n"
    "230716;0901;QX3GHI;1;59;003;59;021;;JN64AB;113;;;;\r\n";

EdiHeader Header() {
  EdiHeader h;
  h.callsign = "QX0ABC";
  h.locator = "JN61FV";
  h.category = "0,5 watt";
  h.date = "16/07/2023";
  h.name = "Nicol\xF2 Bianchi";
  h.address = "Via Roma 1";
  h.postcode = "00100";
  h.city = "Citt\xE0 Alta";
  h.country = "Italia";
  h.phone = "0612345";
  h.email = "qx0abc@example.org";
  h.operators = "QX0ABC";
  h.club = "ARI";
  h.receiver = "FT-817";
  h.transmitter = "FT-817";
  h.antennas = "Yagi 9el";
  h.power = "0,5";
  h.antenna_height = "10";
  h.altitude = "850";
  h.records = kRecords;
  return h;
}

EdiTotals Totals() {
  EdiTotals t;
  t.entry_date = "16/07/23";
  t.qsos = "3";
  t.km = "1046";
  t.multipliers = "3";
  t.points = "1569";
  t.odx_call = "QX1ABC";
  t.odx_locator = "JN81GD";
  t.odx_km = " 523";
  t.iqrp_number = "045";
  t.mqc_number = "";
  return t;
}

// The lines of a file text; fails the test when a line does not end with CR LF.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF: " << text.substr(start);
      break;
    }
    const std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare line end in: " << line;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

// The line that starts with `key`, or "<missing>".
std::string LineOf(const std::string& text, const std::string& key) {
  for (const std::string& line : Lines(text)) {
    if (line.starts_with(key)) {
      return line;
    }
  }
  return "<missing>";
}

TEST(EdiLogText, ThreeQsoContestByteForByte) {
  const std::string expected =
      "[REG1TEST;1]\r\n"
      "TName=KELDRA VHF QRP Contest 2023\r\n"
      "TDate=20230716;20230716\r\n"
      "PCall=QX0ABC\r\n"
      "PWWLo=JN61FV\r\n"
      "PExch=I045\r\n"
      "PAdr1=Via Roma 1\r\n"
      "PAdr2=\r\n"
      "PSect=01\r\n"
      "PBand=144 MHz\r\n"
      "PClub=ARI\r\n"
      "RName=Nicol\xF2 Bianchi\r\n"
      "RCall=QX0ABC\r\n"
      "RAdr1=Via Roma 1\r\n"
      "RAdr2=\r\n"
      "RPoCo=00100\r\n"
      "RCity=Citt\xE0 Alta\r\n"
      "RCoun=Italia\r\n"
      "RPhon=0612345\r\n"
      "RHBBS=qx0abc@example.org\r\n"
      "MOpe1=QX0ABC\r\n"
      "MOpe2=\r\n"
      "STXeq=FT-817\r\n"
      "SPowe=0,5\r\n"
      "SRXeq=FT-817\r\n"
      "SAnte=Yagi 9el\r\n"
      "SAntH=10;850\r\n"
      "CQSOs=3;3\r\n"
      "CQSOP=1046\r\n"
      "CWWLs=0;0;0\r\n"
      "CWWLB=0\r\n"
      "CExcs=3;1046;3\r\n"
      "CExcB=1569\r\n"
      "CDXCs=1;0;0\r\n"
      "CDXCB=523\r\n"
      "CToSc=1569\r\n"
      "CODXC=QX1ABC;JN81GD; 523\r\n"
      "[Remarks]\r\n"
      "[QSORecords;3]\r\n"
      "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n"
      "230716;0832;QX2DEF;0;59;002;59;007;;JN72KL;410;;;;\r\n"
      "230716;0901;QX3GHI;1;59;003;59;021;;JN64AB;113;;;;\r\n"
      "[END; Created with Keldra QRP Test by QX0ZZA]\r\n";
  EXPECT_EQ(EdiLogText(Header(), Totals()), expected);
}

TEST(EdiLogText, ExchangeFromTheStationsClubNumbers) {
  struct Case {
    const char* name;
    const char* iqrp;
    const char* mqc;
    const char* line;
  };
  const Case cases[] = {
      {"iqrp_only", "045", "", "PExch=I045"},
      {"mqc_only", "", "123", "PExch=M123"},
      {"both_iqrp_wins", "045", "123", "PExch=I045"},
      {"neither_empty", "", "", "PExch="},
      {"blank_iqrp_is_not_empty", " ", "123", "PExch=I "},
  };
  for (const Case& c : cases) {
    EdiTotals t = Totals();
    t.iqrp_number = c.iqrp;
    t.mqc_number = c.mqc;
    EXPECT_EQ(LineOf(EdiLogText(Header(), t), "PExch="), c.line) << c.name;
  }
}

TEST(EdiLogText, SectionByCategoryAndMissingForAnotherText) {
  struct Case {
    const char* category;
    const char* line;
  };
  const Case cases[] = {
      {"0,5 watt", "PSect=01"}, {"3 watt", "PSect=02"},     {"5 watt", "PSect=03"},
      {"3 Watt", "<missing>"},  {"0,5 watt ", "<missing>"}, {"", "<missing>"},
  };
  for (const Case& c : cases) {
    EdiHeader h = Header();
    h.category = c.category;
    const std::string text = EdiLogText(h, Totals());
    EXPECT_EQ(LineOf(text, "PSect="), c.line) << "[" << c.category << "]";
    // PBand always follows PAdr2 (and PSect when there is one).
    EXPECT_EQ(Lines(text).size(), std::string(c.line) == "<missing>" ? 42u : 43u);
  }
}

TEST(EdiLogText, DatesByCharacterPosition) {
  struct Case {
    const char* name;
    const char* entry_date;
    const char* header_date;
    const char* tname;
    const char* tdate;
  };
  const Case cases[] = {
      {"usual", "16/07/23", "16/07/2023", "TName=KELDRA VHF QRP Contest 2023",
       "TDate=20230716;20230716"},
      {"empty_dates", "", "", "TName=KELDRA VHF QRP Contest 20", "TDate=;"},
      {"month_first_layout", "7/16/23", "7/16/2023", "TName=KELDRA VHF QRP Contest 203",
       "TDate=0236/7/;0236/7/"},
  };
  for (const Case& c : cases) {
    EdiHeader h = Header();
    h.date = c.header_date;
    EdiTotals t = Totals();
    t.entry_date = c.entry_date;
    const std::string text = EdiLogText(h, t);
    EXPECT_EQ(LineOf(text, "TName="), c.tname) << c.name;
    EXPECT_EQ(LineOf(text, "TDate="), c.tdate) << c.name;
  }
}

TEST(EdiLogText, ClubBonusIsPointsLessKm) {
  struct Case {
    const char* points;
    const char* km;
    const char* line;
  };
  const Case cases[] = {
      {"1569", "1046", "CDXCB=523"}, {"1046", "1046", "CDXCB=0"},  {"0", "0", "CDXCB=0"},
      {" 200", "100", "CDXCB=100"},  {"100", "250", "CDXCB=-150"}, {"abc", "", "CDXCB=0"},
  };
  for (const Case& c : cases) {
    EdiTotals t = Totals();
    t.points = c.points;
    t.km = c.km;
    EXPECT_EQ(LineOf(EdiLogText(Header(), t), "CDXCB="), c.line) << c.points << " " << c.km;
  }
}

TEST(EdiLogText, RemarksBlockOnlyWithComments) {
  struct Case {
    const char* name;
    const char* comments;
    const char* between;  // what stands between [Remarks] and [QSORecords;3]
  };
  const Case cases[] = {
      {"none", "", ""},
      {"one_line", "Bel contest", "Bel contest\r\n"},
      {"crlf_lines", "Bel contest\r\nGrazie", "Bel contest\r\nGrazie\r\n"},
      {"lf_lines_made_crlf", "Bel contest\nGrazie", "Bel contest\r\nGrazie\r\n"},
      {"ends_with_line_end", "Grazie\r\n", "Grazie\r\n\r\n"},
  };
  for (const Case& c : cases) {
    EdiHeader h = Header();
    h.comments = c.comments;
    const std::string text = EdiLogText(h, Totals());
    const std::string expected =
        "[Remarks]\r\n" + std::string(c.between) + "[QSORecords;3]\r\n230716;0815;";
    EXPECT_NE(text.find(expected), std::string::npos) << c.name << "\n" << text;
  }
}

TEST(EdiLogText, RecordsAppendedUnchangedBeforeTheEndLine) {
  struct Case {
    const char* name;
    std::string records;
    std::string tail;
  };
  const std::string end = "[END; Created with Keldra QRP Test by QX0ZZA]\r\n";
  const Case cases[] = {
      {"three_records", kRecords, "[QSORecords;3]\r\n" + std::string(kRecords) + end},
      {"none", "", "[QSORecords;3]\r\n" + end},
      {"semicolon_values_untouched", "a;;b;\r\n", "[QSORecords;3]\r\na;;b;\r\n" + end},
      {"last_line_end_lost", "230716;0815;QX1ABC;1;59;001;59;012;;JN81GD;523;;;;",
       "[QSORecords;3]\r\n230716;0815;QX1ABC;1;59;001;59;012;;JN81GD;523;;;;\r\n" + end},
      {"last_line_bare_lf", "a;\n", "[QSORecords;3]\r\na;\r\n" + end},
  };
  for (const Case& c : cases) {
    EdiHeader h = Header();
    h.records = c.records;
    const std::string text = EdiLogText(h, Totals());
    EXPECT_TRUE(text.ends_with(c.tail)) << c.name << "\n" << text;
  }
}

TEST(PowerRefusal, ByCategoryLimit) {
  struct Case {
    const char* name;
    const char* category;
    const char* power;
    const char* refusal;  // null: passes
  };
  const char* half =
      "La massima potenza consentita in questa categoria e' di 0,5 watt... cambiare "
      "la categoria";
  const char* three =
      "La massima potenza consentita in questa categoria e' di 3 watt... cambiare "
      "la categoria";
  const char* five =
      "La massima potenza consentita in questa categoria e' di 5 watt... cambiare "
      "la categoria";
  const Case cases[] = {
      {"half_0.5_passes", "0,5 watt", "0.5", nullptr},
      {"half_0,5_passes", "0,5 watt", "0,5", nullptr},
      {"half_0,6_refused", "0,5 watt", "0,6", half},
      {"half_0.51_refused", "0,5 watt", "0.51", half},
      {"half_1_refused", "0,5 watt", "1", half},
      {"half_empty_passes", "0,5 watt", "", nullptr},
      {"half_blank_then_0,4_passes", "0,5 watt", " 0,4 W", nullptr},
      {"three_3_passes", "3 watt", "3", nullptr},
      {"three_3.1_refused", "3 watt", "3.1", three},
      {"three_3,1_refused", "3 watt", "3,1", three},
      {"five_5_passes", "5 watt", "5", nullptr},
      {"five_6_refused", "5 watt", "6 watt", five},
      {"other_category_never_refused", "10 watt", "100", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> refusal = PowerRefusal(c.category, c.power);
    if (c.refusal == nullptr) {
      EXPECT_FALSE(refusal.has_value()) << c.name << ": " << refusal.value_or("");
    } else {
      EXPECT_EQ(refusal.value_or("<passed>"), c.refusal) << c.name;
    }
  }
}

TEST(EdiFileName, PrefixCallsignExtension) {
  EXPECT_EQ(EdiFileName("0,5 watt", "QX0ABC").value_or("-"), "01-QX0ABC.edi");
  EXPECT_EQ(EdiFileName("3 watt", "QX0ABC/P").value_or("-"), "02-QX0ABC/P.edi");
  EXPECT_EQ(EdiFileName("5 watt", "").value_or("-"), "03-.edi");
  EXPECT_FALSE(EdiFileName("7 watt", "QX0ABC").has_value());
}

TEST(MakeSafeFileName, ReplacesForbiddenCharactersAndRefusesEmptyOrOwnFiles) {
  struct Case {
    const char* name;
    std::string input;
    const char* safe;  // null: refused
  };
  const Case cases[] = {
      {"plain", "01-QX0ABC.edi", "01-QX0ABC.edi"},
      {"portable_slash", "01-QX0ABC/P.edi", "01-QX0ABC_P.edi"},
      {"short_with_slash", "a/b", "a_b"},
      {"parent_folder", "../x", ".._x"},
      {"backslash_parent", "..\\x", ".._x"},
      {"every_forbidden", "a/\\:*?\"<>|b", "a_________b"},
      {"control_character", std::string("a\tb\x01", 4), "a_b_"},
      {"accent_kept", "Citt\xE0.edi", "Citt\xE0.edi"},
      {"empty_refused", "", nullptr},
      {"dot_refused", ".", nullptr},
      {"dot_dot_refused", "..", nullptr},
      {"blanks_and_dots_refused", " . ", nullptr},
      {"state_file_refused", "parziale.db", nullptr},
      {"state_file_other_case_refused", "PARZIALE.DB", nullptr},
      {"station_file_refused", "config.txt", nullptr},
      {"state_file_lookalike_allowed", "parziale.db.edi", "parziale.db.edi"},
      // Windows drops trailing dots and blanks, so "parziale.db." would be the state file.
      {"trailing_dots_and_blanks_dropped", "01-QX0ABC.edi. .", "01-QX0ABC.edi"},
      {"state_file_with_trailing_dot_refused", "parziale.db.", nullptr},
      {"state_file_with_trailing_blank_refused", "backup.db ", nullptr},
      // Device names swallow what is written, and the save would be reported as done.
      {"device_name_refused", "NUL", nullptr},
      {"device_name_with_extension_refused", "con.edi", nullptr},
      {"device_name_with_blank_refused", "COM1 .edi", nullptr},
      {"device_like_name_allowed", "CONTEST.edi", "CONTEST.edi"},
      {"lpt_without_digit_allowed", "LPT.edi", "LPT.edi"},
  };
  for (const Case& c : cases) {
    const SafeName safe = MakeSafeFileName(c.input);
    if (c.safe == nullptr) {
      EXPECT_FALSE(safe.ok()) << c.name << " gave " << safe.name;
    } else {
      EXPECT_TRUE(safe.ok()) << c.name << ": " << safe.refusal;
      EXPECT_EQ(safe.name, c.safe) << c.name;
    }
  }
}

}  // namespace
}  // namespace keldra

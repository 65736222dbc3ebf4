// The readers of the history sources over the lines that occur in them (ours and other loggers'
// EDI logs, both list formats, damaged lines), and the loader over a program folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/QsoRecord.h"
#include "data/HistoryFiles.h"
#include "export/Edi.h"
#include "tests/TestSupport.h"

namespace keldra {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

struct ReadCase {
  const char* name;
  HistoryFormat format;
  std::string bytes;
  std::vector<HistoryEntry> entries;
  std::size_t skipped;
};

class Readers : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Readers, TakeGoodLinesAndCountTheBrokenOnes) {
  const ReadCase& c = GetParam();
  const HistoryRead read = ReadHistory(c.format, c.bytes);
  EXPECT_EQ(read.entries, c.entries);
  EXPECT_EQ(read.skipped, c.skipped);
}

constexpr auto kEdi = HistoryFormat::kEdi;
constexpr auto kBlank = HistoryFormat::kBlankList;
constexpr auto kComma = HistoryFormat::kCommaList;

INSTANTIATE_TEST_SUITE_P(
    History, Readers,
    ::testing::Values(
        ReadCase{"OtherLoggersEdi_FieldsFrom10On_OnlyTheRecordsSection",
                 kEdi,
                 "[REG1TEST;1]\r\nTDate=20220702;20220703\r\nPCall=QX9ZZ\r\n[Remarks]\r\n"
                 "220702;0815;QX0AAA;1;59;001;59;001;;JN00AA;1;;;;\r\n"
                 "[QSORecords;4]\r\n"
                 "220702;1402;QX1ABC;1;59;001;59;017;;JN61AB;412;;N;N;\r\n"
                 "220703;0601;QX2DEF;2;599;002;599;003;;jn52cd\r\n"
                 "\r\n"
                 "220703;0602;QX3GHI;1;59;003;59;004;;JN52\r\n"
                 "220703;0603;QX4JKL;1;59;004;59;005;JN45AB;\r\n"
                 "[END; other logger]\r\n"
                 "220703;0604;QX5MNO;1;59;005;59;006;;JN45AB;1;;;;\r\n",
                 {{"QX1ABC", "JN61AB", 20220702}, {"QX2DEF", "JN52CD", 20220703}},
                 2},
        ReadCase{"BareRecordList_LfEnds_LastLineWithoutEnd",
                 kEdi,
                 "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\n"
                 "230716;0816;QX2AB/P;0;599;002;599;013;;JN70AA;12;;;;",
                 {{"QX1ABC", "JN81GD", 20230716}, {"QX2AB/P", "JN70AA", 20230716}},
                 0},
        ReadCase{"EdiDates_EightDigits_Nineties_UnreadableIsUndated",
                 kEdi,
                 "20190512;0815;QX1ABC;1;59;001;59;012;;JN81GD\r\n"
                 "990512;0815;QX2ABC;1;59;001;59;012;;JN81GD\r\n"
                 "231372;0815;QX3ABC;1;59;001;59;012;;JN81GD\r\n",
                 {{"QX1ABC", "JN81GD", 20190512},
                  {"QX2ABC", "JN81GD", 19990512},
                  {"QX3ABC", "JN81GD", 0}},
                 0},
        ReadCase{"EdiBadCallsAndLocators",
                 kEdi,
                 "230716;0815;;1;59;001;59;012;;JN81GD\r\n"
                 "230716;0815;QXABC;1;59;001;59;012;;JN81GD\r\n"
                 "230716;0815;QX 1A;1;59;001;59;012;;JN81GD\r\n"
                 "230716;0815;QX1ABC;1;59;001;59;012;;SN81GD\r\n"
                 "230716;0815;QX1ABC;1;59;001;59;012;;JN81GZ\r\n"
                 "230716;0815;QX1ABC;1;59;001;59;012;;JN8AGD\r\n"
                 "\xFF\xFE;\x01;\x80\r\n",
                 {},
                 7},
        ReadCase{"BlankList_DatesTabsAndAnything",
                 kBlank,
                 "\xEF\xBB\xBFQX1ABC JN61AB 20230716 worked from the hill\r\n"
                 "qx2def\tjn52cd\r\n"
                 "  QX3GHI   JN45AB   Mario\r\n"
                 "QX4JKL JN45AB 20231340\r\n"
                 "\r\n   \r\n"
                 "QX5MNO\r\n"
                 "QX6PQR JN45\r\n",
                 {{"QX1ABC", "JN61AB", 20230716},
                  {"QX2DEF", "JN52CD", 0},
                  {"QX3GHI", "JN45AB", 0},
                  {"QX4JKL", "JN45AB", 0}},
                 2},
        ReadCase{"CommaList_NameLineQuotesAndMoreFields",
                 kComma,
                 ",Lista VHF 2023\r\n"
                 "QX1ABC,JN61AB,Mario,144\r\n"
                 "\"QX2DEF\", \"jn52cd\"\r\n"
                 ",JN45AB\r\n"
                 "QX3GHI\r\n"
                 "QX4JKL,\r\n",
                 {{"QX1ABC", "JN61AB", 0}, {"QX2DEF", "JN52CD", 0}},
                 3},
        ReadCase{"CommaList_FirstLineIsACall",
                 kComma,
                 "QX1ABC,JN61AB\nQX2DEF,JN52CD",
                 {{"QX1ABC", "JN61AB", 0}, {"QX2DEF", "JN52CD", 0}},
                 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HistoryFormats, FromTheFileName) {
  struct Case {
    const char* name;
    std::optional<HistoryFormat> format;
  };
  const Case cases[] = {{"C_W", kBlank},           {"c_w", kBlank},
                        {"vhf.CW", kBlank},        {"soci.csv", kComma},
                        {"lista.CSL", kComma},     {"2022.edi", kEdi},
                        {"QX1ABC.EDI", kEdi},      {"note.txt", std::nullopt},
                        {"C_W.txt", std::nullopt}, {"edi", std::nullopt}};
  for (const Case& c : cases) {
    EXPECT_EQ(HistoryFormatOf(c.name), c.format) << c.name;
  }
}

// An EDI log as this program writes it, with two QSOs of the 2022 contest.
std::string OurEdiLog() {
  QsoFields first;
  first.serial_sent = "001";
  first.date = "17/07/22";
  first.time = "07.05";
  first.call = "QX1ABC";
  first.report_sent = first.report_received = "59";
  first.serial_received = "004";
  first.locator = "JN61AB";
  first.distance_km = "412";
  QsoFields second = first;
  second.serial_sent = "002";
  second.call = "QX2DEF/P";
  second.mode = QsoMode::kCw;
  second.club_code = "I007";
  second.locator = "JN52CD";
  EdiHeader header;
  header.callsign = "QX0ZZA";
  header.locator = "JN81GD";
  header.date = "17/07/2022";
  header.comments = "[note]\r\n220717;0705;QX9ZZZ;1;59;001;59;004;;JN00AA;1;;;;";
  header.records = EdiRecordLine(first) + "\r\n" + EdiRecordLine(second) + "\r\n";
  EdiTotals totals;
  totals.entry_date = "17/07/22";
  totals.qsos = "2";
  return EdiLogText(header, totals);
}

TEST(HistoryEdi, OurOwnLogGivesItsQsosAndNothingOfItsHeader) {
  const HistoryRead read = ReadEdiLog(OurEdiLog());
  EXPECT_EQ(read.entries, (std::vector<HistoryEntry>{{"QX1ABC", "JN61AB", 20220717},
                                                     {"QX2DEF/P", "JN52CD", 20220717}}));
  EXPECT_EQ(read.skipped, 0u);
}

class UnreadableFile : public Files {
 protected:
  std::error_code InjectRead(const fs::path& path) const override {
    return path.filename() == "rotto.csv" ? std::make_error_code(std::errc::permission_denied)
                                          : std::error_code();
  }
};

TEST(HistoryLoad, ReadsTheProgramFolderAndStoricoInNameOrder) {
  TempFolder folder;
  const fs::path storico = folder / "storico";
  fs::create_directories(storico / "vecchi");
  WriteBytes(folder / "QX0ZZA.edi", OurEdiLog());
  WriteBytes(folder / "parziale.db",
             "QSO_EDI 230716;0815;QX1ABC;1;59;001;59;012;;JN99XX;1;;;;\r\n");
  WriteBytes(folder / "C_W", "QX1ABC JN00AA\r\n");  // lists count only in storico
  WriteBytes(storico / "C_W", "QX1ABC JN33AA 20190101\r\nQX7XYZ JN45AB\r\nbroken\r\n");
  WriteBytes(storico / "b.csv", ",list\r\nQX1ABC,JN44AA\r\n");
  WriteBytes(storico / "a.cw", "QX1ABC JN55AA\r\n");
  WriteBytes(storico / "rotto.csv", "QX8AAA,JN45AB\r\n");
  WriteBytes(storico / "note.txt", "QX9AAA JN45AB\r\n");
  WriteBytes(storico / "vecchi" / "2019.edi", "190101;0815;QX9BBB;1;59;1;59;1;;JN45AB\r\n");

  const HistoryLoad load = LoadHistory(UnreadableFile(), folder.path());
  std::vector<std::string> names;
  for (const HistoryFileRead& f : load.files) {
    names.push_back(f.path.filename().string());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"QX0ZZA.edi", "C_W", "a.cw", "b.csv", "rotto.csv"}));
  EXPECT_EQ(load.Read(), 6u);
  EXPECT_EQ(load.Skipped(), 1u);
  EXPECT_EQ(load.Unreadable(), 1u);
  // The dated first, newest first; then the undated, the one read last first.
  EXPECT_EQ(load.history.Locators("QX1ABC"),
            (std::vector<KnownLocator>{
                {"JN61AB", 20220717}, {"JN33AA", 20190101}, {"JN44AA", 0}, {"JN55AA", 0}}));
  EXPECT_EQ(HistorySummary(load),
            "Storico: nominativi 3, righe lette 6, scartate 1, file 5, file illeggibili 1");
}

TEST(HistoryLoad, AHugeFileIsReadUpToItsLimitAtAWholeLine) {
  TempFolder folder;
  fs::create_directories(folder / "storico");
  WriteBytes(folder / "storico" / "C_W", "QX1ABC JN61AB\r\nQX2DEF JN52CD\r\nQX3GHI JN45AB\r\n");
  const HistoryLoad load = LoadHistory(Files(), folder.path(), 20);
  ASSERT_EQ(load.files.size(), 1u);
  EXPECT_TRUE(load.files[0].cut);
  EXPECT_EQ(load.Read(), 1u);
  EXPECT_EQ(load.Skipped(), 0u);
  EXPECT_EQ(HistorySummary(load),
            "Storico: nominativi 1, righe lette 1, scartate 0, file 1, file letti in parte 1");
}

TEST(HistoryLoad, NoFilesNoHistory) {
  TempFolder folder;
  const HistoryLoad load = LoadHistory(Files(), folder.path());
  EXPECT_TRUE(load.files.empty());
  EXPECT_EQ(load.history.Calls(), 0u);
  EXPECT_EQ(HistorySummary(load), "Storico: nessun file");
}

}  // namespace
}  // namespace keldra

#include <gtest/gtest.h>

#include "core/QsoRecord.h"

namespace keldra {
namespace {

QsoFields Ssb() {
  QsoFields q;
  q.serial_sent = "005";
  q.date = "16/07/23";
  q.time = "08.15";
  q.band = "144";
  q.mode = QsoMode::kSsb;
  q.call = "QX1ABC";
  q.report_sent = "59";
  q.report_received = "59";
  q.serial_received = "012";
  q.locator = "JN81GD";
  q.club_code = "I003";
  q.distance_km = "523";
  return q;
}

QsoFields Cw() {
  QsoFields q = Ssb();
  q.serial_sent = "006";
  q.time = "09.20";
  q.mode = QsoMode::kCw;
  q.call = "QX2XYZ";
  q.report_sent = "599";
  q.report_received = "579";
  q.serial_received = "013";
  q.locator = "JN71GD";
  q.club_code = "";
  q.distance_km = "168";
  return q;
}

QsoFields WithCall(QsoFields q, std::string call) {
  q.call = std::move(call);
  return q;
}

struct LineCase {
  const char* name;
  QsoFields qso;
  const char* list_line;
  const char* edi_line;
};

class QsoLinesTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(QsoLinesTest, FormatsBothLines) {
  EXPECT_EQ(QsoListLine(GetParam().qso), GetParam().list_line);
  EXPECT_EQ(EdiRecordLine(GetParam().qso), GetParam().edi_line);
}

TEST_P(QsoLinesTest, ReadsBothLinesBack) {
  const QsoParse list = ParseQsoListLine(GetParam().list_line);
  ASSERT_TRUE(list.qso) << list.problem;
  QsoFields expected = GetParam().qso;
  expected.report_sent.clear();  // not part of the list line
  expected.distance_km.clear();
  EXPECT_EQ(*list.qso, expected);

  const QsoParse edi = ParseEdiRecordLine(GetParam().edi_line);
  ASSERT_TRUE(edi.qso) << edi.problem;
  expected = GetParam().qso;
  if (expected.time.size() == 4) {
    expected.time = "0" + expected.time;  // the record has 4 digits
  }
  EXPECT_EQ(*edi.qso, expected);
}

QsoFields FourCharacterTime() {
  QsoFields q = Ssb();
  q.time = "8.15";
  return q;
}

QsoFields ThousandthQso() {
  QsoFields q = Cw();
  q.serial_sent = "1000";
  return q;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, QsoLinesTest,
    ::testing::Values(
        LineCase{"Ssb", Ssb(),
                 "005   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003",
                 "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;;;"},
        LineCase{"CwWithoutClub", Cw(),
                 "006   16/07/23   09.20   144Mhz   CW    QX2XYZ      579-013  JN71GD   ",
                 "230716;0920;QX2XYZ;0;599;006;579;013;;JN71GD;168;;;;"},
        LineCase{"Call4GetsEightFiller", WithCall(Ssb(), "QX1A"),
                 "005   16/07/23   08.15   144Mhz   SSB   QX1A        59-012   JN81GD   I003",
                 "230716;0815;QX1A;1;59;005;59;012;I003;JN81GD;523;;;;"},
        LineCase{"Call10GetsTwoFiller", WithCall(Ssb(), "QX1ABCDE/P"),
                 "005   16/07/23   08.15   144Mhz   SSB   QX1ABCDE/P  59-012   JN81GD   I003",
                 "230716;0815;QX1ABCDE/P;1;59;005;59;012;I003;JN81GD;523;;;;"},
        LineCase{"Call11GetsNoFiller", WithCall(Ssb(), "QX1ABCDE/QP"),
                 "005   16/07/23   08.15   144Mhz   SSB   QX1ABCDE/QP59-012   JN81GD   I003",
                 "230716;0815;QX1ABCDE/QP;1;59;005;59;012;I003;JN81GD;523;;;;"},
        LineCase{"Call12InCwGetsNoFiller", WithCall(Cw(), "QX2XYZ/P/QRP"),
                 "006   16/07/23   09.20   144Mhz   CW    QX2XYZ/P/QRP579-013  JN71GD   ",
                 "230716;0920;QX2XYZ/P/QRP;0;599;006;579;013;;JN71GD;168;;;;"},
        LineCase{"FourCharacterTimePaddedToFive", FourCharacterTime(),
                 "005   16/07/23   8.15    144Mhz   SSB   QX1ABC      59-012   JN81GD   I003",
                 "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;;;"},
        LineCase{"FourDigitSerial", ThousandthQso(),
                 "1000   16/07/23   09.20   144Mhz   CW    QX2XYZ      579-013  JN71GD   ",
                 "230716;0920;QX2XYZ;0;599;1000;579;013;;JN71GD;168;;;;"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QsoListLineTest, ColumnsLineUpInBothModes) {
  const std::string ssb = QsoListLine(Ssb());
  const std::string cw = QsoListLine(Cw());
  // Callsign from column 41 and report from column 53 (1-based) with a three-digit serial.
  EXPECT_EQ(ssb.find("QX1ABC"), 40u);
  EXPECT_EQ(cw.find("QX2XYZ"), 40u);
  EXPECT_EQ(ssb.find("59-"), 52u);
  EXPECT_EQ(cw.find("579-"), 52u);
  EXPECT_EQ(ssb.find("JN81GD"), cw.find("JN71GD"));
}

TEST(QsoDateTimeTest, ConvertsBetweenListAndRecordForms) {
  EXPECT_EQ(EdiDate("16/07/23"), "230716");
  EXPECT_EQ(ListDate("230716"), "16/07/23");
  EXPECT_EQ(EdiTime("08.15"), "0815");
  EXPECT_EQ(EdiTime("8.15"), "0815");
  EXPECT_EQ(EdiTime("23:59"), "2359");
  EXPECT_EQ(ListTime("0815"), "08.15");
}

TEST(QsoParseTest, RefusesLinesOfOtherShapes) {
  for (const char* line :
       {"", "garbage", "005   16/07/23   08.15   144   SSB   QX1ABC      59-012   JN81GD   ",
        "005   16/07/23   08.15   144Mhz   FM    QX1ABC      59-012   JN81GD",
        "005   16/07/23   08.15   144Mhz   SSB   QX1ABC      59 012   JN81GD",
        "005   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012",
        "005   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003 X"}) {
    EXPECT_FALSE(ParseQsoListLine(line).qso) << line;
  }
  for (const char* record : {"", "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;;",
                             "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;;;;",
                             "230716;0815;QX1ABC;2;59;005;59;012;I003;JN81GD;523;;;;",
                             "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;x;;"}) {
    const QsoParse parse = ParseEdiRecordLine(record);
    EXPECT_FALSE(parse.qso) << record;
    EXPECT_FALSE(parse.problem.empty()) << record;
  }
}

struct DuplicateCase {
  const char* name;
  const char* call;
  bool logged;
};

class ListHasCallTest : public ::testing::TestWithParam<DuplicateCase> {};

TEST_P(ListHasCallTest, MatchesWholeCallsignsOnly) {
  const std::string list = QsoListLine(Ssb()) + "\r\n" + QsoListLine(Cw()) + "\r\n" +
                           QsoListLine(WithCall(Ssb(), "QX1ABCDE/QP")) + "\r\n";
  EXPECT_EQ(ListHasCall(list, GetParam().call), GetParam().logged);
}

INSTANTIATE_TEST_SUITE_P(Calls, ListHasCallTest,
                         ::testing::Values(DuplicateCase{"SameCall", "QX1ABC", true},
                                           DuplicateCase{"CwCall", "QX2XYZ", true},
                                           DuplicateCase{"PrefixOfLoggedCall", "QX1AB", false},
                                           DuplicateCase{"LoggedCallIsPrefix", "QX1ABCD", false},
                                           DuplicateCase{"OtherCase", "qx1abc", false},
                                           DuplicateCase{"LocatorColumn", "JN81GD", false},
                                           DuplicateCase{"ReportColumn", "59-012", false},
                                           DuplicateCase{"LongCallWithoutFiller", "QX1ABCDE/QP",
                                                         true},
                                           DuplicateCase{"PrefixOfLongCall", "QX1ABCDE/Q", false},
                                           DuplicateCase{"Empty", "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ListHasCallTest, EmptyListAndLastLineWithoutEnd) {
  EXPECT_FALSE(ListHasCall("", "QX1ABC"));
  EXPECT_TRUE(ListHasCall(QsoListLine(Ssb()), "QX1ABC"));
  EXPECT_EQ(CallOfListLine(QsoListLine(Cw())), "QX2XYZ");
}

}  // namespace
}  // namespace keldra

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AdifValidator.h"
#include "TestSupport.h"
#include "export/Adif.h"

namespace keldra {
namespace {

using keldra::testing::ValidatedRecords;

AdifStation Station() { return {"QX0ABC", "", "JN61FV", "0,5"}; }
constexpr DateTime kCreated{2023, 7, 16, 7, 30, 5};
const std::string kHeader =
    "ADIF log of the Keldra VHF QRP Test\r\n"
    "<ADIF_VER:5>3.1.4\r\n"
    "<CREATED_TIMESTAMP:15>20230716 073005\r\n"
    "<PROGRAMID:19>Keldra VHF QRP Test\r\n"
    "<PROGRAMVERSION:" +
    std::to_string(std::string_view(KELDRA_VERSION).size()) + ">" KELDRA_VERSION "\r\n<EOH>\r\n";
// What every record of Station() ends with.
constexpr const char* kOwn =
    "<MY_GRIDSQUARE:6>JN61FV <STATION_CALLSIGN:6>QX0ABC <OPERATOR:6>QX0ABC <TX_PWR:3>0.5 "
    "<CONTEST_ID:14>KELDRA-VHF-QRP <EOR>\r\n";

struct RecordCase {
  const char* name;
  const char* edi;   // the contest's EDI record line
  const char* adif;  // its ADIF record, up to the station's own fields
};

const RecordCase kRecords[] = {
    {"SsbClubMember", "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;",
     "<CALL:6>QX1ABC <QSO_DATE:8>20230716 <TIME_ON:4>0815 <BAND:2>2m <MODE:3>SSB <RST_SENT:2>59 "
     "<RST_RCVD:2>59 <STX:1>1 <SRX:2>12 <SRX_STRING:4>I003 <GRIDSQUARE:6>JN81GD "
     "<DISTANCE:3>523 "},
    {"CwNoClub", "230716;0832;QX2DEF;0;599;002;579;007;;JN72KL;410;;;;",
     "<CALL:6>QX2DEF <QSO_DATE:8>20230716 <TIME_ON:4>0832 <BAND:2>2m <MODE:2>CW <RST_SENT:3>599 "
     "<RST_RCVD:3>579 <STX:1>2 <SRX:1>7 <GRIDSQUARE:6>JN72KL <DISTANCE:3>410 "},
    {"PortableCall", "230716;0901;QX3GHI/P;1;57;003;55;021;;JN64AB;113;;;;",
     "<CALL:8>QX3GHI/P <QSO_DATE:8>20230716 <TIME_ON:4>0901 <BAND:2>2m <MODE:3>SSB "
     "<RST_SENT:2>57 <RST_RCVD:2>55 <STX:1>3 <SRX:2>21 <GRIDSQUARE:6>JN64AB <DISTANCE:3>113 "},
    {"MqcMemberSerial1000AfterMidnight", "230717;0002;QX4JKL;1;59;1000;59;100;M123;JN53CD;1046;;;;",
     "<CALL:6>QX4JKL <QSO_DATE:8>20230717 <TIME_ON:4>0002 <BAND:2>2m <MODE:3>SSB <RST_SENT:2>59 "
     "<RST_RCVD:2>59 <STX:4>1000 <SRX:3>100 <SRX_STRING:4>M123 <GRIDSQUARE:6>JN53CD "
     "<DISTANCE:4>1046 "},
};

std::string AllEdi() {
  std::string records;
  for (const RecordCase& c : kRecords) {
    records += std::string(c.edi) + "\r\n";
  }
  return records;
}

TEST(AdifLog, EveryKindOfQsoIsWrittenByteForByte) {
  const AdifQsos read = AdifQsosFromRecords(AllEdi());
  ASSERT_EQ(read.problems, std::vector<std::string>{});
  std::string expected = kHeader;
  for (const RecordCase& c : kRecords) {
    expected += std::string(c.adif) + kOwn;
  }
  EXPECT_EQ(AdifLogText(Station(), read.qsos, kCreated), expected);
}

TEST(AdifLog, ValidatorAcceptsTheFileAndReadsBackTheContestsQsos) {
  keldra::testing::TempFolder folder;
  const AdifQsos read = AdifQsosFromRecords(AllEdi());
  std::vector<AdifQso> qsos = read.qsos;
  qsos[0].freq_mhz = "144.300";  // a rig's frequency, when one is known, goes with the QSO
  AdifStation accented = Station();
  accented.callsign =
      "QX0\xC0"
      "BC";
  accented.operator_call = "QX9\xDFZ";
  accented.power = "";
  keldra::testing::WriteBytes(folder / "a.adi", AdifLogText(Station(), read.qsos, kCreated));
  keldra::testing::WriteBytes(folder / "b.adi", AdifLogText(accented, qsos, kCreated));
  keldra::testing::WriteBytes(folder / "empty.adi", AdifLogText(Station(), {}, kCreated));
  if (const auto records =
          ValidatedRecords({folder / "a.adi", folder / "b.adi", folder / "empty.adi"})) {
    EXPECT_EQ(*records, AllEdi() + AllEdi());
  }
}

TEST(AdifLog, StationFieldsAreWrittenOnlyWhenTheAdifCanCarryThem) {
  const AdifQsos read = AdifQsosFromRecords(kRecords[1].edi);
  struct Case {
    AdifStation station;
    std::string own;
  } cases[] = {
      {{"QX0ABC", "QX7OP", "JN61FV", "5"},
       "<MY_GRIDSQUARE:6>JN61FV <STATION_CALLSIGN:6>QX0ABC <OPERATOR:5>QX7OP <TX_PWR:1>5 "},
      {{"QX0ABC", "", "JN61", " 3 "},
       "<MY_GRIDSQUARE:4>JN61 <STATION_CALLSIGN:6>QX0ABC <OPERATOR:6>QX0ABC <TX_PWR:1>3 "},
      {{"QX0ABC", "", "JN61F", "5W"}, "<STATION_CALLSIGN:6>QX0ABC <OPERATOR:6>QX0ABC "},
      {{"QX0ABC", "", "ZZ61FV", "0,5,1"}, "<STATION_CALLSIGN:6>QX0ABC <OPERATOR:6>QX0ABC "},
      {{"", "", "", ","}, ""},
  };
  for (const Case& c : cases) {
    const std::string text = AdifLogText(c.station, read.qsos, kCreated);
    const std::size_t from = text.find("<DISTANCE:3>410 ") + 16;
    EXPECT_EQ(text.substr(from, text.find("<CONTEST_ID") - from), c.own)
        << c.station.locator << " " << c.station.power;
  }
}

TEST(AdifAscii, AccentedLettersAreTransliteratedTheRestOutsideAsciiDropped) {
  const std::pair<std::string, std::string> cases[] = {
      {"Nicol\xF2 Citt\xE0", "Nicolo Citta"},
      {"\xC0\xC8\xCC\xD2\xD9\xC7\xD1", "AEIOUCN"},
      {"Stra\xDF"
       "e \xC6\x8C\x9C",
       "Strasse AEOEoe"},
      {"\x93QRP\x94 \x96 \x92", "\"QRP\" - '"},
      {"5\xB0 \x80 1\t2\r\n\x7F", "5  12"},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(AdifAscii(in), out) << out;
  }
}

TEST(AdifQsosFromRecords, LinesTheAdifCannotCarryAreReportedAndLeftOut) {
  const AdifQsos read = AdifQsosFromRecords(
      "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n"
      "\r\n"
      "230230;0815;QX1BAD;1;59;002;59;012;;JN81GD;523;;;;\r\n"
      "230716;2460;QX1BAD;1;59;003;59;012;;JN81GD;523;;;;\r\n"
      "230716;0815;;1;59;004;59;012;;JN81GD;523;;;;\r\n"
      "230716;0815;QX1BAD;1;59;005;59;012;;JN81G;523;;;;\r\n"
      "230716;0815;QX1BAD;1;59;006;59;0A2;;JN81GD;523;;;;\r\n"
      "230716;0815;QX1BAD;1;59;007;59;012;;JN81GD;;;;;\r\n"
      "240229;0815;QX1LEAP;1;59;008;59;012;;JN81GD;5\r\n");
  ASSERT_EQ(read.qsos.size(), 1u);
  EXPECT_EQ(read.qsos[0].fields.call, "QX1ABC");
  EXPECT_EQ(read.problems,
            (std::vector<std::string>{
                "riga 3 (QX1BAD): data non valida \"30/02/23\"",
                "riga 4 (QX1BAD): ora non valida \"24.60\"",
                "riga 5 (): nominativo mancante",
                "riga 6 (QX1BAD): locatore non valido \"JN81G\"",
                "riga 7 (QX1BAD): numero ricevuto non valido \"0A2\"",
                "riga 8 (QX1BAD): distanza non valida \"\"",
                "riga 9: non e' un QSO \"240229;0815;QX1LEAP;1;59;008;59;012;;JN81GD;5\"",
            }));
  EXPECT_EQ(AdifQsosFromRecords("240229;2359;QX1LEAP;1;59;008;59;012;;JN81GD;5;;;;").qsos.size(),
            1u);
}

TEST(AdifFileName, LikeTheEdiLogsNameWithTheAdifExtension) {
  EXPECT_EQ(AdifFileName("0,5 watt", "QX0ABC"), "01-QX0ABC.adi");
  EXPECT_EQ(AdifFileName("5 watt", "QX0ABC/P"), "03-QX0ABC/P.adi");
  EXPECT_EQ(AdifFileName("10 watt", "QX0ABC"), "QX0ABC.adi");
}

}  // namespace
}  // namespace keldra

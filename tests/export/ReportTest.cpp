#include <gtest/gtest.h>

#include <string>

#include "export/Report.h"
#include "export/Statistics.h"

namespace keldra {
namespace {

const std::string kHeading =
    "###############################################\r\n"
    "######### STATISTICHE CONTEST KELDRA QRP  #####\r\n"
    "####################16/07/2023#################\r\n"
    "\r\n\r\n\r\n"
    "----------------------------------------\r\n"
    "                   TOP DX               \r\n"
    "----------------------------------------\r\n"
    "\r\n"
    "QRB     Call      SQR\r\n"
    "\r\n";

const std::string kZeroSectors =
    "   0-30\xB0  - 0\r\n  30-60\xB0  - 0\r\n  60-90\xB0  - 0\r\n 90-120\xB0  - 0\r\n"
    "120-150\xB0  - 0\r\n150-180\xB0  - 0\r\n180-210\xB0  - 0\r\n210-240\xB0  - 0\r\n"
    "240-270\xB0  - 0\r\n270-300\xB0  - 0\r\n300-330\xB0  - 0\r\n330-359\xB0  - 0\r\n";

TEST(ReportTest, EmptyContestHasEveryHeadingAndTheFullMap) {
  const Statistics shown = ComputeStatistics("", [](const std::string&) {
    return DistanceBearingTexts{"??????", "??????"};
  });
  const std::string expected = kHeading + "\r\n\r\n" +
                               "####  DXCC  LAVORATI  ######\r\n\r\n\r\n\r\n\r\n"
                               "####  SQR   LAVORATI  ######\r\n\r\n\r\n\r\n\r\n"
                               "####  QSO per ORA  ######\r\n\r\n"
                               "07-08 =    0 - 0\r\n08-09 =    0 - 0\r\n09-10 =    0 - 0\r\n"
                               "10-11 =    0 - 0\r\n11-12 =    0 - 0\r\n12-13 =    0 - 0\r\n"
                               "\r\n\r\n\r\n"
                               "####  QSO per QTF     ######\r\n\r\n" +
                               kZeroSectors + "\r\n\r\n\r\n" +
                               "####  MAPPA dei QSO   ######\r\n\r\n" + MapTemplate() +
                               "\r\n\r\n\r\n" + "---- Keldra qrp Test - by QX0ZZA ----\r\n";
  EXPECT_EQ(BuildReport(shown, "16/07/2023"), expected);
}

TEST(ReportTest, ThreeQsosInTheShownOrder) {
  Statistics shown;
  shown.ranking = {"523Km - 9A2ABC - JN75AA", "168Km - QX1ABC - JN71GD", "168Km - IK7ABC - JN71GD"};
  shown.countries = "Croatia - Italy";
  shown.squares = "JN71 - JN75 - ";
  shown.per_hour = "07-08 =    0 - 0\r\n08-09 =    3 - 859\r\n";
  shown.per_sector = "270-300\xB0  - 2\r\n300-330\xB0  - 1\r\n";
  shown.map = "JO14    \r\nJN19JN29";

  const std::string expected = kHeading +
                               "523Km - 9A2ABC - JN75AA\r\n"
                               "168Km - QX1ABC - JN71GD\r\n"
                               "168Km - IK7ABC - JN71GD\r\n"
                               "\r\n\r\n"
                               "####  DXCC  LAVORATI  ######\r\n\r\n"
                               "Croatia - Italy\r\n\r\n\r\n"
                               "####  SQR   LAVORATI  ######\r\n\r\n"
                               "JN71 - JN75 - \r\n\r\n\r\n"
                               "####  QSO per ORA  ######\r\n\r\n"
                               "07-08 =    0 - 0\r\n08-09 =    3 - 859\r\n\r\n\r\n\r\n"
                               "####  QSO per QTF     ######\r\n\r\n"
                               "270-300\xB0  - 2\r\n300-330\xB0  - 1\r\n\r\n\r\n\r\n"
                               "####  MAPPA dei QSO   ######\r\n\r\n"
                               "JO14    \r\nJN19JN29\r\n\r\n\r\n"
                               "---- Keldra qrp Test - by QX0ZZA ----\r\n";
  EXPECT_EQ(BuildReport(shown, "16/07/2023"), expected);
}

}  // namespace
}  // namespace keldra

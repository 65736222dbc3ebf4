#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/Text.h"
#include "export/Statistics.h"
#include "geo/Locator.h"

namespace keldra {
namespace {

// An SSB line of the QSO list with its line end, as the commit writes it.
std::string Line(const std::string& serial, const std::string& time, const std::string& call,
                 const std::string& locator) {
  const std::string filler(call.size() <= 10 ? 12 - call.size() : 0, ' ');
  return serial + "   16/07/23   " + time + "   144Mhz   SSB   " + call + filler + "59-012   " +
         locator + "   \r\n";
}

// The real calculator from JN81GD.
DistanceBearingTexts FromJn81gd(const std::string& locator) {
  const LocatorResult r = CalculateLocators("JN81GD", locator);
  return {r.distance, r.bearing};
}

// A calculator that knows a few locators, fails the others, and remembers what it was asked.
struct FakeCalculator {
  std::map<std::string, DistanceBearingTexts> known;
  std::vector<std::string> asked;
  DistanceBearingSource Source() {
    return [this](const std::string& locator) {
      asked.push_back(locator);
      auto it = known.find(locator);
      return it != known.end() ? it->second : DistanceBearingTexts{"??????", "??????"};
    };
  }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) {
    lines.push_back(text.substr(start));
  }
  return lines;
}

const std::string kZeroHours =
    "07-08 =    0 - 0\r\n08-09 =    0 - 0\r\n09-10 =    0 - 0\r\n"
    "10-11 =    0 - 0\r\n11-12 =    0 - 0\r\n12-13 =    0 - 0\r\n";

TEST(MapTemplateTest, NineteenRowsNorthToSouthWithoutFinalLineEnd) {
  const std::vector<std::string> rows = Lines(MapTemplate());
  ASSERT_EQ(rows.size(), 19u);
  EXPECT_EQ(rows[0], "JO14JO24JO34JO44JO54JO64JO74JO84JO94KO04KO14KO24KO34");
  EXPECT_EQ(rows[4], "JO10JO20JO30JO40JO50JO60JO70JO80JO90KO00KO10KO20KO30");
  EXPECT_EQ(rows[5], "JN19JN29JN39JN49JN59JN69JN79JN89JN99KN09KN19KN29KN39");
  EXPECT_EQ(rows[18], "JM16JM26JM36JM46JM56JM66JM76JM86JM96KM06KM16KM26KM36");
  EXPECT_EQ(MapTemplate().size(), 19u * 52 + 18 * 2);
}

TEST(StatisticsTest, OneQsoFromJn81gdToJn71gd) {
  const Statistics s = ComputeStatistics(Line("001", "08.15", "QX1ABC", "JN71GD"), FromJn81gd);

  EXPECT_EQ(s.per_hour,
            "07-08 =    0 - 0\r\n08-09 =    1 - 168\r\n09-10 =    0 - 0\r\n"
            "10-11 =    0 - 0\r\n11-12 =    0 - 0\r\n12-13 =    0 - 0\r\n");
  const std::vector<std::string> sectors = Lines(s.per_sector);
  ASSERT_EQ(sectors.size(), 12u);
  for (std::size_t i = 0; i < sectors.size(); ++i) {
    EXPECT_EQ(sectors[i], i == 9 ? "270-300\xB0  - 1" : sectors[i].substr(0, 8) + "  - 0");
  }
  EXPECT_EQ(Lines(s.map)[13], "JN11JN21JN31JN41JN51JN61    JN81JN91KN01KN11KN21KN31");
  EXPECT_EQ(s.squares, "JN71 - ");
  EXPECT_EQ(s.countries, "");
  EXPECT_EQ(s.ranking, std::vector<std::string>{"168Km - QX1ABC - JN71GD"});
}

TEST(StatisticsTest, EmptyListGivesTheBareTemplateAndZeroLines) {
  FakeCalculator calculator;
  const Statistics s = ComputeStatistics("", calculator.Source());
  EXPECT_EQ(s.map, MapTemplate());
  EXPECT_EQ(s.squares, "");
  EXPECT_EQ(s.countries, "");
  EXPECT_EQ(s.per_hour, kZeroHours);
  EXPECT_EQ(s.per_sector,
            "   0-30\xB0  - 0\r\n  30-60\xB0  - 0\r\n  60-90\xB0  - 0\r\n 90-120\xB0  - 0\r\n"
            "120-150\xB0  - 0\r\n150-180\xB0  - 0\r\n180-210\xB0  - 0\r\n210-240\xB0  - 0\r\n"
            "240-270\xB0  - 0\r\n270-300\xB0  - 0\r\n300-330\xB0  - 0\r\n330-359\xB0  - 0\r\n");
  EXPECT_TRUE(s.ranking.empty());
  EXPECT_TRUE(calculator.asked.empty());
}

struct SectorCase {
  const char* name;
  const char* bearing;
  int sector;  // -1: none
};

class SectorTest : public ::testing::TestWithParam<SectorCase> {};

TEST_P(SectorTest, CountsStrictlyInsideTheSector) {
  FakeCalculator calculator;
  calculator.known["JN71GD"] = {" 100", GetParam().bearing};
  const Statistics s =
      ComputeStatistics(Line("001", "08.15", "IK7ABC", "JN71GD"), calculator.Source());
  const std::vector<std::string> sectors = Lines(s.per_sector);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(sectors[i].substr(8), i == GetParam().sector ? "  - 1" : "  - 0") << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SectorTest,
    ::testing::Values(SectorCase{"bearing_0", " 0", -1}, SectorCase{"bearing_1", " 1", 0},
                      SectorCase{"bearing_29", " 29", 0}, SectorCase{"bearing_30", " 30", -1},
                      SectorCase{"bearing_89", " 89", 2}, SectorCase{"bearing_90", " 90", -1},
                      SectorCase{"bearing_91", " 91", 3}, SectorCase{"bearing_359", " 359", 11},
                      SectorCase{"due_north_360", " 360", -1}, SectorCase{"failed", "??????", -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct HourCase {
  const char* name;
  const char* time;
  int line;  // -1: none
};

class HourTest : public ::testing::TestWithParam<HourCase> {};

TEST_P(HourTest, CountsOnlyTheContestHours) {
  FakeCalculator calculator;
  calculator.known["JN71GD"] = {" 168", " 271"};
  const Statistics s =
      ComputeStatistics(Line("001", GetParam().time, "IK7ABC", "JN71GD"), calculator.Source());
  const std::vector<std::string> hours = Lines(s.per_hour);
  ASSERT_EQ(hours.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(hours[i].substr(11), i == GetParam().line ? "1 - 168" : "0 - 0") << i;
  }
  // Whatever the hour, the QSO counts everywhere else.
  EXPECT_EQ(s.ranking, std::vector<std::string>{"168Km - IK7ABC - JN71GD"});
  EXPECT_EQ(s.squares, "JN71 - ");
  EXPECT_EQ(s.countries, "Italy");
  EXPECT_NE(s.per_sector.find("270-300\xB0  - 1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Contest, HourTest,
                         ::testing::Values(HourCase{"h0659_before", "06.59", -1},
                                           HourCase{"h0700_first", "07.00", 0},
                                           HourCase{"h0815", "08.15", 1},
                                           HourCase{"h1259_last", "12.59", 5},
                                           HourCase{"h1300_after", "13.00", -1},
                                           HourCase{"one_digit_hour", "8.15 ", -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StatisticsTest, HourSumsAddTheDistances) {
  FakeCalculator calculator;
  calculator.known = {{"JN71GD", {" 168", " 271"}}, {"JN81LL", {" 50", " 43"}}};
  const Statistics s = ComputeStatistics(
      Line("001", "08.15", "IK7ABC", "JN71GD") + Line("002", "08.40", "IK7ABD", "JN81LL"),
      calculator.Source());
  EXPECT_EQ(Lines(s.per_hour)[1], "08-09 =    2 - 218");
}

TEST(StatisticsTest, SquareOutsideTheMapIsListedButChangesNothing) {
  FakeCalculator calculator;
  const Statistics s =
      ComputeStatistics(Line("001", "08.15", "G4ABC", "IO91AA"), calculator.Source());
  EXPECT_EQ(s.squares, "IO91 - ");
  EXPECT_EQ(s.map, MapTemplate());
}

TEST(StatisticsTest, SquareWorkedTwiceIsListedOnce) {
  FakeCalculator calculator;
  const Statistics s = ComputeStatistics(Line("001", "08.15", "IK7ABC", "JN81AA") +
                                             Line("002", "08.20", "IK7ABD", "JN71GD") +
                                             Line("003", "08.25", "IK7ABE", "JN81XX"),
                                         calculator.Source());
  EXPECT_EQ(s.squares, "JN81 - JN71 - ");
  EXPECT_EQ(Lines(s.map)[13], "JN11JN21JN31JN41JN51JN61        JN91KN01KN11KN21KN31");
}

TEST(StatisticsTest, RankingLargestFirstWithTheExchangeSortsOrderOfTies) {
  FakeCalculator calculator;
  calculator.known = {{"JN71AA", {" 200", " 1"}},
                      {"JN71BB", {" 350", " 1"}},
                      {"JN71CC", {" 200", " 1"}},
                      {"JN71DD", {" 500", " 1"}}};
  const Statistics s = ComputeStatistics(
      Line("001", "08.15", "QX1A", "JN71AA") + Line("002", "08.15", "QX1B", "JN71BB") +
          Line("003", "08.15", "QX1C", "JN71CC") + Line("004", "08.15", "QX1D", "JN71DD"),
      calculator.Source());
  EXPECT_EQ(s.ranking,
            (std::vector<std::string>{"500Km - QX1D - JN71DD", "350Km - QX1B - JN71BB",
                                      "200Km - QX1C - JN71CC", "200Km - QX1A - JN71AA"}));
  EXPECT_EQ(calculator.asked, (std::vector<std::string>{"JN71AA", "JN71BB", "JN71CC", "JN71DD"}));
}

TEST(StatisticsTest, FailedCalculationRanksAtZero) {
  FakeCalculator calculator;
  const Statistics s =
      ComputeStatistics(Line("001", "09.10", "IK7ABC", "JNA1GD"), calculator.Source());
  EXPECT_EQ(s.ranking, std::vector<std::string>{"0Km - IK7ABC - JNA1GD"});
  EXPECT_EQ(Lines(s.per_hour)[2], "09-10 =    1 - 0");
}

// The literal procedure on the entry texts, as the ranking list would run it.
std::vector<std::string> ExchangeSortTexts(std::vector<std::string> entries) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (std::size_t j = i; j < entries.size(); ++j) {
      if (LeadingNumber(entries[i]) < LeadingNumber(entries[j])) {
        std::swap(entries[i], entries[j]);
      }
    }
  }
  return entries;
}

TEST(ExchangeSortOrderTest, AgreesWithTheProcedureOnTextsForManyTies) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    std::vector<long long> distances(1 + random() % 100);
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < distances.size(); ++i) {
      distances[i] = random() % 6 * 100;
      entries.push_back(std::to_string(distances[i]) + "Km - #" + std::to_string(i));
    }
    std::vector<std::string> ordered;
    for (std::size_t i : ExchangeSortOrder(distances)) {
      ordered.push_back(entries[i]);
    }
    ASSERT_EQ(ordered, ExchangeSortTexts(entries)) << "round " << round;
  }
}

TEST(ExchangeSortOrderTest, FourEntriesEndInOrderDBCA) {
  const std::vector<long long> distances = {200, 350, 200, 500};
  EXPECT_EQ(ExchangeSortOrder(distances), (std::vector<std::size_t>{3, 1, 2, 0}));
}

TEST(StatisticsTest, CountriesInOrderOfFirstContactCarryingTheLastKnownOne) {
  FakeCalculator calculator;
  const Statistics s = ComputeStatistics(
      Line("001", "08.15", "IK7ABC", "JN81AA") + Line("002", "08.16", "QX1ABC", "JN81AA") +
          Line("003", "08.17", "9A2ABC", "JN81AA") + Line("004", "08.18", "S51ABC", "JN81AA") +
          Line("005", "08.19", "IK0ABC", "JN81AA"),
      calculator.Source());
  EXPECT_EQ(s.countries, "Italy - Croatia - Slovenia");
}

TEST(StatisticsTest, IrelandIsListedAfterNorthenIreland) {
  FakeCalculator calculator;
  const Statistics s = ComputeStatistics(
      Line("001", "08.15", "GI4ABC", "IO64AA") + Line("002", "08.16", "EI2ABC", "IO63AA"),
      calculator.Source());
  EXPECT_EQ(s.countries, "Northen Ireland - Ireland");
}

TEST(StatisticsTest, FourDigitSerialShiftsTheColumns) {
  FakeCalculator calculator;
  const std::string line = Line("1000", "08.15", "IK7ABC", "JN71GD");
  const QsoListFields f = FieldsOf(line.substr(0, line.size() - 2));
  EXPECT_EQ(f.hour, " 0");
  EXPECT_EQ(f.callsign, " IK7ABC");
  EXPECT_EQ(f.square, " JN7");
  EXPECT_EQ(f.locator, " JN71G");

  // JN61 worked first leaves " JN7" standing across the blanked cell and JN71.
  calculator.known["JN61GD"] = {" 250", " 275"};
  const Statistics s =
      ComputeStatistics(Line("001", "08.15", "IK7ABC", "JN61GD") + line, calculator.Source());
  EXPECT_EQ(calculator.asked, (std::vector<std::string>{"JN61GD", " JN71G"}));
  EXPECT_EQ(s.ranking,
            (std::vector<std::string>{"250Km - IK7ABC - JN61GD", "0Km -  IK7ABC -  JN71G"}));
  EXPECT_EQ(s.squares, "JN61 -  JN7 - ");
  // The shifted text is no square: only JN61's cell is blanked, and whole.
  EXPECT_EQ(Lines(s.map)[13], "JN11JN21JN31JN41JN51    JN71JN81JN91KN01KN11KN21KN31");
  EXPECT_EQ(Lines(s.per_hour)[1], "08-09 =    1 - 250");
}

TEST(StatisticsTest, ElevenCharacterCallShiftsTheColumnsLeft) {
  const QsoListFields f = FieldsOf(Line("001", "08.15", "QX1ABCDEFGH", "JN81GD"));
  EXPECT_EQ(f.callsign, "QX1ABCDEFGH59-012");
  EXPECT_EQ(f.square, "N81G");
  EXPECT_EQ(f.locator, "N81GD ");
}

TEST(StatisticsTest, LinesCutShortOrBlankAreReadSafely) {
  FakeCalculator calculator;
  // A blank line is no QSO; a line cut after the callsign still is one, and so is a last line
  // that lost its line end.
  const Statistics s = ComputeStatistics("\r\n001   16/07/23   08.15   144Mhz   SSB   IK7AB\r\n" +
                                             Line("002", "08.20", "9A2ABC", "JN75AA").substr(0, 70),
                                         calculator.Source());
  EXPECT_EQ(calculator.asked, (std::vector<std::string>{"", "JN75AA"}));
  EXPECT_EQ(s.ranking, (std::vector<std::string>{"0Km - IK7AB - ", "0Km - 9A2ABC - JN75AA"}));
  EXPECT_EQ(s.countries, "Italy - Croatia");
  EXPECT_EQ(s.squares, "JN75 - ");
}

}  // namespace
}  // namespace keldra

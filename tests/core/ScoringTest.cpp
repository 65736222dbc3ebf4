#include <gtest/gtest.h>

#include "support/TextTotals.h"

namespace keldra {
namespace {

ScoredQso Qso(std::string distance, std::string call, std::string locator, std::string code) {
  return ScoredQso{std::move(distance), std::move(call), std::move(locator), std::move(code)};
}

TEST(ScoringTest, ThreeQsoContest) {
  ContestTotals t;
  t = AddQso(t, Qso(" 523", "QX1ABC", "JN81GD", ""));
  EXPECT_EQ(t,
            (ContestTotals{"1", "523", "0", "523", "523", "QX1ABC", "JN81GD", " 523", "0", "0"}));

  // 623 / 2 = 311.5 goes to the even neighbour.
  t = AddQso(t, Qso(" 100", "QX2DEF", "JN71AA", "I003"));
  EXPECT_EQ(t,
            (ContestTotals{"2", "623", "1", "723", "312", "QX1ABC", "JN81GD", " 523", "1", "0"}));

  // An equal distance does not take the ODX.
  t = AddQso(t, Qso(" 523", "QX3GHI", "JN61AA", "M123"));
  EXPECT_EQ(t,
            (ContestTotals{"3", "1146", "2", "1769", "382", "QX1ABC", "JN81GD", " 523", "1", "1"}));
}

TEST(ScoringTest, LongerDistanceTakesTheOdxWithItsIndicatorText) {
  ContestTotals t;
  t = AddQso(t, Qso(" 523", "QX1ABC", "JN81GD", ""));
  t = AddQso(t, Qso(" 524", "QX9Z", "IN52PE", ""));
  EXPECT_EQ(t.odx_call, "QX9Z");
  EXPECT_EQ(t.odx_locator, "IN52PE");
  EXPECT_EQ(t.odx_km, " 524");
}

TEST(ScoringTest, OwnSubsquareScoresOneKm) {
  // The QRB indicator shows "1" for a distance of 0.
  const ContestTotals plain = AddQso({}, Qso("1", "QX1ABC", "JN81GD", ""));
  EXPECT_EQ(plain.km, "1");
  EXPECT_EQ(plain.points, "1");
  EXPECT_EQ(plain.odx_km, "1");
  const ContestTotals club = AddQso({}, Qso("1", "QX1ABC", "JN81GD", "M007"));
  EXPECT_EQ(club.km, "1");
  EXPECT_EQ(club.points, "2");
  EXPECT_EQ(club.multipliers, "1");
  EXPECT_EQ(club.mqc_qsos, "1");
}

TEST(ScoringTest, AverageRoundsHalvesToEven) {
  struct Case {
    const char* first;
    const char* second;
    const char* average;
  };
  for (const Case& c : {Case{" 100", " 125", "112"},                            // 112.5
                        Case{" 100", " 127", "114"},                            // 113.5
                        Case{" 100", " 126", "113"}, Case{" 1", " 2", "2"}}) {  // 1.5
    ContestTotals t = AddQso({}, Qso(c.first, "QX1A", "JN81GD", ""));
    t = AddQso(t, Qso(c.second, "QX1B", "JN81GD", ""));
    EXPECT_EQ(t.average_km, c.average) << c.first << " + " << c.second;
  }
}

TEST(ScoringTest, ReadsLabelTextsAsLeadingNumbers) {
  // Totals restored from a file may carry blanks or junk after the number.
  ContestTotals t{" 9", "1000 km", "x", "2000", "0", "QX1A", "JN81GD", " 700", "3", "0"};
  t = AddQso(t, Qso(" 700", "QX2B", "JN61AA", "I100"));
  EXPECT_EQ(t,
            (ContestTotals{"10", "1700", "1", "3400", "170", "QX1A", "JN81GD", " 700", "4", "0"}));
}

TEST(ScoringTest, QsoPointsDoubleForEitherClub) {
  EXPECT_EQ(QsoPoints(523, ""), 523);
  EXPECT_EQ(QsoPoints(523, "I003"), 1046);
  EXPECT_EQ(QsoPoints(523, "M123"), 1046);
}

}  // namespace
}  // namespace keldra

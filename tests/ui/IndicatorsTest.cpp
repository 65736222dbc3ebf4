// The main window's reactions to its own indicators: the bearing needle and its text, the
// distance bar, the award picture, and scrolling the QSO list.
#include "MainWindowFixture.h"
#include "ui/Form22222.h"
#include "ui/Form9.h"

namespace keldra::testing {
namespace {

class IndicatorsTest : public MainWindowTest {
 protected:
  // End point of a line relative to its start point.
  static std::pair<int, int> Reach(const Line& line) {
    return {line.X2() - line.X1(), line.Y2() - line.Y1()};
  }
};

struct NeedleCase {
  const char* name;
  const char* qtf;
  int dx;
  int dy;
};

class NeedleTest : public IndicatorsTest, public ::testing::WithParamInterface<NeedleCase> {};

TEST_P(NeedleTest, PointsTheBearing600UnitsLong) {
  const NeedleCase& c = GetParam();
  Form1& f = Main();
  const int x1 = f.Line1.X1(), y1 = f.Line1.Y1();
  f.Label15.SetCaption("marker");  // so that every case is a change
  f.Label15.SetCaption(c.qtf);
  EXPECT_EQ(Reach(f.Line1), std::make_pair(c.dx, c.dy));
  EXPECT_EQ(f.Line1.X1(), x1);  // the needle turns about its start point
  EXPECT_EQ(f.Line1.Y1(), y1);
  EXPECT_EQ(f.Label56.Caption(), c.qtf);
}

INSTANTIATE_TEST_SUITE_P(Bearings, NeedleTest,
                         ::testing::Values(NeedleCase{"North0_Up", " 0", 0, -600},
                                           NeedleCase{"North360_Up", " 360", 0, -600},
                                           NeedleCase{"East90_Right", " 90", 600, 0},
                                           NeedleCase{"South180_Down", " 180", 0, 600},
                                           NeedleCase{"West270_Left", " 270", -600, 0},
                                           NeedleCase{"NorthEast45", " 45", 424, -424},
                                           NeedleCase{"Failed_Up", "??????", 0, -600},
                                           NeedleCase{"SameLocatorZero_Up", "0", 0, -600}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IndicatorsTest, NeedleFollowsEachLocatorTheCalculatorIsGiven) {
  Form1& f = Main();
  Form22222& calculator = program().Get<Form22222>();
  calculator.Text5.SetText("JN91GD");
  EXPECT_EQ(f.Label56.Caption(), " 89");
  EXPECT_EQ(Reach(f.Line1), std::make_pair(600, -10));
  calculator.Text5.SetText("JN71GD");
  EXPECT_EQ(f.Label56.Caption(), " 271");
  EXPECT_EQ(Reach(f.Line1), std::make_pair(-600, -10));
}

struct BarCase {
  const char* name;
  const char* qrb;
  int length;
};

class BarTest : public IndicatorsTest, public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarTest, GrowsRightAt215UnitsPerKm) {
  const BarCase& c = GetParam();
  Form1& f = Main();
  f.Line2.SetVisible(false);
  f.Label13.SetCaption("marker");
  f.Label13.SetCaption(c.qrb);
  EXPECT_TRUE(f.Line2.Visible());
  EXPECT_EQ(Reach(f.Line2), std::make_pair(c.length, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Distances, BarTest,
    ::testing::Values(BarCase{"OneKm_2Point15RoundsTo2", "1", 2}, BarCase{"TwoKm", " 2", 4},
                      BarCase{"Km1000", " 1000", 2150}, BarCase{"Km168", " 168", 361},
                      BarCase{"NoNumber", "??????", 0},
                      // A hand-edited total cannot push the end point out of range.
                      BarCase{"Absurd", "99999999999999999999", 1000000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IndicatorsTest, CommitHidesTheBarAndTheNextLocatorShowsItAgain) {
  Form1& f = Main();
  Row("QX1ABC", "012", "JN71GD");
  EXPECT_TRUE(f.Line2.Visible());
  EXPECT_EQ(Reach(f.Line2).first, 361);  // 168 km
  f.Command1.Press();
  ASSERT_EQ(f.Text12.Text().empty(), false) << LastMessage();
  EXPECT_FALSE(f.Line2.Visible());
  EXPECT_EQ(Reach(f.Line1), std::make_pair(-600, -10));  // the needle stays at 271
  Row("QX2XYZ", "013", "JN91GD");
  EXPECT_TRUE(f.Line2.Visible());
  EXPECT_EQ(Reach(f.Line2).first, 359);  // 167 km
}

// The next station in the same locator computes nothing new and changes no indicator; its
// distance shows in the bar all the same.
TEST_F(IndicatorsTest, TheSameLocatorAfterACommitShowsTheBarAgain) {
  Form1& f = Main();
  Row("QX1ABC", "012", "JN71GD");
  f.Command1.Press();
  ASSERT_FALSE(f.Line2.Visible()) << LastMessage();
  Row("QX2XYZ", "013", "JN71GD");
  EXPECT_EQ(f.Label13.Caption(), " 168");
  EXPECT_TRUE(f.Line2.Visible());
  EXPECT_EQ(Reach(f.Line2).first, 361);
}

TEST_F(IndicatorsTest, AwardAppearsPastTwentyFourIqrpQsosAndStays) {
  Form1& f = Main();
  for (const char* count : {"0", "1", "24", " 24", "abc"}) {
    f.Label51.SetCaption(count);
    EXPECT_FALSE(f.Picture3.Visible()) << count;
    EXPECT_FALSE(f.Label54.Visible()) << count;
  }
  f.Label51.SetCaption("25");
  EXPECT_TRUE(f.Picture3.Visible());
  EXPECT_TRUE(f.Label54.Visible());
  f.Label51.SetCaption("3");
  EXPECT_TRUE(f.Picture3.Visible());
}

TEST_F(IndicatorsTest, TheTwentyFifthIqrpQsoEarnsTheAward) {
  Form1& f = Main();
  f.Label51.SetCaption("24");
  Row("QX1ABC", "012", "JN71GD", "I003");
  f.Command1.Press();
  ASSERT_EQ(f.Label51.Caption(), "25") << LastMessage();
  EXPECT_TRUE(f.Picture3.Visible());
  EXPECT_TRUE(f.Label54.Visible());
}

TEST_F(IndicatorsTest, AwardPictureOpensTheAwardWindowOnlyOnceEarned) {
  Form1& f = Main();
  f.Picture3.Click();
  EXPECT_EQ(program().Find<Form9>(), nullptr);
  f.Label51.SetCaption("25");
  f.Picture3.Click();
  ASSERT_NE(program().Find<Form9>(), nullptr);
  EXPECT_TRUE(program().Find<Form9>()->Visible());
}

TEST_F(IndicatorsTest, ScrollPutsTheFocusInTheListAfterTheLastQso) {
  Form1& f = Main();
  f.Text12.AppendText("001 first\r\n002 second\r\n");
  f.Command8.Press();
  EXPECT_EQ(Focused(), "Text12");
  EXPECT_EQ(f.Text12.SelStart(), static_cast<int>(f.Text12.Text().size()));
}

}  // namespace
}  // namespace keldra::testing

// The main window's reactions to its own indicators: the bearing needle and its text, the
// distance bar, the award picture, and scrolling the QSO list.
#include "MainWindowFixture.h"
#include "ui/ClubAwardWindow.h"

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
  MainWindow& f = Main();
  const int x1 = f.bearing_needle.X1(), y1 = f.bearing_needle.Y1();
  f.bearing.SetCaption("marker");  // so that every case is a change
  f.bearing.SetCaption(c.qtf);
  EXPECT_EQ(Reach(f.bearing_needle), std::make_pair(c.dx, c.dy));
  EXPECT_EQ(f.bearing_needle.X1(), x1);  // the needle turns about its start point
  EXPECT_EQ(f.bearing_needle.Y1(), y1);
  EXPECT_EQ(f.bearing_readout.Caption(), c.qtf);
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

TEST_F(IndicatorsTest, NeedleFollowsEachLocatorTyped) {
  MainWindow& f = Main();
  f.locator.SetText("JN91GD");
  EXPECT_EQ(f.bearing_readout.Caption(), " 89");
  EXPECT_EQ(Reach(f.bearing_needle), std::make_pair(600, -10));
  f.locator.SetText("JN71GD");
  EXPECT_EQ(f.bearing_readout.Caption(), " 271");
  EXPECT_EQ(Reach(f.bearing_needle), std::make_pair(-600, -10));
}

struct BarCase {
  const char* name;
  const char* qrb;
  int length;
};

class BarTest : public IndicatorsTest, public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarTest, GrowsRightAt215UnitsPerKm) {
  const BarCase& c = GetParam();
  MainWindow& f = Main();
  f.distance_bar.SetVisible(false);
  f.distance.SetCaption("marker");
  f.distance.SetCaption(c.qrb);
  EXPECT_TRUE(f.distance_bar.Visible());
  EXPECT_EQ(Reach(f.distance_bar), std::make_pair(c.length, 0));
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
  MainWindow& f = Main();
  Row("QX1ABC", "012", "JN71GD");
  EXPECT_TRUE(f.distance_bar.Visible());
  EXPECT_EQ(Reach(f.distance_bar).first, 361);  // 168 km
  f.ok_button.Press();
  ASSERT_EQ(f.qso_list.Text().empty(), false) << LastMessage();
  EXPECT_FALSE(f.distance_bar.Visible());
  EXPECT_EQ(Reach(f.bearing_needle), std::make_pair(-600, -10));  // the needle stays at 271
  Row("QX2XYZ", "013", "JN91GD");
  EXPECT_TRUE(f.distance_bar.Visible());
  EXPECT_EQ(Reach(f.distance_bar).first, 359);  // 167 km
}

// The next station in the same locator computes nothing new and changes no indicator; its
// distance shows in the bar all the same.
TEST_F(IndicatorsTest, TheSameLocatorAfterACommitShowsTheBarAgain) {
  MainWindow& f = Main();
  Row("QX1ABC", "012", "JN71GD");
  f.ok_button.Press();
  ASSERT_FALSE(f.distance_bar.Visible()) << LastMessage();
  Row("QX2XYZ", "013", "JN71GD");
  EXPECT_EQ(f.distance.Caption(), " 168");
  EXPECT_TRUE(f.distance_bar.Visible());
  EXPECT_EQ(Reach(f.distance_bar).first, 361);
}

TEST_F(IndicatorsTest, AwardAppearsPastTwentyFourIqrpQsosAndStays) {
  MainWindow& f = Main();
  for (const char* count : {"0", "1", "24", " 24", "abc"}) {
    f.iqrp_qsos.SetCaption(count);
    EXPECT_FALSE(f.award_picture.Visible()) << count;
    EXPECT_FALSE(f.award_name.Visible()) << count;
  }
  f.iqrp_qsos.SetCaption("25");
  EXPECT_TRUE(f.award_picture.Visible());
  EXPECT_TRUE(f.award_name.Visible());
  f.iqrp_qsos.SetCaption("3");
  EXPECT_TRUE(f.award_picture.Visible());
}

TEST_F(IndicatorsTest, TheTwentyFifthIqrpQsoEarnsTheAward) {
  MainWindow& f = Main();
  ContestState contest;
  contest.iqrp_qsos = "24";
  PutContest(program(), contest);
  Row("QX1ABC", "012", "JN71GD", "I003");
  f.ok_button.Press();
  ASSERT_EQ(f.iqrp_qsos.Caption(), "25") << LastMessage();
  EXPECT_TRUE(f.award_picture.Visible());
  EXPECT_TRUE(f.award_name.Visible());
}

TEST_F(IndicatorsTest, AwardPictureOpensTheAwardWindowOnlyOnceEarned) {
  MainWindow& f = Main();
  f.award_picture.Click();
  EXPECT_EQ(program().Find<ClubAwardWindow>(), nullptr);
  f.iqrp_qsos.SetCaption("25");
  f.award_picture.Click();
  ASSERT_NE(program().Find<ClubAwardWindow>(), nullptr);
  EXPECT_TRUE(program().Find<ClubAwardWindow>()->Visible());
}

TEST_F(IndicatorsTest, ScrollPutsTheFocusInTheListAfterTheLastQso) {
  MainWindow& f = Main();
  f.qso_list.AppendText("001 first\r\n002 second\r\n");
  f.show_last_qso_button.Press();
  EXPECT_EQ(Focused(), "Text12");
  EXPECT_EQ(f.qso_list.SelStart(), static_cast<int>(f.qso_list.Text().size()));
}

}  // namespace
}  // namespace keldra::testing

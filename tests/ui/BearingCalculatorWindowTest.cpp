#include <gtest/gtest.h>

#include "TestSupport.h"
#include "ui/BearingCalculatorWindow.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

class BearingCalculatorWindowTest : public testing::ProgramTest {
 protected:
  // The main window first, as at start-up, then the calculator with the own locator JN81GD.
  BearingCalculatorWindow& Calculator() {
    main_ = &program().Get<MainWindow>();
    messages_.shown.clear();  // whatever start-up had to say
    BearingCalculatorWindow& f = program().Get<BearingCalculatorWindow>();
    f.own_locator.SetText("JN81GD");
    return f;
  }
  MainWindow& Main() { return *main_; }

  // The operator clears the placeholder and types the locator.
  static void TypeLocator(BearingCalculatorWindow& f, std::string_view text) {
    f.other_locator.SetFocus();
    f.other_locator.UserEdit("", 0);
    f.other_locator.Type(text);
  }

  MainWindow* main_ = nullptr;
};

TEST_F(BearingCalculatorWindowTest, TypingComputesAtTheSixthCharacterAndKeepsTheResult) {
  BearingCalculatorWindow& f = Calculator();
  TypeLocator(f, "jn71g");
  EXPECT_EQ(f.other_locator.Text(), "JN71G");
  EXPECT_EQ(f.distance.Text(), "...");
  EXPECT_EQ(f.bearing.Text(), "...");

  f.other_locator.Type("d");
  EXPECT_EQ(f.other_locator.Text(), "JN71GD");
  EXPECT_EQ(f.other_locator.SelStart(), 6);
  EXPECT_EQ(f.distance.Text(), " 168");
  EXPECT_EQ(f.bearing.Text(), " 271");
  // The main window's QRB and QTF are the row's being typed.
  EXPECT_EQ(Main().distance.Caption(), "");
  EXPECT_EQ(Main().bearing.Caption(), "");
}

TEST_F(BearingCalculatorWindowTest, WritingTheSameLocatorAgainTriggersNothing) {
  BearingCalculatorWindow& f = Calculator();
  f.other_locator.SetText("JN71GD");
  Main().distance.SetCaption("marker");
  Main().bearing.SetCaption("marker");
  f.other_locator.SetText("JN71GD");
  EXPECT_EQ(Main().distance.Caption(), "marker");
  EXPECT_EQ(Main().bearing.Caption(), "marker");
}

TEST_F(BearingCalculatorWindowTest, SameSubsquareShowsOneKmOnTheMainWindow) {
  BearingCalculatorWindow& f = Calculator();
  f.other_locator.SetText("JN81GD");
  EXPECT_EQ(f.distance.Text(), " 0");
  EXPECT_EQ(f.bearing.Text(), "0");
  Main().locator.SetText("JN81GD");
  EXPECT_EQ(Main().distance.Caption(), "1");
  EXPECT_EQ(Main().bearing.Caption(), "0");
}

TEST_F(BearingCalculatorWindowTest, InvalidLocatorEmptiesTheFieldAndTheNextOneWorks) {
  BearingCalculatorWindow& f = Calculator();
  f.other_locator.SetText("JNA1GD");
  EXPECT_EQ(f.other_locator.Text(), "");
  EXPECT_EQ(f.distance.Text(), "??????");
  EXPECT_EQ(f.bearing.Text(), "??????");
  EXPECT_EQ(f.own_locator.Text(), "JN81GD");
  Main().locator.SetText("JNA1GD");
  EXPECT_EQ(Main().distance.Caption(), "1");
  EXPECT_EQ(Main().bearing.Caption(), "??????");
  EXPECT_TRUE(messages_.shown.empty());

  f.other_locator.SetText("JN71GD");
  EXPECT_EQ(f.distance.Text(), " 168");
  EXPECT_EQ(f.bearing.Text(), " 271");
  Main().locator.SetText("JN71GD");
  EXPECT_EQ(Main().distance.Caption(), " 168");
}

TEST_F(BearingCalculatorWindowTest, OtherLengthsLeaveThePreviousResults) {
  BearingCalculatorWindow& f = Calculator();
  f.other_locator.SetText("JN71GD");
  for (const char* text : {"JN81", "JN81G", "JN81GDX", ""}) {
    f.other_locator.SetText(text);
    EXPECT_EQ(f.distance.Text(), " 168") << text;
    EXPECT_EQ(f.bearing.Text(), " 271") << text;
  }
  // Pressed by hand, a four-character locator is computed as the middle of its square.
  f.other_locator.SetText("jn81");
  f.calculate_button.Press();
  EXPECT_EQ(f.distance.Text(), " 50");
  EXPECT_EQ(f.bearing.Text(), " 43");
}

TEST_F(BearingCalculatorWindowTest, CalculateDoesNothingOnThePlaceholder) {
  BearingCalculatorWindow& f = Calculator();
  Main().distance.SetCaption("marker");
  ASSERT_EQ(f.other_locator.Text(), "...");
  f.calculate_button.Press();
  EXPECT_EQ(f.distance.Text(), "...");
  EXPECT_EQ(f.bearing.Text(), "...");
  EXPECT_EQ(f.own_latitude.Text(), "Text7");
  EXPECT_EQ(Main().distance.Caption(), "marker");
}

TEST_F(BearingCalculatorWindowTest, OwnLocatorIsUpperCasedAndKeepsNoCalculation) {
  BearingCalculatorWindow& f = Calculator();
  f.own_locator.SetFocus();
  f.own_locator.UserEdit("", 0);
  f.own_locator.Type("jn71gd");
  EXPECT_EQ(f.own_locator.Text(), "JN71GD");
  EXPECT_EQ(f.own_locator.SelStart(), 6);
  EXPECT_EQ(f.distance.Text(), "...");
}

TEST_F(BearingCalculatorWindowTest, CoordinatesGoToTheHiddenFields) {
  BearingCalculatorWindow& f = Calculator();
  f.other_locator.SetText("JN71GD");
  EXPECT_EQ(f.own_latitude.Text().substr(0, 9), "41.145833");
  EXPECT_EQ(f.own_longitude.Text().substr(0, 10), "-16.541666");
  EXPECT_EQ(f.other_latitude.Text().substr(0, 9), "41.145833");
  EXPECT_EQ(f.other_longitude.Text().substr(0, 10), "-14.541666");
}

TEST_F(BearingCalculatorWindowTest, OwnLocatorTooLongIsExplained) {
  BearingCalculatorWindow& f = Calculator();
  f.own_locator.SetText("JN81GDX");
  f.other_locator.SetText("JN71GD");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find("6 caratteri"), std::string::npos);
  EXPECT_EQ(f.distance.Text(), "??????");
  EXPECT_EQ(f.other_locator.Text(), "");
}

TEST_F(BearingCalculatorWindowTest, EmptyOwnLocatorEndsWithBearingZero) {
  BearingCalculatorWindow& f = Calculator();
  f.own_locator.SetText("");
  f.other_locator.SetText("JN71GD");
  EXPECT_EQ(f.distance.Text(), "??????");
  EXPECT_EQ(f.bearing.Text(), "0");
  program().Calculator().SetOwnLocator("");
  Main().locator.SetText("JN71GD");
  EXPECT_EQ(Main().bearing.Caption(), "0");
}

TEST_F(BearingCalculatorWindowTest, ExitDiscardsTheWindowAndTheNextAccessStartsAfresh) {
  BearingCalculatorWindow& f = Calculator();
  f.own_locator.SetText("JN71GD");
  f.other_locator.SetText("JN91GD");
  f.exit_button.Press();
  EXPECT_EQ(program().Find<BearingCalculatorWindow>(), nullptr);
  BearingCalculatorWindow& again = program().Get<BearingCalculatorWindow>();
  EXPECT_EQ(again.own_locator.Text(), "JN81GD");
  EXPECT_EQ(again.other_locator.Text(), "...");
  EXPECT_EQ(again.distance.Text(), "...");
  EXPECT_FALSE(again.Visible());
}

}  // namespace
}  // namespace keldra

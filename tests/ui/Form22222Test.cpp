#include <gtest/gtest.h>

#include "TestSupport.h"
#include "ui/Form1.h"
#include "ui/Form22222.h"

namespace keldra {
namespace {

class Form22222Test : public testing::ProgramTest {
 protected:
  // The main window first, as at start-up, then the calculator with the own locator JN81GD.
  Form22222& Calculator() {
    main_ = &program().Get<Form1>();
    messages_.shown.clear();  // whatever start-up had to say
    Form22222& f = program().Get<Form22222>();
    f.Text3.SetText("JN81GD");
    return f;
  }
  Form1& Main() { return *main_; }

  // The operator clears the placeholder and types the locator.
  static void TypeLocator(Form22222& f, std::string_view text) {
    f.Text5.SetFocus();
    f.Text5.UserEdit("", 0);
    f.Text5.Type(text);
  }

  Form1* main_ = nullptr;
};

TEST_F(Form22222Test, TypingComputesAtTheSixthCharacterAndPublishes) {
  Form22222& f = Calculator();
  TypeLocator(f, "jn71g");
  EXPECT_EQ(f.Text5.Text(), "JN71G");
  EXPECT_EQ(f.Text6.Text(), "...");
  EXPECT_EQ(f.Text1.Text(), "...");

  f.Text5.Type("d");
  EXPECT_EQ(f.Text5.Text(), "JN71GD");
  EXPECT_EQ(f.Text5.SelStart(), 6);
  EXPECT_EQ(f.Text6.Text(), " 168");
  EXPECT_EQ(f.Text1.Text(), " 271");
  EXPECT_EQ(Main().Label13.Caption(), " 168");
  EXPECT_EQ(Main().Label15.Caption(), " 271");
}

TEST_F(Form22222Test, WritingTheSameLocatorAgainTriggersNothing) {
  Form22222& f = Calculator();
  f.Text5.SetText("JN71GD");
  Main().Label13.SetCaption("marker");
  Main().Label15.SetCaption("marker");
  f.Text5.SetText("JN71GD");
  EXPECT_EQ(Main().Label13.Caption(), "marker");
  EXPECT_EQ(Main().Label15.Caption(), "marker");
}

TEST_F(Form22222Test, SameSubsquareShowsOneKmOnTheMainWindow) {
  Form22222& f = Calculator();
  f.Text5.SetText("JN81GD");
  EXPECT_EQ(f.Text6.Text(), " 0");
  EXPECT_EQ(f.Text1.Text(), "0");
  EXPECT_EQ(Main().Label13.Caption(), "1");
  EXPECT_EQ(Main().Label15.Caption(), "0");
}

TEST_F(Form22222Test, InvalidLocatorEmptiesTheFieldAndTheNextOneWorks) {
  Form22222& f = Calculator();
  f.Text5.SetText("JNA1GD");
  EXPECT_EQ(f.Text5.Text(), "");
  EXPECT_EQ(f.Text6.Text(), "??????");
  EXPECT_EQ(f.Text1.Text(), "??????");
  EXPECT_EQ(f.Text3.Text(), "JN81GD");
  EXPECT_EQ(Main().Label13.Caption(), "1");
  EXPECT_EQ(Main().Label15.Caption(), "??????");
  EXPECT_TRUE(messages_.shown.empty());

  f.Text5.SetText("JN71GD");
  EXPECT_EQ(f.Text6.Text(), " 168");
  EXPECT_EQ(f.Text1.Text(), " 271");
  EXPECT_EQ(Main().Label13.Caption(), " 168");
}

TEST_F(Form22222Test, OtherLengthsLeaveThePreviousResults) {
  Form22222& f = Calculator();
  f.Text5.SetText("JN71GD");
  for (const char* text : {"JN81", "JN81G", "JN81GDX", ""}) {
    f.Text5.SetText(text);
    EXPECT_EQ(f.Text6.Text(), " 168") << text;
    EXPECT_EQ(f.Text1.Text(), " 271") << text;
  }
  // Pressed by hand, a four-character locator is computed as the middle of its square.
  f.Text5.SetText("jn81");
  f.Command1.Press();
  EXPECT_EQ(f.Text6.Text(), " 50");
  EXPECT_EQ(f.Text1.Text(), " 43");
}

TEST_F(Form22222Test, CalculateDoesNothingOnThePlaceholder) {
  Form22222& f = Calculator();
  Main().Label13.SetCaption("marker");
  ASSERT_EQ(f.Text5.Text(), "...");
  f.Command1.Press();
  EXPECT_EQ(f.Text6.Text(), "...");
  EXPECT_EQ(f.Text1.Text(), "...");
  EXPECT_EQ(f.Text7.Text(), "Text7");
  EXPECT_EQ(Main().Label13.Caption(), "marker");
}

TEST_F(Form22222Test, OwnLocatorIsUpperCasedAndKeepsNoCalculation) {
  Form22222& f = Calculator();
  f.Text3.SetFocus();
  f.Text3.UserEdit("", 0);
  f.Text3.Type("jn71gd");
  EXPECT_EQ(f.Text3.Text(), "JN71GD");
  EXPECT_EQ(f.Text3.SelStart(), 6);
  EXPECT_EQ(f.Text6.Text(), "...");
}

TEST_F(Form22222Test, CoordinatesGoToTheHiddenFields) {
  Form22222& f = Calculator();
  f.Text5.SetText("JN71GD");
  EXPECT_EQ(f.Text7.Text().substr(0, 9), "41.145833");
  EXPECT_EQ(f.Text2.Text().substr(0, 10), "-16.541666");
  EXPECT_EQ(f.Text4.Text().substr(0, 9), "41.145833");
  EXPECT_EQ(f.Text8.Text().substr(0, 10), "-14.541666");
}

TEST_F(Form22222Test, OwnLocatorTooLongIsExplained) {
  Form22222& f = Calculator();
  f.Text3.SetText("JN81GDX");
  f.Text5.SetText("JN71GD");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find("6 caratteri"), std::string::npos);
  EXPECT_EQ(f.Text6.Text(), "??????");
  EXPECT_EQ(f.Text5.Text(), "");
}

TEST_F(Form22222Test, EmptyOwnLocatorEndsWithBearingZero) {
  Form22222& f = Calculator();
  f.Text3.SetText("");
  f.Text5.SetText("JN71GD");
  EXPECT_EQ(f.Text6.Text(), "??????");
  EXPECT_EQ(f.Text1.Text(), "0");
  EXPECT_EQ(Main().Label15.Caption(), "0");
}

TEST_F(Form22222Test, ExitDiscardsTheWindowAndTheNextAccessStartsAfresh) {
  Form22222& f = Calculator();
  f.Text3.SetText("JN71GD");
  f.Text5.SetText("JN91GD");
  f.Command2.Press();
  EXPECT_EQ(program().Find<Form22222>(), nullptr);
  Form22222& again = program().Get<Form22222>();
  EXPECT_EQ(again.Text3.Text(), "JN81GD");
  EXPECT_EQ(again.Text5.Text(), "...");
  EXPECT_EQ(again.Text6.Text(), "...");
  EXPECT_FALSE(again.Visible());
}

}  // namespace
}  // namespace keldra

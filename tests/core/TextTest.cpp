// The number and text helpers, and the clock's UTC across day, month and year ends.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/Text.h"
#include "support/TestDoubles.h"

namespace keldra {
namespace {

TEST(TextTest, LeadingNumber) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"523", 523},      {" 523", 523}, {"   523 km", 523}, {"0,5", 0},    {"abc", 0},
      {"", 0},           {" ", 0},      {".", 0},           {"-", 0},      {"-.", 0},
      {"-12.5x", -12.5}, {" 1", 1},     {".5", 0.5},        {"-.5", -0.5}, {"7.", 7},
      {"+3", 3},         {"- 3", 0},    {"1.2.3", 1.2},     {"0045", 45},  {"1e3", 1},
      {"a12", 0},        {"\t8", 8},    {"311.5", 311.5},   {"-0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LeadingNumber(c.text), c.value);
  }
}

TEST(TextTest, PlainDecimal) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},           {-0.0, "0"},      {37, "37"},
      {-12, "-12"},       {0.5, "0.5"},     {-0.25, "-0.25"},
      {523.75, "523.75"}, {1e6, "1000000"}, {1234567890123, "1234567890123"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(PlainDecimal(c.value), c.text);
  }
  EXPECT_EQ(PlainDecimal(37LL), "37");
  EXPECT_EQ(PlainDecimal(-5LL), "-5");
}

TEST(TextTest, PlainDecimalOfHugeAndTinyNumbersIsStillTheNumber) {
  const double values[] = {1e300, -1e300, 1.5e20, 1e-300, 123456789e250};
  for (double value : values) {
    SCOPED_TRACE(value);
    const std::string text = PlainDecimal(value);
    EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << text;
    EXPECT_EQ(LeadingNumber(text), value) << text;
  }
}

TEST(TextTest, RoundHalfEven) {
  struct Case {
    double value;
    double rounded;
  };
  const Case cases[] = {
      {12.5, 12},
      {13.5, 14},
      {311.5, 312},
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {-12.5, -12},
      {-13.5, -14},
      {12.4999, 12},
      {12.5001, 13},
      {-12.5001, -13},
      {7, 7},
      {0.49999999999999994, 0},
      {4503599627370497.0, 4503599627370497.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(RoundHalfEven(c.value), c.rounded);
  }
}

TEST(TextTest, TrimRemovesBlanksOnly) {
  EXPECT_EQ(Trim("  IW3ABC  "), "IW3ABC");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("a b"), "a b");
  EXPECT_EQ(Trim("\tx\r"), "\tx\r");
}

TEST(TextTest, MidLeftRightPastTheEnd) {
  struct Case {
    const char* name;
    std::string got;
    const char* expected;
  };
  const Case cases[] = {
      {"mid from 1", Mid("JN55AB", 1, 2), "JN"},
      {"mid inside", Mid("JN55AB", 3, 2), "55"},
      {"mid to the end", Mid("JN55AB", 5), "AB"},
      {"mid length past the end", Mid("JN55AB", 5, 10), "AB"},
      {"mid at the last", Mid("JN55AB", 6, 1), "B"},
      {"mid start past the end", Mid("JN55AB", 7, 1), ""},
      {"mid start far past", Mid("JN55AB", 100), ""},
      {"mid start 0", Mid("JN55AB", 0, 2), ""},
      {"mid of empty", Mid("", 1, 1), ""},
      {"mid zero length", Mid("JN55AB", 2, 0), ""},
      {"left", Left("IW3ABC", 3), "IW3"},
      {"left past the end", Left("IW3", 10), "IW3"},
      {"left zero", Left("IW3", 0), ""},
      {"right", Right("IW3ABC", 3), "ABC"},
      {"right whole", Right("IW3", 3), "IW3"},
      {"right past the end", Right("IW3", 10), "IW3"},
      {"right zero", Right("IW3", 0), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.expected);
  }
}

TEST(TextTest, Digits) {
  EXPECT_TRUE(IsAllDigits("0123456789"));
  EXPECT_FALSE(IsAllDigits(""));
  EXPECT_FALSE(IsAllDigits("12a"));
  EXPECT_FALSE(IsAllDigits(" 12"));
  EXPECT_FALSE(IsAllDigits("1.2"));
  EXPECT_FALSE(IsAllDigits("\xB2"));  // superscript two is not a digit
}

// What the settings windows and files take as a number: the whole text, within its range.
TEST(TextTest, WholeNumber) {
  const struct {
    const char* text;
    std::optional<int> read;
  } cases[] = {{"12", 12},
               {"-360", -360},
               {"60", 60},
               {"61", std::nullopt},
               {"", std::nullopt},
               {" 12", std::nullopt},
               {"12 ", std::nullopt},
               {"1e3", std::nullopt},
               {"99999999999", std::nullopt},
               {"+5", std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(WholeNumber(c.text, -360, 60), c.read) << c.text;
  }
}

TEST(TextTest, ZeroFill) {
  EXPECT_EQ(ZeroFill("7", 3), "007");
  EXPECT_EQ(ZeroFill("42", 3), "042");
  EXPECT_EQ(ZeroFill("123", 3), "123");
  EXPECT_EQ(ZeroFill("1234", 3), "1234");
  EXPECT_EQ(ZeroFill("", 3), "000");
  EXPECT_EQ(ZeroFill("5", 0), "5");
}

TEST(TextTest, DateAndTimeFormats) {
  struct Case {
    DateTime t;
    const char* short_date;
    const char* long_date;
    const char* time;
  };
  const Case cases[] = {
      {{2023, 7, 16, 9, 30, 0}, "16/07/23", "16/07/2023", "09.30"},
      {{2005, 1, 2, 0, 0, 59}, "02/01/05", "02/01/2005", "00.00"},
      {{2000, 12, 31, 23, 59, 0}, "31/12/00", "31/12/2000", "23.59"},
      {{1999, 10, 9, 12, 5, 0}, "09/10/99", "09/10/1999", "12.05"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.long_date);
    EXPECT_EQ(FormatDateShort(c.t), c.short_date);
    EXPECT_EQ(FormatDateLong(c.t), c.long_date);
    EXPECT_EQ(FormatTime(c.t), c.time);
  }
}

TEST(ClockTest, FixedClockUtcAcrossDayMonthAndYearEnds) {
  struct Case {
    const char* name;
    DateTime local;
    int offset_minutes;
    DateTime utc;
  };
  const Case cases[] = {
      {"same day", {2023, 7, 16, 9, 30, 0}, 120, {2023, 7, 16, 7, 30, 0}},
      {"exactly midnight", {2023, 7, 16, 2, 0, 0}, 120, {2023, 7, 16, 0, 0, 0}},
      {"across midnight", {2023, 7, 16, 1, 30, 0}, 120, {2023, 7, 15, 23, 30, 0}},
      {"across a month end", {2023, 8, 1, 0, 15, 0}, 120, {2023, 7, 31, 22, 15, 0}},
      {"across a year end", {2024, 1, 1, 0, 59, 30}, 60, {2023, 12, 31, 23, 59, 30}},
      {"into a leap day", {2024, 3, 1, 1, 0, 0}, 120, {2024, 2, 29, 23, 0, 0}},
      {"february of a common year", {2023, 3, 1, 1, 0, 0}, 120, {2023, 2, 28, 23, 0, 0}},
      {"west of utc, forward a year", {2023, 12, 31, 22, 0, 0}, -300, {2024, 1, 1, 3, 0, 0}},
      {"zero offset", {2023, 7, 16, 9, 30, 0}, 0, {2023, 7, 16, 9, 30, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FixedClock clock(c.local, c.offset_minutes);
    EXPECT_EQ(clock.Local(), c.local);
    EXPECT_EQ(clock.Utc(), c.utc);
  }
}

TEST(ClockTest, AddMinutes) {
  EXPECT_EQ(AddMinutes({2023, 12, 31, 23, 59, 0}, 1), (DateTime{2024, 1, 1, 0, 0, 0}));
  EXPECT_EQ(AddMinutes({2023, 1, 1, 0, 0, 0}, -1), (DateTime{2022, 12, 31, 23, 59, 0}));
  EXPECT_EQ(AddMinutes({2023, 7, 16, 9, 30, 0}, 3 * 24 * 60), (DateTime{2023, 7, 19, 9, 30, 0}));
  EXPECT_EQ(AddMinutes({2023, 4, 30, 23, 0, 0}, 90), (DateTime{2023, 5, 1, 0, 30, 0}));
}

}  // namespace
}  // namespace keldra

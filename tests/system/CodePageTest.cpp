// The Windows-1252 code page at the front end's boundary and in upper-casing.
#include <gtest/gtest.h>

#include <string>

#include "system/CodePage.h"

namespace keldra {
namespace {

TEST(CodePageTest, EveryByteSurvivesTheRoundTripThroughUtf8) {
  for (int b = 0; b <= 0xFF; ++b) {
    SCOPED_TRACE(b);
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = Cp1252ToUtf8(byte);
    if (b < 0x80) {
      EXPECT_EQ(utf8, byte);
    }
    EXPECT_EQ(Utf8ToCp1252(utf8), byte);
  }
}

TEST(CodePageTest, KnownCharacters) {
  struct Case {
    const char* name;
    std::string cp1252;
    std::string utf8;
  };
  const Case cases[] = {
      {"ascii", "IW3ABC JN55", "IW3ABC JN55"},
      {"a grave", "citt\xE0", "citt\xC3\xA0"},
      {"degree", "\xB0", "\xC2\xB0"},
      {"euro", "\x80", "\xE2\x82\xAC"},
      {"s caron", "\x9A", "\xC5\xA1"},
      {"y diaeresis capital", "\x9F", "\xC5\xB8"},
      {"undefined 0x81 as its C1 control", "\x81", "\xC2\x81"},
      {"nul", std::string(1, '\0'), std::string(1, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
  }
  EXPECT_EQ(Cp1252("città °"), "citt\xE0 \xB0");
}

TEST(CodePageTest, OutsideTheCodePageOrBrokenUtf8BecomesQuestionMarks) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string cp1252;
  };
  const Case cases[] = {
      {"greek alpha", "\xCE\xB1", "?"},
      {"C1 control that the euro sign took", "\xC2\x80", "?"},
      {"C1 control that the s caron took", "\xC2\x8A", "?"},
      {"cjk",
       "a\xE4\xB8\xAD"
       "b",
       "a?b"},
      {"emoji", "\xF0\x9F\x93\xBB", "?"},
      {"lone continuation byte",
       "a\x80"
       "b",
       "a?b"},
      {"lead byte at the end", "ab\xC3", "ab?"},
      {"lead byte before ascii",
       "\xC3"
       "A",
       "?A"},
      {"three-byte sequence cut short", "\xE2\x82", "??"},
      {"invalid lead byte", "\xFF", "?"},
      {"overlong nul", "\xC0\x80", "??"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"overlong three-byte", "\xE0\x80\xAF", "???"},
      {"surrogate", "\xED\xA0\x80", "?"},
      {"beyond unicode", "\xF4\x90\x80\x80", "?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
  }
}

TEST(CodePageTest, UpperCase) {
  struct Case {
    const char* name;
    std::string text;
    std::string upper;
  };
  const Case cases[] = {
      {"accented", Cp1252("città"), Cp1252("CITTÀ")},
      {"degree unchanged", Cp1252("10°"), Cp1252("10°")},
      {"s caron", Cp1252("š"), Cp1252("Š")},
      {"z caron", Cp1252("ž"), Cp1252("Ž")},
      {"oe", Cp1252("œ"), Cp1252("Œ")},
      {"y diaeresis", Cp1252("ÿ"), Cp1252("Ÿ")},
      {"sharp s unchanged", Cp1252("ß"), Cp1252("ß")},
      {"division sign unchanged", Cp1252("÷"), Cp1252("÷")},
      {"micro sign unchanged", Cp1252("µ"), Cp1252("µ")},
      {"already upper", Cp1252("ÀÉÌ"), Cp1252("ÀÉÌ")},
      {"callsign", "iw3/p", "IW3/P"},
      {"ascii around letters", "@[`{", "@[`{"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToUpper1252(c.text), c.upper);
  }
}

// Code fields upper-case themselves in their change handler; a byte whose upper case is not its
// own upper case would make that handler rewrite the text for ever.
TEST(CodePageTest, UpperCaseOfAnUpperCaseByteIsItself) {
  for (int b = 0; b <= 0xFF; ++b) {
    SCOPED_TRACE(b);
    const char upper = ToUpper1252(static_cast<char>(b));
    EXPECT_EQ(ToUpper1252(upper), upper);
  }
}

}  // namespace
}  // namespace keldra

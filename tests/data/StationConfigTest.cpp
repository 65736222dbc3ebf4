#include <gtest/gtest.h>

#include "data/StationConfig.h"

namespace keldra {
namespace {

TEST(StationConfigText, FourLinesEndedByCrLf) {
  EXPECT_EQ(StationConfigText({"QX0ABC", "JN81GD", "003", ""}),
            "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n");
}

TEST(ReadStationConfig, ByLeadingCharacters) {
  struct Case {
    const char* name;
    std::string bytes;
    std::optional<std::string> call, locator, iqrp, mqc;
  };
  const Case cases[] = {
      {"as_written", "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n", "QX0ABC",
       "JN81GD", "003", ""},
      {"lf_only_no_final_end", "Call = QX0ABC\nMQC = 123", "QX0ABC", std::nullopt, std::nullopt,
       "123"},
      {"later_line_replaces_earlier", "Call = QX0AAA\r\nCall = QX0BBB\r\n", "QX0BBB", std::nullopt,
       std::nullopt, std::nullopt},
      // Numbers are exactly three characters: a longer one is cut, a shorter one kept short.
      {"numbers_three_characters", "IQRP = 12345\r\nMQC = 7\r\n", std::nullopt, std::nullopt, "123",
       "7"},
      {"locator_six_characters", "Locator = jn81gdxx\r\n", std::nullopt, "jn81gd", std::nullopt,
       std::nullopt},
      {"short_locator_kept_short", "Locator = JN8\r\n", std::nullopt, "JN8", std::nullopt,
       std::nullopt},
      {"call_keeps_everything", "Call = QX0ABC/P  \r\n", "QX0ABC/P  ", std::nullopt, std::nullopt,
       std::nullopt},
      {"key_without_blank_ignored", "Call =\r\nLocator =JN81GD\r\n", std::nullopt, std::nullopt,
       std::nullopt, std::nullopt},
      {"case_sensitive_and_unknown_lines", "call = QX0ABC\r\n\r\nfoo\r\n", std::nullopt,
       std::nullopt, std::nullopt, std::nullopt},
      {"bytes_outside_ascii", "Call = \xC0\xFF\r\n", "\xC0\xFF", std::nullopt, std::nullopt,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StationConfigValues read = ReadStationConfig(c.bytes);
    EXPECT_EQ(read.call, c.call);
    EXPECT_EQ(read.locator, c.locator);
    EXPECT_EQ(read.iqrp, c.iqrp);
    EXPECT_EQ(read.mqc, c.mqc);
  }
}

}  // namespace
}  // namespace keldra

#include <gtest/gtest.h>

#include "core/EntryDate.h"

namespace keldra {
namespace {

struct DateCase {
  const char* name;
  const char* typed;
  const char* normalised;
};

class NormalizeTypedDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(NormalizeTypedDateTest, GivesDdMmYy) {
  EXPECT_EQ(NormalizeTypedDate(GetParam().typed), GetParam().normalised);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, NormalizeTypedDateTest,
    ::testing::Values(DateCase{"AlreadyNormal", "16/07/23", "16/07/23"},
                      DateCase{"OneDigitDayAndMonth", "1/7/23", "01/07/23"},
                      DateCase{"OneDigitMonth", "16/7/23", "16/07/23"},
                      DateCase{"OneDigitDayTwoDigitMonth", "1/12/23", "01/12/23"},
                      DateCase{"FourDigitYear", "16/07/2023", "16/07/23"},
                      DateCase{"ShortPartsFourDigitYear", "1/7/2023", "01/07/23"},
                      DateCase{"FourDigits", "1723", "01/07/23"},
                      DateCase{"SixDigits", "160723", "16/07/23"},
                      DateCase{"EightDigits", "16072023", "16/07/23"},
                      DateCase{"FiveDigitsLeftAlone", "16072", "16072"},
                      // Other texts get the field's character rules, which leave them at a
                      // length the commit refuses rather than at eight characters it would log.
                      DateCase{"ThreeDigitDayNotEight", "160/7/23", "1600/7/23"},
                      DateCase{"ThreeDigitYearNotEight", "16/7/202", "16/07/202"},
                      DateCase{"TwoDigitDayThreeDigitYearNotEight", "12/7/234", "12/07/234"},
                      DateCase{"EmptyPartNotEight", "16//23", "160//23"},
                      DateCase{"TenCharactersOtherwise", "16-07-2023", "16-07-23"},
                      DateCase{"TenDigitsCutThenSplit", "1607202300", "16/07/00"},
                      DateCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace keldra

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "export/Prefixes.h"

namespace keldra {
namespace {

struct Case {
  const char* name;
  const char* callsign;
  std::optional<std::string> country;
};

class CountryOfTest : public ::testing::TestWithParam<Case> {};

TEST_P(CountryOfTest, GivesTheCountryOfTheLastMatchingRule) {
  EXPECT_EQ(CountryOf(GetParam().callsign), GetParam().country);
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

// Italy and its islands: Sardinia overrides Italy only with the zero.
INSTANTIATE_TEST_SUITE_P(
    Italy, CountryOfTest,
    ::testing::Values(Case{"IK7", "IK7ABC", "Italy"}, Case{"IS0", "IS0ABC", "Sardinia"},
                      Case{"IM0", "IM0ABC", "Sardinia"},
                      Case{"IS1_not_Sardinia", "IS1ABC", "Italy"}, Case{"IT9", "IT9ABC", "Italy"},
                      Case{"bare_I", "I", "Italy"},
                      Case{"lower_case_no_match", "ik7abc", std::nullopt},
                      Case{"HV", "HV0A", "Vatican"}, Case{"T7", "T70A", "San Marino"}),
    CaseName);

// England with its overrides for the other home nations.
INSTANTIATE_TEST_SUITE_P(
    BritishIsles, CountryOfTest,
    ::testing::Values(Case{"G4", "G4ABC", "England"}, Case{"GX", "GX4ABC", "England"},
                      Case{"GD", "GD4ABC", "England"}, Case{"MM0", "MM0ABC", "England"},
                      Case{"GM", "GM4ABC", "Scotland"}, Case{"GS", "GS4ABC", "Scotland"},
                      Case{"GI", "GI4ABC", "Northen Ireland"},
                      Case{"GN", "GN4ABC", "Northen Ireland"}, Case{"GW", "GW4ABC", "Wales"},
                      Case{"GC", "GC4ABC", "Wales"}, Case{"EI", "EI2ABC", "Ireland"},
                      Case{"EJ", "EJ2ABC", "Ireland"}),
    CaseName);

// The E block: Spain and its islands need a digit third; Ukraine excludes the Baltic and
// Belarusian prefixes.
INSTANTIATE_TEST_SUITE_P(
    EBlock, CountryOfTest,
    ::testing::Values(Case{"EA1", "EA1ABC", "Spain"}, Case{"EH7_range_end", "EH7ABC", "Spain"},
                      Case{"EA6", "EA6ABC", "Balearic Is."}, Case{"EA8", "EA8ABC", "Canary Is."},
                      Case{"EA9", "EA9ABC", "Ceuta & Melilla"},
                      Case{"EA_no_digit", "EAABC", std::nullopt},
                      Case{"E7", "E71ABC", "Bosnia-Herzegovina"}, Case{"ES1", "ES1ABC", "Estonia"},
                      Case{"EU1", "EU1ABC", "Belarus"}, Case{"EW1", "EW1ABC", "Belarus"},
                      Case{"EM1", "EM1ABC", "Ukraine"}, Case{"EO1", "EO1ABC", "Ukraine"},
                      Case{"EY1_range_end", "EY1ABC", "Ukraine"},
                      Case{"EZ1_past_range", "EZ1ABC", std::nullopt},
                      Case{"CT1", "CT1ABC", "Portugal"}),
    CaseName);

// Greece with Mount Athos, the Dodecanese and Crete; a later row wins.
INSTANTIATE_TEST_SUITE_P(
    Greece, CountryOfTest,
    ::testing::Values(Case{"SV1", "SV1ABC", "Greece"}, Case{"SZ1", "SZ1ABC", "Greece"},
                      Case{"J41", "J41ABC", "Greece"},
                      Case{"SV2_slash_A", "SV2ABC/A", "Mount Athos"},
                      Case{"SX_slash_A", "SX2ABC/A", "Greece"}, Case{"SV5", "SV5ABC", "Dodecanese"},
                      Case{"J45", "J45ABC", "Dodecanese"},
                      Case{"SV5_slash_A", "SV5ABC/A", "Dodecanese"}, Case{"SV9", "SV9ABC", "Crete"},
                      Case{"J49", "J49ABC", "Crete"}),
    CaseName);

// Russia by the digit, Kaliningrad over European Russia, Ukraine in the U block.
INSTANTIATE_TEST_SUITE_P(
    Russia, CountryOfTest,
    ::testing::Values(
        Case{"UA3", "UA3ABC", "European Russia"}, Case{"RK1", "RK1ABC", "European Russia"},
        Case{"UI7_range_end", "UI7ABC", "European Russia"}, Case{"UA9", "UA9ABC", "Asiatic Russia"},
        Case{"RA0", "RA0ABC", "Asiatic Russia"}, Case{"UA2", "UA2ABC", "Kaliningrad"},
        Case{"RA2", "RA2ABC", "Kaliningrad"}, Case{"RK2", "RK2ABC", "European Russia"},
        Case{"UR5", "UR5ABC", "Ukraine"}, Case{"UJ5_no_rule", "UJ5ABC", std::nullopt},
        Case{"RAEM_no_digit", "RAEM", std::nullopt}, Case{"RA_too_short", "RA", std::nullopt}),
    CaseName);

// Central and northern Europe: the O, S and P letter ranges.
INSTANTIATE_TEST_SUITE_P(
    CentralAndNorth, CountryOfTest,
    ::testing::Values(
        Case{"HB0", "HB0ABC", "Switzerland"}, Case{"HA", "HA5ABC", "Hungary"},
        Case{"OK1", "OK1ABC", "Czech Republic"}, Case{"OL", "OL1ABC", "Czech Republic"},
        Case{"OM", "OM3ABC", "Slovak Republic"}, Case{"OE", "OE3ABC", "Austria"},
        Case{"OH2", "OH2ABC", "Finland"}, Case{"ON4", "ON4ABC", "Belgium"},
        Case{"OZ1", "OZ1ABC", "Denmark"}, Case{"OU1", "OU1ABC", "Denmark"},
        Case{"PA", "PA3ABC", "Netherlands"}, Case{"PJ_past_range", "PJ3ABC", std::nullopt},
        Case{"S5", "S51ABC", "Slovenia"}, Case{"SP", "SP9ABC", "Poland"},
        Case{"SM", "SM5ABC", "Sweden"}, Case{"LA", "LA1ABC", "Norway"},
        Case{"LY", "LY2ABC", "Lithuania"}, Case{"DL1", "DL1ABC", "Germany"},
        Case{"DR1_range_end", "DR1ABC", "Germany"}, Case{"DS1_past_range", "DS1ABC", std::nullopt},
        Case{"DL_no_digit", "DLABC", std::nullopt}, Case{"F6", "F6ABC", "France"},
        Case{"FA_no_digit", "FABC", std::nullopt}, Case{"YO3", "YO3ABC", "Romania"},
        Case{"YU1", "YU1ABC", "Serbia"}),
    CaseName);

// Around the Mediterranean.
INSTANTIATE_TEST_SUITE_P(
    Mediterranean, CountryOfTest,
    ::testing::Values(Case{"3A", "3A2ABC", "Monaco"}, Case{"4Z", "4Z5ABC", "Israel"},
                      Case{"5B", "5B4ABC", "Cyprus"}, Case{"P3", "P33ABC", "Cyprus"},
                      Case{"7X", "7X2ABC", "Algeria"}, Case{"7S", "7S2ABC", "Sweden"},
                      Case{"9H", "9H1ABC", "Malta"}, Case{"9A", "9A2ABC", "Croatia"},
                      Case{"4O", "4O3A", "Montenegro"}, Case{"TA", "TA1ABC", "Turkey"},
                      Case{"TK", "TK5ABC", "Corsica"}, Case{"OD", "OD5ABC", "Lebanon"},
                      Case{"Z3", "Z35ABC", "Macedonia"},
                      Case{"Z6", "Z60ABC", "Republic of Kosovo"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(NoCountry, CountryOfTest,
                         ::testing::Values(Case{"QX1", "QX1ABC", std::nullopt},
                                           Case{"empty", "", std::nullopt},
                                           Case{"leading_blank", " IK7ABC", std::nullopt}),
                         CaseName);

}  // namespace
}  // namespace keldra

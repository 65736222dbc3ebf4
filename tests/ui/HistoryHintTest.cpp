// The line under a locator field and the F12 swap, for every relation of the typed locator to the
// known ones.
#include <gtest/gtest.h>

#include "ui/HistoryHint.h"

namespace keldra {
namespace {

const std::vector<KnownLocator> kTwo = {{"JN61AB", 20230716}, {"JN52AB", 0}};
const std::vector<KnownLocator> kThree = {
    {"JN61AB", 20230716}, {"JN52AB", 20210718}, {"JN45CD", 0}};

TEST(HistoryHint, SaysWhatIsKnownAndShowsADifferenceInRed) {
  struct Case {
    const char* name;
    std::vector<KnownLocator> known;
    const char* typed;
    const char* text;
    bool differs;
  };
  const Case cases[] = {
      {"nothing known", {}, "JN61AB", "", false},
      {"the newest, dated, alone",
       {{"JN61AB", 20230716}},
       "JN61AB",
       "storico: JN61AB, 16/07/2023",
       false},
      {"the newest, with the second", kTwo, "JN61AB", "storico: JN61AB, 16/07/2023  (F12: JN52AB)",
       false},
      {"the second, undated, back to the first", kTwo, "JN52AB", "storico: JN52AB  (F12: JN61AB)",
       false},
      {"the middle of three", kThree, "JN52AB", "storico: JN52AB, 18/07/2021  (F12: JN45CD)",
       false},
      {"nothing typed yet", kTwo, "", "storico: JN61AB, 16/07/2023  (F12: JN52AB)", false},
      {"typing the second", kTwo, "JN5", "storico: JN52AB  (F12: JN61AB)", false},
      {"typed one differs", kTwo, "JN70AA", "storico: JN61AB", true},
      {"typing one that differs", kTwo, "JN7", "storico: JN61AB", true},
      {"alone, differs", {{"JN61AB", 0}}, "JN61AC", "storico: JN61AB", true},
  };
  for (const Case& c : cases) {
    const HistoryHint hint = DescribeHistory(c.known, c.typed);
    EXPECT_EQ(hint.text, c.text) << c.name;
    EXPECT_EQ(hint.differs, c.differs) << c.name;
  }
}

TEST(HistoryHint, F12MovesToTheNextKnownAndRoundAgain) {
  struct Case {
    std::vector<KnownLocator> known;
    const char* typed;
    std::optional<std::string> next;
  };
  const Case cases[] = {
      {kThree, "JN61AB", "JN52AB"}, {kThree, "JN52AB", "JN45CD"},
      {kThree, "JN45CD", "JN61AB"}, {kThree, "JN70AA", "JN61AB"},
      {kThree, "", "JN61AB"},       {{{"JN61AB", 1}}, "JN61AB", "JN61AB"},
      {{}, "JN61AB", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextKnownLocator(c.known, c.typed), c.next) << c.typed;
  }
}

}  // namespace
}  // namespace keldra

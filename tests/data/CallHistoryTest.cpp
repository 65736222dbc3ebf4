// The call history's two answers: the locators of a call, newest first, and the calls that hold
// a typed text; and the running contest joined to the files' history.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CallHistory.h"

namespace keldra {
namespace {

struct Sighting {
  const char* call;
  const char* locator;
  HistoryDate date;
};

CallHistory Build(const std::vector<Sighting>& sightings) {
  CallHistory::Builder builder;
  for (const Sighting& s : sightings) {
    builder.Add(s.call, s.locator, s.date);
  }
  return std::move(builder).Build();
}

TEST(CallHistoryLocators, NewestFirstUndatedOldestEachLocatorOnce) {
  struct Case {
    const char* name;
    std::vector<Sighting> sightings;
    const char* call;
    std::vector<KnownLocator> known;
  };
  const Case cases[] = {
      {"by date, whatever the order read",
       {{"QX1AB", "JN52AB", 20190716},
        {"QX1AB", "JN61AB", 20230716},
        {"QX1AB", "JN45AB", 20210718}},
       "QX1AB",
       {{"JN61AB", 20230716}, {"JN45AB", 20210718}, {"JN52AB", 20190716}}},
      {"undated after dated, the later read first",
       {{"QX1AB", "JN00AA", 0}, {"QX1AB", "JN52AB", 20190716}, {"QX1AB", "JN11AA", 0}},
       "QX1AB",
       {{"JN52AB", 20190716}, {"JN11AA", 0}, {"JN00AA", 0}}},
      {"a locator seen twice keeps its newest date",
       {{"QX1AB", "JN61AB", 20190716},
        {"QX1AB", "JN52AB", 20210718},
        {"QX1AB", "JN61AB", 20230716},
        {"QX1AB", "JN61AB", 0}},
       "QX1AB",
       {{"JN61AB", 20230716}, {"JN52AB", 20210718}}},
      {"one date: the later read first",
       {{"QX1AB", "JN52AB", 20230716}, {"QX1AB", "JN61AB", 20230716}},
       "QX1AB",
       {{"JN61AB", 20230716}, {"JN52AB", 20230716}}},
      {"exact call only: /P and longer calls are other stations",
       {{"QX1AB/P", "JN52AB", 1},
        {"QX1ABC", "JN45AB", 1},
        {"QX1AB", "JN61AB", 1},
        {"QX1A", "JN00AA", 1}},
       "QX1AB",
       {{"JN61AB", 1}}},
      {"unknown call", {{"QX1AB", "JN61AB", 1}}, "QX1AC", {}},
      {"nothing known", {}, "QX1AB", {}},
      {"bad sightings are not taken",
       {{"qx1ab", "JN61AB", 1},
        {"QX1AB", "JN61", 1},
        {"QX1AB", "jn61ab", 1},
        {"QX1AB", "JS61AB", 1}},
       "QX1AB",
       {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Build(c.sightings).Locators(c.call), c.known) << c.name;
  }
}

TEST(CallHistoryMatching, BeginningsFirstThenInsideEachInOrderUpToTheLimit) {
  const CallHistory history = Build({{"QX9ZZ", "JN61AB", 0},
                                     {"QX1ABC", "JN61AB", 0},
                                     {"AQX1AB", "JN61AB", 0},
                                     {"QX1AB", "JN61AB", 0},
                                     {"QX1AB/P", "JN61AB", 0},
                                     {"QX2QX1", "JN61AB", 0},
                                     {"QX1QX1", "JN61AB", 0},
                                     {"QX7DEF", "JN61AB", 0},
                                     {"ZZ1AB", "JN61AB", 5}});
  struct Case {
    const char* typed;
    std::size_t limit;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"QX1", 10, {"QX1AB", "QX1AB/P", "QX1ABC", "QX1QX1", "AQX1AB", "QX2QX1"}},
      {"QX1", 4, {"QX1AB", "QX1AB/P", "QX1ABC", "QX1QX1"}},
      {"QX1", 5, {"QX1AB", "QX1AB/P", "QX1ABC", "QX1QX1", "AQX1AB"}},
      {"1AB", 10, {"AQX1AB", "QX1AB", "QX1AB/P", "QX1ABC", "ZZ1AB"}},
      {"AB/P", 10, {"QX1AB/P"}},
      {"QX7DEF", 10, {"QX7DEF"}},
      {"ZZZ", 10, {}},
      {"QX1", 0, {}},
      {"", 10, {}},
      {"\n", 10, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(history.Matching(c.typed, c.limit), c.calls) << c.typed << " limit " << c.limit;
  }
}

TEST(StationHistory, TheRunningContestJoinsAndACorrectionLeavesNoTrace) {
  StationHistory history;
  history.SetFiles(Build(
      {{"QX1AB", "JN52AB", 20190716}, {"QX1AB", "JN61AB", 20210718}, {"QX2CD", "JN45AB", 0}}));
  history.SetContest({{"QX1AB", "JN70AA", 20230716}, {"QX3EF", "JN71AA", 20230716}});
  EXPECT_EQ(history.Locators("QX1AB"),
            (std::vector<KnownLocator>{
                {"JN70AA", 20230716}, {"JN61AB", 20210718}, {"JN52AB", 20190716}}));
  EXPECT_EQ(history.Matching("QX", 10), (std::vector<std::string>{"QX1AB", "QX2CD", "QX3EF"}));
  EXPECT_EQ(history.Matching("X", 2), (std::vector<std::string>{"QX1AB", "QX2CD"}));
  EXPECT_TRUE(history.Worked("QX3EF"));
  EXPECT_FALSE(history.Worked("QX2CD")) << "known from the files only";

  // The QSO corrected to the locator the files knew: that one is now newest, the typo gone.
  history.SetContest({{"QX1AB", "JN52AB", 20230716}});
  EXPECT_EQ(history.Locators("QX1AB"),
            (std::vector<KnownLocator>{{"JN52AB", 20230716}, {"JN61AB", 20210718}}));
  EXPECT_EQ(history.Matching("QX3", 10), std::vector<std::string>{});
  EXPECT_FALSE(history.Worked("QX3EF"));
  // A QSO whose locator the history cannot take is still worked.
  history.SetContest({{"QX4GH", "ZZ99ZZ", 20230716}});
  EXPECT_TRUE(history.Worked("QX4GH"));
  EXPECT_EQ(history.Locators("QX4GH"), std::vector<KnownLocator>{});
}

TEST(StationHistory, QsosAddedOneByOneAnswerAsTheWholeContestDoes) {
  const CallHistory files =
      Build({{"QX1AB", "JN52AB", 20190716}, {"QX7A", "JN61AB", 20230716}, {"QX22", "JN45AB", 0}});
  StationHistory added;
  added.SetFiles(files);
  std::vector<HistoryEntry> contest;
  for (int i = 0; i < 700; ++i) {
    // Calls come back with new locators, some locators the history cannot take.
    const HistoryEntry qso{"QX" + std::to_string(i % 97) + "A",
                           i % 50 == 7 ? "ZZ99" : "JN" + std::to_string(10 + i % 13) + "AB",
                           20230716 - (i % 3)};
    contest.push_back(qso);
    added.AddToContest({qso});
    if (i != 0 && i != 255 && i != 300 && i != 699) {
      continue;
    }
    StationHistory whole;
    whole.SetFiles(files);
    whole.SetContest(contest);
    for (const std::string call : {"QX0A", "QX7A", "QX1AB", "QX57A", "QX96A", "QX22"}) {
      EXPECT_EQ(added.Locators(call), whole.Locators(call)) << call << " after " << i;
      EXPECT_EQ(added.Worked(call), whole.Worked(call)) << call << " after " << i;
    }
    for (const std::string typed : {"QX", "X1", "7A", "QX22", "A"}) {
      EXPECT_EQ(added.Matching(typed, 8), whole.Matching(typed, 8)) << typed << " after " << i;
    }
  }
}

TEST(HistoryDates, ShownAsTheOperatorWritesThem) {
  EXPECT_EQ(HistoryDateText(20230716), "16/07/2023");
  EXPECT_EQ(HistoryDateText(19990105), "05/01/1999");
  EXPECT_EQ(HistoryDateText(0), "");
}

}  // namespace
}  // namespace keldra

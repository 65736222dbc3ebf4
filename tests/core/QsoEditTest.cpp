#include <gtest/gtest.h>

#include <vector>

#include "core/QsoEdit.h"
#include "support/TextTotals.h"

namespace keldra {
namespace {

struct Logged {
  std::string call;
  QsoMode mode = QsoMode::kSsb;
  std::string locator = "JN71GD";
  std::string club = "";
  std::string distance = "168";
};

QsoFields Fields(const Logged& l, int serial) {
  QsoFields q;
  q.serial_sent = (serial < 10 ? "00" : "0") + std::to_string(serial);
  q.date = "16/07/23";
  q.time = "07.16";
  q.mode = l.mode;
  q.call = l.call;
  q.report_sent = DefaultReport(l.mode);
  q.report_received = l.mode == QsoMode::kSsb ? "57" : "579";
  q.serial_received = "0" + std::to_string(10 + serial);
  q.locator = l.locator;
  q.club_code = l.club;
  q.distance_km = l.distance;
  return q;
}

// The two lists as the commit writes them.
struct Lists {
  std::string records;
  std::string list;
};

Lists Log(const std::vector<Logged>& qsos) {
  Lists lists;
  int serial = 1;
  for (const Logged& l : qsos) {
    const QsoFields q = Fields(l, serial++);
    lists.records += EdiRecordLine(q) + "\r\n";
    lists.list += QsoListLine(q) + "\r\n";
  }
  return lists;
}

// --- Search ---

TEST(QsoEditSearchTest, FindsTheRecordAndTheListLineAtTheSamePosition) {
  const Lists lists = Log({{"QX2XYZ"}, {"QX1ABC", QsoMode::kSsb, "JN63AA", "I003", "87"}});
  const QsoSearch search = FindQsoForEdit(lists.records, lists.list, "QX1ABC");
  ASSERT_EQ(search.status, QsoSearchStatus::kFound);
  const FoundQso& f = *search.found;
  EXPECT_EQ(f.index, 1u);
  EXPECT_EQ(f.record_line, "230716;0716;QX1ABC;1;59;002;57;012;I003;JN63AA;87;;;;");
  EXPECT_EQ(f.record_start, lists.records.find("230716;0716;QX1ABC"));
  EXPECT_EQ(f.list_start, lists.list.find("002   "));
  EXPECT_EQ(f.list_line, QsoListLine(Fields({"QX1ABC", QsoMode::kSsb, "JN63AA", "I003", "87"}, 2)));
  EXPECT_EQ(f.shown,
            (QsoEditTexts{"QX1ABC", "230716", "0716", "JN63AA", "1", "57", "012", "I003", "87"}));
}

struct ShownCase {
  const char* name;
  Logged logged;
  QsoEditTexts shown;
};

class QsoEditShownTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(QsoEditShownTest, ShowsTheRecordsFields) {
  const Lists lists = Log({GetParam().logged});
  const QsoSearch search = FindQsoForEdit(lists.records, lists.list, GetParam().logged.call);
  ASSERT_EQ(search.status, QsoSearchStatus::kFound);
  EXPECT_EQ(search.found->shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Records, QsoEditShownTest,
    ::testing::Values(
        ShownCase{"NoClubShortCall",
                  {"QX1A", QsoMode::kSsb, "JN71GD", "", "168"},
                  {"QX1A", "230716", "0716", "JN71GD", "1", "57", "011", "", "168"}},
        ShownCase{"Cw",
                  {"QX1ABC", QsoMode::kCw, "JN71GD", "M123", "168"},
                  {"QX1ABC", "230716", "0716", "JN71GD", "0", "579", "011", "M123", "168"}},
        ShownCase{"LongCallWithoutClubInCw",
                  {"QX1ABCDEFGHIJK", QsoMode::kCw, "JN61AA", "", "400"},
                  {"QX1ABCDEFGHIJK", "230716", "0716", "JN61AA", "0", "579", "011", "", "400"}},
        ShownCase{"TwoDigitDistance",
                  {"QX1ABC", QsoMode::kSsb, "JN81HD", "", "87"},
                  {"QX1ABC", "230716", "0716", "JN81HD", "1", "57", "011", "", "87"}},
        ShownCase{"OneDigitDistance",
                  {"QX1ABC", QsoMode::kSsb, "JN81GE", "", "7"},
                  {"QX1ABC", "230716", "0716", "JN81GE", "1", "57", "011", "", "7"}},
        ShownCase{"WholeDistanceFrom1000Km",
                  {"QX1ABC", QsoMode::kSsb, "IO91AA", "I003", "1234"},
                  {"QX1ABC", "230716", "0716", "IO91AA", "1", "57", "011", "I003", "1234"}},
        ShownCase{"ExchangeOfNoClubNotShown",
                  {"QX1ABC", QsoMode::kSsb, "JN71GD", "X12", "168"},
                  {"QX1ABC", "230716", "0716", "JN71GD", "1", "57", "011", "", "168"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct WhichCase {
  const char* name;
  const char* searched;
  QsoSearchStatus status;
  std::size_t index;
};

class QsoEditWhichTest : public ::testing::TestWithParam<WhichCase> {};

TEST_P(QsoEditWhichTest, FindsTheQsoAskedFor) {
  const Lists lists = Log({{"QX1ABC"}, {"QX1AB"}, {"QX9ZZ"}, {"QX9ZZ"}, {"QX1ABD"}});
  const QsoSearch search = FindQsoForEdit(lists.records, lists.list, GetParam().searched);
  ASSERT_EQ(search.status, GetParam().status);
  if (search.found) {
    EXPECT_EQ(search.found->index, GetParam().index);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, QsoEditWhichTest,
    ::testing::Values(
        WhichCase{"ExactWinsOverEarlierLongerCall", "QX1AB", QsoSearchStatus::kFound, 1},
        WhichCase{"PartialTakesTheFirstContaining", "QX1A", QsoSearchStatus::kFound, 0},
        WhichCase{"PartialInsideTheCall", "ABD", QsoSearchStatus::kFound, 4},
        WhichCase{"FirstOfTwoEqualCalls", "QX9ZZ", QsoSearchStatus::kFound, 2},
        WhichCase{"LowerCaseIsAnotherCall", "qx1ab", QsoSearchStatus::kNotFound, 0},
        WhichCase{"LocatorIsNoCall", "JN71", QsoSearchStatus::kNotFound, 0},
        WhichCase{"DateIsNoCall", "230716", QsoSearchStatus::kNotFound, 0},
        WhichCase{"EmptySearch", "", QsoSearchStatus::kNotFound, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QsoEditSearchTest, ListsOutOfStepAreReportedNotEdited) {
  Lists lists = Log({{"QX1ABC"}, {"QX2XYZ"}});
  const Lists short_list{lists.records, lists.list.substr(0, lists.list.find("\r\n") + 2)};
  EXPECT_EQ(FindQsoForEdit(short_list.records, short_list.list, "QX2XYZ").status,
            QsoSearchStatus::kUnreadable);
  const Lists swapped = Log({{"QX2XYZ"}, {"QX1ABC"}});
  EXPECT_EQ(FindQsoForEdit(lists.records, swapped.list, "QX2XYZ").status,
            QsoSearchStatus::kUnreadable);
  const std::string broken = "230716;0716;QX1ABC;1;59;001\r\n";
  EXPECT_EQ(FindQsoForEdit(broken, lists.list, "QX1ABC").status, QsoSearchStatus::kUnreadable);
}

// --- Checks ---

QsoEditTexts Shown() {
  return {"QX1ABC", "230716", "0716", "JN71GD", "1", "57", "011", "I003", "168"};
}

struct CheckCase {
  const char* name;
  QsoEditTexts after;
  std::optional<EditRefusal> refusal;
};

QsoEditTexts With(QsoEditTexts t, std::string QsoEditTexts::*field, std::string value) {
  t.*field = std::move(value);
  return t;
}

const EditRefusal kClub{"Inserire il Codice Club nel formato es. I123 o M123", EditField::kClubCode,
                        true};
const EditRefusal kDate{"Inserire la data nel formato AAMMGG es. 210718", EditField::kDate};
const EditRefusal kTime{"Inserire l'ora UTC nel formato HHMM es. 0912 o 1025", EditField::kTime};
const EditRefusal kMode{"I modi consentiti sono: 0 - CW  1 - SSB", EditField::kMode};
const EditRefusal kLocator{"Inserire il Locatore nel formato corretto... es. JN81GD",
                           EditField::kLocator};

class QsoEditCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(QsoEditCheckTest, RefusesWithTheFirstFailingCheck) {
  EXPECT_EQ(CheckQsoEdit(Shown(), GetParam().after), GetParam().refusal);
}

using T = QsoEditTexts;
INSTANTIATE_TEST_SUITE_P(
    Checks, QsoEditCheckTest,
    ::testing::Values(
        CheckCase{"Unchanged", Shown(), std::nullopt},
        CheckCase{"ClubX123", With(Shown(), &T::club_code, "X123"), kClub},
        CheckCase{"ClubI12", With(Shown(), &T::club_code, "I12"), kClub},
        CheckCase{"ClubI1234", With(Shown(), &T::club_code, "I1234"), kClub},
        CheckCase{"ClubRemoved", With(Shown(), &T::club_code, ""), std::nullopt},
        CheckCase{"ClubBeforeDate", With(With(Shown(), &T::club_code, "X123"), &T::date, "23071"),
                  kClub},
        CheckCase{"FiveCharacterDate", With(Shown(), &T::date, "23071"), kDate},
        CheckCase{"DateBeforeTime", With(With(Shown(), &T::date, "23071"), &T::time, "716"), kDate},
        CheckCase{"ThreeCharacterTime", With(Shown(), &T::time, "716"), kTime},
        CheckCase{"DigitsOfDateNotTested", With(Shown(), &T::date, "239999"), std::nullopt},
        CheckCase{"ModeTwo", With(Shown(), &T::mode_code, "2"), kMode},
        CheckCase{"ModeEmpty", With(Shown(), &T::mode_code, ""), kMode},
        CheckCase{"ModeZeroZero", With(Shown(), &T::mode_code, "00"), std::nullopt},
        CheckCase{"CallOfThree", With(Shown(), &T::call, "QX1"),
                  EditRefusal{"Inserire CallSign...", EditField::kCall}},
        CheckCase{"CallOfFour", With(Shown(), &T::call, "QX1A"), std::nullopt},
        CheckCase{"LocatorOfFive", With(Shown(), &T::locator, "JN71G"), kLocator},
        CheckCase{"LocatorWithLetterForDigit", With(Shown(), &T::locator, "JN7IGD"), kLocator},
        CheckCase{"LocatorSubsquareY", With(Shown(), &T::locator, "JN71GY"), kLocator},
        CheckCase{"DistanceRefusedByTheCalculator", With(Shown(), &T::distance_km, "??????"),
                  (EditRefusal{"Il QRB del QSO non \xE8 calcolabile: controllare il Locatore",
                               EditField::kLocator})},
        CheckCase{"BlankInCall", With(Shown(), &T::call, "QX1 ABC"),
                  (EditRefusal{"I dati del QSO non possono contenere spazi o il carattere \";\"",
                               EditField::kCall})},
        CheckCase{"SemicolonInReport", With(Shown(), &T::report_received, "5;9"),
                  (EditRefusal{"I dati del QSO non possono contenere spazi o il carattere \";\"",
                               EditField::kReportReceived})},
        CheckCase{"BlankInClubCode", With(Shown(), &T::club_code, "I 12"),
                  (EditRefusal{"I dati del QSO non possono contenere spazi o il carattere \";\"",
                               EditField::kClubCode})}),
    [](const auto& info) { return std::string(info.param.name); });

// The code format is the operator's to get right when typing one; a code stored by the commit
// (I-QRP numbers up to 1100, a bare club letter) passes unchanged.
TEST(QsoEditCheckTest, StoredClubCodeOfAnotherLengthPassesUnchanged) {
  for (const char* stored : {"I1050", "M", "I12"}) {
    const QsoEditTexts before = With(Shown(), &T::club_code, stored);
    EXPECT_EQ(CheckQsoEdit(before, With(before, &T::time, "0930")), std::nullopt) << stored;
    EXPECT_EQ(CheckQsoEdit(before, With(before, &T::club_code, "I1051")), kClub) << stored;
  }
}

// --- The corrected QSO and its lines ---

struct EditCase {
  const char* name;
  Logged logged;
  QsoEditTexts after;
  const char* list_line;
  const char* record_line;
};

class QsoEditLinesTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(QsoEditLinesTest, RewritesOnlyWhatChanged) {
  const Lists lists = Log({GetParam().logged});
  const FoundQso found = *FindQsoForEdit(lists.records, lists.list, GetParam().logged.call).found;
  const QsoEditTexts after = GetParam().after;
  EXPECT_EQ(QsoListLine(EditedQso(found.listed, found.shown, after)), GetParam().list_line);
  EXPECT_EQ(EdiRecordLine(EditedQso(found.record, found.shown, after)), GetParam().record_line);
}

const Logged kSsbI003{"QX1AB", QsoMode::kSsb, "JN71GD", "I003", "168"};
const QsoEditTexts kShownSsb{"QX1AB", "230716", "0716", "JN71GD", "1", "57", "011", "I003", "168"};
const Logged kCw{"QX1ABC", QsoMode::kCw, "JN71GD", "", "168"};
const QsoEditTexts kShownCw{"QX1ABC", "230716", "0716", "JN71GD", "0", "579", "011", "", "168"};

INSTANTIATE_TEST_SUITE_P(
    Edits, QsoEditLinesTest,
    ::testing::Values(
        EditCase{"NothingChanged", kSsbI003, kShownSsb,
                 "001   16/07/23   07.16   144Mhz   SSB   QX1AB       57-011   JN71GD   I003",
                 "230716;0716;QX1AB;1;59;001;57;011;I003;JN71GD;168;;;;"},
        EditCase{"TimeOnlyOnTheSameDigitsAsTheDate", kSsbI003, With(kShownSsb, &T::time, "0930"),
                 "001   16/07/23   09.30   144Mhz   SSB   QX1AB       57-011   JN71GD   I003",
                 "230716;0930;QX1AB;1;59;001;57;011;I003;JN71GD;168;;;;"},
        EditCase{"Date", kSsbI003, With(kShownSsb, &T::date, "230717"),
                 "001   17/07/23   07.16   144Mhz   SSB   QX1AB       57-011   JN71GD   I003",
                 "230717;0716;QX1AB;1;59;001;57;011;I003;JN71GD;168;;;;"},
        EditCase{"LongerCallKeepsTheColumns", kSsbI003, With(kShownSsb, &T::call, "QX1ABC"),
                 "001   16/07/23   07.16   144Mhz   SSB   QX1ABC      57-011   JN71GD   I003",
                 "230716;0716;QX1ABC;1;59;001;57;011;I003;JN71GD;168;;;;"},
        EditCase{"ShorterCallApplied", kCw, With(kShownCw, &T::call, "QX1A"),
                 "001   16/07/23   07.16   144Mhz   CW    QX1A        579-011  JN71GD   ",
                 "230716;0716;QX1A;0;599;001;579;011;;JN71GD;168;;;;"},
        EditCase{"CallOfElevenHasNoFiller", kSsbI003, With(kShownSsb, &T::call, "QX1ABCDEFGH"),
                 "001   16/07/23   07.16   144Mhz   SSB   QX1ABCDEFGH57-011   JN71GD   I003",
                 "230716;0716;QX1ABCDEFGH;1;59;001;57;011;I003;JN71GD;168;;;;"},
        EditCase{"CwSerial", kCw, With(kShownCw, &T::serial_received, "042"),
                 "001   16/07/23   07.16   144Mhz   CW    QX1ABC      579-042  JN71GD   ",
                 "230716;0716;QX1ABC;0;599;001;579;042;;JN71GD;168;;;;"},
        EditCase{"ReportInsideTheCallUntouched",
                 {"QX57AB", QsoMode::kSsb, "JN71GD", "", "168"},
                 {"QX57AB", "230716", "0716", "JN71GD", "1", "59", "011", "", "168"},
                 "001   16/07/23   07.16   144Mhz   SSB   QX57AB      59-011   JN71GD   ",
                 "230716;0716;QX57AB;1;59;001;59;011;;JN71GD;168;;;;"},
        EditCase{"LocatorAndDistance", kCw,
                 With(With(kShownCw, &T::locator, "JN61AA"), &T::distance_km, "400"),
                 "001   16/07/23   07.16   144Mhz   CW    QX1ABC      579-011  JN61AA   ",
                 "230716;0716;QX1ABC;0;599;001;579;011;;JN61AA;400;;;;"},
        EditCase{"DistanceZeroStoredAsOne", kCw, With(kShownCw, &T::distance_km, "0"),
                 "001   16/07/23   07.16   144Mhz   CW    QX1ABC      579-011  JN71GD   ",
                 "230716;0716;QX1ABC;0;599;001;579;011;;JN71GD;1;;;;"},
        EditCase{"ClubAdded", kCw, With(kShownCw, &T::club_code, "M123"),
                 "001   16/07/23   07.16   144Mhz   CW    QX1ABC      579-011  JN71GD   M123",
                 "230716;0716;QX1ABC;0;599;001;579;011;M123;JN71GD;168;;;;"},
        EditCase{"ClubRemoved", kSsbI003, With(kShownSsb, &T::club_code, ""),
                 "001   16/07/23   07.16   144Mhz   SSB   QX1AB       57-011   JN71GD   ",
                 "230716;0716;QX1AB;1;59;001;57;011;;JN71GD;168;;;;"},
        EditCase{"SsbToCwAsACwCommit", kSsbI003,
                 With(With(kShownSsb, &T::mode_code, "0"), &T::report_received, "599"),
                 "001   16/07/23   07.16   144Mhz   CW    QX1AB       599-011  JN71GD   I003",
                 "230716;0716;QX1AB;0;599;001;599;011;I003;JN71GD;168;;;;"},
        EditCase{"CwToSsb", kCw,
                 With(With(kShownCw, &T::mode_code, "1"), &T::report_received, "59"),
                 "001   16/07/23   07.16   144Mhz   SSB   QX1ABC      59-011   JN71GD   ",
                 "230716;0716;QX1ABC;1;59;001;59;011;;JN71GD;168;;;;"},
        EditCase{"ZeroZeroIsStillCw", kCw, With(kShownCw, &T::mode_code, "00"),
                 "001   16/07/23   07.16   144Mhz   CW    QX1ABC      579-011  JN71GD   ",
                 "230716;0716;QX1ABC;0;599;001;579;011;;JN71GD;168;;;;"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QsoEditLinesTest, PartialSearchKeepsTheStoredCallUnlessTheCallIsRetyped) {
  const Lists lists = Log({{"QX1ABC"}});
  const FoundQso found = *FindQsoForEdit(lists.records, lists.list, "QX1A").found;
  EXPECT_EQ(found.shown.call, "QX1A");
  EXPECT_EQ(EditedQso(found.record, found.shown, With(found.shown, &T::time, "0800")).call,
            "QX1ABC");
  EXPECT_EQ(EditedQso(found.record, found.shown, With(found.shown, &T::call, "QX1AZ")).call,
            "QX1AZ");
}

TEST(QsoEditLinesTest, ModeChangeKeepsAReportSentThatWasNotTheDefault) {
  QsoFields qso = Fields({"QX1ABC"}, 1);
  qso.report_sent = "57";
  const QsoEditTexts shown{"QX1ABC", "230716", "0716", "JN71GD", "1", "57", "011", "", "168"};
  EXPECT_EQ(EditedQso(qso, shown, With(shown, &T::mode_code, "0")).report_sent, "57");
  qso.report_sent = "59";
  EXPECT_EQ(EditedQso(qso, shown, With(shown, &T::mode_code, "0")).report_sent, "599");
}

// --- Totals of the record list, by the rule the log is held against ---

TEST(TotalsOfRecordsTest, EqualCommittingEachQsoInOrder) {
  const Lists lists = Log({{"QX1ABC", QsoMode::kSsb, "JN71GD", "", "523"},
                           {"QX2ABC", QsoMode::kSsb, "JN71GD", "I003", "100"},
                           {"QX3ABC", QsoMode::kCw, "JN61AA", "M123", "523"}});
  const ContestTotals totals = TotalsOfRecords(lists.records);
  EXPECT_EQ(totals,
            (ContestTotals{"3", "1146", "2", "1769", "382", "QX1ABC", "JN71GD", " 523", "1", "1"}));
}

TEST(TotalsOfRecordsTest, AnEmptyListHasTheTotalsOfANewContest) {
  EXPECT_EQ(TotalsOfRecords(""), ContestTotals{});
}

}  // namespace
}  // namespace keldra

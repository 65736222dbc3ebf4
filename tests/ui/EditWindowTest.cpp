// The QSO editing window: its fields, the search and the modification, driven as the operator
// drives them, on a contest logged through the main window's "OK".
#include <random>
#include <set>
#include <vector>

#include "MainWindowFixture.h"
#include "core/QsoEdit.h"
#include "core/StateFile.h"
#include "geo/Locator.h"
#include "support/ShownState.h"
#include "support/TextTotals.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/QsoEditWindow.h"

namespace keldra::testing {
namespace {

// Distances from the own locator JN81GD.
constexpr const char* k100Km = "JN71QH";
constexpr const char* k150Km = "JM89AU";
constexpr const char* k200Km = "JM79JW";
constexpr const char* k168Km = "JN71GD";

class EditWindowTest : public MainWindowTest {
 protected:
  // Logs a QSO through "OK".
  void Log(const std::string& call, const std::string& locator, const std::string& club = "",
           bool cw = false, const std::string& report = "") {
    if (cw) {
      Main().mode.PressKey(key::kDown);
    }
    if (!report.empty()) {
      Main().rst_received.SetText(report);
    }
    Row(call, "0" + std::to_string(10 + serial_++), locator, club);
    Main().ok_button.Press();
    ASSERT_EQ(LastMessage(), "") << "not logged: " << call;
    if (cw) {
      Main().mode.PressKey(key::kUp);
    }
  }

  QsoEditWindow& Edit() {
    Main().edit_qso_button.Press();
    return program().Get<QsoEditWindow>();
  }

  static void Retype(TextBox& field, const std::string& text) {
    field.SetFocus();
    field.UserEdit("", 0);
    field.Type(text);
  }

  QsoEditWindow& Search(const std::string& call) {
    QsoEditWindow& f = Edit();
    Retype(f.search_call, call);
    f.search_call.PressKey(key::kEnter);
    return f;
  }

  std::vector<std::string> Totals() { return TotalsShown(Main()); }

  // Line n (0-based) of a list, without its line end.
  static std::string LineOf(const std::string& list, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
      start = list.find("\r\n", start) + 2;
    }
    return list.substr(start, list.find("\r\n", start) - start);
  }

  std::string State() { return ReadBytes(File("parziale.db")); }
  std::string Backup() { return ReadBytes(File("backup.db")); }

  // The edit fields and then the old values, as the window holds them.
  static std::vector<std::string> Fields(const QsoEditWindow& f) {
    return {f.call.Text(),
            f.date.Text(),
            f.time.Text(),
            f.locator.Text(),
            f.mode.Text(),
            f.rst_received.Text(),
            f.serial_received.Text(),
            f.club_code.Text(),
            f.distance.Text(),
            f.club_bonus.Text()};
  }
  // The QSO as the search found it, which a modification compares the fields with.
  static std::vector<std::string> OldValues(const QsoEditWindow& f) {
    const QsoEditTexts* old = f.Found();
    if (old == nullptr) {
      return {};
    }
    return {old->call,
            old->date,
            old->time,
            old->locator,
            old->mode_code,
            old->report_received,
            old->serial_received,
            old->club_code,
            old->distance_km};
  }

  // The edit area: captions and fields that the search shows and the modification hides.
  static std::vector<const Control*> EditArea(const QsoEditWindow& f) {
    return {&f.call_caption,
            &f.date_caption,
            &f.time_caption,
            &f.locator_caption,
            &f.mode_caption,
            &f.rst_received_caption,
            &f.serial_received_caption,
            &f.mode_hint,
            &f.club_code_caption,
            &f.distance_caption,
            &f.club_bonus_caption,
            &f.call,
            &f.date,
            &f.time,
            &f.locator,
            &f.mode,
            &f.rst_received,
            &f.serial_received,
            &f.club_code,
            &f.distance,
            &f.club_bonus};
  }

  int serial_ = 1;
};

// --- The window and its fields ---

TEST_F(EditWindowTest, OpensWithTheSearchOnlyAndTheFocusInIt) {
  QsoEditWindow& f = Edit();
  EXPECT_EQ(f.Caption(), "Keldra qrp Test - Modfica dati QSO");
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(Focused(), "Text1");
  for (const Control* c :
       std::initializer_list<const Control*>{&f.search_call_caption, &f.search_call,
                                             &f.search_button, &f.close_button, &f.old_locator}) {
    EXPECT_TRUE(c->Visible()) << c->Name();
  }
  EXPECT_FALSE(f.modify_button.Visible());
  for (const Control* c : EditArea(f)) {
    EXPECT_FALSE(c->Visible()) << c->Name();
  }
  EXPECT_EQ(f.Found(), nullptr);
  EXPECT_FALSE(f.distance.Enabled());
  EXPECT_FALSE(f.club_bonus.Enabled());
  EXPECT_EQ(f.club_bonus.Text(), "0");
  EXPECT_EQ(f.search_call_caption.ForeColor(), (Color{255, 0, 0}));
  EXPECT_TRUE(f.search_call_caption.Font().bold);
  EXPECT_EQ(f.search_call.Font().points, 12);
}

TEST_F(EditWindowTest, TwoColumnsWithTheOldLocatorBesideTheLocator) {
  QsoEditWindow& f = Edit();
  const std::pair<const Label*, const TextBox*> left[] = {{&f.call_caption, &f.call},
                                                          {&f.date_caption, &f.date},
                                                          {&f.time_caption, &f.time},
                                                          {&f.locator_caption, &f.locator},
                                                          {&f.distance_caption, &f.distance}};
  const std::pair<const Label*, const TextBox*> right[] = {
      {&f.mode_caption, &f.mode},
      {&f.rst_received_caption, &f.rst_received},
      {&f.serial_received_caption, &f.serial_received},
      {&f.club_code_caption, &f.club_code},
      {&f.club_bonus_caption, &f.club_bonus}};
  for (int row = 0; row < 5; ++row) {
    for (const auto& [caption, field] : {left[row], right[row]}) {
      EXPECT_LE(caption->Left() + caption->Width(), field->Left()) << caption->Name();
      EXPECT_LT(std::abs(caption->Top() - field->Top()), 300) << caption->Name();
    }
    EXPECT_EQ(left[row].second->Top(), right[row].second->Top());
    EXPECT_LE(left[row].second->Left() + left[row].second->Width(), right[row].first->Left());
    if (row > 0) {
      EXPECT_GT(left[row].second->Top(), left[row - 1].second->Top());
    }
  }
  EXPECT_GE(f.old_locator.Left(), f.locator.Left() + f.locator.Width());
  EXPECT_LE(f.old_locator.Left() + f.old_locator.Width(), f.mode_caption.Left());
  EXPECT_LT(std::abs(f.old_locator.Top() - f.locator.Top()), 300);
}

TEST_F(EditWindowTest, TabRunsThroughTheFieldsThenTheButtonsThenTheClubCode) {
  Log("QX1ABC", k168Km);
  QsoEditWindow& f = Search("QX1ABC");
  f.search_call.SetFocus();
  std::vector<std::string> order;
  for (int i = 0; i < 13; ++i) {
    program().Desktop().FocusNext(false);
    order.push_back(Focused());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Text2", "Text3", "Text4", "Text5", "Text6", "Text7",
                                             "Text8", "Command1", "Command2", "Command3", "Text9",
                                             "Text1", "Text2"}));
}

TEST_F(EditWindowTest, CodeFieldsTurnUpperCaseWithTheCaretAtTheEnd) {
  Log("QX1ABC", k168Km);
  QsoEditWindow& f = Search("QX1ABC");
  for (TextBox* field : {&f.search_call, &f.call, &f.club_code}) {
    Retype(*field, "qx1a");
    EXPECT_EQ(field->Text(), "QX1A") << field->Name();
    EXPECT_EQ(field->SelStart(), 4) << field->Name();
  }
  Retype(f.locator, "jn71g");
  EXPECT_EQ(f.locator.Text(), "JN71G");
  EXPECT_EQ(f.locator.SelStart(), 5);
}

TEST_F(EditWindowTest, ModifyShowsAtTheFourthCharacterOfTheCallAndStays) {
  QsoEditWindow& f = Edit();
  f.call.SetVisible(true);
  f.call.SetFocus();
  f.call.Type("QX1");
  EXPECT_FALSE(f.modify_button.Visible());
  f.call.Type("A");
  EXPECT_TRUE(f.modify_button.Visible());
  f.call.Backspace();
  f.call.Backspace();
  EXPECT_TRUE(f.modify_button.Visible());
}

struct ModeCase {
  const char* name;
  const char* typed;
  const char* field;
  const char* report;
  bool message;
};

class EditModeFieldTest : public EditWindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(EditModeFieldTest, SetsTheReportOrRefuses) {
  Log("QX1ABC", k168Km, "", false, "57");
  QsoEditWindow& f = Search("QX1ABC");
  ASSERT_EQ(f.rst_received.Text(), "57");
  // Written at once, as a paste does: typing 00 would pass through 0 first.
  f.mode.SetFocus();
  f.mode.UserEdit("", 0);
  f.mode.UserEdit(GetParam().typed, 0);
  EXPECT_EQ(f.mode.Text(), GetParam().field);
  EXPECT_EQ(f.rst_received.Text(), GetParam().report);
  if (GetParam().message) {
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "I modi consentiti sono: 0 - CW  1 - SSB");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(Focused(), "Text6");
  } else {
    EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, EditModeFieldTest,
                         ::testing::Values(ModeCase{"One", "1", "1", "59", false},
                                           ModeCase{"Zero", "0", "0", "599", false},
                                           ModeCase{"ZeroZeroKeepsTheReport", "00", "00", "57",
                                                    false},
                                           ModeCase{"Two", "2", "", "57", true},
                                           ModeCase{"Letter", "x", "", "57", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditWindowTest, ClubCodeFillsAndClearsTheBonus) {
  Log("QX1ABC", k168Km);
  QsoEditWindow& f = Search("QX1ABC");
  ASSERT_EQ(f.club_bonus.Text(), "0");
  Retype(f.club_code, "i003");
  EXPECT_EQ(f.club_code.Text(), "I003");
  EXPECT_EQ(f.club_bonus.Text(), "168");
  f.club_code.UserEdit("", 0);
  EXPECT_EQ(f.club_bonus.Text(), "0");
}

TEST_F(EditWindowTest, SixthLocatorCharacterAsksForTheDistance) {
  Log("QX1ABC", k168Km, "I003");
  QsoEditWindow& f = Search("QX1ABC");
  Main().distance.SetCaption("marker");
  Retype(f.locator, "jm89a");
  EXPECT_EQ(f.distance.Text(), "168");
  EXPECT_EQ(Main().distance.Caption(), "marker");
  f.locator.Type("u");
  EXPECT_EQ(f.distance.Text(), "150");
  EXPECT_EQ(f.club_bonus.Text(), "150");
  EXPECT_EQ(Main().distance.Caption(), "marker");  // the main window shows its own row
  EXPECT_EQ(f.old_locator.Caption(), k168Km);
}

// --- Search ---

TEST_F(EditWindowTest, EmptySearchIsRefusedAndChangesNothing) {
  Edit().search_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Inserire il Call da modificare");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_FALSE(program().Get<QsoEditWindow>().call.Visible());
}

TEST_F(EditWindowTest, FoundQsoFillsFieldsAndOldValues) {
  Log("QX2XYZ", k200Km);
  Log("QX1ABC", k168Km, "I003", false, "57");
  QsoEditWindow& f = Search(" qx1abc ");
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
  EXPECT_EQ(Fields(f), (std::vector<std::string>{"QX1ABC", "230716", "0730", k168Km, "1", "57",
                                                 "012", "I003", "168", "168"}));
  EXPECT_EQ(OldValues(f), (std::vector<std::string>{"QX1ABC", "230716", "0730", k168Km, "1", "57",
                                                    "012", "I003", "168"}));
  for (const Control* c : EditArea(f)) {
    EXPECT_TRUE(c->Visible()) << c->Name();
  }
  EXPECT_TRUE(f.modify_button.Visible());
  // The search reads the lists only.
  EXPECT_EQ(Main().Log().EdiRecordsText(), program().Get<EdiHeaderWindow>().edi_records.Text());
}

TEST_F(EditWindowTest, CwRecordAndWholeDistances) {
  Log("QX1ABC", "JM16PV", "M123", true, "579");  // 1234 km
  Log("QX2XYZ", "JN70SW");                       // 87 km
  Log("QX3XYZ", "JN81FD");                       // 7 km
  QsoEditWindow& f = Search("QX1ABC");
  EXPECT_EQ(Fields(f), (std::vector<std::string>{"QX1ABC", "230716", "0730", "JM16PV", "0", "579",
                                                 "011", "M123", "1234", "1234"}));
  EXPECT_EQ(OldValues(f).back(), "1234");
  Retype(f.search_call, "QX2XYZ");
  f.search_button.Press();
  EXPECT_EQ(OldValues(f).back(), "87");
  Retype(f.search_call, "QX3XYZ");
  f.search_button.Press();
  EXPECT_EQ(OldValues(f).back(), "7");
  EXPECT_EQ(f.distance.Text(), "7");
}

TEST_F(EditWindowTest, SearchingAgainEmptiesFirstAndNotFoundHidesTheArea) {
  Log("QX1ABC", k168Km, "I003");
  Log("QX2XYZ", k100Km);
  QsoEditWindow& f = Search("QX1ABC");
  Retype(f.search_call, "QX2XYZ");
  f.search_button.Press();
  EXPECT_EQ(Fields(f), (std::vector<std::string>{"QX2XYZ", "230716", "0730", k100Km, "1", "59",
                                                 "012", "", "100", "0"}));
  EXPECT_EQ(OldValues(f)[7], "");

  Retype(f.search_call, "QX9ZZZ");
  f.search_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Call non trovato nel LOG");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  for (const Control* c : EditArea(f)) {
    EXPECT_FALSE(c->Visible()) << c->Name();
  }
  EXPECT_FALSE(f.modify_button.Visible());
  for (const std::string& field : Fields(f)) {
    EXPECT_EQ(field, "");
  }
}

TEST_F(EditWindowTest, ListsOutOfStepAreNotEdited) {
  // A saved contest whose QSO list lost its line.
  ContestState contest;
  contest.edi_records = "230716;0730;QX1ABC;1;59;001;59;011;;JN71GD;168;;;;\r\n";
  PutContest(program(), contest);
  Search("QX1ABC");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_FALSE(program().Get<QsoEditWindow>().modify_button.Visible());
}

TEST_F(EditWindowTest, CloseUnloadsAndTheNextOpeningStartsEmpty) {
  Log("QX1ABC", k168Km);
  QsoEditWindow& f = Search("QX1ABC");
  f.close_button.Press();
  EXPECT_EQ(program().Find<QsoEditWindow>(), nullptr);
  QsoEditWindow& again = Edit();
  EXPECT_EQ(again.search_call.Text(), "");
  EXPECT_EQ(again.call.Text(), "");
  EXPECT_FALSE(again.modify_button.Visible());
  again.modify_button.Press();  // nothing found in this window: nothing to modify
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
}

// --- Modification ---

class ModifyTest : public EditWindowTest {
 protected:
  void Modify(QsoEditWindow& f) {
    messages_.shown.clear();
    f.modify_button.Press();
  }
  void ExpectDone(QsoEditWindow& f) {
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "I dati del QSO sono stati modificati");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(f.search_call.Text(), "");
    for (const std::string& field : Fields(f)) {
      EXPECT_EQ(field, "");
    }
    EXPECT_EQ(f.Found(), nullptr);
    EXPECT_EQ(f.old_locator.Caption(), "");
    for (const Control* c : EditArea(f)) {
      EXPECT_FALSE(c->Visible()) << c->Name();
    }
    EXPECT_FALSE(f.modify_button.Visible());
    EXPECT_EQ(Focused(), "Text1");
    EXPECT_EQ(Main().Log().EdiRecordsText(), program().Get<EdiHeaderWindow>().edi_records.Text());
  }
  void ExpectSaved(const std::string& before) {
    EXPECT_EQ(State(), StateFileText(ContestStateOf(Main())));
    EXPECT_EQ(Backup(), before);
  }
};

TEST_F(ModifyTest, TimeOnlyLeavesTheDateThatEndsInTheSameDigits) {
  GoOffLine();
  Main().time.SetText("07.16");
  Log("QX1ABC", k168Km);
  const std::string saved = State();
  QsoEditWindow& f = Search("QX1ABC");
  ASSERT_EQ(f.time.Text(), "0716");
  Retype(f.time, "0930");
  Modify(f);
  ExpectDone(f);
  EXPECT_EQ(Main().Log().EdiRecordsText(),
            "230716;0930;QX1ABC;1;59;001;59;011;;JN71GD;168;;;;\r\n");
  EXPECT_EQ(Main().qso_list.Text(),
            "001   16/07/23   09.30   144Mhz   SSB   QX1ABC      59-011   JN71GD   \r\n");
  ExpectSaved(saved);
}

TEST_F(ModifyTest, LocatorFrom100To150KmWithoutClub) {
  Log("QX1ABC", k100Km);
  Log("QX2XYZ", k200Km);
  QsoEditWindow& f = Search("QX1ABC");
  Retype(f.locator, k150Km);
  Modify(f);
  ExpectDone(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"2", "350", "0", "350", "175", "QX2XYZ", k200Km,
                                                " 200", "0", "0"}));
  EXPECT_EQ(LineOf(Main().Log().EdiRecordsText(), 0),
            "230716;0730;QX1ABC;1;59;001;59;011;;JM89AU;150;;;;");
}

TEST_F(ModifyTest, LocatorFrom100To150KmWithI003CountsTheChangeTwice) {
  Log("QX1ABC", k100Km, "I003");
  Log("QX2XYZ", k200Km);
  ASSERT_EQ(Main().total_points.Caption(), "400");
  QsoEditWindow& f = Search("QX1ABC");
  Retype(f.locator, k150Km);
  EXPECT_EQ(f.club_bonus.Text(), "150");
  Modify(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"2", "350", "1", "500", "175", "QX2XYZ", k200Km,
                                                " 200", "1", "0"}));
}

TEST_F(ModifyTest, AddingAndRemovingM123) {
  Log("QX1ABC", k200Km);
  Log("QX2XYZ", k100Km);
  const std::vector<std::string> before = Totals();
  ASSERT_EQ(before, (std::vector<std::string>{"2", "300", "0", "300", "150", "QX1ABC", k200Km,
                                              " 200", "0", "0"}));
  QsoEditWindow& f = Search("QX1ABC");
  Retype(f.club_code, "M123");
  Modify(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"2", "300", "1", "500", "150", "QX1ABC", k200Km,
                                                " 200", "0", "1"}));
  EXPECT_EQ(LineOf(Main().qso_list.Text(), 0),
            "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-011   JM79JW   M123");

  Search("QX1ABC");
  f.club_code.SetFocus();
  f.club_code.UserEdit("", 0);
  Modify(f);
  EXPECT_EQ(Totals(), before);
  EXPECT_EQ(LineOf(Main().qso_list.Text(), 0),
            "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-011   JM79JW   ");
}

TEST_F(ModifyTest, I003ToM123MovesOneQsoBetweenTheClubs) {
  Log("QX1ABC", k168Km, "I003");
  QsoEditWindow& f = Search("QX1ABC");
  Retype(f.club_code, "M123");
  Modify(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"1", "168", "1", "336", "168", "QX1ABC", k168Km,
                                                " 168", "0", "1"}));
  EXPECT_EQ(Main().Log().EdiRecordsText(),
            "230716;0730;QX1ABC;1;59;001;59;011;M123;JN71GD;168;;;;\r\n");
}

TEST_F(ModifyTest, OdxMovesWhenItsQsoComesCloser) {
  Log("QX1ABC", k200Km);
  Log("QX2XYZ", k168Km);
  QsoEditWindow& f = Search("QX1ABC");
  Retype(f.locator, k100Km);
  Modify(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"2", "268", "0", "268", "134", "QX2XYZ", k168Km,
                                                " 168", "0", "0"}));
}

TEST_F(ModifyTest, OwnSubsquareStoresOneKm) {
  Log("QX1ABC", k168Km);
  QsoEditWindow& f = Search("QX1ABC");
  Retype(f.locator, "JN81GD");
  EXPECT_EQ(f.distance.Text(), "1");
  Modify(f);
  EXPECT_EQ(Main().Log().EdiRecordsText(), "230716;0730;QX1ABC;1;59;001;59;011;;JN81GD;1;;;;\r\n");
  EXPECT_EQ(Main().total_km.Caption(), "1");
}

// The commit takes I-QRP numbers up to 1100 and a bare club letter; correcting another field of
// such a QSO must neither refuse the stored code nor drop it.
TEST_F(ModifyTest, StoredClubCodeOfAnotherLengthIsKept) {
  Log("QX1ABC", k168Km, "I1050");
  Log("QX2XYZ", k100Km, "M");
  for (const auto& [call, code] : {std::pair{"QX1ABC", "I1050"}, std::pair{"QX2XYZ", "M"}}) {
    QsoEditWindow& f = Search(call);
    ASSERT_EQ(f.club_code.Text(), code);
    Retype(f.time, "0930");
    Modify(f);
    ExpectDone(f);
  }
  EXPECT_EQ(Main().Log().EdiRecordsText(),
            "230716;0930;QX1ABC;1;59;001;59;011;I1050;JN71GD;168;;;;\r\n"
            "230716;0930;QX2XYZ;1;59;002;59;012;M;JN71QH;100;;;;\r\n");
  EXPECT_EQ(Main().total_multipliers.Caption(), "2");
}

TEST_F(ModifyTest, NothingChangedWritesNothing) {
  Log("QX1ABC", k168Km);
  Log("QX2XYZ", k100Km);
  const std::string saved = State();
  const std::string backup = Backup();
  QsoEditWindow& f = Search("QX2XYZ");
  Modify(f);
  ExpectDone(f);
  EXPECT_EQ(State(), saved);
  EXPECT_EQ(Backup(), backup);
}

struct RefusedCase {
  const char* name;
  const char* club;
  const char* date;
  const char* time;
  const char* locator;
  const char* message;
  const char* focused;
  const char* club_after;
};

class RefusedModifyTest : public ModifyTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedModifyTest, ChangesNothing) {
  Log("QX1ABC", k168Km);
  Log("QX2XYZ", k100Km);
  const std::string saved = State();
  const std::string list = Main().qso_list.Text();
  const std::vector<std::string> totals = Totals();
  QsoEditWindow& f = Search("QX1ABC");
  const RefusedCase& c = GetParam();
  Retype(f.club_code, c.club);
  Retype(f.date, c.date);
  Retype(f.time, c.time);
  if (*c.locator != '\0') {
    Retype(f.locator, c.locator);
  }
  Modify(f);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, c.message);
  EXPECT_EQ(Focused(), c.focused);
  EXPECT_EQ(f.club_code.Text(), c.club_after);
  EXPECT_EQ(f.call.Text(), "QX1ABC");
  EXPECT_TRUE(f.modify_button.Visible());
  EXPECT_EQ(Main().qso_list.Text(), list);
  EXPECT_EQ(Totals(), totals);
  EXPECT_EQ(State(), saved);
}

constexpr const char* kClubMessage = "Inserire il Codice Club nel formato es. I123 o M123";
constexpr const char* kDateMessage = "Inserire la data nel formato AAMMGG es. 210718";
constexpr const char* kTimeMessage = "Inserire l'ora UTC nel formato HHMM es. 0912 o 1025";
constexpr const char* kLocatorMessage = "Inserire il Locatore nel formato corretto... es. JN81GD";

INSTANTIATE_TEST_SUITE_P(
    Checks, RefusedModifyTest,
    ::testing::Values(RefusedCase{"X123", "X123", "23071", "7", "", kClubMessage, "Text9", ""},
                      RefusedCase{"FiveCharacterDateBeforeTime", "I003", "23071", "7", "",
                                  kDateMessage, "Text3", "I003"},
                      RefusedCase{"ThreeCharacterTime", "", "230716", "730", "", kTimeMessage,
                                  "Text4", ""},
                      RefusedCase{"LocatorTheCalculatorRefuses", "", "230716", "0730", "JNA1GD",
                                  kLocatorMessage, "Text5", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModifyTest, ListsChangedSinceTheSearchAreNotOverwritten) {
  Log("QX1ABC", k168Km);
  Log("QX2XYZ", k100Km);
  QsoEditWindow& f = Search("QX2XYZ");
  Retype(f.serial_received, "099");
  // Meanwhile the same QSO is corrected from elsewhere.
  LoggedQso elsewhere = program().Contest().Entries()[1].qso.value();
  elsewhere.locator = "JN71GD";
  ASSERT_TRUE(program().Contest().Correct(1, elsewhere));
  const std::string list = Main().qso_list.Text();
  Modify(f);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(Main().qso_list.Text(), list);
  EXPECT_EQ(f.serial_received.Text(), "099");
}

// --- Every edit leaves the lines a commit would write and the totals the scoring gives ---

class EditInvariantTest : public ModifyTest {
 protected:
  std::mt19937 random_{20230716};

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Coin() { return Pick(2) == 0; }
  std::string Digits(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      s += static_cast<char>('0' + Pick(10));
    }
    return s;
  }
  std::string Locator() {
    return {static_cast<char>('I' + Pick(4)),  static_cast<char>('L' + Pick(4)),
            static_cast<char>('0' + Pick(10)), static_cast<char>('0' + Pick(10)),
            static_cast<char>('A' + Pick(24)), static_cast<char>('A' + Pick(24))};
  }
  std::string NewCall() {
    for (;;) {
      std::string call = "QX" + Digits(1);
      const int letters = 2 + Pick(10);
      for (int i = 0; i < letters; ++i) {
        call += static_cast<char>('A' + Pick(26));
      }
      if (calls_.insert(call).second) {
        return call;
      }
    }
  }
  std::string Club() {
    const char* codes[] = {"", "I003", "I123", "M045", "M600"};
    return codes[Pick(5)];
  }
  static std::string Distance(const std::string& locator) {
    const LocatorResult r = CalculateLocators("JN81GD", locator);
    return std::to_string(std::max(1LL, r.path.km));
  }

  std::set<std::string> calls_;
};

TEST_F(EditInvariantTest, RandomEditsKeepLinesAndTotalsTrue) {
  std::vector<QsoFields> truth;
  for (int i = 0; i < 12; ++i) {
    QsoFields q;
    q.serial_sent = std::string(i + 1 < 10 ? "00" : "0") + std::to_string(i + 1);
    q.date = "16/07/23";
    q.time = "07.30";
    q.mode = Coin() ? QsoMode::kSsb : QsoMode::kCw;
    q.call = NewCall();
    q.report_sent = DefaultReport(q.mode);
    q.report_received = DefaultReport(q.mode);
    q.serial_received = "0" + std::to_string(10 + serial_);
    q.locator = Locator();
    q.club_code = Club();
    q.distance_km = Distance(q.locator);
    Log(q.call, q.locator, q.club_code, q.mode == QsoMode::kCw);
    truth.push_back(q);
  }

  for (int round = 0; round < 80; ++round) {
    const std::size_t i = static_cast<std::size_t>(Pick(static_cast<int>(truth.size())));
    QsoFields& q = truth[i];
    QsoEditWindow& f = Search(q.call);
    ASSERT_EQ(f.call.Text(), q.call) << "round " << round;
    std::string what;
    if (Coin()) {
      what += " mode";
      const QsoMode mode = Coin() ? QsoMode::kSsb : QsoMode::kCw;
      Retype(f.mode, ModeCode(mode));
      if (mode != q.mode) {
        q.report_sent = DefaultReport(mode);
      }
      q.mode = mode;
      q.report_received = DefaultReport(mode);
    }
    if (Coin()) {
      what += " call";
      calls_.erase(q.call);
      q.call = NewCall();
      Retype(f.call, q.call);
    }
    if (Pick(4) == 0) {
      what += " date";
      const std::string date = "2307" + Digits(2);
      Retype(f.date, date);
      q.date = ListDate(date);
    }
    if (Pick(4) == 0) {
      what += " time";
      const std::string time = Digits(4);
      Retype(f.time, time);
      q.time = ListTime(time);
    }
    if (Coin()) {
      what += " locator";
      q.locator = Locator();
      Retype(f.locator, q.locator);
      q.distance_km = Distance(q.locator);
    }
    if (Pick(4) == 0) {
      what += " report";
      q.report_received = "5" + Digits(q.mode == QsoMode::kSsb ? 1 : 2);
      Retype(f.rst_received, q.report_received);
    }
    if (Pick(4) == 0) {
      what += " serial";
      q.serial_received = Digits(3);
      Retype(f.serial_received, q.serial_received);
    }
    if (Coin()) {
      what += " club";
      q.club_code = Club();
      f.club_code.SetFocus();
      f.club_code.UserEdit("", 0);
      f.club_code.Type(q.club_code);
    }
    Modify(f);
    ASSERT_EQ(LastMessage(), "I dati del QSO sono stati modificati") << "round " << round << what;

    std::string list;
    std::string records;
    ContestTotals totals;
    for (const QsoFields& t : truth) {
      list += QsoListLine(t) + "\r\n";
      records += EdiRecordLine(t) + "\r\n";
      totals = AddQso(totals, ScoredQso{" " + t.distance_km, t.call, t.locator, t.club_code});
    }
    ASSERT_EQ(Main().qso_list.Text(), list) << "round " << round << what;
    ASSERT_EQ(Main().Log().EdiRecordsText(), records) << "round " << round << what;
    ASSERT_EQ(program().Get<EdiHeaderWindow>().edi_records.Text(), records)
        << "round " << round << what;
    ASSERT_EQ(Totals(),
              (std::vector<std::string>{totals.qsos, totals.km, totals.multipliers, totals.points,
                                        totals.average_km, totals.odx_call, totals.odx_locator,
                                        totals.odx_km, totals.iqrp_qsos, totals.mqc_qsos}))
        << "round " << round << what;
    ASSERT_EQ(State(), StateFileText(ContestStateOf(Main()))) << "round " << round << what;
  }
}

}  // namespace
}  // namespace keldra::testing

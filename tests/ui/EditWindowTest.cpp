// The QSO editing window: its fields, the search and the modification, driven as the operator
// drives them, on a contest logged through the main window's "OK".
#include <random>
#include <set>
#include <vector>

#include "MainWindowFixture.h"
#include "core/QsoEdit.h"
#include "core/StateFile.h"
#include "geo/Locator.h"
#include "ui/ContestFile.h"
#include "ui/Form2.h"
#include "ui/Form22222.h"
#include "ui/Form6.h"

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
      Main().Text5.PressKey(key::kDown);
    }
    if (!report.empty()) {
      Main().Text8.SetText(report);
    }
    Row(call, "0" + std::to_string(10 + serial_++), locator, club);
    Main().Command1.Press();
    ASSERT_EQ(LastMessage(), "") << "not logged: " << call;
    if (cw) {
      Main().Text5.PressKey(key::kUp);
    }
  }

  Form6& Edit() {
    Main().Command5.Press();
    return program().Get<Form6>();
  }

  static void Retype(TextBox& field, const std::string& text) {
    field.SetFocus();
    field.UserEdit("", 0);
    field.Type(text);
  }

  Form6& Search(const std::string& call) {
    Form6& f = Edit();
    Retype(f.Text1, call);
    f.Text1.PressKey(key::kEnter);
    return f;
  }

  std::vector<std::string> Totals() {
    Form1& m = Main();
    return {m.Label19.Caption(), m.Label21.Caption(), m.Label23.Caption(), m.Label25.Caption(),
            m.Label44.Caption(), m.Label27.Caption(), m.Label28.Caption(), m.Label29.Caption(),
            m.Label51.Caption(), m.Label52.Caption()};
  }

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
  static std::vector<std::string> Fields(const Form6& f) {
    return {f.Text2.Text(), f.Text3.Text(), f.Text4.Text(), f.Text5.Text(),  f.Text6.Text(),
            f.Text7.Text(), f.Text8.Text(), f.Text9.Text(), f.Text10.Text(), f.Text11.Text()};
  }
  static std::vector<std::string> OldValues(const Form6& f) {
    return {f.Label9.Caption(),  f.Label10.Caption(), f.Label11.Caption(), f.Label12.Caption(),
            f.Label13.Caption(), f.Label14.Caption(), f.Label15.Caption(), f.Label18.Caption(),
            f.Label20.Caption(), f.Label22.Caption()};
  }

  // The edit area: captions and fields that the search shows and the modification hides.
  static std::vector<const Control*> EditArea(const Form6& f) {
    return {&f.Label2,  &f.Label3,  &f.Label4,  &f.Label5,  &f.Label6, &f.Label7, &f.Label8,
            &f.Label16, &f.Label17, &f.Label19, &f.Label21, &f.Text2,  &f.Text3,  &f.Text4,
            &f.Text5,   &f.Text6,   &f.Text7,   &f.Text8,   &f.Text9,  &f.Text10, &f.Text11};
  }

  int serial_ = 1;
};

// --- The window and its fields ---

TEST_F(EditWindowTest, OpensWithTheSearchOnlyAndTheFocusInIt) {
  Form6& f = Edit();
  EXPECT_EQ(f.Caption(), "Keldra qrp Test - Modfica dati QSO");
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(Focused(), "Text1");
  for (const Control* c : std::initializer_list<const Control*>{&f.Label1, &f.Text1, &f.Command3,
                                                                &f.Command2, &f.Label12}) {
    EXPECT_TRUE(c->Visible()) << c->Name();
  }
  EXPECT_FALSE(f.Command1.Visible());
  for (const Control* c : EditArea(f)) {
    EXPECT_FALSE(c->Visible()) << c->Name();
  }
  for (const Label* old : {&f.Label9, &f.Label10, &f.Label11, &f.Label13, &f.Label14, &f.Label15,
                           &f.Label18, &f.Label20, &f.Label22}) {
    EXPECT_FALSE(old->Visible()) << old->Name();
  }
  EXPECT_FALSE(f.Text10.Enabled());
  EXPECT_FALSE(f.Text11.Enabled());
  EXPECT_EQ(f.Text11.Text(), "0");
  EXPECT_EQ(f.Label1.ForeColor(), (Color{255, 0, 0}));
  EXPECT_TRUE(f.Label1.Font().bold);
  EXPECT_EQ(f.Text1.Font().points, 12);
}

TEST_F(EditWindowTest, TwoColumnsWithTheOldLocatorBesideTheLocator) {
  Form6& f = Edit();
  const std::pair<const Label*, const TextBox*> left[] = {{&f.Label2, &f.Text2},
                                                          {&f.Label3, &f.Text3},
                                                          {&f.Label4, &f.Text4},
                                                          {&f.Label5, &f.Text5},
                                                          {&f.Label19, &f.Text10}};
  const std::pair<const Label*, const TextBox*> right[] = {{&f.Label6, &f.Text6},
                                                           {&f.Label7, &f.Text7},
                                                           {&f.Label8, &f.Text8},
                                                           {&f.Label17, &f.Text9},
                                                           {&f.Label21, &f.Text11}};
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
  EXPECT_GE(f.Label12.Left(), f.Text5.Left() + f.Text5.Width());
  EXPECT_LE(f.Label12.Left() + f.Label12.Width(), f.Label6.Left());
  EXPECT_LT(std::abs(f.Label12.Top() - f.Text5.Top()), 300);
}

TEST_F(EditWindowTest, TabRunsThroughTheFieldsThenTheButtonsThenTheClubCode) {
  Log("QX1ABC", k168Km);
  Form6& f = Search("QX1ABC");
  f.Text1.SetFocus();
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
  Form6& f = Search("QX1ABC");
  for (TextBox* field : {&f.Text1, &f.Text2, &f.Text9}) {
    Retype(*field, "qx1a");
    EXPECT_EQ(field->Text(), "QX1A") << field->Name();
    EXPECT_EQ(field->SelStart(), 4) << field->Name();
  }
  Retype(f.Text5, "jn71g");
  EXPECT_EQ(f.Text5.Text(), "JN71G");
  EXPECT_EQ(f.Text5.SelStart(), 5);
}

TEST_F(EditWindowTest, ModifyShowsAtTheFourthCharacterOfTheCallAndStays) {
  Form6& f = Edit();
  f.Text2.SetVisible(true);
  f.Text2.SetFocus();
  f.Text2.Type("QX1");
  EXPECT_FALSE(f.Command1.Visible());
  f.Text2.Type("A");
  EXPECT_TRUE(f.Command1.Visible());
  f.Text2.Backspace();
  f.Text2.Backspace();
  EXPECT_TRUE(f.Command1.Visible());
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
  Form6& f = Search("QX1ABC");
  ASSERT_EQ(f.Text7.Text(), "57");
  // Written at once, as a paste does: typing 00 would pass through 0 first.
  f.Text6.SetFocus();
  f.Text6.UserEdit("", 0);
  f.Text6.UserEdit(GetParam().typed, 0);
  EXPECT_EQ(f.Text6.Text(), GetParam().field);
  EXPECT_EQ(f.Text7.Text(), GetParam().report);
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
  Form6& f = Search("QX1ABC");
  ASSERT_EQ(f.Text11.Text(), "0");
  Retype(f.Text9, "i003");
  EXPECT_EQ(f.Text9.Text(), "I003");
  EXPECT_EQ(f.Text11.Text(), "168");
  f.Text9.UserEdit("", 0);
  EXPECT_EQ(f.Text11.Text(), "0");
}

TEST_F(EditWindowTest, SixthLocatorCharacterAsksForTheDistance) {
  Log("QX1ABC", k168Km, "I003");
  Form6& f = Search("QX1ABC");
  Main().Label13.SetCaption("marker");
  Retype(f.Text5, "jm89a");
  EXPECT_EQ(f.Text10.Text(), "168");
  EXPECT_EQ(Main().Label13.Caption(), "marker");
  f.Text5.Type("u");
  EXPECT_EQ(f.Text10.Text(), "150");
  EXPECT_EQ(f.Text11.Text(), "150");
  EXPECT_EQ(Main().Label13.Caption(), " 150");
  EXPECT_EQ(f.Label12.Caption(), k168Km);
}

// --- Search ---

TEST_F(EditWindowTest, EmptySearchIsRefusedAndChangesNothing) {
  Edit().Command3.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Inserire il Call da modificare");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_FALSE(program().Get<Form6>().Text2.Visible());
}

TEST_F(EditWindowTest, FoundQsoFillsFieldsAndOldValues) {
  Log("QX2XYZ", k200Km);
  Log("QX1ABC", k168Km, "I003", false, "57");
  Form6& f = Search(" qx1abc ");
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
  EXPECT_EQ(Fields(f), (std::vector<std::string>{"QX1ABC", "230716", "0730", k168Km, "1", "57",
                                                 "012", "I003", "168", "168"}));
  EXPECT_EQ(OldValues(f), (std::vector<std::string>{"QX1ABC", "230716", "0730", k168Km, "1", "57",
                                                    "012", "I003", "168", "168"}));
  for (const Control* c : EditArea(f)) {
    EXPECT_TRUE(c->Visible()) << c->Name();
  }
  EXPECT_TRUE(f.Command1.Visible());
  // The search reads the lists only.
  EXPECT_EQ(Main().Text14.Text(), program().Get<Form2>().Text1.Text());
}

TEST_F(EditWindowTest, CwRecordAndWholeDistances) {
  Log("QX1ABC", "JM16PV", "M123", true, "579");  // 1234 km
  Log("QX2XYZ", "JN70SW");                       // 87 km
  Log("QX3XYZ", "JN81FD");                       // 7 km
  Form6& f = Search("QX1ABC");
  EXPECT_EQ(Fields(f), (std::vector<std::string>{"QX1ABC", "230716", "0730", "JM16PV", "0", "579",
                                                 "011", "M123", "1234", "1234"}));
  EXPECT_EQ(f.Label20.Caption(), "1234");
  Retype(f.Text1, "QX2XYZ");
  f.Command3.Press();
  EXPECT_EQ(f.Label20.Caption(), "87");
  Retype(f.Text1, "QX3XYZ");
  f.Command3.Press();
  EXPECT_EQ(f.Label20.Caption(), "7");
  EXPECT_EQ(f.Text10.Text(), "7");
}

TEST_F(EditWindowTest, SearchingAgainEmptiesFirstAndNotFoundHidesTheArea) {
  Log("QX1ABC", k168Km, "I003");
  Log("QX2XYZ", k100Km);
  Form6& f = Search("QX1ABC");
  Retype(f.Text1, "QX2XYZ");
  f.Command3.Press();
  EXPECT_EQ(Fields(f), (std::vector<std::string>{"QX2XYZ", "230716", "0730", k100Km, "1", "59",
                                                 "012", "", "100", "0"}));
  EXPECT_EQ(f.Label18.Caption(), "");

  Retype(f.Text1, "QX9ZZZ");
  f.Command3.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Call non trovato nel LOG");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  for (const Control* c : EditArea(f)) {
    EXPECT_FALSE(c->Visible()) << c->Name();
  }
  EXPECT_FALSE(f.Command1.Visible());
  for (const std::string& field : Fields(f)) {
    EXPECT_EQ(field, "");
  }
}

TEST_F(EditWindowTest, ListsOutOfStepAreNotEdited) {
  Log("QX1ABC", k168Km);
  Main().Text12.SetText("");
  Search("QX1ABC");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_FALSE(program().Get<Form6>().Command1.Visible());
}

TEST_F(EditWindowTest, CloseUnloadsAndTheNextOpeningStartsEmpty) {
  Log("QX1ABC", k168Km);
  Form6& f = Search("QX1ABC");
  f.Command2.Press();
  EXPECT_EQ(program().Find<Form6>(), nullptr);
  Form6& again = Edit();
  EXPECT_EQ(again.Text1.Text(), "");
  EXPECT_EQ(again.Text2.Text(), "");
  EXPECT_FALSE(again.Command1.Visible());
  again.Command1.Press();  // nothing found in this window: nothing to modify
  EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
}

// --- Modification ---

class ModifyTest : public EditWindowTest {
 protected:
  void Modify(Form6& f) {
    messages_.shown.clear();
    f.Command1.Press();
  }
  void ExpectDone(Form6& f) {
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "I dati del QSO sono stati modificati");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(f.Text1.Text(), "");
    for (const std::string& field : Fields(f)) {
      EXPECT_EQ(field, "");
    }
    for (const std::string& old : OldValues(f)) {
      EXPECT_EQ(old, "");
    }
    for (const Control* c : EditArea(f)) {
      EXPECT_FALSE(c->Visible()) << c->Name();
    }
    EXPECT_FALSE(f.Command1.Visible());
    EXPECT_EQ(Focused(), "Text1");
    EXPECT_EQ(Main().Text14.Text(), program().Get<Form2>().Text1.Text());
  }
  void ExpectSaved(const std::string& before) {
    EXPECT_EQ(State(), StateFileText(ContestStateOf(Main())));
    EXPECT_EQ(Backup(), before);
  }
};

TEST_F(ModifyTest, TimeOnlyLeavesTheDateThatEndsInTheSameDigits) {
  GoOffLine();
  Main().Text3.SetText("07.16");
  Log("QX1ABC", k168Km);
  const std::string saved = State();
  Form6& f = Search("QX1ABC");
  ASSERT_EQ(f.Text4.Text(), "0716");
  Retype(f.Text4, "0930");
  Modify(f);
  ExpectDone(f);
  EXPECT_EQ(Main().Text14.Text(), "230716;0930;QX1ABC;1;59;001;59;011;;JN71GD;168;;;;\r\n");
  EXPECT_EQ(Main().Text12.Text(),
            "001   16/07/23   09.30   144Mhz   SSB   QX1ABC      59-011   JN71GD   \r\n");
  ExpectSaved(saved);
}

TEST_F(ModifyTest, LocatorFrom100To150KmWithoutClub) {
  Log("QX1ABC", k100Km);
  Log("QX2XYZ", k200Km);
  Form6& f = Search("QX1ABC");
  Retype(f.Text5, k150Km);
  Modify(f);
  ExpectDone(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"2", "350", "0", "350", "175", "QX2XYZ", k200Km,
                                                " 200", "0", "0"}));
  EXPECT_EQ(LineOf(Main().Text14.Text(), 0), "230716;0730;QX1ABC;1;59;001;59;011;;JM89AU;150;;;;");
}

TEST_F(ModifyTest, LocatorFrom100To150KmWithI003CountsTheChangeTwice) {
  Log("QX1ABC", k100Km, "I003");
  Log("QX2XYZ", k200Km);
  ASSERT_EQ(Main().Label25.Caption(), "400");
  Form6& f = Search("QX1ABC");
  Retype(f.Text5, k150Km);
  EXPECT_EQ(f.Text11.Text(), "150");
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
  Form6& f = Search("QX1ABC");
  Retype(f.Text9, "M123");
  Modify(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"2", "300", "1", "500", "150", "QX1ABC", k200Km,
                                                " 200", "0", "1"}));
  EXPECT_EQ(LineOf(Main().Text12.Text(), 0),
            "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-011   JM79JW   M123");

  Search("QX1ABC");
  f.Text9.SetFocus();
  f.Text9.UserEdit("", 0);
  Modify(f);
  EXPECT_EQ(Totals(), before);
  EXPECT_EQ(LineOf(Main().Text12.Text(), 0),
            "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-011   JM79JW   ");
}

TEST_F(ModifyTest, I003ToM123MovesOneQsoBetweenTheClubs) {
  Log("QX1ABC", k168Km, "I003");
  Form6& f = Search("QX1ABC");
  Retype(f.Text9, "M123");
  Modify(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"1", "168", "1", "336", "168", "QX1ABC", k168Km,
                                                " 168", "0", "1"}));
  EXPECT_EQ(Main().Text14.Text(), "230716;0730;QX1ABC;1;59;001;59;011;M123;JN71GD;168;;;;\r\n");
}

TEST_F(ModifyTest, OdxMovesWhenItsQsoComesCloser) {
  Log("QX1ABC", k200Km);
  Log("QX2XYZ", k168Km);
  Form6& f = Search("QX1ABC");
  Retype(f.Text5, k100Km);
  Modify(f);
  EXPECT_EQ(Totals(), (std::vector<std::string>{"2", "268", "0", "268", "134", "QX2XYZ", k168Km,
                                                " 168", "0", "0"}));
}

TEST_F(ModifyTest, OwnSubsquareStoresOneKm) {
  Log("QX1ABC", k168Km);
  Form6& f = Search("QX1ABC");
  Retype(f.Text5, "JN81GD");
  EXPECT_EQ(f.Text10.Text(), "1");
  Modify(f);
  EXPECT_EQ(Main().Text14.Text(), "230716;0730;QX1ABC;1;59;001;59;011;;JN81GD;1;;;;\r\n");
  EXPECT_EQ(Main().Label21.Caption(), "1");
}

// The commit takes I-QRP numbers up to 1100 and a bare club letter; correcting another field of
// such a QSO must neither refuse the stored code nor drop it.
TEST_F(ModifyTest, StoredClubCodeOfAnotherLengthIsKept) {
  Log("QX1ABC", k168Km, "I1050");
  Log("QX2XYZ", k100Km, "M");
  for (const auto& [call, code] : {std::pair{"QX1ABC", "I1050"}, std::pair{"QX2XYZ", "M"}}) {
    Form6& f = Search(call);
    ASSERT_EQ(f.Text9.Text(), code);
    Retype(f.Text4, "0930");
    Modify(f);
    ExpectDone(f);
  }
  EXPECT_EQ(Main().Text14.Text(),
            "230716;0930;QX1ABC;1;59;001;59;011;I1050;JN71GD;168;;;;\r\n"
            "230716;0930;QX2XYZ;1;59;002;59;012;M;JN71QH;100;;;;\r\n");
  EXPECT_EQ(Main().Label23.Caption(), "2");
}

TEST_F(ModifyTest, NothingChangedWritesNothing) {
  Log("QX1ABC", k168Km);
  Log("QX2XYZ", k100Km);
  const std::string saved = State();
  const std::string backup = Backup();
  Form6& f = Search("QX2XYZ");
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
  const std::string list = Main().Text12.Text();
  const std::vector<std::string> totals = Totals();
  Form6& f = Search("QX1ABC");
  const RefusedCase& c = GetParam();
  Retype(f.Text9, c.club);
  Retype(f.Text3, c.date);
  Retype(f.Text4, c.time);
  if (*c.locator != '\0') {
    Retype(f.Text5, c.locator);
  }
  Modify(f);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, c.message);
  EXPECT_EQ(Focused(), c.focused);
  EXPECT_EQ(f.Text9.Text(), c.club_after);
  EXPECT_EQ(f.Text2.Text(), "QX1ABC");
  EXPECT_TRUE(f.Command1.Visible());
  EXPECT_EQ(Main().Text12.Text(), list);
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
  Form6& f = Search("QX2XYZ");
  Retype(f.Text8, "099");
  const std::string list =
      "001   16/07/23   07.30   144Mhz   SSB   QX7AAA      59-001   JN71GD   \r\n";
  Main().Text12.SetText(list);
  Modify(f);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(Main().Text12.Text(), list);
  EXPECT_EQ(f.Text8.Text(), "099");
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
    Form6& f = Search(q.call);
    ASSERT_EQ(f.Text2.Text(), q.call) << "round " << round;
    std::string what;
    if (Coin()) {
      what += " mode";
      const QsoMode mode = Coin() ? QsoMode::kSsb : QsoMode::kCw;
      Retype(f.Text6, ModeCode(mode));
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
      Retype(f.Text2, q.call);
    }
    if (Pick(4) == 0) {
      what += " date";
      const std::string date = "2307" + Digits(2);
      Retype(f.Text3, date);
      q.date = ListDate(date);
    }
    if (Pick(4) == 0) {
      what += " time";
      const std::string time = Digits(4);
      Retype(f.Text4, time);
      q.time = ListTime(time);
    }
    if (Coin()) {
      what += " locator";
      q.locator = Locator();
      Retype(f.Text5, q.locator);
      q.distance_km = Distance(q.locator);
    }
    if (Pick(4) == 0) {
      what += " report";
      q.report_received = "5" + Digits(q.mode == QsoMode::kSsb ? 1 : 2);
      Retype(f.Text7, q.report_received);
    }
    if (Pick(4) == 0) {
      what += " serial";
      q.serial_received = Digits(3);
      Retype(f.Text8, q.serial_received);
    }
    if (Coin()) {
      what += " club";
      q.club_code = Club();
      f.Text9.SetFocus();
      f.Text9.UserEdit("", 0);
      f.Text9.Type(q.club_code);
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
    ASSERT_EQ(Main().Text12.Text(), list) << "round " << round << what;
    ASSERT_EQ(Main().Text14.Text(), records) << "round " << round << what;
    ASSERT_EQ(program().Get<Form2>().Text1.Text(), records) << "round " << round << what;
    ASSERT_EQ(Totals(), (std::vector<std::string>{
                            totals.qsos, totals.distance_km, totals.multipliers, totals.points,
                            totals.average_km, totals.odx_call, totals.odx_locator, totals.odx_km,
                            totals.iqrp, totals.mqc}))
        << "round " << round << what;
    ASSERT_EQ(State(), StateFileText(ContestStateOf(Main()))) << "round " << round << what;
  }
}

}  // namespace
}  // namespace keldra::testing

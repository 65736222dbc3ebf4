// The club windows as the operator uses them: the administration window leading to the list
// management window, searching and adding members, and the award window.
#include <gtest/gtest.h>

#include <string>

#include "MainWindowFixture.h"
#include "tests/TestSupport.h"
#include "ui/Form1.h"
#include "ui/Form10.h"
#include "ui/Form11.h"
#include "ui/Form9.h"

namespace keldra {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

// "QX1AA#1" ... one member per number, CR LF after each.
std::string NumberedList(int count) {
  std::string bytes;
  for (int i = 1; i <= count; ++i)
    bytes += "QX" + std::to_string(i) + "AA#" + std::to_string(i) + "\r\n";
  return bytes;
}

class ClubWindowsTest : public testing::ProgramTest {
 protected:
  Form11& OpenManagement() {
    Form11& form = program().Get<Form11>();
    form.Show();
    return form;
  }
  // Types a callsign into "Nuovo socio" (replacing "N.A.") and presses "Aggiungi".
  void Add(Form11& form, const std::string& typed) {
    form.Text6.SetText("");
    form.Text6.Type(typed);
    form.Command3.Press();
  }
  void Search(Form11& form, const std::string& typed) {
    form.Text5.SetText("");
    form.Text5.Type(typed);
    form.Command2.Press();
  }
  std::string LastMessage() const {
    return messages_.shown.empty() ? std::string() : messages_.shown.back().text;
  }
};

TEST_F(ClubWindowsTest, AdministrationLeadsToManagementAndClosesItself) {
  program().Get<Form1>().Command11.Press();
  Form10* admin = program().Find<Form10>();
  ASSERT_NE(admin, nullptr);
  EXPECT_TRUE(admin->Visible());
  EXPECT_EQ(admin->Caption(), "Keldra VHF qrp - Amministrazione");

  admin->Command2.Press();
  EXPECT_EQ(program().Find<Form10>(), nullptr);
  Form11* management = program().Find<Form11>();
  ASSERT_NE(management, nullptr);
  EXPECT_TRUE(management->Visible());

  management->Command1.Press();  // "Esci"
  EXPECT_EQ(program().Find<Form11>(), nullptr);
}

TEST_F(ClubWindowsTest, AdministrationChiudiClosesIt) {
  Form10& admin = program().Get<Form10>();
  admin.Show();
  admin.Command1.Press();
  EXPECT_EQ(program().Find<Form10>(), nullptr);
  EXPECT_EQ(program().Find<Form11>(), nullptr);
}

TEST_F(ClubWindowsTest, AwardWindowShowsItsTextsAndCloses) {
  Form9& award = program().Get<Form9>();
  award.Show();
  EXPECT_EQ(award.Caption(), "I-QRP Club Awars");
  EXPECT_EQ(award.Label3.Caption(),
            "Complimenti! hai raggiunto i punti necessari al conseguimento dell' I-QRP Club Award. "
            "Consulta il regolamento per tutti i dettagli.");
  EXPECT_EQ(award.Label1.Caption(), "Regolamento:");
  EXPECT_FALSE(award.Label2.Caption().empty());
  EXPECT_EQ(award.Picture1.Art(), Artwork::kAward);
  award.Command1.Press();
  EXPECT_EQ(program().Find<Form9>(), nullptr);
}

TEST_F(ClubWindowsTest, OpeningShowsBothListsWithCountsAndNextNumber) {
  WriteBytes(File("iqrp.txt"), NumberedList(41));
  WriteBytes(File("mqc.txt"), "QX1AB#1\nQX2CD#2\nQX3EF#3\n");  // LF only
  Form11& form = OpenManagement();
  EXPECT_EQ(form.Text1.Text(), NumberedList(41));
  EXPECT_EQ(form.Text3.Text(), "41");
  EXPECT_EQ(form.Text2.Text(), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#3\r\n");
  EXPECT_EQ(form.Text4.Text(), "3");
  EXPECT_EQ(form.Combo1.Text(), "I-QRP");
  EXPECT_EQ(form.Label2.Caption(), "42");

  form.Combo1.SetListIndex(1);
  EXPECT_EQ(form.Label2.Caption(), "4");
  form.Combo1.SetListIndex(0);
  EXPECT_EQ(form.Label2.Caption(), "42");
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ClubWindowsTest, MissingFilesAreEmptyListsStartingAtOne) {
  Form11& form = OpenManagement();
  EXPECT_EQ(form.Text1.Text(), "");
  EXPECT_EQ(form.Text3.Text(), "0");
  EXPECT_EQ(form.Text4.Text(), "0");
  EXPECT_EQ(form.Label2.Caption(), "1");
  form.Text6.SetText(" qx1ab ");  // blanks around a callsign are dropped
  form.Command3.Press();
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\n");
  EXPECT_FALSE(std::filesystem::exists(File("mqc.txt"))) << "only the chosen club is written";
}

TEST_F(ClubWindowsTest, LinesWithoutHashAreNotCountedNorWrittenBack) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n\r\njunk\r\nQX2CD#2\r\n\r\n");
  Form11& form = OpenManagement();
  EXPECT_EQ(form.Text3.Text(), "2");
  EXPECT_EQ(form.Label2.Caption(), "3");
  Add(form, "QX3EF");
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#3\r\n");
}

TEST_F(ClubWindowsTest, AddingWritesTheNextNumberAndAdvancesIt) {
  WriteBytes(File("iqrp.txt"), NumberedList(41));
  Form11& form = OpenManagement();

  form.Text6.SetText("");
  form.Text6.Type("qx9zz");
  EXPECT_EQ(form.Text6.Text(), "QX9ZZ");
  EXPECT_EQ(form.Text6.SelStart(), 5);
  form.Command3.Press();
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), NumberedList(41) + "QX9ZZ#42\r\n");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(messages_.shown.back().title, kDefaultTitle);
  EXPECT_EQ(messages_.shown.back().icon, MessageIcon::kInformation);
  EXPECT_EQ(form.Text6.Text(), "N.A.");
  EXPECT_EQ(form.Label2.Caption(), "43");
  EXPECT_EQ(form.Text3.Text(), "42");

  Add(form, "QX8YY");
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), NumberedList(41) + "QX9ZZ#42\r\nQX8YY#43\r\n");
  EXPECT_EQ(form.Label2.Caption(), "44");
}

TEST_F(ClubWindowsTest, NumberFollowsTheHighestNotTheLineCount) {
  WriteBytes(File("mqc.txt"), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#7\r\n");
  Form11& form = OpenManagement();
  form.Combo1.SetListIndex(1);
  EXPECT_EQ(form.Label2.Caption(), "8");
  Add(form, "QX4GH");
  EXPECT_EQ(ReadBytes(File("mqc.txt")), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#7\r\nQX4GH#8\r\n");
  EXPECT_FALSE(std::filesystem::exists(File("iqrp.txt")));
}

TEST_F(ClubWindowsTest, ExistingMemberIsRefusedButALongerOrShorterCallsignIsNot) {
  const std::string list = "QX1ABC#1\r\nQX2CD#2\r\n";
  WriteBytes(File("iqrp.txt"), list);
  Form11& form = OpenManagement();

  Add(form, "QX2CD");
  EXPECT_EQ(LastMessage(), U8("L'Utente non può essere aggiunto poiche' gia' presente"));
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), list);
  EXPECT_EQ(form.Label2.Caption(), "3");

  Add(form, "QX1AB");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  Add(form, "QX2C");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), list + "QX1AB#3\r\nQX2C#4\r\n");
}

TEST_F(ClubWindowsTest, MemberOfTheOtherClubCanBeAdded) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n");
  Form11& form = OpenManagement();
  form.Combo1.SetListIndex(1);
  Add(form, "QX1AB");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(ReadBytes(File("mqc.txt")), "QX1AB#1\r\n");
}

TEST_F(ClubWindowsTest, InvalidCallsignsAreRefusedAndNothingIsSaved) {
  const std::string list = "QX1AB#1\r\n";
  WriteBytes(File("iqrp.txt"), list);
  Form11& form = OpenManagement();
  const std::string invalid[] = {"N.A.", "", "   ", "QX2CD/P", "QX2 CD", "QX2#CD", "QX-2"};
  for (const std::string& typed : invalid) {
    SCOPED_TRACE("typed \"" + typed + "\"");
    messages_.shown.clear();
    form.Text6.SetText(typed);
    form.Command3.Press();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(LastMessage().find("Nominativo non valido"), std::string::npos);
    EXPECT_EQ(ReadBytes(File("iqrp.txt")), list);
    EXPECT_EQ(form.Label2.Caption(), "2");
    EXPECT_TRUE(form.Text6.HasFocus());
  }
}

TEST_F(ClubWindowsTest, SearchReportsTheNumberInEitherClub) {
  WriteBytes(File("iqrp.txt"), "QX1ABC#5\r\nQX1AB#42\r\nQX7ZZ#007\r\n");
  WriteBytes(File("mqc.txt"), "QX2CD#3\r\n");
  Form11& form = OpenManagement();
  const struct {
    int club;
    const char* typed;
    const char* message;
  } cases[] = {
      {0, "qx1ab", "Utente presente nel database I-QRP al numero 042"},
      {0, "QX1ABC", "Utente presente nel database I-QRP al numero 005"},
      {0, "QX1AB/P", "Utente presente nel database I-QRP al numero 042"},
      {0, "QX7ZZ", "Utente presente nel database I-QRP al numero 007"},
      {0, "QX1A", "Utente non presente nel database I-QRP"},
      {0, "QX2CD", "Utente non presente nel database I-QRP"},
      {1, "QX2CD", "Utente presente nel database MQC al numero 003"},
      {1, "QX1AB", "Utente non presente nel database MQC"},
      {1, "", "Inserire il nominativo da cercare"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    form.Combo1.SetListIndex(c.club);
    Search(form, c.typed);
    EXPECT_EQ(LastMessage(), c.message);
    EXPECT_EQ(messages_.shown.back().icon, MessageIcon::kInformation);
  }
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1ABC#5\r\nQX1AB#42\r\nQX7ZZ#007\r\n");
}

// Files whose writes fail at the rename, or whose reads of one file fail.
class BrokenFiles : public Files {
 public:
  bool fail_writes = false;
  std::string unreadable;

 protected:
  std::error_code Inject(WriteStep step) override {
    return fail_writes && step == WriteStep::kRename
               ? std::make_error_code(std::errc::read_only_file_system)
               : std::error_code();
  }
  std::error_code InjectRead(const fs::path& path) const override {
    return path.filename() == unreadable ? std::make_error_code(std::errc::permission_denied)
                                         : std::error_code();
  }
};

class ClubWindowsBrokenDiskTest : public ClubWindowsTest {
 protected:
  ~ClubWindowsBrokenDiskTest() override { program_.reset(); }  // before files_ goes
  Form11& OpenOnBrokenDisk() {
    program_ = std::make_unique<Program>(messages_, clock_, folder_.path(), &files_);
    return OpenManagement();
  }
  BrokenFiles files_;
};

TEST_F(ClubWindowsBrokenDiskTest, FailedSaveIsReportedAndNothingChanges) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n");
  files_.fail_writes = true;
  Form11& form = OpenOnBrokenDisk();
  Add(form, "QX2CD");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_NE(LastMessage().find(File("iqrp.txt").string()), std::string::npos);
  EXPECT_EQ(LastMessage().find("successo"), std::string::npos);
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\n");
  EXPECT_EQ(form.Text1.Text(), "QX1AB#1\r\n");
  EXPECT_EQ(form.Text6.Text(), "QX2CD");
  EXPECT_EQ(form.Label2.Caption(), "2");

  files_.fail_writes = false;  // the disk is back: the same press now works
  form.Command3.Press();
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\nQX2CD#2\r\n");
}

TEST_F(ClubWindowsBrokenDiskTest, UnreadableFileIsReportedAndNeverOverwritten) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n");
  WriteBytes(File("mqc.txt"), "QX2CD#1\r\n");
  files_.unreadable = "iqrp.txt";
  Form11& form = OpenOnBrokenDisk();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_NE(LastMessage().find("iqrp.txt"), std::string::npos);
  EXPECT_EQ(form.Text4.Text(), "1");

  Add(form, "QX3EF");
  EXPECT_EQ(messages_.shown.back().icon, MessageIcon::kCritical);
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\n");

  form.Combo1.SetListIndex(1);
  Add(form, "QX3EF");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(ReadBytes(File("mqc.txt")), "QX2CD#1\r\nQX3EF#2\r\n");
}

// Entering the serial-received field of the main window fills the club code from the files.
class ClubLookupTest : public testing::MainWindowTest {
 protected:
  // The callsign typed, then Enter from "RST-rx" into the serial field.
  void EnterSerialField(const std::string& call, const std::string& club) {
    Main().Text6.SetText(call);
    Main().Text11.SetText(club);
    Main().Text8.SetFocus();
    Main().Text8.PressKey(key::kEnter);
    ASSERT_EQ(Focused(), "Text9");
  }
};

TEST_F(ClubLookupTest, FillsTheCodeOrLeavesAHandTypedOne) {
  WriteBytes(File("iqrp.txt"), "QX1AB#7\r\nQX2CD#9\r\n");
  WriteBytes(File("mqc.txt"), "QX2CD#5\r\nQX3EF#12\r\n");
  const struct {
    const char* call;
    const char* typed_club;
    const char* club;
  } cases[] = {
      {"QX1AB/P", "", "I007"},   {"QX2CD", "", "I009"}, {"QX3EF", "I001", "M012"},
      {"QX4GH", "M123", "M123"}, {"QX1ABC", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    EnterSerialField(c.call, c.typed_club);
    EXPECT_EQ(Main().Text11.Text(), c.club);
  }
}

TEST_F(ClubLookupTest, MemberAddedInTheManagementWindowIsFoundAtOnce) {
  Main();
  Form11& form = program().Get<Form11>();
  form.Show();
  form.Combo1.SetListIndex(1);
  form.Text6.SetText("QX5JK");
  form.Command3.Press();
  form.Command1.Press();
  EnterSerialField("QX5JK", "");
  EXPECT_EQ(Main().Text11.Text(), "M001");
}

}  // namespace
}  // namespace keldra

// The club windows as the operator uses them: the administration window leading to the list
// management window, searching and adding members, and the award window.
#include <gtest/gtest.h>

#include <string>

#include "MainWindowFixture.h"
#include "tests/TestSupport.h"
#include "ui/AdministrationWindow.h"
#include "ui/ClubAwardWindow.h"
#include "ui/ClubManagementWindow.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

// "QX1AA#1" ... one member per number, CR LF after each.
std::string NumberedList(int count) {
  std::string bytes;
  for (int i = 1; i <= count; ++i) {
    bytes += "QX" + std::to_string(i) + "AA#" + std::to_string(i) + "\r\n";
  }
  return bytes;
}

class ClubWindowsTest : public testing::ProgramTest {
 protected:
  ClubManagementWindow& OpenManagement() {
    ClubManagementWindow& form = program().Get<ClubManagementWindow>();
    form.Show();
    return form;
  }
  // Types a callsign into "Nuovo socio" (replacing "N.A.") and presses "Aggiungi".
  void Add(ClubManagementWindow& form, const std::string& typed) {
    form.new_member.SetText("");
    form.new_member.Type(typed);
    form.add_button.Press();
  }
  void Search(ClubManagementWindow& form, const std::string& typed) {
    form.search_call.SetText("");
    form.search_call.Type(typed);
    form.search_button.Press();
  }
  std::string LastMessage() const {
    return messages_.shown.empty() ? std::string() : messages_.shown.back().text;
  }
};

TEST_F(ClubWindowsTest, AdministrationLeadsToManagementAndClosesItself) {
  program().Get<MainWindow>().administration_button.Press();
  AdministrationWindow* admin = program().Find<AdministrationWindow>();
  ASSERT_NE(admin, nullptr);
  EXPECT_TRUE(admin->Visible());
  EXPECT_EQ(admin->Caption(), "Keldra VHF qrp - Amministrazione");

  admin->club_lists_button.Press();
  EXPECT_EQ(program().Find<AdministrationWindow>(), nullptr);
  ClubManagementWindow* management = program().Find<ClubManagementWindow>();
  ASSERT_NE(management, nullptr);
  EXPECT_TRUE(management->Visible());

  management->exit_button.Press();  // "Esci"
  EXPECT_EQ(program().Find<ClubManagementWindow>(), nullptr);
}

TEST_F(ClubWindowsTest, AdministrationChiudiClosesIt) {
  AdministrationWindow& admin = program().Get<AdministrationWindow>();
  admin.Show();
  admin.close_button.Press();
  EXPECT_EQ(program().Find<AdministrationWindow>(), nullptr);
  EXPECT_EQ(program().Find<ClubManagementWindow>(), nullptr);
}

TEST_F(ClubWindowsTest, AwardWindowShowsItsTextsAndCloses) {
  ClubAwardWindow& award = program().Get<ClubAwardWindow>();
  award.Show();
  EXPECT_EQ(award.Caption(), "I-QRP Club Awars");
  EXPECT_EQ(award.congratulations.Caption(),
            "Complimenti! hai raggiunto i punti necessari al conseguimento dell' I-QRP Club Award. "
            "Consulta il regolamento per tutti i dettagli.");
  EXPECT_EQ(award.rules_caption.Caption(), "Regolamento:");
  EXPECT_FALSE(award.rules_address.Caption().empty());
  EXPECT_EQ(award.award_picture.Art(), Artwork::kAward);
  award.close_button.Press();
  EXPECT_EQ(program().Find<ClubAwardWindow>(), nullptr);
}

TEST_F(ClubWindowsTest, OpeningShowsBothListsWithCountsAndNextNumber) {
  WriteBytes(File("iqrp.txt"), NumberedList(41));
  WriteBytes(File("mqc.txt"), "QX1AB#1\nQX2CD#2\nQX3EF#3\n");  // LF only
  ClubManagementWindow& form = OpenManagement();
  EXPECT_EQ(form.iqrp_list.Text(), NumberedList(41));
  EXPECT_EQ(form.iqrp_count.Text(), "41");
  EXPECT_EQ(form.mqc_list.Text(), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#3\r\n");
  EXPECT_EQ(form.mqc_count.Text(), "3");
  EXPECT_EQ(form.club_choice.Text(), "I-QRP");
  EXPECT_EQ(form.next_number.Caption(), "42");

  form.club_choice.SetListIndex(1);
  EXPECT_EQ(form.next_number.Caption(), "4");
  form.club_choice.SetListIndex(0);
  EXPECT_EQ(form.next_number.Caption(), "42");
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ClubWindowsTest, MissingFilesAreEmptyListsStartingAtOne) {
  ClubManagementWindow& form = OpenManagement();
  EXPECT_EQ(form.iqrp_list.Text(), "");
  EXPECT_EQ(form.iqrp_count.Text(), "0");
  EXPECT_EQ(form.mqc_count.Text(), "0");
  EXPECT_EQ(form.next_number.Caption(), "1");
  form.new_member.SetText(" qx1ab ");  // blanks around a callsign are dropped
  form.add_button.Press();
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\n");
  EXPECT_FALSE(std::filesystem::exists(File("mqc.txt"))) << "only the chosen club is written";
}

TEST_F(ClubWindowsTest, LinesWithoutHashAreNotCountedNorWrittenBack) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n\r\njunk\r\nQX2CD#2\r\n\r\n");
  ClubManagementWindow& form = OpenManagement();
  EXPECT_EQ(form.iqrp_count.Text(), "2");
  EXPECT_EQ(form.next_number.Caption(), "3");
  Add(form, "QX3EF");
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#3\r\n");
}

TEST_F(ClubWindowsTest, AddingWritesTheNextNumberAndAdvancesIt) {
  WriteBytes(File("iqrp.txt"), NumberedList(41));
  ClubManagementWindow& form = OpenManagement();

  form.new_member.SetText("");
  form.new_member.Type("qx9zz");
  EXPECT_EQ(form.new_member.Text(), "QX9ZZ");
  EXPECT_EQ(form.new_member.SelStart(), 5);
  form.add_button.Press();
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), NumberedList(41) + "QX9ZZ#42\r\n");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(messages_.shown.back().title, kDefaultTitle);
  EXPECT_EQ(messages_.shown.back().icon, MessageIcon::kInformation);
  EXPECT_EQ(form.new_member.Text(), "N.A.");
  EXPECT_EQ(form.next_number.Caption(), "43");
  EXPECT_EQ(form.iqrp_count.Text(), "42");

  Add(form, "QX8YY");
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), NumberedList(41) + "QX9ZZ#42\r\nQX8YY#43\r\n");
  EXPECT_EQ(form.next_number.Caption(), "44");
}

TEST_F(ClubWindowsTest, NumberFollowsTheHighestNotTheLineCount) {
  WriteBytes(File("mqc.txt"), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#7\r\n");
  ClubManagementWindow& form = OpenManagement();
  form.club_choice.SetListIndex(1);
  EXPECT_EQ(form.next_number.Caption(), "8");
  Add(form, "QX4GH");
  EXPECT_EQ(ReadBytes(File("mqc.txt")), "QX1AB#1\r\nQX2CD#2\r\nQX3EF#7\r\nQX4GH#8\r\n");
  EXPECT_FALSE(std::filesystem::exists(File("iqrp.txt")));
}

TEST_F(ClubWindowsTest, ExistingMemberIsRefusedButALongerOrShorterCallsignIsNot) {
  const std::string list = "QX1ABC#1\r\nQX2CD#2\r\n";
  WriteBytes(File("iqrp.txt"), list);
  ClubManagementWindow& form = OpenManagement();

  Add(form, "QX2CD");
  EXPECT_EQ(LastMessage(), Cp1252("L'Utente non può essere aggiunto poiche' gia' presente"));
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), list);
  EXPECT_EQ(form.next_number.Caption(), "3");

  Add(form, "QX1AB");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  Add(form, "QX2C");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), list + "QX1AB#3\r\nQX2C#4\r\n");
}

TEST_F(ClubWindowsTest, MemberOfTheOtherClubCanBeAdded) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n");
  ClubManagementWindow& form = OpenManagement();
  form.club_choice.SetListIndex(1);
  Add(form, "QX1AB");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(ReadBytes(File("mqc.txt")), "QX1AB#1\r\n");
}

TEST_F(ClubWindowsTest, InvalidCallsignsAreRefusedAndNothingIsSaved) {
  const std::string list = "QX1AB#1\r\n";
  WriteBytes(File("iqrp.txt"), list);
  ClubManagementWindow& form = OpenManagement();
  const std::string invalid[] = {"N.A.", "", "   ", "QX2CD/P", "QX2 CD", "QX2#CD", "QX-2"};
  for (const std::string& typed : invalid) {
    SCOPED_TRACE("typed \"" + typed + "\"");
    messages_.shown.clear();
    form.new_member.SetText(typed);
    form.add_button.Press();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(LastMessage().find("Nominativo non valido"), std::string::npos);
    EXPECT_EQ(ReadBytes(File("iqrp.txt")), list);
    EXPECT_EQ(form.next_number.Caption(), "2");
    EXPECT_TRUE(form.new_member.HasFocus());
  }
}

TEST_F(ClubWindowsTest, SearchReportsTheNumberInEitherClub) {
  WriteBytes(File("iqrp.txt"), "QX1ABC#5\r\nQX1AB#42\r\nQX7ZZ#007\r\n");
  WriteBytes(File("mqc.txt"), "QX2CD#3\r\n");
  ClubManagementWindow& form = OpenManagement();
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
    form.club_choice.SetListIndex(c.club);
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
  ClubManagementWindow& OpenOnBrokenDisk() {
    program_ = std::make_unique<Program>(messages_, clock_, folder_.path(), &files_);
    return OpenManagement();
  }
  BrokenFiles files_;
};

TEST_F(ClubWindowsBrokenDiskTest, FailedSaveIsReportedAndNothingChanges) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n");
  files_.fail_writes = true;
  ClubManagementWindow& form = OpenOnBrokenDisk();
  Add(form, "QX2CD");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_NE(LastMessage().find(File("iqrp.txt").string()), std::string::npos);
  EXPECT_EQ(LastMessage().find("successo"), std::string::npos);
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\n");
  EXPECT_EQ(form.iqrp_list.Text(), "QX1AB#1\r\n");
  EXPECT_EQ(form.new_member.Text(), "QX2CD");
  EXPECT_EQ(form.next_number.Caption(), "2");

  files_.fail_writes = false;  // the disk is back: the same press now works
  form.add_button.Press();
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\nQX2CD#2\r\n");
}

TEST_F(ClubWindowsBrokenDiskTest, UnreadableFileIsReportedAndNeverOverwritten) {
  WriteBytes(File("iqrp.txt"), "QX1AB#1\r\n");
  WriteBytes(File("mqc.txt"), "QX2CD#1\r\n");
  files_.unreadable = "iqrp.txt";
  ClubManagementWindow& form = OpenOnBrokenDisk();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_NE(LastMessage().find("iqrp.txt"), std::string::npos);
  EXPECT_EQ(form.mqc_count.Text(), "1");

  Add(form, "QX3EF");
  EXPECT_EQ(messages_.shown.back().icon, MessageIcon::kCritical);
  EXPECT_EQ(ReadBytes(File("iqrp.txt")), "QX1AB#1\r\n");

  form.club_choice.SetListIndex(1);
  Add(form, "QX3EF");
  EXPECT_EQ(LastMessage(), "Utente aggiunto con successo nel database");
  EXPECT_EQ(ReadBytes(File("mqc.txt")), "QX2CD#1\r\nQX3EF#2\r\n");
}

// Entering the serial-received field of the main window fills the club code from the files.
class ClubLookupTest : public testing::MainWindowTest {
 protected:
  // The callsign typed, then Enter from "RST-rx" into the serial field.
  void EnterSerialField(const std::string& call, const std::string& club) {
    Main().call.SetText(call);
    Main().club_code.SetText(club);
    Main().rst_received.SetFocus();
    Main().rst_received.PressKey(key::kEnter);
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
    EXPECT_EQ(Main().club_code.Text(), c.club);
  }
}

TEST_F(ClubLookupTest, MemberAddedInTheManagementWindowIsFoundAtOnce) {
  Main();
  ClubManagementWindow& form = program().Get<ClubManagementWindow>();
  form.Show();
  form.club_choice.SetListIndex(1);
  form.new_member.SetText("QX5JK");
  form.add_button.Press();
  form.exit_button.Press();
  EnterSerialField("QX5JK", "");
  EXPECT_EQ(Main().club_code.Text(), "M001");
}

}  // namespace
}  // namespace keldra

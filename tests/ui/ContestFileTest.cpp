// Saving the main window's contest to parziale.db and reading it back for a resume.
#include <gtest/gtest.h>

#include "StartupFixture.h"
#include "support/ShownState.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"

namespace keldra::testing {
namespace {

const std::string kLine = "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-001   JN81GD   ";
const std::string kEdi = "230716;0730;QX1ABC;1;59;001;59;001;;JN81GD;523;;;;";

class ContestFileTest : public StartupTest {
 protected:
  void SetUp() override { WriteBytes(File("config.txt"), kStationFile); }

  // One QSO more in the log, with these totals.
  void LogOneQso(const std::string& serial = "002") {
    ContestState state;
    state.qso_list = kLine + "\r\n";
    state.edi_records = kEdi + "\r\n";
    state.serial = serial;
    state.qsos = "1";
    state.odx_km = " 523";
    PutContest(program(), state);
  }
};

TEST_F(ContestFileTest, SaveWritesTheControlsKeepingThePreviousVersion) {
  MainWindow& main = Start();
  LogOneQso();
  ASSERT_TRUE(SaveContest(program(), main));
  const std::string first = ReadBytes(File("parziale.db"));
  EXPECT_EQ(first, StateFileText(ContestStateOf(main)));
  EXPECT_NE(first.find("QSO# 002\r\nCONTEST_QSO 1\r\n"), std::string::npos);
  EXPECT_NE(first.find("CONTEST_ODX_CALL ...\r\n"), std::string::npos);
  EXPECT_NE(first.find("CONTEST_ODX_QRB  523\r\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(File("backup.db")));

  LogOneQso("003");
  ASSERT_TRUE(SaveContest(program(), main));
  EXPECT_EQ(ReadBytes(File("backup.db")), first);
  EXPECT_NE(ReadBytes(File("parziale.db")).find("QSO# 003\r\n"), std::string::npos);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ContestFileTest, EmptyListWritesNothing) {
  WriteBytes(File("parziale.db"), "an earlier contest");
  MainWindow& main = Start();
  EXPECT_TRUE(SaveContest(program(), main));
  EXPECT_EQ(ReadBytes(File("parziale.db")), "an earlier contest");
}

TEST_F(ContestFileTest, FailedSaveNamesTheFileAndKeepsEverything) {
  WriteBytes(File("parziale.db"), "previous");
  MainWindow& main = Start();
  LogOneQso();
  disk_.read_only = true;
  EXPECT_FALSE(SaveContest(program(), main));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
  EXPECT_NE(messages_.shown[0].text.find(File("parziale.db").string()), std::string::npos);
  EXPECT_EQ(ReadBytes(File("parziale.db")), "previous");
  EXPECT_EQ(main.qso_list.Text(), kLine + "\r\n");
  EXPECT_EQ(main.qso_number.Text(), "002");
}

TEST_F(ContestFileTest, ReadBackGivesWhatWasSaved) {
  MainWindow& main = Start();
  EXPECT_FALSE(ReadContestFile(program()).has_value());
  LogOneQso();
  ASSERT_TRUE(SaveContest(program(), main));
  const auto read = ReadContestFile(program());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->serial, "002");
  EXPECT_EQ(read->odx_km, " 523");
  EXPECT_EQ(read->odx_call, "...");
  EXPECT_EQ(read->qso_list_lines, std::vector<std::string>{kLine});
  EXPECT_EQ(read->edi_record_lines, std::vector<std::string>{kEdi});
}

TEST_F(ContestFileTest, UnreadableFileIsReportedAndGivesNothing) {
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  disk_.unreadable = "parziale.db";
  Start();
  messages_.shown.clear();
  EXPECT_FALSE(ReadContestFile(program()).has_value());
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_NE(messages_.shown[0].text.find("parziale.db"), std::string::npos);
}

TEST_F(ContestFileTest, EdiHeaderWindowLoadsFromTheLog) {
  Start();
  ContestState state;
  state.edi_records = kEdi + "\r\n";
  PutContest(program(), state);
  program().Get<EdiHeaderWindow>().Unload();
  EdiHeaderWindow& edi = program().Get<EdiHeaderWindow>();
  EXPECT_EQ(edi.category.Items(), (std::vector<std::string>{"0,5 watt", "3 watt", "5 watt"}));
  EXPECT_EQ(edi.category.Text(), "0,5 watt");
  EXPECT_EQ(edi.date.Text(), "16/07/2023");
  EXPECT_EQ(edi.call.Text(), "QX0ABC");
  EXPECT_EQ(edi.locator.Text(), "JN71AB");
  EXPECT_EQ(edi.edi_records.Text(), kEdi + "\r\n");
  // Filled only at start-up: a new header window starts with empty operators.
  EXPECT_EQ(edi.operators.Text(), "");
  EXPECT_FALSE(edi.Visible());
}

}  // namespace
}  // namespace keldra::testing

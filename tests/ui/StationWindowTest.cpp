// The station data window: its checks, the Enter moves, "Salva" and "Esci".
#include <gtest/gtest.h>

#include "StartupFixture.h"
#include "core/Text.h"
#include "ui/Form22222.h"
#include "ui/Form3.h"

namespace keldra::testing {
namespace {

class StationWindowTest : public StartupTest {
 protected:
  // Started without a station file: the station window stands in for the main window.
  Form3& Station() {
    if (!program_) Start();
    return program_->Get<Form3>();
  }
};

TEST_F(StationWindowTest, CallsignAndLocatorChecks) {
  struct Case {
    const char* name;
    const char* call;
    const char* locator;
    const char* message;  // empty: saved
  };
  const Case cases[] = {
      {"call_of_3_refused", "QX0", "JN81GD", "Inserire proprio Callsign..."},
      {"empty_call_refused", "", "", "Inserire proprio Callsign..."},
      {"call_of_4_accepted", "QX0A", "JN81GD", ""},
      {"locator_of_4_refused", "QX0ABC", "JN81", "Inserire proprio locatore (es. JN81GD)..."},
      {"locator_of_7_refused", "QX0ABC", "JN81GDX", "Inserire proprio locatore (es. JN81GD)..."},
      {"any_6_characters_accepted", "QX0ABC", "123456", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    program_.reset();
    messages_.shown.clear();
    std::filesystem::remove(File("config.txt"));
    Form3& station = Station();
    station.Text1.Type(c.call);
    station.Text2.Type(c.locator);
    station.Command1.Press();
    if (std::string(c.message).empty()) {
      EXPECT_TRUE(messages_.shown.empty());
      EXPECT_TRUE(std::filesystem::exists(File("config.txt")));
      EXPECT_EQ(program().Find<Form3>(), nullptr);
    } else {
      ASSERT_EQ(messages_.shown.size(), 1u);
      EXPECT_EQ(messages_.shown[0].text, c.message);
      EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
      EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kNone);
      EXPECT_FALSE(std::filesystem::exists(File("config.txt")));
      EXPECT_TRUE(station.Visible());
      EXPECT_EQ(station.Text1.Text(), c.call);
    }
  }
}

TEST_F(StationWindowTest, CallAndLocatorTurnUpperCaseAsTyped) {
  Form3& station = Station();
  station.Text1.Type("qx0abc");
  station.Text2.Type("jn81gd");
  EXPECT_EQ(station.Text1.Text(), "QX0ABC");
  EXPECT_EQ(station.Text2.Text(), "JN81GD");
  EXPECT_EQ(station.Text2.SelStart(), 6);
}

TEST_F(StationWindowTest, EnterMovesDownAndSavesFromTheLastField) {
  Form3& station = Station();
  station.Text1.SetFocus();
  station.Text1.Type("QX0ABC\r");
  EXPECT_EQ(Focused(), "Form3.Text2");
  station.Text2.Type("JN81GD\r");
  EXPECT_EQ(Focused(), "Form3.Text3");
  station.Text3.Type("003\r");
  EXPECT_EQ(Focused(), "Form3.Text4");
  // No stray line end lands in a field.
  EXPECT_EQ(station.Text1.Text(), "QX0ABC");
  EXPECT_EQ(station.Text3.Text(), "003");
  station.Text4.Type("\r");
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n");
  EXPECT_EQ(program().Find<Form3>(), nullptr);
}

TEST_F(StationWindowTest, SalvaHandsTheStationToTheProgram) {
  Form3& station = Station();
  station.Text1.Type("QX0ZZA");
  station.Text2.Type("JN72AB");
  station.Text3.Type("003");
  station.Text4.Type("123");
  station.Command1.Press();
  Form1& main = program().Get<Form1>();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.Label39.Caption(), "QX0ZZA");
  EXPECT_EQ(main.Label40.Caption(), "JN72AB");
  EXPECT_EQ(main.Label41.Caption(), "003");
  EXPECT_EQ(main.Label42.Caption(), "123");
  EXPECT_EQ(main.Label47.Caption(), "Admin");
  EXPECT_EQ(program().Get<Form22222>().Text3.Text(), "JN72AB");
  EXPECT_EQ(main.Text15.Text(), "0");
  EXPECT_EQ(Focused(), "Form1.Text6");
}

// The station file says JN71AB; after saving JN81GD the main window measures from JN81GD, so
// the same square is the 1 km a zero distance shows as.
TEST_F(StationWindowTest, NextDistanceIsMeasuredFromTheSavedLocator) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  Form3& station = program().Get<Form3>();
  station.Show();
  station.Text1.Type("QX0ABC");
  station.Text2.Type("JN81GD");
  station.Command1.Press();
  main.Text10.SetFocus();
  main.Text10.Type("JN81GD");
  EXPECT_EQ(main.Label13.Caption(), "1");
  main.Text10.SetText("");
  main.Text10.Type("JN71AB");
  EXPECT_NE(LeadingNumber(main.Label13.Caption()), 1);
}

TEST_F(StationWindowTest, EmptyClubNumbersWriteBareKeysAndEmptyTheLabels) {
  Form3& station = Station();
  station.Text1.Type("QX0ABC");
  station.Text2.Type("JN81GD");
  station.Command1.Press();
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = \r\nMQC = \r\n");
  Form1& main = program().Get<Form1>();
  EXPECT_EQ(main.Label41.Caption(), "");
  EXPECT_EQ(main.Label42.Caption(), "");
}

TEST_F(StationWindowTest, SavingAgainReplacesTheWholeFile) {
  WriteBytes(File("config.txt"),
             "Call = QX0OLD\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = 123\r\nextra line\r\n");
  Start();
  Form3& station = program().Get<Form3>();
  station.Show();
  station.Text1.Type("QX0NEW");
  station.Text2.Type("JN45AA");
  station.Command1.Press();
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0NEW\r\nLocator = JN45AA\r\nIQRP = \r\nMQC = \r\n");
}

TEST_F(StationWindowTest, FailedSaveSaysWhyAndKeepsTheWindow) {
  Form3& station = Station();
  disk_.read_only = true;
  station.Text1.Type("QX0ABC");
  station.Text2.Type("JN81GD");
  station.Command1.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_NE(messages_.shown[0].text.find(File("config.txt").string()), std::string::npos);
  EXPECT_TRUE(station.Visible());
  EXPECT_EQ(station.Text1.Text(), "QX0ABC");
  EXPECT_FALSE(program().Get<Form1>().Visible());
}

TEST_F(StationWindowTest, EsciAtStartUpEndsTheProgram) {
  Station().Command2.Press();
  EXPECT_FALSE(std::filesystem::exists(File("config.txt")));
  EXPECT_TRUE(program().Ended());
}

TEST_F(StationWindowTest, EsciOverTheMainWindowOnlyCloses) {
  WriteBytes(File("config.txt"), kStationFile);
  Form1& main = Start();
  Form3& station = program().Get<Form3>();
  station.Show();
  station.Text1.Type("QX0NEW");
  station.Command2.Press();
  EXPECT_EQ(program().Find<Form3>(), nullptr);
  EXPECT_FALSE(program().Ended());
  EXPECT_EQ(main.Label39.Caption(), "QX0ABC");
  EXPECT_EQ(ReadBytes(File("config.txt")), kStationFile);
}

}  // namespace
}  // namespace keldra::testing

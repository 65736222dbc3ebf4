// The station data window: its checks, the Enter moves, "Salva" and "Esci".
#include <gtest/gtest.h>

#include "StartupFixture.h"
#include "core/Text.h"
#include "ui/StationWindow.h"

namespace keldra::testing {
namespace {

class StationWindowTest : public StartupTest {
 protected:
  // Started without a station file: the station window stands in for the main window.
  StationWindow& Station() {
    if (!program_) {
      Start();
    }
    return program_->Get<StationWindow>();
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
    StationWindow& station = Station();
    station.call.Type(c.call);
    station.locator.Type(c.locator);
    station.save_button.Press();
    if (std::string(c.message).empty()) {
      EXPECT_TRUE(messages_.shown.empty());
      EXPECT_TRUE(std::filesystem::exists(File("config.txt")));
      EXPECT_EQ(program().Find<StationWindow>(), nullptr);
    } else {
      ASSERT_EQ(messages_.shown.size(), 1u);
      EXPECT_EQ(messages_.shown[0].text, c.message);
      EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
      EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kNone);
      EXPECT_FALSE(std::filesystem::exists(File("config.txt")));
      EXPECT_TRUE(station.Visible());
      EXPECT_EQ(station.call.Text(), c.call);
    }
  }
}

TEST_F(StationWindowTest, CallAndLocatorTurnUpperCaseAsTyped) {
  StationWindow& station = Station();
  station.call.Type("qx0abc");
  station.locator.Type("jn81gd");
  EXPECT_EQ(station.call.Text(), "QX0ABC");
  EXPECT_EQ(station.locator.Text(), "JN81GD");
  EXPECT_EQ(station.locator.SelStart(), 6);
}

TEST_F(StationWindowTest, EnterMovesDownAndSavesFromTheLastField) {
  StationWindow& station = Station();
  station.call.SetFocus();
  station.call.Type("QX0ABC\r");
  EXPECT_EQ(Focused(), "Form3.Text2");
  station.locator.Type("JN81GD\r");
  EXPECT_EQ(Focused(), "Form3.Text3");
  station.iqrp_number.Type("003\r");
  EXPECT_EQ(Focused(), "Form3.Text4");
  // No stray line end lands in a field.
  EXPECT_EQ(station.call.Text(), "QX0ABC");
  EXPECT_EQ(station.iqrp_number.Text(), "003");
  station.mqc_number.Type("\r");
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n");
  EXPECT_EQ(program().Find<StationWindow>(), nullptr);
}

TEST_F(StationWindowTest, SalvaHandsTheStationToTheProgram) {
  StationWindow& station = Station();
  station.call.Type("QX0ZZA");
  station.locator.Type("JN72AB");
  station.iqrp_number.Type("003");
  station.mqc_number.Type("123");
  station.save_button.Press();
  MainWindow& main = program().Get<MainWindow>();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.station_call.Caption(), "QX0ZZA");
  EXPECT_EQ(main.station_locator.Caption(), "JN72AB");
  EXPECT_EQ(main.station_iqrp_number.Caption(), "003");
  EXPECT_EQ(main.station_mqc_number.Caption(), "123");
  EXPECT_EQ(main.account.Caption(), "Admin");
  EXPECT_EQ(program().Calculator().OwnLocator(), "JN72AB");
  EXPECT_FALSE(main.IsOffLine());
  EXPECT_EQ(Focused(), "Form1.Text6");
}

// The station file says JN71AB; after saving JN81GD the main window measures from JN81GD, so
// the same square is the 1 km a zero distance shows as.
TEST_F(StationWindowTest, NextDistanceIsMeasuredFromTheSavedLocator) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  StationWindow& station = program().Get<StationWindow>();
  station.Show();
  station.call.Type("QX0ABC");
  station.locator.Type("JN81GD");
  station.save_button.Press();
  main.locator.SetFocus();
  main.locator.Type("JN81GD");
  EXPECT_EQ(main.distance.Caption(), "1");
  main.locator.SetText("");
  main.locator.Type("JN71AB");
  EXPECT_NE(LeadingNumber(main.distance.Caption()), 1);
}

TEST_F(StationWindowTest, EmptyClubNumbersWriteBareKeysAndEmptyTheLabels) {
  StationWindow& station = Station();
  station.call.Type("QX0ABC");
  station.locator.Type("JN81GD");
  station.save_button.Press();
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = \r\nMQC = \r\n");
  MainWindow& main = program().Get<MainWindow>();
  EXPECT_EQ(main.station_iqrp_number.Caption(), "");
  EXPECT_EQ(main.station_mqc_number.Caption(), "");
}

TEST_F(StationWindowTest, SavingAgainReplacesTheWholeFile) {
  WriteBytes(File("config.txt"),
             "Call = QX0OLD\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = 123\r\nextra line\r\n");
  Start();
  StationWindow& station = program().Get<StationWindow>();
  station.Show();
  station.call.Type("QX0NEW");
  station.locator.Type("JN45AA");
  station.save_button.Press();
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0NEW\r\nLocator = JN45AA\r\nIQRP = \r\nMQC = \r\n");
}

TEST_F(StationWindowTest, FailedSaveSaysWhyAndKeepsTheWindow) {
  StationWindow& station = Station();
  disk_.read_only = true;
  station.call.Type("QX0ABC");
  station.locator.Type("JN81GD");
  station.save_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_NE(messages_.shown[0].text.find(File("config.txt").string()), std::string::npos);
  EXPECT_TRUE(station.Visible());
  EXPECT_EQ(station.call.Text(), "QX0ABC");
  EXPECT_FALSE(program().Get<MainWindow>().Visible());
}

TEST_F(StationWindowTest, EsciAtStartUpEndsTheProgram) {
  Station().exit_button.Press();
  EXPECT_FALSE(std::filesystem::exists(File("config.txt")));
  EXPECT_TRUE(program().Ended());
}

TEST_F(StationWindowTest, EsciOverTheMainWindowOnlyCloses) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  StationWindow& station = program().Get<StationWindow>();
  station.Show();
  station.call.Type("QX0NEW");
  station.exit_button.Press();
  EXPECT_EQ(program().Find<StationWindow>(), nullptr);
  EXPECT_FALSE(program().Ended());
  EXPECT_EQ(main.station_call.Caption(), "QX0ABC");
  EXPECT_EQ(ReadBytes(File("config.txt")), kStationFile);
}

}  // namespace
}  // namespace keldra::testing

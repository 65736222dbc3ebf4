// The call history with real keys on the real program: last year's log and a call-locator list in
// storico/, three QSOs off-line. A known call and Enter to the locator fills it in and Enter logs
// it; a locator typed over the filled-in one is logged as typed; F12 swaps to the other known
// locator. Every file must be byte for byte what the model windows write for the same keys.
#include <gtest/gtest.h>

#include "Harness.h"

namespace keldra::e2e {
namespace {

const char kStation[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";
const char kLastYear[] =
    "[REG1TEST;1]\r\nTName=KELDRA VHF QRP Contest 2022\r\nPCall=IQ5QRP\r\n[Remarks]\r\n"
    "[QSORecords;3]\r\n"
    "220717;0702;IK5ABC/P;1;59;001;59;001;I003;JN53HT;82;;;;\r\n"
    "220717;0705;I5XYZ;1;59;002;59;001;;JN63AB;150;;;;\r\n"
    "220717;0709;IW5DEF;0;599;003;599;002;M123;JN54VB;60;;;;\r\n"
    "[END; Created with Keldra QRP Test by QX0ZZA]\r\n";
const char kList[] = "IW5DEF JN54VA\r\nIK5ABD JN53HU 20190716\r\n";

// One QSO's row from the time field up to the locator field, as the operator types it.
std::string UpToTheLocator(const char* time, const char* call, const char* serial) {
  return std::string(6, '\b') + time + "\n\n\x01\n" + call + "\n\n\n" + serial + "\n";
}

class HistoryScenarioTest : public ::testing::Test {
 protected:
  XSession x_;
};

TEST_F(HistoryScenarioTest, AKnownLocatorIsFilledInAcceptedTypedOverAndSwapped) {
  const StartState setup{
      {2023, 7, 16, 9, 0, 0},
      120,
      {{"config.txt", kStation}, {"storico/2022.edi", kLastYear}, {"storico/C_W", kList}}};
  BothRuns run(x_, setup);

  const std::vector<Step> steps = {
      Click("Form1", "Command7"),
      Click("Form1", "Text2"),
      Keys("Form1", std::string(10, '\b') + "16/07/23\n"),
      // Partial matches while the call is typed; then the locator filled in and accepted.
      Keys("Form1", std::string(6, '\b') + "0702\n\n\x01\nIK5", "e2e_history_01_known_calls"),
      Keys("Form1", "ABC/P\n\n\n1\n", "e2e_history_02_filled_in"),
      Keys("Form1", "\n\n\n"),
      // Typed over: the known one shows in red, the typed one is logged.
      Click("Form1", "Text3"),
      Keys("Form1", UpToTheLocator("0705", "I5XYZ", "1") + "JN63AC", "e2e_history_03_differs"),
      Keys("Form1", "\n\n\n"),
      // F12 to the other known locator.
      Click("Form1", "Text3"),
      Keys("Form1", UpToTheLocator("0709", "IW5DEF", "2") + "\x03", "e2e_history_04_f12"),
      Keys("Form1", "\n\n\n", "e2e_history_05_three_qsos"),
  };
  run.Play(steps);

  const auto written = FolderFiles(run.real_folder);
  ASSERT_TRUE(written.count("parziale.db"));
  const std::string& state = written.at("parziale.db");
  for (const char* record : {"QSO_EDI 230716;0702;IK5ABC/P;1;59;001;59;001;;JN53HT;",
                             "QSO_EDI 230716;0705;I5XYZ;1;59;002;59;001;;JN63AC;",
                             "QSO_EDI 230716;0709;IW5DEF;1;59;003;59;002;;JN54VA;"}) {
    EXPECT_NE(state.find(record), std::string::npos) << record;
  }
  EXPECT_EQ(testing::ReadBytes(run.real_folder / "storico" / "C_W"), kList)
      << "the history is read only";
}

}  // namespace
}  // namespace keldra::e2e

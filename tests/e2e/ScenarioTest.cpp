// A contest day as an operator lives it, with real keys and clicks on the real program: the first
// start, 42 QSOs typed field by field on an Italian keyboard (capitals and '/' with Shift), the
// program killed half-way and continued, a correction, the EDI log with an accented header, the
// statistics report, and the end. Every file must be byte for byte what the model windows write
// for the same keys. A shorter run on-line just after local midnight checks the UTC date.
#include <gtest/gtest.h>

#include "Harness.h"

namespace keldra::e2e {
namespace {

struct Qso {
  const char* time;  // HHMM as typed
  bool cw;
  const char* call;
  const char* serial;
  const char* locator;
  const char* club;
};

// Own locator JN54QK. Distances from 60 km to over 1,500 km, portable calls, club members.
constexpr Qso kQsos[] = {
    {"0702", false, "IK5ABC/P", "1", "JN53HT", "I003"},
    {"0705", false, "I5XYZ", "1", "JN63AB", ""},
    {"0709", true, "IW5DEF", "2", "JN54VB", "M123"},
    {"0711", false, "IZ4GHI/P", "3", "JN64EO", ""},
    {"0714", true, "HB9QRP", "5", "JN47RE", "I210"},
    {"0718", false, "OE7ABC", "4", "JN57NF", ""},
    {"0721", false, "S59XYZ/P", "12", "JN76EE", "M045"},
    {"0725", true, "9A2QRP", "7", "JN85OU", ""},
    {"0727", false, "IK0AAA", "9", "JN61FW", ""},
    {"0730", false, "IK8BBB/P", "6", "JN70FU", "I1050"},
    {"0733", true, "G4ABC", "3", "IO91VL", ""},
    {"0736", false, "F6XYZ", "11", "JN03QQ", ""},
    {"0740", false, "DL1QRP/P", "8", "JN58SE", "M007"},
    {"0743", true, "OK1ABC", "4", "JO70FC", ""},
    {"0747", false, "IZ1CCC", "15", "JN35UB", ""},
    {"0750", false, "IS0DDD/P", "2", "JN40PA", "I077"},
    {"0752", true, "YU1ABC", "3", "KN04FS", ""},
    {"0755", false, "IT9EEE", "21", "JM77NM", ""},
    {"0758", false, "LZ1QRP", "5", "KN12PQ", "M300"},
    {"0801", true, "SP9ABC", "6", "KN09AM", ""},
    {"0805", false, "IK2FFF/P", "17", "JN45OK", ""},
    {"0809", false, "EA3XYZ", "2", "JN11CK", ""},
    {"0812", true, "ON4ABC", "9", "JO20SU", "I511"},
    {"0814", false, "PA3QRP/P", "4", "JO22NC", ""},
    {"0818", false, "IV3GGG", "25", "JN65RU", ""},
    {"0821", true, "HA5ABC", "13", "JN97LM", "M099"},
    {"0825", false, "SV1XYZ", "3", "KM18UA", ""},
    {"0828", false, "IU6HHH/P", "31", "JN63QS", ""},
    {"0831", true, "OM3QRP", "8", "JN88NE", ""},
    {"0835", false, "IN3III", "19", "JN56MK", "I004"},
    {"0838", false, "G0QRP/P", "5", "IO81LJ", ""},
    {"0841", true, "9H1ABC", "2", "JM75FV", ""},
    {"0844", false, "IZ8JJJ", "40", "JN80XR", ""},
    {"0847", false, "YO2ABC", "7", "KN05OS", "M201"},
    {"0850", true, "IK7KKK/P", "22", "JN81KE", ""},
    {"0854", false, "F5QRP", "14", "JN24PA", ""},
    {"0857", false, "IW2LLL", "33", "JN45GO", ""},
    {"0900", true, "OE3ABC", "10", "JN88DF", "I666"},
    {"0903", false, "IQ5MMM/P", "44", "JN54AB", ""},
    {"0906", false, "HB9ZZZ", "18", "JN36BK", ""},
    {"0909", true, "I1NNN", "27", "JN34OS", ""},
    {"0912", false, "IK5ZZZ/P", "51", "JN53LX", "M450"},
};
constexpr int kKilledAfter = 20;

const char kStation[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";

// One QSO typed as the operator types it in off-line mode: the time over the last one, Enter
// through the row, the mode with an arrow, and Enter on "OK".
std::vector<Step> TypeQso(const Qso& q, bool first) {
  std::vector<Step> steps;
  if (first) {
    steps.push_back(Click("Form1", "Text2"));
    steps.push_back(Keys("Form1", std::string(10, '\b') + "16/07/23\n"));
  } else {
    steps.push_back(Click("Form1", "Text3"));
  }
  std::string row = std::string(6, '\b') + q.time + "\n\n" + (q.cw ? "\x02" : "\x01") + "\n";
  row += std::string(q.call) + "\n\n\n" + q.serial + "\n" + q.locator + "\n" + q.club + "\n\n";
  steps.push_back(Keys("Form1", row));
  return steps;
}

class ScenarioTest : public ::testing::Test {
 protected:
  XSession x_;
};

TEST_F(ScenarioTest, AContestDayWithRealKeysWritesWhatTheModelWrites) {
  const StartState setup{{2023, 7, 16, 9, 0, 0}, 120, {}};
  BothRuns run(x_, setup);

  std::vector<Step> steps = {
      Click("Form3", "Text1", "e2e_01_first_start"),
      Keys("Form3", "IQ5QRP\nJN54QK\n123\n045\n"),
      Click("Form1", "Command7"),
  };
  for (int i = 0; i < kKilledAfter; ++i) {
    for (Step& s : TypeQso(kQsos[i], i == 0)) {
      steps.push_back(std::move(s));
    }
  }
  steps.back().shot = "e2e_02_twenty_qsos";
  steps.push_back(KillAndRestart());
  steps.push_back(Click("Form5", "Check1", "e2e_03_start_window_after_kill"));
  steps.push_back(Click("Form5", "Command1"));
  // Continued off-line, the date is typed again.
  for (int i = kKilledAfter; i < static_cast<int>(std::size(kQsos)); ++i) {
    for (Step& s : TypeQso(kQsos[i], i == kKilledAfter)) {
      steps.push_back(std::move(s));
    }
  }
  steps.back().shot = "e2e_04_all_qsos";
  // A locator heard wrong: corrected in the edit window.
  steps.push_back(Click("Form1", "Command5"));
  steps.push_back(Click("Form6", "Text1"));
  steps.push_back(Keys("Form6", "OE7ABC\n"));
  steps.push_back(Click("Form6", "Text5"));
  steps.push_back(Keys("Form6", std::string(6, '\b') + "JN57OF", "e2e_05_correction"));
  steps.push_back(Click("Form6", "Command1"));
  steps.push_back(Click("Form6", "Command2"));
  // The EDI log, with a header typed on the Italian keyboard.
  steps.push_back(Click("Form1", "Command2"));
  const std::pair<const char*, const char*> header[] = {
      {"Text7", "Niccolò Pèrsico"},
      {"Text8", "Via dell'Università 3"},
      {"Text9", "53100"},
      {"Text10", "Città di Castello"},
      {"Text11", "Italia"},
      {"Text13", "iq5qrp@esempio.it"},
      {"Text19", "0,5"},
      {"Text20", "8"},
      {"Text21", "1120"},
      {"Text22", "Bel contest: propagazione è buona; però vento."}};
  for (const auto& [field, text] : header) {
    steps.push_back(Click("Form2", field));
    steps.push_back(Keys("Form2", text));
  }
  steps.back().shot = "e2e_06_edi_header";
  steps.push_back(Click("Form2", "Command2"));
  steps.push_back(Click("Form4", "Command1", "e2e_07_edi_saved"));
  steps.push_back(Click("Form4", "Command2"));
  // Statistics and the report.
  steps.push_back(Click("Form1", "Command6", "e2e_08_statistics"));
  steps.push_back(Click("Form7", "Command2", "e2e_09_report"));
  steps.push_back(Click("Form8", "Command1"));
  steps.push_back(Click("Form8", "Command2"));
  steps.push_back(Click("Form7", "Command1"));
  steps.push_back(Click("Form1", "Command3"));

  run.Play(steps);
  EXPECT_EQ(run.real.WaitForExit(10), 0) << "Esci should end the program";

  // The files the contest is for, each present and byte for byte the model's.
  const auto written = FolderFiles(run.real_folder);
  for (const char* name :
       {"parziale.db", "backup.db", "01-IQ5QRP.edi", "keldra_qrp_statistiche.txt"}) {
    ASSERT_TRUE(written.count(name)) << name;
    EXPECT_TRUE(written.at(name) == testing::ReadBytes(run.model_folder / name)) << name;
  }
  const std::string& edi = written.at("01-IQ5QRP.edi");
  EXPECT_NE(edi.find("[QSORecords;42]\r\n"), std::string::npos);
  EXPECT_NE(edi.find("RName=Niccol\xF2 P\xE8rsico\r\n"), std::string::npos);
  EXPECT_NE(edi.find("230716;0718;OE7ABC;1;59;006;59;004;;JN57OF;"), std::string::npos);
  EXPECT_NE(edi.find(";IK5ABC/P;"), std::string::npos);
}

TEST_F(ScenarioTest, OnLineJustAfterLocalMidnightLogsTheUtcDateAndTime) {
  // 00.05 on 17 July in Rome is 22.05 UTC on the 16th.
  const StartState setup{{2023, 7, 17, 0, 5, 10}, 120, {{"config.txt", kStation}}};
  BothRuns run(x_, setup);
  const std::vector<Step> steps = {
      Click("Form1", "Text6"),
      Keys("Form1", "IK5ABC/P\n\n\n7\nJN53HT\nI003\n\n", "e2e_10_on_line_after_midnight"),
      Click("Form1", "Command3"),
  };
  run.Play(steps);
  EXPECT_EQ(run.real.WaitForExit(10), 0);
  const std::string state = testing::ReadBytes(run.real_folder / "parziale.db");
  EXPECT_NE(state.find("16/07/23   22.05   144Mhz   SSB   IK5ABC/P"), std::string::npos) << state;
}

TEST_F(ScenarioTest, APasteIntoTheCommentsTakesPlainTextAndAnEmptyClipboardIsHarmless) {
  const StartState setup{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}};
  BothRuns run(x_, setup);
  const std::vector<Step> steps = {
      Click("Form1", "Text6"),
      Keys("Form1", "IK5ABC/P\n\n\n7\nJN53HT\nI003\n\n"),
      Click("Form1", "Command2"),
      Click("Form2", "Text22"),
      Paste("Form2", ""),
      Keys("Form2", "Nota: "),
      Paste("Form2", "Città di Castello, 5 W ✓"),
      Click("Form2", "Command2", "e2e_11_pasted_comment"),
      Click("Form4", "Command1"),
  };
  run.Play(steps);
  ASSERT_TRUE(run.real.Running()) << "the paste killed the program";
  EXPECT_NE(testing::ReadBytes(run.real_folder / "01-IQ5QRP.edi")
                .find("[Remarks]\r\nNota: Citt\xE0 di Castello, 5 W ?\r\n"),
            std::string::npos);
}

TEST_F(ScenarioTest, CtrlASelectsAFieldsWholeTextAndTypingReplacesIt) {
  const StartState setup{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}};
  BothRuns run(x_, setup);
  const std::vector<Step> steps = {
      Click("Form1", "Text6"),    Keys("Form1", "IK5ABC/P\n\n\n7\nJN53HT\nI003\n\n"),
      Click("Form1", "Command2"), Click("Form2", "Text14"),
      Keys("Form2", "IK5XYZ"),    Keys("Form2", "\x05IZ2KLY", "e2e_12_typed_over"),
      Click("Form2", "Command2"), Click("Form4", "Command1"),
  };
  run.Play(steps);
  EXPECT_NE(testing::ReadBytes(run.real_folder / "01-IQ5QRP.edi").find("\r\nMOpe1=IZ2KLY\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace keldra::e2e

// The ADIF log with real keys and clicks: three QSOs typed off-line (a club member, a CW QSO, a
// portable call), "Crea LOG", the power typed, "Crea ADIF" and "Salva". The real program's file
// must be the model's but for the moment it was created, pass the independent validator, and
// read back as the contest's own QSOs.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "AdifValidator.h"
#include "Harness.h"
#include "core/StateFile.h"

namespace keldra::e2e {
namespace {

const char kStation[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";

std::string WithoutCreationTime(const std::string& adif) {
  return std::regex_replace(adif, std::regex("<CREATED_TIMESTAMP:15>[0-9]{8} [0-9]{6}"), "");
}

class AdifScenarioTest : public ::testing::Test {
 protected:
  XSession x_;
};

TEST_F(AdifScenarioTest, CreaAdifAfterQsosWritesTheModelsFileWhichTheValidatorAccepts) {
  const StartState setup{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}};
  BothRuns run(x_, setup);
  const std::vector<Step> steps = {
      Click("Form1", "Command7"),
      Click("Form1", "Text2"),
      Keys("Form1", std::string(10, '\b') + "16/07/23\n"),
      OffLineQso("0702", false, "IK5ABC", "1", "JN53HT", "I003"),
      Click("Form1", "Text3"),
      OffLineQso("0709", true, "IW5DEF", "2", "JN54VB", ""),
      Click("Form1", "Text3"),
      OffLineQso("0721", false, "S59XYZ/P", "12", "JN76EE", "M045"),
      Click("Form1", "Command2"),
      Click("Form2", "Text19"),
      Keys("Form2", "0,5"),
      Click("Form2", "CreateAdif", "e2e_12_adif_save_window"),
  };
  run.Play(steps);

  // "Salva" is played on its own: the two files differ in the second they were created.
  const Step save = Click("AdifSaveWindow", "Save");
  const XOperator::Prepared prepared = run.op.Prepare(save);
  run.op.Play(prepared, run.model.Play(save));
  const auto adif = run.real_folder / "01-IQ5QRP.adi";
  for (int wait = 0; wait < 100 && !std::filesystem::exists(adif); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::string real_adif = testing::ReadBytes(adif);
  const std::string model_adif = testing::ReadBytes(run.model_folder / "01-IQ5QRP.adi");
  ASSERT_NE(model_adif, "");
  EXPECT_EQ(WithoutCreationTime(real_adif), WithoutCreationTime(model_adif));
  // The real clock runs from 09.00 in Rome: 07.0x UTC.
  EXPECT_NE(real_adif.find("<CREATED_TIMESTAMP:15>20230716 070"), std::string::npos) << real_adif;

  std::string contest_records;
  const auto state = ReadStateFile(testing::ReadBytes(run.real_folder / "parziale.db"));
  for (const std::string& line : state.edi_record_lines) {
    contest_records += line + "\r\n";
  }
  ASSERT_EQ(state.edi_record_lines.size(), 3u);
  if (const auto records = testing::ValidatedRecords({adif})) {
    EXPECT_EQ(*records, contest_records);
  }
  EXPECT_NE(real_adif.find("<CALL:8>S59XYZ/P "), std::string::npos);
  EXPECT_NE(real_adif.find("<MODE:2>CW "), std::string::npos);
  EXPECT_NE(real_adif.find("<TX_PWR:3>0.5 "), std::string::npos);
}

}  // namespace
}  // namespace keldra::e2e

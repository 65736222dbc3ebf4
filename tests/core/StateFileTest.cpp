#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/StateFile.h"

namespace keldra {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kSsbLine =
    "005   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003";
const std::string kSsbEdi = "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;;;";
const std::string kCwLine =
    "006   16/07/23   08.20   144Mhz   CW    QX2LONGCALLX599-013  JN72AB   ";
const std::string kCwEdi = "230716;0820;QX2LONGCALLX;0;599;006;599;013;;JN72AB;311;;;;";

ContestState OneQso() {
  ContestState state;
  state.serial = "006";
  state.qsos = "1";
  state.km = "523";
  state.multipliers = "1";
  state.points = "1046";
  state.average_km = "523";
  state.odx_call = "QX1ABC";
  state.odx_locator = "JN81GD";
  state.odx_km = " 523";
  state.iqrp_qsos = "1";
  state.mqc_qsos = "0";
  state.qso_list = kSsbLine + "\r\n";
  state.edi_records = kSsbEdi + "\r\n";
  return state;
}

TEST(StateFileText, OneQsoGivesTwoLinesPerListTheSecondBare) {
  EXPECT_EQ(StateFileText(OneQso()),
            "QSO# 006\r\n"
            "CONTEST_QSO 1\r\n"
            "CONTEST_QRB 523\r\n"
            "CONTEST_MOLT 1\r\n"
            "CONTEST_PUNTI 1046\r\n"
            "CONTEST_MEDIA 523\r\n"
            "CONTEST_ODX_CALL QX1ABC\r\n"
            "CONTEST_ODX_LOC JN81GD\r\n"
            "CONTEST_ODX_QRB  523\r\n"
            "CONTEST_IQRP 1\r\n"
            "CONTEST_MQC 0\r\n"
            "LISTA_QSO " +
                kSsbLine +
                "\r\n"
                "LISTA_QSO \r\n"
                "QSO_EDI " +
                kSsbEdi +
                "\r\n"
                "QSO_EDI \r\n");
}

TEST(StateFileText, ThreeQsosInOrder) {
  ContestState state = OneQso();
  state.serial = "008";
  state.qsos = "3";
  state.qso_list = kSsbLine + "\r\n" + kCwLine + "\r\n" + kSsbLine + "\r\n";
  state.edi_records = kSsbEdi + "\r\n" + kCwEdi + "\r\n" + kSsbEdi + "\r\n";
  const std::string text = StateFileText(state);
  const std::string lists = "LISTA_QSO " + kSsbLine + "\r\nLISTA_QSO " + kCwLine +
                            "\r\nLISTA_QSO " + kSsbLine + "\r\nLISTA_QSO \r\nQSO_EDI " + kSsbEdi +
                            "\r\nQSO_EDI " + kCwEdi + "\r\nQSO_EDI " + kSsbEdi + "\r\nQSO_EDI \r\n";
  ASSERT_GE(text.size(), lists.size());
  EXPECT_EQ(text.substr(text.size() - lists.size()), lists);
  EXPECT_TRUE(text.starts_with("QSO# 008\r\nCONTEST_QSO 3\r\n"));
}

TEST(StateFileText, EmptyQsoListWritesNothing) {
  ContestState state = OneQso();
  state.qso_list.clear();
  EXPECT_EQ(StateFileText(state), "");
}

TEST(StateFileText, ListWithoutFinalLineEndKeepsItsLastPiece) {
  ContestState state = OneQso();
  state.qso_list = kSsbLine;
  state.edi_records = kSsbEdi;
  const std::string text = StateFileText(state);
  EXPECT_NE(text.find("LISTA_QSO " + kSsbLine + "\r\nQSO_EDI " + kSsbEdi + "\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("LISTA_QSO \r\n"), std::string::npos);
}

TEST(StateFileRoundTrip, WrittenAndReadBackGivesTheSameTexts) {
  ContestState state = OneQso();
  state.qso_list += kCwLine + "\r\n";
  state.edi_records += kCwEdi + "\r\n";
  ContestState never_set;  // "..." ODX call and locator, 0 km
  never_set.qso_list = kSsbLine + "\r\n";
  never_set.edi_records = kSsbEdi + "\r\n";

  for (const ContestState& original : {state, never_set}) {
    const StateFileValues read = ReadStateFile(StateFileText(original));
    ContestState back;
    back.serial = read.serial.value_or("?");
    back.qsos = read.qsos.value_or("?");
    back.km = read.km.value_or("?");
    back.multipliers = read.multipliers.value_or("?");
    back.points = read.points.value_or("?");
    back.average_km = read.average_km.value_or("?");
    back.odx_call = read.odx_call.value_or("?");
    back.odx_locator = read.odx_locator.value_or("?");
    back.odx_km = read.odx_km.value_or("?");
    back.iqrp_qsos = read.iqrp_qsos.value_or("?");
    back.mqc_qsos = read.mqc_qsos.value_or("?");
    for (const auto& line : read.qso_list_lines) {
      back.qso_list += line + "\r\n";
    }
    for (const auto& line : read.edi_record_lines) {
      back.edi_records += line + "\r\n";
    }
    EXPECT_EQ(back, original);
  }
}

TEST(ReadStateFile, HandMadeAndDamagedFiles) {
  struct Case {
    const char* name;
    std::string bytes;
    std::optional<std::string> serial;
    std::optional<std::string> odx_km;
    std::vector<std::string> qso_list;
    std::vector<std::string> edi;
  };
  const Case cases[] = {
      {"empty_file", "", std::nullopt, std::nullopt, {}, {}},
      {"lf_only_line_ends",
       "QSO# 004\nCONTEST_ODX_QRB  97\nLISTA_QSO ab\nQSO_EDI cd\n",
       "004",
       " 97",
       {"ab"},
       {"cd"}},
      {"no_final_line_end",
       "LISTA_QSO 001 x\r\nQSO_EDI 230716;",
       std::nullopt,
       std::nullopt,
       {"001 x"},
       {"230716;"}},
      // A list line must be longer than its key, the blank and one character.
      {"list_line_of_11_skipped",
       "LISTA_QSO x\r\nQSO_EDI y\r\n",
       std::nullopt,
       std::nullopt,
       {},
       {}},
      {"list_line_of_12_taken",
       "LISTA_QSO xy\r\nQSO_EDI yz\r\n",
       std::nullopt,
       std::nullopt,
       {"xy"},
       {"yz"}},
      {"key_without_blank_skipped",
       "QSO#\r\nCONTEST_ODX_QRB\r\n",
       std::nullopt,
       std::nullopt,
       {},
       {}},
      {"key_and_blank_gives_empty_value", "QSO# \r\n", "", std::nullopt, {}, {}},
      {"later_line_wins", "QSO# 002\r\nQSO# 009\r\n", "009", std::nullopt, {}, {}},
      {"keys_are_case_sensitive",
       "qso# 003\r\nlista_qso abc\r\n",
       std::nullopt,
       std::nullopt,
       {},
       {}},
      {"unknown_and_empty_lines_ignored",
       "\r\nHELLO 1\r\n\r\nQSO# 010\r\n",
       "010",
       std::nullopt,
       {},
       {}},
      {"bytes_outside_ascii_kept",
       "LISTA_QSO \xE0\xFF\x80\r\n",
       std::nullopt,
       std::nullopt,
       {"\xE0\xFF\x80"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StateFileValues read = ReadStateFile(c.bytes);
    EXPECT_EQ(read.serial, c.serial);
    EXPECT_EQ(read.odx_km, c.odx_km);
    EXPECT_EQ(read.qso_list_lines, c.qso_list);
    EXPECT_EQ(read.edi_record_lines, c.edi);
  }
}

// Files whose durable write fails at one chosen step.
class FailingFiles : public Files {
 public:
  explicit FailingFiles(WriteStep step) : step_(step) {}

 protected:
  std::error_code Inject(WriteStep step) override {
    return step == step_ ? std::make_error_code(std::errc::io_error) : std::error_code{};
  }

 private:
  WriteStep step_;
};

TEST(WriteStateFile, BackupHoldsThePreviousVersion) {
  TempFolder folder;
  Files files;
  const auto state_path = folder / "parziale.db";
  const auto backup_path = folder / "backup.db";
  ContestState first = OneQso();
  ContestState second = OneQso();
  second.serial = "007";

  ASSERT_TRUE(WriteStateFile(files, state_path, backup_path, first).ok());
  EXPECT_FALSE(std::filesystem::exists(backup_path));
  ASSERT_TRUE(WriteStateFile(files, state_path, backup_path, second).ok());
  EXPECT_EQ(ReadBytes(state_path), StateFileText(second));
  EXPECT_EQ(ReadBytes(backup_path), StateFileText(first));
}

TEST(WriteStateFile, EmptyContestLeavesTheFilesAlone) {
  TempFolder folder;
  Files files;
  WriteBytes(folder / "parziale.db", "old contest");
  EXPECT_TRUE(WriteStateFile(files, folder / "parziale.db", folder / "backup.db", {}).ok());
  EXPECT_EQ(ReadBytes(folder / "parziale.db"), "old contest");
  EXPECT_FALSE(std::filesystem::exists(folder / "backup.db"));
}

TEST(WriteStateFile, FailureAtAnyStepLeavesOldOrNewFileWhole) {
  const ContestState next = [] {
    ContestState s = OneQso();
    s.serial = "007";
    return s;
  }();
  for (WriteStep step :
       {WriteStep::kCreateTemp, WriteStep::kWrite, WriteStep::kFlush, WriteStep::kFsync,
        WriteStep::kClose, WriteStep::kKeepPrevious, WriteStep::kRename, WriteStep::kSyncFolder}) {
    SCOPED_TRACE(static_cast<int>(step));
    TempFolder folder;
    FailingFiles files(step);
    const std::string old_text = StateFileText(OneQso());
    WriteBytes(folder / "parziale.db", old_text);
    const IoStatus status =
        WriteStateFile(files, folder / "parziale.db", folder / "backup.db", next);
    EXPECT_FALSE(status.ok());
    const std::string now = ReadBytes(folder / "parziale.db");
    EXPECT_TRUE(now == old_text || now == StateFileText(next));
    // No temporary file is left behind beside the state file.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      ++entries;
    }
    EXPECT_LE(entries, 2);
  }
}

}  // namespace
}  // namespace keldra

#include "ui/ContestFile.h"

#include "platform/CodePage.h"
#include "ui/Form1.h"

namespace keldra {
namespace {

// The operator is told which file and why, in Italian, with the critical icon.
void ReportFailure(Program& program, const std::string& what, const IoStatus& status) {
  program.Message(U8(what + "\n" + status.Describe()), MessageIcon::kCritical);
}

}  // namespace

ContestState ContestStateOf(const Form1& form) {
  ContestState state;
  state.serial = form.Text1.Text();
  state.qso_count = form.Label19.Caption();
  state.total_km = form.Label21.Caption();
  state.multipliers = form.Label23.Caption();
  state.points = form.Label25.Caption();
  state.average_km = form.Label44.Caption();
  state.odx_call = form.Label27.Caption();
  state.odx_locator = form.Label28.Caption();
  state.odx_km = form.Label29.Caption();
  state.iqrp_count = form.Label51.Caption();
  state.mqc_count = form.Label52.Caption();
  state.qso_list = form.Text12.Text();
  state.edi_records = form.Text14.Text();
  return state;
}

bool SaveContest(Program& program, Form1& form) {
  form.Text13.SetText({});
  if (form.Text12.Text().empty()) return true;
  const ContestState state = ContestStateOf(form);
  form.Text13.SetText(StateFileText(state));
  const std::filesystem::path backup = program.File(kStateBackupFileName);
  const IoStatus status =
      program.Disk().Replace(program.File(kStateFileName), form.Text13.Text(), &backup);
  form.save_pending = !status;
  if (status) {
    form.exit_warned = false;
    return true;
  }
  ReportFailure(program, "Il contest non \xC3\xA8 stato salvato su disco.", status);
  return false;
}

std::optional<StateFileValues> ReadContestFile(Program& program) {
  const std::filesystem::path path = program.File(kStateFileName);
  if (!program.Disk().Exists(path)) return std::nullopt;
  ReadResult read = program.Disk().Read(path);
  if (!read.status) {
    ReportFailure(program, "Il contest salvato non pu\xC3\xB2 essere letto.", read.status);
    return std::nullopt;
  }
  return ReadStateFile(read.bytes);
}

}  // namespace keldra

#include "app/AdifCommand.h"

#include <string>
#include <system_error>

#include "core/StateFile.h"
#include "data/StationConfig.h"
#include "export/Adif.h"
#include "export/Edi.h"
#include "system/CodePage.h"
#include "system/Files.h"

namespace keldra {

namespace {

std::string Shown(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return "\"" + std::string(utf8.begin(), utf8.end()) + "\"";
}

// Whether `target` would be one of the program's own files (or a name the system reserves) in
// the program folder: the ADIF must never replace the contest or the station data.
bool IsProgramFile(const std::filesystem::path& folder, const std::filesystem::path& target) {
  std::error_code ec;
  const auto where = std::filesystem::weakly_canonical(std::filesystem::absolute(target, ec), ec);
  const auto own = std::filesystem::weakly_canonical(folder, ec);
  if (ec || where.parent_path() != own) {
    return false;
  }
  const std::u8string name = where.filename().u8string();
  return !MakeSafeFileName(Utf8ToCp1252(std::string(name.begin(), name.end()))).ok();
}

}  // namespace

int RunAdifCommand(const std::filesystem::path& folder, const std::filesystem::path& target,
                   const Clock& clock, std::ostream& out, std::ostream& err) {
  if (target.empty()) {
    err << "Manca il nome del file: keldra --adif FILE.adi\n";
    return 2;
  }
  Files files;
  const std::filesystem::path contest = folder / kStateFileName;
  if (!files.Exists(contest)) {
    err << "Nessun contest da esportare: il file " << Shown(contest) << " non c'è.\n";
    return 1;
  }
  const ReadResult contest_bytes = files.Read(contest);
  if (!contest_bytes.status) {
    err << "Il contest non si può leggere. " << contest_bytes.status.Describe() << "\n";
    return 1;
  }
  const StateFileValues state = ReadStateFile(contest_bytes.bytes);
  if (state.edi_record_lines.empty() && state.qso_list_lines.empty()) {
    err << "Nessun contest da esportare: il file " << Shown(contest) << " non contiene QSO.\n";
    return 1;
  }
  std::string records;
  for (const std::string& line : state.edi_record_lines) {
    records += line + "\r\n";
  }
  const AdifQsos qsos = AdifQsosFromRecords(records);
  // A file cut short loses its last record lines first: the two lists no longer match.
  if (!qsos.problems.empty() || state.edi_record_lines.size() != state.qso_list_lines.size()) {
    err << "Il contest nel file " << Shown(contest) << " è danneggiato: ";
    if (!qsos.problems.empty()) {
      err << "nei QSO per il log EDI, " << Cp1252ToUtf8(qsos.problems.front());
    } else {
      err << state.qso_list_lines.size() << " QSO nella lista ma " << state.edi_record_lines.size()
          << " per il log EDI";
    }
    err << ". Il file ADIF non è stato scritto.\n";
    return 1;
  }

  const std::filesystem::path station_file = folder / kStationFileName;
  const ReadResult station_bytes = files.Read(station_file);
  const StationConfigValues station =
      station_bytes.status ? ReadStationConfig(station_bytes.bytes) : StationConfigValues{};
  if (!station.call || station.call->empty() || !station.locator) {
    err << "Mancano il nominativo e il locatore della stazione: il file " << Shown(station_file)
        << " non c'è o non li contiene. Il file ADIF non è stato scritto.\n";
    return 1;
  }

  if (IsProgramFile(folder, target)) {
    err << "Il file " << Shown(target)
        << " è un file del programma: scegliere un altro nome per il log ADIF.\n";
    return 1;
  }
  const AdifStation own{*station.call, "", *station.locator, ""};
  const IoStatus written = files.Replace(target, AdifLogText(own, qsos.qsos, clock.Utc()));
  if (!written) {
    err << "Il file ADIF non è stato scritto. " << written.Describe() << "\n";
    return 1;
  }
  out << "Log ADIF con " << qsos.qsos.size() << " QSO scritto in " << Shown(target) << ".\n";
  return 0;
}

}  // namespace keldra

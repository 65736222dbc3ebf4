// Correcting a logged QSO over damaged lists: the search by callsign, the checks of the
// correction and the corrected lines.
// The input is the searched callsign, the EDI record list, the QSO list and the corrected field
// texts, cut apart at the byte 0x01 (fields at 0x02; an absent field keeps what the search
// showed). No crash, no hang, no undefined behaviour; and a correction the checks accept must
// give one line for each list (no "\n" in it), its record readable again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/QsoEdit.h"
#include "core/QsoRecord.h"
#include "system/Files.h"

namespace {

std::vector<std::string_view> Cut(std::string_view text, char at, std::size_t parts) {
  std::vector<std::string_view> pieces;
  while (pieces.size() + 1 < parts) {
    const std::size_t end = text.find(at);
    if (end == std::string_view::npos) {
      break;
    }
    pieces.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  pieces.push_back(text);
  pieces.resize(parts);
  return pieces;
}

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> parts = Cut(input, '\x01', 4);
  const std::string_view call = parts[0];
  const std::string_view records = parts[1];
  const std::string_view list = parts[2];

  (void)keldra::ListHasCall(list, call);
  for (const std::string& line : keldra::SplitLines(list)) {
    (void)keldra::ParseQsoListLine(line);
    (void)keldra::CallOfListLine(line);
  }

  keldra::QsoSearch search = keldra::FindQsoForEdit(records, list, call);
  if (search.status != keldra::QsoSearchStatus::kFound) {
    return 0;
  }
  const keldra::FoundQso& found = *search.found;
  const keldra::QsoEditTexts before = found.shown;
  keldra::QsoEditTexts after = before;
  std::string* fields[] = {&after.call,
                           &after.date,
                           &after.time,
                           &after.locator,
                           &after.mode_code,
                           &after.report_received,
                           &after.serial_received,
                           &after.club_code,
                           &after.distance_km};
  const std::vector<std::string_view> edits = Cut(parts[3], '\x02', 9);
  for (std::size_t i = 0; i < 9; ++i) {
    if (!edits[i].empty()) {
      fields[i]->assign(edits[i] == "-" ? "" : edits[i]);
    }
  }
  if (keldra::CheckQsoEdit(before, after)) {
    return 0;
  }

  const std::string record_line =
      keldra::EdiRecordLine(keldra::EditedQso(found.record, before, after));
  const std::string list_line = keldra::QsoListLine(keldra::EditedQso(found.listed, before, after));
  // A stray "\r" of a damaged saved line may stay in an unchanged field; no line end is added.
  Check(record_line.find('\n') == std::string::npos);
  Check(list_line.find('\n') == std::string::npos);
  Check(keldra::ParseEdiRecordLine(record_line).qso.has_value());
  return 0;
}

#include "core/StateFile.h"

#include <array>
#include <utility>

namespace keldra {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// The eleven totals in file order: key and where the value lives in each struct.
struct TotalKey {
  std::string_view key;
  std::string ContestState::*value;
  std::optional<std::string> StateFileValues::*read;
};

constexpr std::array<TotalKey, 11> kTotals{{
    {"QSO#", &ContestState::serial, &StateFileValues::serial},
    {"CONTEST_QSO", &ContestState::qsos, &StateFileValues::qsos},
    {"CONTEST_QRB", &ContestState::km, &StateFileValues::km},
    {"CONTEST_MOLT", &ContestState::multipliers, &StateFileValues::multipliers},
    {"CONTEST_PUNTI", &ContestState::points, &StateFileValues::points},
    {"CONTEST_MEDIA", &ContestState::average_km, &StateFileValues::average_km},
    {"CONTEST_ODX_CALL", &ContestState::odx_call, &StateFileValues::odx_call},
    {"CONTEST_ODX_LOC", &ContestState::odx_locator, &StateFileValues::odx_locator},
    {"CONTEST_ODX_QRB", &ContestState::odx_km, &StateFileValues::odx_km},
    {"CONTEST_IQRP", &ContestState::iqrp_qsos, &StateFileValues::iqrp_qsos},
    {"CONTEST_MQC", &ContestState::mqc_qsos, &StateFileValues::mqc_qsos},
}};

constexpr std::string_view kQsoListKey = "LISTA_QSO";
constexpr std::string_view kEdiKey = "QSO_EDI";

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
  out.append(key);
  out.push_back(' ');
  out.append(value);
  out.append(kCrLf);
}

// One line per piece of the list split at CR LF, the (normally empty) last piece included.
void AppendList(std::string& out, std::string_view key, std::string_view list) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = list.find(kCrLf, start);
    if (end == std::string_view::npos) {
      AppendLine(out, key, list.substr(start));
      return;
    }
    AppendLine(out, key, list.substr(start, end - start));
    start = end + kCrLf.size();
  }
}

// The file: the totals of `head`, then each list as its lines already in the file's form followed
// by the lines of the rest of the list (what the file form does not hold yet: the whole list, or
// only the empty piece after the last line end). Nothing when the QSO list is empty.
std::string FileText(const ContestState& head, std::string_view list_lines,
                     std::string_view list_rest, std::string_view record_lines,
                     std::string_view record_rest) {
  std::string out;
  if (list_lines.empty() && list_rest.empty()) {
    return out;
  }
  out.reserve(256 + list_lines.size() + record_lines.size() +
              2 * (list_rest.size() + record_rest.size()));
  for (const TotalKey& total : kTotals) {
    AppendLine(out, total.key, head.*total.value);
  }
  out.append(list_lines);
  AppendList(out, kQsoListKey, list_rest);
  out.append(record_lines);
  AppendList(out, kEdiKey, record_rest);
  return out;
}

// The value after "key " when the line begins with the key and is long enough to carry one.
std::optional<std::string_view> ValueAfter(std::string_view line, std::string_view key) {
  if (!line.starts_with(key) || line.size() < key.size() + 1) {
    return std::nullopt;
  }
  return line.substr(key.size() + 1);
}

}  // namespace

std::string StateFileText(const ContestState& state) {
  return FileText(state, {}, state.qso_list, {}, state.edi_records);
}

void StateFileLists::AddQsoListLine(std::string_view line) {
  AppendList(qso_list, kQsoListKey, line);
}

void StateFileLists::AddEdiRecordLine(std::string_view line) {
  AppendList(edi_records, kEdiKey, line);
}

std::string StateFileText(const ContestState& head, const StateFileLists& lists) {
  return FileText(head, lists.qso_list, {}, lists.edi_records, {});
}

IoStatus WriteStateFile(Files& files, const std::filesystem::path& state_path,
                        const std::filesystem::path& backup_path, const ContestState& state) {
  const std::string text = StateFileText(state);
  if (text.empty()) {
    return IoStatus::Ok();
  }
  return files.Replace(state_path, text, &backup_path);
}

StateFileValues ReadStateFile(std::string_view bytes) {
  StateFileValues values;
  for (const std::string& line : SplitLines(bytes)) {
    bool matched = false;
    for (const TotalKey& total : kTotals) {
      if (!line.starts_with(total.key)) {
        continue;
      }
      matched = true;
      if (auto value = ValueAfter(line, total.key)) {
        values.*total.read = std::string(*value);
      }
      break;
    }
    if (matched) {
      continue;
    }
    if (line.size() > kQsoListKey.size() + 2) {
      if (auto value = ValueAfter(line, kQsoListKey)) {
        values.qso_list_lines.emplace_back(*value);
        continue;
      }
    }
    if (line.size() > kEdiKey.size() + 2) {
      if (auto value = ValueAfter(line, kEdiKey)) {
        values.edi_record_lines.emplace_back(*value);
      }
    }
  }
  return values;
}

ContestTotals TotalsRead(const StateFileValues& values, ContestTotals shown) {
  ContestState state;
  static_cast<ContestTotals&>(state) = std::move(shown);
  for (const TotalKey& total : kTotals) {
    if (values.*total.read) {
      state.*total.value = *(values.*total.read);
    }
  }
  return static_cast<ContestTotals&&>(state);
}

}  // namespace keldra

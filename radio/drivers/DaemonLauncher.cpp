#include "radio/drivers/DaemonLauncher.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

#include "system/ContestFolder.h"
#include "system/Process.h"

namespace keldra {
namespace {

using std::chrono::milliseconds;

// A daemon answers --version and -l at once; under a slow emulator it takes a few seconds.
constexpr milliseconds kQuestionLimit{15000};

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t start = 0;
  while ((start = line.find_first_not_of(" \t\r", start)) != std::string_view::npos) {
    const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
    words.push_back(line.substr(start, end - start));
    start = end;
  }
  return words;
}

std::optional<int> Whole(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty()
             ? std::optional<int>(value)
             : std::nullopt;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// The numbers in a folder's name, for "hamlib-w64-4.10.1" after "hamlib-w64-4.9".
std::vector<int> NumbersIn(std::string_view name) {
  std::vector<int> numbers;
  for (size_t i = 0; i < name.size();) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
      ++i;
      continue;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(name.data() + i, name.data() + name.size(), value);
    numbers.push_back(error == std::errc() ? value : 0);
    i = static_cast<size_t>(end - name.data());
  }
  return numbers;
}

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The last line a daemon wrote, cut to what a message can show.
std::string LastLine(std::string_view errors) {
  std::string last;
  size_t start = 0;
  while (start < errors.size()) {
    const size_t end = std::min(errors.find('\n', start), errors.size());
    std::string line(errors.substr(start, end - start));
    std::replace_if(
        line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }, ' ');
    if (const size_t first = line.find_first_not_of(' '); first != std::string::npos) {
      last = line.substr(first, line.find_last_not_of(' ') - first + 1);
    }
    start = end + 1;
  }
  return last.size() > 200 ? last.substr(0, 200) + "..." : last;
}

}  // namespace

std::string HamlibVersion::Text() const {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

std::optional<HamlibVersion> ParseHamlibVersion(std::string_view output) {
  const std::vector<std::string_view> words = Words(output.substr(0, output.find('\n')));
  for (size_t i = 0; i + 1 < words.size(); ++i) {
    if (Lower(words[i]) != "hamlib") {
      continue;
    }
    std::string_view number = words[i + 1];
    HamlibVersion version;
    int* const parts[] = {&version.major, &version.minor, &version.patch};
    size_t read = 0;
    while (read < 3 && !number.empty() && std::isdigit(static_cast<unsigned char>(number[0]))) {
      const auto [end, error] =
          std::from_chars(number.data(), number.data() + number.size(), *parts[read]);
      if (error != std::errc()) {
        return std::nullopt;
      }
      ++read;
      number.remove_prefix(static_cast<size_t>(end - number.data()));
      if (number.empty() || number[0] != '.') {
        break;
      }
      number.remove_prefix(1);
    }
    // At least "4.5"; "4.6~git" still is 4.6.
    if (read >= 2) {
      return version;
    }
  }
  return std::nullopt;
}

ModelList ParseModelList(std::string_view output) {
  static constexpr std::string_view kStates[] = {"Alpha", "Beta", "Stable", "Untested", "Buggy"};
  ModelList list;
  size_t start = 0;
  while (start < output.size()) {
    const size_t end = std::min(output.find('\n', start), output.size());
    std::vector<std::string_view> words = Words(output.substr(start, end - start));
    start = end + 1;
    if (words.empty()) {
      continue;
    }
    const std::optional<int> number = Whole(words.front());
    if (words.back().starts_with("RIG_MODEL_") || words.back().starts_with("ROT_MODEL_")) {
      words.pop_back();
    }
    if (!words.empty() &&
        std::find(std::begin(kStates), std::end(kStates), words.back()) != std::end(kStates)) {
      words.pop_back();
    }
    // Then the backend's version ("20221128.0"), after at least one word of name.
    if (!number || *number <= 0 || words.size() < 3 ||
        words.back().find_first_not_of("0123456789.") != std::string_view::npos) {
      ++list.skipped;
      continue;
    }
    std::string name;
    for (size_t i = 1; i + 1 < words.size(); ++i) {
      name += (name.empty() ? "" : " ") + std::string(words[i]);
    }
    list.models.push_back({*number, name});
  }
  std::stable_sort(list.models.begin(), list.models.end(),
                   [](const DeviceModel& a, const DeviceModel& b) { return a.name < b.name; });
  return list;
}

std::vector<std::filesystem::path> HamlibFolders(const HamlibPlaces& places) {
  std::vector<std::filesystem::path> folders;
  if (!places.chosen.empty()) {
    folders.push_back(places.chosen);
    folders.push_back(places.chosen / "bin");
  }
  folders.push_back(places.program_folder);
  for (const auto& [installed, names] : places.installed) {
    std::vector<std::string> hamlib;
    std::copy_if(names.begin(), names.end(), std::back_inserter(hamlib),
                 [](const std::string& name) { return Lower(name).starts_with("hamlib"); });
    std::stable_sort(hamlib.begin(), hamlib.end(), [](const std::string& a, const std::string& b) {
      return NumbersIn(a) > NumbersIn(b);
    });
    for (const std::string& name : hamlib) {
      folders.push_back(installed / name / "bin");
      folders.push_back(installed / name);
    }
  }
  folders.insert(folders.end(), places.path.begin(), places.path.end());
  return folders;
}

HamlibPlaces HamlibPlacesHere(const std::filesystem::path& chosen) {
  HamlibPlaces places;
  places.chosen = chosen;
  places.program_folder = ExecutableFolder();
  for (const std::filesystem::path& folder : InstalledProgramFolders()) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
      if (entry->is_directory(error)) {
        names.push_back(Utf8(entry->path().filename()));
      }
    }
    places.installed.emplace_back(folder, std::move(names));
  }
  places.path = PathFolders();
  return places;
}

std::string HamlibFound::Status() const {
  if (!rigctld.empty()) {
    return "Hamlib " + version.Text() + " in " + Utf8(rigctld.parent_path());
  }
  return (problem.empty() ? std::string() : problem + ". ") +
         "Hamlib per Windows non trovato: scaricarlo da " + kHamlibDownload +
         " (hamlib-w64-...exe), installarlo e premere \"Cerca\", oppure indicare qui la "
         "cartella che contiene " +
         ExecutableFileName("rigctld") + ".";
}

HamlibFound FindHamlib(const std::vector<std::filesystem::path>& folders) {
  HamlibFound found;
  for (const std::filesystem::path& folder : folders) {
    std::error_code error;
    const std::filesystem::path rigctld = folder / ExecutableFileName("rigctld");
    if (folder.empty() || !std::filesystem::is_regular_file(rigctld, error)) {
      continue;
    }
    const ProcessRun run = RunProgram(rigctld, {"--version"}, kQuestionLimit);
    const std::optional<HamlibVersion> version = ParseHamlibVersion(run.output);
    if (!version) {
      found.problem = Utf8(rigctld) + " non dice la sua versione";
      continue;
    }
    if (version->major != kHamlibMajor) {
      found.problem = "Hamlib " + version->Text() + " in " + Utf8(folder) +
                      " non va bene: i numeri dei modelli sono quelli di Hamlib " +
                      std::to_string(kHamlibMajor);
      continue;
    }
    found.rigctld = rigctld;
    found.version = *version;
    found.problem.clear();
    if (const std::filesystem::path rotctld = folder / ExecutableFileName("rotctld");
        std::filesystem::is_regular_file(rotctld, error)) {
      found.rotctld = rotctld;
    }
    return found;
  }
  return found;
}

ModelList ReadModels(const std::filesystem::path& daemon) {
  if (daemon.empty()) {
    return {};
  }
  const ProcessRun run = RunProgram(daemon, {"-l"}, kQuestionLimit);
  return run.finished ? ParseModelList(run.output) : ModelList{};
}

std::vector<std::string> DaemonArguments(const DeviceLink& link, int port) {
  std::vector<std::string> arguments = {"-m", std::to_string(link.model)};
  if (!link.port.empty()) {
    arguments.insert(arguments.end(), {"-r", link.port});
  }
  if (link.speed > 0) {
    arguments.insert(arguments.end(), {"-s", std::to_string(link.speed)});
  }
  arguments.insert(arguments.end(), {"-T", "127.0.0.1", "-t", std::to_string(port)});
  return arguments;
}

std::string StoppedDaemonText(const std::string& daemon, const std::string& port,
                              std::string_view errors) {
  const std::string last = LastLine(errors);
  const std::string said = Lower(errors);
  const auto says = [&said](std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [&said](std::string_view word) { return said.find(word) != said.npos; });
  };
  const std::string where = port.empty() ? std::string("del dispositivo") : port;
  std::string why;
  if (says({"access is denied", "permission denied", "accesso negato", "busy", "in use by"})) {
    why = "la porta " + where + " è occupata da un altro programma o non è accessibile";
  } else if (says({"no such file", "cannot find", "not found", "impossibile trovare"})) {
    why = "la porta " + where + " non esiste";
  } else if (says({"bind", "address already in use"})) {
    why = "la porta di rete di " + daemon + " è già in uso";
  } else if (says({"timed out", "timeout"})) {
    why = "il dispositivo non risponde sulla porta " + where + ": è acceso? la velocità è giusta?";
  } else if (says({"io error", "i/o error", "unable to open", "rig_open", "rot_open"})) {
    why = "la porta " + where +
          " non si apre o il dispositivo non risponde (porta occupata, velocità sbagliata, "
          "dispositivo spento)";
  }
  std::string text = daemon + " si è fermato";
  if (!why.empty()) {
    text += ": " + why;
  }
  return text + (last.empty() ? std::string(" senza dire perché") : " (\"" + last + "\")");
}

}  // namespace keldra

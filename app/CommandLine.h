// What the operator can say on the command line, and the help that tells it in Italian. Parsing is
// a pure function of the arguments, so main() only acts on the result.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace keldra {

struct CommandLine {
  std::filesystem::path folder;  // --cartella: the contest folder; empty when not given
  // --adif FILE: write the contest's ADIF log to FILE and exit; empty FILE when none was given.
  std::optional<std::filesystem::path> adif;
  bool help = false;
  bool version = false;
  std::string error;  // what was wrong (UTF-8, Italian); empty when the line is good
};

// `arguments` without the program's own name, and without the options Qt takes for itself.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text --help prints (UTF-8).
std::string HelpText();
// The text --version prints.
std::string VersionText();

}  // namespace keldra

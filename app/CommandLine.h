// What the operator can say on the command line, and the help that tells it in Italian. Parsing is
// a pure function of the arguments, so main() only acts on the result.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace keldra {

struct CommandLine {
  std::filesystem::path folder;  // --cartella: the contest folder; empty when not given
  bool adif = false;             // --adif: write the ADIF log and exit, without a window
  std::filesystem::path adif_file;
  bool help = false;
  bool version = false;
  std::string error;  // the first thing wrong (UTF-8, Italian); empty when the line is good
};

// `arguments` without the program's own name, and without the options Qt takes for itself.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text --help prints (UTF-8).
std::string HelpText();
// The text --version prints.
std::string VersionText();

}  // namespace keldra

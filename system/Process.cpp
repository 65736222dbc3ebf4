#include "system/Process.h"

namespace keldra {

std::string WindowsCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) {
      line += ' ';
    }
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
      line += argument;
      continue;
    }
    // Backslashes are plain unless a quote follows them: then each one is doubled.
    line += '"';
    size_t backslashes = 0;
    for (const char c : argument) {
      if (c == '\\') {
        ++backslashes;
        continue;
      }
      line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
      backslashes = 0;
      line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
  }
  return line;
}

void KeepTail(std::string& tail, std::string_view more, size_t limit) {
  tail.append(more);
  if (tail.size() <= limit) {
    return;
  }
  size_t cut = tail.size() - limit;
  if (const size_t line = tail.find('\n', cut);
      line != std::string::npos && line + 1 < tail.size()) {
    cut = line + 1;
  }
  tail.erase(0, cut);
}

}  // namespace keldra

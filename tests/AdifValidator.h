// The independent check of every ADIF file the tests write: tests/adif_check.js reads the files
// with the tcadif package (installed by scripts/test into the build folder) and reports its errors
// and warnings; what it read back is turned into EDI record lines, so a test compares the QSOs of
// the file with the contest's own lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace keldra::testing {

struct AdifCheck {
  int status = -1;
  std::vector<std::string> complaints;                   // "error: ..." and "warning: ..."
  std::vector<std::map<std::string, std::string>> qsos;  // as tcadif read them
};

// The command that installs the validator, for the message of a test that could not run it.
inline constexpr const char* kInstallValidator =
    "npm install --prefix BUILD/npm --no-save --no-package-lock tcadif@2.4.0 (scripts/test does "
    "it)";

// Whether the validator can run here: node and tcadif installed (never in the Windows build, whose
// files the Linux side checks).
inline bool AdifValidatorPresent() {
#ifdef KELDRA_NODE_MODULES
  return std::filesystem::exists(std::filesystem::path(KELDRA_NODE_MODULES) / "tcadif") &&
         std::system("node --version >/dev/null 2>&1") == 0;
#else
  return false;
#endif
}

#ifdef KELDRA_NODE_MODULES
inline AdifCheck CheckAdif(const std::vector<std::filesystem::path>& files) {
  AdifCheck check;
  const std::filesystem::path modules = KELDRA_NODE_MODULES;
  std::string command = "NODE_PATH='" + modules.string() + "' node '" KELDRA_ADIF_CHECK "'";
  for (const auto& file : files) {
    command += " '" + file.string() + "'";
  }
  command += " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return check;
  }
  std::string output;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, n);
  }
  const int status = pclose(pipe);
  check.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::size_t start = 0;
  while (start < output.size()) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) {
      end = output.size();
    }
    const std::string line = output.substr(start, end - start);
    start = end + 1;
    if (line.starts_with("error:") || line.starts_with("warning:") || line.find('=') == line.npos) {
      check.complaints.push_back(line);
      continue;
    }
    std::map<std::string, std::string>& qso = check.qsos.emplace_back();
    for (std::size_t from = 0; from <= line.size();) {
      std::size_t to = line.find('\t', from);
      if (to == std::string::npos) {
        to = line.size();
      }
      const std::string pair = line.substr(from, to - from);
      const std::size_t equals = pair.find('=');
      qso[pair.substr(0, equals)] = equals == pair.npos ? "" : pair.substr(equals + 1);
      from = to + 1;
    }
  }
  return check;
}

// The EDI record line of a QSO tcadif read: what the contest holds for it, serials zero-filled to
// three digits as the program sends and logs them.
inline std::string EdiRecordOf(std::map<std::string, std::string> q) {
  auto serial = [](const std::string& n) {
    return n.size() < 3 ? std::string(3 - n.size(), '0') + n : n;
  };
  return q["QSO_DATE"].erase(0, 2) + ";" + q["TIME_ON"] + ";" + q["CALL"] + ";" +
         (q["MODE"] == "SSB" ? "1" : "0") + ";" + q["RST_SENT"] + ";" + serial(q["STX"]) + ";" +
         q["RST_RCVD"] + ";" + serial(q["SRX"]) + ";" + q["SRX_STRING"] + ";" + q["GRIDSQUARE"] +
         ";" + q["DISTANCE"] + ";;;;";
}

#endif

// Fails the test unless the validator read every file without a complaint; returns the QSOs read
// back as EDI record lines, each ended by CR LF. Where the validator cannot run, the test is
// marked skipped with the command that installs it (its other checks still count), and there is
// nothing to compare.
inline std::optional<std::string> ValidatedRecords(
    const std::vector<std::filesystem::path>& files) {
  if (!AdifValidatorPresent()) {
#ifdef KELDRA_NODE_MODULES
    []() { GTEST_SKIP() << "the ADIF validator is not installed: " << kInstallValidator; }();
#else
    []() {
      GTEST_SKIP() << "the ADIF validator runs on the Linux side (AdifCommand.TheWindowsProgram* "
                      "and the ADIF scenario against the Windows program check these files)";
    }();
#endif
    return std::nullopt;
  }
#ifdef KELDRA_NODE_MODULES
  const AdifCheck check = CheckAdif(files);
  EXPECT_EQ(check.status, 0);
  EXPECT_EQ(check.complaints, std::vector<std::string>{});
  std::string records;
  for (const auto& qso : check.qsos) {
    records += EdiRecordOf(qso) + "\r\n";
  }
  return records;
#else
  (void)files;
  return std::nullopt;
#endif
}

}  // namespace keldra::testing

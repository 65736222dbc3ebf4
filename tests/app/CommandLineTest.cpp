// The command line: the contest folder in either spelling, help and version, and every mistake
// named in Italian rather than ignored.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace keldra {
namespace {

struct LineCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* folder;
  bool help;
  const char* error;  // a part of the message; empty: no error
};

const LineCase kLines[] = {
    {"Nothing_noFolder", {}, "", false, ""},
    {"FolderAsTwoWords", {"--cartella", "/srv/gara"}, "/srv/gara", false, ""},
    {"FolderWithEquals", {"--cartella=gara 2024"}, "gara 2024", false, ""},
    {"HelpAmongOthers", {"--cartella", "x", "-h"}, "x", true, ""},
    {"FolderWithoutValue", {"--cartella"}, "", false, "vuole il nome"},
    {"FolderEmptyAfterEquals", {"--cartella="}, "", false, "vuole il nome"},
    {"FolderTwice", {"--cartella", "a", "--cartella", "b"}, "a", false, "più di una volta"},
    {"UnknownOption", {"--folder", "a"}, "", false, "non riconosciuto: --folder"},
    {"StrayWord", {"gara"}, "", false, "non riconosciuto: gara"},
};

class ParseCommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseCommandLineTest, ReadsWhatTheOperatorTyped) {
  const LineCase& c = GetParam();
  const CommandLine line = ParseCommandLine(c.arguments);
  EXPECT_EQ(line.folder, std::filesystem::path(c.folder));
  EXPECT_EQ(line.help, c.help);
  if (*c.error == '\0') {
    EXPECT_EQ(line.error, "");
  } else {
    EXPECT_NE(line.error.find(c.error), std::string::npos) << line.error;
  }
}

INSTANTIATE_TEST_SUITE_P(Lines, ParseCommandLineTest, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HelpTextTest, NamesTheOptionAndEveryFolderTheProgramMayUse) {
  const std::string help = HelpText();
  for (const char* part : {"--cartella CARTELLA", "cartella del programma", "copia installata",
                           "$XDG_DATA_HOME/keldra", "~/.local/share/keldra", "una sola copia"}) {
    EXPECT_NE(help.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace keldra

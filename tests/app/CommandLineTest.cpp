// The command line: the contest folder in either spelling, help and version, and every mistake
// named in Italian rather than ignored.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "system/ContestFolder.h"

namespace keldra {
namespace {

struct LineCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* folder;
  bool help;
  bool adif;
  const char* adif_file;
  const char* error;  // a part of the message; empty: no error
};

const LineCase kLines[] = {
    {"Nothing_noFolder", {}, "", false, false, "", ""},
    {"FolderAsTwoWords", {"--cartella", "/srv/gara"}, "/srv/gara", false, false, "", ""},
    {"FolderWithEquals", {"--cartella=gara 2024"}, "gara 2024", false, false, "", ""},
    {"HelpAmongOthers", {"--cartella", "x", "-h"}, "x", true, false, "", ""},
    {"HelpAfterAMistake", {"--bogus", "--help"}, "", true, false, "", "--bogus"},
    {"AdifWithFolder", {"--cartella", "g", "--adif=log.adi"}, "g", false, true, "log.adi", ""},
    {"AdifWithoutFile_leftToTheCommand", {"--adif", "--cartella", "g"}, "g", false, true, "", ""},
    {"AdifTwice", {"--adif", "a", "--adif", "b"}, "", false, true, "b", "più di una volta"},
    {"FolderWithoutValue", {"--cartella", "--adif", "x"}, "", false, true, "x", "vuole il nome"},
    {"FolderEmptyAfterEquals", {"--cartella="}, "", false, false, "", "vuole il nome"},
    {"FolderTwice", {"--cartella", "a", "--cartella", "b"}, "a", false, false, "", "più di una"},
    {"UnknownOption", {"--folder", "a"}, "", false, false, "", "non riconosciuto: --folder"},
    {"StrayWord", {"gara"}, "", false, false, "", "non riconosciuto: gara"},
};

class ParseCommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseCommandLineTest, ReadsWhatTheOperatorTyped) {
  const LineCase& c = GetParam();
  const CommandLine line = ParseCommandLine(c.arguments);
  EXPECT_EQ(line.folder, std::filesystem::path(c.folder));
  EXPECT_EQ(line.help, c.help);
  EXPECT_EQ(line.adif, c.adif);
  EXPECT_EQ(line.adif_file, std::filesystem::path(c.adif_file));
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
  for (const char* part :
       {"--cartella CARTELLA", "--adif FILE.adi", "cartella del programma", "copia installata",
        "una sola copia", "licenza GNU GPL versione 3 o successiva"}) {
    EXPECT_NE(help.find(part), std::string::npos) << part;
  }
  // The folder of this system's last choice (tests/system/ContestFolder*Test.cpp).
  EXPECT_NE(help.find(FolderRuleHelp()), std::string::npos) << help;
  EXPECT_NE(VersionText().find("licenza GNU GPL versione 3 o successiva"), std::string::npos);
}

}  // namespace
}  // namespace keldra

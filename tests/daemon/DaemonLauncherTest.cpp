// What the program reads of Hamlib's daemons and how it runs them: the model tables and version
// lines they print, the order of the places they are looked for in, their arguments, and what
// their last words become for the operator.
#include <gtest/gtest.h>

#include "radio/drivers/DaemonLauncher.h"
#include "system/Process.h"

namespace keldra::testing {
namespace {

TEST(DaemonLauncherTest, ModelTablesOfBothMajorFormats) {
  // As rigctld 4.5 prints it (with a maker of two words), a 3.x line without the macro column,
  // and what is no model.
  const ModelList list = ParseModelList(
      " Rig #  Mfg                    Model                   Version         Status      Macro\n"
      "     1  Hamlib                 Dummy                   20221128.0      Stable      "
      "RIG_MODEL_DUMMY\r\n"
      "  1047  Yaesu                  FT-650                  20220525.0      Stable      "
      "RIG_MODEL_FT650\n"
      "     5  TRXManager             TRXManager 5.7.630+     20210613.0      Beta        "
      "RIG_MODEL_TRXMANAGER_RIG\n"
      "  2501  DTTS Microwave Society DCU-1                   0.1             Untested\n"
      "\n"
      "   abc  Broken                 Line                    1.0             Stable\n"
      "     7  NoVersion              Model                   Stable\n"
      "     0  Zero                   Model                   1.0             Stable\n");
  const std::vector<std::pair<int, std::string>> expected = {{2501, "DTTS Microwave Society DCU-1"},
                                                             {1, "Hamlib Dummy"},
                                                             {5, "TRXManager TRXManager 5.7.630+"},
                                                             {1047, "Yaesu FT-650"}};
  ASSERT_EQ(list.models.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(list.models[i].number, expected[i].first);
    EXPECT_EQ(list.models[i].name, expected[i].second);
  }
  EXPECT_EQ(list.skipped, 4);  // the heading, the broken number, no version, model 0
}

TEST(DaemonLauncherTest, VersionLines) {
  const struct {
    const char* output;
    std::optional<HamlibVersion> version;
  } cases[] = {
      {"rigctl Hamlib 4.5.4 Jan 10 01:31:41Z 2023 SHA=921cc5\n", HamlibVersion{4, 5, 4}},
      {"rigctld Hamlib 4.6\r\n", HamlibVersion{4, 6, 0}},
      {"rotctld hamlib 4.6~git 2024\n", HamlibVersion{4, 6, 0}},
      {"rigctld, Hamlib 3.3\n", HamlibVersion{3, 3, 0}},
      {"rigctld Hamlib 4\n", std::nullopt},
      {"rigctld 4.5.4\n", std::nullopt},
      {"\nrigctld Hamlib 4.5.4\n", std::nullopt},  // only the first line speaks for the program
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseHamlibVersion(c.output), c.version) << c.output;
  }
}

TEST(DaemonLauncherTest, PlacesInOrderNewestHamlibFirst) {
  HamlibPlaces places;
  places.chosen = "D:/Radio";
  places.program_folder = "C:/Keldra";
  places.installed = {
      {"C:/Program Files", {"Common Files", "hamlib-w64-4.9", "hamlib-w64-4.10.1", "Hamlib"}},
      {"C:/Program Files (x86)", {"hamlib-w32-4.5.5"}}};
  places.path = {"C:/Windows", "C:/Tools"};
  const std::vector<std::filesystem::path> expected = {
      "D:/Radio",
      "D:/Radio/bin",
      "C:/Keldra",
      "C:/Program Files/hamlib-w64-4.10.1/bin",
      "C:/Program Files/hamlib-w64-4.10.1",
      "C:/Program Files/hamlib-w64-4.9/bin",
      "C:/Program Files/hamlib-w64-4.9",
      "C:/Program Files/Hamlib/bin",
      "C:/Program Files/Hamlib",
      "C:/Program Files (x86)/hamlib-w32-4.5.5/bin",
      "C:/Program Files (x86)/hamlib-w32-4.5.5",
      "C:/Windows",
      "C:/Tools"};
  EXPECT_EQ(HamlibFolders(places), expected);
  places.chosen.clear();
  EXPECT_EQ(HamlibFolders(places).front(), "C:/Keldra");
}

TEST(DaemonLauncherTest, ArgumentsOnlyWhatIsSet) {
  EXPECT_EQ(DaemonArguments({3073, "COM3", 19200}, 40123),
            (std::vector<std::string>{"-m", "3073", "-r", "COM3", "-s", "19200", "-T", "127.0.0.1",
                                      "-t", "40123"}));
  EXPECT_EQ(DaemonArguments({1, "", 0}, 4532),
            (std::vector<std::string>{"-m", "1", "-T", "127.0.0.1", "-t", "4532"}));
}

TEST(DaemonLauncherTest, WindowsCommandLinesReadBackWhole) {
  EXPECT_EQ(WindowsCommandLine({"C:\\Program Files\\Hamlib\\bin\\rigctld.exe", "-r", "COM3"}),
            "\"C:\\Program Files\\Hamlib\\bin\\rigctld.exe\" -r COM3");
  EXPECT_EQ(WindowsCommandLine({"", "a\"b", "end\\ with\\", "C:\\x\\"}),
            "\"\" \"a\\\"b\" \"end\\ with\\\\\" C:\\x\\");
}

TEST(DaemonLauncherTest, LastWordsInItalian) {
  const struct {
    const char* errors;
    const char* text;
  } cases[] = {
      {"serial_open: Unable to open COM3 - Access is denied.\nrig_open: error = IO error\n",
       "rigctld si è fermato: la porta COM3 è occupata da un altro programma o non è accessibile "
       "(\"rig_open: error = IO error\")"},
      {"rig_open: error = Communication timed out\r\n",
       "rigctld si è fermato: il dispositivo non risponde sulla porta COM3: è acceso? la velocità "
       "è giusta? (\"rig_open: error = Communication timed out\")"},
      {"rig_open: error = IO error\n\n",
       "rigctld si è fermato: la porta COM3 non si apre o il dispositivo non risponde (porta "
       "occupata, velocità sbagliata, dispositivo spento) (\"rig_open: error = IO error\")"},
      {"something\x01 odd\n", "rigctld si è fermato (\"something  odd\")"},
      {"", "rigctld si è fermato senza dire perché"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StoppedDaemonText("rigctld", "COM3", c.errors), c.text);
  }
}

}  // namespace
}  // namespace keldra::testing

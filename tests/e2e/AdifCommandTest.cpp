// `keldra --adif FILE` as a script runs it: the real program, copied into a folder of its own
// with a contest, without any display; the file it writes must pass the independent validator and
// hold the contest's QSOs, and every failure must say why in Italian with a non-zero status.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "AdifValidator.h"
#include "Harness.h"
#include "TestSupport.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr const char* kStation = "Call = QX0ABC\r\nLocator = JN61FV\r\nIQRP = 045\r\nMQC = \r\n";
constexpr const char* kRecords =
    "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n"
    "230716;0832;QX2DEF/P;0;599;002;579;007;;JN72KL;410;;;;\r\n";
constexpr const char* kContest =
    "QSO# 003\r\nCONTEST_QSO 2\r\n"
    "LISTA_QSO 001   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003\r\n"
    "LISTA_QSO 002   16/07/23   08.32   144Mhz   CW    QX2DEF/P    579-007  JN72KL   \r\n"
    "LISTA_QSO \r\n"
    "QSO_EDI 230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n"
    "QSO_EDI 230716;0832;QX2DEF/P;0;599;002;579;007;;JN72KL;410;;;;\r\n"
    "QSO_EDI \r\n";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class AdifCommand : public ::testing::Test {
 protected:
  AdifCommand() {
    fs::copy_file(KELDRA_EXECUTABLE, folder_ / "keldra");
    WriteBytes(folder_ / "config.txt", kStation);
    WriteBytes(folder_ / "parziale.db", kContest);
  }
  // The program run from its folder with no display at all.
  Outcome Keldra(const std::string& arguments) {
    const std::string command = "cd '" + folder_.path().string() +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                "./keldra " +
                                arguments + " 2>stderr.txt";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[1024];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadBytes(folder_ / "stderr.txt");
    return run;
  }
  testing::TempFolder folder_;
};

TEST_F(AdifCommand, WritesTheContestsQsosAndExits) {
  const Outcome run = Keldra("--adif log.adi");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Log ADIF con 2 QSO scritto in \"log.adi\".\n");
  EXPECT_EQ(run.err, "");
  if (const auto records = testing::ValidatedRecords({folder_ / "log.adi"})) {
    EXPECT_EQ(*records, kRecords);
  }
  EXPECT_NE(ReadBytes(folder_ / "log.adi").find("<STATION_CALLSIGN:6>QX0ABC <OPERATOR:6>QX0ABC"),
            std::string::npos);
}

TEST_F(AdifCommand, ReadsTheContestOfTheFolderGivenWithCartella) {
  fs::create_directory(folder_ / "gara");
  fs::rename(folder_ / "parziale.db", folder_ / "gara" / "parziale.db");
  fs::rename(folder_ / "config.txt", folder_ / "gara" / "config.txt");
  const Outcome run = Keldra("--cartella gara --adif log.adi");
  EXPECT_EQ(run.status, 0) << run.err;
  if (const auto records = testing::ValidatedRecords({folder_ / "log.adi"})) {
    EXPECT_EQ(*records, kRecords);
  }
}

// The Windows program (scripts/windows builds it; scripts/test names it in KELDRA_WINDOWS_EXE)
// under Wine on a contest folder the Linux build wrote (its own logic, three QSOs typed off-line,
// one of them a portable call in CW), named with a letter outside ASCII: the same log as the
// Linux program's but its creation time, and the validator, which runs only here, reads the
// contest's own records back.
TEST_F(AdifCommand, TheWindowsProgramWritesTheSameLog) {
  const char* exe = std::getenv("KELDRA_WINDOWS_EXE");
  if (exe == nullptr) {
    GTEST_SKIP() << "no Windows program to compare: scripts/windows builds it, and "
                    "KELDRA_WINDOWS_EXE=build/windows/keldra.exe names it";
  }
  const std::string gara = "gara Niccol\xc3\xb2";
  {
    e2e::ModelOperator linux_build({{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}},
                                   folder_ / gara);
    for (const e2e::Step& step :
         {e2e::Click("Form1", "Command7"), e2e::Click("Form1", "Text2"),
          e2e::Keys("Form1", std::string(10, '\b') + "16/07/23\n"),
          e2e::OffLineQso("0702", false, "IK5ABC", "1", "JN53HT", "I003"),
          e2e::Click("Form1", "Text3"),
          e2e::OffLineQso("0709", true, "IW5DEF/P", "2", "JN54VB", ""),
          e2e::Click("Form1", "Text3"),
          e2e::OffLineQso("0721", false, "S59XYZ", "12", "JN76EE", "M045")}) {
      linux_build.Play(step);  // the reminder that going off-line shows is closed
    }
  }
  std::string records;
  for (const std::string& line : SplitLines(ReadBytes(folder_ / gara / "parziale.db"))) {
    if (line.rfind("QSO_EDI ", 0) == 0 && line.size() > 8) {
      records += line.substr(8) + "\r\n";
    }
  }
  ASSERT_EQ(SplitLines(records).size(), 3u);
  const Outcome linux_run = Keldra("--cartella '" + gara + "' --adif linux.adi");
  ASSERT_EQ(linux_run.status, 0) << linux_run.err;
  const std::string command = "cd '" + folder_.path().string() +
                              "' && WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= wine '" +
                              fs::absolute(exe).string() + "' --cartella '" + gara +
                              "' --adif windows.adi >windows.txt 2>wine.txt";
  // Wine's own notes go to standard error; the program's line to standard output.
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(folder_ / "wine.txt");
  EXPECT_EQ(ReadBytes(folder_ / "windows.txt"),
            "Log ADIF con 3 QSO scritto in \"windows.adi\".\r\n");
  auto without_creation = [](std::string adif) {
    const std::size_t at = adif.find("<CREATED_TIMESTAMP:15>");
    return at == std::string::npos ? adif : adif.erase(at, 22 + 15);
  };
  EXPECT_EQ(without_creation(ReadBytes(folder_ / "windows.adi")),
            without_creation(ReadBytes(folder_ / "linux.adi")));
  if (const auto read_back = testing::ValidatedRecords({folder_ / "windows.adi"})) {
    EXPECT_EQ(*read_back, records);
  }
}

TEST_F(AdifCommand, HelpListsTheOption) {
  const Outcome run = Keldra("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--adif FILE.adi"), std::string::npos) << run.out;
}

TEST_F(AdifCommand, EveryFailureIsToldAndNothingIsWritten) {
  const std::string contest = kContest;
  const struct Case {
    const char* name;
    std::string contest;  // parziale.db; none when empty
    std::string station;  // config.txt; none when empty
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"NoContest", "", kStation, "--adif log.adi", 1, "Nessun contest da esportare: il file"},
      {"ContestWithoutQsos", "QSO# 001\r\nCONTEST_QSO 0\r\n", kStation, "--adif log.adi", 1,
       "non contiene QSO"},
      {"CutInARecord", contest.substr(0, contest.find("QSO_EDI 230716;0832") + 30), kStation,
       "--adif log.adi", 1, "danneggiato: nei QSO per il log EDI, riga 2: non e' un QSO"},
      {"LastRecordsLost", contest.substr(0, contest.find("QSO_EDI 230716;0832")), kStation,
       "--adif log.adi", 1, "danneggiato: 2 QSO nella lista ma 1 per il log EDI"},
      {"NoStation", kContest, "", "--adif log.adi", 1, "Mancano il nominativo e il locatore"},
      {"FolderMissing", kContest, kStation, "--adif missing/log.adi", 1,
       "Il file ADIF non è stato scritto. Operazione non riuscita sul file missing/log.adi"},
      {"OverTheContest", kContest, kStation, "--adif ./parziale.db", 1, "è un file del programma"},
      {"NoFileName", kContest, kStation, "--adif", 2, "Manca il nome del file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(folder_ / "parziale.db");
    fs::remove(folder_ / "config.txt");
    if (!c.contest.empty()) {
      WriteBytes(folder_ / "parziale.db", c.contest);
    }
    if (!c.station.empty()) {
      WriteBytes(folder_ / "config.txt", c.station);
    }
    const Outcome run = Keldra(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(folder_ / "log.adi"));
    if (!c.contest.empty()) {
      EXPECT_EQ(ReadBytes(folder_ / "parziale.db"), c.contest);
    }
  }
}

}  // namespace
}  // namespace keldra

// The rig set up on the Windows program with real keys and clicks, as an operator with Hamlib for
// Windows does: "Radio e rotore", the model from the daemon's own list, a COM port, "Prova",
// "Salva"; the program then starts rigctld.exe itself and logs a QSO in CW, the mode the rig
// reports. Under Wine the daemon is the tests' stand-in, found on PATH, and COM43 is a
// pseudo-terminal; the model windows run on a fake rig that lists the same models. The files must
// be the model's byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "Harness.h"
#include "support/FakeRadio.h"

namespace keldra::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char kStation[] = "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = 002\r\n";

// The rig as the Windows program sees it through the stand-in: its models, daemons it starts.
struct StartedDaemonsRadio : FakeRadio {
  std::vector<DeviceModel> RigModels() override {
    return {{1, "Hamlib Dummy"}, {2, "Hamlib NET rigctl"}, {1020, "Yaesu FT-817"}};
  }
  bool StartsDaemons() const override { return true; }
};

const char kStarted[] = "rigctld -m 1020 -r COM43 ";

// What the stand-in logged after its `start`th start, once it holds a command `command`; empty
// when it does not within half a minute.
std::string AfterStart(const fs::path& log, int start, const std::string& command) {
  for (int i = 0; i < 300; ++i) {
    std::ifstream in(log);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    std::size_t at = std::string::npos;
    for (int n = 0, from = 0; n < start; ++n, from = static_cast<int>(at) + 1) {
      if ((at = text.find(kStarted, from)) == std::string::npos) {
        break;
      }
    }
    if (at != std::string::npos && text.find("\n" + command, at) != std::string::npos) {
      return text.substr(at);
    }
    std::this_thread::sleep_for(100ms);
  }
  return {};
}

TEST(RigSetupScenarioTest, ModelFromTheListAComPortProvaAndACwQsoInTheRigsMode) {
  if (WindowsProgram().empty()) {
    GTEST_SKIP() << "the Linux program reaches the rig through Hamlib's library, not daemons of "
                    "its own (RadioScenarioTest has the Linux rig)";
  }
  XSession x;
  // The daemons on PATH, the rig in CW, its log kept.
  const fs::path hamlib = fs::temp_directory_path() / ("keldrahamlib" + std::to_string(getpid()));
  fs::create_directories(hamlib);
  for (const char* daemon : {"rigctld.exe", "rotctld.exe"}) {
    fs::copy_file(fs::path(WindowsProgram()).parent_path() / "hamlib_stand_in.exe", hamlib / daemon,
                  fs::copy_options::overwrite_existing);
  }
  std::ofstream(hamlib / "rigctld.mode") << "CW";
  std::ofstream(hamlib / "rigctld.log").flush();
  const fs::path log = hamlib / "rigctld.log";
  // COM43: a pseudo-terminal, the serial port as Wine maps it.
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
  const fs::path com = fs::path(std::getenv("WINEPREFIX")) / "dosdevices" / "com43";
  fs::remove(com);
  fs::create_symlink(ptsname(terminal), com);

  std::string wine_path = "Z:" + hamlib.string();
  std::replace(wine_path.begin(), wine_path.end(), '/', '\\');
  StartedDaemonsRadio fake;
  StartState setup{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}, &fake};
  setup.environment = {{"WINEPATH", wine_path}};
  BothRuns run(x, setup);
  run.Play({
      Click("Form1", "RadioSettings"),
      Choose("RadioWindow", "RigModel", "Yaesu FT-817 (1020)"),
      Click("RadioWindow", "RigPort"),
      Keys("RadioWindow", "COM43"),
      Click("RadioWindow", "ProbeButton"),
  });
  // "Prova" started the daemon with the model on the port and asked the rig's mode.
  EXPECT_NE(AfterStart(log, 1, "+m"), "") << testing::ReadBytes(log);
  x.Screenshot("e2e_rig_setup_01_probe");
  run.Play({Click("RadioWindow", "SaveButton")});
  // From "Salva" on the program keeps one of its own, and reads the rig's mode through it.
  EXPECT_NE(AfterStart(log, 2, "+m"), "") << testing::ReadBytes(log);
  fake.Rig(LinkState::kConnected, 145000000, "CW");
  run.Play({
      Click("Form1", "Command7"),
      Click("Form1", "Text2"),
      Keys("Form1", std::string(10, '\b') + "16/07/23\n"),
      // The mode field is left as the rig set it: CW, 599.
      Keys("Form1", std::string(6, '\b') + "0702\n\n\nQX1ZZ\n\n\n012\nJN83KA\n\n\n",
           "e2e_rig_setup_02_logged"),
  });
  const std::string saved = testing::ReadBytes(run.real_folder / "parziale.db");
  EXPECT_NE(saved.find("230716;0702;QX1ZZ;0;599;001;599;012;;JN83KA;"), std::string::npos) << saved;
  fs::remove(com);
  close(terminal);
  fs::remove_all(hamlib);
}

}  // namespace
}  // namespace keldra::e2e

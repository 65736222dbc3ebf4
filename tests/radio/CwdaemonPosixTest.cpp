// The cwdaemon driver against the real daemon, started on a free port with no keying device and
// no sound (-d null -x n); what it received is read from its own debug log.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "radio/drivers/Cwdaemon.h"
#include "support/EventPump.h"

extern char** environ;

namespace keldra::testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* kCwdaemon = "/usr/sbin/cwdaemon";

int FreeUdpPort() {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

class CwdaemonPosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kCwdaemon)) {
      GTEST_SKIP() << "cwdaemon is not installed (apt-get install cwdaemon)";
    }
  }
  void TearDown() override { StopDaemon(); }

  void StartDaemon() {
    const std::string port = std::to_string(port_);
    std::filesystem::remove(log_);
    std::vector<std::string> args = {kCwdaemon, "-n", "-d", "null", "-x", "n",  "-p",
                                     port,      "-y", "i",  "-f",   log_, "-s", "24"};
    std::vector<char*> argv;
    for (std::string& arg : args) {
      argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ASSERT_EQ(posix_spawn(&pid_, kCwdaemon, nullptr, nullptr, argv.data(), environ), 0);
  }
  void StopDaemon() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = 0;
    }
  }
  std::string Log() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::unique_ptr<Cwdaemon> Open(bool ptt = false) {
    auto keyer = std::make_unique<Cwdaemon>(
        KeyerLink{KeyerKind::kCwdaemon, "127.0.0.1:" + std::to_string(port_), 30, ptt},
        [this](std::function<void()> job) { pump_.Post(job); });
    keyer->Changed = [this](const KeyerState& state) { states_.push_back(state); };
    return keyer;
  }
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 8s) {
    return pump_.RunUntil(done, limit);
  }
  const KeyerState& State() const {
    static const KeyerState none;
    return states_.empty() ? none : states_.back();
  }

  int port_ = FreeUdpPort();
  std::string log_ = (std::filesystem::temp_directory_path() /
                      ("keldra-cwdaemon-" + std::to_string(getpid()) + ".log"))
                         .string();
  pid_t pid_ = 0;
  EventPump pump_;
  std::vector<KeyerState> states_;
};

TEST_F(CwdaemonPosixTest, KeysAtItsSpeedAndAbortsOnEsc) {
  StartDaemon();
  std::unique_ptr<Cwdaemon> keyer = Open(true);
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kConnected; }));
  keyer->Send("cq test qx0abc");
  ASSERT_TRUE(RunUntil([&] { return State().busy; }));
  keyer->SetSpeed(40);
  // The daemon says when it has keyed the message.
  ASSERT_TRUE(RunUntil([&] { return !State().busy; }));
  keyer->Send("QX1ZZ 5NN 001 JN81GD");
  ASSERT_TRUE(RunUntil([&] { return State().busy; }));
  keyer->Stop();
  ASSERT_TRUE(RunUntil([&] { return !State().busy; }));
  std::this_thread::sleep_for(200ms);
  const std::string log = Log();
  for (const char* heard :
       {"requested morse speed [wpm]: \"30\"", "request: \"cq test qx0abc\"",
        "requested morse speed [wpm]: \"40\"", "request: \"QX1ZZ 5NN 001 JN81GD\"",
        "requested aborting of message", "PTT off"}) {
    EXPECT_NE(log.find(heard), std::string::npos) << heard << "\n" << log;
  }
  EXPECT_LT(log.find("\"30\""), log.find("cq test"));
  EXPECT_LT(log.find("cq test"), log.find("\"40\""));
  const KeyerProbe probe =
      ProbeCwdaemon({KeyerKind::kCwdaemon, "127.0.0.1:" + std::to_string(port_), 40});
  EXPECT_TRUE(probe.answered) << probe.text;
}

TEST_F(CwdaemonPosixTest, ADaemonNotRunningIsSaidOnceAndFoundWhenItStarts) {
  std::unique_ptr<Cwdaemon> keyer = Open();
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kNotConnected; }));
  EXPECT_EQ(State().problem,
            "cwdaemon non risponde su 127.0.0.1:" + std::to_string(port_) + " (non avviato?)");
  const std::size_t said = states_.size();
  StartDaemon();
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kConnected; }));
  EXPECT_EQ(states_.size(), said + 1);
  // Killed while keying: said, and looked for again.
  keyer->Send("CQ");
  StopDaemon();
  ASSERT_TRUE(RunUntil([&] { return State().link == LinkState::kNotConnected; }, 20s));
}

}  // namespace
}  // namespace keldra::testing

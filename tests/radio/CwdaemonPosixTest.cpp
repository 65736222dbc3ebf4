// The cwdaemon driver against the real daemon, started on a free port with no keying device and
// no sound (-d null -x n); what it received is read from its own debug log.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "radio/drivers/Cwdaemon.h"
#include "support/EventPump.h"
#include "system/Datagram.h"

extern char** environ;

namespace keldra::testing {
namespace {

using namespace std::chrono_literals;

TEST(CwdaemonPosixTest, FoundWhenItStartsKeysAtItsSpeedAbortsAndIsMissedWhenKilled) {
  const std::string daemon = "/usr/sbin/cwdaemon";
  if (!std::filesystem::exists(daemon)) {
    GTEST_SKIP() << "cwdaemon is not installed (apt-get install cwdaemon)";
  }
  DatagramSocket free;  // a port nobody listens on
  free.Bind(0);
  const std::string port = std::to_string(free.Port());
  free.Close();
  const std::string log = std::filesystem::temp_directory_path() / ("keldra-cwdaemon-" + port);
  EventPump pump;
  std::vector<KeyerState> states;
  Cwdaemon keyer({KeyerKind::kCwdaemon, "127.0.0.1:" + port, 30, true},
                 [&pump](std::function<void()> job) { pump.Post(job); });
  keyer.Changed = [&states](const KeyerState& state) { states.push_back(state); };
  const auto until = [&](auto done) { return pump.RunUntil(done, 8s); };
  const auto link = [&](LinkState state) {
    return until([&] { return !states.empty() && states.back().link == state; });
  };
  ASSERT_TRUE(link(LinkState::kNotConnected));
  EXPECT_EQ(states.back().problem,
            "cwdaemon non risponde su 127.0.0.1:" + port + " (non avviato?)");

  std::vector<std::string> args = {daemon, "-n", "-d", "null", "-x", "n",
                                   "-p",   port, "-y", "i",    "-f", log};
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, daemon.c_str(), nullptr, nullptr, argv.data(), environ), 0);
  const auto stop = [&pid] {
    const pid_t running = std::exchange(pid, 0);
    kill(running, SIGTERM);
    waitpid(running, nullptr, 0);
  };
  const std::unique_ptr<void, std::function<void(void*)>> reaped(&pid, [&](void*) {
    if (pid > 0) {
      stop();
    }
  });
  ASSERT_TRUE(link(LinkState::kConnected));
  keyer.Send("cq test qx0abc");
  ASSERT_TRUE(until([&] { return states.back().busy; }));
  keyer.SetSpeed(40);
  ASSERT_TRUE(until([&] { return !states.back().busy; }));  // the daemon said it keyed it
  keyer.Send("QX1ZZ 5NN 001 JN81GD");
  ASSERT_TRUE(until([&] { return states.back().busy; }));
  keyer.Stop();
  ASSERT_TRUE(until([&] { return !states.back().busy; }));
  const KeyerProbe probe = ProbeCwdaemon({KeyerKind::kCwdaemon, "127.0.0.1:" + port, 40});
  EXPECT_TRUE(probe.answered) << probe.text;
  std::stringstream heard;
  heard << std::ifstream(log).rdbuf();
  std::size_t at = 0;  // in this order
  for (const char* request : {"wpm]: \"30\"", "request: \"cq test qx0abc\"", "wpm]: \"40\"",
                              "request: \"QX1ZZ 5NN 001 JN81GD\"", "aborting of message", "PTT off",
                              "request: \"VVV\""}) {
    EXPECT_NE(at = heard.str().find(request, at), std::string::npos) << request << heard.str();
  }

  keyer.Send("CQ");
  stop();
  EXPECT_TRUE(pump.RunUntil([&] { return states.back().link == LinkState::kNotConnected; }, 20s));
}

}  // namespace
}  // namespace keldra::testing

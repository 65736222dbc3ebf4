// Hamlib's daemons (rigctld, rotctld, with their dummy devices) started, paused and killed on
// the Linux host, for the tests of the daemon client. Under Wine a Windows program can start a
// Linux program but cannot wait for it or signal it, so every step is a shell line on the host
// and its effect is watched on the daemon's port.
#pragma once

#include <filesystem>
#include <string>

namespace keldra::testing {

// Runs `/bin/sh -c line` on the host; it may still be running when this returns.
void OnHost(const std::string& line);
// Whether the host has the program in /usr/bin.
bool HostHas(const std::string& program);

// Whether something accepts connections on the loopback port.
bool Listening(int port);
// A loopback port nobody listens on now.
int FreePort();

// Hamlib's daemons as this system runs them, put in `folder` for the program to find: on Linux
// scripts that run the real rigctld and rotctld, under Wine the tests' own stand-in (the real ones
// are Linux programs that Windows cannot start and end). `version` other than empty: what
// --version tells instead. A daemon asked for BusyPort() stops at once with Hamlib's words.
bool MakeDaemons(const std::filesystem::path& folder, const std::string& version = "");
std::string BusyPort();
// A process of this system, by its number.
bool Alive(long id);
void Kill(long id);

class HostDaemon {
 public:
  // `options` go on the daemon's command line ("-P RIG": the dummy rig keys its own PTT).
  HostDaemon(std::string program, int port, std::string options = "");
  ~HostDaemon();
  HostDaemon(const HostDaemon&) = delete;
  HostDaemon& operator=(const HostDaemon&) = delete;

  // Each returns once the port shows it (at most a few seconds).
  void Start();
  void Kill();
  // A stopped daemon still has its port open: connections are accepted and never answered.
  void Pause();
  void Resume();

  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  int Port() const { return port_; }

 private:
  std::string program_;
  int port_;
  std::string options_;
  std::string pid_file_;
};

}  // namespace keldra::testing

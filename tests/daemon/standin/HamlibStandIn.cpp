// The tests' own rigctld.exe and rotctld.exe for Windows (the real ones here are Linux programs,
// which Windows cannot start and end): it prints a model table as `-l` does and its version as
// `--version` does (from NAME.version beside it, when there is one), opens the serial port it is
// given as rigctld does (stopping with Hamlib's words when it cannot), and answers the extended
// protocol's commands the daemon driver uses on -T:-t, one thread a client, for a dummy device.
// Beside it, NAME.mode sets the rig's mode at start, and an NAME.log that exists is given its
// command line and every command it answers, so a test sees how it was started and reached.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

namespace {

std::atomic<long long> frequency{145000000};
std::atomic<int> azimuth{0};
std::atomic<int> ptt{0};
std::string mode = "FM";  // set and read under the lock
std::mutex mode_lock;
std::filesystem::path log_path;  // empty: no log
std::mutex log_lock;

void Log(const std::string& line) {
  if (!log_path.empty()) {
    const std::lock_guard lock(log_lock);
    std::ofstream(log_path, std::ios::app) << line << "\n";
  }
}

std::string Answer(const std::string& line) {
  const std::string command = line.substr(0, line.find(' '));
  const std::string rest = line.size() > command.size() ? line.substr(command.size() + 1) : "";
  if (command == "+f") {
    return "get_freq:\nFrequency: " + std::to_string(frequency.load()) + "\nRPRT 0\n";
  }
  if (command == "+F") {
    frequency = std::atoll(rest.c_str());
    return "set_freq: " + rest + "\nRPRT 0\n";
  }
  if (command == "+m") {
    const std::lock_guard lock(mode_lock);
    return "get_mode:\nMode: " + mode + "\nPassband: 15000\nRPRT 0\n";
  }
  if (command == "+M") {
    const std::lock_guard lock(mode_lock);
    mode = rest.substr(0, rest.find(' '));
    return "set_mode: " + rest + "\nRPRT 0\n";
  }
  if (command == "+p") {
    return "get_pos:\nAzimuth: " + std::to_string(azimuth.load()) +
           ".000000\nElevation: 0\nRPRT 0\n";
  }
  if (command == "+P") {
    azimuth = std::atoi(rest.c_str());
    return "set_pos: " + rest + "\nRPRT 0\n";
  }
  if (command == "+T") {
    ptt = std::atoi(rest.c_str());
    return "set_ptt: " + rest + "\nRPRT 0\n";
  }
  if (command == "+t") {
    return "get_ptt:\nPTT: " + std::to_string(ptt.load()) + "\nRPRT 0\n";
  }
  if (command == "+\\dump_caps") {
    return "dump_caps:\nModel name:\tDummy\nMfg name:\tHamlib\nMin Azimuth:\t-180.00\n"
           "Max Azimuth:\t180.00\nRPRT 0\n";
  }
  if (command == "+b" || command == "+\\stop_morse" || command == "+S" || command == "+L") {
    return command + ":\nRPRT 0\n";
  }
  return "RPRT -11\n";
}

void Serve(SOCKET client) {
  std::string received;
  char buffer[512];
  int got = 0;
  while ((got = recv(client, buffer, sizeof buffer, 0)) > 0) {
    received.append(buffer, got);
    for (size_t end; (end = received.find('\n')) != std::string::npos;) {
      std::string line = received.substr(0, end);
      received.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      Log(line);
      const std::string answer = Answer(line);
      send(client, answer.data(), static_cast<int>(answer.size()), 0);
    }
  }
  closesocket(client);
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::filesystem::path self(argv[0]);
  const std::string name = self.stem().string();
  const bool rotator = name.starts_with("rot");
  std::ifstream(self.parent_path() / (name + ".mode")) >> mode;
  if (std::filesystem::exists(self.parent_path() / (name + ".log"))) {
    log_path = self.parent_path() / (name + ".log");
    std::string command_line = name;
    for (int i = 1; i < argc; ++i) {
      command_line += std::string(" ") + argv[i];
    }
    Log(command_line);
  }
  std::string host = "127.0.0.1";
  std::string port = rotator ? "4533" : "4532";
  std::string device;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const std::string value = i + 1 < argc ? argv[i + 1] : "";
    if (argument == "--version") {
      std::string version = "4.5.4";
      std::ifstream(self.parent_path() / (name + ".version")) >> version;
      std::printf("%s Hamlib %s Jan 10 01:31:41Z 2023 SHA=921cc5\n", name.c_str(), version.c_str());
      return 0;
    }
    if (argument == "-l") {
      const char* kind = rotator ? "ROT" : "RIG";
      std::printf(" %s #  Mfg                    Model                   Version         Status\n",
                  rotator ? "Rot" : "Rig");
      std::printf(
          "     1  Hamlib                 Dummy                   20221128.0      Stable"
          "      %s_MODEL_DUMMY\n",
          kind);
      std::printf(
          "     2  Hamlib                 NET %sctl              20230106.0      Stable"
          "      %s_MODEL_NET\n",
          rotator ? "rot" : "rig", kind);
      std::printf(
          "  1020  Yaesu                  FT-817                  20220525.0      Stable"
          "      %s_MODEL_FT817\n",
          kind);
      return 0;
    }
    if (argument == "-T" || argument == "-t" || argument == "-r") {
      (argument == "-T" ? host : argument == "-t" ? port : device) = value;
      ++i;
    }
  }
  if (!device.empty()) {
    const std::string path = "\\\\.\\" + device;
    const HANDLE serial = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (serial == INVALID_HANDLE_VALUE) {
      char words[256] = "";
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     GetLastError(), 0, words, sizeof words, nullptr);
      std::fprintf(stderr, "serial_open: Unable to open %s - %s\n%s_open: error = IO error\n",
                   device.c_str(), words, rotator ? "rot" : "rig");
      return 2;
    }
  }
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) {
    return 1;
  }
  const SOCKET listener = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (bind(listener, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 ||
      listen(listener, 8) != 0) {
    std::fprintf(stderr, "bind error - Address already in use\n");
    return 1;
  }
  for (SOCKET client; (client = accept(listener, nullptr, nullptr)) != INVALID_SOCKET;) {
    std::thread(Serve, client).detach();
  }
  return 0;
}

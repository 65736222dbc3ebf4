// The rig and the rotator through Hamlib's own network daemons, rigctld and rotctld, spoken to in
// their documented text protocol over TCP, with no device library in this program: the Windows
// build's way to the devices. Each device has a thread of its own (DeviceThread) that keeps one
// connection to its daemon, polls it about once a second, carries out the commands queued to it
// and connects again by itself when the daemon comes back. Every exchange is bounded by the
// answer time-out, so a daemon that stalls never holds up the windows; readings go back through
// `post`, which runs its job on the user-interface thread.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "radio/DeviceThread.h"
#include "radio/Radio.h"
#include "system/Socket.h"

namespace keldra {

// One answer of the extended protocol ("+" before the command): the values the daemon gave by
// name, and the code on its closing "RPRT n" line.
struct DaemonAnswer {
  // Hamlib's code (0: done; negative: the device behind the daemon failed), or kNoAnswer when
  // the daemon itself could not be reached or did not answer in time.
  static constexpr int kNoAnswer = 1000;
  int code = kNoAnswer;
  std::vector<std::pair<std::string, std::string>> values;
  std::string problem;  // why it failed, for the operator (UTF-8); empty when it was done

  bool Done() const { return code == 0; }
  // The daemon answered, but the device cannot do what was asked.
  bool Unsupported() const;
  std::optional<std::string> Value(std::string_view name) const;
};

// One daemon at "host:port" ("host" alone takes the daemon's usual port, nothing at all this PC).
// The connection opens at the first question and closes on any failure of the exchange, so the
// next question connects afresh and a late answer is never taken for the next one.
class DaemonConnection {
 public:
  // `daemon` and `device` name them in messages ("rigctld", "la radio").
  DaemonConnection(std::string daemon, std::string device, int default_port,
                   std::chrono::milliseconds answer)
      : daemon_(std::move(daemon)),
        device_(std::move(device)),
        default_port_(default_port),
        answer_(answer),
        port_(default_port) {}

  void SetAddress(const std::string& address);
  // `command` without the leading "+" and the line end; `limit` for a command that takes longer.
  DaemonAnswer Ask(std::string_view command, std::optional<std::chrono::milliseconds> limit = {});
  // Closes the connection on an answer that made no sense, and says so.
  DaemonAnswer Invalid();
  void Close() { socket_.Close(); }
  bool IsOpen() const { return socket_.IsOpen(); }
  // host:port as it is reached, for messages.
  std::string Where() const;

 private:
  DaemonAnswer Failed(std::string problem);

  std::string daemon_;
  std::string device_;
  int default_port_;
  std::chrono::milliseconds answer_;
  std::string host_ = "localhost";
  int port_;
  std::string bad_address_;  // what the operator wrote, when it is no host:port
  TcpSocket socket_;
};

class DaemonRadio : public Radio {
 public:
  // Hamlib's numbers for its network models (NET rigctl, NET rotctl), so that radio.txt means the
  // same devices on Linux and on Windows.
  static constexpr int kRigDaemonModel = 2;
  static constexpr int kRotatorDaemonModel = 2;
  static constexpr int kRigDaemonPort = 4532;
  static constexpr int kRotatorDaemonPort = 4533;

  explicit DaemonRadio(PostToUi post, DeviceTiming timing = {});
  ~DaemonRadio() override;
  DaemonRadio(const DaemonRadio&) = delete;
  DaemonRadio& operator=(const DaemonRadio&) = delete;

  std::vector<DeviceModel> RigModels() override;
  std::vector<DeviceModel> RotatorModels() override;
  std::string PortHint(bool rotator) const override {
    return rotator ? "host:porta di rotctld; vuoto: localhost:4533, rotctld su questo PC"
                   : "host:porta di rigctld; vuoto: localhost:4532, rigctld su questo PC";
  }
  void Connect(const DeviceLink& rig, const DeviceLink& rotator) override;
  void TurnTo(double azimuth) override;
  void StopTurning() override;
  void SendMorse(const std::string& text) override;
  void StopMorse() override;
  void SetMorseSpeed(int wpm) override;
  void SetPtt(bool on, std::function<void(const std::string&)> done) override;
  void Probe(const DeviceLink& rig, const DeviceLink& rotator,
             std::function<void(const ProbeResult&)> done) override;

  class RigThread;
  class RotatorThread;

 private:
  PostToUi post_;
  DeviceTiming timing_;
  std::unique_ptr<RigThread> rig_;
  std::unique_ptr<RotatorThread> rotator_;
  std::mutex probes_mutex_;
  std::vector<std::thread> probes_;
};

}  // namespace keldra

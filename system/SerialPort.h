// A serial port (a USB serial adapter, a COM port): a keyer's link, and the classic PTT interface
// that keys the transmitter with the RTS or DTR line. Every read is bounded by a deadline, so a
// device that stops answering costs its caller one time-out. The calls are the system's own, one
// file per system (SerialPortPosix.cpp, SerialPortWindows.cpp).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace keldra {

enum class SerialFailure { kNone, kNotFound, kBusy, kDenied, kSettings, kTimedOut, kGone, kOther };

enum class Parity { kNone, kEven, kOdd };

struct SerialSettings {
  int baud = 9600;
  int data_bits = 8;
  Parity parity = Parity::kNone;
  int stop_bits = 1;
  // The lines' state once open (a WinKeyer is powered from DTR; a PTT interface keys on either).
  bool dtr = false;
  bool rts = false;
};

// A port the system lists, as the operator chooses it.
struct SerialPortName {
  std::string path;   // "/dev/ttyUSB0", "/dev/serial/by-id/usb-…", "COM3"
  std::string label;  // what to show: the path, with the device's name where the system has one
};

// The ports present now: on Linux the stable names under /dev/serial/by-id/ first, then
// /dev/ttyUSB* and /dev/ttyACM*; on Windows the COM ports Windows lists.
std::vector<SerialPortName> ListSerialPorts();

class SerialPort {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  SerialPort() = default;
  ~SerialPort() { Close(); }
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the port for this program alone (a port another program holds is kBusy).
  SerialFailure Open(const std::string& path, const SerialSettings& settings);
  SerialFailure Write(std::string_view bytes);
  // Appends what arrives, at least one byte, or says why nothing did before the deadline.
  SerialFailure Read(std::string& into, Deadline deadline);
  SerialFailure SetDtr(bool on);
  SerialFailure SetRts(bool on);
  void Close();
  bool IsOpen() const { return handle_ != kNoPort; }

 private:
  // An int descriptor on POSIX, a HANDLE on Windows.
  static constexpr std::intptr_t kNoPort = -1;
  std::intptr_t handle_ = kNoPort;
};

// The failure in Italian words, naming the port (UTF-8), for the settings window and messages.
std::string SerialFailureText(SerialFailure failure, const std::string& path);

}  // namespace keldra

// The serial port calls of Linux and the other POSIX systems (termios).
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "system/SerialPort.h"

namespace keldra {
namespace {

// A write that the device does not take within this long counts as a device gone quiet.
constexpr std::chrono::seconds kWriteTime{2};

int MillisLeft(SerialPort::Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 60'000));
}

SerialFailure FailureOf(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
      return SerialFailure::kNotFound;
    case EBUSY:
    case EWOULDBLOCK:
      return SerialFailure::kBusy;
    case EACCES:
    case EPERM:
      return SerialFailure::kDenied;
    case EIO:
    case ENXIO:
    case EBADF:
      // What a USB adapter pulled out mid-use answers.
      return SerialFailure::kGone;
    default:
      return SerialFailure::kOther;
  }
}

// Waits for the port; a device that hung up or failed is gone.
SerialFailure WaitFor(int port, short events, SerialPort::Deadline deadline) {
  while (true) {
    pollfd entry{port, events, 0};
    const int ready = poll(&entry, 1, MillisLeft(deadline));
    if (ready > 0) {
      return (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (entry.revents & events) == 0
                 ? SerialFailure::kGone
                 : SerialFailure::kNone;
    }
    if (ready == 0) {
      return SerialFailure::kTimedOut;
    }
    if (errno != EINTR) {
      return FailureOf(errno);
    }
  }
}

bool SpeedOf(int baud, speed_t& speed) {
  static constexpr std::pair<int, speed_t> kSpeeds[] = {
      {1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
      {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
  for (const auto& [rate, code] : kSpeeds) {
    if (rate == baud) {
      speed = code;
      return true;
    }
  }
  return false;
}

bool Configure(int port, const SerialSettings& settings) {
  termios mode{};
  speed_t speed = B9600;
  if (tcgetattr(port, &mode) != 0 || !SpeedOf(settings.baud, speed) || settings.data_bits < 5 ||
      settings.data_bits > 8) {
    return false;
  }
  cfmakeraw(&mode);
  cfsetispeed(&mode, speed);
  cfsetospeed(&mode, speed);
  mode.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  mode.c_cflag |= kSizes[settings.data_bits - 5] | CLOCAL | CREAD;
  if (settings.parity != Parity::kNone) {
    mode.c_cflag |= PARENB | (settings.parity == Parity::kOdd ? PARODD : 0);
  }
  if (settings.stop_bits == 2) {
    mode.c_cflag |= CSTOPB;
  }
  mode.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  mode.c_cc[VMIN] = 0;
  mode.c_cc[VTIME] = 0;
  return tcsetattr(port, TCSANOW, &mode) == 0;
}

SerialFailure SetLine(std::intptr_t handle, int line, bool on) {
  int bits = line;
  if (ioctl(static_cast<int>(handle), on ? TIOCMBIS : TIOCMBIC, &bits) != 0) {
    return errno == EIO || errno == ENXIO ? SerialFailure::kGone : SerialFailure::kSettings;
  }
  return SerialFailure::kNone;
}

}  // namespace

std::vector<SerialPortName> ListSerialPorts() {
  namespace fs = std::filesystem;
  std::vector<SerialPortName> ports;
  std::error_code error;
  // The stable names first: they stay the same whichever order the adapters were plugged in.
  std::vector<SerialPortName> stable;
  for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", error)) {
    const fs::path target = fs::canonical(entry.path(), error);
    stable.push_back({entry.path().string(), entry.path().filename().string() +
                                                 (error ? "" : " (" + target.string() + ")")});
  }
  std::sort(stable.begin(), stable.end(),
            [](const auto& a, const auto& b) { return a.path < b.path; });
  ports = std::move(stable);
  std::vector<SerialPortName> plain;
  for (const auto& entry : fs::directory_iterator("/dev", error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) {
      plain.push_back({entry.path().string(), entry.path().string()});
    }
  }
  // ttyUSB2 before ttyUSB10.
  std::sort(plain.begin(), plain.end(), [](const auto& a, const auto& b) {
    return a.path.size() != b.path.size() ? a.path.size() < b.path.size() : a.path < b.path;
  });
  ports.insert(ports.end(), plain.begin(), plain.end());
  return ports;
}

SerialFailure SerialPort::Open(const std::string& path, const SerialSettings& settings) {
  Close();
  const int port = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (port < 0) {
    return FailureOf(errno);
  }
  // For this program alone: another program that holds it (or opens it later) is told so.
  if (flock(port, LOCK_EX | LOCK_NB) != 0) {
    close(port);
    return SerialFailure::kBusy;
  }
  ioctl(port, TIOCEXCL);
  if (!Configure(port, settings)) {
    close(port);
    return SerialFailure::kSettings;
  }
  handle_ = port;
  // A pseudo-terminal has no modem lines; a real port takes them.
  SetDtr(settings.dtr);
  SetRts(settings.rts);
  return SerialFailure::kNone;
}

SerialFailure SerialPort::Write(std::string_view bytes) {
  if (handle_ == kNoPort) {
    return SerialFailure::kGone;
  }
  const int port = static_cast<int>(handle_);
  const Deadline deadline = std::chrono::steady_clock::now() + kWriteTime;
  while (!bytes.empty()) {
    const ssize_t written = write(port, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<size_t>(written));
    } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
      return FailureOf(errno);
    } else if (const SerialFailure waited = WaitFor(port, POLLOUT, deadline);
               waited != SerialFailure::kNone) {
      return waited;
    }
  }
  return SerialFailure::kNone;
}

SerialFailure SerialPort::Read(std::string& into, Deadline deadline) {
  if (handle_ == kNoPort) {
    return SerialFailure::kGone;
  }
  const int port = static_cast<int>(handle_);
  char buffer[512];
  bool readable = false;
  while (true) {
    const ssize_t got = read(port, buffer, sizeof buffer);
    if (got > 0) {
      into.append(buffer, static_cast<size_t>(got));
      return SerialFailure::kNone;
    }
    if (got < 0 && errno != EAGAIN && errno != EINTR) {
      return FailureOf(errno);
    }
    // Readable, yet nothing to read: the other end hung up.
    if (got == 0 && readable) {
      return SerialFailure::kGone;
    }
    if (const SerialFailure waited = WaitFor(port, POLLIN, deadline);
        waited != SerialFailure::kNone) {
      return waited;
    }
    readable = true;
  }
}

SerialFailure SerialPort::SetDtr(bool on) {
  return handle_ == kNoPort ? SerialFailure::kGone : SetLine(handle_, TIOCM_DTR, on);
}

SerialFailure SerialPort::SetRts(bool on) {
  return handle_ == kNoPort ? SerialFailure::kGone : SetLine(handle_, TIOCM_RTS, on);
}

void SerialPort::Close() {
  if (handle_ != kNoPort) {
    close(static_cast<int>(handle_));
    handle_ = kNoPort;
  }
}

}  // namespace keldra

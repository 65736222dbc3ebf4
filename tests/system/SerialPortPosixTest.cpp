// The serial port on a pseudo-terminal: bytes both ways, a port held by another opener, a device
// that goes away and one that says nothing (POSIX).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "system/SerialPort.h"

namespace keldra::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The device's end of a pseudo-terminal; the port under test opens the other end by its name.
struct Pty {
  Pty() {
    device = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(device);
    unlockpt(device);
    name = ptsname(device);
  }
  ~Pty() {
    if (device >= 0) {
      close(device);
    }
  }
  int device = -1;
  std::string name;
};

const SerialSettings kKeyer{1200, 8, Parity::kNone, 2, true, false};

TEST(SerialPortTest, CarriesBytesBothWaysAndTimesOutOnSilence) {
  Pty pty;
  SerialPort port;
  ASSERT_EQ(port.Open(pty.name, kKeyer), SerialFailure::kNone);
  ASSERT_EQ(port.Write(std::string("\x00\x02", 2)), SerialFailure::kNone);
  char got[2] = {};
  ASSERT_EQ(read(pty.device, got, 2), 2);
  EXPECT_EQ(std::string(got, 2), std::string("\x00\x02", 2));

  std::string into;
  const auto started = steady_clock::now();
  EXPECT_EQ(port.Read(into, started + milliseconds(100)), SerialFailure::kTimedOut);
  EXPECT_GE(steady_clock::now() - started, milliseconds(90));
  ASSERT_EQ(write(pty.device, "\x17", 1), 1);
  EXPECT_EQ(port.Read(into, steady_clock::now() + milliseconds(500)), SerialFailure::kNone);
  EXPECT_EQ(into, "\x17");
}

TEST(SerialPortTest, APortHeldOrMissingOrGoneIsToldApart) {
  Pty pty;
  SerialPort first;
  ASSERT_EQ(first.Open(pty.name, kKeyer), SerialFailure::kNone);
  SerialPort second;
  EXPECT_EQ(second.Open(pty.name, kKeyer), SerialFailure::kBusy);
  EXPECT_EQ(second.Open("/dev/ttyUSB-not-there", kKeyer), SerialFailure::kNotFound);

  // The device pulled out: the port says so, at once, however long the deadline.
  close(pty.device);
  pty.device = -1;
  std::string into;
  const auto started = steady_clock::now();
  EXPECT_EQ(first.Read(into, started + std::chrono::seconds(5)), SerialFailure::kGone);
  EXPECT_LT(steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_EQ(SerialFailureText(SerialFailure::kBusy, "/dev/ttyUSB0"),
            "La porta seriale /dev/ttyUSB0 è già in uso da un altro programma.");
}

TEST(SerialPortTest, ASpeedThePortCannotTakeIsRefused) {
  Pty pty;
  SerialPort port;
  EXPECT_EQ(port.Open(pty.name, {1234, 8, Parity::kNone, 1}), SerialFailure::kSettings);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.Open(pty.name, kKeyer), SerialFailure::kNone);
}

}  // namespace
}  // namespace keldra::testing

// UDP datagrams on the loopback interface: one sent is one received, whole; a listener that
// hears nothing says so at its deadline; a peer that is not there costs the sender nothing.
#include <gtest/gtest.h>

#include <string>

#include "system/Datagram.h"

namespace keldra::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(DatagramTest, ADatagramArrivesWholeAndSilenceTimesOut) {
  DatagramSocket listener;
  ASSERT_EQ(listener.Bind(0), SocketFailure::kNone);
  ASSERT_GT(listener.Port(), 0);
  DatagramSocket sender;
  ASSERT_EQ(sender.Open("127.0.0.1", listener.Port()), SocketFailure::kNone);
  const std::string big(20'000, 'x');
  ASSERT_EQ(sender.Send("\x1b"
                        "230"),
            SocketFailure::kNone);
  ASSERT_EQ(sender.Send(big), SocketFailure::kNone);
  std::string got;
  ASSERT_EQ(listener.Receive(got, steady_clock::now() + milliseconds(1000)), SocketFailure::kNone);
  EXPECT_EQ(got,
            "\x1b"
            "230");
  ASSERT_EQ(listener.Receive(got, steady_clock::now() + milliseconds(1000)), SocketFailure::kNone);
  EXPECT_EQ(got, big);
  EXPECT_EQ(listener.Receive(got, steady_clock::now() + milliseconds(50)),
            SocketFailure::kTimedOut);
  EXPECT_TRUE(got.empty());
}

TEST(DatagramTest, NobodyListeningOrAnUnknownHostNeverHoldsTheSender) {
  int free_port = 0;
  {
    DatagramSocket probe;
    ASSERT_EQ(probe.Bind(0), SocketFailure::kNone);
    free_port = probe.Port();
  }
  DatagramSocket sender;
  ASSERT_EQ(sender.Open("localhost", free_port), SocketFailure::kNone);
  const auto started = steady_clock::now();
  for (int i = 0; i < 3; ++i) {
    sender.Send("VVV");
  }
  EXPECT_LT(steady_clock::now() - started, milliseconds(200));
  EXPECT_EQ(sender.Open("no-such-host.invalid", 6789), SocketFailure::kUnknownHost);
  EXPECT_EQ(sender.Send("x"), SocketFailure::kClosed);
}

}  // namespace
}  // namespace keldra::testing

// The few socket calls a test's own server needs on the loopback interface, one file per system
// (LoopbackPosix.cpp, LoopbackWindows.cpp); every wait is bounded so a server thread stops on
// time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace keldra::testing::loopback {

using Fd = std::intptr_t;
inline constexpr Fd kNone = -1;

// A listening socket on 127.0.0.1 and a free port, told in `port`.
Fd Listen(int& port);
// A connection that arrived within the time, or kNone.
Fd Accept(Fd listener, int timeout_ms);
// Bytes appended to `into`: the count, 0 when the peer closed, -1 when nothing came in time.
int Receive(Fd fd, std::string& into, int timeout_ms);
bool SendAll(Fd fd, std::string_view bytes);
void Close(Fd fd);

}  // namespace keldra::testing::loopback

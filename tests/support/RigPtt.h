// The PTT as rigctld's rig has it now ("0", "1"; "?" when the daemon did not say), asked as
// another program would ask it. A daemon busy with the program's own connection may leave this
// one unanswered under load, which says nothing of the PTT: it is asked again, a few times.
#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "radio/drivers/DaemonRadio.h"

namespace keldra::testing {

inline std::string PttAt(const std::string& address) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    DaemonConnection rig("rigctld", "la radio", DaemonRadio::kRigDaemonPort,
                         std::chrono::milliseconds(2000));
    rig.SetAddress(address);
    if (const auto ptt = rig.Ask("t").Value("PTT")) {
      return *ptt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return "?";
}

}  // namespace keldra::testing

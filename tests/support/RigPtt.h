// The PTT as rigctld's rig has it now ("0", "1"; "?" when the daemon did not say), asked as
// another program would ask it.
#pragma once

#include <string>

#include "radio/drivers/DaemonRadio.h"

namespace keldra::testing {

inline std::string PttAt(const std::string& address) {
  DaemonConnection rig("rigctld", "la radio", DaemonRadio::kRigDaemonPort,
                       std::chrono::milliseconds(2000));
  rig.SetAddress(address);
  return rig.Ask("t").Value("PTT").value_or("?");
}

}  // namespace keldra::testing

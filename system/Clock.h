// The clock: local and UTC date and time. Program is built with one, so tests replace it with a
// fixed clock of a chosen UTC offset (tests/support/).
#pragma once

#include "system/DateTime.h"

namespace keldra {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Local() const = 0;
  virtual DateTime Utc() const = 0;
};

// The PC clock.
class SystemClock : public Clock {
 public:
  DateTime Local() const override;
  DateTime Utc() const override;
};

}  // namespace keldra

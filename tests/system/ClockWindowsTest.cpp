// The PC clock on Windows, on a PC set to Italian time: scripts/windows runs this under
// TZ=Europe/Rome at a summer, a winter and a just-after-midnight instant (faketime), naming the
// UTC date and time the clock must give and the local offset; elsewhere it is skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "system/Clock.h"

namespace keldra {
namespace {

int MinutesOfDay(const DateTime& t) { return t.hour * 60 + t.minute; }

TEST(SystemClockTest, UtcIsTheItalianTimeLessItsOffsetAcrossTheDay) {
  const char* utc_text = std::getenv("KELDRA_CLOCK_UTC");        // "2026-07-15 21:30"
  const char* offset_text = std::getenv("KELDRA_CLOCK_OFFSET");  // minutes east of UTC
  if (utc_text == nullptr || offset_text == nullptr) {
    GTEST_SKIP() << "run by scripts/windows with the time and time zone set";
  }
  const SystemClock clock;
  const DateTime local = clock.Local();
  const DateTime utc = clock.Utc();
  char shown[32];
  std::snprintf(shown, sizeof shown, "%04d-%02d-%02d %02d:%02d", utc.year, utc.month, utc.day,
                utc.hour, utc.minute);
  EXPECT_EQ(std::string(shown), utc_text);
  // The local time is the UTC time moved by the offset, across midnight and the month's end.
  EXPECT_EQ(AddMinutes(utc, std::atoi(offset_text)).day, local.day);
  EXPECT_EQ(MinutesOfDay(AddMinutes(utc, std::atoi(offset_text))), MinutesOfDay(local));
}

}  // namespace
}  // namespace keldra

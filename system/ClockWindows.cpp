#include <windows.h>

#include "system/Clock.h"

namespace keldra {
namespace {

DateTime FromSystemTime(const SYSTEMTIME& t) {
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

// Windows keeps the time in UTC and applies the PC's time zone and its summer-time rule itself,
// so the local time is the one the PC's clock shows and the UTC time never depends on it.
DateTime SystemClock::Local() const {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return FromSystemTime(t);
}

DateTime SystemClock::Utc() const {
  SYSTEMTIME t{};
  GetSystemTime(&t);
  return FromSystemTime(t);
}

}  // namespace keldra

#include "platform/Services.h"

#include <chrono>
#include <ctime>

namespace keldra {
namespace {

// The thread-safe conversions have other names and argument orders on Windows.
void ToLocal(std::time_t t, std::tm& tm) {
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
}

void ToUtc(std::time_t t, std::tm& tm) {
#ifdef _WIN32
  gmtime_s(&tm, &t);
#else
  gmtime_r(&t, &tm);
#endif
}

DateTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace

DateTime SystemClock::Local() const {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ToLocal(now, tm);
  return FromTm(tm);
}

DateTime SystemClock::Utc() const {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ToUtc(now, tm);
  return FromTm(tm);
}

}  // namespace keldra

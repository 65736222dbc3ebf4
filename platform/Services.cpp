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

DateTime AddMinutes(const DateTime& t, int minutes) {
  using namespace std::chrono;
  const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                      std::chrono::day{static_cast<unsigned>(t.day)}};
  const auto moment =
      day + hours{t.hour} + std::chrono::minutes{t.minute + minutes} + seconds{t.second};
  const sys_days new_day = floor<days>(moment);
  const year_month_day ymd{new_day};
  const hh_mm_ss<seconds> hms{floor<seconds>(moment - new_day)};
  return {static_cast<int>(ymd.year()),
          static_cast<int>(unsigned(ymd.month())),
          static_cast<int>(unsigned(ymd.day())),
          static_cast<int>(hms.hours().count()),
          static_cast<int>(hms.minutes().count()),
          static_cast<int>(hms.seconds().count())};
}

DateTime FixedClock::Utc() const { return AddMinutes(local_, -offset_minutes_); }

}  // namespace keldra

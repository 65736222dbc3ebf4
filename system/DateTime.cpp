#include "system/DateTime.h"

#include <chrono>

namespace keldra {

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

}  // namespace keldra

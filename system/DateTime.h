// A local or UTC date and time as the clock gives it and the entry row shows it, to the second.
#pragma once

namespace keldra {

struct DateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Adds minutes to a date and time, across days, months and years.
DateTime AddMinutes(const DateTime& t, int minutes);

}  // namespace keldra

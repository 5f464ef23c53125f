#include "platform/clock_text.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

CalendarTime UtcFromEpoch(int64_t seconds) {
  // Days since the epoch to a civil date in the proleptic Gregorian
  // calendar, counted in 400-year eras that start on 1 March.
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const int64_t shifted = days + 719468;
  const int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const int64_t day_of_era = shifted - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t month_index = (5 * day_of_year + 2) / 153;  // 0 = March
  const int64_t day = day_of_year - (153 * month_index + 2) / 5 + 1;
  const int64_t month = month_index < 10 ? month_index + 3 : month_index - 9;
  const int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  const int64_t weekday = ((days % 7) + 11) % 7;  // 1970-01-01 was a Thursday
  return CalendarTime{static_cast<int>(year),        static_cast<int>(month),
                      static_cast<int>(day),         static_cast<int>(weekday),
                      static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                      static_cast<int>(rest % 60)};
}

std::string AsctimeText(const CalendarTime& time) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* day = time.weekday >= 0 && time.weekday < 7 ? kDays[time.weekday] : "???";
  const char* month = time.month >= 1 && time.month <= 12 ? kMonths[time.month - 1] : "???";
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", day, month, time.day,
                time.hour, time.minute, time.second, time.year);
  return buffer;
}

std::optional<int64_t> FixedClock() {
  const char* fixed = std::getenv("SONVIO_CLOCK");
  if (fixed == nullptr || *fixed == '\0') return std::nullopt;
  return std::strtoll(fixed, nullptr, 10);
}

}  // namespace platform

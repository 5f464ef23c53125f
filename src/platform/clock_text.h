// The time text the logs carry, built the same way on every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct CalendarTime {
  int year;
  int month;    // 1..12
  int day;      // 1..31
  int weekday;  // 0 = Sunday
  int hour;
  int minute;
  int second;
};

// The calendar time (UTC) of `seconds` since 1970-01-01 00:00:00 UTC.
CalendarTime UtcFromEpoch(int64_t seconds);

// The C library's asctime layout ("Sat Dec  5 22:50:01 2026\n").
std::string AsctimeText(const CalendarTime& time);

// SONVIO_CLOCK (seconds since the epoch) when set: the clock is fixed, so
// logs that carry the time compare byte for byte on every platform.
std::optional<int64_t> FixedClock();

}  // namespace platform

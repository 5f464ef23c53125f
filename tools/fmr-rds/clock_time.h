// Clock time and date of a 4A group: the modified Julian day, UTC hours and
// minutes, and the local time offset in half hours.
#pragma once

#include <cstdint>
#include <string>

namespace fmrrds {

struct ClockTime {
  uint32_t mjd = 0;  // modified Julian day (17 bits)
  int year = 0;
  unsigned month = 0;  // 1..12
  unsigned day = 0;    // 1..31
  unsigned hour = 0;   // UTC
  unsigned minute = 0;
  int offset_half_hours = 0;  // local time = UTC + offset
  // Hour below 24 and minute below 60 (other values come from a broken or
  // unset clock and are not shown as a time).
  bool valid = false;
};

ClockTime DecodeClockTime(uint16_t block_b, uint16_t block_c, uint16_t block_d);

// "2024-05-01"
std::string FormatDate(const ClockTime& ct);
// "12:34"
std::string FormatUtc(const ClockTime& ct);
// "+01:00", "-05:30"
std::string FormatOffset(const ClockTime& ct);
// The local date and time: "2024-05-01 13:34"
std::string FormatLocal(const ClockTime& ct);
// The local time with its offset, ISO 8601: "2024-05-01T13:34:00+01:00"
std::string FormatIso8601(const ClockTime& ct);

}  // namespace fmrrds

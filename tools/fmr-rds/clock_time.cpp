#include "fmr-rds/clock_time.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace fmrrds {
namespace {

// Modified Julian day 40587 is 1970-01-01.
constexpr long kMjdUnixEpoch = 40587;

std::chrono::year_month_day DateOfDay(long mjd) {
  return std::chrono::year_month_day{std::chrono::sys_days{std::chrono::days{mjd - kMjdUnixEpoch}}};
}

std::string DateText(const std::chrono::year_month_day& date) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return buffer;
}

}  // namespace

ClockTime DecodeClockTime(uint16_t block_b, uint16_t block_c, uint16_t block_d) {
  ClockTime ct;
  ct.mjd = (static_cast<uint32_t>(block_b & 0x3) << 15) | (static_cast<uint32_t>(block_c) >> 1);
  ct.hour = ((block_c & 0x1u) << 4) | (static_cast<unsigned>(block_d) >> 12);
  ct.minute = (static_cast<unsigned>(block_d) >> 6) & 0x3F;
  const int half_hours = block_d & 0x1F;
  ct.offset_half_hours = (block_d & 0x20) != 0 ? -half_hours : half_hours;
  const auto date = DateOfDay(static_cast<long>(ct.mjd));
  ct.year = static_cast<int>(date.year());
  ct.month = static_cast<unsigned>(date.month());
  ct.day = static_cast<unsigned>(date.day());
  ct.valid = ct.hour < 24 && ct.minute < 60;
  return ct;
}

std::string FormatDate(const ClockTime& ct) {
  return DateText(std::chrono::year_month_day{
      std::chrono::year{ct.year}, std::chrono::month{ct.month}, std::chrono::day{ct.day}});
}

std::string FormatUtc(const ClockTime& ct) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "%02u:%02u", ct.hour % 100, ct.minute % 100);
  return buffer;
}

std::string FormatOffset(const ClockTime& ct) {
  const int minutes = std::abs(ct.offset_half_hours) * 30;
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "%c%02d:%02d", ct.offset_half_hours < 0 ? '-' : '+',
                minutes / 60, minutes % 60);
  return buffer;
}

std::string FormatLocal(const ClockTime& ct) {
  long minutes = static_cast<long>(ct.hour) * 60 + static_cast<long>(ct.minute) +
                 static_cast<long>(ct.offset_half_hours) * 30;
  long mjd = static_cast<long>(ct.mjd);
  while (minutes < 0) {
    minutes += 24 * 60;
    --mjd;
  }
  while (minutes >= 24 * 60) {
    minutes -= 24 * 60;
    ++mjd;
  }
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), " %02ld:%02ld", minutes / 60, minutes % 60);
  return DateText(DateOfDay(mjd)) + buffer;
}

}  // namespace fmrrds

namespace fmrrds {

std::string FormatIso8601(const ClockTime& ct) {
  std::string local = FormatLocal(ct);
  local[local.find(' ')] = 'T';
  return local + ":00" + FormatOffset(ct);
}

}  // namespace fmrrds

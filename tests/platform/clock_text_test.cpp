// The log's time text from seconds since the epoch, without the C library:
// the Windows build formats a fixed clock with the same code.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/clock_text.h"

namespace {

TEST(ClockText, CalendarDatesAcrossLeapYearsCenturiesAndTheEpoch) {
  const struct {
    int64_t seconds;
    const char* text;
  } cases[] = {
      {0, "Thu Jan  1 00:00:00 1970\n"},          {-1, "Wed Dec 31 23:59:59 1969\n"},
      {951782400, "Tue Feb 29 00:00:00 2000\n"},  {4107542399, "Sun Feb 28 23:59:59 2100\n"},
      {4107542400, "Mon Mar  1 00:00:00 2100\n"}, {1796000000, "Mon Nov 30 00:53:20 2026\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::AsctimeText(platform::UtcFromEpoch(c.seconds)), c.text);
}

TEST(ClockText, AgreesWithTheCLibraryEveryHundredDaysAndSomeSeconds) {
  for (int64_t t = -86400LL * 365 * 70; t < 86400LL * 365 * 130; t += 86400LL * 100 + 3671) {
    const std::time_t now = static_cast<std::time_t>(t);
    std::tm utc{};
    ASSERT_NE(::gmtime_r(&now, &utc), nullptr);
    char want[64];
    std::strftime(want, sizeof(want), "%a %b %e %H:%M:%S %Y\n", &utc);
    ASSERT_EQ(platform::AsctimeText(platform::UtcFromEpoch(t)), want) << t;
  }
}

}  // namespace

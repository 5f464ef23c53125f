// Timers on the headless virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/headless/headless_services.h"
#include "ui/timer.h"

namespace {

class HeadlessClock : public ::testing::Test {
 protected:
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TClockForm"};
  std::vector<std::pair<std::string, uint64_t>> ticks;

  ui::Timer& AddTimer(const std::string& name, uint32_t interval) {
    auto& timer = form.Add<ui::Timer>(name, interval);
    timer.OnTimer = [this, name] { ticks.emplace_back(name, services.NowMs()); };
    return timer;
  }
};

// Overdue timers fire once when the thread becomes idle again, not once per
// missed interval, as the window system coalesces timer messages.
TEST_F(HeadlessClock, TimersFireInTimeOrderOnAdvanceOnly) {
  auto& slow = AddTimer("slow", 1400);
  auto& fast = AddTimer("fast", 1000);
  slow.SetEnabled(true);
  fast.SetEnabled(true);
  services.Sleep(5000);  // a blocked UI thread fires nothing
  EXPECT_TRUE(ticks.empty());
  services.Advance(2900);
  const std::vector<std::pair<std::string, uint64_t>> expected = {{"fast", 5000}, {"slow", 5000},
                                                                  {"fast", 6000}, {"slow", 6400},
                                                                  {"fast", 7000}, {"slow", 7800}};
  EXPECT_EQ(ticks, expected);
  EXPECT_EQ(services.NowMs(), 7900u);
}

TEST_F(HeadlessClock, DisabledTimerStaysQuietAndReEnablingRestartsTheInterval) {
  auto& timer = AddTimer("t", 1000);
  timer.SetEnabled(true);
  services.Advance(600);
  timer.SetEnabled(false);
  services.Advance(1000);
  EXPECT_TRUE(ticks.empty());
  timer.SetEnabled(true);  // at 1600: next tick at 2600
  services.Advance(1000);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].second, 2600u);
}

TEST_F(HeadlessClock, HandlerThatPausesAndReEnablesItsTimerDoesNotOverlap) {
  auto& timer = form.Add<ui::Timer>("poll", 1000);
  std::vector<uint64_t> starts;
  timer.OnTimer = [&] {
    timer.SetEnabled(false);
    starts.push_back(services.NowMs());
    services.Sleep(500);  // the tick blocks the thread for a while
    timer.SetEnabled(true);
  };
  timer.SetEnabled(true);
  services.Advance(4000);
  EXPECT_EQ(starts, (std::vector<uint64_t>{1000, 2500, 4000}));
}

TEST_F(HeadlessClock, DestroyedTimerIsForgotten) {
  {
    ui::Form other(app, "TOther");
    auto& timer = other.Add<ui::Timer>("gone", 100, true);
    timer.OnTimer = [this] { ticks.emplace_back("gone", 0); };
  }
  services.Advance(1000);
  EXPECT_TRUE(ticks.empty());
}

}  // namespace

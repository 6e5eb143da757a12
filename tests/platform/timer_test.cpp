// Timers on the test clock: they fire at their due times as the clock is
// advanced, in order, and stop with their window.

#include "platform/timer.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/window.h"

namespace {

using namespace platform;

class TimerTest : public ::testing::Test {
protected:
    TestClock clock{MakeLocalTime(1997, 3, 7, 18, 29)};
    ScopedClock installed{clock};
    MessageWindow window;
};

TEST_F(TimerTest, FiresAtItsDueTimesAsTheClockAdvances) {
    std::vector<std::int64_t> ticks;
    window.SetTimerHandler([&](unsigned id) {
        EXPECT_EQ(id, 100u);
        ticks.push_back(GetClock().MonotonicMs());
    });
    EXPECT_EQ(window.SetTimer(100, 1000), 100u);
    clock.Advance(999);
    EXPECT_TRUE(ticks.empty());
    clock.Advance(1);
    clock.Advance(2500);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 2000, 3000}));
    EXPECT_EQ(clock.MonotonicMs(), 3500);
}

TEST_F(TimerTest, AnHourRunsInMilliseconds) {
    int seconds = 0;
    window.SetTimerHandler([&](unsigned) { ++seconds; });
    window.SetTimer(100, 1000);
    clock.Sleep(3600 * 1000);  // sleeping on the test clock advances it
    EXPECT_EQ(seconds, 3600);
    const std::tm now = LocalTime(clock.Now());
    EXPECT_EQ(now.tm_hour, 19);
    EXPECT_EQ(now.tm_min, 29);
}

TEST_F(TimerTest, TimersOfSeveralWindowsInterleaveInTimeOrder) {
    MessageWindow other;
    std::vector<std::string> order;
    window.SetTimerHandler([&](unsigned id) { order.push_back("w" + std::to_string(id)); });
    other.SetTimerHandler([&](unsigned id) { order.push_back("o" + std::to_string(id)); });
    window.SetTimer(1, 300);
    other.SetTimer(2, 200);
    clock.Advance(700);
    // At 600 both are due: the one set first fires first.
    EXPECT_EQ(order, (std::vector<std::string>{"o2", "w1", "o2", "w1", "o2"}));
}

TEST_F(TimerTest, KillReplaceAndCloseStopTimers) {
    int ticks = 0;
    window.SetTimerHandler([&](unsigned id) {
        ++ticks;
        if (ticks == 2) window.KillTimer(id);  // a tick may stop its own timer
    });
    window.SetTimer(7, 100);
    clock.Advance(1000);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(window.KillTimer(7));

    window.SetTimer(7, 100);
    clock.Advance(50);
    window.SetTimer(7, 100);  // setting again restarts the count
    clock.Advance(60);
    EXPECT_EQ(ticks, 2);
    clock.Advance(40);
    EXPECT_EQ(ticks, 3);

    auto gone = std::make_unique<MessageWindow>();
    int gone_ticks = 0;
    gone->SetTimerHandler([&](unsigned) { ++gone_ticks; });
    const WindowHandle handle = gone->GetSafeHwnd();
    gone->SetTimer(1, 10);
    gone.reset();
    clock.Advance(100);
    EXPECT_EQ(gone_ticks, 0);
    EXPECT_EQ(SetTimer(handle, 1, 10), 0u);  // no timers on a closed window
}

TEST_F(TimerTest, ProceduresAndWaitingInsideATick) {
    std::vector<std::int64_t> seen;
    // A tick that waits (as the data feed's line does) moves the clock on;
    // its own timer does not fire again while it runs, and the ticks it
    // missed come as one, keeping the timer's rhythm.
    EXPECT_EQ(SetTimer(window.GetSafeHwnd(), 5, 1000,
                       [&](WindowHandle w, unsigned id) {
                           EXPECT_EQ(w, window.GetSafeHwnd());
                           EXPECT_EQ(id, 5u);
                           seen.push_back(GetClock().MonotonicMs());
                           if (seen.size() == 1) GetClock().Sleep(2500);
                       }),
              5u);
    clock.Advance(5000);
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1000, 3500, 4000, 5000}));
    EXPECT_NE(SetTimer(0, 0, 10, [](WindowHandle, unsigned) {}), 0u);  // no window: a fresh id
    EXPECT_EQ(SetTimer(0, 0, 10), 0u);                                 // ... but only with a procedure
}

TEST_F(TimerTest, RefusedTimers) {
    SetTimersRefusedForTesting(true);
    EXPECT_EQ(window.SetTimer(100, 1000), 0u);
    SetTimersRefusedForTesting(false);
    EXPECT_EQ(window.SetTimer(100, 1000), 100u);
}

TEST(ClockTest, SystemClockByDefaultAndRestored) {
    EXPECT_FALSE(GetClock().IsManual());
    const std::int64_t before = GetClock().MonotonicMs();
    {
        TestClock clock;
        ScopedClock installed(clock);
        EXPECT_TRUE(GetClock().IsManual());
        EXPECT_EQ(GetClock().MonotonicMs(), 0);
    }
    EXPECT_FALSE(GetClock().IsManual());
    EXPECT_GE(GetClock().MonotonicMs(), before);
}

}  // namespace

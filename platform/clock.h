#pragma once

// The clock that timers and waiting code read. Everything that asks for the
// time or waits (the timers, the data feed's deadlines, the batch program's
// wait for its start time) goes through the installed clock, so a test can
// install a TestClock and run an hour of waiting in milliseconds: advancing
// the test clock fires the timers that fall due on the way, in order.

#include <chrono>
#include <cstdint>
#include <ctime>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Wall-clock time.
    virtual std::chrono::system_clock::time_point Now() = 0;
    // Milliseconds of a monotonic count, for intervals and deadlines.
    virtual std::int64_t MonotonicMs() = 0;
    // Waits this long. Does not pump window messages (see
    // ProcessPendingMessages for waits that must keep windows alive).
    virtual void Sleep(std::int64_t ms) = 0;
    // True for a clock that moves only when told (timers are then driven by
    // the clock instead of the event loop).
    virtual bool IsManual() const { return false; }
};

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point Now() override;
    std::int64_t MonotonicMs() override;
    void Sleep(std::int64_t ms) override;
};

// A clock that moves only when Advance (or Sleep) is called. Its monotonic
// count starts at 0 and its wall clock at the given start.
class TestClock : public Clock {
public:
    explicit TestClock(std::chrono::system_clock::time_point start = {});

    std::chrono::system_clock::time_point Now() override;
    std::int64_t MonotonicMs() override { return now_ms_; }
    // Sleeping on the test clock is advancing it.
    void Sleep(std::int64_t ms) override { Advance(ms); }
    bool IsManual() const override { return true; }

    // Moves the clock forward by ms, firing each timer that falls due on the
    // way at its due time (a 1-second timer fires 3600 times in an hour).
    void Advance(std::int64_t ms);

private:
    std::chrono::system_clock::time_point start_;
    std::int64_t now_ms_ = 0;
};

// The installed clock (the system clock unless a test installed another).
Clock& GetClock();
// Installs a clock (nullptr: the system clock) and returns the previous one.
// Running timers are re-armed on the new clock.
Clock* SetClock(Clock* clock);

// Installs a clock for the life of a scope.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) : previous_(SetClock(&clock)) {}
    ~ScopedClock() { SetClock(previous_); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};

// Local calendar time of a wall-clock time, and a wall-clock time from local
// calendar fields (month 1-12).
std::tm LocalTime(std::chrono::system_clock::time_point time);
std::chrono::system_clock::time_point MakeLocalTime(int year, int month, int day, int hour, int minute,
                                                    int second = 0);

}  // namespace platform

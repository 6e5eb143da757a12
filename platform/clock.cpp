#include "platform/clock.h"

#include <algorithm>
#include <thread>

#include "platform/timer.h"

namespace platform {

std::chrono::system_clock::time_point SystemClock::Now() {
    return std::chrono::system_clock::now();
}

std::int64_t SystemClock::MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::Sleep(std::int64_t ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TestClock::TestClock(std::chrono::system_clock::time_point start) : start_(start) {}

std::chrono::system_clock::time_point TestClock::Now() {
    return start_ + std::chrono::milliseconds(now_ms_);
}

void TestClock::Advance(std::int64_t ms) {
    const std::int64_t target = now_ms_ + std::max<std::int64_t>(ms, 0);
    // Timers fire at their own due times, so a timer callback that reads the
    // clock sees the moment it was due, not the end of the advance. A
    // callback may advance the clock itself; time never goes back.
    while (auto due = detail::EarliestDueTimer()) {
        if (*due > target) break;
        now_ms_ = std::max(now_ms_, *due);
        detail::FireEarliestDueTimer(now_ms_);
    }
    now_ms_ = std::max(now_ms_, target);
}

namespace {

SystemClock& TheSystemClock() {
    static SystemClock clock;
    return clock;
}

Clock*& InstalledClock() {
    static Clock* clock = &TheSystemClock();
    return clock;
}

}  // namespace

Clock& GetClock() {
    return *InstalledClock();
}

Clock* SetClock(Clock* clock) {
    Clock* previous = InstalledClock();
    InstalledClock() = clock ? clock : &TheSystemClock();
    if (InstalledClock() != previous) detail::RearmTimers();
    return previous;
}

std::tm LocalTime(std::chrono::system_clock::time_point time) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::chrono::system_clock::time_point MakeLocalTime(int year, int month, int day, int hour, int minute,
                                                    int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

}  // namespace platform

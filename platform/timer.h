#pragma once

// Timers on windows. A timer is named by its window and its id; setting it
// again replaces it. Each tick calls the given procedure, or the window's
// OnTimer when none was given. On the system clock the ticks come from the
// Qt event loop; on a manual clock (TestClock) they come from advancing the
// clock. Closing a window ends its timers.

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/handle.h"

namespace platform {

using TimerProc = std::function<void(WindowHandle window, unsigned id)>;

// Starts (or restarts) timer id of a window, ticking every elapse_ms
// (at least 10). Returns the id, or 0 when the timer could not be started:
// the window does not exist, or timers are refused for a test. A timer on
// no window (0) needs a procedure and gets a fresh id.
unsigned SetTimer(WindowHandle window, unsigned id, unsigned elapse_ms, TimerProc proc = {});
// Stops a timer; false when there was none.
bool KillTimer(WindowHandle window, unsigned id);

// Makes SetTimer fail from now on (true) or work again (false), so that the
// "too many timers" paths of callers can be tested.
void SetTimersRefusedForTesting(bool refuse);

// Runs what is waiting in the event loop (posted closes, deferred deletions,
// due timers on the system clock). Code that waits for a long time calls
// this now and then, so that windows keep working during the wait.
void ProcessPendingMessages();

namespace detail {
void KillWindowTimers(WindowHandle window);
void RearmTimers();
std::optional<std::int64_t> EarliestDueTimer();
void FireEarliestDueTimer(std::int64_t now_ms);
}  // namespace detail

}  // namespace platform

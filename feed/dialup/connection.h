#pragma once

// Connection control. A connection outlives the call that made it; while it
// exists the library keeps a small status window ("ORLIN DataServer") whose
// icon shows the line's state (113 not connected, 114 dialling, 115
// connected), and an idle timer (timer 100, every second) that opens the
// inactivity dialog after the set number of idle minutes. The timers read
// the installed clock (platform/clock.h).
//
//   not connected --connect--> connecting --session open--> connected
//        ^                         |                            |
//        +------ failed start -----+------------ hang-up -------+

#include "platform/handle.h"

namespace feed {

inline constexpr unsigned kIdleTimer = 100;
inline constexpr int kIdleTickMs = 1000;

// Connects when not connected: the status window, the parameter check, the
// session, the server's greeting (sent on the status channel), the idle
// timer. 1 when connected, 0 otherwise.
int md_connect();

// Hangs up: drops the port while dialling, closes the session when
// connected, closes INPUT, OUTPUT and LOG and the status window. While a call
// is running on the connection, the call is stopped and hangs up when it
// ends. Always 1.
int md_hangup();

// Stops the line being exchanged: "Cancelling request . . ." on the status
// channel and the run flag cleared. Always 1.
int md_cancel_request();

// Shows a state icon on the status window (not with NOICON).
void md_set_icon(int icon);

// The idle timer's tick.
void md_idle_timer_proc();

// Starts (restarts) the idle timer on the status window; false when no timer
// could be started.
bool StartIdleTimer();

// Asks the user whether to go on without an idle check (true) or to hang up
// (false) after a timer could not be started.
bool ContinueWithoutTimer();

// The status window's handle (0 while there is none) and whether it shows.
platform::WindowHandle StatusWindowHandle();
bool StatusWindowVisible();

// Closes and forgets the status window and the inactivity dialog.
void ReleaseConnectionWindows();

}  // namespace feed

#pragma once

// The inactivity dialog (116), opened by the idle timer when the line has
// been idle for the set minutes: Continue restarts the idle timer, Hangup
// hangs up, Turn Off keeps the line up without further warnings until the
// next connect. Without an answer it presses Hangup itself after 300 more
// seconds (timer 101).

#include "platform/handle.h"

namespace feed {

inline constexpr int kInactivityDialog = 116;
inline constexpr int kIdContinue = 1005;
inline constexpr int kIdHangup = 1006;
inline constexpr int kIdTurnOff = 1007;
inline constexpr unsigned kDialogTimer = 101;
inline constexpr int kDialogCountdown = 300;

// Opens the dialog, modeless, owned by the caller's window.
void OpenInactivityDialog();
// Closes it when it is open.
void CloseInactivityDialog();
// The open dialog's handle, or 0.
platform::WindowHandle InactivityDialogHandle();
// Closes and forgets it.
void ReleaseInactivityDialog();

}  // namespace feed

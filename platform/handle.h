#pragma once

// Window handles: small opaque numbers that name a live window across
// library boundaries. A data-feed library receives its caller's handle as an
// integer and sends records and timer ticks to it; the handle is looked up at
// every use, so a handle of a window that has closed (or one that never
// existed) finds nothing and the call is ignored. Handles are never reused
// within a process.

#include <cstdint>

namespace platform {

using WindowHandle = std::uintptr_t;

class Window;

// The live window of a handle, or nullptr.
Window* FromHandle(WindowHandle handle);
bool IsWindowHandle(WindowHandle handle);

namespace detail {
WindowHandle RegisterWindow(Window* window);
void UnregisterWindow(WindowHandle handle);
}  // namespace detail

}  // namespace platform

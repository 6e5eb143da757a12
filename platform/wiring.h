#pragma once

// Connects a control's widget signals to its window's notifications.

#include "platform/window.h"

namespace platform::detail {

struct Wiring {
    static void Connect(Window& window, const Window::ControlEntry& control);
};

}  // namespace platform::detail

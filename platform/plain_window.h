#pragma once

// A plain top-level window with no table: it paints in OnPaint, lays out in
// OnSize, makes its controls at run time and closes through OnClose, as a
// small program's own main window does.

#include <string_view>

#include "platform/window.h"

namespace platform {

class PlainWindow : public Window {
public:
    // Makes the window (not yet shown); false when there is no application
    // object or it exists already.
    bool Create(std::string_view title, Window* parent = nullptr);
};

}  // namespace platform

#pragma once

// A plain top-level window with no table: it paints in OnPaint, lays out in
// OnSize, makes its controls at run time and closes through OnClose, as a
// small program's own main window does.
//
// It has the desktop's system menu (the window menu): the standard Close item
// (SC_CLOSE) followed by the items a program appends. Choosing an item calls
// OnSysCommand, whose default turns Close into a close request (OnClose), so
// a window that appends nothing behaves as before. On screen the menu opens
// as the window's context menu, and the close box is its Close item.

#include <string>
#include <string_view>

#include "platform/menu.h"
#include "platform/window.h"

namespace platform {

class PlainWindow : public Window {
public:
    // Makes the window (not yet shown); false when there is no application
    // object or it exists already.
    bool Create(std::string_view title, Window* parent = nullptr);

    // Appends a command or a separator to the system menu.
    void AppendSystemMenu(MenuItem item);
    // The system menu as it shows: Close, then the appended items.
    MenuTable SystemMenu() const;
    // An item of the system menu was chosen (the close box chooses
    // SC_CLOSE). The default sends Close on as a close request (OnClose) and
    // ignores the other items.
    virtual void OnSysCommand(int id);
    // The simulated user chooses item `id` of the system menu. Returns an
    // empty text, or why that was not possible (no window, no such item).
    std::string UserSysCommand(int id);

private:
    void ShowSystemMenu(const QPoint& where);

    MenuTable appended_;
};

}  // namespace platform

#pragma once

// The main window of the program: menus from the command table, a tool bar
// with the system-date edit, a status bar and the picture behind the MDI
// children. The date typed into the system-date edit becomes the program
// date when the edit loses the focus and before every dispatched command
// (OnSystemDateKillFocus): in COMMON.FIL, in EndDate, and January 1 of its
// year in StartDate.

#include <QPixmap>
#include <string>

#include "platform/doc_template.h"
#include "platform/main_frame.h"
#include "shell/commands.h"

namespace shell {

// The picture behind the MDI children: white, with the program's picture
// centred; a new size centres it again.
class CMdiBackgroundWnd {
public:
    CMdiBackgroundWnd();
    // Takes over the painting of the frame's client area.
    void SubclassWindow(platform::MainFrame& frame);
    void OnEraseBkgnd(QPainter& painter, const QRect& area) const;
    const QPixmap& Bitmap() const { return bitmap_; }

private:
    QPixmap bitmap_;
};

class CMainFrame : public platform::MainFrame {
public:
    // The window title and the caption of the top-level menu item that the
    // frame removes.
    static constexpr const char* kTitle = "TREL1";
    static constexpr const char* kModulesMenu = "Modules";

    CMainFrame();
    ~CMainFrame() override;

    // Makes the window with its menus and runs OnCreate; false when either
    // failed (the window is then gone). Windows of the templates open through
    // OpenTemplateWindow.
    bool LoadFrame(const platform::DocTemplateList& templates);

    // Commits the text of the system-date edit as the program date, or
    // shows "Illegal system date:..." and puts the previous date back.
    void OnSystemDateKillFocus();
    std::string GetSystemDateText() const;

    // Removes the top-level "Modules" item from the current menu.
    void RemoveModulesMenu();

    // Opens a window of the template at `position` with no document.
    platform::ChildFrame* OpenTemplateWindow(int position, bool visible = true);

    // Binds (or, with an empty action, unbinds) a command's action.
    void BindCommand(int id, CommandFunction action);

    // The frame's close: the windows close first, then the program colours
    // are stored.
    void OnClose() override;
    void DestroyWindow() override;

private:
    // The creation steps after the window exists; -1 when one failed.
    int OnCreate();
    bool CreateToolBar();
    void CreateStatusBar();

    CMdiBackgroundWnd background_;
    const platform::DocTemplateList* templates_ = nullptr;
};

// The one main frame while it exists, else nullptr.
CMainFrame* TheMainFrame();

// The menus of the main frame (without child windows) and of the frame
// while child windows are open.
platform::MenuTable MainMenu();
platform::MenuTable ChildMenu();

// Today's date from the installed clock, MM/DD/YY.
std::string TodayText();

}  // namespace shell

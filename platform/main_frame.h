#pragma once

// The main window: a menu bar built from a table, a tool bar (buttons and
// edits), a status bar and an MDI client area of child frames with a
// painted background.
//
// Commands (menu items, tool bar buttons) are routed as in the framework the
// program was designed on: to the active child's view, then to that child
// frame, then to the main frame; each binds its handlers with
// Bind(command_id, Notify::Clicked, ...). A command that nothing handles is
// shown disabled. While at least one child window is open the child menu
// shows (when one was given), else the main menu.

#include <QPointer>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/doc_template.h"
#include "platform/menu.h"
#include "platform/view.h"
#include "platform/window.h"

class QAction;
class QIcon;
class QMainWindow;
class QMdiArea;
class QToolBar;

namespace platform {

class MainFrame : public Window {
public:
    MainFrame();
    ~MainFrame() override;

    // Makes the window (not yet shown); false when there is no application
    // object. `child_menu` (when not empty) shows while child windows are open.
    bool Create(std::string_view title, MenuTable menu, MenuTable child_menu = {});

    // Menus. DeleteTopLevelMenu removes the first top-level item of the
    // current menu whose caption is exactly `caption`; false when none is.
    bool DeleteTopLevelMenu(std::string_view caption);
    std::vector<std::string> GetTopLevelMenuCaptions() const;
    // The table of the menu that shows now (the child menu while child
    // windows are open), for code that finds a command by its menu path.
    const MenuTable& GetMenu() const { return menus_[current_menu_]; }
    // The top-level captions of the menu bar as it shows now, each with the
    // "&" of its key: Alt and those letters open the menus while the main
    // window or one of its child windows is active.
    std::vector<std::string> GetMenuBarCaptions() const;
    // Disabling wins over having a handler; enabling only lifts it.
    void EnableCommand(int id, bool enable);
    void CheckCommand(int id, bool check);
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;
    // As a menu pick: runs the command through the route; false when it is
    // disabled or nothing handles it.
    bool InvokeCommand(int id);

    // Tool bar.
    void AddToolBarButton(int command_id, std::string_view caption, Picture picture = Picture::None);
    // The same with an icon the caller painted.
    void AddToolBarButton(int command_id, std::string_view caption, const QIcon& icon);
    void AddToolBarSeparator();
    // An edit in the tool bar, a control of the main frame by id.
    Control AddToolBarEdit(int id, int width_chars);

    // Status bar message pane.
    void SetMessageText(std::string_view text);
    std::string GetMessageText() const;

    // MDI children. OpenView makes a frame and view from the template, runs
    // the view's OnInitialUpdate and (when visible) places it inside the
    // visible client area, cascading from the child opened before it, shows
    // and activates it; nullptr when the frame was not made. As in a
    // multiple-document frame, a child opened or activated while the active
    // child is maximized shows maximized (a frame of a fixed size too), and
    // when the active child closes the child active before it comes back,
    // maximized when the closed one was.
    ChildFrame* OpenView(const DocTemplate& doc_template, bool visible = true);
    std::vector<ChildFrame*> GetChildFrames() const;  // in opening order
    ChildFrame* MDIGetActive() const;
    void MDIActivate(ChildFrame* frame);
    void MDICascade();
    void MDITile(bool horizontal);
    // Asks every child to close (each may refuse); true when none is left.
    bool CloseAllChildren();

    // Painting of the client area behind the children. The default fills it
    // white and centres the program's background picture.
    using BackgroundPainter = std::function<void(QPainter& painter, const QRect& area)>;
    void SetBackgroundPainter(BackgroundPainter painter);
    static void PaintDefaultBackground(QPainter& painter, const QRect& area);

    // Closing: the children are asked first; when all closed, the frame is
    // destroyed and the event loop (if one runs) ends.
    void OnClose() override;
    void DestroyWindow() override;

    QMainWindow* GetMainWindow() const;
    QMdiArea* GetMdiArea() const;

private:
    friend class ChildFrame;
    struct CommandAction {
        int id;
        QPointer<QAction> action;
    };

    void RebuildMenuBar();
    void RefreshCommandState();
    bool RouteCommand(int id);
    bool HasCommandHandler(int id) const;
    // Before a child frame goes: when it is the active one, activates the
    // child that was active before it.
    void ChildClosing(ChildFrame* frame);
    void ChildClosed(ChildFrame* frame);
    void FlushClosedChildren();
    void UpdateMenuForChildren();
    ChildFrame* FrameOf(const QWidget* subwindow) const;
    void PlaceNewChild(ChildFrame* frame);

    MenuTable menus_[2];
    int current_menu_ = 0;
    std::vector<CommandAction> menu_actions_;
    std::vector<CommandAction> tool_actions_;
    std::set<int> disabled_;
    std::set<int> checked_;
    QPointer<QToolBar> toolbar_;
    QPointer<QMdiArea> mdi_;
    BackgroundPainter background_;
    std::vector<std::unique_ptr<ChildFrame>> children_;
    std::vector<std::unique_ptr<ChildFrame>> closed_;
};

}  // namespace platform

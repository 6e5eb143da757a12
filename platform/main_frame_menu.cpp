// The main frame's menus and command routing.

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "platform/main_frame.h"
#include "platform/text.h"

namespace platform {

void MainFrame::RebuildMenuBar() {
    QMainWindow* w = GetMainWindow();
    if (!w) return;
    auto* bar = new QMenuBar(w);
    menu_actions_.clear();
    QObject* context = ConnectionContext();

    std::function<void(QMenu*, const std::vector<MenuItem>&)> fill = [&](QMenu* menu,
                                                                         const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            switch (item.type) {
                case MenuItem::Type::Command: {
                    QAction* action = menu->addAction(ToQt(item.caption));
                    const int id = item.id;
                    QObject::connect(action, &QAction::triggered, context, [this, id] { InvokeCommand(id); });
                    menu_actions_.push_back({id, action});
                    break;
                }
                case MenuItem::Type::Popup:
                    fill(menu->addMenu(ToQt(item.caption)), item.items);
                    break;
                case MenuItem::Type::Separator:
                    menu->addSeparator();
                    break;
                case MenuItem::Type::WindowList: {
                    // The open windows are listed below this point each time
                    // the menu opens.
                    QAction* marker = menu->addSeparator();
                    marker->setVisible(false);
                    QObject::connect(menu, &QMenu::aboutToShow, context, [this, menu, marker] {
                        const QList<QAction*> all = menu->actions();
                        for (qsizetype i = all.indexOf(marker) + 1; i < all.size(); ++i) {
                            menu->removeAction(all[i]);
                            delete all[i];
                        }
                        const std::vector<ChildFrame*> frames = GetChildFrames();
                        marker->setVisible(!frames.empty());
                        int n = 1;
                        for (ChildFrame* frame : frames) {
                            QAction* a =
                                menu->addAction(QString("&%1 %2").arg(n++).arg(ToQt(frame->GetWindowText())));
                            a->setCheckable(true);
                            a->setChecked(frame == MDIGetActive());
                            const WindowHandle handle = frame->GetSafeHwnd();
                            QObject::connect(a, &QAction::triggered, a, [this, handle] {
                                for (ChildFrame* f : GetChildFrames())
                                    if (f->GetSafeHwnd() == handle) MDIActivate(f);
                            });
                        }
                    });
                    break;
                }
            }
        }
        QObject::connect(menu, &QMenu::aboutToShow, context, [this] { RefreshCommandState(); });
    };

    for (const MenuItem& item : menus_[current_menu_]) {
        if (item.type == MenuItem::Type::Popup) {
            fill(bar->addMenu(ToQt(item.caption)), item.items);
        } else if (item.type == MenuItem::Type::Command) {
            QAction* action = bar->addAction(ToQt(item.caption));
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, context, [this, id] { InvokeCommand(id); });
            menu_actions_.push_back({id, action});
        }
    }
    w->setMenuBar(bar);  // deletes the previous bar
    RefreshCommandState();
}

bool MainFrame::DeleteTopLevelMenu(std::string_view caption) {
    MenuTable& menu = menus_[current_menu_];
    auto it = std::find_if(menu.begin(), menu.end(), [&](const MenuItem& item) {
        return item.type != MenuItem::Type::Separator && item.caption == caption;
    });
    if (it == menu.end()) return false;
    menu.erase(it);
    RebuildMenuBar();
    return true;
}

std::vector<std::string> MainFrame::GetTopLevelMenuCaptions() const {
    std::vector<std::string> captions;
    for (const MenuItem& item : menus_[current_menu_])
        if (item.type != MenuItem::Type::Separator) captions.push_back(item.caption);
    return captions;
}

void MainFrame::EnableCommand(int id, bool enable) {
    if (enable)
        disabled_.erase(id);
    else
        disabled_.insert(id);
    RefreshCommandState();
}

void MainFrame::CheckCommand(int id, bool check) {
    if (check)
        checked_.insert(id);
    else
        checked_.erase(id);
    RefreshCommandState();
}

bool MainFrame::HasCommandHandler(int id) const {
    if (ChildFrame* frame = MDIGetActive()) {
        if (frame->GetView() && frame->GetView()->HasHandler(id, Notify::Clicked)) return true;
        if (frame->HasHandler(id, Notify::Clicked)) return true;
    }
    return HasHandler(id, Notify::Clicked);
}

bool MainFrame::IsCommandEnabled(int id) const {
    return !disabled_.count(id) && HasCommandHandler(id);
}
bool MainFrame::IsCommandChecked(int id) const {
    return checked_.count(id) != 0;
}

bool MainFrame::RouteCommand(int id) {
    if (ChildFrame* frame = MDIGetActive()) {
        if (View* view = frame->GetView(); view && view->Dispatch({id, Notify::Clicked})) return true;
        if (frame->Dispatch({id, Notify::Clicked})) return true;
    }
    return Dispatch({id, Notify::Clicked});
}

bool MainFrame::InvokeCommand(int id) {
    if (!IsCommandEnabled(id)) return false;
    const WindowHandle self = GetSafeHwnd();
    RouteCommand(id);
    if (FromHandle(self) == this) RefreshCommandState();
    return true;
}

void MainFrame::RefreshCommandState() {
    for (const auto* list : {&menu_actions_, &tool_actions_}) {
        for (const CommandAction& c : *list) {
            if (!c.action) continue;
            c.action->setEnabled(IsCommandEnabled(c.id));
            const bool checked = IsCommandChecked(c.id);
            c.action->setCheckable(checked || c.action->isCheckable());
            c.action->setChecked(checked);
        }
    }
}

}  // namespace platform

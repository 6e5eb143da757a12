#include "platform/plain_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>

#include "platform/internal_widgets.h"
#include "platform/text.h"

namespace platform {
namespace {

// The window system's close requests (the close box) reach the window as
// its system menu's Close item; the window layer itself never closes a
// plain window's widget that way.
class CloseBoxFilter : public QObject {
public:
    CloseBoxFilter(WindowHandle handle, QObject* parent) : QObject(parent), handle_(handle) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Close) return QObject::eventFilter(watched, event);
        event->ignore();
        if (auto* window = dynamic_cast<PlainWindow*>(FromHandle(handle_))) {
            Window::Busy busy(*window);
            window->OnSysCommand(SC_CLOSE);
        }
        return true;
    }

private:
    WindowHandle handle_;
};

}  // namespace

bool PlainWindow::Create(std::string_view title, Window* parent) {
    if (IsWindow() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    auto* w = new detail::HookWidget(this, nullptr);
    if (parent && parent->GetWidget()) {
        w->setParent(parent->GetWidget(), Qt::Window);
    }
    w->setWindowTitle(ToQt(title));
    AttachWidget(w, true);
    w->installEventFilter(new CloseBoxFilter(GetSafeHwnd(), w));
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(w, &QWidget::customContextMenuRequested, ConnectionContext(),
                     [this](const QPoint& where) { ShowSystemMenu(where); });
    return true;
}

void PlainWindow::AppendSystemMenu(MenuItem item) {
    appended_.push_back(std::move(item));
}

MenuTable PlainWindow::SystemMenu() const {
    MenuTable menu{Command(SC_CLOSE, "&Close")};
    menu.insert(menu.end(), appended_.begin(), appended_.end());
    return menu;
}

void PlainWindow::OnSysCommand(int id) {
    if (id == SC_CLOSE) OnClose();
}

std::string PlainWindow::UserSysCommand(int id) {
    if (!IsWindow()) return "the window does not exist";
    for (const MenuItem& item : SystemMenu()) {
        if (item.type == MenuItem::Type::Command && item.id == id) {
            OnSysCommand(id);
            return {};
        }
    }
    return "the system menu has no item " + std::to_string(id);
}

void PlainWindow::ShowSystemMenu(const QPoint& where) {
    QWidget* w = GetWidget();
    if (!w) return;
    QMenu menu(w);
    for (const MenuItem& item : SystemMenu()) {
        if (item.type == MenuItem::Type::Separator) {
            menu.addSeparator();
        } else if (item.type == MenuItem::Type::Command) {
            menu.addAction(ToQt(item.caption))->setData(item.id);
        }
    }
    const WindowHandle handle = GetSafeHwnd();
    QAction* chosen = menu.exec(w->mapToGlobal(where));
    // The window may have gone while the menu was open.
    if (!chosen || FromHandle(handle) != this) return;
    Busy busy(*this);
    OnSysCommand(chosen->data().toInt());
}

}  // namespace platform

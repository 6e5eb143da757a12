#include "platform/window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "platform/internal_widgets.h"
#include "platform/text.h"
#include "platform/timer.h"

namespace platform {

namespace detail {

// Watches the window's controls for focus changes, for Enter and Escape
// and for the mouse wheel over a scroll bar, and is the context of every
// signal connection the window makes, so that deleting it cuts the window
// off from its widgets at once.
class EventRelay : public QObject {
public:
    explicit EventRelay(Window* owner) : owner_(owner) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut: {
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                // The focus leaving for a popup or another window (a message
                // box opening) is not a move between controls.
                if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) break;
                const int id = owner_->ControlIdOf(watched);
                if (id == IDC_STATIC) break;
                if (event->type() == QEvent::FocusIn)
                    owner_->FocusArrived(id);
                else
                    owner_->FocusLeft(id);
                break;
            }
            case QEvent::KeyPress: {
                const auto* press = static_cast<QKeyEvent*>(event);
                const int key = press->key();
                if ((key == Qt::Key_Return || key == Qt::Key_Enter) && owner_->OnEnterKey()) return true;
                if (key == Qt::Key_Escape && owner_->OnEscapeKey()) return true;
                if (ListKeyToWindow(watched, *press)) return true;
                break;
            }
            case QEvent::Wheel: {
                // A scroll bar asks its window to move, line by line, instead
                // of moving itself; so does a list that shows a part of a
                // longer list its window scrolls (kWantKeys), through the
                // window's scroll bar.
                const Window::ControlEntry* c = owner_->FindControl(owner_->ControlIdOf(watched));
                const auto& wheel = *static_cast<QWheelEvent*>(event);
                if (c && c->kind == ControlKind::ScrollBar && c->widget == watched) {
                    Window::Busy busy(*owner_);
                    owner_->WheelScroll(wheel, c->id);
                    return true;
                }
                if (c && c->kind == ControlKind::ListBox && (c->style & kWantKeys)) {
                    Window::Busy busy(*owner_);
                    return owner_->WheelScroll(wheel, IDC_STATIC);
                }
                break;
            }
            default:
                break;
        }
        return false;
    }

private:
    // A moving key pressed in a list box that wants its keys goes to the
    // window first; true when the window used it.
    bool ListKeyToWindow(QObject* watched, const QKeyEvent& press) {
        const Window::ControlEntry* c = owner_->FindControl(owner_->ControlIdOf(watched));
        if (!c || c->kind != ControlKind::ListBox || !(c->style & kWantKeys) || c->widget != watched)
            return false;
        if (press.modifiers() & ~Qt::KeypadModifier) return false;
        const MovingKey* moving = std::find_if(std::begin(kMovingKeys), std::end(kMovingKeys),
                                               [&](const MovingKey& k) { return k.qt_key == press.key(); });
        if (moving == std::end(kMovingKeys)) return false;
        const Key key = moving->key;
        const int id = c->id;
        Window::Busy busy(*owner_);
        return owner_->OnVKeyToItem(id, key, owner_->GetDlgItem(id).GetCurSel());
    }

    Window* owner_;
};

}  // namespace detail

Window::Window() = default;

bool Window::WheelScroll(const QWheelEvent& event, int bar_id) {
    QPoint delta = event.angleDelta();
    if (event.inverted()) delta = -delta;
    const bool horizontal = std::abs(delta.x()) > std::abs(delta.y());
    if (bar_id == IDC_STATIC) {
        // Over the window: its first scroll bar of the wheel's direction
        // that shows and is enabled.
        for (const ControlEntry& c : controls_) {
            if (c.kind != ControlKind::ScrollBar || !c.widget || c.widget->isHidden() ||
                !c.widget->isEnabled())
                continue;
            const auto* bar = qobject_cast<const QScrollBar*>(c.widget.data());
            if (bar && (bar->orientation() == Qt::Horizontal) == horizontal) {
                bar_id = c.id;
                break;
            }
        }
        if (bar_id == IDC_STATIC) return false;
    }
    // A notch is 120; a finer wheel's steps add up to one. Each notch is
    // as many line requests as the desktop scrolls lines a notch, so the
    // handler of the bar keeps them within its range.
    int& rest = horizontal ? wheel_rest_.rx() : wheel_rest_.ry();
    rest += horizontal ? delta.x() : delta.y();
    const int notches = rest / QWheelEvent::DefaultDeltasPerStep;
    rest -= notches * QWheelEvent::DefaultDeltasPerStep;
    const int code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
    const WindowHandle handle = handle_;
    for (int i = std::abs(notches) * QApplication::wheelScrollLines(); i > 0 && FromHandle(handle) == this;
         --i)
        Dispatch({bar_id, Notify::Scroll, code, GetDlgItem(bar_id).GetScrollPos()});
    return true;
}

QObject* Window::ConnectionContext() const {
    return relay_.get();
}

Window::~Window() {
    if (handle_) Detach();
}

void Window::AttachWidget(QWidget* widget, bool owned) {
    if (handle_) Detach();
    widget_ = widget;
    owns_widget_ = owned;
    relay_ = std::make_unique<detail::EventRelay>(this);
    handle_ = detail::RegisterWindow(this);
}

void Window::AttachHandleOnly() {
    if (handle_) Detach();
    relay_ = std::make_unique<detail::EventRelay>(this);
    handle_ = detail::RegisterWindow(this);
}

void Window::Detach() {
    if (handle_) detail::UnregisterWindow(handle_);
    handle_ = 0;
    relay_.reset();  // disconnects every signal and event filter of this window
    controls_.clear();
    focus_id_ = kNoFocus;
    QPointer<QWidget> w = widget_;
    widget_.clear();
    if (!w) return;
    if (auto* owned = dynamic_cast<detail::OwnedWidget*>(w.data())) owned->Release();
    if (!owns_widget_) return;
    w->hide();
    // Inside one of the widget's own events or handlers it must outlive the
    // call; the event loop deletes it afterwards.
    if (busy_ > 0)
        w->deleteLater();
    else
        delete w.data();
}

void Window::DestroyWindow() {
    if (!handle_) return;
    OnDestroy();
    Detach();
}

void Window::PostClose() {
    if (!widget_) return;
    const WindowHandle handle = handle_;
    QMetaObject::invokeMethod(
        widget_.data(),
        [handle] {
            if (Window* w = FromHandle(handle)) w->OnClose();
        },
        Qt::QueuedConnection);
}

void Window::SetWindowText(std::string_view text) {
    if (widget_) widget_->setWindowTitle(ToQtDisplay(text));
}

std::string Window::GetWindowText() const {
    return widget_ ? FromQt(widget_->windowTitle()) : std::string();
}

void Window::ShowWindow(int show_command) {
    if (!widget_) return;
    switch (show_command) {
        case SW_HIDE:
            widget_->hide();
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            if (show_command == SW_SHOWMINNOACTIVE) widget_->setAttribute(Qt::WA_ShowWithoutActivating);
            widget_->showMinimized();
            break;
        case SW_SHOWMAXIMIZED:
            widget_->showMaximized();
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            widget_->showNormal();
            break;
        case SW_SHOWNOACTIVATE:
            widget_->setAttribute(Qt::WA_ShowWithoutActivating);
            widget_->show();
            break;
        default:
            widget_->show();
            break;
    }
}

void Window::SetActiveWindow() {
    if (!widget_) return;
    widget_->raise();
    widget_->activateWindow();
}

bool Window::IsWindowVisible() const {
    return widget_ && widget_->isVisible();
}
void Window::EnableWindow(bool enable) {
    if (widget_) widget_->setEnabled(enable);
}
bool Window::IsWindowEnabled() const {
    return widget_ && widget_->isEnabled();
}
void Window::SetIcon(Picture picture) {
    if (widget_) widget_->setWindowIcon(PictureIcon(picture));
}
void Window::MoveWindow(int x, int y, int width, int height) {
    if (widget_) widget_->setGeometry(x, y, width, height);
}
QRect Window::GetClientRect() const {
    return widget_ ? widget_->rect() : QRect();
}
void Window::Invalidate() {
    if (widget_) widget_->update();
}

// ---- timers and hooks

unsigned Window::SetTimer(unsigned id, unsigned elapse_ms) {
    return handle_ ? platform::SetTimer(handle_, id, elapse_ms) : 0;
}
bool Window::KillTimer(unsigned id) {
    return handle_ && platform::KillTimer(handle_, id);
}

void Window::OnTimer(unsigned) {}
bool Window::OnCopyData(WindowHandle, const CopyDataRecord&) {
    return false;
}
void Window::OnPaint(QPainter&) {}
void Window::OnSize(int, int) {}
void Window::OnClose() {
    DestroyWindow();
}
void Window::OnDestroy() {}
bool Window::OnEnterKey() {
    return false;
}
bool Window::OnEscapeKey() {
    return false;
}
bool Window::OnVKeyToItem(int, Key, int) {
    return false;
}

// ---- message-only windows

MessageWindow::MessageWindow() {
    AttachHandleOnly();
}
MessageWindow::~MessageWindow() = default;

void MessageWindow::SetCopyDataHandler(std::function<bool(WindowHandle, const CopyDataRecord&)> handler) {
    copy_data_ = std::move(handler);
}
void MessageWindow::SetTimerHandler(std::function<void(unsigned)> handler) {
    timer_ = std::move(handler);
}
bool MessageWindow::OnCopyData(WindowHandle from, const CopyDataRecord& record) {
    return copy_data_ && copy_data_(from, record);
}
void MessageWindow::OnTimer(unsigned id) {
    if (timer_) timer_(id);
}

}  // namespace platform

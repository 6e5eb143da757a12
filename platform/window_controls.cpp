// A window's controls by id, its handlers and the keyboard focus among its
// controls.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <algorithm>

#include "platform/internal_widgets.h"
#include "platform/window.h"
#include "platform/wiring.h"

namespace platform {

// ---- controls

const Window::ControlEntry* Window::FindControl(int id) const {
    if (id == IDC_STATIC) return nullptr;
    for (const ControlEntry& c : controls_)
        if (c.id == id && c.widget) return &c;
    return nullptr;
}

int Window::ControlIdOf(const QObject* object) const {
    for (const ControlEntry& c : controls_) {
        if (!c.widget) continue;
        for (const QObject* o = object; o; o = o->parent()) {
            if (o == c.widget) return c.id;
            if (o == widget_) break;
        }
    }
    return IDC_STATIC;
}

Control Window::GetDlgItem(int id) const {
    const ControlEntry* c = FindControl(id);
    if (!c) return Control();
    return Control(const_cast<Window*>(this), c->id, c->kind, c->widget);
}

std::string Window::GetDlgItemText(int id) const {
    return GetDlgItem(id).GetWindowText();
}
void Window::SetDlgItemText(int id, std::string_view text) {
    GetDlgItem(id).SetWindowText(text);
}
int Window::IsDlgButtonChecked(int id) const {
    return GetDlgItem(id).GetCheck();
}
void Window::CheckDlgButton(int id, int check) {
    GetDlgItem(id).SetCheck(check);
}

void Window::CheckRadioButton(int first, int last, int id) {
    for (const ControlEntry& c : controls_)
        if (c.widget && c.kind == ControlKind::Radio && c.id >= first && c.id <= last)
            GetDlgItem(c.id).SetCheck(c.id == id ? 1 : 0);
}

std::vector<int> Window::GetControlIds() const {
    std::vector<int> ids;
    for (const ControlEntry& c : controls_)
        if (c.widget) ids.push_back(c.id);
    return ids;
}

Control Window::AddControl(const ControlDef& def, QWidget* w, int radio_group) {
    if (!w) return Control();
    if (def.style & kHidden) w->setVisible(false);
    if (def.style & kDisabled) w->setEnabled(false);
    if (def.style & kChecked)
        if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setChecked(true);
    // Hidden controls keep their place, as controls placed by a resource do.
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    if (def.id == IDC_STATIC) return Control();
    if (QObject* relay = ConnectionContext()) {
        w->installEventFilter(relay);
        // The wheel over the lines of a list its window scrolls reaches
        // the list's viewport first.
        if (def.kind == ControlKind::ListBox && (def.style & kWantKeys))
            if (auto* area = qobject_cast<QAbstractScrollArea*>(w))
                area->viewport()->installEventFilter(relay);
    }
    QWidget* previous = nullptr;
    for (auto it = controls_.rbegin(); it != controls_.rend() && !previous; ++it)
        if (it->widget && it->widget->focusPolicy() != Qt::NoFocus) previous = it->widget;
    controls_.push_back({def.id, def.kind, def.style, radio_group, w});
    if (previous && w->focusPolicy() != Qt::NoFocus && previous->window() == w->window())
        QWidget::setTabOrder(previous, w);
    detail::Wiring::Connect(*this, controls_.back());
    return Control(this, def.id, def.kind, w);
}

Control Window::CreateControl(const ControlDef& def, const QRect& place) {
    if (!widget_) return Control();
    QWidget* w = detail::MakeControlWidget(def, widget_);
    w->setGeometry(place);
    Control control = AddControl(def, w, def.kind == ControlKind::Radio ? -def.id : 0);
    if (!(def.style & kHidden)) w->show();
    return control;
}

// ---- handlers

void Window::Bind(int id, Notify code, std::function<void()> handler) {
    Bind(id, code, Handler([h = std::move(handler)](const Notification&) { h(); }));
}

void Window::Bind(int id, Notify code, Handler handler) {
    for (Binding& b : bindings_) {
        if (b.id == id && b.code == code) {
            b.handler = std::move(handler);
            return;
        }
    }
    bindings_.push_back({id, code, std::move(handler)});
}

bool Window::HasHandler(int id, Notify code) const {
    return std::any_of(bindings_.begin(), bindings_.end(),
                       [&](const Binding& b) { return b.id == id && b.code == code && b.handler; });
}

bool Window::Dispatch(const Notification& notification) {
    for (const Binding& b : bindings_) {
        if (b.id != notification.id || b.code != notification.code || !b.handler) continue;
        Handler handler = b.handler;  // the handler may rebind itself
        Busy busy(*this);
        handler(notification);
        return true;
    }
    return false;
}

void Window::ButtonClickedByUser(int id) {
    const ControlEntry* c = FindControl(id);
    if (!c) return;
    if (c->kind == ControlKind::Radio) {
        const int group = c->radio_group;
        GetDlgItem(id).SetCheck(1);
        if (group != 0)
            for (const ControlEntry& other : controls_)
                if (other.widget && other.kind == ControlKind::Radio && other.radio_group == group &&
                    other.id != id)
                    GetDlgItem(other.id).SetCheck(0);
    }
    Dispatch({id, Notify::Clicked});
}

// ---- focus

namespace {
bool TakesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
        case ControlKind::ListBox:
        case ControlKind::ComboBox:
            return true;
        default:
            return false;
    }
}
}  // namespace

void Window::FocusArrived(int id) {
    if (id == focus_id_) return;
    focus_id_ = id;
    Dispatch({id, Notify::FocusGained});
}

void Window::FocusLeft(int id) {
    if (id != focus_id_) return;
    Dispatch({id, Notify::FocusLost});
}

void Window::GotoDlgCtrl(int id) {
    const ControlEntry* c = FindControl(id);
    if (!c || !c->widget->isEnabledTo(c->widget->window())) return;
    QWidget* w = c->widget;
    if (w->window()->isActiveWindow() && !w->hasFocus()) {
        // The widgets' own focus events report the move.
        w->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A window that is not active (a dialog answered by a script, or one
    // behind another window) gets no focus events, and neither does a
    // control that took the focus as its window became active (which is
    // no move between controls): report the move here.
    w->setFocus(Qt::OtherFocusReason);
    const int old = focus_id_;
    if (old == id) return;
    focus_id_ = id;
    if (old != kNoFocus) Dispatch({old, Notify::FocusLost});
    if (focus_id_ == id) Dispatch({id, Notify::FocusGained});
}

namespace {
template <class Entries>
std::vector<int> FocusStops(const Entries& controls) {
    std::vector<int> stops;
    for (const auto& c : controls)
        if (c.widget && TakesFocus(c.kind) && c.widget->isVisibleTo(c.widget->window()) &&
            c.widget->isEnabledTo(c.widget->window()))
            stops.push_back(c.id);
    return stops;
}
}  // namespace

void Window::FirstDlgCtrl() {
    const std::vector<int> stops = FocusStops(controls_);
    if (!stops.empty()) GotoDlgCtrl(stops.front());
}

void Window::NextDlgCtrl(bool previous) {
    const std::vector<int> stops = FocusStops(controls_);
    if (stops.empty()) return;
    auto at = std::find(stops.begin(), stops.end(), focus_id_);
    std::size_t next = 0;
    if (at == stops.end()) {
        next = previous ? stops.size() - 1 : 0;
    } else {
        const std::size_t here = static_cast<std::size_t>(at - stops.begin());
        next = previous ? (here + stops.size() - 1) % stops.size() : (here + 1) % stops.size();
    }
    GotoDlgCtrl(stops[next]);
}

bool Window::PressFocusedButton() {
    const int focus = GetFocusId();
    const Control c = GetDlgItem(focus);
    if (!c || c.Kind() != ControlKind::Button || !c.IsWindowVisible() || !c.IsWindowEnabled()) return false;
    UserClick(focus);
    return true;
}

}  // namespace platform

// A simulated user: what a person's mouse and keyboard do to a window's
// controls, used by the scripted interaction. Every action moves the focus
// to its control first (so FocusLost and FocusGained run as they would for a
// click), refuses hidden and disabled controls, and then changes the control
// so that the same notifications reach the same handlers as on screen.

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "platform/internal_widgets.h"
#include "platform/text.h"
#include "platform/window.h"

namespace platform {
namespace {

Qt::Key QtKeyOf(Key key) {
    for (const detail::MovingKey& k : detail::kMovingKeys)
        if (k.key == key) return k.qt_key;
    return Qt::Key_unknown;
}

std::string Name(int id) {
    return "control " + std::to_string(id);
}

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
            return "a static text";
        case ControlKind::Edit:
            return "an edit";
        case ControlKind::Button:
            return "a push button";
        case ControlKind::CheckBox:
            return "a check box";
        case ControlKind::Radio:
            return "a radio button";
        case ControlKind::GroupBox:
            return "a group box";
        case ControlKind::ListBox:
            return "a list box";
        case ControlKind::ComboBox:
            return "a combo box";
        case ControlKind::ScrollBar:
            return "a scroll bar";
        case ControlKind::UpDown:
            return "an up-down control";
    }
    return "a control";
}

std::string WrongKind(int id, ControlKind kind, const char* action) {
    return Name(id) + " is " + KindName(kind) + " and cannot be " + action;
}

}  // namespace

std::string Window::CheckUsable(int id, const ControlEntry*& entry) const {
    entry = FindControl(id);
    if (!entry) return "there is no " + Name(id);
    QWidget* top = entry->widget->window();
    if (!entry->widget->isVisibleTo(top)) return Name(id) + " is hidden";
    if (!entry->widget->isEnabledTo(top)) return Name(id) + " is disabled";
    return {};
}

std::string Window::UserClick(int id) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    const ControlKind kind = c->kind;
    if (kind != ControlKind::Button && kind != ControlKind::CheckBox && kind != ControlKind::Radio)
        return WrongKind(id, kind, "clicked");
    GotoDlgCtrl(id);
    c = FindControl(id);
    if (!c) return {};  // the focus change closed the window
    if (kind == ControlKind::CheckBox) GetDlgItem(id).SetCheck(GetDlgItem(id).GetCheck() ? 0 : 1);
    ButtonClickedByUser(id);
    return {};
}

std::string Window::UserSetCheck(int id, bool checked) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    if (c->kind != ControlKind::CheckBox && c->kind != ControlKind::Radio)
        return WrongKind(id, c->kind, "checked");
    if ((GetDlgItem(id).GetCheck() != 0) == checked) return {};
    if (c->kind == ControlKind::Radio && !checked)
        return Name(id) + " is a radio button: it is unchecked by clicking another radio of its group";
    return UserClick(id);
}

std::string Window::UserSetText(int id, std::string_view text) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    QWidget* w = c->widget;
    auto* combo = qobject_cast<QComboBox*>(w);
    if (c->kind != ControlKind::Edit && !(combo && combo->isEditable()))
        return WrongKind(id, c->kind, "typed into");
    if (auto* line = qobject_cast<QLineEdit*>(w); line && line->isReadOnly())
        return Name(id) + " is read-only";
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w); plain && plain->isReadOnly())
        return Name(id) + " is read-only";
    GotoDlgCtrl(id);
    c = FindControl(id);
    if (!c) return {};
    const QString t = ToQt(text);
    if (combo) {
        const QSignalBlocker block(combo);
        if (combo->currentIndex() != -1 && combo->itemText(combo->currentIndex()) != t)
            combo->setCurrentIndex(-1);
        combo->lineEdit()->setText(t);
        Dispatch({id, Notify::Changed});
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        // Typing over a text with the same text still changes it key by key.
        if (line->text() == t.left(line->maxLength()))
            Dispatch({id, Notify::Changed});
        else
            line->setText(t);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        if (plain->toPlainText() == t)
            Dispatch({id, Notify::Changed});
        else
            plain->setPlainText(t);
    }
    return {};
}

std::string Window::UserType(int id, std::string_view text) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    QWidget* w = c->widget;
    auto* combo = qobject_cast<QComboBox*>(w);
    if (c->kind != ControlKind::Edit && !(combo && combo->isEditable()))
        return WrongKind(id, c->kind, "typed into");
    GotoDlgCtrl(id);
    for (char ch : text) {
        c = FindControl(id);
        if (!c) return {};
        const QString key = ToQt(std::string_view(&ch, 1));
        if (auto* plain = qobject_cast<QPlainTextEdit*>(c->widget.data())) {
            if (plain->isReadOnly()) return Name(id) + " is read-only";
            plain->insertPlainText(key);
            continue;
        }
        QLineEdit* line = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(c->widget.data());
        if (!line) return {};
        if (line->isReadOnly()) return Name(id) + " is read-only";
        line->insert(key);  // at the caret, over a selection; the handler sees each key
    }
    return {};
}

std::string Window::UserSelect(int id, int index) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    if (c->kind != ControlKind::ListBox && c->kind != ControlKind::ComboBox)
        return WrongKind(id, c->kind, "selected in");
    const int count = GetDlgItem(id).GetCount();
    if (index < 0 || index >= count)
        return Name(id) + " has no line " + std::to_string(index) + " (it has " + std::to_string(count) + ")";
    GotoDlgCtrl(id);
    c = FindControl(id);
    if (!c) return {};
    Control control = GetDlgItem(id);
    auto* list = qobject_cast<QListWidget*>(c->widget.data());
    if (list && list->selectionMode() == QAbstractItemView::MultiSelection) {
        // A click in a multiple-selection list toggles its line.
        control.SetItemSelected(index, !control.IsItemSelected(index));
        control.SetCurSel(index);
    } else {
        control.SetCurSel(index);
    }
    Dispatch({id, Notify::SelChange});
    return {};
}

std::string Window::UserSelectText(int id, std::string_view text) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    const int index = GetDlgItem(id).FindStringExact(-1, text);
    if (index == LB_ERR) return Name(id) + " has no line \"" + std::string(text) + "\"";
    return UserSelect(id, index);
}

std::string Window::UserDoubleClick(int id, int index) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    if (c->kind != ControlKind::ListBox) return WrongKind(id, c->kind, "double-clicked");
    if (std::string error = UserSelect(id, index); !error.empty()) return error;
    if (FindControl(id)) Dispatch({id, Notify::DoubleClick});
    return {};
}

std::string Window::UserScroll(int id, int scroll_code, int position) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    if (c->kind != ControlKind::ScrollBar) return WrongKind(id, c->kind, "scrolled");
    Dispatch({id, Notify::Scroll, scroll_code, position});
    return {};
}

std::string Window::UserSpin(int id, bool up) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    if (c->kind != ControlKind::UpDown) return WrongKind(id, c->kind, "spun");
    Dispatch({id, Notify::DeltaPos, 0, 0, up ? -1 : 1});
    return {};
}

std::string Window::UserFocus(int id) {
    const ControlEntry* c = nullptr;
    if (std::string error = CheckUsable(id, c); !error.empty()) return error;
    GotoDlgCtrl(id);
    return {};
}

std::string Window::UserLeaveFocus() {
    const int old = focus_id_;
    if (old == kNoFocus) return {};
    // Forget the focus first, so that the widget's own focus-out event
    // (when the window is active) reports nothing twice.
    focus_id_ = kNoFocus;
    if (QWidget* w = GetDlgItem(old).Widget()) w->clearFocus();
    Dispatch({old, Notify::FocusLost});
    return {};
}

std::string Window::UserKey(Key key) {
    switch (key) {
        case Key::Enter:
            if (!OnEnterKey())
                if (auto* plain = qobject_cast<QPlainTextEdit*>(GetDlgItem(focus_id_).Widget()))
                    plain->insertPlainText("\n");
            break;
        case Key::Escape:
            OnEscapeKey();
            break;
        case Key::Tab:
            NextDlgCtrl(false);
            break;
        case Key::BackTab:
            NextDlgCtrl(true);
            break;
        case Key::Up:
        case Key::Down:
        case Key::PageUp:
        case Key::PageDown:
        case Key::Home:
        case Key::End:
            // The widget's own key handling, as on screen: a list moves its
            // selection (a user's selection, so SelChange runs), an edit
            // ignores the key. A list that wants its keys offers them to
            // its window first.
            if (QWidget* w = GetDlgItem(focus_id_).Widget()) {
                QKeyEvent press(QEvent::KeyPress, QtKeyOf(key), Qt::NoModifier);
                QCoreApplication::sendEvent(w, &press);
            }
            break;
    }
    return {};
}

}  // namespace platform

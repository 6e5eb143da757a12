// What each kind of widget tells its window, as the notifications the
// dialogs' handlers are bound to: a click, a changed text, a selection made by the user, a double
// click, a scroll request, an up-down press. Selections set in code make no
// SelChange (the widgets' user-only signals are used for them).

#include "platform/wiring.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "platform/internal_widgets.h"

namespace platform::detail {
namespace {

int ScrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            return SB_LINEDOWN;
        case QAbstractSlider::SliderSingleStepSub:
            return SB_LINEUP;
        case QAbstractSlider::SliderPageStepAdd:
            return SB_PAGEDOWN;
        case QAbstractSlider::SliderPageStepSub:
            return SB_PAGEUP;
        case QAbstractSlider::SliderToMinimum:
            return SB_TOP;
        case QAbstractSlider::SliderToMaximum:
            return SB_BOTTOM;
        default:
            return -1;
    }
}

}  // namespace

void Wiring::Connect(Window& window, const Window::ControlEntry& control) {
    Window* win = &window;
    QObject* context = window.ConnectionContext();
    QWidget* w = control.widget;
    const int id = control.id;
    switch (control.kind) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, context,
                             [win, id] { win->ButtonClickedByUser(id); });
            break;
        case ControlKind::Edit:
            if (auto* line = qobject_cast<QLineEdit*>(w))
                QObject::connect(line, &QLineEdit::textChanged, context, [win, id] {
                    win->Dispatch({id, Notify::Changed});
                });
            else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
                QObject::connect(plain, &QPlainTextEdit::textChanged, context, [win, id] {
                    win->Dispatch({id, Notify::Changed});
                });
            break;
        case ControlKind::ListBox: {
            auto* list = static_cast<QListWidget*>(w);
            QObject::connect(list, &QListWidget::itemSelectionChanged, context, [win, id] {
                win->Dispatch({id, Notify::SelChange});
            });
            QObject::connect(list, &QListWidget::itemDoubleClicked, context, [win, id] {
                win->Dispatch({id, Notify::DoubleClick});
            });
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = static_cast<QComboBox*>(w);
            QObject::connect(combo, qOverload<int>(&QComboBox::activated), context, [win, id] {
                win->Dispatch({id, Notify::SelChange});
            });
            if (QLineEdit* line = combo->lineEdit()) {
                // Typing in the edit part leaves no line selected, as in a
                // desktop combo box.
                QObject::connect(line, &QLineEdit::textEdited, context, [win, id, combo, line] {
                    if (combo->currentIndex() != -1 &&
                        combo->itemText(combo->currentIndex()) != line->text()) {
                        const QString text = line->text();
                        const int caret = line->cursorPosition();
                        const QSignalBlocker block(combo);
                        combo->setCurrentIndex(-1);
                        line->setText(text);
                        line->setCursorPosition(caret);
                    }
                    win->Dispatch({id, Notify::Changed});
                });
            }
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = static_cast<QScrollBar*>(w);
            // The scroll bar asks; the handler decides where it goes (it sets
            // the position), so Qt's own move is taken back first.
            QObject::connect(bar, &QAbstractSlider::actionTriggered, context, [win, id, bar](int action) {
                if (action == QAbstractSlider::SliderMove) {
                    win->Dispatch({id, Notify::Scroll, SB_THUMBTRACK, bar->sliderPosition()});
                    return;
                }
                const int code = ScrollCodeOf(action);
                if (code < 0) return;
                bar->setSliderPosition(bar->value());
                win->Dispatch({id, Notify::Scroll, code, bar->value()});
            });
            QObject::connect(bar, &QAbstractSlider::sliderReleased, context, [win, id, bar] {
                win->Dispatch({id, Notify::Scroll, SB_THUMBPOSITION, bar->sliderPosition()});
            });
            break;
        }
        case ControlKind::UpDown: {
            auto* updown = static_cast<UpDownWidget*>(w);
            QPointer<QObject> guard(context);
            updown->on_delta = [win, id, guard](int delta) {
                if (guard) win->Dispatch({id, Notify::DeltaPos, 0, 0, delta});
            };
            break;
        }
        case ControlKind::Static:
        case ControlKind::GroupBox:
            break;
    }
}

}  // namespace platform::detail

// Text, state, focus and edit operations of a control.

#include "platform/control.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>

#include "platform/internal_widgets.h"
#include "platform/text.h"
#include "platform/window.h"

namespace platform {
namespace {

// The single-line edit of an edit control or of a combo box's edit part.
QLineEdit* LineEditOf(QWidget* w) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) return line;
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
    return nullptr;
}

// Multi-line edits hold LF inside and give CR LF outside, the line ends the
// callers' texts use.
std::string ToCrLf(const QString& text) {
    std::string out;
    for (char c : FromQt(text)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

QString FromCrLf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return ToQt(out);
}

}  // namespace

Control::Control(Window* owner, int id, ControlKind kind, QWidget* widget)
    : owner_(owner), id_(id), kind_(kind), widget_(widget) {}

bool Control::HasFocus() const {
    return (owner_ && owner_->GetFocusId() == id_) || (widget_ && widget_->hasFocus());
}

std::string Control::GetWindowText() const {
    QWidget* w = widget_.data();
    if (!w) return {};
    if (auto* label = qobject_cast<QLabel*>(w)) return FromQt(detail::CaptionShown(label, label->text()));
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return ToCrLf(plain->toPlainText());
    if (auto* line = qobject_cast<QLineEdit*>(w)) return FromQt(line->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return FromQt(detail::CaptionShown(button, button->text()));
    if (auto* group = qobject_cast<QGroupBox*>(w)) return FromQt(group->title());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return FromQt(combo->currentText());
    return {};
}

void Control::SetWindowText(std::string_view text) {
    QWidget* w = widget_.data();
    if (!w) return;
    const QString t = ToQt(text);
    // What only shows (labels, captions) shows a zero byte as a blank; an
    // edit keeps every byte, so that a field read into it and written back
    // is unchanged.
    const QString shown = ToQtDisplay(text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(detail::CaptionToShow(label, shown));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->setPlainText(FromCrLf(text));
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(t);  // sends Changed
        // A text put in by the program shows from its start; while the user
        // types, the caret stays where the typing is.
        if (!HasFocus()) line->setCursorPosition(0);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(detail::CaptionToShow(button, shown));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(shown);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable()) {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(-1);
            combo->setEditText(t);
            if (QLineEdit* line = combo->lineEdit(); line && !HasFocus()) line->setCursorPosition(0);
        }
    }
    detail::FitTextWidth(w);
}

void Control::ShowWindow(int show_command) {
    if (widget_) widget_->setVisible(show_command != SW_HIDE);
}

bool Control::IsWindowVisible() const {
    return widget_ && widget_->isVisibleTo(widget_->window());
}

void Control::EnableWindow(bool enable) {
    if (widget_) widget_->setEnabled(enable);
}

bool Control::IsWindowEnabled() const {
    return widget_ && widget_->isEnabledTo(widget_->window());
}

void Control::SetFocus() {
    if (widget_ && owner_) owner_->GotoDlgCtrl(id_);
}

void Control::MoveWindow(int x, int y, int width, int height) {
    if (widget_) widget_->setGeometry(x, y, width, height);
}

QRect Control::GetWindowRect() const {
    if (!widget_) return {};
    QWidget* top = owner_ && owner_->GetWidget() ? owner_->GetWidget() : widget_->window();
    return QRect(widget_->mapTo(top, QPoint(0, 0)), widget_->size());
}

int Control::GetCheck() const {
    auto* button = qobject_cast<QAbstractButton*>(widget_.data());
    return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void Control::SetCheck(int check) {
    auto* button = qobject_cast<QAbstractButton*>(widget_.data());
    if (button && button->isCheckable()) button->setChecked(check != 0);
}

void Control::LimitText(int max_chars) {
    if (QLineEdit* line = LineEditOf(widget_.data())) line->setMaxLength(max_chars > 0 ? max_chars : 32767);
}

void Control::GetSel(int& start, int& end) const {
    start = end = 0;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_.data())) {
        const QTextCursor cursor = plain->textCursor();
        start = cursor.selectionStart();
        end = cursor.selectionEnd();
        return;
    }
    QLineEdit* line = LineEditOf(widget_.data());
    if (!line) return;
    if (line->hasSelectedText()) {
        start = line->selectionStart();
        end = start + static_cast<int>(line->selectedText().size());
    } else {
        start = end = line->cursorPosition();
    }
}

void Control::SetSel(int start, int end) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_.data())) {
        QTextCursor cursor = plain->textCursor();
        const int length = static_cast<int>(plain->toPlainText().size());
        if (start < 0) {
            cursor.clearSelection();
        } else {
            if (end < 0 || end > length) end = length;
            cursor.setPosition(std::min(start, length));
            cursor.setPosition(end, QTextCursor::KeepAnchor);
        }
        plain->setTextCursor(cursor);
        return;
    }
    QLineEdit* line = LineEditOf(widget_.data());
    if (!line) return;
    const int length = static_cast<int>(line->text().size());
    if (start < 0) {
        line->deselect();
        return;
    }
    if (end < 0 || end > length) end = length;
    start = std::min(start, length);
    if (start == end)
        line->setCursorPosition(end);
    else
        line->setSelection(start, end - start);  // the caret ends at `end`
}

void Control::SetReadOnly(bool read_only) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_.data()))
        plain->setReadOnly(read_only);
    else if (auto* line = qobject_cast<QLineEdit*>(widget_.data()))
        line->setReadOnly(read_only);
}

}  // namespace platform

#include "platform/internal_widgets.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include "platform/dialog.h"

namespace platform::detail {

HookWidget::HookWidget(Window* owner, QWidget* parent) : QWidget(parent), OwnedWidget(owner) {}

void HookWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnPaint(painter);
    }
}

void HookWidget::resizeEvent(QResizeEvent*) {
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnSize(width(), height());
    }
}

void HookWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnClose();
    }
}

void HookWidget::wheelEvent(QWheelEvent* event) {
    Window* w = owner();
    if (!w) return QWidget::wheelEvent(event);
    Window::Busy busy(*w);
    if (w->WheelScroll(*event, IDC_STATIC))
        event->accept();
    else
        event->ignore();
}

DialogWidget::DialogWidget(Dialog* owner, QWidget* parent) : QDialog(parent), OwnedWidget(owner) {}

// Qt's own ways of ending a dialog are the IDCANCEL and IDOK commands here,
// so that the dialog class decides.
void DialogWidget::reject() {
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnEscapeKey();
    }
}

void DialogWidget::accept() {
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->Dispatch({IDOK, Notify::Clicked});
    }
}

// A part the program hides (a group box going with its controls) leaves
// neither an empty band nor stretched frames behind: the dialog shrinks to
// what is left, as it would open with it; a part it shows gets its room.
// The layout has answered the request by the time the event arrives here.
bool DialogWidget::event(QEvent* event) {
    const bool done = QDialog::event(event);
    if (event->type() == QEvent::LayoutRequest && (isVisible() || testAttribute(Qt::WA_Resized))) adjustSize();
    return done;
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    Window* w = owner();
    const int key = event->key();
    if (w && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        Window::Busy busy(*w);
        w->OnEnterKey();
        return;
    }
    if (w && key == Qt::Key_Escape) {
        Window::Busy busy(*w);
        w->OnEscapeKey();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnEscapeKey();
    }
}

ListWidget::ListWidget(QWidget* parent) : QListWidget(parent) {
    // Not Qt::ClickFocus: Qt would give a clicked list the focus before the
    // list sees the press, too late to note where it stood.
    setFocusPolicy(Qt::TabFocus);
}

void ListWidget::mousePressEvent(QMouseEvent* event) {
    if (!hasFocus()) {
        const int top = verticalScrollBar()->value();
        const int left = horizontalScrollBar()->value();
        const QPointer<ListWidget> alive(this);
        setFocus(Qt::MouseFocusReason);
        if (!alive) return;
        verticalScrollBar()->setValue(top);
        horizontalScrollBar()->setValue(left);
    }
    QListWidget::mousePressEvent(event);
}

int ListWidget::WholeLinesShown() const {
    int line = 0;
    if (count() > 0) {
        line = sizeHintForRow(0);
    } else {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features |= QStyleOptionViewItem::HasDisplay;
        option.text = QStringLiteral("X");
        line = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
    }
    // The geometry, not the viewport's: it is set as soon as the layout
    // places the list, before a hidden list gets its resize event.
    int height = contentsRect().height();
    if (horizontalScrollBar()->isVisibleTo(this)) height -= horizontalScrollBar()->height();
    return line > 0 ? std::max(0, height) / line : 0;
}

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent) {
    auto* layout = new QBoxLayout(QBoxLayout::TopToBottom, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(this);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    QObject::connect(up, &QToolButton::clicked, this, [this] {
        if (on_delta) on_delta(-1);
    });
    QObject::connect(down, &QToolButton::clicked, this, [this] {
        if (on_delta) on_delta(+1);
    });
}

}  // namespace platform::detail

#include "platform/frame_widgets.h"

#include <QCloseEvent>
#include <QEvent>
#include <QPainter>

#include "platform/window.h"

namespace platform::detail {

MainWindowWidget::MainWindowWidget(Window* owner) : OwnedWidget(owner) {}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnClose();
    }
}

BackgroundArea::BackgroundArea(QWidget* parent) : QMdiArea(parent) {}

void BackgroundArea::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    if (painter) painter(p, viewport()->rect());
}

void BackgroundArea::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    viewport()->update();
}

SubWindowWidget::SubWindowWidget(Window* owner) : OwnedWidget(owner) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void SubWindowWidget::changeEvent(QEvent* event) {
    const bool state = event->type() == QEvent::WindowStateChange;
    if (state && isMaximized() && !fixed_size_.isValid() && minimumSize() == maximumSize()) {
        fixed_size_ = minimumSize();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    QMdiSubWindow::changeEvent(event);
    if (state && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) && fixed_size_.isValid()) {
        setFixedSize(fixed_size_);
        fixed_size_ = QSize();
    }
}

void SubWindowWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnClose();
    }
}

}  // namespace platform::detail

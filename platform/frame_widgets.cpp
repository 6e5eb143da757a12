#include "platform/frame_widgets.h"

#include <QCloseEvent>
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

void SubWindowWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (Window* w = owner()) {
        Window::Busy busy(*w);
        w->OnClose();
    }
}

}  // namespace platform::detail

#pragma once

// Widget classes of the main frame and its MDI children (internal).

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <functional>

#include "platform/internal_widgets.h"

namespace platform::detail {

// The main window: its close box asks the MainFrame.
class MainWindowWidget : public QMainWindow, public OwnedWidget {
public:
    explicit MainWindowWidget(Window* owner);

protected:
    void closeEvent(QCloseEvent* event) override;
};

// The MDI client area, painted by a hook; a new size repaints it whole so a
// centred picture stays centred.
class BackgroundArea : public QMdiArea {
public:
    explicit BackgroundArea(QWidget* parent);
    std::function<void(QPainter&, const QRect&)> painter;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

// A child frame: its close box asks the ChildFrame. A frame of a fixed
// size still fills the area while it is maximized (as a child opened or
// activated while the children are maximized is), and takes its fixed size
// again when it is restored.
class SubWindowWidget : public QMdiSubWindow, public OwnedWidget {
public:
    explicit SubWindowWidget(Window* owner);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QSize fixed_size_;  // valid while a fixed frame is out of its normal state
};

}  // namespace platform::detail

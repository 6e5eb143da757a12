// The main frame's window, tool bar, status bar, background and closing.

#include "platform/main_frame.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>

#include "platform/frame_widgets.h"
#include "platform/text.h"

namespace platform {
namespace {

// Tab (or Shift+Tab) out of a tool bar edit goes into the child window in
// front. Left to the focus chain it would reach the first child window
// opened, whatever is in front, and bring that one up over the others.
class TabIntoActiveChild : public QObject {
public:
    TabIntoActiveChild(QWidget* edit, QMdiArea* area) : QObject(edit), area_(area) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !area_) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return QObject::eventFilter(watched, event);
        QMdiSubWindow* front = area_->activeSubWindow();
        if (!front) front = area_->currentSubWindow();
        if (!front || !front->isVisible()) return QObject::eventFilter(watched, event);
        QWidget* target = front->widget() ? front->widget() : front;
        // The first control of the view that takes the focus, else the
        // window itself.
        QWidget* next = target;
        for (QWidget* w = target->nextInFocusChain(); w && w != target; w = w->nextInFocusChain()) {
            if (!front->isAncestorOf(w)) continue;
            if (w->isVisibleTo(front) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                next = w;
                break;
            }
        }
        if (next == target && !(target->focusPolicy() & Qt::TabFocus)) next = front;
        next->setFocus(key->key() == Qt::Key_Backtab ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }

private:
    QPointer<QMdiArea> area_;
};

}  // namespace

MainFrame::MainFrame() {
    // The framework's own commands of the Window menu and Exit.
    Bind(ID_WINDOW_CASCADE, Notify::Clicked, [this] { MDICascade(); });
    Bind(ID_WINDOW_TILE_HORZ, Notify::Clicked, [this] { MDITile(true); });
    Bind(ID_WINDOW_TILE_VERT, Notify::Clicked, [this] { MDITile(false); });
    Bind(ID_WINDOW_ARRANGE, Notify::Clicked, [this] { MDICascade(); });
    Bind(ID_APP_EXIT, Notify::Clicked, [this] { OnClose(); });
}

MainFrame::~MainFrame() {
    std::vector<std::unique_ptr<ChildFrame>> children = std::move(children_);
    children_.clear();
    for (auto& child : children) child->DestroyWindow();
    closed_.clear();
}

bool MainFrame::Create(std::string_view title, MenuTable menu, MenuTable child_menu) {
    if (IsWindow() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    auto* w = new detail::MainWindowWidget(this);
    w->setWindowTitle(ToQt(title));
    w->setWindowIcon(PictureIcon(Picture::Application));
    AttachWidget(w, true);

    auto* area = new detail::BackgroundArea(w);
    area->painter = [this](QPainter& p, const QRect& r) {
        if (background_)
            background_(p, r);
        else
            PaintDefaultBackground(p, r);
    };
    QObject::connect(area, &QMdiArea::subWindowActivated, w,
                     [this](QMdiSubWindow*) { RefreshCommandState(); });
    w->setCentralWidget(area);
    mdi_ = area;

    toolbar_ = w->addToolBar("Standard");
    toolbar_->setMovable(true);
    w->statusBar()->showMessage("Ready");

    menus_[0] = std::move(menu);
    menus_[1] = std::move(child_menu);
    current_menu_ = 0;
    RebuildMenuBar();
    w->resize(900, 640);
    return true;
}

QMainWindow* MainFrame::GetMainWindow() const {
    return qobject_cast<QMainWindow*>(GetWidget());
}
QMdiArea* MainFrame::GetMdiArea() const {
    return mdi_.data();
}

void MainFrame::AddToolBarButton(int command_id, std::string_view caption, Picture picture) {
    AddToolBarButton(command_id, caption, picture != Picture::None ? PictureIcon(picture) : QIcon());
}

void MainFrame::AddToolBarButton(int command_id, std::string_view caption, const QIcon& icon) {
    if (!toolbar_) return;
    QAction* action = toolbar_->addAction(ToQt(caption));
    if (!icon.isNull()) action->setIcon(icon);
    action->setToolTip(ToQt(caption));
    QObject::connect(action, &QAction::triggered, ConnectionContext(),
                     [this, command_id] { InvokeCommand(command_id); });
    tool_actions_.push_back({command_id, action});
    RefreshCommandState();
}

void MainFrame::AddToolBarSeparator() {
    if (toolbar_) toolbar_->addSeparator();
}

Control MainFrame::AddToolBarEdit(int id, int width_chars) {
    if (!toolbar_) return Control();
    auto* edit = new QLineEdit(toolbar_);
    edit->setFixedWidth(edit->fontMetrics().averageCharWidth() * width_chars + 12);
    toolbar_->addWidget(edit);
    edit->installEventFilter(new TabIntoActiveChild(edit, mdi_));
    // The tool bar shows its widgets at its next layout; the edit is usable
    // (and visible to a script) at once.
    edit->setVisible(true);
    ControlDef def;
    def.id = id;
    def.kind = ControlKind::Edit;
    return AddControl(def, edit);
}

void MainFrame::SetMessageText(std::string_view text) {
    if (QMainWindow* w = GetMainWindow()) w->statusBar()->showMessage(ToQtDisplay(text));
}

std::string MainFrame::GetMessageText() const {
    QMainWindow* w = GetMainWindow();
    return w ? FromQt(w->statusBar()->currentMessage()) : std::string();
}

void MainFrame::SetBackgroundPainter(BackgroundPainter painter) {
    background_ = std::move(painter);
    if (mdi_) mdi_->viewport()->update();
}

void MainFrame::PaintDefaultBackground(QPainter& painter, const QRect& area) {
    painter.fillRect(area, Qt::white);
    static const QPixmap picture = DrawPicture(Picture::Background);
    painter.drawPixmap(area.left() + (area.width() - picture.width()) / 2,
                       area.top() + (area.height() - picture.height()) / 2, picture);
}

void MainFrame::OnClose() {
    if (!CloseAllChildren()) return;
    DestroyWindow();
}

void MainFrame::DestroyWindow() {
    if (!IsWindow()) return;
    for (ChildFrame* child : GetChildFrames()) child->DestroyWindow();
    Window::DestroyWindow();
    // The program ends with its main window, when it runs an event loop.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

}  // namespace platform

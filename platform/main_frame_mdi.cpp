// The main frame's MDI children: opening from a template, listing,
// activating, closing.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "platform/main_frame.h"

namespace platform {

ChildFrame* MainFrame::OpenView(const DocTemplate& doc_template, bool visible) {
    if (!mdi_ || !doc_template.make_view) return nullptr;
    FlushClosedChildren();
    std::unique_ptr<ChildFrame> frame =
        doc_template.make_frame ? doc_template.make_frame() : std::make_unique<ChildFrame>();
    std::unique_ptr<View> view = doc_template.make_view();
    if (!frame || !view) return nullptr;
    ChildFrame* f = frame.get();
    children_.push_back(std::move(frame));
    if (!f->Create(*this, std::move(view), &doc_template)) {
        f->DestroyWindow();
        return nullptr;
    }
    UpdateMenuForChildren();
    const WindowHandle handle = f->GetSafeHwnd();
    {
        Busy busy(*f->GetView());
        f->GetView()->OnInitialUpdate();
    }
    if (FromHandle(handle) != f) return nullptr;  // it closed itself
    if (visible) {
        PlaceNewChild(f);
        f->GetWidget()->show();
        // Activated while the active child is maximized, the area shows it
        // maximized in its place; its own place is where it is restored.
        MDIActivate(f);
    }
    RefreshCommandState();
    return f;
}

void MainFrame::PlaceNewChild(ChildFrame* frame) {
    QWidget* sub = frame->GetWidget();
    if (!mdi_ || !sub || sub->isMaximized()) return;
    // The area's own rectangle: its viewport takes the area's size only when
    // the frame first shows, and children open before that (at start-up).
    const QSize area = mdi_->contentsRect().size();
    if (area.isEmpty()) return;
    // As large as its form wants, so that no column of it is cut, but never
    // larger than the visible area, so that its legends and Done buttons
    // can be reached without moving it.
    const QSize size = sub->size().expandedTo(sub->sizeHint()).boundedTo(area);
    if (size != sub->size()) {
        if (sub->minimumSize() == sub->maximumSize())
            sub->setFixedSize(size);
        else
            sub->resize(size);
    }
    // One title bar down and across from the last child still open; back
    // to the top left corner when that would reach past the area's edge.
    const int step = std::max(sub->height() - sub->contentsRect().height(),
                              sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub));
    QPoint at(0, 0);
    const std::vector<ChildFrame*> frames = GetChildFrames();
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        QWidget* w = (*it)->GetWidget();
        if (*it == frame || !w || !w->isVisible() || w->isMaximized() || w->isMinimized()) continue;
        at = w->pos() + QPoint(step, step);
        break;
    }
    if (at.x() + size.width() > area.width() || at.y() + size.height() > area.height() || at.x() < 0 ||
        at.y() < 0)
        at = QPoint(0, 0);
    sub->move(at);
}

std::vector<ChildFrame*> MainFrame::GetChildFrames() const {
    std::vector<ChildFrame*> frames;
    for (const auto& child : children_)
        if (child->IsWindow()) frames.push_back(child.get());
    return frames;
}

ChildFrame* MainFrame::FrameOf(const QWidget* subwindow) const {
    if (!subwindow) return nullptr;
    for (const auto& child : children_)
        if (child->IsWindow() && child->GetWidget() == subwindow) return child.get();
    return nullptr;
}

ChildFrame* MainFrame::MDIGetActive() const {
    if (!mdi_) return nullptr;
    // The current child stays current while the program is not the active
    // application, as the active MDI child did.
    if (ChildFrame* f = FrameOf(mdi_->currentSubWindow())) return f;
    const std::vector<ChildFrame*> frames = GetChildFrames();
    return frames.empty() ? nullptr : frames.back();
}

void MainFrame::MDIActivate(ChildFrame* frame) {
    if (!mdi_ || !frame || !frame->IsWindow()) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame->GetWidget())) mdi_->setActiveSubWindow(sub);
    RefreshCommandState();
}

void MainFrame::MDICascade() {
    if (mdi_) mdi_->cascadeSubWindows();
}

void MainFrame::MDITile(bool) {
    if (mdi_) mdi_->tileSubWindows();
}

bool MainFrame::CloseAllChildren() {
    for (ChildFrame* frame : GetChildFrames()) {
        Busy busy(*frame);
        frame->OnClose();
    }
    return GetChildFrames().empty();
}

void MainFrame::ChildClosing(ChildFrame* frame) {
    auto* closing = qobject_cast<QMdiSubWindow*>(frame->GetWidget());
    if (!mdi_ || !closing || mdi_->currentSubWindow() != closing) return;
    // The active child hands over to the child that was active before it
    // while it is still there, so that the area shows that one maximized
    // when the closing one is; once it is gone the area would take the
    // next one in opening order, restored.
    const QList<QMdiSubWindow*> history = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        ChildFrame* previous = *it == closing || !(*it)->isVisible() ? nullptr : FrameOf(*it);
        if (!previous) continue;
        MDIActivate(previous);
        return;
    }
}

void MainFrame::ChildClosed(ChildFrame* frame) {
    auto it =
        std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == frame; });
    if (it == children_.end()) return;
    // The frame may be closing from inside its own handler: it is deleted
    // later, from the event loop or at the next OpenView.
    closed_.push_back(std::move(*it));
    children_.erase(it);
    if (QWidget* w = GetWidget()) QTimer::singleShot(0, w, [this] { FlushClosedChildren(); });
    if (IsWindow()) {
        UpdateMenuForChildren();
        RefreshCommandState();
    }
}

void MainFrame::FlushClosedChildren() {
    // A frame whose handler is still running stays until a later flush.
    std::erase_if(closed_, [](const auto& frame) {
        return !frame->IsBusy() && !(frame->GetView() && frame->GetView()->IsBusy());
    });
}

void MainFrame::UpdateMenuForChildren() {
    const int wanted = !menus_[1].empty() && !GetChildFrames().empty() ? 1 : 0;
    if (wanted == current_menu_) return;
    current_menu_ = wanted;
    RebuildMenuBar();
}

}  // namespace platform

#include "platform/view.h"

#include <QMdiArea>
#include <set>
#include <string>

#include "platform/frame_widgets.h"
#include "platform/internal_widgets.h"
#include "platform/main_frame.h"
#include "platform/text.h"

namespace platform {

View::View() = default;
View::~View() = default;

void View::OnInitialUpdate() {}

std::vector<std::string> View::MenuBarCaptions() const {
    if (const ChildFrame* frame = GetParentFrame(); frame && frame->GetMainFrame())
        return frame->GetMainFrame()->GetMenuBarCaptions();
    return {};
}
void View::OnDraw(QPainter&) {}
bool View::TextLine(long, std::string&) const {
    return false;
}
void View::OnPaint(QPainter& painter) {
    OnDraw(painter);
}

bool View::CreateIn(ChildFrame& frame) {
    auto* sub = qobject_cast<QMdiSubWindow*>(frame.GetWidget());
    if (!sub) return false;
    auto* w = new detail::HookWidget(this, nullptr);
    AttachWidget(w, false);  // the frame's widget owns it
    sub->setWidget(w);
    frame_ = &frame;
    return true;
}

FormView::FormView(DialogTemplate table) : table_(std::move(table)) {}

void FormView::OnInitialUpdate() {
    QWidget* w = GetWidget();
    if (!w) return;
    // The view goes by its form's caption (the program colours name their
    // entries by it); the frame keeps its document title.
    SetWindowText(table_.caption);
    // Alt and a letter of the menu bar opens its menu while this window is
    // active, so the form's keys leave the bar's letters to it.
    detail::TakenLetters taken;
    for (const std::string& caption : MenuBarCaptions())
        if (const QChar letter = detail::CaptionLetter(ToQt(caption)); !letter.isNull())
            taken.menu_bar.push_back(letter);
    detail::BuildBody(*this, table_.body, w, taken);
}

ChildFrame::ChildFrame() = default;

ChildFrame::~ChildFrame() {
    if (view_) view_->DestroyWindow();
}

void ChildFrame::PreCreateWindow(FrameStyle&) {}
bool ChildFrame::OnCreate() {
    return true;
}
void ChildFrame::OnClose() {
    DestroyWindow();
}

bool ChildFrame::Create(MainFrame& main, std::unique_ptr<View> view, const DocTemplate* doc_template) {
    FrameStyle style;
    PreCreateWindow(style);
    auto* sub = new detail::SubWindowWidget(this);
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint;
    if (style.maximize_box) flags |= Qt::WindowMaximizeButtonHint;
    sub->setWindowFlags(flags);
    main_ = &main;
    template_ = doc_template;
    AttachWidget(sub, true);
    main.GetMdiArea()->addSubWindow(sub);
    if (doc_template) sub->setWindowIcon(PictureIcon(doc_template->icon));
    view_ = std::move(view);
    if (!view_ || !view_->CreateIn(*this)) return false;
    const QSize area = main.GetMdiArea()->size();
    sub->resize(std::max(400, area.width() * 2 / 3), std::max(300, area.height() * 2 / 3));
    if (!style.sizing_border) sub->setFixedSize(sub->size());
    return OnCreate();
}

void ChildFrame::DestroyWindow() {
    if (!IsWindow()) return;
    if (view_) view_->DestroyWindow();
    if (main_) main_->ChildClosing(this);
    if (main_ && main_->GetMdiArea())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(GetWidget())) main_->GetMdiArea()->removeSubWindow(sub);
    Window::DestroyWindow();
    if (main_) main_->ChildClosed(this);
}

void ChildFrame::ActivateFrame() {
    if (main_) main_->MDIActivate(this);
}

void ChildFrame::SetWindowText(std::string_view text) {
    const bool same_title = title_ == text;
    title_ = std::string(text);
    std::set<int> shown;
    if (main_ && !title_.empty())
        for (const ChildFrame* other : main_->GetChildFrames())
            if (other != this && other->title_ == title_) shown.insert(other->title_number_);
    // A frame given its own title again keeps its number while no other
    // window shows it.
    int number = title_number_;
    if (!same_title || shown.count(number)) {
        number = 1;
        while (shown.count(number)) ++number;
    }
    title_number_ = number;
    Window::SetWindowText(number > 1 ? title_ + ":" + std::to_string(number) : title_);
}

}  // namespace platform

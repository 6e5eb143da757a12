#include "platform/dialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "platform/interaction.h"
#include "platform/internal_widgets.h"
#include "platform/text.h"

namespace platform {
namespace {

struct Live {
    Dialog* dialog;
    std::uint64_t opened;  // order of opening, 0 while closed
};

std::vector<Live>& LiveDialogs() {
    static std::vector<Live> live;
    return live;
}

std::uint64_t next_opening = 1;

// Gives a control its place back once it shows: from then on it keeps the
// place while hidden, so that later showing and hiding does not move the
// controls around it.
class KeepPlaceOnceShown : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent)
            if (auto* w = qobject_cast<QWidget*>(watched)) {
                QSizePolicy policy = w->sizePolicy();
                policy.setRetainSizeWhenHidden(true);
                w->setSizePolicy(policy);
                w->removeEventFilter(this);
            }
        return QObject::eventFilter(watched, event);
    }
};

// Controls keep their place while hidden, as controls placed by a resource
// do; but a row (or column) whose controls are all still hidden when the
// dialog opens (a part of the table that this use of the dialog does not
// show) takes no room until one of them first shows, so that the dialog
// has no empty areas where it would be. A row with some controls showing
// keeps the places of its hidden ones, so its columns stay in line.
void CollapseHiddenRows(QLayout* layout, KeepPlaceOnceShown* keeper) {
    std::vector<QWidget*> widgets;
    bool all_hidden = true;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            CollapseHiddenRows(inner, keeper);
        } else if (QWidget* w = item->widget()) {
            widgets.push_back(w);
            all_hidden = all_hidden && w->isHidden();
        }
    }
    if (widgets.empty() || !all_hidden) return;
    for (QWidget* w : widgets) {
        QSizePolicy policy = w->sizePolicy();
        if (!policy.retainSizeWhenHidden()) continue;
        policy.setRetainSizeWhenHidden(false);
        w->setSizePolicy(policy);
        w->installEventFilter(keeper);
    }
}

void CollapseHiddenAtOpening(QWidget* dialog) {
    auto* keeper = new KeepPlaceOnceShown(dialog);
    if (QLayout* top = dialog->layout()) CollapseHiddenRows(top, keeper);
    // Property-page bodies hold layouts of their own below the dialog's:
    // their rows collapse too. (The builder already lets a group box's
    // controls give up their place while hidden, so those are passed over.)
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (QLayout* inner = w->layout(); inner && w != dialog) CollapseHiddenRows(inner, keeper);
}

}  // namespace

Dialog::Dialog(DialogTemplate table, Window* parent) : table_(std::move(table)), parent_(parent) {
    Bind(IDOK, Notify::Clicked, [this] { OnOK(); });
    Bind(IDCANCEL, Notify::Clicked, [this] { OnCancel(); });
    LiveDialogs().push_back({this, 0});
}

Dialog::~Dialog() {
    std::erase_if(LiveDialogs(), [this](const Live& l) { return l.dialog == this; });
}

bool Dialog::Build(Window* parent) {
    if (IsWindow() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    QWidget* parent_widget = parent ? parent->GetWidget() : nullptr;
    auto* w = new detail::DialogWidget(this, parent_widget);
    w->setWindowTitle(ToQtDisplay(table_.caption));
    AttachWidget(w, true);
    detail::BuildBody(*this, table_.body, w);
    title_room_ = nullptr;
    FitTitle();
    ended_ = false;
    end_code_ = 0;
    for (Live& l : LiveDialogs())
        if (l.dialog == this) l.opened = next_opening++;
    return true;
}

void Dialog::RunInit() {
    Busy busy(*this);
    const bool default_focus = OnInitDialog();
    if (QWidget* w = GetWidget(); w && !ended_) CollapseHiddenAtOpening(w);
    if (default_focus && !ended_) FirstDlgCtrl();
}

int Dialog::DoModal() {
    // A modal dialog opened while another is running belongs to that one,
    // so that it shows on top of it.
    Window* parent = parent_;
    if (!parent) {
        const std::vector<Dialog*> open = OpenDialogs();
        for (auto it = open.rbegin(); it != open.rend() && !parent; ++it)
            if ((*it)->IsModal() && !(*it)->IsEnded() && *it != this) parent = *it;
    }
    if (!Build(parent)) return -1;
    modal_ = true;
    const int code = CurrentInteraction().RunModal(*this, [this] { RunInit(); });
    const int result = ended_ ? end_code_ : code;
    ended_ = true;
    DestroyWindow();
    modal_ = false;
    return result;
}

bool Dialog::Create(Window* parent) {
    if (!Build(parent)) return false;
    modal_ = false;
    RunInit();
    if (!ended_) ShowWindow(SW_SHOW);
    return true;
}

void Dialog::EndDialog(int code) {
    ended_ = true;
    end_code_ = code;
    auto* w = qobject_cast<QDialog*>(GetWidget());
    if (!w) return;
    if (modal_) {
        if (w->isVisible()) w->done(code);  // ends the screen's modal loop
    } else {
        w->hide();
    }
}

bool Dialog::OnInitDialog() {
    return true;
}
void Dialog::OnOK() {
    EndDialog(IDOK);
}
void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::OnEnterKey() {
    if (PressFocusedButton()) return true;
    const Control c = GetDlgItem(GetFocusId());
    if (auto* plain = qobject_cast<QPlainTextEdit*>(c.Widget()); plain && !plain->isReadOnly()) return false;
    NextDlgCtrl();
    return true;
}

bool Dialog::PressDefaultButton() {
    if (PressFocusedButton()) return true;
    for (const int id : GetControlIds()) {
        const Control c = GetDlgItem(id);
        const auto* button = qobject_cast<const QPushButton*>(c.Widget());
        if (!button || !button->isDefault() || !c.IsWindowVisible() || !c.IsWindowEnabled()) continue;
        UserClick(id);
        return true;
    }
    return false;
}

void Dialog::SetWindowText(std::string_view text) {
    Window::SetWindowText(text);
    FitTitle();
}

// The window's title bar shows the program's icon and three frame buttons
// beside the title, in the desktop's title face, bold on most desktops: the
// dialog is made at least that wide, so that a title longer than the
// dialog's controls ("Portfolio Manager Codes") is not cut short. The icon
// and each button take a square as high as the title bar, which is at
// least the style's and two lines of the title face high, and the title
// keeps half a square clear on either side. The title is measured in the
// dialog's own face too, where that is the wider.
void Dialog::FitTitle() {
    QWidget* w = GetWidget();
    auto* layout = w ? qobject_cast<QBoxLayout*>(w->layout()) : nullptr;
    if (!layout) return;
    if (!title_room_) {
        title_room_ = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
        layout->addSpacerItem(title_room_);
    }
    QFont face = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    face.setBold(true);
    QFont own = w->font();
    own.setBold(true);
    const QString title = w->windowTitle();
    const int text =
        std::max(QFontMetrics(face).horizontalAdvance(title), QFontMetrics(own).horizontalAdvance(title));
    const int square = std::max(w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w),
                                2 * QFontMetrics(face).height());
    const QMargins margins = layout->contentsMargins();
    const int wanted = text + 5 * square - margins.left() - margins.right();
    title_room_->changeSize(std::max(0, wanted), 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    layout->invalidate();
}

bool Dialog::OnEscapeKey() {
    Dispatch({IDCANCEL, Notify::Clicked});
    return true;
}

Window& Dialog::ActionWindow(int) {
    return *this;
}

std::vector<Dialog*> Dialog::OpenDialogs() {
    std::vector<Live> open;
    for (const Live& l : LiveDialogs())
        if (l.dialog->IsWindow()) open.push_back(l);
    std::sort(open.begin(), open.end(), [](const Live& a, const Live& b) { return a.opened < b.opened; });
    std::vector<Dialog*> dialogs;
    for (const Live& l : open) dialogs.push_back(l.dialog);
    return dialogs;
}

Dialog* Dialog::FindOpen(int template_id) {
    const std::vector<Dialog*> open = OpenDialogs();
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if ((*it)->TemplateId() == template_id) return *it;
    return nullptr;
}

int ScreenInteraction::RunModal(Dialog& dialog, const std::function<void()>& init) {
    init();
    QPointer<QDialog> w = qobject_cast<QDialog*>(dialog.GetWidget());
    bool first = true;
    while (w && !dialog.IsEnded()) {
        if (first || !w->isHidden()) {
            first = false;
            w->exec();
            continue;
        }
        // The program hid its dialog while it was open: Qt's modal loop
        // ends with the showing, but the dialog has not ended. It stays
        // open until it ends or shows again.
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
            if (!w || dialog.IsEnded() || !w->isHidden()) wait.quit();
        });
        poll.start(20);
        wait.exec();
    }
    if (dialog.IsEnded()) return dialog.EndCode();
    return IDCANCEL;
}

}  // namespace platform

#include "feedbatch/batch_window.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QStyle>

#include "feedbatch/program.h"
#include "platform/text.h"

namespace feedbatch {
namespace {

QListWidget* ListOf(const platform::Window& window) {
    return qobject_cast<QListWidget*>(window.GetDlgItem(kLogListId).Widget());
}

}  // namespace

bool BatchWindow::Make(std::string_view title) {
    if (!Create(title)) return false;
    const QFontMetrics metrics(GetWidget()->font());
    char_width_ = metrics.averageCharWidth();
    char_height_ = metrics.height();
    CreateControl(platform::ListBox(kLogListId), QRect(char_width_, char_height_, 0, 0));
    // One text line per item: the view need not measure every line again
    // each time one is added or the oldest goes.
    if (QListWidget* list = ListOf(*this)) list->setUniformItemSizes(true);
    const QRect client = GetClientRect();
    OnSize(client.width(), client.height());
    return true;
}

void BatchWindow::OnSize(int width, int height) {
    const int scroll_bar = GetWidget() ? GetWidget()->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
    GetDlgItem(kLogListId)
        .MoveWindow(char_width_, char_height_, std::max(0, width - scroll_bar),
                    std::max(0, height - 2 * char_height_));
}

void BatchWindow::AppendLine(std::string_view text) {
    platform::Control list = GetDlgItem(kLogListId);
    if (!list) return;
    list.AddString(text);
    lines_.emplace_back(text);
    if (list.GetCount() > kLogListLimit) {
        list.DeleteString(0);
        lines_.pop_front();
    }
    if (QListWidget* widget = ListOf(*this))
        widget->scrollToItem(widget->item(widget->count() - 1), QAbstractItemView::PositionAtTop);
}

std::vector<std::string> BatchWindow::Lines() const {
    const platform::Control list = GetDlgItem(kLogListId);
    if (!list) return {lines_.begin(), lines_.end()};
    std::vector<std::string> lines;
    for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list.GetText(i));
    return lines;
}

int BatchWindow::TopIndex() const {
    const QListWidget* widget = ListOf(*this);
    if (!widget || widget->count() == 0) return -1;
    const QModelIndex top = widget->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : -1;
}

bool BatchWindow::OnCopyData(platform::WindowHandle, const platform::CopyDataRecord& record) {
    program_.OnRecord(static_cast<int>(record.channel), record.Text());
    return true;
}

void BatchWindow::OnClose() {
    program_.OnCloseRequest();
}

void BatchWindow::OnSysCommand(int id) {
    program_.OnSysCommand(id);
}

void BatchWindow::OnDestroy() {
    program_.OnWindowDestroyed();
}

}  // namespace feedbatch

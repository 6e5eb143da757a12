// Lines and selections of list boxes and combo boxes. Changes made here
// send no SelChange: only a user's selection does.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <cctype>

#include "platform/control.h"
#include "platform/internal_widgets.h"
#include "platform/text.h"
#include "platform/window.h"

namespace platform {
namespace {

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// A line holding zero bytes shows them as blanks; its own bytes are kept
// under this role, so that the program reads back what it put in.
constexpr int kBytesRole = Qt::UserRole + 7;

QVariant LineBytes(std::string_view text) {
    if (text.find('\0') == std::string_view::npos) return {};
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string LineText(const QVariant& bytes, const QString& shown) {
    if (bytes.isValid()) {
        const QByteArray b = bytes.toByteArray();
        return std::string(b.constData(), static_cast<std::size_t>(b.size()));
    }
    return FromQt(shown);
}

}  // namespace

int Control::GetCount() const {
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) return list->count();
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) return combo->count();
    return 0;
}

std::string Control::GetText(int index) const {
    if (index < 0 || index >= GetCount()) return {};
    if (auto* list = qobject_cast<QListWidget*>(widget_.data()))
        return LineText(list->item(index)->data(kBytesRole), list->item(index)->text());
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data()))
        return LineText(combo->itemData(index, kBytesRole), combo->itemText(index));
    return {};
}

int Control::InsertString(int index, std::string_view text) {
    const int count = GetCount();
    if (index < 0) index = count;
    if (index > count) return LB_ERR;
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        const QSignalBlocker block(list);
        list->insertItem(index, ToQtDisplay(text));
        if (QVariant bytes = LineBytes(text); bytes.isValid()) list->item(index)->setData(kBytesRole, bytes);
        return index;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
        // Adding a line selects nothing, and leaves the edit part alone.
        const QSignalBlocker block(combo);
        const int before = combo->currentIndex();
        const QString edit = combo->isEditable() ? combo->currentText() : QString();
        combo->insertItem(index, ToQtDisplay(text));
        if (QVariant bytes = LineBytes(text); bytes.isValid()) combo->setItemData(index, bytes, kBytesRole);
        if (before == -1 && combo->currentIndex() != -1) {
            combo->setCurrentIndex(-1);
            if (combo->isEditable()) combo->setEditText(edit);
        }
        return index;
    }
    return LB_ERR;
}

int Control::AddString(std::string_view text) {
    const int count = GetCount();
    if (!widget_) return LB_ERR;
    int index = count;
    const Window::ControlEntry* entry = owner_ ? owner_->FindControl(id_) : nullptr;
    if (entry && (entry->style & kSorted)) {
        index = 0;
        while (index < count && CompareNoCase(GetText(index), text) <= 0) ++index;
    }
    return InsertString(index, text);
}

int Control::DeleteString(int index) {
    if (index < 0 || index >= GetCount()) return LB_ERR;
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        const QSignalBlocker block(list);
        delete list->takeItem(index);
        return list->count();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
        const QSignalBlocker block(combo);
        const bool was_current = combo->currentIndex() == index;
        const QString edit = combo->currentText();
        combo->removeItem(index);
        if (was_current) {
            // The selected line is gone: nothing is selected (the edit part
            // keeps its text).
            combo->setCurrentIndex(-1);
            if (combo->isEditable()) combo->setEditText(edit);
        }
        return combo->count();
    }
    return LB_ERR;
}

void Control::ResetContent() {
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        const QSignalBlocker block(list);
        list->clear();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
        const QSignalBlocker block(combo);
        combo->clear();
        if (combo->lineEdit()) combo->lineEdit()->clear();
    }
}

int Control::FindString(int start, std::string_view text) const {
    const int count = GetCount();
    for (int k = 1; k <= count; ++k) {
        const int i = ((start < 0 ? -1 : start) + k) % count;
        if (StartsWithNoCase(GetText(i), text)) return i;
    }
    return LB_ERR;
}

int Control::FindStringExact(int start, std::string_view text) const {
    const int count = GetCount();
    for (int k = 1; k <= count; ++k) {
        const int i = ((start < 0 ? -1 : start) + k) % count;
        if (CompareNoCase(GetText(i), text) == 0) return i;
    }
    return LB_ERR;
}

int Control::SelectString(int start, std::string_view text) {
    const int index = FindString(start, text);
    if (index != LB_ERR) SetCurSel(index);
    return index;
}

int Control::GetCurSel() const {
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        if (list->selectionMode() == QAbstractItemView::MultiSelection) return list->currentRow();
        const auto selected = list->selectedItems();
        return selected.isEmpty() ? LB_ERR : list->row(selected.front());
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) return combo->currentIndex();
    return LB_ERR;
}

int Control::SetCurSel(int index) {
    const int count = GetCount();
    const bool valid = index >= 0 && index < count;
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        const QSignalBlocker block(list);
        if (!valid) {
            list->clearSelection();
            list->setCurrentRow(-1);
            return LB_ERR;
        }
        if (list->selectionMode() == QAbstractItemView::MultiSelection)
            list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        else
            list->setCurrentRow(index);
        list->scrollToItem(list->item(index));
        return index;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(valid ? index : -1);
        return valid ? index : CB_ERR;
    }
    return LB_ERR;
}

int Control::GetSelCount() const {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!list || list->selectionMode() != QAbstractItemView::MultiSelection) return LB_ERR;
    return static_cast<int>(list->selectedItems().size());
}

std::vector<int> Control::GetSelItems() const {
    std::vector<int> rows;
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!list) return rows;
    for (QListWidgetItem* item : list->selectedItems()) rows.push_back(list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int Control::SetItemSelected(int index, bool selected) {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!list || index >= list->count() || index < -1) return LB_ERR;
    const QSignalBlocker block(list);
    if (index == -1) {
        for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(selected);
    } else {
        list->item(index)->setSelected(selected);
    }
    return 0;
}

bool Control::IsItemSelected(int index) const {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    return list && index >= 0 && index < list->count() && list->item(index)->isSelected();
}

int Control::GetLinesShown() const {
    auto* list = dynamic_cast<detail::ListWidget*>(widget_.data());
    return list ? list->WholeLinesShown() : 0;
}

}  // namespace platform

// Range and position of scroll bar controls. Setting them sends nothing:
// a scroll bar only reports what the user asks for.

#include <QScrollBar>
#include <QSignalBlocker>

#include "platform/control.h"

namespace platform {

void Control::SetScrollRange(int min, int max) {
    if (auto* bar = qobject_cast<QScrollBar*>(widget_.data())) {
        const QSignalBlocker block(bar);
        bar->setRange(min, std::max(min, max));
    }
}

void Control::GetScrollRange(int& min, int& max) const {
    min = max = 0;
    if (auto* bar = qobject_cast<QScrollBar*>(widget_.data())) {
        min = bar->minimum();
        max = bar->maximum();
    }
}

int Control::SetScrollPos(int position) {
    auto* bar = qobject_cast<QScrollBar*>(widget_.data());
    if (!bar) return 0;
    const int previous = bar->value();
    const QSignalBlocker block(bar);
    bar->setValue(position);  // kept within the range
    bar->setSliderPosition(bar->value());
    return previous;
}

int Control::GetScrollPos() const {
    auto* bar = qobject_cast<QScrollBar*>(widget_.data());
    return bar ? bar->value() : 0;
}

void Control::SetScrollPage(int page) {
    if (auto* bar = qobject_cast<QScrollBar*>(widget_.data())) {
        const QSignalBlocker block(bar);
        bar->setPageStep(std::max(1, page));
    }
}

int Control::GetScrollPage() const {
    auto* bar = qobject_cast<QScrollBar*>(widget_.data());
    return bar ? bar->pageStep() : 0;
}

}  // namespace platform

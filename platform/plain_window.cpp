#include "platform/plain_window.h"

#include <QApplication>

#include "platform/internal_widgets.h"
#include "platform/text.h"

namespace platform {

bool PlainWindow::Create(std::string_view title, Window* parent) {
    if (IsWindow() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    auto* w = new detail::HookWidget(this, nullptr);
    if (parent && parent->GetWidget()) {
        w->setParent(parent->GetWidget(), Qt::Window);
    }
    w->setWindowTitle(ToQt(title));
    AttachWidget(w, true);
    return true;
}

}  // namespace platform

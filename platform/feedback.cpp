#include "platform/feedback.h"

#include <QApplication>
#include <QGuiApplication>

#include "platform/interaction.h"

namespace platform {
namespace {
int& WaitDepth() {
    static int depth = 0;
    return depth;
}
bool HaveGui() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}
}  // namespace

void MessageBeep(unsigned type) {
    CurrentInteraction().Beep(type);
}

void ScreenInteraction::Beep(unsigned) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

WaitCursor::WaitCursor() {
    ++WaitDepth();
    if (HaveGui()) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    --WaitDepth();
    if (HaveGui()) QGuiApplication::restoreOverrideCursor();
}

bool WaitCursor::IsShown() {
    return WaitDepth() > 0;
}

}  // namespace platform

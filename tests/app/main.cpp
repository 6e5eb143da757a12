// Test entry for the program: one offscreen application object for the
// whole run, made before any widget.

#include <gtest/gtest.h>

#include <QApplication>

namespace {

QtMessageHandler previous_handler = nullptr;

// The offscreen platform tells of every window size hint it cannot pass on;
// that is noise in a test log.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("does not support propagateSizeHints")) return;
    if (previous_handler) previous_handler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previous_handler = qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

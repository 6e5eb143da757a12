// Test entry of the batch program's tests: one offscreen application object
// for the whole run, made before any window, and the run's home directory
// with the data-feed libraries loaded on it.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/feedbatch/batch_fixture.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new batchtest::BatchEnvironment);
    return RUN_ALL_TESTS();
}

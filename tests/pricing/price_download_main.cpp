// Test entry of the Price Download tests: one offscreen application object
// for the whole run, made before any window, and the data feed's home
// folder with the data-feed libraries loaded on it.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/pricing/price_download_fixture.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new pricingtest::FeedEnvironment);
    return RUN_ALL_TESTS();
}

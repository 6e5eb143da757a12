// Saving and restoring the report selection gives every field back from its
// own place.

#include "shell/report_globals.h"

#include <gtest/gtest.h>

namespace {

using namespace shell;

TEST(ReportSelection, RestoreGivesBackWhatWasSaved) {
    g_report = ReportGlobals();
    g_report.CrossRefName = "CROSS NAME";
    g_report.CrossRefNumber = "123";
    g_report.CrossRefTag = "T";
    g_report.SelectedAccount = "ACC1";
    g_report.StartDate = "01/01/98";
    g_report.ReportCode = 103;
    g_report.SplitYear = 97;
    ReportSelection saved;
    SaveSelection(saved);

    g_report.CrossRefName = "OTHER";
    g_report.CrossRefNumber = "999";
    g_report.SelectedAccount = "ACC2";
    g_report.ReportCode = 21;
    g_report.OutputDestination = kOutputFile;  // not part of the selection
    RestoreSelection(saved);

    EXPECT_EQ(g_report.CrossRefName, "CROSS NAME");
    EXPECT_EQ(g_report.CrossRefNumber, "123");
    EXPECT_EQ(g_report.CrossRefTag, "T");
    EXPECT_EQ(g_report.SelectedAccount, "ACC1");
    EXPECT_EQ(g_report.ReportCode, 103);
    EXPECT_EQ(g_report.SplitYear, 97);
    EXPECT_EQ(g_report.OutputDestination, kOutputFile);
}

}  // namespace

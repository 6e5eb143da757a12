#include "reports/kernel/report_frame.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

// A report routine that stops early.
void StoppingReport(int16_t output_mode) {
    reports::ReportFrame frame = reports::ReportFrame::ForOutputMode("FRAME.TXT   ", output_mode);
    frame.Write("(1X,'FIRST LINE ',I3)", {7LL});
    frame.Stop(reports::UnreadableLine("ACCOUNT.IDX", 1));
    return;
}

TEST(ReportFrame, EndsAndCopiesOnEveryPath) {
    TempDataDir dir;
    StoppingReport(reports::kOutputModeCopy);
    EXPECT_EQ(fixtures::ReportText("FRAME.TXT"),
              " FIRST LINE   7\n ACCOUNT.IDX record 1 could not be read.\n");
    // The work file is finished: two whole 132-character records.
    EXPECT_EQ(TempDataDir::ReadBytes("OUTPUT.TMP").size(), 2u * 132u);
}

TEST(ReportFrame, OtherOutputModesLeaveTheWorkFileAlone) {
    TempDataDir dir;
    StoppingReport(1);
    EXPECT_FALSE(TempDataDir::Exists("FRAME.TXT"));
    EXPECT_EQ(TempDataDir::ReadBytes("OUTPUT.TMP").size(), 2u * 132u);
}

TEST(ReportFrame, UnreadableLines) {
    EXPECT_EQ(reports::UnreadableLine("BROKER.REC  "), " BROKER.REC could not be read.");
    EXPECT_EQ(reports::UnreadableLine("CUSTDN.IDX", 3), " CUSTDN.IDX record 3 could not be read.");
}

}  // namespace

// The mutual fund appraisal from Position Reports / Mutual Fund Appraisal,
// through the report options dialog: one account to a named file (compared
// with its golden text), and every account to the display.

#include <gtest/gtest.h>

#include <string>

#include "tests/app/position_scripts.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/funds/fund_appraisal_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

TEST(MutualFundAppraisalScripts, OneAccountToANamedFile) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({{records::Opt::kAccountAddress, 1}});
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 31)});
    ASSERT_NO_FATAL_FAILURE(posscript::RunToGolden(run,
                                                   "menu \"Position Reports/Mutual Fund Appraisal\"\n"
                                                   "dialog 123\n"
                                                   "  check 1176 on\n"
                                                   "  select 1159 \"MF1\"\n"
                                                   "  set 1162 \"12/31/98\"\n"
                                                   "  click 1174\n"
                                                   "  set 1167 \"MF1.TXT\"\n"
                                                   "  click 1169\n"
                                                   "closed\n",
                                                   "MF1.TXT", "reports/funds/fund_appraisal_script.txt"));
}

TEST(MutualFundAppraisalScripts, EveryAccountToTheDisplay) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 31)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(
        run.RunScript("menu \"Position Reports/Mutual Fund Appraisal\"\n"
                      "dialog 123\n"
                      "  check 1170 on\n"
                      "  set 1161 \"????\"\n"
                      "  set 1162 \"12/31/98\"\n"
                      "  click 1169\n"
                      "closed\n"
                      "exists O000000.TMP\n"
                      "contains O000000.TMP \"M U T U A L   F U N D   A P P R A I S A L\"\n"
                      "contains O000000.TMP \"SMITH FUND ACCOUNT\"\n"
                      "contains O000000.TMP \"BROWN FUND ACCOUNT\"\n"
                      "contains O000000.TMP \"SUMMARY OF INVESTMENT PORTFOLIO\"\n"
                      "contains O000000.TMP \"TOTAL COMMON STOCKS\"\n"));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    EXPECT_FALSE(TempDataDir::Exists("CCONTROL.FIL"));
}

}  // namespace

// The working appraisal from Position Reports / Working Appraisal, through
// the report options dialog with Accrued Interest and Post Market Value, to
// a named file: one account, and every account of the manager pattern
// "????". The files are the report tests' golden pages but for the date
// printed, which the program keeps as "06/30/00".

#include <gtest/gtest.h>

#include <string>

#include "engine/value_history.h"
#include "records/common_file.h"
#include "records/options.h"
#include "tests/app/position_scripts.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/working_appraisal_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct ScriptCase {
    const char* what;
    const char* script;
    const char* file;
    const char* golden;
    char page_kind;
    unsigned char option50;
    unsigned char option16;
};

class WorkingAppraisalScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(WorkingAppraisalScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    hwfix::WriteFirm();
    hwfix::SetPageKind(c.page_kind);
    records::Options options = records::Rdopts();
    records::SetOption(options, records::Opt::kBondDetails, c.option50);
    records::SetOption(options, records::Opt::kRateOrYieldToMaturity, c.option16);
    records::Wropts(options);
    fixtures::WriteValueHistory("100001", 100, {});

    tools::ProgramRun run(dir.path(), {tools::LocalDate(2000, 6, 30)});
    ASSERT_NO_FATAL_FAILURE(posscript::RunToGolden(run, c.script, c.file, c.golden));
    EXPECT_FALSE(TempDataDir::Exists("HCONTROL.FIL"));
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));

    // Post Market Value: June 2000 of account 100001 holds its total.
    int16_t record = 0, year = 0;
    engine::MonthlyValues market{}, flows{}, incomes{};
    ASSERT_EQ(engine::Rperf("100001", 100, record, year, market, flows, incomes), engine::kHistoryDone);
    EXPECT_NEAR(market[5], 66179.4167, 1e-6);  // with the accrued interest of both notes
}

INSTANTIATE_TEST_SUITE_P(
    Code101, WorkingAppraisalScripts,
    ::testing::Values(ScriptCase{"one account",
                                 "menu \"Position Reports/Working Appraisal\"\n"
                                 "dialog 123\n"
                                 "  check 1176 on\n"
                                 "  select 1159 \"100001\"\n"
                                 "  set 1162 \"06/30/00\"\n"
                                 "  check 1231 on\n"
                                 "  check 1347 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"ONE.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "ONE.TXT", "reports/appraisal/working_appraisal_account_menu.txt", 'I', 1,
                                 0},
                      ScriptCase{"every account",
                                 "menu \"Position Reports/Working Appraisal\"\n"
                                 "dialog 123\n"
                                 "  check 1170 on\n"
                                 "  set 1161 \"????\"\n"
                                 "  set 1162 \"06/30/00\"\n"
                                 "  check 1231 on\n"
                                 "  check 1347 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"ALL.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "ALL.TXT", "reports/appraisal/working_appraisal_manager_menu.txt", 'B', 0,
                                 2}));

}  // namespace

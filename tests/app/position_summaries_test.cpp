// The position summary, the summary of accounts and the summary of assets
// under management from their menu commands, through their request
// dialogs, to a named file: each file is the report of the same run made
// by a direct call (the goldens of the report tests).

#include <gtest/gtest.h>

#include <string>

#include "tests/app/position_scripts.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/position_summary_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct ScriptCase {
    const char* what;
    const char* script;
    const char* file;
    const char* golden;
};

class PositionSummaryScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(PositionSummaryScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    possum::WriteData();
    fixtures::SetOptions({{records::Opt::kCouponDueDescription, 1}, {records::Opt::kOpeningValue, 1}});

    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 31)});
    ASSERT_NO_FATAL_FAILURE(posscript::RunToGolden(run, c.script, c.file, c.golden));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PositionSummaryScripts,
    ::testing::Values(ScriptCase{"102",
                                 "menu \"Position Reports/Position Summary\"\n"
                                 "dialog 123\n"
                                 "  check 1170 on\n"
                                 "  set 1161 \"????\"\n"
                                 "  set 1162 \"12/31/98\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"POS.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "POS.TXT", "reports/appraisal/position_summary_all.txt"},
                      ScriptCase{"109",
                                 "menu \"Position Reports/Summary of Accounts\"\n"
                                 "dialog 150\n"
                                 "  expect-text 1067 \"Pricing Date\"\n"
                                 "  set 1161 \"????\"\n"
                                 "  set 1070 \"12/31/98\"\n"
                                 "  set 1072 \" 1/29/99\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"ACC.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "ACC.TXT", "reports/appraisal/summary_of_accounts_all.txt"},
                      ScriptCase{"108",
                                 "menu \"Position Reports/Summary of Assets Under Management\"\n"
                                 "dialog 123\n"
                                 "  set 1161 \"????\"\n"
                                 "  set 1162 \"12/31/98\"\n"
                                 "  check 1342 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"AUM.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "AUM.TXT", "reports/aum/aum_summary_all.txt"}),
    [](const auto& info) { return std::string("Code") + info.param.what; });

}  // namespace

// The fixed income appraisal from Fixed Income Reports / Fixed Income
// Appraisal, through the report options dialog, to a named file: one
// account, and every account of the manager pattern "????".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/fixed_income/fixed_income_appraisal_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct ScriptCase {
    const char* what;
    const char* script;
    const char* file;
    std::vector<std::string> contains;
    std::vector<std::string> lacks;
};

class FixedIncomeScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(FixedIncomeScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    fifix::WriteDirectory();

    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 3, 15)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(run.RunScript(c.script));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    ASSERT_TRUE(TempDataDir::Exists(c.file));
    const std::string text = fixtures::ReportText(c.file);
    for (const std::string& s : c.contains) EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    for (const std::string& s : c.lacks) EXPECT_EQ(text.find(s), std::string::npos) << s << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(Code221, FixedIncomeScripts,
                         ::testing::Values(ScriptCase{"one account",
                                                      "menu \"Fixed Income Reports/Fixed Income Appraisal\"\n"
                                                      "dialog 123\n"
                                                      "  check 1176 on\n"
                                                      "  select 1159 \"FI2\"\n"
                                                      "  set 1162 \"03/15/98\"\n"
                                                      "  click 1174\n"
                                                      "  set 1167 \"FI2.TXT\"\n"
                                                      "  click 1169\n"
                                                      "closed\n",
                                                      "FI2.TXT",
                                                      {"FIXED INCOME APPRAISAL", " 3/15/98", "JONES ACCOUNT",
                                                       "TOTAL ACCRUED INTEREST", "TOTAL PORTFOLIO"},
                                                      {"SMITH BOND ACCOUNT", "BROWN ACCOUNT"}},
                                           ScriptCase{"every account",
                                                      "menu \"Fixed Income Reports/Fixed Income Appraisal\"\n"
                                                      "dialog 123\n"
                                                      "  check 1170 on\n"
                                                      "  set 1161 \"????\"\n"
                                                      "  set 1162 \"03/15/98\"\n"
                                                      "  click 1174\n"
                                                      "  set 1167 \"ALL.TXT\"\n"
                                                      "  click 1169\n"
                                                      "closed\n",
                                                      "ALL.TXT",
                                                      {"SMITH BOND ACCOUNT", "JONES ACCOUNT", "BROWN ACCOUNT",
                                                       "AVERAGE YEARS TO MATURITY"},
                                                      {}}));

}  // namespace

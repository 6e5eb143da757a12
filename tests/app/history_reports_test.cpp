// The maturity and expiration alert (Trade Reports, dialog 150), portfolio
// changes (Trade Reports, dialog 123) and investment history (Position
// Reports, dialog 123) from their menu commands to a named file.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/history/investment_history_fixture.h"
#include "tests/reports/history/maturity_alert_fixture.h"
#include "tests/reports/history/portfolio_changes_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct ScriptCase {
    const char* what;
    std::function<void()> data;
    const char* script;
    const char* file;
    std::vector<std::string> contains;
    std::vector<std::string> lacks;
};

class TransactionReportScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(TransactionReportScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    c.data();
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(run.RunScript(c.script));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    ASSERT_TRUE(TempDataDir::Exists(c.file));
    const std::string text = fixtures::ReportText(c.file);
    for (const std::string& s : c.contains) EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    for (const std::string& s : c.lacks) EXPECT_EQ(text.find(s), std::string::npos) << s << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TransactionReportScripts,
    ::testing::Values(ScriptCase{"87 maturity alert",
                                 maturityfix::WriteData,
                                 "menu \"Trade Reports/Maturity and Expiration Alert\"\n"
                                 "dialog 150\n"
                                 "  set 1070 \"13/45/99\"\n"
                                 "  click 1169\n"
                                 "  dialog 142\n"
                                 "    expect-text 1177 \"1.Illegal report date\"\n"
                                 "    click 1\n"
                                 "  closed\n"
                                 "  set 1070 \"06/15/99\"\n"
                                 "  set 1161 \"AB??\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"ALERT.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "ALERT.TXT",
                                 {"MATURITY AND EXPIRATION ALERT", "FROM:  6/15/99", "US TREASURY NOTE",
                                  "ALPHA ACCOUNT", "BETA ACCOUNT"},
                                 {"ZULU ACCOUNT", "NO CUSIP TWO"}},
                      ScriptCase{"95 portfolio changes",
                                 changesfix::WriteData,
                                 "menu \"Trade Reports/Portfolio Changes\"\n"
                                 "dialog 123\n"
                                 "  check 1176 on\n"
                                 "  select 1159 \"PC1\"\n"
                                 "  set 1162 \"01/01/98\"\n"
                                 "  set 1163 \"12/08/98\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"CHANGES.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "CHANGES.TXT",
                                 {"PORTFOLIO CHANGES", "ACCOUNT: PC1    - CHANGES ACCOUNT", " Purchased",
                                  " Withdrawals"},
                                 {"QUIET ACCOUNT", "FEE TRANSFER"}},
                      ScriptCase{"104 investment history",
                                 historyfix::WriteData,
                                 "menu \"Position Reports/Investment History\"\n"
                                 "dialog 123\n"
                                 "  check 1170 on\n"
                                 "  set 1161 \"QQQQ\"\n"
                                 "  click 1169\n"
                                 "  dialog 142\n"
                                 "    expect-text 1177 \"1.Illegal secode\"\n"
                                 "    click 1\n"
                                 "  closed\n"
                                 "  set 1161 \"IH??\"\n"
                                 "  set 1162 \"01/01/98\"\n"
                                 "  set 1163 \"12/08/98\"\n"
                                 "  check 1231 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"HISTORY.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "HISTORY.TXT",
                                 {"INVESTMENT HISTORY", "JANUARY 1, 1998 - DECEMBER 8, 1998",
                                  "HISTORY ACCOUNT", "UNPRICED ACCOUNT"},
                                 {"NEW ACCOUNT"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace

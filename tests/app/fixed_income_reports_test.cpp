// The fixed income analyses and the fixed income summary from their menu
// commands, through the report options dialog, to a named file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/fixed_income/fixed_income_analyses_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct ScriptCase {
    const char* what;
    std::string script;
    const char* file;
    std::vector<std::string> contains;
    std::vector<std::string> lacks;
};

class FixedIncomeAnalysisScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(FixedIncomeAnalysisScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    fiafix::WriteData();

    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 11, 10)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(run.RunScript(c.script));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    ASSERT_TRUE(TempDataDir::Exists(c.file));
    const std::string text = fixtures::ReportText(c.file);
    for (const std::string& s : c.contains) EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    for (const std::string& s : c.lacks) EXPECT_EQ(text.find(s), std::string::npos) << s << "\n" << text;
}

// The dialog for every account of a manager pattern, to the named file.
std::string AllAccounts(const std::string& menu, const std::string& manager, const std::string& file) {
    return "menu \"Fixed Income Reports/" + menu +
           "\"\n"
           "dialog 123\n"
           "  check 1170 on\n"
           "  set 1161 \"" +
           manager +
           "\"\n"
           "  set 1162 \"11/10/98\"\n"
           "  click 1174\n"
           "  set 1167 \"" +
           file +
           "\"\n"
           "  click 1169\n"
           "closed\n";
}

// The dialog for one account, to the named file.
std::string OneAccount(const std::string& menu, const std::string& account, const std::string& file) {
    return "menu \"Fixed Income Reports/" + menu +
           "\"\n"
           "dialog 123\n"
           "  check 1176 on\n"
           "  select 1159 \"" +
           account +
           "\"\n"
           "  set 1162 \"11/10/98\"\n"
           "  click 1174\n"
           "  set 1167 \"" +
           file +
           "\"\n"
           "  click 1169\n"
           "closed\n";
}

std::vector<ScriptCase> Cases() {
    return {
        {"222",
         AllAccounts("Maturity Analysis", "AB??", "MAT.TXT"),
         "MAT.TXT",
         {"MATURITY ANALYSIS", "BONDS   - BOND ACCOUNT", "EQUITY  - EQUITY ONLY"},
         {"SUMMRY"}},
        {"223",
         OneAccount("Rating Analysis", "BONDS", "RAT.TXT"),
         "RAT.TXT",
         {"RATING ANALYSIS", "         OTHER        35000.00"},
         {"EQUITY"}},
        {"224",
         OneAccount("Coupon Analysis", "BONDS", "CPN.TXT"),
         "CPN.TXT",
         {"COUPON ANALYSIS", "  15.0 +           12000.00"},
         {}},
        {"225",
         AllAccounts("Yield Analysis", "AB12", "YLD.TXT"),
         "YLD.TXT",
         {"YIELD ANALYSIS", "   5.0 -  5.9      20000.00"},
         {"EQUITY"}},
        {"226",
         OneAccount("Income Flow Analysis (fixed)", "FLOW", "FIX.TXT"),
         "FIX.TXT",
         {"INCOME FLOW ANALYSIS (FIXED)", "SEMI ANNUAL SIX PERCENT"},
         {"COMMON STOCK"}},
        {"227",
         OneAccount("Income Flow Analysis (other)", "FLOW", "OTH.TXT"),
         "OTH.TXT",
         {"INCOME FLOW ANALYSIS (OTHER)", "COMMON STOCK PAYS 1.20"},
         {"SEMI ANNUAL"}},
        {"228",
         AllAccounts("Fixed Income Summary", "CD??", "SUM.TXT"),
         "SUM.TXT",
         {"FIXED INCOME SUMMARY", "CLIENT NAME: FLOW   - ", "CLIENT NAME: SUMMRY - "},
         {"BONDS"}},
    };
}

INSTANTIATE_TEST_SUITE_P(Codes, FixedIncomeAnalysisScripts, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string("Code") + info.param.what; });

}  // namespace

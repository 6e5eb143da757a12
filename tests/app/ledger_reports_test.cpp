// The transaction ledger, the member statement and the composite
// transaction ledger from their menu commands, through dialog 126, to a
// named file, on the ledger tests' data directory.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/groups.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/ledgers/ledger_data.h"
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

// GROWTH holds JONES; the super group BOTH holds GROWTH and INCOME (SMITH1).
void WriteGroups() {
    records::CGroupList groups;
    groups.Entries().push_back({{"GROWTH", "JONES"}, "GROWTH ACCOUNTS"});
    groups.Entries().push_back({{"INCOME", "SMITH1"}, "INCOME ACCOUNTS"});
    groups.Save(records::kGroupFile);
    records::CGroupList supers;
    supers.Entries().push_back({{"BOTH", "GROWTH", "INCOME"}, "EVERY FAMILY ACCOUNT"});
    supers.Save(records::kSuperGroupFile);
}

class LedgerReportScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(LedgerReportScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    ledgerfix::WriteFirm();
    ledgerfix::WriteLedgerAccounts();
    WriteGroups();

    tools::ProgramRun run(dir.path(), {tools::LocalDate(2005, 12, 31)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(run.RunScript(c.script));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    ASSERT_TRUE(TempDataDir::Exists(c.file));
    const std::string text = fixtures::ReportText(c.file);
    for (const std::string& s : c.contains) EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    for (const std::string& s : c.lacks) EXPECT_EQ(text.find(s), std::string::npos) << s << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LedgerReportScripts,
    ::testing::Values(
        ScriptCase{"81 all accounts",
                   "menu \"Trade Reports/Transaction Ledger\"\n"
                   "dialog 126\n"
                   "  check 1170 on\n"
                   "  set 1162 \"01/01/05\"\n"
                   "  set 1163 \"12/31/05\"\n"
                   "  click 1174\n"
                   "  set 1167 \"LEDGER.TXT\"\n"
                   "  click 1169\n"
                   "closed\n",
                   "LEDGER.TXT",
                   {"TRANSACTION  LEDGER", "SMITH FAMILY TRUST", "JONES IRA", "CLOSING BALANCE", "732.50",
                    "(600.00)"},
                   {}},
        ScriptCase{"81 one account, codes IP",
                   "menu \"Trade Reports/Transaction Ledger\"\n"
                   "dialog 126\n"
                   "  check 1176 on\n"
                   "  select 1159 \"SMITH1\"\n"
                   "  set 1162 \"01/01/05\"\n"
                   "  set 1163 \"12/31/05\"\n"
                   "  select 1226 \"IP - Bond Prch Int\"\n"
                   "  click 1174\n"
                   "  set 1167 \"IP.TXT\"\n"
                   "  click 1169\n"
                   "closed\n",
                   "IP.TXT",
                   {"TRANSACTION CODES: IP", "BND PRCH INT", "NET AMOUNT", "(32.50)"},
                   {"JONES IRA", "PURCHASE     IBM"}},
        ScriptCase{"90 one account",
                   "menu \"Position Reports/Member Statement\"\n"
                   "dialog 126\n"
                   "  check 1176 on\n"
                   "  select 1159 \"SMITH1\"\n"
                   "  set 1162 \"01/01/05\"\n"
                   "  set 1163 \"12/31/05\"\n"
                   "  click 1174\n"
                   "  set 1167 \"MEMBER.TXT\"\n"
                   "  click 1169\n"
                   "closed\n",
                   "MEMBER.TXT",
                   {"JOHN A. SMITH", "JANUARY 1, 2005    THROUGH DECEMBER 31, 2005", "15,050.000"},
                   {"MARY JONES"}},
        ScriptCase{"90 all accounts",
                   "menu \"Position Reports/Member Statement\"\n"
                   "dialog 126\n"
                   "  check 1170 on\n"
                   "  set 1162 \"01/01/05\"\n"
                   "  set 1163 \"12/31/05\"\n"
                   "  click 1174\n"
                   "  set 1167 \"MEMBERS.TXT\"\n"
                   "  click 1169\n"
                   "closed\n",
                   "MEMBERS.TXT",
                   {"JOHN A. SMITH", "MARY JONES"},
                   {}},
        ScriptCase{
            "204 all accounts",
            "menu \"Composite Reports/Transaction Ledger\"\n"
            "dialog 126\n"
            "  set 1162 \"01/01/05\"\n"
            "  set 1163 \"12/31/05\"\n"
            "  click 1174\n"
            "  set 1167 \"COMBINED.TXT\"\n"
            "  click 1169\n"
            "closed\n",
            "COMBINED.TXT",
            {"COMBINED TRANSACTION LEDGER", " SMITH1     01/03/05", " JONES      01/05/05", "(4,867.50)"},
            {}},
        ScriptCase{"204 a group",
                   "menu \"Composite Reports/Transaction Ledger\"\n"
                   "dialog 126\n"
                   "  check 1100 on\n"
                   "  select 1111 \"GROWTH\"\n"
                   "  set 1162 \"01/01/05\"\n"
                   "  set 1163 \"12/31/05\"\n"
                   "  click 1174\n"
                   "  set 1167 \"GROUP.TXT\"\n"
                   "  click 1169\n"
                   "closed\n",
                   "GROUP.TXT",
                   {"GROWTH ACCOUNTS", " JONES      02/10/05", "(600.00)"},
                   {"SMITH1"}},
        ScriptCase{"204 a super group",
                   "menu \"Composite Reports/Transaction Ledger\"\n"
                   "dialog 126\n"
                   "  check 1176 on\n"
                   "  select 1111 \"BOTH\"\n"
                   "  set 1162 \"01/01/05\"\n"
                   "  set 1163 \"12/31/05\"\n"
                   "  click 1174\n"
                   "  set 1167 \"SUPER.TXT\"\n"
                   "  click 1169\n"
                   "closed\n",
                   "SUPER.TXT",
                   {"EVERY FAMILY ACCOUNT", " JONES      02/10/05", " SMITH1     05/02/05", "(4,867.50)"},
                   {}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace

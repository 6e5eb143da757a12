// The list reports and the find commands from their menu commands, through
// their request dialogs, to a named file, on the list reports' data
// directory.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/lists/list_fixture.h"
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

class ListReportScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ListReportScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    listfix::WriteFirm();
    listfix::WriteAccounts();
    fixtures::WriteBrokers(listfix::Brokers());
    fixtures::WriteCustodians(listfix::Custodians());
    fixtures::WriteSecurityFiles(listfix::Securities());

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
    Codes, ListReportScripts,
    ::testing::Values(ScriptCase{"83 account directory by name",
                                 "menu \"Trade Reports/Account Directory\"\n"
                                 "dialog 123\n"
                                 "  set 1162 \"12/08/98\"\n"
                                 "  check 1345 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"DIRECT.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "DIRECT.TXT",
                                 {"ACCOUNT DIRECTORY", "SORTED BY ACCOUNT NAME", "TOTALS FOR MANAGER: ALL"},
                                 {}},
                      ScriptCase{"182 security list",
                                 "menu \"List Reports/Security List\"\n"
                                 "dialog 123\n"
                                 "  set 1162 \"12/08/98\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"SECURITY.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "SECURITY.TXT",
                                 {"SECURITY DATA BASE", "INTL BUSINESS MACHINES", "11/30/98"},
                                 {"(OLD)"}},
                      ScriptCase{"184 bond list",
                                 "menu \"List Reports/Bond List\"\n"
                                 "dialog 123\n"
                                 "  click 1174\n"
                                 "  set 1167 \"BONDS.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "BONDS.TXT",
                                 {"BOND DATA BASE", "T 5.25 0", "OAK BOND FUND", "AAA"},
                                 {"INTL BUSINESS"}},
                      ScriptCase{
                          "82 security cross reference, short form",
                          "menu \"Trade Reports/Security Cross Reference\"\n"
                          "dialog 123\n"
                          "  select 1338 \"IBM\"\n"
                          "  check 1231 off\n"
                          "  click 1174\n"
                          "  set 1167 \"XREF.TXT\"\n"
                          "  click 1169\n"
                          "closed\n",
                          "XREF.TXT",
                          {"Security Cross Reference", "INTL BUSINESS MACHINES", "ALPHA FUND", "ZETA TRUST"},
                          {"DELETED ACCOUNT"}},
                      ScriptCase{"82 security cross reference, long form",
                                 "menu \"Trade Reports/Security Cross Reference\"\n"
                                 "dialog 123\n"
                                 "  select 1338 \"IBM\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"XREFL.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "XREFL.TXT",
                                 {"Security Cross Reference", "No accounts currently holding this security."},
                                 {"ALPHA FUND"}},
                      ScriptCase{"181 all accounts",
                                 "menu \"List Reports/Account List\"\n"
                                 "dialog 123\n"
                                 "  check 1170 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"CLIENTS.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "CLIENTS.TXT",
                                 {"CLIENT LIST", "End of Information for Client SMITH1",
                                  "End of Information for Client ADAMS "},
                                 {"DELETED ACCOUNT"}},
                      ScriptCase{"181 one account",
                                 "menu \"List Reports/Account List\"\n"
                                 "dialog 123\n"
                                 "  check 1176 on\n"
                                 "  select 1159 \"BAKER\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"ONE.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "ONE.TXT",
                                 {"End of Information for Client BAKER "},
                                 {"SMITH1"}},
                      ScriptCase{"186 summary list",
                                 "menu \"List Reports/Account List (Summary)\"\n"
                                 "dialog 123\n"
                                 "  click 1174\n"
                                 "  set 1167 \"SUMMARY.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "SUMMARY.TXT",
                                 {"SUMMARY CLIENT LIST", "TOTAL:", "$ 1,251,000.50"},
                                 {}},
                      ScriptCase{"183 all brokers",
                                 "menu \"List Reports/Broker List\"\n"
                                 "dialog 150\n"
                                 "  check 1429 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"BROKERS.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n"
                                 "exists BRSORT.DAT\n",
                                 "BROKERS.TXT",
                                 {"BROKER LIST", "AGED", "MERRIL", "CHARLES SCHWAB & CO"},
                                 {"DELETED BROKER"}},
                      ScriptCase{"183 one broker",
                                 "menu \"List Reports/Broker List\"\n"
                                 "dialog 150\n"
                                 "  check 1068 on\n"
                                 "  select 1069 \"SCHWAB\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"BROKER.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "BROKER.TXT",
                                 {"SCHWAB", "CHARLES SCHWAB & CO"},
                                 {"MERRILL LYNCH"}},
                      ScriptCase{"185 all custodians",
                                 "menu \"List Reports/Custodian List\"\n"
                                 "dialog 150\n"
                                 "  check 1429 on\n"
                                 "  click 1174\n"
                                 "  set 1167 \"CUSTS.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "CUSTS.TXT",
                                 {"CUSTODIAN LIST", "STATE STREET BANK", "NORTHERN TRUST"},
                                 {"DELETED CUSTODIAN"}},
                      ScriptCase{"185 one custodian",
                                 "menu \"List Reports/Custodian List\"\n"
                                 "dialog 150\n"
                                 "  check 1068 on\n"
                                 "  select 1069 \"NTRUST\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"CUST.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "CUST.TXT",
                                 {"NORTHERN TRUST"},
                                 {"STATE STREET BANK"}},
                      ScriptCase{"341 account search",
                                 "menu \"Tools/Find/Account ID\"\n"
                                 "dialog 150\n"
                                 "  set 1404 \"TRUST\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"FIND.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "FIND.TXT",
                                 {"SEARCH: TRUST", "JONES", "BAKER"},
                                 {"SMITH1"}},
                      ScriptCase{"342 custodian account search",
                                 "menu \"Tools/Find/Custodian ID\"\n"
                                 "dialog 150\n"
                                 "  set 1404 \"-SMITH\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"FIND.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "FIND.TXT",
                                 {"CUSTODIAN ACCOUNT NUMBER", "SMITH1", "2222-SMITH", "ALPHA FUND"},
                                 {"JONES"}},
                      ScriptCase{"343 security search",
                                 "menu \"Tools/Find/Security ID\"\n"
                                 "dialog 150\n"
                                 "  set 1404 \"BOND\"\n"
                                 "  click 1174\n"
                                 "  set 1167 \"FIND.TXT\"\n"
                                 "  click 1169\n"
                                 "closed\n",
                                 "FIND.TXT",
                                 {"OAKBF", "OAK BOND FUND"},
                                 {"OAKLOW", "(OLD)"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// With option 52 the cross reference keeps the broker/bank fields of its
// run, writes IECA.DAT, and the next opening of the dialog shows them.
TEST(CrossReferenceScript, TheBrokerBankFieldsOfARunShowAtTheNextOpening) {
    TempDataDir dir;
    listfix::WriteFirm();
    listfix::WriteAccounts();
    fixtures::WriteSecurityFiles(listfix::Securities());
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(
        run.RunScript("menu \"Trade Reports/Security Cross Reference\"\n"
                      "dialog 123\n"
                      "  select 1338 \"IBM\"\n"
                      "  set 1378 \"O\"\n"
                      "  set 1380 \"123\"\n"
                      "  set 1382 \"FIRST NATIONAL BANK\"\n"
                      "  click 1174\n"
                      "  set 1167 \"XREF.TXT\"\n"
                      "  click 1169\n"
                      "closed\n"
                      "exists IECA.DAT\n"
                      "menu \"Trade Reports/Security Cross Reference\"\n"
                      "dialog 123\n"
                      "  expect-text 1378 \"O\"\n"
                      "  expect-text 1380 \"123\"\n"
                      "  expect-text 1382 \"FIRST NATIONAL BANK\"\n"
                      "  click 2\n"
                      "closed\n"));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
}

}  // namespace

// The realised gains, income summary and composite gains reports from their
// menu commands, through the report options dialog (and with option 52 the
// tax disk check), to a named file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/gains_tax/gains_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct GainsScriptCase {
    const char* what;
    bool tax_file;
    const char* script;
    const char* file;  // the report file; nullptr: no report is written
    std::vector<std::string> contains;
    bool irstax;  // A/IRSTAX is written
};

class GainsReportScripts : public ::testing::TestWithParam<GainsScriptCase> {};

TEST_P(GainsReportScripts, RunFromTheMenu) {
    const GainsScriptCase& c = GetParam();
    TempDataDir dir;
    gains_fixture::WriteAll();
    fixtures::WriteTransactions("SMITH",
                                {fixtures::Transaction("DI", "IBM", "", " 3/01/97", 0, 125.00, 0, 2),
                                 fixtures::Transaction("MF", "CASH", "", " 3/31/97", 0, 40.00, 0, 1)});
    if (c.tax_file) {
        fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
        std::filesystem::create_directory("A");
    }

    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(run.RunScript(c.script));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    if (c.file) {
        ASSERT_TRUE(TempDataDir::Exists(c.file));
        const std::string text = fixtures::ReportText(c.file);
        for (const std::string& s : c.contains)
            EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    }
    EXPECT_EQ(TempDataDir::Exists("A/IRSTAX"), c.irstax);
    if (c.irstax) {
        const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("A/IRSTAX");
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text.substr(0, 1), "A");
        EXPECT_NE(text.find("TC123"), std::string::npos);
        EXPECT_NE(text.find("\r\nF0001"), std::string::npos);
    }
    EXPECT_FALSE(TempDataDir::Exists("GLCOMB.REC"));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, GainsReportScripts,
    ::testing::Values(GainsScriptCase{"84 one account",
                                      false,
                                      "menu \"Trade Reports/Gains (Losses)\"\n"
                                      "dialog 123\n"
                                      "  check 1176 on\n"
                                      "  select 1159 \"SMITH\"\n"
                                      "  set 1162 \"01/01/97\"\n"
                                      "  set 1163 \"12/31/97\"\n"
                                      "  click 1174\n"
                                      "  set 1167 \"GAINS.TXT\"\n"
                                      "  click 1169\n"
                                      "closed\n",
                                      "GAINS.TXT",
                                      {"REALIZED GAINS & LOSSES", "ACCOUNT: SMITH   - JOHN Q PUBLIC",
                                       "TOTALS:", "* DATE SECURITY REACQUIRED"},
                                      false},
                      GainsScriptCase{"85 one account",
                                      false,
                                      "menu \"Trade Reports/Income Summary\"\n"
                                      "dialog 123\n"
                                      "  check 1176 on\n"
                                      "  select 1159 \"SMITH\"\n"
                                      "  set 1162 \"01/01/97\"\n"
                                      "  set 1163 \"12/31/97\"\n"
                                      "  click 1174\n"
                                      "  set 1167 \"INCOME.TXT\"\n"
                                      "  click 1169\n"
                                      "closed\n",
                                      "INCOME.TXT",
                                      {"INCOME SUMMARY", "TOTAL DIVIDEND INCOME", "MANAGEMENT FEES"},
                                      false},
                      GainsScriptCase{"203 every account",
                                      false,
                                      "menu \"Composite Reports/Gains (Losses)\"\n"
                                      "dialog 123\n"
                                      "  check 1170 on\n"
                                      "  set 1162 \"01/01/97\"\n"
                                      "  set 1163 \"12/31/97\"\n"
                                      "  click 1174\n"
                                      "  set 1167 \"COMP.TXT\"\n"
                                      "  click 1169\n"
                                      "closed\n",
                                      "COMP.TXT",
                                      {"FROM:  1/ 1/97     THROUGH 12/31/97", "ACME CORP DEBENTURES",
                                       "U S TREASURY BILL", "TOTALS:"},
                                      false},
                      GainsScriptCase{"84 tax file",
                                      true,
                                      "menu \"Trade Reports/Gains (Losses)\"\n"
                                      "dialog 123\n"
                                      "  check 1176 on\n"
                                      "  select 1159 \"SMITH\"\n"
                                      "  set 1162 \"01/01/97\"\n"
                                      "  set 1163 \"12/31/97\"\n"
                                      "  set 1385 \"TC123\"\n"
                                      "  set 1386 \"ACME\"\n"
                                      "  click 1174\n"
                                      "  set 1167 \"TAXB.TXT\"\n"
                                      "  click 1169\n"
                                      "closed\n"
                                      "dialog 190\n"
                                      "  click 1380\n"
                                      "closed\n",
                                      "TAXB.TXT",
                                      {"REALIZED GAINS & LOSSES", "TOTALS:"},
                                      true},
                      GainsScriptCase{"85 tax file",
                                      true,
                                      "menu \"Trade Reports/Income Summary\"\n"
                                      "dialog 123\n"
                                      "  check 1170 on\n"
                                      "  set 1162 \"01/01/97\"\n"
                                      "  set 1163 \"12/31/97\"\n"
                                      "  set 1385 \"TC123\"\n"
                                      "  set 1386 \"ACME\"\n"
                                      "  check 1231 on\n"
                                      "  click 1174\n"
                                      "  set 1167 \"TAXD.TXT\"\n"
                                      "  click 1169\n"
                                      "closed\n"
                                      "dialog 190\n"
                                      "  click 1380\n"
                                      "closed\n",
                                      "TAXD.TXT",
                                      {"INCOME SUMMARY", "ACCOUNT: SMITH"},
                                      true},
                      GainsScriptCase{"84 tax disk cancelled",
                                      true,
                                      "menu \"Trade Reports/Gains (Losses)\"\n"
                                      "dialog 123\n"
                                      "  check 1176 on\n"
                                      "  select 1159 \"SMITH\"\n"
                                      "  set 1162 \"01/01/97\"\n"
                                      "  set 1163 \"12/31/97\"\n"
                                      "  click 1174\n"
                                      "  set 1167 \"NONE.TXT\"\n"
                                      "  click 1169\n"
                                      "closed\n"
                                      "dialog 190\n"
                                      "  click 1140\n"
                                      "closed\n"
                                      "missing NONE.TXT\n"
                                      "missing OUTPUT.TMP\n",
                                      nullptr,
                                      {},
                                      false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace

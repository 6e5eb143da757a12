// The composite appraisals from Composite Reports / Account Appraisal and
// Composite Reports / Working Appraisal, through the report options dialog
// to a named file: the accounts of a group (the dialog writes them to
// compfile.lst) and every account of the manager pattern "????"; the
// working appraisal of a group with the change from the prior month
// (option 17, the price file of 11/30/98 beside that of 12/31/98).

#include <gtest/gtest.h>

#include <string>

#include "records/common_file.h"
#include "records/files.h"
#include "records/groups.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "tests/app/position_scripts.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/account_appraisal_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct ScriptCase {
    const char* what;
    const char* script;
    const char* file;
    const char* golden;
    std::vector<std::pair<records::Opt, unsigned char>> options;
};

class CompositeAppraisalScripts : public ::testing::TestWithParam<ScriptCase> {};

// The group FAMILY holds AA1 and AA2.
void WriteGroups() {
    records::CGroupList groups;
    groups.Entries().push_back({{"FAMILY", "AA1", "AA2"}, "SMITH AND JONES FAMILY"});
    groups.Save(records::kGroupFile);
}

TEST_P(CompositeAppraisalScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions(c.options);
    WriteGroups();
    {
        // The working appraisal's page kind (COMMON.FIL record 17): "I".
        records::DirectFile common(records::kCommonFile, 128);
        records::Record rec(128, ' ');
        rec.data()[0] = 'I';
        common.Write(17, rec);
    }
    // The prior month: the bond and IBM were lower, XYZ has no price.
    fixtures::WritePrices("11/30/98", {1.0, 1.0, 100.0, 97.0, 140.0, records::kNoPriceValue, 12.0, 10.0});
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 31)});
    ASSERT_NO_FATAL_FAILURE(posscript::RunToGolden(run, c.script, c.file, c.golden));
    EXPECT_FALSE(TempDataDir::Exists("CCONTROL.FIL"));
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
    EXPECT_FALSE(TempDataDir::Exists("TEMPHSUM.FIL"));
}

INSTANTIATE_TEST_SUITE_P(Codes, CompositeAppraisalScripts,
                         ::testing::Values(ScriptCase{"201 a group",
                                                      "menu \"Composite Reports/Account Appraisal\"\n"
                                                      "dialog 123\n"
                                                      "  check 1100 on\n"
                                                      "  select 1111 \"FAMILY\"\n"
                                                      "  set 1162 \"12/31/98\"\n"
                                                      "  check 1231 on\n"
                                                      "  click 1174\n"
                                                      "  set 1167 \"GROUP.TXT\"\n"
                                                      "  click 1169\n"
                                                      "closed\n",
                                                      "GROUP.TXT",
                                                      "reports/appraisal/composite_appraisal_group.txt",
                                                      {}},
                                           ScriptCase{"201 every account",
                                                      "menu \"Composite Reports/Account Appraisal\"\n"
                                                      "dialog 123\n"
                                                      "  check 1170 on\n"
                                                      "  set 1161 \"????\"\n"
                                                      "  set 1162 \"12/31/98\"\n"
                                                      "  click 1174\n"
                                                      "  set 1167 \"ALL.TXT\"\n"
                                                      "  click 1169\n"
                                                      "closed\n",
                                                      "ALL.TXT",
                                                      "reports/appraisal/composite_appraisal_all.txt",
                                                      {{records::Opt::kPortfolioSummaryType, 2}}},
                                           ScriptCase{
                                               "202 a group, option 17",
                                               "menu \"Composite Reports/Working Appraisal\"\n"
                                               "dialog 123\n"
                                               "  check 1100 on\n"
                                               "  select 1111 \"FAMILY\"\n"
                                               "  set 1162 \"12/31/98\"\n"
                                               "  check 1231 on\n"
                                               "  click 1174\n"
                                               "  set 1167 \"WORK.TXT\"\n"
                                               "  click 1169\n"
                                               "closed\n",
                                               "WORK.TXT",
                                               "reports/appraisal/composite_working_appraisal_group.txt",
                                               {{records::Opt::kChangeFromPriorMonth, 1}}}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace

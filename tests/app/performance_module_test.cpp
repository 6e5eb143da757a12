// The performance module from Performance Reports / Performance Module
// through the performance reports dialog (140): each line of its report
// list to a named file, one run to the display, and the chart of the last
// table drawn by Charts / Charts with "Performance" chosen.

#include <gtest/gtest.h>

#include <string>

#include "records/performance_control.h"
#include "records/record.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/performance/performance_module_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

// The dialog's steps up to Generate Report for one report line, to the
// named file.
std::string ToFile(int line, const std::string& selection, const std::string& file) {
    return "menu \"Performance Reports/Performance Module\"\n"
           "dialog 140\n"
           "  select 1422 " +
           std::to_string(line) + "\n" + selection + "  set 1163 \" 6/30/97\"\n" +
           "  click 1174\n"
           "  set 1167 \"" +
           file +
           "\"\n"
           "  click 1380\n"
           "closed\n";
}

TEST(PerformanceModuleScripts, EachReportToANamedFile) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    fixtures::SetOptions({{records::Opt::kPerformanceSummaryType, 1}});
    const std::string groups = "BOTH Both accounts\r\n2\r\nH1\r\nH3\r\n";
    TempDataDir::WriteBytes("group.dat", {groups.begin(), groups.end()});
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1997, 6, 30)});
    ASSERT_TRUE(run.Started());
    struct Case {
        int line;
        std::string selection;
        std::string file;
        std::string golden;
    };
    const Case cases[] = {
        {0, "  check 1176 on\n  select 1159 \"H1\"\n  set 1162 \"\"\n", "TYPE1.TXT",
         "performance_module_script_type1.txt"},
        {1, "  check 1100 on\n  select 1111 \"BOTH\"\n", "TYPE2.TXT", "performance_module_script_type2.txt"},
        {2, "  set 1161 \"????\"\n", "TYPE3.TXT", "performance_module_script_type3.txt"},
        {3, "  set 1161 \"AB\"\n", "TYPE4.TXT", "performance_module_script_type4.txt"},
        {4, "  check 1176 on\n  select 1159 \"R1\"\n  check 1426 on\n  set 1162 \"\"\n", "TYPE5.TXT",
         "performance_module_script_type5.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_TRUE(run.RunScript(ToFile(c.line, c.selection, c.file)));
        for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
        ASSERT_TRUE(TempDataDir::Exists(c.file));
        fixtures::CompareWithGolden("reports/performance/" + c.golden, fixtures::ReportText(c.file));
    }
}

// Monthly performance of every account to the display with option 73 at
// 2; then Charts / Charts with "Performance" chosen opens a chart window
// on GRAPHER.OUT, the last table's chart data.
TEST(PerformanceModuleScripts, ToTheDisplayThenTheChart) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    fixtures::SetOptions(
        {{records::Opt::kPerformanceSummaryType, 2}, {records::Opt::kPerformanceExportType, 2}});
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1997, 6, 30)});
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(
        run.RunScript("menu \"Performance Reports/Performance Module\"\n"
                      "dialog 140\n"
                      "  select 1422 0\n"
                      "  check 1170 on\n"
                      "  set 1161 \"????\"\n"
                      "  set 1162 \"\"\n"
                      "  set 1163 \" 6/30/97\"\n"
                      "  click 1380\n"
                      "closed\n"
                      "children 2\n"
                      "exists O000000.TMP\n"
                      "contains O000000.TMP \"SMITH FAMILY TRUST\"\n"
                      "contains O000000.TMP \"JONES ACCOUNT\"\n"
                      "contains O000000.TMP \"REPLAY ACCOUNT\"\n"
                      "exists GRAPHER.OUT\n"
                      "menu \"Charts/Charts\"\n"
                      "dialog 147\n"
                      "  click 1063\n"
                      "  click 1\n"
                      "closed\n"
                      "children 3\n"));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    records::PerformanceHeader h;
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    EXPECT_EQ(h.slot, records::kPerformanceFinished);
}

}  // namespace

// Assets Under Management and Detailed Security Cross Reference from their
// menu commands, through the report options dialog with a manager code, to
// a named file; each file is compared with the golden report of the same
// selection.

#include <gtest/gtest.h>

#include <string>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/aum/aum_run_fixture.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

struct ScriptCase {
    const char* what;
    const char* menu;
    const char* manager;
    const char* file;
    const char* golden;
};

class AssetsUnderManagementScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(AssetsUnderManagementScripts, RunFromTheMenuToANamedFile) {
    const ScriptCase& c = GetParam();
    TempDataDir dir;
    meomfix::WriteData();

    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 31)});
    ASSERT_TRUE(run.Started());
    const std::string script = std::string("menu \"") + c.menu +
                               "\"\n"
                               "dialog 123\n"
                               "  set 1161 \"" +
                               c.manager +
                               "\"\n"
                               "  set 1162 \"12/31/98\"\n"
                               "  click 1174\n"
                               "  set 1167 \"" +
                               c.file +
                               "\"\n"
                               "  click 1169\n"
                               "closed\n";
    EXPECT_TRUE(run.RunScript(script));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    ASSERT_TRUE(TempDataDir::Exists(c.file));
    fixtures::CompareWithGolden(c.golden, fixtures::ReportText(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, AssetsUnderManagementScripts,
    ::testing::Values(ScriptCase{"Code88", "Trade Reports/Detailed Security Cross Reference", "????",
                                 "XREF.TXT", "reports/aum/aum_run_cross_reference_all.txt"},
                      ScriptCase{"Code107", "Position Reports/Assets Under Management", "????", "AUM.TXT",
                                 "reports/aum/aum_run_assets_all.txt"}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace

// The Import Price File dialog from the program's menu, by text scripts:
// its initial states, the choices OK stores in the report globals, the
// refused names, and an import run to the display.

#include "pricing/import_price_file_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/dispatch.h"
#include "shell/display_view.h"
#include "shell/main_frame.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"
#include "shell/runner.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/pricing/price_import_fixture.h"
#include "tests/tools/program_run.h"

namespace pricing {
namespace {

using fixtures::TempDataDir;
using shell::g_report;

std::string Failures(const tools::ProgramRun& run) {
    std::string all;
    for (const std::string& f : run.Failures()) all += f + "\n";
    return all;
}

class ImportDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteSecurities(pricing_test::SampleSecurities());
        pricing_test::CopySample("layout1.txt", "NEWPRICE.PRI");
        run_ = std::make_unique<tools::ProgramRun>(dir_.path(),
                                                   tools::ProgramRun::Options{tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run_->Started()) << Failures(*run_);
        shell::ClearMessageList();
    }
    void TearDown() override {
        run_.reset();
        shell::ClearMessageList();
    }

    TempDataDir dir_;
    std::unique_ptr<tools::ProgramRun> run_;
};

TEST_F(ImportDialogTest, InitialStatesAndCancel) {
    g_report.ListFileName = "KEPT";
    EXPECT_TRUE(
        run_->RunScript("menu \"Pricing/Import\"\n"
                        "dialog 181\n"
                        "  expect-check 1173 on\n"
                        "  expect-check 1172 off\n"
                        "  expect-check 1434 off\n"
                        "  expect-check 1174 off\n"
                        "  expect-visible 1167 off\n"
                        "  expect-visible 1168 off\n"
                        "  expect-check 1193 on\n"
                        "  expect-check 1192 off\n"
                        "  expect-text 1095 \"\"\n"
                        "  click 1174\n"
                        "  expect-visible 1167 on\n"
                        "  expect-enabled 1167 on\n"
                        "  expect-visible 1168 on\n"
                        "  click 1172\n"
                        "  expect-visible 1167 off\n"
                        "  key escape\n"
                        "  key enter\n"
                        "  click 4\n"
                        "closed\n"))
        << Failures(*run_);
    EXPECT_EQ(g_report.ListFileName, "KEPT");
}

TEST_F(ImportDialogTest, OkStoresTheChoicesAndTheImportFilesItsReportIntoTheNamedFile) {
    EXPECT_TRUE(
        run_->RunScript("menu \"Pricing/Import\"\n"
                        "dialog 181\n"
                        "  select 1375 3\n"
                        "  click 1192\n"
                        "  click 1174\n"
                        "  set 1167 NEWPRICE.TXT\n"
                        "  set 1095 \"NEWPRICE.PRI\"\n"
                        "  click 3\n"
                        "closed\n"
                        "exists NEWPRICE.TXT\n"))
        << Failures(*run_);
    EXPECT_EQ(g_report.OutputDestination, shell::kOutputFile);
    EXPECT_EQ(g_report.OutputFileName, "NEWPRICE.TXT");
    EXPECT_EQ(g_report.ListFileName, "NEWPRICE.PRI");
    EXPECT_EQ(g_report.ReportVariant, 4);
    EXPECT_EQ(g_report.SelectionScope, 2);
    const shell::ReportFields fields = shell::PrepareReportFields(g_report);
    EXPECT_EQ(fields.identification, "C   ");
    EXPECT_EQ(fields.import_file, records::Fixed("NEWPRICE.PRI", 48));
}

TEST_F(ImportDialogTest, NamesOfFortyEightCharactersOrMissingFilesAreRefused) {
    const std::string name47 = std::string(43, 'A') + ".PRI";
    const std::string name48 = std::string(44, 'A') + ".PRI";
    pricing_test::CopySample("layout1.txt", name47);
    pricing_test::CopySample("layout1.txt", name48);
    for (const std::string& name : {std::string(), name48, std::string("NOSUCH.PRI")}) {
        EXPECT_TRUE(
            run_->RunScript("menu \"Pricing/Import\"\n"
                            "dialog 181\n"
                            "  set 1095 \"" +
                            name +
                            "\"\n"
                            "  click 3\n"
                            "  dialog 142\n"
                            "    expect-text 1177 \"1." +
                            name +
                            ": Illegal import file name or file does not exist.\"\n"
                            "    expect-text 2 \"\"\n"
                            "    click 1\n"
                            "  closed\n"
                            "  click 4\n"
                            "closed\n"))
            << Failures(*run_);
        EXPECT_TRUE(shell::GetMessages().empty());  // shown in the errors window, emptied by Done
    }
    EXPECT_TRUE(
        run_->RunScript("menu \"Pricing/Import\"\n"
                        "dialog 181\n"
                        "  set 1095 \"" +
                        name47 +
                        "\"\n"
                        "  click 1172\n"
                        "  click 1173\n"
                        "  click 3\n"
                        "closed\n"))
        << Failures(*run_);
    EXPECT_EQ(g_report.ListFileName, name47);
    EXPECT_EQ(g_report.SelectionScope, 1);
    EXPECT_EQ(g_report.ReportVariant, 1);
    EXPECT_EQ(shell::PrepareReportFields(g_report).identification, "S   ");
}

TEST_F(ImportDialogTest, BrowseFillsTheNameAndTheImportShowsItsReport) {
    EXPECT_TRUE(
        run_->RunScript("menu \"Pricing/Import\"\n"
                        "dialog 181\n"
                        "  click 1096\n"
                        "  file \"NEWPRICE.PRI\"\n"
                        "  click 3\n"
                        "closed\n"))
        << Failures(*run_);
    EXPECT_NE(g_report.ListFileName.find("NEWPRICE.PRI"), std::string::npos);
    platform::ChildFrame* child = run_->Frame()->MDIGetActive();
    ASSERT_NE(child, nullptr);
    auto* view = dynamic_cast<shell::CDisplayNew*>(child->GetView());
    ASSERT_NE(view, nullptr);
    std::string text, line;
    for (long n = 1; view->GetLine(n, line); ++n) text += line + "\n";
    EXPECT_NE(text.find("PRICE FILE IMPORT ERROR REPORT"), std::string::npos);
    EXPECT_NE(text.find(" Warning, MSFT        has invalid price data."), std::string::npos);
    // 01/21/98 is before the program date 12/08/98 of this run: filed.
    EXPECT_TRUE(TempDataDir::Exists("SE012198.PRC"));
    EXPECT_TRUE(TempDataDir::Exists("SE011598.PRC"));
    EXPECT_FALSE(TempDataDir::Exists("XXX.TXT"));
}

}  // namespace
}  // namespace pricing

namespace pricing {
namespace {

// Report code 63 through the runner over the sample firm, to a file and to
// the display: a report comes out either way and names no earlier run.
TEST(ImportSweep, TheSampleFirmImportsToAFileAndToTheDisplay) {
    TempDataDir dir;
    fixtures::TempDataDir::CopySampleFirm();
    pricing_test::CopySample("layout1.txt", "NEWPRICE.PRI");
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started()) << Failures(run);
    for (const int destination : {shell::kOutputFile, shell::kOutputDisplay}) {
        SCOPED_TRACE(destination);
        g_report.ReportCode = 63;
        g_report.ListFileName = "NEWPRICE.PRI";
        g_report.ReportVariant = 1;
        g_report.SelectionScope = 1;
        g_report.OutputDestination = destination;
        g_report.OutputFileName = "SWEEP.TXT";
        const std::size_t before = run.Frame()->GetChildFrames().size();
        shell::RouteReportOutput(*run.Frame());
        if (destination == shell::kOutputFile) {
            const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("SWEEP.TXT");
            EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("PRICE FILE IMPORT ERROR REPORT"),
                      std::string::npos);
        } else {
            EXPECT_EQ(run.Frame()->GetChildFrames().size(), before + 1);
        }
    }
    EXPECT_TRUE(run.Failures().empty()) << Failures(run);
}

}  // namespace
}  // namespace pricing

// The request dialog of every report code: which dialog opens, that OK
// asks for the run and Cancel does not, and that codes without a dialog
// open none. The options dialog of Utilities/Options never asks for a run.

#include "shell/request_dialogs.h"

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/options.h"
#include "shell/ledger_dialog.h"
#include "shell/main_frame.h"
#include "shell/options_dialog.h"
#include "shell/performance_dialog.h"
#include "shell/report_options_dialog.h"
#include "shell/report_request_dialog.h"
#include "tests/shell/report_dialog_fixture.h"

namespace {

using namespace platform;
using namespace shell;
using namespace dialog_test;

// Report codes and the dialog each opens.
std::vector<std::pair<int, int>> CodeDialogs() {
    std::vector<std::pair<int, int>> codes;
    for (const int code : {82,  83,  84,  85,  88,  91,  92,  95,  101, 102, 103, 104, 106, 107, 108,
                           181, 182, 184, 186, 201, 202, 203, 221, 222, 223, 224, 225, 226, 227, 228})
        codes.emplace_back(code, kReportOptionsDialogId);
    for (const int code : {86, 87, 93, 94, 109, 183, 185, 243, 244, 262, 302, 303, 341, 342, 343, 362, 363})
        codes.emplace_back(code, kReportRequestDialogId);
    for (const int code : {81, 90, 204}) codes.emplace_back(code, kLedgerDialogId);
    codes.emplace_back(121, kPerformanceDialogId);
    return codes;
}

TEST_F(ReportDialogTest, EveryReportCodeOpensItsDialog) {
    CMainFrame frame;
    for (const auto& [code, dialog_id] : CodeDialogs()) {
        SCOPED_TRACE("code " + std::to_string(code));
        EXPECT_TRUE(HasRequestDialog(code));
        g_report.ReportCode = code;
        ScriptedInteraction script;
        ScopedInteraction installed(script);
        script.ExpectDialog(dialog_id).Click(IDCANCEL).ExpectClosed();
        EXPECT_FALSE(RunRequestDialog(code, frame));
        ExpectNoFailures(script);
    }
}

TEST_F(ReportDialogTest, GenerateReportAsksForTheRun) {
    CMainFrame frame;
    const std::vector<std::tuple<int, int, int>> cases = {
        {103, kReportOptionsDialogId, CReportOptionsDlg::kGenerate},
        {94, kReportRequestDialogId, CReportRequestDlg::kGenerate},
        {81, kLedgerDialogId, CTransactionLedgerDlg::kGenerate},
        {121, kPerformanceDialogId, CPerformanceReportsDlg::kGenerate}};
    for (const auto& [code, dialog_id, generate] : cases) {
        SCOPED_TRACE("code " + std::to_string(code));
        g_report.ReportCode = code;
        ScriptedInteraction script;
        ScopedInteraction installed(script);
        script.ExpectDialog(dialog_id).Click(generate).ExpectClosed();
        EXPECT_TRUE(RunRequestDialog(code, frame));
        ExpectNoFailures(script);
    }
}

TEST_F(ReportDialogTest, CodesWithoutADialogOpenNone) {
    CMainFrame frame;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    for (const int code : {0, 21, 41, 89, 96, 105, 141, 162, 163, 164, 261, 281, 361}) {
        EXPECT_FALSE(HasRequestDialog(code)) << code;
        EXPECT_FALSE(RunRequestDialog(code, frame)) << code;
    }
    ExpectNoFailures(script);
}

TEST_F(ReportDialogTest, OptionsDialogNeverAsksForARun) {
    CMainFrame frame;
    EXPECT_TRUE(HasRequestDialog(161));
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kOptionsDialogId)
        .Click(COptionsDlg::kCheckIds[0])
        .Click(COptionsDlg::kDone)
        .ExpectClosed();
    EXPECT_FALSE(RunRequestDialog(161, frame));
    ExpectNoFailures(script);
    EXPECT_EQ(records::OptionValue(records::Rdopts(), records::Opt::kCusipFromSymbol), 1);
}

}  // namespace

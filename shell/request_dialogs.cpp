// The request dialog of each report code: the report options dialog, the
// report request dialog, the transaction ledger dialog and the performance
// reports dialog; and the options dialog of Utilities/Options (code 161),
// which asks for settings rather than a report.

#include "shell/request_dialogs.h"

#include "shell/ledger_dialog.h"
#include "shell/main_frame.h"
#include "shell/options_dialog.h"
#include "shell/performance_dialog.h"
#include "shell/report_globals.h"
#include "shell/report_options_dialog.h"
#include "shell/report_request_dialog.h"

namespace shell {
namespace {

constexpr int kPerformanceCode = 121;
constexpr int kOptionsCode = 161;

bool IsLedgerCode(int code) {
    return code == 81 || code == 90 || code == 204;
}

template <class Dialog>
bool Run(CMainFrame& frame) {
    Dialog dialog(&frame);
    return dialog.DoModal() == platform::IDOK;
}

}  // namespace

bool RunRequestDialog(int code, CMainFrame& frame) {
    if (!HasRequestDialog(code)) return false;
    // The dialogs set themselves up from the current report code.
    g_report.ReportCode = code;
    if (IsReportOptionsCode(code)) return Run<CReportOptionsDlg>(frame);
    if (IsReportRequestCode(code)) return Run<CReportRequestDlg>(frame);
    if (IsLedgerCode(code)) return Run<CTransactionLedgerDlg>(frame);
    if (code == kPerformanceCode) return Run<CPerformanceReportsDlg>(frame);
    if (code == kOptionsCode) {
        // Settings only: nothing is run afterwards.
        Run<COptionsDlg>(frame);
        return false;
    }
    return false;
}

bool HasRequestDialog(int code) {
    return IsReportOptionsCode(code) || IsReportRequestCode(code) || IsLedgerCode(code) ||
           code == kPerformanceCode || code == kOptionsCode;
}

}  // namespace shell

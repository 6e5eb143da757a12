// Command dispatch: the dispatched commands, the code table and the output
// switch.

#include "shell/dispatch.h"

#include <map>
#include <optional>
#include <set>

#include "platform/feedback.h"
#include "platform/message_box.h"
#include "records/common_file.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/module_stores.h"
#include "records/options.h"
#include "records/report_output.h"
#include "records/transaction_lines.h"
#include "shell/app.h"
#include "shell/chart_command.h"
#include "shell/color_dialog.h"
#include "shell/command_ids.h"
#include "shell/commands.h"
#include "shell/field_helpers.h"
#include "shell/letterhead_dialog.h"
#include "shell/main_frame.h"
#include "shell/printer_options_dialog.h"
#include "shell/printer_settings.h"
#include "shell/report_globals.h"
#include "shell/request_dialogs.h"
#include "shell/runner.h"

namespace shell {
namespace {

using namespace platform;

// Option 52 (byte 52 of the options record): check the tax disk before
// the gains and income reports.

constexpr const char* kOfflineTransactions = "OFFLINET.DAT";

std::map<int, CodeDialog>& CodeDialogs() {
    static std::map<int, CodeDialog> dialogs;
    return dialogs;
}

TaxDiskCheck& TheTaxDiskCheck() {
    static TaxDiskCheck check;
    return check;
}

const CodeDialog* FindCodeDialog(int code) {
    const auto it = CodeDialogs().find(code);
    return it == CodeDialogs().end() ? nullptr : &it->second;
}

// How a command ends: normally the "Modules" menu item goes; a cancelled
// import or invoice dialog returns at once.
enum class Ending { RemoveModules, Return };

bool IsImportCode(int code) {
    return code == 44 || (code >= 281 && code <= 292);
}

// Codes of the generic report dialogs (options, request, transaction
// ledger, performance): the dialog, then the output switch.
bool IsRequestDialogCode(int code) {
    static const std::set<int> codes = {
        81,  82,  83,  84,  85,  86,  87,  88,  90,  91,  92,  93,  94,  95,  101, 102, 103,
        104, 106, 107, 108, 109, 121, 181, 182, 183, 184, 185, 186, 201, 202, 203, 204, 221,
        222, 223, 224, 225, 226, 227, 228, 243, 244, 262, 302, 303, 341, 342, 343, 362, 363,
    };
    return codes.count(code) != 0;
}

// A dialog of another subsystem; "not available" until it is registered.
// Returns the dialog's OK, or nothing when it could not run.
std::optional<bool> RunCodeDialog(int code, CMainFrame& frame) {
    const CodeDialog* dialog = FindCodeDialog(code);
    if (!dialog) {
        ShowNotAvailable();
        return std::nullopt;
    }
    return (*dialog)(code, frame);
}

void OpenTransactionList(CMainFrame& frame) {
    const CodeDialog* select = FindCodeDialog(21);
    if (!select) {
        // Nothing will open the list, so nothing will clear its flags.
        g_report.EditDownloadedFlag = 0;
        g_report.EditBlockFlag = 0;
        ShowNotAvailable();
        return;
    }
    if (g_report.EditDownloadedFlag == 0 && g_report.EditBlockFlag == 0 && !(*select)(21, frame)) return;
    g_app_state.tran_list_pending = 1;
    frame.OpenTemplateWindow(kTranListTemplate);
}

void RunRequestedReport(int code, CMainFrame& frame) {
    if (!HasRequestDialog(code)) {
        ShowNotAvailable();
        return;
    }
    if (!RunRequestDialog(code, frame)) return;
    if ((code == 84 || code == 85) &&
        records::OptionOn(records::Rdopts(), records::Opt::kLoanLimitAndExtracts) && TheTaxDiskCheck() &&
        !TheTaxDiskCheck()(frame))
        return;
    RouteReportOutput(frame);
}

Ending RunCode(int code, CMainFrame& frame) {
    if (IsRequestDialogCode(code)) {
        RunRequestedReport(code, frame);
        return Ending::RemoveModules;
    }
    if (IsImportCode(code) || code == 261) {
        const std::optional<bool> ok = RunCodeDialog(code, frame);
        if (ok && !*ok) return Ending::Return;
        if (ok) RouteReportOutput(frame);
        return Ending::RemoveModules;
    }
    switch (code) {
        case 21:
            OpenTransactionList(frame);
            break;
        case 41:
        case 42:
        case 43:
        case 61:
        case 62:
            RunCodeDialog(code, frame);
            break;
        case 63:
        case 89:
        case 322:
        case 323:
            if (RunCodeDialog(code, frame).value_or(false)) RouteReportOutput(frame);
            break;
        case 141:
            OnChartCommand(frame);
            break;
        case 161:
            // The options dialog: settings only, no report.
            if (HasRequestDialog(code))
                RunRequestDialog(code, frame);
            else
                ShowNotAvailable();
            break;
        case 162:
            // The update of the data base; its warnings show in a report
            // window.
            RouteOutput(frame, kOutputDisplay);
            break;
        case 163: {
            CColorSelectDlg dialog(&frame);
            dialog.DoModal();
            break;
        }
        case 164:
            records::Finit();
            break;
        default:
            ShowNotAvailable();
            break;
    }
    return Ending::RemoveModules;
}

const std::vector<DispatchedCommand> kDispatchedCommands = {
    {kCmdTransactionEditor, 1, 1},
    {kCmdSetupBroker, 2, 1},
    {kCmdSetupAccount, 2, 2},
    {kCmdSetupSecurity, 2, 3},
    {kCmdPricingManual, 3, 1},
    {kCmdPricingAuto, 3, 2},
    {kCmdTransactionLedger, 4, 1},
    {kCmdSecurityCrossReference, 4, 2},
    {kCmdAccountDirectory, 4, 3},
    {kCmdGainsLosses, 4, 4},
    {kCmdIncomeSummary, 4, 5},
    {kCmdCommissionByBroker, 4, 6},
    {kCmdWorkingAppraisal, 5, 1},
    {kCmdPositionSummary, 5, 2},
    {kCmdAccountAppraisal, 5, 3},
    {kCmdInvestmentHistory, 5, 4},
    {kCmdPerformanceModule, 6, 1},
    {kCmdCharts, 7, 1},
    {kCmdOptions, 8, 1},
    {kCmdUpdateDataBase, 8, 2},
    {kCmdColors, 8, 3},
    {kCmdInitializeTempFiles, 8, 4},
    {kCmdAccountList, 9, 1},
    {kCmdBrokerList, 9, 3},
    {kCmdSecurityList, 9, 2},
    {kCmdMaturityAlert, 4, 7},
    {kCmdCompositeAccountAppraisal, 10, 1},
    {kCmdCompositeGainsLosses, 10, 3},
    {kCmdCompositeTransactionLedger, 10, 4},
    {kCmdCompositeWorkingAppraisal, 10, 2},
    {kCmdFixedIncomeAppraisal, 11, 1},
    {kCmdFixedIncomeSummary, 11, 8},
    {kCmdIncomeFlowFixed, 11, 6},
    {kCmdIncomeFlowOther, 11, 7},
    {kCmdMaturityAnalysis, 11, 2},
    {kCmdRatingAnalysis, 11, 3},
    {kCmdYieldAnalysis, 11, 5},
    {kCmdCouponAnalysis, 11, 4},
    {kCmdBondList, 9, 4},
    {kCmdMutualFundAppraisal, 5, 6},
    {kCmdAssetsUnderManagement, 5, 7},
    {kCmdDetailedCrossReference, 4, 8},
    {kCmdCustodianList, 9, 5},
    {kCmdInvoice, 13, 1},
    {kCmdBillingSummary, 13, 2},
    {kCmdImportBearStearns, 14, 1},
    {kCmdImportDataLynx, 14, 2},
    {kCmdImportDstSystems, 14, 3},
    {kCmdImportFidelity, 14, 4},
    {kCmdImportJackWhite, 14, 5},
    {kCmdImportRydex, 14, 6},
    {kCmdImportSchwab, 14, 7},
    {kCmdImportSmithBarney, 14, 8},
    {kCmdImportVanguard, 14, 9},
    {kCmdImportWaterhouse, 14, 10},
    {kCmdTransactionReport, 12, 3},
    {kCmdPostTransactions, 12, 4},
    {kCmdPricingImport, 3, 3},
    {kCmdBlockSizeComputation, 4, 9},
    {kCmdSecuritiesWithPayableDates, 15, 2},
    {kCmdPostIncome, 15, 3},
    {kCmdPostAssetAllocation, 16, 3},
    {kCmdAssetAllocationReport, 16, 2},
    {kCmdMemberStatement, 4, 10},
    {kCmdForm1099B, 4, 11},
    {kCmdTradeMemorandum, 4, 12},
    {kCmdImportCreditUnion, 14, 11},
    {kCmdImportMemberAccounts, 2, 4},
    {kCmdFindAccount, 17, 1},
    {kCmdFindCustodian, 17, 2},
    {kCmdFindSecurity, 17, 3},
    {kCmdStockSplitReport, 18, 2},
    {kCmdPostSplits, 18, 3},
    {kCmdAccountListSummary, 9, 6},
    {kCmdSummaryOfAssets, 5, 8},
    {kCmdCommissionsByAccount, 4, 13},
    {kCmdCommissionDetailByBroker, 4, 14},
    {kCmdSummaryOfAccounts, 5, 9},
    {kCmdPortfolioChanges, 4, 15},
    {kCmdImportAmericanSkandia, 14, 12},
    {kCmdToolManualPricing, 3, 1},
    {kCmdToolTransactionEditor, 1, 1},
    {kCmdToolTransactionLedger, 4, 1},
    {kCmdToolGainsLosses, 4, 4},
    {kCmdToolBroker, 2, 1},
    {kCmdToolCharts, 7, 1},
    {kCmdToolManualPricing2, 3, 1},
    {kCmdToolSecurity, 2, 3},
    {kCmdToolAutoPricing, 3, 2},
    {kCmdToolAccount, 2, 2},
    {kCmdToolCrossReference, 4, 2},
    {kCmdToolWorkingAppraisal, 5, 1},
    {kCmdToolAccountAppraisal, 5, 3},
    {kCmdToolPerformance, 6, 1},
    {kCmdToolPositionSummary, 5, 2},
};

// The handlers of the commands that are not dispatched by group and item
// but belong to the dispatcher.

void OnEditTransactions(CMainFrame& frame) {
    g_report.EditBlockFlag = 0;
    g_report.EditDownloadedFlag = 1;
    g_report.CommandGroup = 1;
    DispatchCommand(frame, 1);
}

// Block Trades / Edit: the transaction list on the block's allocations,
// once a block is defined.
void OnEditBlock(CMainFrame& frame) {
    records::BlockDefinition block;
    if (!records::ReadBlockDefinition(block)) {
        MessageBox("No block defined. Can not edit allocations.", "Diagnostic", MB_ICONEXCLAMATION,
                   frame.GetSafeHwnd());
        return;
    }
    g_report.EditDownloadedFlag = 0;
    g_report.EditBlockFlag = 1;
    g_report.CommandGroup = 1;
    DispatchCommand(frame, 1);
}

void OnDeleteTransactions(CMainFrame& frame) {
    if (MessageBox("Delete Transaction Import", "Diagnostic", MB_OKCANCEL, frame.GetSafeHwnd()) == IDOK)
        records::Purge(kOfflineTransactions);
}

void OnDeleteAssetAllocation(CMainFrame& frame) {
    if (MessageBox("Are you sure you want to delete the Asset Allocation ?", "Confirm Delete", MB_OKCANCEL,
                   frame.GetSafeHwnd()) == IDOK)
        records::DeleteAssetAllocation();
}

void OnPrinterOptions(CMainFrame& frame) {
    CPrinterOptionsDlg dialog(&frame);
    dialog.DoModal();
}

void OnLetterhead(CMainFrame& frame) {
    CLetterheadDlg dialog(&frame);
    dialog.DoModal();
}

}  // namespace

const std::vector<DispatchedCommand>& DispatchedCommands() {
    return kDispatchedCommands;
}

void DispatchCommand(CMainFrame& frame, int16_t item) {
    // A date typed into the date bar takes effect before any dialog opens.
    frame.OnSystemDateKillFocus();
    const int code = g_report.CommandGroup * 20 + item;
    g_report.ReportCode = code;
    if (RunCode(code, frame) == Ending::Return) return;
    frame.RemoveModulesMenu();
}

void RouteReportOutput(CMainFrame& frame) {
    RouteOutput(frame, g_report.OutputDestination);
}

void RouteOutput(CMainFrame& frame, int destination) {
    switch (destination) {
        case kOutputPrint:
        case kOutputPreview:
            // The print view runs the report for the paper itself.
            frame.OpenTemplateWindow(kPrintViewTemplate);
            break;
        case kOutputFile:
            // The file name reaches the report routines as 12 characters:
            // a name that does not fit is refused rather than cut.
            if (!CheckFileNameText(g_report.OutputFileName)) {
                MessageBox("Illegal file name", kReportDiagnosticCaption, MB_OK | MB_ICONEXCLAMATION,
                           frame.GetSafeHwnd());
                break;
            }
            SetReportPageSettings(
                g_printer.PrinterPageLength > 0 ? g_printer.PrinterPageLength : kDefaultPageLength, 0);
            RunReport();
            break;
        case kOutputDisplay:
            SetReportPageSettings(kDefaultPageLength, 0);
            if (!RunReport()) break;
            g_report.LineSource = kLinesFromReportFile;
            frame.OpenTemplateWindow(kDisplayTemplate);
            break;
        default:
            break;
    }
}

void RegisterCodeDialog(int code, CodeDialog dialog) {
    CodeDialogs()[code] = std::move(dialog);
}

void UnregisterCodeDialog(int code) {
    CodeDialogs().erase(code);
}

void RegisterTaxDiskCheck(TaxDiskCheck check) {
    TheTaxDiskCheck() = std::move(check);
}

void RegisterDispatcherCommands() {
    for (const DispatchedCommand& command : kDispatchedCommands) {
        const int16_t group = command.group;
        const int16_t item = command.item;
        RegisterCommand(command.id, [group, item](CMainFrame& frame) {
            g_report.CommandGroup = group;
            DispatchCommand(frame, item);
        });
    }
    RegisterCommand(kCmdEditTransactions, OnEditTransactions);
    RegisterCommand(kCmdBlockEdit, OnEditBlock);
    RegisterCommand(kCmdDeleteTransactions, OnDeleteTransactions);
    RegisterCommand(kCmdDeleteAssetAllocation, OnDeleteAssetAllocation);
    RegisterCommand(kCmdInformationExport, [](CMainFrame&) {});
    RegisterCommand(kCmdGenerateExtracts, [](CMainFrame&) {});
    RegisterCommand(kCmdPrinterOptions, OnPrinterOptions);
    RegisterCommand(kCmdLetterhead, OnLetterhead);
}

}  // namespace shell

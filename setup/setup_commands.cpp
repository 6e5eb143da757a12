#include "setup/setup_commands.h"

#include "setup/account_billing_dialog.h"
#include "setup/asset_allocation_dialog.h"
#include "setup/billing_notes_dialog.h"
#include "setup/broker_data_dialog.h"
#include "setup/copy_account_dialog.h"
#include "setup/fee_schedule_dialog.h"
#include "setup/group_editor_dialog.h"
#include "setup/historical_data_dialog.h"
#include "setup/industry_categories_dialog.h"
#include "setup/income_distribution_dialogs.h"
#include "setup/invoice_dialog.h"
#include "setup/manager_codes_dialog.h"
#include "setup/security_data_dialog.h"
#include "setup/security_types_dialog.h"
#include "setup/stock_split_dialogs.h"
#include "shell/command_ids.h"
#include "shell/commands.h"
#include "shell/dispatch.h"
#include "shell/main_frame.h"

namespace setup {
namespace {

// A command that runs one dialog modally over the main frame.
template <class Dlg>
void RegisterDialogCommand(int id) {
    shell::RegisterCommand(id, [](shell::CMainFrame& frame) {
        Dlg dialog(&frame);
        dialog.DoModal();
    });
}

}  // namespace

void RegisterSetupCommands() {
    shell::RegisterCommand(shell::kCmdGroups, [](shell::CMainFrame& frame) {
        CGroupEditorDlg dialog(&frame);
        dialog.DoModal();
    });
    RegisterDialogCommand<CManagerCodesDlg>(shell::kCmdPortfolioManagerCodes);
    RegisterDialogCommand<CHistoricalDataDlg>(shell::kCmdHistoricalPortfolioValues);
    RegisterDialogCommand<CFeeScheduleDlg>(shell::kCmdFeeSchedule);
    RegisterDialogCommand<CBillingNotesDlg>(shell::kCmdBillingNotes);
    shell::RegisterCommand(shell::kCmdModifyStockSplits, RunModifyStockSplits);
    RegisterDialogCommand<CSicCategoriesDlg>(shell::kCmdSecurityIndustryCategory);
    RegisterDialogCommand<CSecurityTypesDlg>(shell::kCmdSecurityType);
    shell::RegisterCodeDialog(43, [](int, shell::CMainFrame& frame) {
        CSecurityDataDlg dialog(&frame);
        dialog.DoModal();
        return false;
    });

    // Accounts, brokers and custodians: the data dialog in its three modes.
    for (const int code : {41, 42})
        shell::RegisterCodeDialog(code, [](int c, shell::CMainFrame& frame) {
            CBrokerDataDlg dialog(&frame);
            if (c == 42)
                dialog.SetAccountMode();
            else
                dialog.SetBrokerMode();
            dialog.DoModal();
            return false;
        });
    shell::RegisterCommand(shell::kCmdSetupCustodian, [](shell::CMainFrame& frame) {
        CBrokerDataDlg dialog(&frame);
        dialog.SetCustodianMode();
        dialog.DoModal();
    });
    RegisterDialogCommand<CCopyAccountDlg>(shell::kCmdCopyAccount);

    // The module entry dialogs.
    shell::RegisterCodeDialog(kInvoiceCode, [](int, shell::CMainFrame& frame) {
        CClientInvoicesDlg dialog(&frame);
        return dialog.DoModal() == platform::IDOK;
    });
    RegisterDialogCommand<CAccountBillingDlg>(shell::kCmdBillingUpdate);
    shell::RegisterCommand(shell::kCmdInputIncomeDistributions, RunIncomeDistributions);
    RegisterDialogCommand<CInitialPostDateDlg>(shell::kCmdInitialPostDate);
    RegisterDialogCommand<CInputAssetAllocationDlg>(shell::kCmdInputAssetAllocation);
}

}  // namespace setup

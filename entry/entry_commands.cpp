#include "entry/entry_commands.h"

#include "entry/block_trade_dialog.h"
#include "entry/cash_dialog.h"
#include "entry/trades_dialog.h"
#include "entry/tran_edit_select_dialog.h"
#include "entry/tran_list.h"
#include "entry/transfers_dialog.h"
#include "shell/command_ids.h"
#include "shell/commands.h"
#include "shell/main_frame.h"
#include "shell/runner.h"

namespace entry {
namespace {

template <class Dlg>
void RegisterEntryDialog(int id) {
    shell::RegisterCommand(id, [](shell::CMainFrame& frame) {
        Dlg dialog(&frame);
        dialog.DoModal();
    });
}

}  // namespace

void RegisterEntryCommands() {
    RegisterEntryDialog<CTradesDlg>(shell::kCmdTrades);
    RegisterEntryDialog<CCashDlg>(shell::kCmdCash);
    RegisterEntryDialog<CTransfersDlg>(shell::kCmdTransfers);
    RegisterTranEditSelect();
    RegisterBlockTradeCommand();
    // Code 21 prints the transaction list.
    shell::RegisterReportRoutine(kTranListReportCode,
                                 {[](shell::ReportFields& f) { Tranlist(f.output_mode, f.output_name); }});
}

}  // namespace entry

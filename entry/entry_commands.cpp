#include "entry/entry_commands.h"

#include <vector>

#include "entry/block_size_dialog.h"
#include "entry/block_trade_dialog.h"
#include "entry/cash_dialog.h"
#include "entry/import_transactions_dialog.h"
#include "entry/map_codes_dialog.h"
#include "entry/trades_dialog.h"
#include "entry/tran_edit_select_dialog.h"
#include "entry/tran_list.h"
#include "entry/transfers_dialog.h"
#include "shell/command_ids.h"
#include "shell/commands.h"
#include "shell/dispatch.h"
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
    RegisterImportCommands();
}

void RegisterImportCommands() {
    // The import dialog: the member accounts (source 4), the twelve
    // download sources (the menu item), and the asset allocation report
    // and post (no source).
    std::vector<int> codes = {kMemberImportCode, kAssetAllocationReportCode, kAssetAllocationPostCode};
    for (int code = 281; code <= 292; ++code) codes.push_back(code);
    for (const int code : codes)
        shell::RegisterCodeDialog(code, [](int c, shell::CMainFrame& frame) {
            CImportTransactionsDlg dialog(&frame);
            if (c == kMemberImportCode)
                dialog.SetSourceIndex(4);
            else if (c >= 281 && c <= 292)
                dialog.SetSourceIndex(static_cast<int16_t>(c - 280));
            return dialog.DoModal() == platform::IDOK;
        });
    shell::RegisterCodeDialog(kBlockSizeCode, [](int, shell::CMainFrame& frame) {
        CBlockSizeDlg dialog(&frame);
        return dialog.DoModal() == platform::IDOK;
    });

    // The transaction-code maps: Bear Stearns to Waterhouse, and American
    // Skandia (the credit union has no map).
    const int map_commands[] = {shell::kCmdMapBearStearns, shell::kCmdMapDataLynx,
                                shell::kCmdMapDstSystems,  shell::kCmdMapFidelity,
                                shell::kCmdMapJackWhite,   shell::kCmdMapRydex,
                                shell::kCmdMapSchwab,      shell::kCmdMapSmithBarney,
                                shell::kCmdMapVanguard,    shell::kCmdMapWaterhouse};
    for (int i = 0; i < 10; ++i)
        shell::RegisterCommand(map_commands[i], [i](shell::CMainFrame& frame) {
            ShowMapCodesDialog(frame, static_cast<int16_t>(i + 1));
        });
    shell::RegisterCommand(shell::kCmdMapAmericanSkandia,
                           [](shell::CMainFrame& frame) { ShowMapCodesDialog(frame, 12); });
}

}  // namespace entry

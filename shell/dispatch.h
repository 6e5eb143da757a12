#pragma once

// Command dispatch. Most menu and tool bar commands name a report, a set-up
// function or a utility by a command group (1 to 18) and an item: the
// command stores its group and calls the one dispatcher with its item, which
// commits the system date, forms the report code group x 20 + item, keeps
// it as the current report code and runs what the code table gives for it:
// a dialog and, for reports, the output switch, which runs the report and
// shows, prints or files it. A code with no entry shows "This item is not
// available." under "Report Diagnostic".
//
// Dialogs of other subsystems reach the dispatcher through hooks: the
// report request dialogs through request_dialogs.h, the Charts command
// through chart_command.h, and the transaction, set-up, pricing, billing and
// import dialogs through RegisterCodeDialog. A code whose dialog has not
// been registered is not available yet.

#include <cstdint>
#include <functional>
#include <vector>

namespace shell {

class CMainFrame;

// A menu or tool bar command that goes through the dispatcher.
struct DispatchedCommand {
    int id;
    int16_t group;
    int16_t item;
    int Code() const { return group * 20 + item; }
};

// Every dispatched command, in the order of the command table.
const std::vector<DispatchedCommand>& DispatchedCommands();

// Commits the system date, sets ReportCode = CommandGroup x 20 + item and
// runs the code's action; at the end the "Modules" menu item goes (unless
// an import or invoice dialog was cancelled).
void DispatchCommand(CMainFrame& frame, int16_t item);

// The output switch on OutputDestination: 0 and 1 open a print view, which
// prints or previews the report; 2 runs the report into the named file;
// 3 runs it and shows it in a report display window. Any other value does
// nothing.
void RouteReportOutput(CMainFrame& frame);
// The same for a destination of the caller's.
void RouteOutput(CMainFrame& frame, int destination);

// A dialog that belongs to a report code and is built by another subsystem
// (transaction editor selection 21, broker/account/security set-up 41-43,
// import 44 and 281-292, pricing 61-63, block size 89, client invoices 261,
// asset allocation 322 and 323). It runs modally and returns true for OK
// (for code 21: the transaction list may open). For the import codes the
// download source index is the item (code - 280), and 4 for code 44.
using CodeDialog = std::function<bool(int code, CMainFrame& frame)>;
void RegisterCodeDialog(int code, CodeDialog dialog);
void UnregisterCodeDialog(int code);

// The tax disk check of the gains and income reports (codes 84 and 85)
// while option 52 is set: false ends the command without a report. Until
// one is registered the reports run without it.
using TaxDiskCheck = std::function<bool(CMainFrame& frame)>;
void RegisterTaxDiskCheck(TaxDiskCheck check);

// Registers the dispatched commands and the commands whose handlers belong
// to the dispatcher (Edit Transactions, Delete Transactions, Delete Asset
// Allocation, Information Export, Generate Extracts, Printer Options,
// Letterhead) with the main frame's command hook.
void RegisterDispatcherCommands();

}  // namespace shell

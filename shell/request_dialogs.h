#pragma once

// The request dialogs of the reports: the dialog that belongs to a report
// code asks for the selection (accounts, manager, dates, flags, sort order)
// and the output destination before the dispatcher runs the report.

namespace shell {

class CMainFrame;

/* Runs the request dialog of a report code: stores the selection in g_report and returns true when the user asked for the run (OK), false on cancel or when the code has no dialog. */
bool RunRequestDialog(int code, CMainFrame& frame);
bool HasRequestDialog(int code);

}  // namespace shell

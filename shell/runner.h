#pragma once

// The report runner. A report is named by its report code; its dialog has
// put the selection and the output destination into the report globals.
// RunReport turns the globals into the fixed-width, blank-padded fields of
// the record-and-report layer and calls the report routine of the code,
// which writes its 132-column lines into the work file OUTPUT.TMP (and,
// for the file destination, copies them into the named file). The display
// and print windows take the work file over afterwards.
//
// The routine table maps each report code to a small function that calls
// the report routine with the fields in the order that routine takes them.
// The shell holds only the row of the update of the data base; the report,
// entry and pricing subsystems, which sit above the shell, add their rows
// through RegisterReportRoutine at start-up (their report_table.h). A code
// without a row runs nothing and ends as "This item is not available.".

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/update.h"
#include "platform/handle.h"
#include "records/files.h"
#include "shell/report_globals.h"

namespace shell {

class CMainFrame;

inline constexpr const char* kNotAvailableText = "This item is not available.";
inline constexpr const char* kReportDiagnosticCaption = "Report Diagnostic";

// The page length of display runs, and of file runs while the printer
// options leave the page length automatic.
inline constexpr int16_t kDefaultPageLength = 58;

// The output name passed to report routines when no named file is wanted.
inline constexpr const char* kNoOutputFileName = "XXX.TXT";
// Output modes of the report routines: report lines only, or also a copy
// into the named file.
inline constexpr int16_t kOutputModeReport = 1;
inline constexpr int16_t kOutputModeFile = 3;

// The report globals as the report routines take them: blank-padded texts
// of fixed width, cut at the width, and 16-bit numbers. Each routine's row
// in the table picks the fields it takes.
struct ReportFields {
    std::string scope;         // 4: "A   " all accounts, "S   " selected ones
    std::string manager;       // 4
    std::string account;       // 8
    std::string search_text;   // 32: the Find reports' text (from SelectedAccount)
    std::string security;      // 12
    std::string start;         // 8: MM/DD/YY
    std::string end;           // 8: MM/DD/YY
    std::string flag_text1;    // 4: "Y   " when ReportFlag1 is non-zero, else "N   "
    int16_t flag_number1 = 2;  // 1 when ReportFlag1 is non-zero, else 2
    std::string flag_text2;    // 4: "Y   " / "N   " from ReportFlag2
    std::string output_name;   // 12: the named file, or "XXX.TXT"
    int16_t name_length = 12;  // the length passed after the output name
    int16_t output_mode = kOutputModeReport;
    int16_t zero1 = 0;
    int16_t zero2 = 0;
    std::string sort_option;           // 4
    std::string list_file;             // 12: account list file ("compfile.lst")
    std::string import_file;           // 48: import file name (from ListFileName)
    std::string group;                 // 32: GroupDescription
    std::string tax_transmitter;       // 8
    std::string payer_control;         // 4
    std::string cross_number;          // 4
    std::string cross_name;            // 40
    std::string cross_tag;             // 4
    std::string ledger_security_type;  // 4
    std::string ledger_tran_codes;     // 20
    std::string ledger_tran_type;      // 4
    int16_t import_number = 0;         // the first two bytes of LedgerSecurityType as a number
    int16_t report_variant = 0;
    std::string identification;    // 4: "S   " when SelectionScope is 1, else "C   " (the price import)
    int16_t performance_kind = 1;  // PerformanceKind + 1
    std::string period;            // 4: "M   " monthly, "Q   " quarterly
    int16_t report_flag1 = 0;      // ReportFlag1 as it is (the import's entry kind)
    std::string transfer_date;     // 8: MM/DD/YY (TransferDate)
    // Set by a routine: what it adds to the message of a run that could
    // not write some of its files, given those files (the update of the
    // data base: the accounts it did not rebuild, which its lost report
    // lines would have named; the price import: which prices went in). A
    // note given where no file is listed is told all the same: the
    // routine's own files could not be written (the update's rebuilt
    // files, whose failure the update took itself).
    std::function<std::string(const std::vector<records::FailedWrite>& failed)> failure_note;
};

// The fields of a set of report globals.
ReportFields PrepareReportFields(const ReportGlobals& globals);

using ReportRoutine = std::function<void(ReportFields& fields)>;

// A row of the routine table.
struct ReportRoutineEntry {
    ReportRoutine run;
    // Printing a report display window runs the report again so that its
    // pages fit the paper. A routine that changes data (the update of the
    // data base) is not run again: the window's own lines are printed.
    bool rerun_for_printing = true;
};

// The row of a code, or nullptr when the code has no routine (yet).
const ReportRoutineEntry* FindReportRoutine(int code);

// Adds (or replaces) the row of a code: a subsystem above the shell gives
// the runner a routine of its own at start-up.
void RegisterReportRoutine(int code, ReportRoutineEntry entry);

// The codes that have a routine, ascending.
std::vector<int> ReportRoutineCodes();

// Replaces (or adds) the routine of a code for the life of the object, for
// tests and for a report trying its routine before its row is in the table.
class ReportRoutineOverride {
public:
    ReportRoutineOverride(int code, ReportRoutineEntry entry);
    ~ReportRoutineOverride();
    ReportRoutineOverride(const ReportRoutineOverride&) = delete;
    ReportRoutineOverride& operator=(const ReportRoutineOverride&) = delete;

private:
    int code_;
    bool had_previous_;
    ReportRoutineEntry previous_;
};

// Stores the page length and the top blank lines for the next run (the
// firm heading record the heading routines read).
void SetReportPageSettings(int16_t page_length, int16_t top_lines);

// Shows "This item is not available." under "Report Diagnostic".
void ShowNotAvailable();

// Why a file could not be written, as a person reads it ("the disk is
// full"); empty for a cause the program does not name.
std::string WriteFaultText(records::WriteFault fault);

// "A", "A and B", "A, B and C"; past eight names the rest are counted
// ("A, B, C, D, E, F, G and 5 other files", what being "files").
std::string NamedList(std::vector<std::string> names, const char* what);

// The update of the data base's sentences on the accounts it did not
// rebuild, told where the run could not write some of its files (the
// report lines that name the accounts may be what was lost) or where the
// accounts' own rebuilt files could not be put in place: how many
// accounts were not rebuilt, and why where no sentence of the files names
// the cause already. Empty where neither is so: the report's lines say it.
std::string NotRebuiltText(const engine::UpdateOutcome& outcome, const std::vector<records::FailedWrite>& failed);

// Tells under the program's caption that a choice of the user (the program
// date, the start-up text turned off) could not be stored: "<what> could
// not be saved in <file>: <why>.", why being the cause of the first failed
// write (WriteFaultText); without a cause the program names, the sentence
// ends at the file.
void ShowNotSaved(const std::string& what, const std::string& file,
                  const std::vector<records::FailedWrite>& failed, platform::WindowHandle owner);

// The message of a run that could not create or write some of its files:
// one sentence for each cause, naming its files ("Could not write
// REPORT.TXT and OUTPUT.TMP: the disk is full."), "create" where none of
// them existed. The user's file (output_file, the named output file;
// empty for none) comes first, the work files after it by name. A
// replacement written whole that went with the run's failure (dropped) is
// not among them, nothing of its own having failed, unless it is the
// user's file, which the user asked for. Then the earlier files that
// the run would have replaced and that are kept as they were (kept: the
// user's file and the run's other replaced files that are there, by
// name), and last the note of the run's routine.
std::string FailedWritesText(const std::vector<records::FailedWrite>& failed, const std::string& output_file,
                             const std::vector<std::string>& kept, const std::string& note);

// Runs the report of g_report.ReportCode into OUTPUT.TMP under the wait
// cursor. The old work file is removed first, so a code whose routine
// writes nothing can never show what an earlier run left; a code whose
// dialog wrote the work file keeps it. A run that could not create or
// write some of its files says which and why (FailedWritesText) under
// "Report Diagnostic"; when OUTPUT.TMP itself lost lines, its report is
// not whole and nothing shows it. True when the work file holds the whole
// report afterwards; otherwise false, and when the routine wrote nothing
// while nothing failed "This item is not available." has been shown.
bool RunReport();

// The report work file exists (in any case of its name).
bool WorkFileExists();

}  // namespace shell

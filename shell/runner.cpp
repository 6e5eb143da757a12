// The report runner: the fields of the report globals, the routine table
// and the run.

#include "shell/runner.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include "engine/update.h"
#include "platform/feedback.h"
#include "platform/message_box.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "shell/field_helpers.h"
#include "shell/main_frame.h"

namespace shell {
namespace {

// A message names this many files of one cause (or accounts); the rest
// are counted.
constexpr std::size_t kFilesNamed = 8;

// "A", "A and B", "A, B and C".
std::string ListOf(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// The names of a message's list, past kFilesNamed counted as "N other
// <what>".
std::string NamedList(std::vector<std::string> names, const char* what) {
    if (names.size() > kFilesNamed) {
        const std::size_t more = names.size() - kFilesNamed + 1;
        names.resize(kFilesNamed - 1);
        names.push_back(std::to_string(more) + " other " + what);
    }
    return ListOf(names);
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The update's sentence on the accounts it did not rebuild: the report
// lines that name them may be what could not be written.
std::string NotRebuiltText(const engine::UpdateOutcome& outcome) {
    if (outcome.not_rebuilt.empty()) return {};
    if (outcome.rebuilt == 0) return "No account was rebuilt: each keeps its holdings and gains files.";
    return "The holdings and gains of " + NamedList(outcome.not_rebuilt, "accounts") +
           " were not rebuilt: they keep their files.";
}

// The update of the data base writes only the work file; for the file
// destination its lines are copied into the named file here, as the report
// routines copy theirs.
void RunUpdateOfDataBase(ReportFields& fields) {
    engine::UpdateOutcome outcome;
    engine::Getacc(outcome);
    if (fields.output_mode == kOutputModeFile) records::Acopy(records::kReportWorkFile, fields.output_name);
    fields.failure_note = NotRebuiltText(outcome);
}

// The routine table: report code -> the call of its report routine with
// the fields in the order the routine takes them. The shell's own row is
// the update of the data base; the report, entry and pricing subsystems
// add theirs through RegisterReportRoutine when the program starts.
std::map<int, ReportRoutineEntry>& Routines() {
    static std::map<int, ReportRoutineEntry> table = {
        {162, {RunUpdateOfDataBase, /*rerun_for_printing=*/false}},
    };
    return table;
}

std::string YesNo(bool yes) {
    return yes ? "Y   " : "N   ";
}

}  // namespace

ReportFields PrepareReportFields(const ReportGlobals& g) {
    using records::Fixed;
    ReportFields f;
    f.scope = g.SelectionScope == 1 ? "A   " : g.SelectionScope == 2 ? "S   " : "    ";
    f.manager = Fixed(g.ManagerCode, 4);
    f.account = Fixed(g.SelectedAccount, 8);
    f.search_text = Fixed(g.SelectedAccount, 32);
    f.security = Fixed(g.SelectedSecurity, 12);
    f.start = Fixed(g.StartDate, 8);
    f.end = Fixed(g.EndDate, 8);
    f.flag_text1 = YesNo(g.ReportFlag1 != 0);
    f.flag_number1 = g.ReportFlag1 != 0 ? 1 : 2;
    f.flag_text2 = YesNo(g.ReportFlag2 != 0);
    if (g.OutputDestination == kOutputFile) {
        f.output_name = Fixed(g.OutputFileName, 12);
        f.output_mode = kOutputModeFile;
    } else {
        f.output_name = Fixed(kNoOutputFileName, 12);
        f.output_mode = kOutputModeReport;
    }
    f.sort_option = Fixed(g.SortOption, 4);
    f.list_file = Fixed(g.ListFileName, 12);
    f.import_file = Fixed(g.ListFileName, 48);
    f.group = Fixed(g.GroupDescription, 32);
    f.tax_transmitter = Fixed(g.TaxTransmitterCode, 8);
    f.payer_control = Fixed(g.PayerNameControl, 4);
    f.cross_number = Fixed(g.CrossRefNumber, 4);
    f.cross_name = Fixed(g.CrossRefName, 40);
    f.cross_tag = Fixed(g.CrossRefTag, 4);
    f.ledger_security_type = Fixed(g.LedgerSecurityType, 4);
    f.ledger_tran_codes = Fixed(g.LedgerTranCodes, 20);
    f.ledger_tran_type = Fixed(g.LedgerTranType, 4);
    // The import dialog keeps a 16-bit number in the first two bytes.
    const auto* bytes = reinterpret_cast<const unsigned char*>(f.ledger_security_type.data());
    f.import_number = static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
    f.report_variant = g.ReportVariant;
    f.identification = g.SelectionScope == 1 ? "S   " : "C   ";
    f.performance_kind = static_cast<int16_t>(g.PerformanceKind + 1);
    f.period = g.PerformancePeriod == 1 ? "Q   " : "M   ";
    f.report_flag1 = static_cast<int16_t>(g.ReportFlag1);
    f.transfer_date = Fixed(g.TransferDate, 8);
    return f;
}

const ReportRoutineEntry* FindReportRoutine(int code) {
    const auto& table = Routines();
    const auto it = table.find(code);
    return it == table.end() ? nullptr : &it->second;
}

void RegisterReportRoutine(int code, ReportRoutineEntry entry) {
    Routines()[code] = std::move(entry);
}

std::vector<int> ReportRoutineCodes() {
    std::vector<int> codes;
    for (const auto& [code, entry] : Routines()) codes.push_back(code);
    return codes;
}

ReportRoutineOverride::ReportRoutineOverride(int code, ReportRoutineEntry entry)
    : code_(code), had_previous_(Routines().count(code) != 0) {
    if (had_previous_) previous_ = Routines()[code];
    Routines()[code] = std::move(entry);
}

ReportRoutineOverride::~ReportRoutineOverride() {
    if (had_previous_)
        Routines()[code_] = std::move(previous_);
    else
        Routines().erase(code_);
}

void SetReportPageSettings(int16_t page_length, int16_t top_lines) {
    records::Setpgl(page_length);
    records::Settop(top_lines);
}

// A line of the runner's own in the report diagnostic box.
void ShowDiagnostic(const std::string& text) {
    const CMainFrame* frame = TheMainFrame();
    platform::MessageBox(text, kReportDiagnosticCaption, platform::MB_OK | platform::MB_ICONEXCLAMATION,
                         frame ? frame->GetSafeHwnd() : 0);
}

void ShowNotAvailable() {
    ShowDiagnostic(kNotAvailableText);
}

std::string WriteFaultText(records::WriteFault fault) {
    switch (fault) {
        case records::WriteFault::kReadOnly:
            return "the data directory is read-only";
        case records::WriteFault::kDiskFull:
            return "the disk is full";
        case records::WriteFault::kNoPermission:
            return "permission denied";
        case records::WriteFault::kOther:
            break;
    }
    return {};
}

void ShowNotSaved(const std::string& what, const std::string& file,
                  const std::vector<records::FailedWrite>& failed, platform::WindowHandle owner) {
    const std::string reason = failed.empty() ? std::string() : WriteFaultText(failed.front().fault);
    const std::string text =
        what + " could not be saved in " + file + (reason.empty() ? "" : ": " + reason) + ".";
    platform::MessageBox(text, CMainFrame::kTitle, platform::MB_ICONEXCLAMATION | platform::MB_OK, owner);
}

std::string FailedWritesText(const std::vector<records::FailedWrite>& failed, const std::string& output_file,
                             bool output_kept, const std::string& note) {
    // The user's file first, then the work files in the order given (by
    // name).
    const std::string output = UpperCase(FileNameOf(records::TrimRight(output_file)));
    auto is_output = [&output](const std::string& name) { return !output.empty() && UpperCase(name) == output; };
    std::vector<records::FailedWrite> order;
    for (const bool user_file : {true, false})
        for (const records::FailedWrite& f : failed)
            if (is_output(FileNameOf(f.path)) == user_file) order.push_back(f);
    // One sentence a cause, in the order the causes first come.
    std::vector<records::WriteFault> faults;
    for (const records::FailedWrite& f : order)
        if (std::find(faults.begin(), faults.end(), f.fault) == faults.end()) faults.push_back(f.fault);
    std::string text;
    std::string user_file;
    for (const records::WriteFault fault : faults) {
        std::vector<std::string> names;
        bool creating = true;
        for (const records::FailedWrite& f : order) {
            if (f.fault != fault) continue;
            const std::string name = FileNameOf(f.path);
            creating = creating && f.creating;
            if (std::find(names.begin(), names.end(), name) != names.end()) continue;
            if (is_output(name)) user_file = name;
            names.push_back(name);
        }
        const std::string reason = WriteFaultText(fault);
        text += (text.empty() ? "" : " ") + std::string("Could not ") + (creating ? "create " : "write ") +
                NamedList(names, "files") + (reason.empty() ? "" : ": " + reason) + ".";
    }
    if (!user_file.empty() && output_kept) text += " The earlier " + user_file + " is kept.";
    if (!note.empty()) text += (text.empty() ? "" : " ") + note;
    return text;
}

bool WorkFileExists() {
    std::error_code error;
    return std::filesystem::is_regular_file(records::ResolveName(records::kReportWorkFile), error);
}

bool RunReport() {
    const int code = g_report.ReportCode;
    // Whatever an earlier run left must not pass for this report: a code
    // without a routine (its dialog ran, nothing writes its report) says
    // so instead.
    records::Purge(records::kReportWorkFile);
    std::vector<records::FailedWrite> failed;
    if (const ReportRoutineEntry* entry = FindReportRoutine(code)) {
        ReportFields fields = PrepareReportFields(g_report);
        platform::WaitCursor wait;
        // The run reads COMMON.FIL, the securities and the prices again
        // for every account: they stay open until it ends.
        {
            records::RunFileCache keep_files;
            entry->run(fields);
        }
        // A run's writes go out together as their files close: the files
        // that could not be created or written are told here, since no
        // routine of the run was left to see it.
        failed = records::TakeFailedWrites();
        if (!failed.empty()) {
            const std::string output =
                fields.output_mode == kOutputModeFile ? records::TrimRight(fields.output_name) : std::string();
            std::error_code error;
            const bool output_kept =
                !output.empty() && std::filesystem::exists(records::ResolveName(output), error);
            ShowDiagnostic(FailedWritesText(failed, output, output_kept, fields.failure_note));
        }
    }
    // A work file that lost lines is not the report: nothing shows it.
    for (const records::FailedWrite& f : failed)
        if (UpperCase(FileNameOf(f.path)) == records::kReportWorkFile) return false;
    if (WorkFileExists()) return true;
    if (failed.empty()) ShowNotAvailable();
    return false;
}

}  // namespace shell

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

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The update of the data base writes only the work file; for the file
// destination its lines are copied into the named file here, as the report
// routines copy theirs.
void RunUpdateOfDataBase(ReportFields& fields) {
    engine::UpdateOutcome outcome;
    engine::Getacc(outcome);
    if (fields.output_mode == kOutputModeFile) records::Acopy(records::kReportWorkFile, fields.output_name);
    fields.failure_note = [outcome](const std::vector<records::FailedWrite>& failed) {
        return NotRebuiltText(outcome, failed);
    };
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

std::string NamedList(std::vector<std::string> names, const char* what) {
    if (names.size() > kFilesNamed) {
        const std::size_t more = names.size() - kFilesNamed + 1;
        names.resize(kFilesNamed - 1);
        names.push_back(std::to_string(more) + " other " + what);
    }
    return ListOf(names);
}

std::string NotRebuiltText(const engine::UpdateOutcome& outcome, const std::vector<records::FailedWrite>& failed) {
    if (outcome.not_rebuilt.empty() || (failed.empty() && !outcome.fault)) return {};
    std::string text;
    if (outcome.fault && std::none_of(failed.begin(), failed.end(), [&](const records::FailedWrite& f) {
            return !f.dropped && f.fault == *outcome.fault;
        })) {
        const std::string reason = WriteFaultText(*outcome.fault);
        text = "The rebuilt holdings and gains files could not be put in place" +
               (reason.empty() ? std::string() : ": " + reason) + ". ";
    }
    if (outcome.rebuilt == 0) return text + "No account was rebuilt: each keeps its holdings and gains files.";
    const std::size_t count = outcome.not_rebuilt.size();
    const std::size_t accounts = count + static_cast<std::size_t>(outcome.rebuilt);
    return text + std::to_string(count) + " of " + std::to_string(accounts) + " accounts " +
           (count == 1 ? "was" : "were") + " not rebuilt: " + NamedList(outcome.not_rebuilt, "accounts") +
           (count == 1 ? " keeps its" : " keep their") + " holdings and gains files.";
}

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
                             const std::vector<std::string>& kept, const std::string& note) {
    // The user's file first, then the work files in the order given (by
    // name). The user's file, which the user asked for, is named however
    // its copy failed; another replacement only where it failed itself.
    const std::string output = UpperCase(FileNameOf(records::TrimRight(output_file)));
    auto is_output = [&output](const std::string& name) { return !output.empty() && UpperCase(name) == output; };
    std::vector<records::FailedWrite> order;
    for (const bool user_file : {true, false})
        for (const records::FailedWrite& f : failed)
            if (is_output(FileNameOf(f.path)) == user_file && (user_file || !f.dropped)) order.push_back(f);
    // One sentence a cause, in the order the causes first come.
    std::vector<records::WriteFault> faults;
    for (const records::FailedWrite& f : order)
        if (std::find(faults.begin(), faults.end(), f.fault) == faults.end()) faults.push_back(f.fault);
    std::string text;
    for (const records::WriteFault fault : faults) {
        std::vector<std::string> names;
        bool creating = true;
        for (const records::FailedWrite& f : order) {
            if (f.fault != fault) continue;
            const std::string name = FileNameOf(f.path);
            creating = creating && f.creating;
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
        const std::string reason = WriteFaultText(fault);
        text += (text.empty() ? "" : " ") + std::string("Could not ") + (creating ? "create " : "write ") +
                NamedList(names, "files") + (reason.empty() ? "" : ": " + reason) + ".";
    }
    // The earlier files kept, the user's file first.
    std::vector<std::string> earlier;
    for (const bool user_file : {true, false})
        for (const std::string& name : kept)
            if (is_output(name) == user_file && std::find(earlier.begin(), earlier.end(), name) == earlier.end())
                earlier.push_back(name);
    if (!earlier.empty())
        text += (text.empty() ? "" : " ") + std::string("The earlier ") + NamedList(earlier, "files") +
                (earlier.size() == 1 ? " is" : " are") + " kept.";
    if (!note.empty()) text += (text.empty() ? "" : " ") + note;
    return text;
}

namespace {

// The files a run would have replaced and could not, whose earlier files
// are there as they were: the user's file and the run's other replaced
// files (a copy that could not be made, or went with the run's failure).
std::vector<std::string> KeptEarlierFiles(const std::vector<records::FailedWrite>& failed,
                                          const std::string& output_file) {
    const std::string output = UpperCase(FileNameOf(output_file));
    std::vector<std::string> kept;
    for (const records::FailedWrite& f : failed) {
        const std::string name = FileNameOf(f.path);
        if (!f.replacement && (output.empty() || UpperCase(name) != output)) continue;
        std::error_code error;
        if (std::filesystem::exists(f.replacement ? f.path : records::ResolveName(output_file), error))
            kept.push_back(name);
    }
    return kept;
}

}  // namespace

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
        const std::string note = fields.failure_note ? fields.failure_note(failed) : std::string();
        if (!failed.empty() || !note.empty()) {
            const std::string output =
                fields.output_mode == kOutputModeFile ? records::TrimRight(fields.output_name) : std::string();
            ShowDiagnostic(FailedWritesText(failed, output, KeptEarlierFiles(failed, output), note));
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

// The report runner: the fields of the report globals, the routine table
// and the run.

#include "shell/runner.h"

#include <cstring>
#include <filesystem>
#include <map>

#include "engine/update.h"
#include "entry/mdwnacct.h"
#include "platform/feedback.h"
#include "platform/message_box.h"
#include "pricing/price_import.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/performance/acclis.h"
#include "reports/performance/acctlst2.h"
#include "reports/performance/allpos.h"
#include "reports/performance/brkrlist.h"
#include "reports/performance/chlpos.h"
#include "reports/performance/clnregtr.h"
#include "reports/performance/csdnlist.h"
#include "reports/performance/fapr1.h"
#include "reports/performance/fixsum.h"
#include "reports/performance/getfix.h"
#include "reports/performance/mperf.h"
#include "reports/performance/searches.h"
#include "reports/position/accsum.h"
#include "reports/position/clntcom1.h"
#include "reports/position/cohold.h"
#include "reports/position/holdings.h"
#include "reports/position/mclntamu.h"
#include "reports/position/mclntapr.h"
#include "reports/position/meom.h"
#include "reports/position/prhlrec.h"
#include "reports/position/sumaum.h"
#include "reports/transactions/bnkltr.h"
#include "reports/transactions/brcomfil.h"
#include "reports/transactions/btcomacc.h"
#include "reports/transactions/btotcom.h"
#include "reports/transactions/combgl.h"
#include "reports/transactions/eomatre.h"
#include "reports/transactions/glprint.h"
#include "reports/transactions/invhsty.h"
#include "reports/transactions/mcmtrn.h"
#include "reports/transactions/member.h"
#include "reports/transactions/portchng.h"
#include "reports/transactions/t1099b.h"
#include "reports/transactions/taxre.h"
#include "reports/transactions/transld.h"
#include "shell/main_frame.h"

namespace shell {
namespace {

// The update of the data base writes only the work file; for the file
// destination its lines are copied into the named file here, as the report
// routines copy theirs.
void RunUpdateOfDataBase(ReportFields& fields) {
    engine::Getacc();
    if (fields.output_mode == kOutputModeFile) records::Acopy(records::kReportWorkFile, fields.output_name);
}

// The price import copies its report into the named file only: for the
// other destinations it gets a blank name, so no stray file is made.
void RunPriceImport(ReportFields& fields) {
    const std::string output =
        fields.output_mode == kOutputModeFile ? fields.output_name : std::string(12, ' ');
    pricing::Tranfi(fields.import_file, 48, fields.report_variant, fields.identification, output, 12);
}

// The assets under management run: the cross reference (choice "N   ")
// or the assets under management page ("Y   ") over the accounts of the
// manager selection as of the report date.
void RunAssetsUnderManagement(ReportFields& f, const char* choice) {
    reports::Meom(0, f.end, f.manager, f.flag_text1, "N   ", f.flag_text2, choice, f.output_mode,
                  f.output_name, f.name_length);
}

// The member account import: member mode for code 44 with the dialog's
// cash balance flag, column digit and starting identifier; deposit mode for
// the credit union (code 291), buys or transfers by the entry kind.
int16_t StartingIdentifier(const ReportFields& f) {
    int32_t number = 0;
    records::Read(records::Trim(f.account), "(I6)", {&number});
    return static_cast<int16_t>(number);
}

void RunMemberImport(ReportFields& f) {
    int16_t starting = StartingIdentifier(f);
    entry::Mdwnacct(0, f.import_file, "    ", "        ", f.flag_text1, f.import_number, starting,
                    f.output_name);
}

void RunDepositImport(ReportFields& f) {
    int16_t starting = 0;
    entry::Mdwnacct(1, f.import_file, f.report_flag1 == 2 ? "SI  " : "B   ", f.transfer_date, "N   ", 0,
                    starting, f.output_name);
}

// The routine table: report code -> the call of its report routine with
// the fields in the order the routine takes them. A report subsystem adds
// one row per code it serves, for instance
//   {101, {[](ReportFields& f) { reports::Holdings(f.scope, f.manager, f.account, f.end,
//                                                  f.flag_text1, f.flag_text2, f.output_mode,
//                                                  f.output_name, f.name_length); }}},
std::map<int, ReportRoutineEntry>& Routines() {
    static std::map<int, ReportRoutineEntry> table = {
        // The price import writes price files: printing its report
        // window prints the window's lines instead of importing again.
        {63, {RunPriceImport, /*rerun_for_printing=*/false}},
        // The maturity alert, portfolio changes and investment history.
        {87, {[](ReportFields& f) { reports::Eomatre(f.end, f.manager, f.output_name, 12); }}},
        {95, {[](ReportFields& f) {
             reports::Portchng(f.scope, f.manager, f.account, f.start, f.end, std::string(12, ' '),
                               f.output_name, 12);
         }}},
        {104, {[](ReportFields& f) {
             reports::Invhsty(f.scope, f.manager, f.account, f.start, f.end, f.flag_text1, f.output_mode,
                              f.output_name, 12);
         }}},
        // The working appraisal.
        {101, {[](ReportFields& f) {
             reports::Holdings(f.scope, f.manager, f.account, f.end, f.flag_text1, f.flag_text2,
                               f.output_mode, f.output_name, f.name_length);
         }}},
        {162, {RunUpdateOfDataBase, /*rerun_for_printing=*/false}},
        // The detailed security cross reference and assets under management.
        {88, {[](ReportFields& f) { RunAssetsUnderManagement(f, "N   "); }}},
        {107, {[](ReportFields& f) { RunAssetsUnderManagement(f, "Y   "); }}},
        // The list reports and the find commands.
        {82, {[](ReportFields& f) {
             reports::Chlpos(f.flag_number1, f.end, f.manager, f.security, f.output_mode, f.output_name,
                             f.cross_number, f.cross_name, f.cross_tag);
         }}},
        {83, {[](ReportFields& f) {
             reports::Clnregtr(f.end, f.manager, f.sort_option, f.output_mode, f.output_name);
         }}},
        {181, {[](ReportFields& f) { reports::Acclis(f.scope, f.account, f.manager, f.output_name); }}},
        {182, {[](ReportFields& f) { reports::Allpos(0, f.start, "    ", f.output_name); }}},
        {183, {[](ReportFields& f) { reports::Brkrlist(f.scope, f.account, f.output_name); }}},
        {184, {[](ReportFields& f) { reports::Allpos(1, f.start, "    ", f.output_name); }}},
        {185, {[](ReportFields& f) { reports::Csdnlist(f.scope, f.account, f.output_name); }}},
        {186, {[](ReportFields& f) { reports::Acctlst2(f.manager, f.output_name); }}},
        // The account appraisal.
        {103, {[](ReportFields& f) {
             reports::Mclntapr(f.scope, f.manager, f.account, f.end, f.flag_text1, f.output_mode,
                               f.output_name, 12);
         }}},
        // The fixed income appraisal.
        {221, {[](ReportFields& f) { reports::Fapr1(f.scope, f.manager, f.account, f.end, f.output_name); }}},
        // The fixed income analyses and the fixed income summary.
        {222,
         {[](ReportFields& f) { reports::Getfix(1, f.scope, f.manager, f.account, f.end, f.output_name); }}},
        {223,
         {[](ReportFields& f) { reports::Getfix(2, f.scope, f.manager, f.account, f.end, f.output_name); }}},
        {224,
         {[](ReportFields& f) { reports::Getfix(3, f.scope, f.manager, f.account, f.end, f.output_name); }}},
        {225,
         {[](ReportFields& f) { reports::Getfix(4, f.scope, f.manager, f.account, f.end, f.output_name); }}},
        {226,
         {[](ReportFields& f) { reports::Getfix(5, f.scope, f.manager, f.account, f.end, f.output_name); }}},
        {227,
         {[](ReportFields& f) { reports::Getfix(-5, f.scope, f.manager, f.account, f.end, f.output_name); }}},
        {228,
         {[](ReportFields& f) { reports::Fixsum(f.scope, f.manager, f.account, f.end, f.output_name); }}},
        // The position summary, the summary of assets under management and
        // the summary of accounts.
        {102, {[](ReportFields& f) {
             reports::Prhlrec(f.scope, f.manager, f.account, f.end, f.output_mode, f.output_name,
                              f.name_length);
         }}},
        {108, {[](ReportFields& f) {
             reports::Sumaum(f.end, f.manager, f.sort_option, f.output_name, f.name_length);
         }}},
        {109,
         {[](ReportFields& f) { reports::Accsum(f.manager, f.end, f.start, f.output_name, f.name_length); }}},
        {341, {[](ReportFields& f) { reports::Clntnm(0, f.search_text, f.output_name); }}},
        {342, {[](ReportFields& f) { reports::Clntnm(1, f.search_text, f.output_name); }}},
        {343, {[](ReportFields& f) { reports::Secrnm(f.search_text, f.output_name); }}},
        // Realised gains and losses, the income summary, the composite gains
        // and losses.
        {84, {[](ReportFields& f) {
             reports::Glprint(f.scope, f.manager, f.account, f.start, f.end, f.output_mode, f.zero1, f.zero2,
                              f.output_name, f.tax_transmitter, f.payer_control);
         }}},
        {85, {[](ReportFields& f) {
             reports::Taxre(f.scope, f.manager, f.account, f.start, f.end, f.zero1, f.output_mode,
                            f.output_name, f.name_length, f.tax_transmitter, f.payer_control, f.flag_text1);
         }}},
        // The broker commission reports.
        {86, {[](ReportFields& f) {
             reports::Btotcom(f.end, f.scope, f.account, f.manager, f.output_mode, f.output_name);
         }}},
        {91, {[](ReportFields& f) {
             reports::T1099b(f.scope, f.account, f.manager, f.start, f.end, f.output_name);
         }}},
        {92, {[](ReportFields& f) {
             reports::Bnkltr(f.scope, f.account, f.manager, f.start, f.end, f.output_name);
         }}},
        {93,
         {[](ReportFields& f) { reports::Btcomacc(f.end, "A   ", f.account, f.manager, f.output_name); }}},
        {94,
         {[](ReportFields& f) { reports::Brcomfil(f.end, f.account, f.scope, f.manager, f.output_name); }}},
        {203, {[](ReportFields& f) {
             reports::Combgl(f.scope, f.manager, f.start, f.end, f.list_file, 12, f.output_name,
                             f.name_length, f.group);
         }}},
        // The transaction ledgers and the member statement.
        {81, {[](ReportFields& f) {
             reports::Transld(f.scope, f.manager, f.account, f.start, f.end, f.ledger_security_type,
                              f.ledger_tran_codes, f.ledger_tran_type, f.output_mode, f.output_name,
                              f.name_length);
         }}},
        {90, {[](ReportFields& f) {
             reports::Member(f.scope, f.manager, f.account, f.start, f.end, f.ledger_security_type,
                             f.ledger_tran_codes, f.ledger_tran_type, f.output_name, f.name_length);
         }}},
        {204, {[](ReportFields& f) {
             reports::Mcmtrn(f.scope, f.manager, f.start, f.end, f.ledger_security_type, f.ledger_tran_codes,
                             f.ledger_tran_type, f.list_file, 12, f.output_name, f.name_length, f.group);
         }}},
        // The composite account appraisal and the composite working appraisal.
        {201, {[](ReportFields& f) {
             reports::Clntcom1(f.scope, f.manager, f.end, f.flag_text1, f.list_file, 12, f.output_name, 12,
                               f.group);
         }}},
        {202, {[](ReportFields& f) {
             reports::Cohold(f.scope, f.manager, f.end, f.flag_text1, f.list_file, 12, f.output_name, 12,
                             f.group);
         }}},
        // The performance module: the report type is the dialog's list line.
        {121, {[](ReportFields& f) {
             reports::Mperf(f.report_variant, f.scope, f.manager, f.account, f.start, f.end, f.performance_kind,
                            f.period, f.output_mode, f.output_name, 12, f.list_file, 12, f.zero1, f.group);
         }}},
        // The mutual fund appraisal: run mode 1, always copied to the output
        // name ("XXX.TXT" unless the destination is a file).
        {106, {[](ReportFields& f) {
             reports::Mclntamu(f.scope, f.manager, f.account, f.end, f.flag_text1, f.output_name, 12);
         }}},
        // The member account import and the credit union's deposits: they
        // write accounts or off-line lines, so printing their window prints
        // its lines instead of importing again.
        {44, {RunMemberImport, /*rerun_for_printing=*/false}},
        {291, {RunDepositImport, /*rerun_for_printing=*/false}},
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

// A run's writes go out together as its files close: one that failed (a
// full disk) is told here, naming the files, since no routine of the run
// was left to see it.
void ShowFailedWrites() {
    const std::vector<std::string> failed = records::TakeFailedWrites();
    if (failed.empty()) return;
    std::string text = "Could not write";
    for (const std::string& path : failed) text += " " + std::filesystem::path(path).filename().string();
    ShowDiagnostic(text + ".");
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
    if (const ReportRoutineEntry* entry = FindReportRoutine(code)) {
        ReportFields fields = PrepareReportFields(g_report);
        platform::WaitCursor wait;
        // The run reads COMMON.FIL, the securities and the prices again
        // for every account: they stay open until it ends.
        {
            records::RunFileCache keep_files;
            entry->run(fields);
        }
        ShowFailedWrites();
    }
    if (WorkFileExists()) return true;
    ShowNotAvailable();
    return false;
}

}  // namespace shell

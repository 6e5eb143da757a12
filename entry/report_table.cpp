#include "entry/report_table.h"

#include <cstdint>
#include <string>

#include "entry/member_import.h"
#include "records/layout.h"
#include "records/record.h"
#include "shell/runner.h"

namespace entry {
namespace {

using shell::ReportFields;

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
    Mdwnacct(0, f.import_file, "    ", "        ", f.flag_text1, f.import_number, starting, f.output_name);
}

void RunDepositImport(ReportFields& f) {
    int16_t starting = 0;
    Mdwnacct(1, f.import_file, f.report_flag1 == 2 ? "SI  " : "B   ", f.transfer_date, "N   ", 0, starting,
             f.output_name);
}

}  // namespace

void RegisterEntryReports() {
    // Both write accounts or off-line lines, so printing their window
    // prints its lines instead of importing again.
    shell::RegisterReportRoutine(44, {RunMemberImport, /*rerun_for_printing=*/false});
    shell::RegisterReportRoutine(291, {RunDepositImport, /*rerun_for_printing=*/false});
}

}  // namespace entry

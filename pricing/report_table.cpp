#include "pricing/report_table.h"

#include <string>

#include "pricing/price_import.h"
#include "shell/runner.h"

namespace pricing {
namespace {

// The price import copies its report into the named file only: for the
// other destinations it gets a blank name, so no stray file is made.
void RunPriceImport(shell::ReportFields& fields) {
    const std::string output =
        fields.output_mode == shell::kOutputModeFile ? fields.output_name : std::string(12, ' ');
    Tranfi(fields.import_file, 48, fields.report_variant, fields.identification, output, 12);
}

}  // namespace

void RegisterPricingReports() {
    // The price import writes price files: printing its report window
    // prints the window's lines instead of importing again.
    shell::RegisterReportRoutine(63, {RunPriceImport, /*rerun_for_printing=*/false});
}

}  // namespace pricing

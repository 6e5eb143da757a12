#include "pricing/report_table.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "pricing/price_import.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/runner.h"

namespace pricing {
namespace {

// The dates of a list: "12/15/98", "12/15/98 and 12/16/98".
std::string DatesOf(const std::vector<FiledPrices>& prices) {
    std::vector<std::string> dates;
    for (const FiledPrices& p : prices) dates.push_back(records::TrimRight(p.date));
    return shell::NamedList(dates, "dates");
}

std::string PricesText(long count) {
    return std::to_string(count) + (count == 1 ? " price" : " prices");
}

// What went in, where the import could not write some of its files: the
// price files are written in place, so the prices of every date whose
// price file is not among those files were filed, though the report that
// would say so may be what was lost.
std::string ImportedText(const std::vector<FiledPrices>& filed, const std::vector<records::FailedWrite>& failed) {
    auto failed_file = [&failed](const std::string& name) {
        return std::any_of(failed.begin(), failed.end(), [&name](const records::FailedWrite& f) {
            return shell::UpperCase(std::filesystem::path(f.path).filename().string()) == name;
        });
    };
    std::vector<FiledPrices> in, out;
    long count = 0;
    for (const FiledPrices& p : filed) {
        if (failed_file(shell::UpperCase(records::PriceFileName(p.date)))) {
            out.push_back(p);
        } else {
            in.push_back(p);
            count += p.count;
        }
    }
    if (in.empty() || failed.empty()) return {};
    if (out.empty())
        return "The prices were imported: " + PricesText(count) + " filed for " + DatesOf(in) +
               "; only the report could not be written.";
    return "The prices for " + DatesOf(in) + " were imported (" + PricesText(count) + "); those for " +
           DatesOf(out) + " could not all be filed.";
}

// The price import copies its report into the named file only: for the
// other destinations it gets a blank name, so no stray file is made.
void RunPriceImport(shell::ReportFields& fields) {
    const std::string output =
        fields.output_mode == shell::kOutputModeFile ? fields.output_name : std::string(12, ' ');
    std::vector<FiledPrices> filed;
    Tranfi(fields.import_file, 48, fields.report_variant, fields.identification, output, 12, filed);
    fields.failure_note = [filed](const std::vector<records::FailedWrite>& failed) {
        return ImportedText(filed, failed);
    };
}

}  // namespace

void RegisterPricingReports() {
    // The price import writes price files: printing its report window
    // prints the window's lines instead of importing again.
    shell::RegisterReportRoutine(63, {RunPriceImport, /*rerun_for_printing=*/false});
}

}  // namespace pricing

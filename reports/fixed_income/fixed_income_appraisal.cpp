// The entry of the fixed income appraisal: one complete run over the
// selected accounts, the gathering and printing passes in turn.

#include "reports/fixed_income/fixed_income_appraisal.h"

#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/report_items.h"

namespace reports {

void Fapr1(std::string_view selection, std::string_view manager, std::string_view account,
           std::string_view report_date, std::string_view output_name) {
    FixedIncomeRun run;
    run.selection = records::Fixed(selection, 4);
    run.manager = records::Fixed(manager, 4);
    run.account = records::Fixed(account, 8);
    run.report_date = records::Fixed(report_date, 8);
    records::Gcn();
    run.frame.emplace(output_name, /*copy=*/true);

    int16_t status = kFixedIncomeGather;
    while (status == kFixedIncomeGather) {
        Faprval(run, status);
        if (status == kFixedIncomePrint) Faprprt(run, status);
    }
    // A run stopped by an unreadable lot says so, and still ends and copies
    // what it printed.
    if (status < 0)
        run.frame->Write("('Warning, error no. ',I3,' in fixed income client',' appraisal.')",
                         Items().Int(status));
    MarkFixedIncomeRunFree();
}

}  // namespace reports

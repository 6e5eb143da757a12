// The appraisal work file TEMP1.WRK of arbitrary bytes (its header and
// valued holdings, with market values from damaged prices: not a number,
// infinite, huge) with COMMON.FIL and the account file, printed by the
// readers of the work file: the client appraisal pages (Clntapr2), the
// mutual fund pages (Clntamu2), the holdings pages of the working and the
// composite appraisals (Prhold) and the fixed income pages (Faprprt). Each
// ends its report and comes back with the step it promises.

#include <string>
#include <vector>

#include "engine/valuation.h"
#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "reports/appraisal/appraisal_holdings_pages.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/appraisal/working_appraisal_pages.h"
#include "reports/fixed_income/fixed_income_appraisal.h"
#include "reports/funds/fund_appraisal_pages.h"
#include "reports/kernel/report_frame.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 5);
    fuzz::FreshDataDir();
    fuzz::WriteFile("COMMON.FIL", fuzz::ShortPages(parts[1]));
    fuzz::WriteFile("ACCOUNT.IDX", parts[2]);
    fuzz::WriteFile("ACCOUNT.REC", parts[3]);
    const std::string_view control = parts[4];
    std::vector<int16_t> order;
    for (std::size_t i = 1; i + 1 < control.size() && order.size() < 64; i += 2)
        order.push_back(static_cast<int16_t>(fuzz::Byte(control, i) | fuzz::Byte(control, i + 1) << 8));
    const int16_t output_mode = static_cast<int16_t>(1 + fuzz::Byte(control, 0) % 2);

    for (int reader = 0; reader < 4; ++reader) {
        fuzz::WriteFile(records::kAppraisalWorkFile, parts[0]);
        if (reader == 3) {
            reports::FixedIncomeRun run;
            run.frame.emplace("FUZZ.TXT    ", false);
            int16_t status = 0;
            reports::Faprprt(run, status);
            fuzz::Require(status == reports::kFixedIncomeFinished);
            continue;
        }
        reports::ReportFrame frame("FUZZ.TXT    ", false);
        reports::AppraisalRun run;
        run.current.id = "FUZZ    ";
        run.current.index = 1;
        run.output_mode = output_mode;
        int16_t step = reports::kStepHoldingsPages;
        if (reader == 0) {
            int16_t title_flag = 0;
            reports::Clntapr2(run, step, order, title_flag, std::string(64, ' '),
                              engine::DefaultCategoryTable());
            fuzz::Require(step == reports::kStepSummaryPage);
        } else if (reader == 1) {
            reports::Clntamu2(run, step, order, 1, std::string(64, ' '), engine::DefaultCategoryTable());
            fuzz::Require(step == reports::kStepSummaryPage);
        } else {
            int16_t state = 0;
            reports::Prhold(state, output_mode, order);
            fuzz::Require(state == 0 || state == 2 || state == 3);
        }
    }
    return 0;
}

#include "reports/position/mclntamu.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/position/apstkcat.h"
#include "reports/position/apsumac.h"
#include "reports/position/clntamu2.h"
#include "reports/position/clntapr3.h"
#include "reports/position/ctfnk3.h"
#include "reports/position/mfvalu.h"

namespace reports {

namespace {

constexpr long kAssetClassRecord = 14;
// Two blanks as a 16-bit word: a class code must lie above it.
constexpr int16_t kBlankWord = 0x2020;

}  // namespace

AssetClassTable FundAssetClassTable(const records::Options& options) {
    const records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
    records::Record rec;
    if (!common.Read(kAssetClassRecord, rec)) return engine::DefaultCategoryTable();
    if (options[46] >= 2)
        for (std::size_t k = 0; k < 22; ++k)
            if (rec.I16(2 * k) <= kBlankWord) return engine::DefaultCategoryTable();
    return engine::CategoryTableFromText(rec.Text(0, 44));
}

int16_t RunMutualFundAppraisal(AppraisalRun& run) {
    const records::Options opt = records::Rdopts();
    const AssetClassTable classes = FundAssetClassTable(opt);
    std::string title(64, ' ');
    int16_t step = kStepGather;
    int appraised = 0;
    for (;;) {
        if (step == kStepGather) Mfvalu(run, step, title);
        if (step == kStepHoldingsPages) {
            ++appraised;
            // The report title of option 38 replaces the mutual fund title.
            const int16_t title_switch = records::IsBlank(title) ? 1 : 0;
            Clntamu2(run, step, run.holding_list, title_switch, title, classes);
        }
        const int target_sum = std::accumulate(run.target.begin(), run.target.end(), 0);
        if (step == kStepSummaryPage && target_sum == 0 && opt[46] <= 1) Clntapr3(run, step);
        if (step == kStepSummaryPage && target_sum == 0 && opt[46] >= 2) Apsumac(run, step, classes);
        if (step == kStepSummaryPage && target_sum != 0) Ctfnk3(run, step, run.target);
        if (step == kStepCategoryPage) Apstkcat(run, step);
        if (step == kStepAbandoned) return step;
        if (step == kStepGather) continue;
        break;
    }
    if (step == kStepLotReadFailed) {
        // Unreadable lots end the run, but never silently: the report says
        // where, OUTPUT.TMP is ended and copied.
        run.Say(" THE MUTUAL FUND APPRAISAL STOPS AT ACCOUNT " + records::TrimRight(run.current.id) + ".");
    }
    if (appraised == 0 && run.selection != "S   " && step > 0)
        run.Say(" No account has the manager code " + records::TrimRight(run.manager) + ".");
    run.frame.reset();  // "END" and the copy
    records::Purge(records::kAppraisalControlFile);
    return step;
}

void Mclntamu(std::string_view selection, std::string_view manager, std::string_view account,
              std::string_view appraisal_date, std::string_view accrued, std::string_view output_name,
              int name_length) {
    AppraisalRun run;
    run.selection = records::Fixed(selection, 4);
    std::string code = records::Fixed(manager, 4);
    if (code == std::string(4, '\0')) code = "    ";
    run.manager = code;
    run.account = records::Fixed(account, 8);
    run.current.id = run.account;
    run.report_date = records::Fixed(appraisal_date, 8);
    run.accrued_switch = records::Fixed(accrued, 4);
    run.output_mode = 1;
    const std::size_t length = name_length > 0 ? static_cast<std::size_t>(name_length) : output_name.size();
    run.output_name = std::string(output_name.substr(0, std::min(length, output_name.size())));
    RunMutualFundAppraisal(run);
}

}  // namespace reports

#include "reports/appraisal/account_appraisal.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "engine/series.h"
#include "engine/valuation.h"
#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/appraisal/appraisal_holdings_pages.h"
#include "reports/appraisal/stocks_by_industry.h"
#include "reports/appraisal/summary_against_target.h"
#include "reports/appraisal/summary_by_asset_class.h"
#include "reports/appraisal/summary_by_security_type.h"

namespace reports {

int16_t RunAppraisalStages(AppraisalRun& run, const records::Options& opt,
                           const engine::CategoryTable& classes, const AppraisalStages& stages) {
    int16_t step = kStepGather;
    int appraised = 0;
    run.keep_work_file = true;
    for (;;) {
        if (step == kStepGather) stages.gather(run, step);
        if (step == kStepHoldingsPages) {
            ++appraised;
            stages.pages(run, step);
        }
        const int target_sum = std::accumulate(run.target.begin(), run.target.end(), 0);
        const bool by_option47 = !stages.target_before_option47 || target_sum == 0;
        if (step == kStepSummaryPage && by_option47 &&
            records::OptionValue(opt, records::Opt::kPortfolioSummaryType) <= 1)
            Clntapr3(run, step);
        if (step == kStepSummaryPage && target_sum == 0 &&
            records::OptionOn(opt, records::Opt::kPortfolioSummaryType, 2))
            Apsumac(run, step, classes);
        if (step == kStepSummaryPage && target_sum != 0) Ctfnk3(run, step, run.target);
        if (step == kStepCategoryPage) Apstkcat(run, step);
        if (step == kStepAbandoned) return step;
        if (step == kStepGather) continue;
        break;
    }
    if (step == kStepLotReadFailed) {
        // A lot list that breaks ends the run, but never silently: the
        // report says where (the gathering's line), OUTPUT.TMP is ended
        // and copied.
        run.Say(stages.stop_words + records::TrimRight(run.current.id) + ".");
    }
    if (appraised == 0 && run.selection != "S   " && step > 0)
        run.Say(" No account has the manager code " + records::TrimRight(run.manager) + ".");
    run.frame.reset();  // "END" and, in output mode 3, the copy
    records::Purge(records::kAppraisalControlFile);
    if (run.work_file_kept) records::Purge(records::kAppraisalWorkFile);
    run.work_file_kept = false;
    return step;
}

int16_t RunAccountAppraisal(AppraisalRun& run) {
    // The asset class of each security type; a table with an entry of 0 or
    // less gives way to the firm's default table, so that the summary by
    // asset class always has its classes.
    const engine::CategoryTable classes = engine::ReadCategoryTable();
    const records::Options opt = records::Rdopts();
    records::Gcn();
    const std::string title(64, ' ');
    int16_t title_flag = 0;
    AppraisalStages stages;
    stages.gather = Apgath;
    stages.pages = [&](AppraisalRun& r, int16_t& step) {
        Clntapr2(r, step, r.holding_list, title_flag, title, classes);
    };
    stages.stop_words = " THE APPRAISAL STOPS AT ACCOUNT ";
    return RunAppraisalStages(run, opt, classes, stages);
}

void FillAppraisalRequest(AppraisalRun& run, std::string_view selection, std::string_view manager,
                          std::string_view account, std::string_view report_date, std::string_view accrued,
                          int16_t output_mode, std::string_view output_name, int name_length) {
    run.selection = records::Fixed(selection, 4);
    std::string code = records::Fixed(manager, 4);
    if (code == std::string(4, '\0')) code = "    ";
    run.manager = code;
    run.account = records::Fixed(account, 8);
    run.current.id = run.account;
    run.report_date = records::Fixed(report_date, 8);
    run.accrued_switch = records::Fixed(accrued, 4);
    run.output_mode = output_mode;
    const std::size_t length = name_length > 0 ? static_cast<std::size_t>(name_length) : output_name.size();
    run.output_name = std::string(output_name.substr(0, std::min(length, output_name.size())));
}

void Mclntapr(std::string_view selection, std::string_view manager, std::string_view account,
              std::string_view report_date, std::string_view accrued, int16_t output_mode,
              std::string_view output_name, int name_length) {
    AppraisalRun run;
    FillAppraisalRequest(run, selection, manager, account, report_date, accrued, output_mode, output_name,
                         name_length);
    RunAccountAppraisal(run);
}

}  // namespace reports

#include "reports/funds/fund_appraisal.h"

#include <algorithm>
#include <string>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "reports/appraisal/account_appraisal.h"
#include "reports/funds/fund_appraisal_pages.h"
#include "reports/funds/fund_valuation.h"

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
    if (records::OptionOn(options, records::Opt::kPortfolioSummaryType, 2))
        for (std::size_t k = 0; k < 22; ++k)
            if (rec.I16(2 * k) <= kBlankWord) return engine::DefaultCategoryTable();
    return engine::CategoryTableFromText(rec.Text(0, 44));
}

int16_t RunMutualFundAppraisal(AppraisalRun& run) {
    const records::Options opt = records::Rdopts();
    const AssetClassTable classes = FundAssetClassTable(opt);
    std::string title(64, ' ');
    AppraisalStages stages;
    stages.gather = [&title](AppraisalRun& r, int16_t& step) { Mfvalu(r, step, title); };
    stages.pages = [&](AppraisalRun& r, int16_t& step) {
        // The report title of option 38 replaces the mutual fund title.
        const int16_t title_switch = records::IsBlank(title) ? 1 : 0;
        Clntamu2(r, step, r.holding_list, title_switch, title, classes);
    };
    stages.target_before_option47 = true;
    stages.stop_words = " THE MUTUAL FUND APPRAISAL STOPS AT ACCOUNT ";
    return RunAppraisalStages(run, opt, classes, stages);
}

void Mclntamu(std::string_view selection, std::string_view manager, std::string_view account,
              std::string_view appraisal_date, std::string_view accrued, std::string_view output_name,
              int name_length) {
    AppraisalRun run;
    // The run mode is always 1.
    FillAppraisalRequest(run, selection, manager, account, appraisal_date, accrued, 1, output_name,
                         name_length);
    RunMutualFundAppraisal(run);
}

}  // namespace reports

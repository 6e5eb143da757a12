#pragma once

// The account appraisal (report code 103): for one account, or for every
// account whose manager code fits a pattern ("?" matches any character),
// the client appraisal pages, the summary of investment portfolio (by type,
// by asset class or against the account's target allocation, as option 47
// and the target choose) and the common stocks by industry category page,
// one account after another, into OUTPUT.TMP; in output mode 3 the report
// is copied to the named file at the end.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/valuation.h"
#include "reports/appraisal/appraisal_run.h"

namespace reports {

// selection: "S   " one account (account), anything else every account of
// the manager pattern; report_date MM/DD/YY; accrued: "N   " leaves accrued
// interest out; output_mode 1 prints, 3 copies to output_name as well, 2
// only counts. name_length is the length of output_name the caller gives.
void Mclntapr(std::string_view selection, std::string_view manager, std::string_view account,
              std::string_view report_date, std::string_view accrued, int16_t output_mode,
              std::string_view output_name, int name_length = 12);

// The stages of a run, from the step word: the loop of Mclntapr over an
// already filled run context. Returns the final step word.
int16_t RunAccountAppraisal(AppraisalRun& run);

// The request of a run as Mclntapr and the mutual fund appraisal take it:
// the manager pattern of four zero bytes reads as blanks; output_name is
// cut to name_length (its own length when name_length is 0 or less).
void FillAppraisalRequest(AppraisalRun& run, std::string_view selection, std::string_view manager,
                          std::string_view account, std::string_view report_date, std::string_view accrued,
                          int16_t output_mode, std::string_view output_name, int name_length);

// The stage loop of an appraisal run built on the account appraisal's
// stages, with the report's own gathering and holdings pages.
struct AppraisalStages {
    std::function<void(AppraisalRun&, int16_t&)> gather;
    std::function<void(AppraisalRun&, int16_t&)> pages;
    // A target allocation chooses the target page whatever option 47 says
    // (otherwise option 47 at 1 or less keeps the summary by type).
    bool target_before_option47 = false;
    // The report line that ends a run whose lots cannot all be read,
    // before the account.
    std::string stop_words;
};

// Runs the stages from the step word until the run ends: the gathering,
// the holdings pages, the summary page (by type, by asset class from
// classes, or against the target), the category page; then the closing
// report lines, the end of OUTPUT.TMP and the control file's removal.
// Returns the final step word.
int16_t RunAppraisalStages(AppraisalRun& run, const records::Options& opt,
                           const engine::CategoryTable& classes, const AppraisalStages& stages);

}  // namespace reports

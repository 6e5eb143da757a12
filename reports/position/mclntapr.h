#pragma once

// The account appraisal (report code 103): for one account, or for every
// account whose manager code fits a pattern ("?" matches any character),
// the client appraisal pages, the summary of investment portfolio (by type,
// by asset class or against the account's target allocation, as option 47
// and the target choose) and the common stocks by industry category page,
// one account after another, into OUTPUT.TMP; in output mode 3 the report
// is copied to the named file at the end.

#include <cstdint>
#include <string_view>

#include "reports/position/appraisal_run.h"

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

}  // namespace reports

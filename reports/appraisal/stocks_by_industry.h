#pragma once

// The common stocks by industry category page (Apstkcat), the last page of
// an account's appraisal: each industry category of the common stocks with
// its market value, its share of the common stocks and of the portfolio,
// and their total. The shares also go to the chart file: PIECHRT1.OUT
// (option 72 at 3, read by the chart view) or SUMMARY.DAT. Then
// TEMPHSUM.FIL is emptied and deleted, and CCONTROL.FIL tells whether
// another account follows.

#include <cstdint>

#include "reports/appraisal/appraisal_run.h"

namespace reports {

inline constexpr const char* kIndustryChartFile = "PIECHRT1.OUT";
inline constexpr const char* kIndustrySummaryFile = "SUMMARY.DAT";

// step comes back as kStepGather when the control file shows a further
// account, else kStepFinished with the control file marked finished.
void Apstkcat(AppraisalRun& run, int16_t& step);

}  // namespace reports

#pragma once

// The holdings pages of the account appraisal ("C L I E N T   A P P R A I
// S A L"), printed from the valued holdings of TEMP1.WRK that a gathering
// step has just written for one account or one composite group.
//
// The groups follow the appraisal type order; common stocks (type 18) are
// divided by industry category 1-99 (a category outside 1-99 prints under
// 99). Each holding gets a detail line and its optional lines, each group
// with more than one holding a rule and a total line; the accrued interest
// line stands after the groups of types 2 to 14; then the portfolio totals
// and, with option 52, the loan disbursement limit. The unmanaged lots
// (type 36) follow the totals and stay out of them. On the way the pages
// write TEMPHSUM.FIL for the summary pages, the option 72 export or chart
// file and, with option 52, the LDL.DAT records; the run's shared account
// data receives the asset-class totals and the per-group income and gain.
// At the end TEMP1.WRK is emptied and deleted.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/valuation.h"
#include "reports/position/appraisal_run.h"

namespace reports {

// Slots of the run's group income and gain lists: pass one fills slots 0
// to 22 in the order of its type records (the accrued interest record
// counts and gets -999.99); the unmanaged group has slot 23 of its own.
inline constexpr std::size_t kUnmanagedGroupSlot = 23;

// Prints the client appraisal pages of the TEMP1.WRK in the data directory
// into OUTPUT.TMP (which the caller has started), in run.output_mode (2
// counts and writes only the files). order: the caller's TEMP1.WRK record
// numbers, taken when the work file's record order word is 2. classes: the
// asset-class table (COMMON.FIL record 14), by the record layer's type
// order. title_flag comes back as 1; the title does not change the pages.
// step comes back as kStepSummaryPage on every path; a work file that
// cannot be read as far as its count says so in a report line.
void Clntapr2(AppraisalRun& run, int16_t& step, const std::vector<int16_t>& order, int16_t& title_flag,
              const std::string& title, const engine::CategoryTable& classes);

}  // namespace reports

#pragma once

// The summary of investment portfolio by asset class (Apsumac): the type
// groups of TEMPHSUM.FIL under CASH EQUIVALENTS, FIXED INCOME, EQUITIES and
// OTHER, each class of two groups or more with its total, then the
// portfolio totals and the group after them. Option 47 at 3 shows the
// percentages of the class instead of the portfolio.

#include <cstdint>

#include "engine/valuation.h"
#include "reports/appraisal/appraisal_run.h"

namespace reports {

// classes: the asset class of each security type (COMMON.FIL record 14 in
// the record layer's type order); a type outside the table is "O ".
// step comes back as kStepCategoryPage on every path.
void Apsumac(AppraisalRun& run, int16_t& step, const engine::CategoryTable& classes);

}  // namespace reports

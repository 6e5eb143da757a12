#pragma once

// The summary of investment portfolio against the account's target
// allocation (Ctfnk3): each type group of TEMPHSUM.FIL with its market
// value, its actual and its target share of the portfolio, estimated annual
// income and yield; the portfolio totals and the group after them.

#include <array>
#include <cstdint>

#include "reports/appraisal/appraisal_run.h"

namespace reports {

// target: the account's target percentages by target position 1 to 23.
// step comes back as kStepCategoryPage on every path.
void Ctfnk3(AppraisalRun& run, int16_t& step, const std::array<int8_t, 23>& target);

// The target position (1 to 22) of a security type number; 0 for a type
// without one.
int TargetPosition(int type_number);

}  // namespace reports

#pragma once

// The valuation pass of the mutual fund appraisal (report code 106): one
// call values the next account of the run as of the appraisal date into
// TEMP1.WRK (records::FundWorkHeader and one records::FundWorkLine a
// holding) and keeps the run's cursor in CCONTROL.FIL for the page stages.
//
// The account's lots are rebuilt from its transactions (Mfhold, into
// HL.TMP), so that each holding carries, beside its amount invested, its
// total cost including reinvested purchases (item 32), from which the
// pages take the unit cost. Consecutive lots of one security make one
// holding. The run starts afresh from its own request: a CCONTROL.FIL left
// by an earlier run is never read.

#include <cstdint>
#include <string>

#include "reports/appraisal/appraisal_run.h"

namespace reports {

// The record of COMMON.FIL that keeps the report title of option 38.
inline constexpr long kReportTitleRecord = 70;

// Values the next account of the run. step comes back as
// kStepHoldingsPages (an account is in TEMP1.WRK), kStepFinished (no
// account left), kStepAbandoned (run mode 0 or less) or kStepLotReadFailed
// (the account's lots in HL.TMP cannot all be read; the report line is the
// caller's). On the run's first call title comes back as the report title:
// with option 38 the 64 characters of COMMON.FIL record 70, centred (the
// record is only read); otherwise, or when that is blank, 64 blanks.
void Mfvalu(AppraisalRun& run, int16_t& step, std::string& title);

}  // namespace reports

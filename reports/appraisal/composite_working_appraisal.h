#pragma once

// The composite working appraisal (report code 202): every lot of every
// selected account (the accounts of a group or super group from the
// account list file, or every account whose manager code fits a pattern)
// valued as of one report date into one TEMP1.WRK headed "COMBI.  ", one
// holding record per lot, put in a common order (Shelcm) and printed by
// the working appraisal's pages (Prhold) as one account, "COMBINED", titled
// by the group title. With option 17 each lot carries its change in market
// value from the prior month. OUTPUT.TMP is copied to the output file on
// every run.

#include <string>
#include <string_view>
#include <vector>

#include "reports/appraisal/composite_appraisal.h"
#include "reports/appraisal/composite_holdings.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// kind "S   ": the accounts of list_file; anything else every account whose
// manager code matches `manager`. date MM/DD/YY; accrued "N   " leaves
// accrued interest out; title: the 32-character name of the set.
void Cohold(std::string_view kind, std::string_view manager, std::string_view date, std::string_view accrued,
            std::string_view list_file, int list_length, std::string_view output_name, int output_length,
            std::string_view title);

// The valuation pass of Cohold: every lot of the accounts (each id of
// ACCOUNT.IDX) into TEMP1.WRK with its header "COMBI.  " titled by title,
// and the holding arrays in print order. False when the run stops (a
// report line on frame says why; TEMP1.WRK is then deleted).
bool ValueCompositeWorking(ReportFrame& frame, const CompositeCommon& common, const CompositeRunDates& dates,
                           const std::vector<std::string>& accounts, std::string_view title,
                           CompositeHoldings& holdings);

// The prior-month date of a report date MM/DD/YY: the month before (January
// gives December of the year before), the same day, or the last day of that
// month when the day is past its end or the report date is the last day of
// its own month. February has 29 days when the report year is divisible by
// 4. A date that does not read comes back as it is.
std::string PriorMonthDate(const std::string& date);

}  // namespace reports

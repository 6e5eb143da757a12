#pragma once

// The mutual fund appraisal (report code 106): for one account, or for
// every account whose manager code fits a pattern ("?" matches any
// character), the account's lots rebuilt as of the appraisal date and
// printed as the mutual fund appraisal pages, followed by the summary of
// investment portfolio (by type, by asset class or against the account's
// target allocation, as option 47 and the target choose) and the common
// stocks by industry category page, one account after another, into
// OUTPUT.TMP, which is then copied to the output file.

#include <cstdint>
#include <string_view>

#include "engine/valuation.h"
#include "reports/appraisal/appraisal_run.h"

namespace reports {

// The asset class ("CE", "FI", "EQ", "O ") of each security type, from
// COMMON.FIL record 14.
using AssetClassTable = engine::CategoryTable;

// selection: "S   " one account (account), anything else every account of
// the manager pattern; appraisal_date MM/DD/YY; accrued: "N   " leaves
// accrued interest out; output_name: the file OUTPUT.TMP is copied to at
// the end ("XXX.TXT" when the runner's destination is not a file);
// name_length is its length as the caller gives it. The run mode is 1.
void Mclntamu(std::string_view selection, std::string_view manager, std::string_view account,
              std::string_view appraisal_date, std::string_view accrued, std::string_view output_name,
              int name_length = 12);

// The asset-class table of the run: COMMON.FIL record 14 as read; with
// option 47 at 2 or more a table with a code not above two blanks among
// its first 22 gives way to the firm's default table, as does a record
// that cannot be read.
AssetClassTable FundAssetClassTable(const records::Options& options);

// The stages of a run, from the step word: the loop of Mclntamu over an
// already filled run context. Returns the final step word.
int16_t RunMutualFundAppraisal(AppraisalRun& run);

}  // namespace reports

#pragma once

// The period performance figures of the appraisal reports: an account's
// (or one holding's) return since its start and over the last 6 and 12
// months, with the same for market index 2, from the monthly market-value
// series that the account's transactions replay into.

#include <array>
#include <cstdint>
#include <string>

#include "records/common_file.h"
#include "records/index_slot.h"
#include "reports/performance/summary_returns.h"

namespace reports {

struct AppraisalPerformanceRequest {
    std::string account = std::string(8, ' ');
    std::string security = std::string(12, ' ');   // blank: the whole account
    std::string start_date = std::string(8, ' ');  // MM/DD/YY or blank
    std::string end_date = std::string(8, ' ');    // MM/DD/YY, the report date
    double opening_value = 0;                      // the account's value at the start, 0 if none
    float begin_index_level = 0;                   // index level at a start within a month
    float begin_figure = 0;                        // first entry of the carried series
    std::array<records::IndexSlot, 2> indexes{};   // COMMON.FIL record 37: index 1 and 2
    int16_t anchor_month = 0;                      // 0: no anchor
    int16_t anchor_year = 0;
    float anchor_return = 0;  // percent
};

// The six figures of the account or holding, each -999.99 where not
// available. Nothing is printed; the files a caller may hold (HL.TMP,
// OUTPUT.TMP) are left alone: the replay works on HL.TP1.
//
// No security named: the whole-account series and the returns of index 2
// (looked up by its symbol). A security named: the holding's series, and
// no index returns. No history file HL<acct>.DAT, no transactions, a series
// longer than 360 months or a period shorter than 182 days give no figures.
AppraisalReturns Mnappr2(const AppraisalPerformanceRequest& request, const records::Options& options);

// The request of a holding of an appraisal run: the holding's symbol, a
// blank start, the report date and the two index slots of COMMON.FIL
// record 37 as they are stored (72 bytes).
AppraisalPerformanceRequest HoldingPerformanceRequest(const std::string& account, const std::string& symbol,
                                                      const std::string& report_date,
                                                      const std::array<unsigned char, 72>& record37);

}  // namespace reports

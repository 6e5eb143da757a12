#pragma once

// The summary of investment portfolio by security type (Clntapr3): one
// line per type group of TEMPHSUM.FIL, the portfolio totals and the group
// after them; with option 55 the portfolio's rates of return beside the
// S&P 500's, with option 56 the generic asset allocation model of the
// account's objective beside its current allocation.
//
// The headings and type-line writers here serve the summary by asset class
// (Apsumac) too, and the readers of the two work files serve every summary
// page and the common stocks page.

#include <cstdint>
#include <optional>
#include <string>

#include "records/appraisal_summary.h"
#include "reports/appraisal/appraisal_page_parts.h"
#include "reports/appraisal/appraisal_run.h"

namespace reports {

// The not-available marker of rates, percentages and table entries.
inline constexpr float kSummaryNotAvailable = -999.99f;

// CCONTROL.FIL as the summary pages read it: the run slot N and, when N is
// above 0, the account of record N + 1 (its id goes to the shared account
// data). Index and count start at 0 on every call.
struct SummaryControl {
    bool read = false;
    int16_t slot = 0;
    int16_t index = 0;
    int16_t count = 0;
};
SummaryControl ReadSummaryControl(AppraisalRun& run);

// TEMPHSUM.FIL: record 1 and the group records by record number.
class SummaryWorkFile {
public:
    SummaryWorkFile();
    bool ok() const { return header_.has_value(); }
    const records::AppraisalSummaryHeader& header() const { return *header_; }
    // Record 1, or an empty header when it could not be read.
    records::AppraisalSummaryHeader HeaderOrEmpty() const {
        return header_.value_or(records::AppraisalSummaryHeader{});
    }
    // Record n (2 and on); nothing when it cannot be read.
    std::optional<records::AppraisalSummaryLine> Line(long n) const;

private:
    records::DirectFile file_;
    std::optional<records::AppraisalSummaryHeader> header_;
};

// The page state of a summary page, taken from the work file's header,
// with the run's options.
AppraisalPages SummaryPages(const AppraisalRun& run, const records::AppraisalSummaryHeader& header,
                            const records::Options& options);

// The heading with income and yield columns; with_gain_columns adds the
// % of income and % of unrealized gain/loss columns (option 53).
void Apshd1(AppraisalPages& pages, bool with_gain_columns);
// The heading of the market-only layout (option 25).
void Apshd2(AppraisalPages& pages);
// The type lines: with income and yield; with the two percentages besides
// (the not-available flag turns a gain percentage into "N/A"); market only.
// Texts longer than their column show their leftmost characters.
void Apsln1(AppraisalPages& pages, const std::string& name, const std::string& percent,
            const std::string& market, const std::string& yield, const std::string& income);
void Apsln2(AppraisalPages& pages, const std::string& name, const std::string& percent,
            const std::string& market, const std::string& yield, const std::string& income,
            float income_percent, float gain_percent, bool gain_not_available);
void Apsln3(AppraisalPages& pages, const std::string& name, const std::string& percent,
            const std::string& market);

// Prints the page after the holdings pages of the run's account; step
// comes back as kStepCategoryPage on every path.
void Clntapr3(AppraisalRun& run, int16_t& step);

}  // namespace reports

#pragma once

// The side files of the client appraisal pages: the export or chart file
// that option 72 chooses (ASSALLOC.TXT; "AS" + account + ".TXT" in two
// forms; PIECHART.OUT, which the chart view shows) and the loan
// disbursement records of LDL.DAT.

#include <cstdint>
#include <optional>
#include <string>

#include "records/files.h"

namespace reports {

inline constexpr const char* kAllocationExportFile = "ASSALLOC.TXT";
inline constexpr const char* kPieChartFile = "PIECHART.OUT";
inline constexpr const char* kLoanFile = "LDL.DAT";

// What the export files take of one holding line.
struct ExportHolding {
    std::string symbol;  // 12 characters
    double quantity = 0;
    std::string unit_cost;  // the 8-character texts of the page
    double cost = 0;
    std::string price;        // 8 characters
    double market_value = 0;  // -99999.99 when unpriced
    std::string percent;      // 8 characters, blank in pass two
};

// The option 72 file of one appraisal, made anew beside an old file of
// its name while the pages print, and put in its place when the object
// ends: a run that cannot write it keeps the old file whole.
class AppraisalExport {
public:
    // kind: option 72 (1 to 4; any other value writes no file).
    AppraisalExport(int kind, const std::string& account, const std::string& name);

    int kind() const { return kind_; }
    void Holding(const ExportHolding& h);
    // A PIECHART.OUT slice: 28-character label, 4 blanks, the percentage.
    void Slice(const std::string& label, double percent);

private:
    int kind_ = 0;
    std::optional<records::TextReplacement> file_;
};

// The file name of the per-account export: "AS", the account id without
// blanks (up to 6 characters), ".TXT".
std::string AccountExportName(const std::string& account);

// One LDL.DAT record (128 characters, the last two CR LF once appended):
// account id, the first 20 characters of the custodian account text, the
// report date, the loan value, a blank, the holding's ten-character code
// and the quantity, then blanks.
std::string LoanRecord(const std::string& account, const std::string& custodian,
                       const std::string& report_date, double loan_value, const std::string& code,
                       double quantity);

}  // namespace reports

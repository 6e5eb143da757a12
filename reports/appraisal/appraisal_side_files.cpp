#include "reports/appraisal/appraisal_side_files.h"

#include "records/file_names.h"
#include "records/layout.h"
#include "records/record.h"

namespace reports {

namespace {

constexpr int kAllocationKind = 1;
constexpr int kQuotedKind = 2;
constexpr int kChartKind = 3;
constexpr int kCommaKind = 4;

}  // namespace

std::string AccountExportName(const std::string& account) {
    return records::TrimRight(records::Paknam(account, "AS", ".TXT"));
}

AppraisalExport::AppraisalExport(int kind, const std::string& account, const std::string& name)
    : kind_(kind) {
    std::string file;
    switch (kind) {
        case kAllocationKind:
            file = kAllocationExportFile;
            break;
        case kQuotedKind:
        case kCommaKind:
            file = AccountExportName(account);
            break;
        case kChartKind:
            file = kPieChartFile;
            break;
        default:
            kind_ = 0;
            return;
    }
    file_.emplace(file);
    if (!file_->ok()) return;
    const std::string id = records::Fixed(account, 8);
    const std::string n = records::Fixed(name, 32);
    if (kind == kQuotedKind) {
        file_->WriteLine(records::Write("(A8,A32)", {std::string_view(id), std::string_view(n)}));
    } else if (kind == kCommaKind) {
        file_->WriteLine(records::Write(
            "(A1,',\" \",',A5,' ',A32)",
            {std::string_view(id).substr(0, 1), std::string_view(id).substr(1, 5), std::string_view(n)}));
    } else if (kind == kChartKind) {
        file_->WriteLine(records::Write("('ASSET ALLOCATION - ',A12)", {std::string_view(n).substr(0, 12)}));
    }
}

void AppraisalExport::Holding(const ExportHolding& h) {
    if (!file_ || !file_->ok()) return;
    const std::string symbol = records::Fixed(h.symbol, 12);
    switch (kind_) {
        case kAllocationKind:
            file_->WriteLine(records::Write(
                "(1X,F16.2,A8)", {h.market_value, std::string_view(records::Fixed(h.percent, 8))}));
            break;
        case kQuotedKind:
            file_->WriteLine(records::Write("(1X,A1,A12,A1,F16.4,A8,F16.2,A8,F16.2)",
                                            {"\"", std::string_view(symbol), "\"", h.quantity,
                                             std::string_view(records::Fixed(h.unit_cost, 8)), h.cost,
                                             std::string_view(records::Fixed(h.price, 8)), h.market_value}));
            break;
        case kCommaKind:
            file_->WriteLine(records::Write("(A1,A12,A1,',',A1,' ',A1,',',F16.4)",
                                            {"\"", std::string_view(symbol), "\"", "\"", "\"", h.quantity}));
            break;
        default:
            break;
    }
}

void AppraisalExport::Slice(const std::string& label, double percent) {
    if (kind_ != kChartKind || !file_ || !file_->ok()) return;
    file_->WriteLine(
        records::Write("(A28,4X,F10.1)", {std::string_view(records::Fixed(label, 28)), percent}));
}

std::string LoanRecord(const std::string& account, const std::string& custodian,
                       const std::string& report_date, double loan_value, const std::string& code,
                       double quantity) {
    return records::Write("(A8,A20,A8,F16.2,1X,A10,F16.3,49(' '))",
                          {std::string_view(records::Fixed(account, 8)),
                           std::string_view(records::Fixed(custodian, 32)).substr(0, 20),
                           std::string_view(records::Fixed(report_date, 8)), loan_value,
                           std::string_view(records::Fixed(code, 10)), quantity});
}

}  // namespace reports

#include "reports/fixed_income/fixed_income_reads.h"

#include "records/index.h"
#include "records/prices.h"
#include "records/record.h"
#include "reports/fixed_income/fixed_income_measures.h"

namespace reports {

SecurityRead FixedIncomeFiles::ReadSecurity(long n, records::SecurityRecord& security) const {
    if (n < 1) {
        security = records::SecurityRecord();
        security.rate = kMissingRate;
        return SecurityRead::kNone;
    }
    const auto& read = securities_.Read(n);
    if (!read) return SecurityRead::kFailed;
    security = *read;
    return SecurityRead::kRead;
}

bool FixedIncomeFiles::ReadTerms(long n, records::SecurityExtension& terms) const {
    const auto& read = terms_.Read(n);
    if (!read) return false;
    terms = *read;
    return true;
}

bool IsCashLot(const records::HoldingRecord& lot) {
    return records::Fixed(lot.symbol, 4) == "CASH";
}

long LotSecurityNumber(const records::HoldingRecord& lot) {
    return IsCashLot(lot) ? 1 : lot.security_record;
}

bool IsUnmanagedLot(const records::HoldingRecord& lot) {
    return records::Fixed(lot.tax_lot, 4) == "S   ";
}

double PriceOf(const std::vector<double>& prices, long n) {
    if (n < 1 || static_cast<std::size_t>(n) > prices.size()) return records::kNoPriceValue;
    return prices[static_cast<std::size_t>(n - 1)];
}

}  // namespace reports

#pragma once

// The account valuations of the one-line-per-account summaries: Acsval
// (market value with accrued interest, projected income and yield, for the
// summary of accounts) and Aumval (market value split into cash, cash
// equivalents, equities and fixed income, for the summary of assets under
// management), and Curcnv, the currency conversion of a security's amount.
//
// Both walk the account's lots as of the valuation date: before the
// program date the holdings are replayed into HL.TMP (without touching the
// transactions), otherwise HL<acct>.REC is read. Lots with code "S" are
// passed over; a lot whose security cannot be read is unpriced (it sets the
// missing-price flag and is worth 0).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/common_file.h"
#include "reports/kernel/lot_securities.h"

namespace reports {

// The 22 security types that the asset class table gives a class to, in
// the table's order.
inline constexpr std::string_view kAssetClassTypes = "13456W79BCDXFPNYHJLRST";
inline constexpr std::size_t kAssetClassCount = 22;
using AssetClassTable = std::array<std::string, kAssetClassCount>;  // "CE", "EQ", "FI" or "O "

// The built-in table, used when COMMON.FIL record 14 holds a blank code.
AssetClassTable DefaultAssetClasses();
// COMMON.FIL record 14, or the built-in table when it cannot be read or
// any of its 22 codes is blank.
AssetClassTable ReadAssetClasses();

// Converts the amount by the currency rate of the security on the date
// (SE<mmddyy>.CUR, record = security number): mode 0 divides by the rate,
// mode 1 multiplies, other modes leave the amount alone. A rate that cannot
// be read, is 0 or below or is above 10,000,000 counts as 1. A security
// number of 0 or below reads nothing.
void Curcnv(std::string_view date, int16_t security, double& amount, int16_t mode);

// The price and currency rate files of one valuation date, read whole. A
// report that values many accounts on a date reads them once and hands
// them to every valuation; without them each valuation reads its own.
struct ValuationFiles {
    std::vector<double> prices;
    std::vector<double> rates;
    // SECURITY.REC, open while the report values its accounts, with each
    // security decoded at its first lot and kept for the others.
    std::shared_ptr<RunSecurities> securities;
    // The last coupon date of each security as of a valuation date (the
    // files' own), found at its first lot and kept for the other accounts.
    struct LastCoupons {
        float date_number = 0;
        std::unordered_map<long, std::string> dates;
    };
    std::shared_ptr<LastCoupons> last_coupons;
    // The files of the date; with securities, the security records another
    // date's files have read (they do not change with the date).
    static ValuationFiles Load(std::string_view date, std::shared_ptr<RunSecurities> securities = nullptr);
};

// Acsval: the account's value on the date (accrued interest included;
// -99999.99 when a price is missing), its projected annual income, its
// yield in percent (on market value, or on cost with option 44 set), the
// missing-price flag and the summed cost amounts of the lots valued.
void Acsval(std::string_view account, std::string_view date, float date_number, float program_date_number,
            double& market_value, double& income, double& yield, int16_t& missing_price, double& cost,
            const records::Options& options, const ValuationFiles* files = nullptr);

// Aumval: the account's value on the date and its split. The market value
// is not marked when a price is missing; the caller does that from the
// flag. Cash is the cash lot (type "1"); the classes come from the table.
void Aumval(std::string_view account, std::string_view date, float date_number, float program_date_number,
            double& market_value, double& cash, double& equities, double& fixed_income,
            double& cash_equivalents, int16_t& missing_price, const AssetClassTable& classes,
            const ValuationFiles* files = nullptr);

}  // namespace reports

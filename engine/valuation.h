#pragma once

// Valuation of a scratch lot list at one date, the valuation step of the
// month-by-month market-value series: every lot is priced from the price
// file of the date, fixed-income lots are scaled from prices per 100 of
// face value and carry accrued interest, and the values are summed for the
// whole account, the cash and the asset categories CE, EQ and FI. A
// missing price is reported, not hidden.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/lot_update.h"
#include "records/files.h"
#include "records/security_types.h"

namespace engine {

// Units on which the valuation opens SECURITY.REC and the price file.
inline constexpr int kValuationSecurityUnit = 8;
inline constexpr int kValuationPriceUnit = 9;

// Asset categories, two characters each.
inline constexpr std::string_view kCashEquivalents = "CE";
inline constexpr std::string_view kEquities = "EQ";
inline constexpr std::string_view kFixedIncome = "FI";
inline constexpr std::string_view kOtherCategory = "O ";

// The security types of a type-to-category table, in the table's order.
inline constexpr std::string_view kCategoryTypeOrder = "13456W79BCDXFPNYHJLRST";

// The category (two characters) of each of the 22 types of
// kCategoryTypeOrder.
using CategoryTable = std::array<std::string, 22>;

// The table from its 44 characters (two a type, in the table's order).
CategoryTable CategoryTableFromText(std::string_view text);
// The firm's usual table: "1" CE; "3" to "F" and "Y" FI; "P", "N", "H",
// "J", "L", "R" EQ; "S", "T" other.
CategoryTable DefaultCategoryTable();

// The category of a security type (its first character); "O " for a type
// that is not in the table's list.
std::string CategoryOf(const CategoryTable& table, std::string_view type);

// Types quoted per 100 of face value.
using records::IsFixedIncomeType;

// What Getprc sums.
struct Valuation {
    double whole = 0;       // the whole account, accrued interest included
    double total_cost = 0;  // the cost of every lot
    double cash = 0;        // lots of cash-type securities held under key 0 or below
    double equities = 0;
    double fixed_income = 0;  // accrued interest included
    double cash_equivalents = 0;
    int16_t missing_price = 0;  // 1 when a lot was valued at a price of 0 or less
};

// Values the lot list of the file open on the unit at the date (MM/DD/YY):
//  - the price of a lot is its security's price in the date's price file
//    ("SE" + MMDDYY + ".PRC", at the security's record number), 1.0 for a
//    cash-type security (type "1") or a lot whose security record cannot
//    be read; type "4" is priced 100 and type "S" 1.0 whatever the file
//    says; a price of 0 or less sets the missing-price flag and counts as
//    0;
//  - the cash lot (holding key 0, symbol "CASH") is worth its balance and
//    counts as the cash security (type "1");
//  - value = quantity x price; fixed-income types / 100, plus accrued
//    interest from the last coupon date (the security's coupon date moved
//    back six months at a time) to the date on the 30/360 basis, except
//    types "3" and "Y"; type "R" x 100;
//  - lots with tax lot code "S" are passed over.
// The category of a lot comes from the table by its security's type ("O "
// when its security record cannot be read, which keeps it out of the
// three category values).
Valuation Getprc(std::string_view date, const CategoryTable& table, int lot_unit = kLotUnit);
// What a valuation reads of a security record.
struct SecurityFacts {
    bool readable = false;
    char type = ' ';
    float rate = 0;
    std::string coupon_date;
    std::string maturity;
};
// What a series of valuations keeps from one valuation to the next: each
// security record it meets is read once, its category and the way its
// lots are valued worked out once (again when the category table
// changes), and its price once a valuation. The price file's bytes are
// read into one buffer kept for the series.
class ValuationCache {
public:
    ValuationCache();
    ~ValuationCache();
    ValuationCache(const ValuationCache&) = delete;
    ValuationCache& operator=(const ValuationCache&) = delete;

    // SECURITY.REC as the series mapped it, read instead of the file
    // (nullptr: the file is read).
    void UseSecurities(const records::MappedRecords* file);

    struct State;
    State& state() { return *state_; }

private:
    std::unique_ptr<State> state_;
};

// The same for a lot list held in memory beside its file (the series
// value their own list this way, without reading it back), with the
// security records kept in the cache when one is given.
// decimals: the system's number of decimals (records::SystemDecimals) when
// the caller has read the options already (a series, once for all its
// valuations); below 0 reads them.
Valuation Getprc(std::string_view date, const CategoryTable& table, const LotList& lots,
                 ValuationCache* cache = nullptr, int decimals = -1);
// The same for a series' lot list.
Valuation Getprc(std::string_view date, const CategoryTable& table, const SeriesLots& lots,
                 ValuationCache* cache = nullptr, int decimals = -1);

}  // namespace engine

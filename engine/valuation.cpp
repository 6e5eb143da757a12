#include "engine/valuation.h"

#include <filesystem>
#include <unordered_map>

#include "records/account_records.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/rounding.h"

namespace engine {

namespace {

using records::Record;

// SECURITY.REC fields the valuation reads (0-based offsets).
constexpr std::size_t kTypeOffset = 76;         // bytes 77-80
constexpr std::size_t kRateOffset = 96;         // bytes 97-100, coupon rate in percent
constexpr std::size_t kCouponDateOffset = 116;  // bytes 117-124, a date of the coupon schedule

struct Security {
    bool readable = false;
    char type = ' ';
    float rate = 0;
    std::string coupon_date;
    // The last coupon date on or before the valuation date, worked out
    // once per security.
    bool coupon_known = false;
    std::string last_coupon;
    // The lot price, worked out once per security.
    bool priced = false;
    double price = 1.0;
    bool missing = false;
};

bool IsCashLot(const records::HoldingRecord& lot) {
    return lot.holding_key == 0 && lot.symbol == "CASH        ";
}

}  // namespace

CategoryTable CategoryTableFromText(std::string_view text) {
    const std::string all = records::Fixed(text, 44);
    CategoryTable table;
    for (std::size_t k = 0; k < table.size(); ++k) table[k] = all.substr(2 * k, 2);
    return table;
}

CategoryTable DefaultCategoryTable() {
    return CategoryTableFromText("CEFIFIFIFIFIFIFIFIFIFIFIFIEQEQFIEQEQEQEQO O ");
}

std::string CategoryOf(const CategoryTable& table, std::string_view type) {
    if (type.empty()) return std::string(kOtherCategory);
    const std::size_t k = kCategoryTypeOrder.find(type[0]);
    if (k == std::string_view::npos) return std::string(kOtherCategory);
    return records::Fixed(table[k], 2);
}

bool IsFixedIncomeType(char type) {
    return type != '\0' && std::string_view("34567BDFWXY").find(type) != std::string_view::npos;
}

Valuation Getprc(std::string_view date, const CategoryTable& table, int lot_unit) {
    Valuation v;
    double accrued = 0.0;
    records::Open(kValuationSecurityUnit, records::kSecurityRecords);
    records::UnitGuard security_guard(kValuationSecurityUnit);
    // A date without a price file has no prices; the file is not created
    // by looking for it.
    const std::string price_file = records::PriceFileName(date);
    const bool have_prices = std::filesystem::exists(records::ResolveName(price_file));
    if (have_prices) records::Open8(kValuationPriceUnit, price_file);
    records::UnitGuard price_guard(kValuationPriceUnit);

    int16_t month = 0, day = 0, yy = 0;
    records::Redate(date, month, day, yy);
    const float date_number = records::WindowedDateNumber(month, day, yy);
    const std::string valuation_date = records::Fixed(date, 8);

    // Security records and prices are read once a call: many lots share
    // their security.
    std::unordered_map<int, Security> securities;
    Security cash_security;
    cash_security.readable = true;
    cash_security.type = '1';

    const records::HoldingsHeader header = records::ReadHoldingsHeader(lot_unit);
    int16_t r = header.first_lot;
    long walked = 0;
    const long most = header.records_in_use > 0 ? header.records_in_use : 0;
    while (r > 0 && walked++ <= most) {
        Record rec;
        if (!records::ReadRecord(lot_unit, r, rec)) break;
        const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        r = lot.next;
        if (lot.tax_lot == "S   ") continue;
        v.total_cost += lot.cost;

        const bool cash_lot = IsCashLot(lot);
        Security* sec = &cash_security;
        if (!cash_lot) {
            auto [it, added] = securities.try_emplace(lot.security_record);
            sec = &it->second;
            if (added) {
                Record srec;
                if (lot.security_record > 0 &&
                    records::ReadRecord(kValuationSecurityUnit, lot.security_record, srec)) {
                    sec->readable = true;
                    sec->type = srec.Text(kTypeOffset, 1)[0];
                    sec->rate = srec.R4(kRateOffset);
                    sec->coupon_date = srec.Text(kCouponDateOffset, 8);
                }
            }
        }
        const bool cash_type = sec->readable && sec->type == '1';

        if (!sec->priced) {
            double price = 1.0;
            if (sec->readable && !cash_type) {
                price = records::kNoPriceValue;
                if (have_prices) records::Rwpric(0, kValuationPriceUnit, date, lot.security_record, price);
            }
            if (sec->type == '4') price = 100.0;
            if (sec->type == 'S') price = 1.0;
            if (price <= 0) sec->missing = true;
            if (price < 0) price = 0;
            records::Drndn(price);
            sec->price = price;
            sec->priced = true;
        }
        if (sec->missing) v.missing_price = 1;

        double value = cash_lot ? lot.cost : lot.quantity * sec->price;
        if (sec->readable && IsFixedIncomeType(sec->type)) {
            value /= 100.0;
            if (sec->type != '3' && sec->type != 'Y') {
                if (!sec->coupon_known) {
                    sec->coupon_known = true;
                    sec->last_coupon = sec->coupon_date;
                    records::Datadj(date_number, sec->last_coupon);
                }
                // A bond without a coupon schedule accrues nothing.
                if (!records::IsBlank(sec->last_coupon)) {
                    double interest = 0;
                    records::Getai(sec->last_coupon, valuation_date, lot.quantity, sec->rate / 100.0f, 1,
                                   interest);
                    if (interest > 0) accrued += interest;
                }
            }
        }
        if (sec->readable && sec->type == 'R') value *= 100.0;

        v.whole += value;
        if (cash_type && lot.holding_key <= 0) v.cash += value;
        const std::string category = sec->readable ? CategoryOf(table, std::string(1, sec->type))
                                                   : std::string(kOtherCategory);
        if (category == kCashEquivalents)
            v.cash_equivalents += value;
        else if (category == kEquities)
            v.equities += value;
        else if (category == kFixedIncome)
            v.fixed_income += value;
    }
    v.fixed_income += accrued;
    v.whole += accrued;
    return v;
}

}  // namespace engine

#include "engine/valuation.h"

#include <filesystem>
#include <unordered_map>
#include <vector>

#include "records/account_records.h"
#include "records/common_file.h"
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

struct Security : SecurityFacts {
    // The last coupon date on or before the valuation date, worked out
    // once per security.
    bool coupon_known = false;
    std::string last_coupon;
    // The lot price, worked out once per security.
    bool priced = false;
    double price = 1.0;
    bool missing = false;
    // The category of the security's type, worked out once per security.
    enum class Category : int8_t { kUnknown, kCashEquivalents, kEquities, kFixedIncome, kOther };
    Category category = Category::kUnknown;
    // Whether the type is a fixed-income one: -1 until worked out.
    int8_t fixed_income = -1;
};

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

namespace {

// Values lots one at a time at a date and sums them. Security records and
// prices are read once a valuation: many lots share their security.
class Valuer {
public:
    Valuer(std::string_view date, const CategoryTable& table, ValuationCache* cache, int decimals = -1)
        : table_(table),
          security_guard_(kValuationSecurityUnit),
          date_(records::Fixed(date, 8)),
          cache_(cache) {
        // With a cache (a series, which has opened SECURITY.REC before) the
        // file is opened only when a security not met before is read.
        if (cache_ == nullptr) OpenSecurities();
        // The whole price file with one read. A date without a price file
        // has no prices; the file is not created by looking for it.
        prices_ = records::ReadPriceFile(date_);
        // Prices round to the system's decimals, which cannot change
        // within one valuation.
        decimals_ = decimals >= 0 ? decimals : records::SystemDecimals(records::Rdopts());
        int16_t month = 0, day = 0, yy = 0;
        records::Redate(date_, month, day, yy);
        date_number_ = records::WindowedDateNumber(month, day, yy);
        cash_security_.readable = true;
        cash_security_.type = '1';
    }

    void Add(const LotFigures& lot);

    Valuation Finish() {
        v_.fixed_income += accrued_;
        v_.whole += accrued_;
        return v_;
    }

private:
    Security& SecurityOf(int16_t record);
    void OpenSecurities() {
        if (securities_open_) return;
        records::Open(kValuationSecurityUnit, records::kSecurityRecords);
        securities_open_ = true;
    }
    void Price(Security& sec, int16_t record);

    const CategoryTable& table_;
    records::UnitGuard security_guard_;
    bool securities_open_ = false;
    std::string date_;
    ValuationCache* cache_;
    std::vector<double> prices_;  // of the date's price file, record n at n - 1
    int decimals_ = 4;
    float date_number_ = 0;
    // The securities met, and where each security record's stands (-1:
    // not met); records below 1 by look-up.
    std::vector<Security> securities_;
    std::vector<int> slot_of_record_;
    std::unordered_map<int, Security> other_securities_;
    Security cash_security_;
    Valuation v_;
    double accrued_ = 0.0;
};

Security& Valuer::SecurityOf(int16_t record) {
    bool added = false;
    Security* found = nullptr;
    if (record >= 1) {
        const auto at = static_cast<std::size_t>(record);
        if (at >= slot_of_record_.size()) slot_of_record_.resize(at + 1, -1);
        if (slot_of_record_[at] < 0) {
            slot_of_record_[at] = static_cast<int>(securities_.size());
            securities_.emplace_back();
            added = true;
        }
        found = &securities_[static_cast<std::size_t>(slot_of_record_[at])];
    } else {
        auto [it, first] = other_securities_.try_emplace(record);
        found = &it->second;
        added = first;
    }
    Security& sec = *found;
    if (!added) return sec;
    auto read = [&](SecurityFacts& facts) {
        Record srec;
        if (record > 0) OpenSecurities();
        if (record > 0 && records::ReadRecord(kValuationSecurityUnit, record, srec)) {
            facts.readable = true;
            facts.type = srec.Text(kTypeOffset, 1)[0];
            facts.rate = srec.R4(kRateOffset);
            facts.coupon_date = srec.Text(kCouponDateOffset, 8);
        }
    };
    if (cache_ == nullptr) {
        read(sec);
        return sec;
    }
    auto [known, first] = cache_->try_emplace(record);
    if (first) read(known->second);
    static_cast<SecurityFacts&>(sec) = known->second;
    return sec;
}

void Valuer::Price(Security& sec, int16_t record) {
    const bool cash_type = sec.readable && sec.type == '1';
    double price = 1.0;
    if (sec.readable && !cash_type) {
        price = record >= 1 && static_cast<std::size_t>(record) <= prices_.size()
                    ? prices_[static_cast<std::size_t>(record - 1)]
                    : records::kNoPriceValue;
    }
    if (sec.type == '4') price = 100.0;
    if (sec.type == 'S') price = 1.0;
    if (price <= 0) sec.missing = true;
    if (price < 0) price = 0;
    records::RoundToDecimals(price, decimals_);
    sec.price = price;
    sec.priced = true;
}

void Valuer::Add(const LotFigures& lot) {
    if (lot.short_marker) return;
    v_.total_cost += lot.cost;

    const bool cash_lot = lot.holding_key == 0 && lot.cash_symbol;
    Security& sec = cash_lot ? cash_security_ : SecurityOf(lot.security_record);
    const bool cash_type = sec.readable && sec.type == '1';
    if (!sec.priced) Price(sec, lot.security_record);
    if (sec.missing) v_.missing_price = 1;

    double value = cash_lot ? lot.cost : lot.quantity * sec.price;
    if (sec.fixed_income < 0) sec.fixed_income = sec.readable && IsFixedIncomeType(sec.type) ? 1 : 0;
    if (sec.fixed_income == 1) {
        value /= 100.0;
        if (sec.type != '3' && sec.type != 'Y') {
            if (!sec.coupon_known) {
                sec.coupon_known = true;
                sec.last_coupon = sec.coupon_date;
                records::Datadj(date_number_, sec.last_coupon);
            }
            // A bond without a coupon schedule accrues nothing.
            if (!records::IsBlank(sec.last_coupon)) {
                double interest = 0;
                records::Getai(sec.last_coupon, date_, lot.quantity, sec.rate / 100.0f, 1, interest);
                if (interest > 0) accrued_ += interest;
            }
        }
    }
    if (sec.readable && sec.type == 'R') value *= 100.0;

    v_.whole += value;
    if (cash_type && lot.holding_key <= 0) v_.cash += value;
    if (!sec.readable) return;  // no category
    if (sec.category == Security::Category::kUnknown) {
        const std::string category = CategoryOf(table_, std::string_view(&sec.type, 1));
        sec.category = category == kCashEquivalents ? Security::Category::kCashEquivalents
                       : category == kEquities      ? Security::Category::kEquities
                       : category == kFixedIncome   ? Security::Category::kFixedIncome
                                                    : Security::Category::kOther;
    }
    if (sec.category == Security::Category::kCashEquivalents)
        v_.cash_equivalents += value;
    else if (sec.category == Security::Category::kEquities)
        v_.equities += value;
    else if (sec.category == Security::Category::kFixedIncome)
        v_.fixed_income += value;
}

}  // namespace

Valuation Getprc(std::string_view date, const CategoryTable& table, int lot_unit) {
    Valuer valuer(date, table, nullptr);
    const records::HoldingsHeader header = records::ReadHoldingsHeader(lot_unit);
    int16_t r = header.first_lot;
    long walked = 0;
    const long most = header.records_in_use > 0 ? header.records_in_use : 0;
    while (r > 0 && walked++ <= most) {  // a damaged list that loops ends
        Record rec;
        if (!records::ReadRecord(lot_unit, r, rec)) break;
        const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        r = lot.next;
        valuer.Add(LotFigures::Of(lot));
    }
    return valuer.Finish();
}

Valuation Getprc(std::string_view date, const CategoryTable& table, const LotList& lots,
                 ValuationCache* cache, int decimals) {
    Valuer valuer(date, table, cache, decimals);
    lots.ForEachLotFigures([&](const LotFigures& lot) { valuer.Add(lot); });
    return valuer.Finish();
}

}  // namespace engine

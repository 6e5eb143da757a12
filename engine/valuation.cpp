#include "engine/valuation.h"

#include <cstring>
#include <filesystem>
#include <memory>
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

enum class Category : int8_t { kUnknown, kCashEquivalents, kEquities, kFixedIncome, kOther };

// A security as the valuations know it.
struct Valued {
    SecurityFacts facts;
    bool met = false;  // its record has been read
    // Worked out from the facts when it is met.
    bool cash_type = false;     // readable, type "1"
    bool fixed_income = false;  // readable, a type quoted per 100
    bool accrues = false;       // fixed income and neither type "3" nor "Y"
    bool times100 = false;      // readable, type "R"
    // The category of its type, by the table of the cache.
    Category category = Category::kUnknown;
    // The valuation whose price and last coupon date these are.
    uint32_t priced_at = 0;
    double price = 1.0;
    bool missing = false;
    uint32_t coupon_at = 0;
    std::string last_coupon;  // the last coupon date on or before the valuation date
};

}  // namespace

struct ValuationCache::State {
    uint32_t valuations = 0;                // numbers each valuation, 1 on
    std::vector<Valued> by_record;          // records 1 on, by record number
    std::unordered_map<int, Valued> other;  // records below 1
    Valued cash;                            // the cash lot's security
    bool table_known = false;
    CategoryTable table;
    std::vector<unsigned char> price_bytes;  // the date's price file
    Record price_record = Record(8, 0);
};

ValuationCache::ValuationCache() : state_(std::make_unique<State>()) {}
ValuationCache::~ValuationCache() = default;

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

// Values lots one at a time at a date and sums them. A security's record
// is read when it is first met (once a series, with a cache) and its
// price once a valuation: many lots share their security.
class Valuer {
public:
    Valuer(std::string_view date, const CategoryTable& table, ValuationCache* cache, int decimals = -1)
        : own_(cache == nullptr ? std::make_unique<ValuationCache>() : nullptr),
          state_((cache != nullptr ? *cache : *own_).state()),
          table_(table),
          security_guard_(kValuationSecurityUnit),
          date_(records::Fixed(date, 8)) {
        // With a cache (a series, which has opened SECURITY.REC before) the
        // file is opened only when a security not met before is read.
        if (cache == nullptr) OpenSecurities();
        valuation_ = ++state_.valuations;
        // The categories hold for one table.
        if (!state_.table_known || state_.table != table_) {
            state_.table = table_;
            state_.table_known = true;
            state_.cash.category = Category::kUnknown;
            for (Valued& v : state_.by_record) v.category = Category::kUnknown;
            for (auto& [record, v] : state_.other) v.category = Category::kUnknown;
        }
        // The whole price file with one read, each price taken from its
        // bytes when a lot asks for it. A date without a price file has no
        // prices; the file is not created by looking for it.
        if (!records::DirectFile(records::PriceFileName(date_), 8, false).ReadWhole(state_.price_bytes))
            state_.price_bytes.clear();
        // Prices round to the system's decimals, which cannot change
        // within one valuation.
        decimals_ = decimals >= 0 ? decimals : records::SystemDecimals(records::Rdopts());
        int16_t month = 0, day = 0, yy = 0;
        records::Redate(date_, month, day, yy);
        date_number_ = records::WindowedDateNumber(month, day, yy);
        if (!state_.cash.met) {
            state_.cash.met = true;
            state_.cash.facts.readable = true;
            state_.cash.facts.type = '1';
            Work(state_.cash);
        }
    }

    void Add(const LotFigures& lot) {
        if (lot.short_marker) return;
        v_.total_cost += lot.cost;

        const bool cash_lot = lot.holding_key == 0 && lot.cash_symbol;
        Valued& sec = cash_lot ? state_.cash : SecurityOf(lot.security_record);
        if (sec.priced_at != valuation_) Price(sec, lot.security_record);
        if (sec.missing) v_.missing_price = 1;

        double value = cash_lot ? lot.cost : lot.quantity * sec.price;
        if (sec.fixed_income) {
            value /= 100.0;
            if (sec.accrues) Accrue(sec, lot.quantity);
        }
        if (sec.times100) value *= 100.0;

        v_.whole += value;
        if (sec.cash_type && lot.holding_key <= 0) v_.cash += value;
        if (!sec.facts.readable) return;  // no category
        if (sec.category == Category::kUnknown) Categorize(sec);
        switch (sec.category) {
            case Category::kCashEquivalents:
                v_.cash_equivalents += value;
                break;
            case Category::kEquities:
                v_.equities += value;
                break;
            case Category::kFixedIncome:
                v_.fixed_income += value;
                break;
            default:
                break;
        }
    }

    Valuation Finish() {
        v_.fixed_income += accrued_;
        v_.whole += accrued_;
        return v_;
    }

private:
    Valued& SecurityOf(int16_t record) {
        if (record >= 1) {
            const auto at = static_cast<std::size_t>(record);
            if (at >= state_.by_record.size()) state_.by_record.resize(at + 1);
            Valued& v = state_.by_record[at];
            if (!v.met) Meet(v, record);
            return v;
        }
        auto [it, added] = state_.other.try_emplace(record);
        if (added) Meet(it->second, record);
        return it->second;
    }
    void Meet(Valued& v, int16_t record) {
        v.met = true;
        Record srec;
        if (record > 0) OpenSecurities();
        if (record > 0 && records::ReadRecord(kValuationSecurityUnit, record, srec)) {
            v.facts.readable = true;
            v.facts.type = srec.Text(kTypeOffset, 1)[0];
            v.facts.rate = srec.R4(kRateOffset);
            v.facts.coupon_date = srec.Text(kCouponDateOffset, 8);
        }
        Work(v);
    }
    static void Work(Valued& v) {
        const SecurityFacts& f = v.facts;
        v.cash_type = f.readable && f.type == '1';
        v.fixed_income = f.readable && IsFixedIncomeType(f.type);
        v.accrues = v.fixed_income && f.type != '3' && f.type != 'Y';
        v.times100 = f.readable && f.type == 'R';
    }
    void Categorize(Valued& v) const {
        const std::string category = CategoryOf(table_, std::string_view(&v.facts.type, 1));
        v.category = category == kCashEquivalents ? Category::kCashEquivalents
                     : category == kEquities      ? Category::kEquities
                     : category == kFixedIncome   ? Category::kFixedIncome
                                                  : Category::kOther;
    }
    void OpenSecurities() {
        if (securities_open_) return;
        records::Open(kValuationSecurityUnit, records::kSecurityRecords);
        securities_open_ = true;
    }
    // The price of record n of the date's price file, as the price file
    // reader takes it; none past the file's end.
    double FilePrice(int16_t record) {
        const std::size_t at = static_cast<std::size_t>(record - 1) * 8;
        if (record < 1 || at + 8 > state_.price_bytes.size()) return records::kNoPriceValue;
        std::memcpy(state_.price_record.data(), state_.price_bytes.data() + at, 8);
        return records::StoredPrice(state_.price_record);
    }
    void Price(Valued& sec, int16_t record) {
        double price = 1.0;
        if (sec.facts.readable && !sec.cash_type) price = FilePrice(record);
        if (sec.facts.type == '4') price = 100.0;
        if (sec.facts.type == 'S') price = 1.0;
        sec.missing = price <= 0;
        if (price < 0) price = 0;
        records::RoundToDecimals(price, decimals_);
        sec.price = price;
        sec.priced_at = valuation_;
    }
    void Accrue(Valued& sec, double quantity) {
        if (sec.coupon_at != valuation_) {
            sec.coupon_at = valuation_;
            sec.last_coupon = sec.facts.coupon_date;
            records::Datadj(date_number_, sec.last_coupon);
        }
        // A bond without a coupon schedule accrues nothing.
        if (records::IsBlank(sec.last_coupon)) return;
        double interest = 0;
        records::Getai(sec.last_coupon, date_, quantity, sec.facts.rate / 100.0f, 1, interest);
        if (interest > 0) accrued_ += interest;
    }

    std::unique_ptr<ValuationCache> own_;  // without the caller's cache
    ValuationCache::State& state_;
    const CategoryTable& table_;
    records::UnitGuard security_guard_;
    bool securities_open_ = false;
    std::string date_;
    uint32_t valuation_ = 0;
    int decimals_ = 4;
    float date_number_ = 0;
    Valuation v_;
    double accrued_ = 0.0;
};

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

Valuation Getprc(std::string_view date, const CategoryTable& table, const SeriesLots& lots,
                 ValuationCache* cache, int decimals) {
    Valuer valuer(date, table, cache, decimals);
    lots.ForEachLotFigures([&](const LotFigures& lot) { valuer.Add(lot); });
    return valuer.Finish();
}

}  // namespace engine

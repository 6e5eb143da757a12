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
constexpr std::size_t kMaturityOffset = 88;     // bytes 89-96, the maturity date
constexpr std::size_t kRateOffset = 96;         // bytes 97-100, coupon rate in percent
constexpr std::size_t kCouponDateOffset = 116;  // bytes 117-124, a date of the coupon schedule

enum class Category : int8_t { kUnknown, kCashEquivalents, kEquities, kFixedIncome, kOther };

// What valuing a lot reads of its security, kept small so that the
// securities of a valuation stay in the nearest cache.
struct Hot {
    double price = 1.0;
    uint32_t priced_at = 0;  // the valuation whose price this is
    bool met = false;        // its record has been read
    bool missing = false;    // the price was 0 or less
    // Worked out from the facts when it is met.
    bool readable = false;
    bool cash_type = false;     // readable, type "1"
    bool fixed_income = false;  // readable, a type quoted per 100
    bool accrues = false;       // fixed income and neither type "3" nor "Y"
    bool times100 = false;      // readable, type "R"
    char type = ' ';
    // The category of its type, by the table of the cache.
    Category category = Category::kUnknown;
};

// The rest of what the valuations know of a security.
struct Cold {
    SecurityFacts facts;
    uint32_t coupon_at = 0;   // the valuation whose last coupon date this is
    std::string last_coupon;  // the last coupon date on or before the valuation date
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

struct ValuationCache::State {
    uint32_t valuations = 0;  // numbers each valuation, 1 on
    // Records 1 on, by record number.
    std::vector<Hot> hot;
    std::vector<Cold> cold;
    std::unordered_map<int, std::pair<Hot, Cold>> other;  // records below 1
    std::pair<Hot, Cold> cash;                            // the cash lot's security
    bool table_known = false;
    CategoryTable table;
    std::vector<unsigned char> price_bytes;  // the date's price file
    Record price_record = Record(8, 0);
    const records::MappedRecords* securities = nullptr;  // SECURITY.REC as mapped
};

ValuationCache::ValuationCache() : state_(std::make_unique<State>()) {}
ValuationCache::~ValuationCache() = default;

void ValuationCache::UseSecurities(const records::MappedRecords* file) {
    state_->securities = file;
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
            state_.cash.first.category = Category::kUnknown;
            for (Hot& h : state_.hot) h.category = Category::kUnknown;
            for (auto& [record, v] : state_.other) v.first.category = Category::kUnknown;
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
        if (!state_.cash.first.met) {
            state_.cash.second.facts.readable = true;
            state_.cash.second.facts.type = '1';
            Work(state_.cash.first, state_.cash.second.facts);
        }
    }

    // Inlined into the walk: the securities met before and priced once
    // take no call.
    [[gnu::always_inline]] void Add(const LotFigures& lot) {
        if (lot.short_marker) return;
        v_.total_cost += lot.cost;

        const bool cash_lot = lot.holding_key == 0 && lot.cash_symbol;
        const int16_t record = lot.security_record;
        Hot* sec;
        if (cash_lot)
            sec = &state_.cash.first;
        else if (record >= 1 && static_cast<std::size_t>(record) < state_.hot.size() &&
                 state_.hot[static_cast<std::size_t>(record)].met)
            sec = &state_.hot[static_cast<std::size_t>(record)];
        else
            sec = &Meet(record);
        if (sec->priced_at != valuation_) Price(*sec, record);
        if (sec->missing) v_.missing_price = 1;

        double value = cash_lot ? lot.cost : lot.quantity * sec->price;
        if (sec->fixed_income) {
            value /= 100.0;
            if (sec->accrues) Accrue(cash_lot ? state_.cash.second : ColdOf(record), lot.quantity);
        }
        if (sec->times100) value *= 100.0;

        v_.whole += value;
        if (sec->cash_type && lot.holding_key <= 0) v_.cash += value;
        if (!sec->readable) return;  // no category
        if (sec->category == Category::kUnknown) Categorize(*sec);
        switch (sec->category) {
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
    // A security met for the first time (or one of a record below 1).
    [[gnu::noinline]] Hot& Meet(int16_t record) {
        if (record < 1) {
            auto [it, added] = state_.other.try_emplace(record);
            if (added) Work(it->second.first, it->second.second.facts);
            return it->second.first;
        }
        const auto at = static_cast<std::size_t>(record);
        if (at >= state_.hot.size()) {
            state_.hot.resize(at + 1);
            state_.cold.resize(at + 1);
        }
        SecurityFacts& facts = state_.cold[at].facts;
        Record srec;
        bool read = false;
        if (const records::MappedRecords* file = state_.securities) {
            // A record past the end of the file cannot be read, as from the file.
            read = record <= file->Count();
            if (read) {
                srec = Record(records::kAccountRecordLength, 0);
                std::memcpy(
                    srec.data(),
                    file->data() + static_cast<std::size_t>(record - 1) * records::kAccountRecordLength,
                    records::kAccountRecordLength);
            }
        } else {
            OpenSecurities();
            read = records::ReadRecord(kValuationSecurityUnit, record, srec);
        }
        if (read) {
            facts.readable = true;
            facts.type = srec.Text(kTypeOffset, 1)[0];
            facts.rate = srec.R4(kRateOffset);
            facts.coupon_date = srec.Text(kCouponDateOffset, 8);
            facts.maturity = srec.Text(kMaturityOffset, 8);
        }
        Work(state_.hot[at], facts);
        return state_.hot[at];
    }
    Cold& ColdOf(int16_t record) {
        if (record < 1) return state_.other[record].second;
        return state_.cold[static_cast<std::size_t>(record)];
    }
    static void Work(Hot& h, const SecurityFacts& f) {
        h.met = true;
        h.readable = f.readable;
        h.type = f.type;
        h.cash_type = f.readable && f.type == '1';
        h.fixed_income = f.readable && IsFixedIncomeType(f.type);
        h.accrues = h.fixed_income && f.type != '3' && f.type != 'Y';
        h.times100 = f.readable && f.type == 'R';
    }
    [[gnu::noinline]] void Categorize(Hot& h) const {
        const std::string category = CategoryOf(table_, std::string_view(&h.type, 1));
        h.category = category == kCashEquivalents ? Category::kCashEquivalents
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
    [[gnu::noinline]] void Price(Hot& sec, int16_t record) {
        double price = 1.0;
        if (sec.readable && !sec.cash_type) price = FilePrice(record);
        if (sec.type == '4') price = 100.0;
        if (sec.type == 'S') price = 1.0;
        sec.missing = price <= 0;
        if (price < 0) price = 0;
        records::RoundToDecimals(price, decimals_);
        sec.price = price;
        sec.priced_at = valuation_;
    }
    [[gnu::noinline]] void Accrue(Cold& sec, double quantity) {
        if (sec.coupon_at != valuation_) {
            sec.coupon_at = valuation_;
            sec.last_coupon =
                records::LastCouponDate(date_number_, sec.facts.coupon_date, sec.facts.maturity);
        }
        accrued_ += records::AccruedInterest(sec.last_coupon, date_, quantity, sec.facts.rate);
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

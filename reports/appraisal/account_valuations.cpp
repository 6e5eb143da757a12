#include "reports/appraisal/account_valuations.h"

#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "records/amounts.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/rounding.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

constexpr std::size_t kCommonLength = 128;
constexpr long kAssetClassRecord = 14;
constexpr double kHighestRate = 10000000.0;

// What both valuations take of one lot.
struct ValuedLot {
    char type = ' ';
    bool cash_lot = false;  // holding key 0 (or below)
    double quantity = 0;
    double cost = 0;
    double value = 0;                       // quantity x price, the cash lot's cost; before the type factors
    long number = 0;                        // the security number (1 for the cash lot)
    const LotSecurity* security = nullptr;  // never null; not found: no price, worth 0
};

// Walks the account's lots as of the date and hands each lot that is not
// an "S" lot to the visitor, priced. A lot whose security cannot be read
// is unpriced: it sets the flag and is worth 0.
template <typename Visit>
void WalkLots(std::string_view account, const std::vector<double>& prices, float date_number,
              float program_date_number, int decimals, bool round_quantity, int16_t& missing_price,
              const ValuationFiles& files, Visit visit) {
    const HoldingsSource source = PrepareHoldings(account, date_number, program_date_number);
    std::optional<RunSecurities> own;
    RunSecurities& securities = files.securities ? *files.securities : own.emplace();
    LotSecurities& security_records = securities.records;
    LotIterator lots(source.file);
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        if (records::FixedIs(lot.tax_lot, "S")) continue;
        ValuedLot v;
        v.cash_lot = lot.holding_key <= 0;
        const long number = v.cash_lot ? 1 : lot.security_record;
        v.number = number;
        v.security = &security_records.Read(number);
        v.quantity = lot.quantity;
        v.cost = lot.cost;
        if (round_quantity) records::RoundToDecimals(v.quantity, decimals);
        if (!v.security->found) {
            missing_price = 1;
            visit(v);
            continue;
        }
        v.type = v.security->type_code[0];
        double price = 1.0;
        if (v.type != '1') {
            price = number >= 1 && static_cast<std::size_t>(number) <= prices.size()
                        ? prices[static_cast<std::size_t>(number - 1)]
                        : records::kNoPriceValue;
            if (v.type == '4') price = 100.0;
            if (v.type == 'S') price = 1.0;
        }
        if (price < 0) {
            missing_price = 1;
            price = 0;
        }
        records::RoundToDecimals(price, decimals);
        v.value = v.cash_lot ? lot.cost : v.quantity * price;
        visit(v);
    }
}

// Income rates of these types are percentages (of face, or of a unit):
// the fixed-income types (fixed_income says whether the type is one) and
// types "1", "S" and "Z".
bool PercentageRateType(char type, bool fixed_income) {
    return fixed_income || type == '1' || type == 'S' || type == 'Z';
}

std::string ClassOf(char type, const AssetClassTable& classes) {
    const std::size_t at = kAssetClassTypes.find(type);
    if (type == ' ' || at == std::string_view::npos) return "O ";
    return classes[at];
}

records::Options ReadOptions() {
    records::Options options{};
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    records::Record rec;
    if (common.Read(records::kOptionsRecord, rec))
        for (std::size_t i = 0; i < options.size() && i < rec.size(); ++i) options[i] = rec.data()[i];
    return options;
}

}  // namespace

AssetClassTable DefaultAssetClasses() {
    return {"CE", "FI", "FI", "FI", "FI", "FI", "FI", "FI", "FI", "FI", "FI",
            "FI", "FI", "EQ", "EQ", "FI", "EQ", "EQ", "EQ", "EQ", "O ", "O "};
}

AssetClassTable ReadAssetClasses() {
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    records::Record rec;
    if (!common.Read(kAssetClassRecord, rec)) return DefaultAssetClasses();
    AssetClassTable table;
    for (std::size_t k = 0; k < kAssetClassCount; ++k) {
        table[k] = rec.Text(2 * k, 2);
        // A code that is blank (or compares at or below two blanks as a
        // 16-bit word, as zero bytes do) makes the whole table unusable.
        if (rec.I16(2 * k) <= 0x2020) return DefaultAssetClasses();
    }
    return table;
}

namespace {

// The currency rates of a date, record n the rate of security n, read
// whole: a valuation converts every lot's rate with one read of the file.
std::vector<double> ReadRates(std::string_view date) {
    std::vector<double> rates;
    const records::DirectFile file(records::RateFileName(date), 8, /*create=*/false);
    std::vector<unsigned char> bytes;
    if (!file.ok() || !file.ReadWhole(bytes)) return rates;
    rates.resize(bytes.size() / 8);
    for (std::size_t i = 0; i < rates.size(); ++i) std::memcpy(&rates[i], bytes.data() + 8 * i, 8);
    return rates;
}

void Convert(const std::vector<double>& rates, int16_t security, double& amount, int16_t mode) {
    if (security <= 0) return;
    double rate = static_cast<std::size_t>(security) <= rates.size()
                      ? rates[static_cast<std::size_t>(security - 1)]
                      : 1.0;
    if (!(rate > 0) || rate > kHighestRate) rate = 1.0;
    if (mode == 0)
        amount /= rate;
    else if (mode == 1)
        amount *= rate;
}

}  // namespace

ValuationFiles ValuationFiles::Load(std::string_view date, std::shared_ptr<RunSecurities> securities) {
    if (!securities) securities = std::make_shared<RunSecurities>();
    return {records::ReadPriceFile(date), ReadRates(date), std::move(securities), std::make_shared<LastCoupons>()};
}

void Curcnv(std::string_view date, int16_t security, double& amount, int16_t mode) {
    if (security <= 0) return;
    Convert(ReadRates(date), security, amount, mode);
}

void Acsval(std::string_view account, std::string_view date, float date_number, float program_date_number,
            double& market_value, double& income, double& yield, int16_t& missing_price, double& cost,
            const records::Options& options, const ValuationFiles* files) {
    market_value = 0;
    income = 0;
    yield = 0;
    missing_price = 0;
    cost = 0;
    const int decimals = records::SystemDecimals(options);
    const std::string date_text = records::Fixed(date, 8);
    double accrued_total = 0;
    const ValuationFiles own = files ? ValuationFiles{} : ValuationFiles::Load(date_text);
    const ValuationFiles& f = files ? *files : own;
    // The last coupon date of each security as of the date, found once (a
    // report's files keep them over its accounts).
    ValuationFiles::LastCoupons own_coupons;
    ValuationFiles::LastCoupons& coupons = f.last_coupons ? *f.last_coupons : own_coupons;
    if (coupons.date_number != date_number) {
        coupons.dates.clear();
        coupons.date_number = date_number;
    }
    std::unordered_map<long, std::string>& last_coupons = coupons.dates;
    WalkLots(account, f.prices, date_number, program_date_number, decimals, false, missing_price, f,
             [&](const ValuedLot& lot) {
                 cost += lot.cost;
                 if (!lot.security->found) return;
                 double value = lot.value;
                 const bool fixed_income = IsFixedIncomeType(lot.type);
                 const bool percentage_rate = PercentageRateType(lot.type, fixed_income);
                 float raw_rate = lot.security->rate;
                 if (fixed_income)
                     value *= 0.01;
                 else if (lot.type == 'R') {
                     value *= 100;
                     raw_rate = 0;
                 }
                 market_value += value;
                 records::RoundToDecimals(market_value, decimals);
                 // Accrued interest since the last coupon date, never negative,
                 // for the fixed-income types that accrue.
                 const double percent = raw_rate;
                 double rate = raw_rate == records::kNoRate ? 0 : percent;
                 Convert(f.rates, static_cast<int16_t>(lot.number), rate, 0);
                 if (fixed_income && lot.type != '3' && lot.type != 'X' && raw_rate != records::kNoRate) {
                     auto [coupon, added] = last_coupons.try_emplace(lot.number);
                     if (added)
                         coupon->second = records::LastCouponDate(date_number, lot.security->coupon_date,
                                                                  lot.security->maturity);
                     accrued_total += records::AccruedInterest(coupon->second, date_text, lot.quantity,
                                                               static_cast<float>(rate));
                 }
                 // The "no rate" marker is tested before the conversion,
                 // which would otherwise turn it into a real rate.
                 if (raw_rate == records::kNoRate) return;
                 double lot_income = rate * lot.quantity;
                 if (percentage_rate) lot_income *= 0.01;
                 income += lot_income;
             });
    market_value += accrued_total;
    const bool on_cost = records::OptionOn(options, records::Opt::kYieldOnCost);
    if (!on_cost && market_value != 0)
        yield = income * 100 / market_value;
    else if (on_cost && cost != 0)
        yield = income * 100 / cost;
    if (missing_price == 1) market_value = records::kNoPriceValue;
}

void Aumval(std::string_view account, std::string_view date, float date_number, float program_date_number,
            double& market_value, double& cash, double& equities, double& fixed_income,
            double& cash_equivalents, int16_t& missing_price, const AssetClassTable& classes,
            const ValuationFiles* files) {
    market_value = 0;
    cash = 0;
    equities = 0;
    fixed_income = 0;
    cash_equivalents = 0;
    missing_price = 0;
    const int decimals = records::SystemDecimals(ReadOptions());
    const ValuationFiles own = files ? ValuationFiles{} : ValuationFiles::Load(records::Fixed(date, 8));
    WalkLots(account, files ? files->prices : own.prices, date_number, program_date_number, decimals, true,
             missing_price, files ? *files : own, [&](const ValuedLot& lot) {
                 if (!lot.security->found) return;
                 double value = lot.value;
                 records::RoundToDecimals(value, 2);
                 if (IsFixedIncomeType(lot.type))
                     value *= 0.01;
                 else if (lot.type == 'R')
                     value *= 100;
                 market_value += value;
                 if (lot.type == '1' && lot.cash_lot) cash += value;
                 const std::string cls = ClassOf(lot.type, classes);
                 if (cls == "CE")
                     cash_equivalents += value;
                 else if (cls == "EQ")
                     equities += value;
                 else if (cls == "FI")
                     fixed_income += value;
             });
    records::RoundToDecimals(cash, 2);
    records::RoundToDecimals(cash_equivalents, 2);
    records::RoundToDecimals(equities, 2);
    records::RoundToDecimals(fixed_income, 2);
}

}  // namespace reports

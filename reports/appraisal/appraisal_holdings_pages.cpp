#include "reports/appraisal/appraisal_holdings_pages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>

#include "records/account_lists.h"
#include "records/amounts.h"
#include "records/appraisal_files.h"
#include "records/appraisal_summary.h"
#include "records/chars.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/sorts.h"
#include "reports/appraisal/appraisal_page_parts.h"
#include "reports/appraisal/appraisal_side_files.h"
#include "reports/kernel/amount_texts.h"

namespace reports {

namespace {

using records::kNoPriceValue;
using records::ValuedHolding;

constexpr int kCashType = 2;
constexpr int kCommonStockType = 18;
constexpr int kTimes100Type = 28;
constexpr int kUnitPricedType = 29;
constexpr int kUnmanagedType = 36;
constexpr int kLastCategory = 99;
constexpr int16_t kCallerOrders = 2;
// The accrued interest line stands before the 12th group of the order.
constexpr std::size_t kAccruedPosition = 11;
constexpr int kPassOneGroups = 22;
constexpr float kNotAvailable = -999.99f;

const char* const kTypeCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
const char* const kNaPercent8 = "    N/A ";
const char* const kNaPercent = "   N/A  ";
const char* const kNaMarket = "         N/A    ";
const char* const kNaGain = "        N/A ";
const char* const kNaShort = "  N/A   ";
const char* const kNaRate = "   N/A   ";
const char* const kAccruedName = "TOTAL ACCRUED INTEREST";

bool IsCash(std::string_view symbol) {
    return records::FixedIs(symbol, "CASH        ");
}

// A money amount of 16 characters with two decimals, separators and
// brackets.
void Money16Into(double value, std::string& text) {
    text.clear();
    records::Form16(value, 0.0, text);
    text.resize(16);
}

std::string Money16(double value) {
    std::string text;
    Money16Into(value, text);
    return text;
}

// Appends the text as Fixed(text, width) reads: cut, or blank padded on
// the right.
void AppendFixed(std::string& out, std::string_view text, std::size_t width) {
    const std::size_t kept = std::min(text.size(), width);
    out.append(text.substr(0, kept));
    out.append(width - kept, ' ');
}

// A whole amount "(F11.0,' ')" with separators and brackets.
std::string Gain12(double gain) {
    return NumberColumn(gain, "(F11.0,' ')", 11, true, 12);
}

std::string Percent8(double value) {
    return WorkText("(F6.1,'% ')", {value}).substr(0, 8);
}

std::string Income10(double income) {
    std::string text;
    records::Incm10(income, text);
    return text.substr(0, 10);
}

// The unrealised gain, market less cost, rounded half away from zero to the
// system's decimals (the income is not rounded here: its column prints it
// through Incm10).
double RoundedGain(double market, double cost) {
    float gain = static_cast<float>(market - cost);
    records::Round1(gain);
    return gain;
}

// Totals of one group (a type, or an industry category of common stocks).
struct GroupTotals {
    float percent = 0;
    double market = 0;
    double cost = 0;
    double income = 0;
    int holdings = 0;
    int unpriced = 0;
    int last_type = 0;

    void Add(const GroupTotals& g) {
        percent += g.percent;
        market += g.market;
        cost += g.cost;
        income += g.income;
        holdings += g.holdings;
        unpriced += g.unpriced;
        last_type = g.last_type;
    }
};

// The texts of a group total.
struct GroupTexts {
    std::string percent, cost, market, gain, gain_percent, income, yield_text;
    float yield = 0;
};

class AppraisalPrinter {
public:
    AppraisalPrinter(AppraisalRun& run, const std::vector<int16_t>& order,
                     const engine::CategoryTable& classes, const AppraisalPageVariant& variant)
        : run_(run), order_(order), classes_(classes), v_(variant) {}

    void Print(int16_t& title_flag);

private:
    bool ReadWork();
    void Heading() { v_.heading(pages_); }
    bool PageFull() const { return pages_.lines + 5 > usable_ - 5; }
    void PageCheck() {
        if (PageFull()) Heading();
    }
    std::vector<int> Kept(int type, int category);
    bool TypeGroup(int type, bool pass_two);
    bool CommonStocks();
    void HoldingLine(int index, GroupTotals& group, bool pass_two);
    std::string_view PercentText(int type, double market, bool priced, float& pct);
    std::string_view YieldText(const ValuedHolding& h, double income, double market, double cost, bool priced);
    std::string_view RateText(const ValuedHolding& h, bool cash);
    void AddToRunSums(const ValuedHolding& h, double cost, double income, double income_unrounded, double market,
                      bool priced);
    void DescriptionLine(const ValuedHolding& h, bool cash);
    void BondLines(const ValuedHolding& h);
    GroupTexts Totals(const GroupTotals& g, bool pass_two) const;
    void GroupEnd(int type, const std::string& name, const GroupTotals& g, bool pass_two);
    void Accrued();
    void Portfolio();
    void End();
    void Fail(const std::string& reason);
    void Unusable(const std::string& symbol);
    std::string Type(int type) const { return std::string(1, kTypeCharacters[std::clamp(type, 1, 37) - 1]); }

    AppraisalRun& run_;
    const std::vector<int16_t>& order_;
    const engine::CategoryTable& classes_;
    const AppraisalPageVariant& v_;
    records::Options opt_{};
    AppraisalPages pages_;
    int usable_ = 0;
    bool small_page_word_ = false;
    records::AppraisalHeader head_;
    // The account's holdings, in the run's kept list.
    std::span<const ValuedHolding> holdings_;
    std::optional<records::AppraisalSummaryWriter> summary_;
    std::optional<AppraisalExport> export_;
    bool failed_ = false;
    std::string read_failure_;
    // The securities whose market value was left out, told once each.
    std::vector<std::string> unusable_;
    // The group slot of the next type record.
    std::size_t slot_ = 0;

    // Portfolio.
    double market_ = 0, cost_ = 0, income_ = 0, loan_ = 0;
    bool unpriced_ = false;
    std::array<float, 7> allocation_{};
    std::string last_name_ = std::string(28, ' ');
    int last_type_ = 0;
    // Common stocks.
    int16_t stock_records_ = 0;
    int16_t first_category_index_ = 0;
    int16_t stock_total_index_ = 0;
    double stock_market_ = 0;

    // The texts of a holdings line, kept from one line to the next so that
    // a line allocates nothing: each column's text and the line itself.
    struct LineTexts {
        std::string percent, whole, fraction, unit_cost, price, market, cost, income, yield, rate, desc2, line;
    };
    LineTexts texts_;
};

bool AppraisalPrinter::ReadWork() {
    const records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength, /*create=*/false);
    records::Record rec;
    if (!work.ok() || !work.Read(1, rec)) {
        read_failure_ = " TEMP1.WRK could not be read; the appraisal pages end here.";
        return false;
    }
    head_ = records::AppraisalHeader::Decode(rec);
    if (head_.count <= 0) return true;
    // The holdings are read with the file whole and decoded from its bytes
    // into holdings kept from the run's earlier accounts.
    std::vector<unsigned char>& bytes = run_.work_bytes;
    if (!work.ReadWhole(bytes)) bytes.clear();
    const std::size_t in_file = bytes.size() / records::kWorkRecordLength;
    const std::size_t count = static_cast<std::size_t>(head_.count);
    if (in_file < count + 1) {
        read_failure_ = " ACCOUNT " + records::TrimRight(head_.account) + ": TEMP1.WRK holds " +
                        std::to_string(in_file > 0 ? in_file - 1 : 0) + " of its " + std::to_string(head_.count) +
                        " holdings; the appraisal pages end here.";
        return false;
    }
    std::vector<ValuedHolding>& holdings = run_.work_holdings;
    if (holdings.size() < count) holdings.resize(count);
    for (std::size_t n = 0; n < count; ++n)
        ValuedHolding::DecodeFrom(bytes.data() + (n + 1) * records::kWorkRecordLength, holdings[n]);
    holdings_ = std::span<const ValuedHolding>(holdings.data(), count);
    return true;
}

// The one line that says a security's market value was left out.
void AppraisalPrinter::Unusable(const std::string& symbol) {
    const std::string name = records::TrimRight(symbol);
    if (std::find(unusable_.begin(), unusable_.end(), name) != unusable_.end()) return;
    unusable_.push_back(name);
    pages_.Print(" *** " + name + ": MARKET VALUE NOT A NUMBER OR TOO LARGE, N/A AND LEFT OUT OF THE TOTALS");
    pages_.lines = static_cast<int16_t>(pages_.lines + 1);
}

void AppraisalPrinter::Fail(const std::string& reason) {
    failed_ = true;
    pages_.Print(reason);
    pages_.lines = static_cast<int16_t>(pages_.lines + 1);
}

// The holdings of a group, as indexes into holdings_: the type's holdings
// (of the category, for common stocks) in file order, sorted on their code
// for common stocks with option 43; or, when the caller orders the work
// file, the caller's record numbers that belong to the group, in list
// order.
std::vector<int> AppraisalPrinter::Kept(int type, int category) {
    auto belongs = [&](const ValuedHolding& h) {
        if (h.type_number != type) return false;
        if (type != kCommonStockType) return true;
        const int c = h.category >= 1 && h.category <= kLastCategory ? h.category : kLastCategory;
        return c == category;
    };
    std::vector<int> kept;
    if (head_.order == kCallerOrders) {
        for (int16_t n : order_) {
            if (n <= 1 || n - 2 >= static_cast<int>(holdings_.size())) continue;
            if (belongs(holdings_[static_cast<std::size_t>(n - 2)])) kept.push_back(n - 2);
        }
        return kept;
    }
    for (std::size_t i = 0; i < holdings_.size(); ++i)
        if (belongs(holdings_[i])) kept.push_back(static_cast<int>(i));
    if (type == kCommonStockType && records::OptionOn(opt_, records::Opt::kNoIndustryCategories) &&
        kept.size() > 1) {
        std::vector<float> keys;
        std::vector<int16_t> tags;
        for (int i : kept) {
            const std::string code = records::Fixed(holdings_[static_cast<std::size_t>(i)].sort_key, 10);
            float key = 0;
            for (int j = 1; j <= 9; ++j)
                key = static_cast<float>(key +
                                         static_cast<unsigned char>(code[static_cast<std::size_t>(9 - j)]) *
                                             std::pow(10.0, 2 * (j - 1)));
            keys.push_back(key);
            tags.push_back(static_cast<int16_t>(i));
        }
        records::Shell(static_cast<int>(keys.size()), keys, tags);
        kept.assign(tags.begin(), tags.end());
    }
    return kept;
}

// The quantity columns of a holdings line: whole part, separator and four
// decimals, as views of `whole` and `fraction_text` (kept by the caller) or
// of constant texts.
struct QuantityColumns {
    std::string_view whole, separator, fraction4;
};

constexpr QuantityColumns kBlankQuantity{"         ", " ", "    "};

QuantityColumns QuantityTexts(double quantity, bool cash, bool blank_quantity_at_zero, std::string& whole,
                              std::string& fraction_text) {
    if (blank_quantity_at_zero ? quantity <= 0 : quantity <= -99999) return kBlankQuantity;
    whole.assign(32, ' ');
    fraction_text.assign(32, ' ');
    double fraction = 0;
    records::Trncat(quantity, whole, fraction, fraction_text);
    return {std::string_view(whole).substr(0, 9), fraction != 0 && !cash ? "." : " ",
            fraction != 0 ? std::string_view(fraction_text).substr(0, 4) : std::string_view("    ")};
}

// The unit cost (from `unit_basis`) and price columns; blank for a zero
// quantity.
void UnitTexts(const ValuedHolding& h, double unit_basis, double market, std::string& unit_cost,
               std::string& price) {
    unit_cost.assign(8, ' ');
    price.assign(8, ' ');
    if (h.quantity == 0) return;
    double unit = unit_basis / h.quantity;
    double price_value = market / h.quantity;
    if (h.per_hundred != 0) {
        unit *= 100;
        price_value *= 100;
    }
    if (h.type_number == kTimes100Type) {
        unit /= 100;
        price_value /= 100;
    }
    records::WriteInto(unit_cost, "(F8.2)", {unit});
    records::WriteInto(price, "(F8.3)", {price_value});
}

// The annual income of a holding, before rounding: the rate times the
// quantity, in hundredths for the per-hundred, cash, unit-priced and some
// unmanaged holdings.
double AnnualIncome(const ValuedHolding& h) {
    if (h.rate == records::kNoRate) return 0;
    const int type = h.type_number;
    double income = static_cast<double>(h.rate) * h.quantity;
    if (h.per_hundred != 0 || type == kCashType || type == kUnitPricedType ||
        (type == kUnmanagedType && (records::FixedIs(h.type_code, "1   ") || records::FixedIs(h.type_code, "S   "))))
        income /= 100;
    return income;
}

// Percentage of the portfolio, or of the type's market value (option 68);
// in the variant, of the assets from the absolute market value. `pct` is
// the figure the group adds up.
std::string_view AppraisalPrinter::PercentText(int type, double market, bool priced, float& pct) {
    const double base = v_.percent_of_type && records::OptionOn(opt_, records::Opt::kAssetClassPercent)
                            ? run_.market_by_type[static_cast<std::size_t>(type - 1)]
                            : head_.total_market_value;
    pct = 0;
    if (head_.total_market_value != kNoPriceValue && priced && base != kNoPriceValue) {
        if (base != 0)
            pct = v_.absolute_percent ? static_cast<float>(std::abs(market) / base * 100.0)
                                      : static_cast<float>(100.0 / base * market);
        std::string& percent = texts_.percent;
        WorkTextInto(percent, "(F7.1,' ')", {static_cast<double>(pct)});
        if (pct < 0) records::Brackt(percent, 7);
        return std::string_view(percent).substr(0, 8);
    }
    return kNaPercent8;
}

// Yield on market value, or on cost with option 44; none for the holdings
// whose type code is "L" under option 75.
std::string_view AppraisalPrinter::YieldText(const ValuedHolding& h, double income, double market, double cost,
                                             bool priced) {
    double yield = 0;
    if (!records::OptionOn(opt_, records::Opt::kYieldOnCost) && priced && market > 0)
        yield = 100 * income / market;
    if (records::OptionOn(opt_, records::Opt::kYieldOnCost) && cost > 0) yield = 100 * income / cost;
    if (v_.option75 && records::OptionOn(opt_, records::Opt::kNoSummaryBeginningValue) &&
        records::FixedIs(h.type_code, "L   "))
        return "      ";
    std::string& yield_text = texts_.yield;
    WorkTextInto(yield_text, "(F5.1,' ')", {yield});
    if (yield < 0) records::Brackt(yield_text, 5);
    return std::string_view(yield_text).substr(0, 6);
}

// The rate column: the yield to maturity of fixed income, the rate, or the
// time-weighted return.
std::string_view AppraisalPrinter::RateText(const ValuedHolding& h, bool cash) {
    std::string& text = texts_.rate;
    auto written = [&text](float value) {
        WorkTextInto(text, "(F7.2,'  ')", {static_cast<double>(value)});
        return std::string_view(text).substr(0, 9);
    };
    auto rate_text = [&written](float value) {
        return value == records::kNoRate ? std::string_view(kNaRate) : written(value);
    };
    static constexpr std::array<int, 8> kNoYieldTypes = {2, 18, 20, 22, 24, 26, 28, 29};
    const int type = h.type_number;
    const bool fixed_income =
        std::find(kNoYieldTypes.begin(), kNoYieldTypes.end(), type) == kNoYieldTypes.end() ||
        h.matures_within_year > 0;
    if (records::OptionOn(opt_, records::Opt::kTimeWeightedReturn)) {
        if (cash || records::FixedIs(h.type_code, "1   ")) return rate_text(h.rate);
        if (h.performance != records::kNoRate && h.performance < 0) {
            WorkTextInto(text, "(F7.2,'  ')", {static_cast<double>(h.performance)});
            records::Brackt(text, 7);
            return std::string_view(text).substr(0, 9);
        }
        return rate_text(h.performance);
    }
    if (records::OptionValue(opt_, records::Opt::kRateOrYieldToMaturity) != 1 && fixed_income)
        return h.extension_percent > 0 ? written(h.extension_percent) : std::string_view(kNaRate);
    return rate_text(h.rate);
}

// A holding's share of the run's sums beside the pages: the asset classes
// of the summary, the allocation classes, and the loan value (written to
// the loan file under option 58).
void AppraisalPrinter::AddToRunSums(const ValuedHolding& h, double cost, double income, double income_unrounded,
                                    double market, bool priced) {
    if (records::OptionOn(opt_, records::Opt::kPortfolioSummaryType, 2)) {
        static constexpr std::array<const char*, 4> kClasses = {"CE", "FI", "EQ", "O "};
        const std::string cls = engine::CategoryOf(classes_, Type(h.type_number));
        for (std::size_t c = 0; c < kClasses.size(); ++c) {
            if (cls != kClasses[c]) continue;
            run_.classes.cost[c] += cost;
            run_.classes.annual_income[c] += income;
            run_.classes.annual_income_unrounded[c] += income_unrounded;
            if (priced) run_.classes.market_value[c] += market;
        }
    }
    const std::string allocation_code{static_cast<char>(h.security_first_word & 0xff),
                                      static_cast<char>((h.security_first_word >> 8) & 0xff)};
    for (std::size_t c = 0; c < records::kSummaryAllocationCodes.size(); ++c)
        if (priced && allocation_code == records::kSummaryAllocationCodes[c])
            allocation_[c] += static_cast<float>(market);

    const double loan = priced ? h.security_last_word / 100.0 * market : 0.0;
    if (loan > 0) loan_ += loan;
    if (records::OptionOn(opt_, records::Opt::kLoanLimitAndExtracts) && loan > 0) {
        std::string custodian(32, ' ');
        records::Wcurec(run_.current.index, 1, custodian);
        records::Wcuso(kLoanFile,
                       LoanRecord(head_.account, custodian, head_.report_date, loan, h.sort_key, h.quantity));
    }
}

// Description line 2, filled from the rate and maturity when empty.
void AppraisalPrinter::DescriptionLine(const ValuedHolding& h, bool cash) {
    std::string& desc2 = texts_.desc2;
    desc2.clear();
    AppendFixed(desc2, h.description2, 32);
    if (!cash && !records::FixedIs(h.type_code, "1   ") && !records::OptionOn(opt_, records::Opt::kBondDetails))
        records::Ckdesc(desc2, std::string_view(reinterpret_cast<const char*>(opt_.data()), opt_.size()), h.rate,
                        h.maturity_date);
    if (!records::IsBlank(desc2)) {
        // "(17X,A32)"
        std::string& line = texts_.line;
        line.assign(17, ' ');
        records::AppendTextField(line, desc2, 32);
        pages_.Print(line);
        pages_.lines = static_cast<int16_t>(pages_.lines + 1);
    }
}

// The bond lines of the security's extension record.
void AppraisalPrinter::BondLines(const ValuedHolding& h) {
    // Bytes never written (a SECURITY.EXT record the file only grew past)
    // read as blanks, so a security without terms prints no empty bond
    // lines.
    auto text = [](std::string s) {
        std::replace(s.begin(), s.end(), '\0', ' ');
        return s;
    };
    auto word = [](const std::array<unsigned char, 4>& w) {
        std::string s(w.begin(), w.end());
        std::replace(s.begin(), s.end(), '\0', ' ');
        return s;
    };
    const std::string w2 = word(h.extension_word2), w3 = word(h.extension_word3);
    const std::string w4 = word(h.extension_word4), w5 = word(h.extension_word5);
    const std::string ext_code = text(records::Fixed(h.extension_code, 5));
    bool printed = false;
    if (!records::IsBlank(w2 + w3 + ext_code)) {
        pages_.Print(records::Write("(18X,A4,2X,A4,2X,A5)",
                                    {std::string_view(w2), std::string_view(w3), std::string_view(ext_code)}));
        pages_.lines = static_cast<int16_t>(pages_.lines + 1);
        printed = true;
    }
    auto amount7 = [](double v) { return v == 0 ? std::string(7, ' ') : records::Write("(F7.2)", {v}); };
    const std::string a1 = amount7(h.extension_value1), a2 = amount7(h.extension_value2);
    const std::string d1 = text(records::Fixed(h.extension_date1, 8)),
                      d2 = text(records::Fixed(h.extension_date2, 8));
    if (!records::IsBlank(w4.substr(0, 2) + d1 + a1 + w5.substr(0, 2) + d2 + a2)) {
        pages_.Print(records::Write("(18X,A2,A8,A7,1X,A2,A8,A7)",
                                    {std::string_view(w4).substr(0, 2), std::string_view(d1), std::string_view(a1),
                                     std::string_view(w5).substr(0, 2), std::string_view(d2),
                                     std::string_view(a2)}));
        pages_.lines = static_cast<int16_t>(pages_.lines + 1);
        printed = true;
    }
    const std::string maturity = text(records::Fixed(h.maturity_date, 8));
    if (h.rate > 0 || !records::IsBlank(maturity)) {
        if (h.rate > 0)
            pages_.Print(
                records::Write("(17X,F7.3,'%',2X,A8)", {static_cast<double>(h.rate), std::string_view(maturity)}));
        else
            pages_.Print(records::Write("(27X,A8)", {std::string_view(maturity)}));
        pages_.lines = static_cast<int16_t>(pages_.lines + 1);
        printed = true;
    }
    if (printed) PageCheck();
}

void AppraisalPrinter::HoldingLine(int index, GroupTotals& group, bool pass_two) {
    const ValuedHolding& h = holdings_[static_cast<std::size_t>(index)];
    LineTexts& t = texts_;
    const bool cash = IsCash(h.symbol);
    const int type = h.type_number;
    double cost = h.cost;
    double market = h.market_value;
    double cost_basis = h.cost_basis;
    records::Drnd2(cost);
    records::Drnd2(market);
    records::Drnd2(cost_basis);
    // A market value that is not a number or too large for the page (a
    // damaged price or security record) prints as N/A and stays out of
    // every total.
    const bool unusable = market != kNoPriceValue && !records::ReportableAmount(market);
    if (unusable) Unusable(h.symbol);
    const bool priced = market != kNoPriceValue && !unusable;

    float pct = 0;
    std::string_view percent = PercentText(type, market, priced, pct);
    group.percent += pct;

    // Cash prints no quantity, unit cost or price.
    const QuantityColumns quantity =
        cash ? kBlankQuantity : QuantityTexts(h.quantity, cash, v_.blank_quantity_at_zero, t.whole, t.fraction);

    // Unit cost (in the variant from the total cost including
    // reinvestments) and price.
    UnitTexts(h, v_.unit_cost_from_basis ? cost_basis : cost, market, t.unit_cost, t.price);
    std::string_view market_text;
    if (!priced) {
        t.price = "     N/A";
        market_text = kNaMarket;
        if (!unusable) group.unpriced += 1;
    } else {
        Money16Into(market, t.market);
        market_text = t.market;
        group.market += market;
    }

    double income = AnnualIncome(h);
    const double income_unrounded = income;
    records::Drnd2(income);
    group.income += income;
    t.income.clear();
    records::Incom8(income, t.income);
    const std::string_view income_text = std::string_view(t.income).substr(0, 8);

    const std::string_view yield_text = YieldText(h, income, market, cost, priced);
    const std::string_view rate = RateText(h, cash);

    if (cash) {
        t.unit_cost.assign(8, ' ');
        t.price.assign(8, ' ');
    }

    group.cost += cost;
    Money16Into(cost, t.cost);
    if (pass_two) percent = "        ";
    PageCheck();

    AddToRunSums(h, cost, income, income_unrounded, market, priced);

    if (export_)
        export_->Holding({.symbol = h.symbol,
                          .quantity = h.quantity,
                          .unit_cost = t.unit_cost,
                          .cost = cost,
                          .price = t.price,
                          .market_value = priced ? market : kNoPriceValue,
                          .percent = std::string(percent)});

    // "(1X,A9,A1,A4,1X,A20,A8,A16,A8,A16,A8,1X,A9,A8,A6)", the description
    // cut or padded to its 20 characters.
    std::string& line = t.line;
    line.assign(1, ' ');
    records::AppendTextField(line, quantity.whole, 9);
    records::AppendTextField(line, quantity.separator, 1);
    records::AppendTextField(line, quantity.fraction4, 4);
    line.push_back(' ');
    AppendFixed(line, h.description1, 20);
    records::AppendTextField(line, t.unit_cost, 8);
    records::AppendTextField(line, t.cost, 16);
    records::AppendTextField(line, t.price, 8);
    records::AppendTextField(line, market_text, 16);
    records::AppendTextField(line, percent, 8);
    line.push_back(' ');
    records::AppendTextField(line, rate, 9);
    records::AppendTextField(line, income_text, 8);
    records::AppendTextField(line, yield_text, 6);
    pages_.Print(line);
    pages_.lines = static_cast<int16_t>(pages_.lines + 1);
    group.holdings += 1;
    group.last_type = type;

    DescriptionLine(h, cash);
    if (records::OptionOn(opt_, records::Opt::kBondDetails) && h.extension_read > 0) BondLines(h);
}

GroupTexts AppraisalPrinter::Totals(const GroupTotals& g, bool pass_two) const {
    GroupTexts t;
    const bool base_missing = head_.total_market_value == kNoPriceValue;
    t.percent = base_missing ? kNaPercent : Percent8(g.percent);
    if (pass_two) t.percent = std::string(8, ' ');
    t.cost = Money16(g.cost);
    t.income = Income10(g.income);
    if (g.unpriced > 0) {
        t.market = kNaMarket;
        t.gain = kNaGain;
        t.gain_percent = kNaShort;
        t.yield_text = kNaShort;
        t.yield = 0;
        return t;
    }
    const double gain = RoundedGain(g.market, g.cost);
    t.gain = Gain12(gain);
    t.gain_percent = WorkText("(' ',F5.1,'% ')", {g.cost != 0 ? 100.0 * gain / g.cost : 0.0}).substr(0, 8);
    t.market = Money16(g.market);
    double yield_base = 0;
    if (!records::OptionOn(opt_, records::Opt::kYieldOnCost) && g.market > 0) yield_base = g.market;
    if (records::OptionOn(opt_, records::Opt::kYieldOnCost) && g.cost > 0) yield_base = g.cost;
    t.yield = yield_base != 0 ? static_cast<float>(100.0 * g.income / yield_base) : 0.0f;
    std::string text(32, ' ');
    records::Intrat(yield_base, static_cast<float>(g.income), text);
    t.yield_text = text.substr(0, 8);
    return t;
}

// After a type's holdings: its total lines, its chart line and summary
// record, its group slot and its part of the portfolio totals.
void AppraisalPrinter::GroupEnd(int type, const std::string& name, const GroupTotals& g, bool pass_two) {
    const GroupTexts t = Totals(g, pass_two);
    if (g.holdings > 1 || type == kCommonStockType) {
        pages_.Print(records::Write("(48X,11('-'),13X,11('-'),3X,6('-'),12X,6('-'),1X,5('-'))"));
        pages_.lines = static_cast<int16_t>(pages_.lines + 1);
        v_.type_total(name, t.percent, t.cost, t.market, t.gain_percent, t.income, t.yield, pages_);
    }
    if (!pass_two && export_) export_->Slice(name, g.percent);
    records::AppraisalSummaryLine line;
    line.kind = static_cast<int16_t>(type);
    line.name = records::Fixed(name, 28);
    line.texts = {t.percent, t.cost, t.market, t.gain, t.yield_text, t.income};
    for (std::string& s : line.texts) s = records::Fixed(s, 32);
    line.last_type = static_cast<int16_t>(g.last_type);
    const bool written = pass_two ? summary_->AddAfterHeader(line) : summary_->Add(line);
    if (!written) {
        Fail(" TEMPHSUM.FIL could not be written; the appraisal pages end here.");
        return;
    }
    const std::size_t slot = pass_two ? kUnmanagedGroupSlot : slot_++;
    if (slot < run_.group_income.size()) {
        run_.group_income[slot] = static_cast<float>(g.income);
        if (g.cost != 0) run_.group_gain[slot] = static_cast<float>(g.market - g.cost);
    }
    if (pass_two) return;
    last_name_ = records::Fixed(name, 28);
    last_type_ = g.last_type;
    cost_ += g.cost;
    if (g.unpriced == 0) {
        income_ += g.income;
        market_ += g.market;
    } else {
        unpriced_ = true;
    }
}

bool AppraisalPrinter::TypeGroup(int type, bool pass_two) {
    const std::vector<int> kept = Kept(type, 0);
    if (kept.empty()) return true;
    PageCheck();
    std::string name(28, ' ');
    int16_t status = 0;
    v_.type_subtitle(type, name, status, pages_);
    if (status != 0) return false;
    GroupTotals g;
    for (int i : kept) HoldingLine(i, g, pass_two);
    GroupEnd(type, name, g, pass_two);
    return !failed_;
}

bool AppraisalPrinter::CommonStocks() {
    std::array<int, kLastCategory> counts{};
    for (const ValuedHolding& h : holdings_) {
        if (h.type_number != kCommonStockType) continue;
        const int c = h.category >= 1 && h.category <= kLastCategory ? h.category : kLastCategory;
        ++counts[static_cast<std::size_t>(c - 1)];
    }
    if (head_.order == kCallerOrders) {
        // Only the categories of the caller's list count.
        counts = {};
        for (int16_t n : order_) {
            if (n <= 1 || n - 2 >= static_cast<int>(holdings_.size())) continue;
            const ValuedHolding& h = holdings_[static_cast<std::size_t>(n - 2)];
            if (h.type_number != kCommonStockType) continue;
            const int c = h.category >= 1 && h.category <= kLastCategory ? h.category : kLastCategory;
            ++counts[static_cast<std::size_t>(c - 1)];
        }
    }
    if (std::all_of(counts.begin(), counts.end(), [](int c) { return c == 0; })) return true;

    GroupTotals stocks;
    std::string type_name(28, ' ');
    bool subtitle = false;
    for (int category = 1; category <= kLastCategory; ++category) {
        if (counts[static_cast<std::size_t>(category - 1)] == 0) continue;
        const std::vector<int> kept = Kept(kCommonStockType, category);
        if (kept.empty()) continue;
        PageCheck();
        int16_t status = 0;
        if (!subtitle) {
            v_.type_subtitle(kCommonStockType, type_name, status, pages_);
            if (status != 0) return false;
            subtitle = true;
        }
        std::string name(28, ' ');
        v_.category_subtitle(category, name, status, pages_);
        if (status != 0) return false;
        GroupTotals g;
        for (int i : kept) HoldingLine(i, g, false);
        const GroupTexts t = Totals(g, false);
        if (g.holdings > 1 && !small_page_word_) {
            pages_.Print(records::Write("(48X,11('-'),13X,11('-'),3X,6('-'),12X,6('-'),1X,5('-'))"));
            pages_.lines = static_cast<int16_t>(pages_.lines + 1);
            v_.category_total(t.percent, t.cost, t.market, t.gain_percent, t.income, t.yield, pages_);
        }
        PageCheck();
        records::AppraisalSummaryLine line;
        line.kind = 0;
        line.name = records::Fixed(name, 28);
        line.texts[0] = records::Fixed(WorkText("(F20.4)", {g.market}), 32);
        line.texts[1] = records::Fixed(t.percent, 32);
        line.texts[2] = records::Fixed(t.market, 32);
        line.last_type = static_cast<int16_t>(g.last_type);
        if (!summary_->Add(line)) {
            Fail(" TEMPHSUM.FIL could not be written; the appraisal pages end here.");
            return false;
        }
        if (stock_records_ == 0) first_category_index_ = summary_->count();
        ++stock_records_;
        stocks.Add(g);
    }
    // The common stocks total record, then the type's own record.
    const GroupTexts t = Totals(stocks, false);
    records::AppraisalSummaryLine line;
    line.kind = 0;
    line.name = records::Fixed(type_name, 28);
    line.texts[0] = records::Fixed(WorkText("(F20.4)", {stocks.market}), 32);
    line.texts[1] = records::Fixed(t.percent, 32);
    line.texts[2] = records::Fixed(t.market, 32);
    line.last_type = static_cast<int16_t>(stocks.last_type);
    if (!summary_->Add(line)) {
        Fail(" TEMPHSUM.FIL could not be written; the appraisal pages end here.");
        return false;
    }
    stock_total_index_ = summary_->count();
    ++stock_records_;
    stock_market_ = stocks.market;
    GroupEnd(kCommonStockType, type_name, stocks, false);
    return !failed_;
}

void AppraisalPrinter::Accrued() {
    const double accrued = head_.total_accrued;
    if (v_.accrued_only_positive ? accrued > 0 : accrued != 0) {
        double pct = 0;
        std::string percent;
        if (head_.total_market_value == kNoPriceValue) {
            percent = kNaPercent;
        } else {
            if (!(v_.percent_of_type && records::OptionOn(opt_, records::Opt::kAssetClassPercent)) &&
                head_.total_market_value != 0)
                pct = 100.0 * accrued / head_.total_market_value;
            percent = Percent8(pct);
        }
        const std::string name = records::Fixed(kAccruedName, 28);
        if (v_.accrued_blank_first) pages_.Print(std::string(records::kReportLineWidth, ' '));
        pages_.Print(records::Write(
            "(16X,A28,24X,A16,1X,A8)",
            {std::string_view(name), std::string_view(Money16(accrued)), std::string_view(percent)}));
        if (!v_.accrued_blank_first) pages_.Print(std::string(records::kReportLineWidth, ' '));
        pages_.lines = static_cast<int16_t>(pages_.lines + 2);
        records::AppraisalSummaryLine line;
        line.kind = records::kAccruedInterestKind;
        line.name = name;
        line.texts[0] = records::Fixed(percent, 32);
        line.texts[2] = records::Fixed(Money16(accrued), 32);
        line.last_type = kCashType;
        if (!summary_->Add(line)) {
            Fail(" TEMPHSUM.FIL could not be written; the appraisal pages end here.");
            return;
        }
        // The chart takes the share of the portfolio, whatever the page's
        // percentage column shows.
        const double base = head_.total_market_value;
        if (export_) export_->Slice(name, base != 0 && base != kNoPriceValue ? 100.0 * accrued / base : 0.0);
        const std::size_t slot = slot_++;
        if (slot < run_.group_income.size()) {
            run_.group_income[slot] = kNotAvailable;
            run_.group_gain[slot] = kNotAvailable;
        }
    }
    if (records::OptionOn(opt_, records::Opt::kBondDetails) && head_.average_years != 0) {
        pages_.Print(std::string(records::kReportLineWidth, ' '));
        pages_.Print(records::Write("(16X,'AVERAGE YEARS TO MATURITY',F8.1)", {head_.average_years}));
        pages_.lines = static_cast<int16_t>(pages_.lines + 2);
    }
}

void AppraisalPrinter::Portfolio() {
    const double gain = RoundedGain(market_, cost_);
    std::string gain_text = Gain12(gain);
    const double market = market_ + head_.total_accrued;
    std::string cost_text = Money16(cost_);
    std::string market_text = Money16(market);
    std::string loan_text = Money16(loan_);
    const std::string income_text = Income10(income_);
    double yield_base = 0;
    if (!records::OptionOn(opt_, records::Opt::kYieldOnCost) && market > 0) yield_base = market;
    if (records::OptionOn(opt_, records::Opt::kYieldOnCost) && cost_ > 0) yield_base = cost_;
    float yield = !unpriced_ && yield_base != 0 ? static_cast<float>(100.0 * income_ / yield_base) : 0.0f;
    std::array<unsigned char, 7> shares{};
    // Whole percentages 0-100; a share that is not a number (a total that
    // is not) counts as 0.
    if (market != 0)
        for (std::size_t c = 0; c < shares.size(); ++c) {
            const double share = allocation_[c] / market * 100 + 0.5;
            if (std::isfinite(share)) shares[c] = static_cast<unsigned char>(std::clamp(share, 0.0, 100.0));
        }
    if (unpriced_) {
        market_text = kNaMarket;
        loan_text = kNaMarket;
        gain_text = kNaGain;
        yield = 0;
    }
    const bool no_cost = records::OptionOn(opt_, records::Opt::kTimeWeightedReturn);
    if (no_cost) cost_text = std::string(16, ' ');
    const std::string dashes = no_cost ? std::string(16, ' ') : std::string(16, '-');
    const std::string equals = no_cost ? std::string(16, ' ') : std::string(16, '=');
    pages_.Print(records::Write("(44X,A16,8X,'----------------',2X,'------',12X,'------',1X,'-----',A1)",
                                {std::string_view(dashes), " "}));
    pages_.Print(records::Write("(1X)"));
    pages_.Print(records::Write("(21X,'TOTAL PORTFOLIO',8X,A16,8X,A16,2X,'100.0%',8X,A10,F5.1,'%')",
                                {std::string_view(cost_text), std::string_view(market_text),
                                 std::string_view(income_text), static_cast<double>(yield)}));
    pages_.Print(records::Write("(44X,A16,8X,'================',2X,'======',12X,'======',1X,'=====')",
                                {std::string_view(equals)}));
    pages_.Print(std::string(records::kReportLineWidth, ' '));
    pages_.lines = static_cast<int16_t>(pages_.lines + 5);
    if (records::OptionOn(opt_, records::Opt::kLoanLimitAndExtracts)) {
        pages_.Print(
            records::Write("(21X,'LOAN DISBURSEMENT LIMIT',24X,A16)", {std::string_view(loan_text)}));
        pages_.lines = static_cast<int16_t>(pages_.lines + 1);
    }

    records::AppraisalSummaryLine line;
    line.kind = 0;
    line.name = last_name_;
    line.texts = {cost_text, market_text, gain_text, Percent8(yield), income_text, ""};
    for (std::string& s : line.texts) s = records::Fixed(s, 32);
    line.last_type = static_cast<int16_t>(last_type_);
    if (!summary_->Add(line)) {
        Fail(" TEMPHSUM.FIL could not be written; the appraisal pages end here.");
        return;
    }
    records::AppraisalSummaryHeader header;
    header.report_date = head_.report_date;
    header.stock_records = stock_records_;
    header.stock_market_value = stock_market_;
    header.first_category_index = first_category_index_;
    header.stock_total_index = stock_total_index_;
    header.heading_name = pages_.name;
    header.work_word = head_.account_word;
    header.allocation = shares;
    header.name = head_.name;
    if (!summary_->WriteHeader(header))
        Fail(" TEMPHSUM.FIL could not be written; the appraisal pages end here.");
}

void AppraisalPrinter::Print(int16_t& title_flag) {
    opt_ = records::Rdopts();
    pages_.mode = run_.output_mode;
    pages_.options = opt_;
    pages_.shared = &run_.current;
    run_.classes = AssetClassTotals{};
    run_.group_income = {};
    run_.group_gain = {};

    const bool read = ReadWork();
    if (head_.order != records::kReaderOrders) run_.current.address_word = 0;
    pages_.report_date = records::Fixed(head_.report_date, 8);
    pages_.account = records::Fixed(head_.account, 8);
    std::string centred = records::Fixed(head_.name, 32);
    int16_t blank = 0;
    records::Center(centred, 32, blank);
    pages_.name = centred;
    if (v_.export_file)
        export_.emplace(records::OptionValue(opt_, records::Opt::kAppraisalExportType), head_.account,
                        head_.name);
    // A writing that ends early leaves no records of an earlier account
    // behind for the summary pages to take as this one's.
    summary_.emplace(records::AppraisalSummaryWriter::Start::Emptied);

    small_page_word_ = head_.page_word <= 2;
    pages_.page = static_cast<int16_t>(-head_.page_word);
    Heading();
    // The usable length is fixed at the first heading.
    usable_ = pages_.page_length - 7;
    title_flag = pages_.title_flag;

    if (!read || !summary_->ok()) {
        Fail(read ? " TEMPHSUM.FIL could not be opened; the appraisal pages end here." : read_failure_);
        End();
        return;
    }

    bool go_on = true;
    for (std::size_t pos = 0; go_on && pos < static_cast<std::size_t>(kPassOneGroups); ++pos) {
        if (pos == kAccruedPosition) {
            Accrued();
            if (failed_) break;
        }
        const int type = kAppraisalTypeOrder[pos];
        if (head_.type_flags[static_cast<std::size_t>(type - 1)] == 0) continue;
        go_on = type == kCommonStockType ? CommonStocks() : TypeGroup(type, false);
    }
    if (go_on && !failed_) Portfolio();
    if (go_on && !failed_ && head_.type_flags[kUnmanagedType - 1] != 0) TypeGroup(kUnmanagedType, true);
    End();
}

void AppraisalPrinter::End() {
    summary_.reset();
    {
        records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength, /*create=*/false);
        if (work.ok()) work.Write(1, records::EmptyAppraisalHeader());
    }
    export_.reset();
    if (run_.keep_work_file)
        run_.work_file_kept = true;
    else
        records::Purge(records::kAppraisalWorkFile);
    if (records::OptionValue(opt_, records::Opt::kAppendNotes) == 1) Apacct(run_.current.index, 1, pages_);
    if (!pages_.writing()) records::Peject();
    // The accrued interest belongs to the cash class, or in the variant to
    // the fixed income class.
    run_.classes.market_value[v_.accrued_fixed_income ? 1 : 0] += head_.total_accrued;
    run_.total_accrued = head_.total_accrued;
    records::Prmsg(pages_.lines, pages_.page_length, pages_.mode,
                   std::string(records::kReportLineWidth, ' '));
}

}  // namespace

void Clntapr2(AppraisalRun& run, int16_t& step, const std::vector<int16_t>& order, int16_t& title_flag,
              const std::string& title, const engine::CategoryTable& classes) {
    (void)title;  // the heading prints its own title
    PrintAppraisalPages(run, order, classes, AppraisalPageVariant{}, title_flag);
    step = kStepSummaryPage;
}

void PrintAppraisalPages(AppraisalRun& run, const std::vector<int16_t>& order,
                         const engine::CategoryTable& classes, const AppraisalPageVariant& variant,
                         int16_t& title_flag) {
    AppraisalPrinter printer(run, order, classes, variant);
    printer.Print(title_flag);
}

}  // namespace reports

#include "reports/appraisal/working_appraisal_pages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>

#include "engine/value_history.h"
#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/holdings_control.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_types.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holding_periods.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/page_headings.h"

namespace reports {

namespace {

using records::Record;

constexpr double kNoValue = records::kNoPriceValue;  // -99999.99
constexpr float kNoRate = -999.99f;
constexpr std::size_t kCommonLength = 128;
constexpr int kCashType = 2;
constexpr int kCommonStockType = 18;
constexpr int kUnitPricedType = 29;     // S
constexpr int kTimes100Type = 28;       // R
constexpr int kUnmanagedType = 36;      // Z
constexpr int kAccruedBeforeType = 34;  // X: the first of X P N H J L R S T in the print order
constexpr int kPageKindRecord = 17;
constexpr int kCategories = 99;
// The gain column of a total line without a market value. The total lines
// print 9 positions of it, so the N/A stands in positions 7-9 (three
// places further right, it would print cut to "N/").
constexpr const char* kTotalGainNoValue = "('      N/A   ',20X)";

// A text field as printed: bytes never written (zeros) print as blanks.
std::string Clean(std::string s) {
    std::replace(s.begin(), s.end(), '\0', ' ');
    return s;
}

// The fixed texts a detail line may print, each written under its layout
// once a run rather than once a line.
struct FixedTexts {
    std::string blank = std::string(32, ' ');
    std::string percent_na = WorkText("(' N/A    ')", {});
    std::string unit_price_na = WorkText("('    N/A  ')", {});
    std::string market_na = WorkText("('        N/A ',20X)", {});
    std::string gain_na = WorkText("('      N/A   ',20X)", {});
    std::string rate_na = WorkText("('      N/A ')", {});
    std::string yield_na = WorkText("('    N/A     ')", {});
};

const FixedTexts& Fixeds() {
    static const FixedTexts texts;
    return texts;
}

std::string_view Part(const std::string& s, std::size_t at, std::size_t n) {
    return std::string_view(s).substr(at, n);
}

// A detail line is only text fields and blanks, so it is put together
// field by field with the layout engine's Aw rule (records::
// AppendTextField: the first w characters, or the text right-aligned after
// blanks when it is shorter) and blanks for nX: the engine's walk over
// eighteen items costs more than the line. The line is blanked at its
// width once and each field copied into its place.
class LineFields {
public:
    LineFields(std::string& line, std::size_t width) : line_(line) { line_.assign(width, ' '); }
    ~LineFields() { line_.resize(at_); }
    LineFields(const LineFields&) = delete;
    LineFields& operator=(const LineFields&) = delete;

    void X(std::size_t n) { Reach(at_ += n); }
    [[gnu::always_inline]] void A(std::string_view text, std::size_t w) {
        Reach(at_ + w);
        if (text.size() >= w)
            std::memcpy(line_.data() + at_, text.data(), w);
        else
            std::memcpy(line_.data() + at_ + (w - text.size()), text.data(), text.size());
        at_ += w;
    }

private:
    void Reach(std::size_t end) {
        if (end > line_.size()) Widen(end);
    }
    [[gnu::noinline]] void Widen(std::size_t end) { line_.resize(end, ' '); }
    std::string& line_;
    std::size_t at_ = 0;
};

// Column texts kept by the exact value they were written from, for the
// columns whose values come back lot after lot (quantities, rates, unit
// prices, yields, annual incomes): each is written under its layout once
// and then taken from here while it stays. The texts depend on the value
// alone. A direct-mapped cache, not a hash table: a value has one slot
// (the top bits of its bits times 2^64 over the golden ratio), and a value
// that falls on a slot held by another overwrites it. So the run keeps a
// bounded number of texts, and a text costs no allocation once its slot
// has held one.
template <class Text>
class DirectMappedTextCache {
public:
    template <class Make>
    const Text& Get(double value, Make make) {
        const auto key = std::bit_cast<uint64_t>(value);
        Slot& slot = slots_[SlotOf(key)];
        if (!slot.used || slot.key != key) {
            make(value, slot.text);
            slot.key = key;
            slot.used = true;
        }
        return slot.text;
    }

private:
    static constexpr int kBits = 12;
    static std::size_t SlotOf(uint64_t key) { return (key * 0x9E3779B97F4A7C15ull) >> (64 - kBits); }
    struct Slot {
        uint64_t key = 0;
        bool used = false;
        Text text;
    };
    std::vector<Slot> slots_ = std::vector<Slot>(std::size_t{1} << kBits);
};

// A quantity's whole part and its four decimals as Trncat gives them, the
// decimals blank when there are none.
struct QuantityTexts {
    std::string whole, digits;
    bool fraction = false;
};

void MakeQuantityTexts(double quantity, QuantityTexts& q) {
    q.whole.assign(32, ' ');
    q.digits.assign(32, ' ');
    double fraction = 0;
    records::Trncat(quantity, q.whole, fraction, q.digits);
    q.fraction = fraction != 0;
    if (!q.fraction) q.digits.assign(32, ' ');
}

// The kept texts of a run: one cache per column (a thread's own).
struct RunColumnTexts {
    DirectMappedTextCache<QuantityTexts> quantity;
    DirectMappedTextCache<std::string> unit_price;    // "(F8.3,' ')"
    DirectMappedTextCache<std::string> income;        // Incom8
    DirectMappedTextCache<std::string> yield;         // Yield6
    DirectMappedTextCache<std::string> percent_rate;  // "(F9.2,'%  ')"
    DirectMappedTextCache<std::string> plain_rate;    // "(F9.2,'   ')"
};

RunColumnTexts& KeptTexts() {
    static thread_local RunColumnTexts texts;
    return texts;
}

std::string Percent5(double pct) {
    return BracketedText(pct, "(F5.1,'   ')", 5);
}

void Percent5Into(std::string& text, double pct) {
    if (!records::EditedAmountInto(text, pct, 5, 1, false, true)) BracketedTextInto(text, pct, "(F5.1,'   ')", 5);
}

// The change from the prior month in the 8 positions that the group and
// account total lines give it (the detail and category total lines give
// it 10): the number edited over 7 positions, so that its last digits are
// never cut off.
std::string Change8(double change) {
    return NumberText(change, "(F8.0,' ')", 7, true);
}

std::string ChangeNotAvailable8() {
    return WorkText("('    N/A ')", {});
}

std::string Yield6(double y) {
    return BracketedText(y, "(F6.2,' ')", 6);
}

void Yield6Into(std::string& text, double y) {
    if (!records::EditedAmountInto(text, y, 6, 2, false, true)) BracketedTextInto(text, y, "(F6.2,' ')", 6);
}

// The name of type or category n (record n + 1 of its table); blanks,
// ok false, when it cannot be read.
std::string NameRecord(bool (*read)(long, Record&), long n, bool& ok) {
    ok = false;
    return n >= 1 ? records::NameInRecord(read, n + 1, ok) : std::string(28, ' ');
}

int TypeOf(char c) {
    static const std::string kChars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const auto at = kChars.find(c);
    return at == std::string::npos ? 37 : static_cast<int>(at) + 1;
}

// Sums of a group, a common-stock category or the common-stock code.
struct Sums {
    float percent = 0;
    double market = 0, cost = 0, income = 0;
    float change = 0;
    int count = 0;
    bool no_price = false;
};

}  // namespace

void HoldingsPage::Print(const std::string& line) const {
    if (writing()) records::Prtout(line);
}

void Wamt11(double amount, std::string& text) {
    if (!records::EditedAmountInto(text, amount, 11, 2, true, true)) NumberTextInto(text, amount, "(F11.2,' ')", 11, true);
}

void Wamt15(double amount, std::string& text) {
    if (!records::EditedAmountInto(text, amount, 15, 2, true, true)) NumberTextInto(text, amount, "(F15.2,' ')", 15, true);
}

namespace {

// The lines of the page heading under the firm's heading: the same on
// every page of an account.
std::vector<std::string> WaheadLines(const std::string& pricing_date, const std::string& name,
                                     const std::string& account, const std::string& program_date,
                                     char page_kind, int16_t run_kind, unsigned char option16,
                                     unsigned char option17, unsigned char option44,
                                     const std::string& second_name, const std::string& second_code,
                                     const std::string& manager, const std::string& objective) {
    std::string printed = records::Fixed(program_date, 8);
    std::string priced = records::Fixed(pricing_date, 8);
    const std::string printed12 = records::Fixed(records::H2000(printed), 12);
    const std::string priced12 = records::Fixed(records::H2000(priced), 12);
    const std::string blank(records::kReportLineWidth, ' ');
    std::vector<std::string> lines;
    const std::vector<records::OutItem> dates = {Part(printed12, 0, 4), Part(printed12, 4, 4),
                                                 Part(printed12, 8, 4), Part(priced12, 0, 4),
                                                 Part(priced12, 4, 4),  Part(priced12, 8, 4)};
    if (page_kind == 'I')
        lines.push_back(records::Write(
            "(2X,'DATE PRINTED:',3A4,31X,'WORKING APPRAISAL',19X,'PRICING DATE: ',3A4)", dates));
    else if (page_kind == 'B')
        lines.push_back(records::Write(
            "(2X,'DATE PRINTED:',3A4,29X,'UNREALIZED GAIN & LOSS',32X,'PRICING DATE: ',3A4)", dates));
    const std::string nm = records::Fixed(name, 32);
    const std::string sn = records::Fixed(second_name, 32);
    const std::string sc = records::Fixed(second_code, 8);
    const std::string id = records::Fixed(account, 8);
    const std::string basis = option44 >= 1 ? "COST" : " MKT";
    std::vector<records::OutItem> items;
    auto words = [&items](const std::string& s) {
        for (std::size_t i = 0; i < s.size(); i += 4) items.push_back(std::string_view(s).substr(i, 4));
    };
    if (run_kind == records::kHoldingsCompositeRun && option17 >= 1) {
        words(nm);
        words(sc);
        words(sn);
        lines.push_back(records::Write("(2X,'ACCOUNT: ',8A4,33X,2A4,8A4)", items));
        lines.push_back(blank);
        lines.push_back(records::Write("(95X,'CHG FROM    EST.    YLD')"));
        lines.push_back(
            records::Write("(30X,'% OF   TRADE    UNIT              MARKET','     MARKET      UNREAL.   "
                           "PRIOR    ANNUAL   TO')"));
        lines.push_back(
            records::Write("(2X,'QUANTITY    DESCRIPTION    ASSETS','   DATE    COST      COST    PRICE      "
                           "VALUE  ','       G/L     MONTH    INCOME  ',A4)",
                           {std::string_view(basis)}));
        lines.push_back(blank);
    } else {
        words(id);
        words(nm);
        words(sc);
        words(sn);
        lines.push_back(records::Write("(2X,'ACCOUNT: ',2A4,'- ',8A4,33X,2A4,8A4)", items));
        const std::string obj = records::Fixed(objective, 4);
        if (!records::IsBlank(obj))
            lines.push_back(records::Write("(2X,'INVESTMENT OBJECTIVE: ',A4)", {std::string_view(obj)}));
        if (option16 == 2) {
            lines.push_back(records::Write("(97X,'         EST.    YLD')"));
            lines.push_back(
                records::Write("(30X,'% OF   TRADE    UNIT              MARKET','    MARKET   UNREALIZED   "
                               "DIV/INT/ ANNUAL   TO')"));
            lines.push_back(records::Write(
                "(2X,'QUANTITY    DESCRIPTION    ASSETS','   DATE    COST      COST     PRICE   "
                "  VALUE  ',' GAIN(LOSS)      YTM   INCOME  ',A4)",
                {std::string_view(basis)}));
        } else {
            const std::string word = ManagerHeading(manager);
            if (records::IsBlank(word))
                lines.push_back(blank);
            else
                lines.push_back(records::Write("(55X,'PORTFOLIO MANAGER : ',A4)", {std::string_view(word)}));
            lines.push_back(records::Write("(98X,'IND.    EST.    YLD')"));
            lines.push_back(
                records::Write("(30X,'% OF   TRADE    UNIT              MARKET','    MARKET   UNREALIZED   "
                               "DIV/INT  ANNUAL   TO')"));
            lines.push_back(records::Write(
                "(2X,'QUANTITY    DESCRIPTION    ASSETS','   DATE    COST      COST     PRICE   "
                "  VALUE  ',' GAIN(LOSS)     RATE   INCOME  ',A4)",
                {std::string_view(basis)}));
        }
        lines.push_back(blank);
    }
    return lines;
}

// The firm's heading, then the lines.
void PrintHeading(HoldingsPage& p, const std::vector<std::string>& lines) {
    records::Pghead(p.page, p.lines, p.page_length);
    for (const std::string& line : lines) p.Print(line);
    p.lines = 11;
}

}  // namespace

void Wahead(HoldingsPage& p, const std::string& pricing_date, const std::string& name,
            const std::string& account, const std::string& program_date, char page_kind, int16_t run_kind,
            unsigned char option16, unsigned char option17, unsigned char option44,
            const std::string& second_name, const std::string& second_code, const std::string& manager,
            const std::string& objective) {
    if (!p.writing()) {
        records::Headr2(p.page, p.lines, p.page_length);
        p.lines = 11;
        return;
    }
    PrintHeading(p, WaheadLines(pricing_date, name, account, program_date, page_kind, run_kind, option16,
                                option17, option44, second_name, second_code, manager, objective));
}

namespace {

void Title(bool (*read)(long, Record&), const char* layout, int n, std::string& title, int16_t& status,
           const HoldingsPage& p) {
    bool ok = false;
    title = NameRecord(read, n, ok);
    status = ok ? 0 : 1;
    p.Print(std::string(records::kReportLineWidth, ' '));
    p.Print(
        records::Write(layout, {Part(title, 0, 4), Part(title, 4, 4), Part(title, 8, 4), Part(title, 12, 4),
                                Part(title, 16, 4), Part(title, 20, 4), Part(title, 24, 4)}));
}

std::string Rule(int16_t run_kind, unsigned char option17) {
    if (run_kind == records::kHoldingsCompositeRun && option17 >= 1)
        return records::Write(
            "(51X,'------------',9X,'------------',2X,'--------',2X,'--------',1X,'------- -----')");
    return records::Write(
        "(51X,'------------',9X,'------------',2X,'--------',2X,'       ',2X,'------- -----')");
}

}  // namespace

void Watype(int index, std::string& title, int16_t& status, const HoldingsPage& p) {
    Title(records::ReadTypeNameRecord, "(12X,7A4)", index, title, status, p);
}

void Wacat(int category, std::string& title, int16_t& status, const HoldingsPage& p) {
    Title(records::ReadCategoryNameRecord, "(14X,7A4)", category, title, status, p);
}

void Watot(int index, std::string title, const TotalTexts& t, int16_t run_kind, unsigned char option17,
           const HoldingsPage& p) {
    if (index != kCommonStockType) title = std::string(28, ' ');
    title = records::Fixed(title, 28);
    p.Print(Rule(run_kind, option17));
    p.Print(records::Write("(6X,'TOTAL ',3A4,A12,11X,A16,5X,A16,1X,A9,A8,A10,A7)",
                           {Part(title, 0, 4), Part(title, 4, 4), Part(title, 8, 4), Part(t.percent, 0, 12),
                            Part(t.cost, 0, 16), Part(t.market, 0, 16), Part(t.gain, 0, 9),
                            Part(t.column, 0, 8), Part(t.income, 0, 10), Part(t.yield, 0, 7)}));
    p.Print(std::string(records::kReportLineWidth, ' '));
}

void Wactot(const std::string& title, const TotalTexts& t, int16_t run_kind, unsigned char option17,
            HoldingsPage& p) {
    if (records::IsBlank(records::Fixed(title, 12))) return;
    p.Print(Rule(run_kind, option17));
    p.Print(records::Write(
        "(12X,'TOTAL ',6X,A12,11X,A16,5X,A16,1X,A9,A10,A8,A7)",
        {Part(t.percent, 0, 12), Part(t.cost, 0, 16), Part(t.market, 0, 16), Part(t.gain, 0, 9),
         Part(t.column, 0, 10), Part(t.income, 0, 8), Part(t.yield, 0, 7)}));
    p.lines = static_cast<int16_t>(p.lines + 2);
}

namespace {

// One Prhold call.
class HoldingsPages {
public:
    HoldingsPages(int16_t mode, const std::vector<int16_t>& order) : order_(order) { page_.mode = mode; }

    // Prints the pages; false when they ended early.
    bool Print();
    void Post();
    void EndState(int16_t& state);

private:
    bool Composite() const { return head_.run_kind == records::kHoldingsCompositeRun; }
    bool ChangeColumn() const {
        return Composite() && records::OptionOn(opt_, records::Opt::kChangeFromPriorMonth);
    }
    void Heading();
    void CheckReached() {
        if (page_.lines >= page_.page_length - 4) Heading();
    }
    void Stop(const std::string& why) { page_.Print(" " + why); }
    void AccruedLines();
    // Prints the lines of a group; false when a line cannot be read.
    bool Lines(int type, const std::vector<int16_t>& records, Sums& sums);
    bool Line(int type, int16_t number, Sums& sums);
    void PercentOfAssets(int type, const records::HoldingsWorkRecord& w, bool unpriced, Sums& s,
                         float& pct_value, std::string& pct) const;
    void MarketAndGain(const records::HoldingsWorkRecord& w, bool unpriced, Sums& s, std::string_view& unit_price,
                       std::string& market, std::string& gain);
    std::string_view RateColumn(int type, const records::HoldingsWorkRecord& w, Sums& s);
    void AddToCash(const records::HoldingsWorkRecord& w, float pct_value, bool unpriced, double income);
    void DescriptionLine(const records::HoldingsWorkRecord& w, bool cash, std::string_view& digits);
    void BondLines(const records::HoldingsWorkRecord& w);
    TotalTexts Totals(const Sums& s, bool group, bool blank_percent) const;
    void AddToAccount(const Sums& s);

    // The work file's records sorted into the groups that print them.
    struct Groups {
        std::map<int, std::vector<int16_t>> of_type;
        std::array<std::vector<int16_t>, kCategories + 1> of_category;
        const std::vector<int16_t>& Select(int type, int category) const;
    };
    void ReadSettings();
    bool SortIntoGroups(Groups& groups);
    void AccountTotal();
    void LessCashTotal(double gain);
    bool TypeGroup(int type, const std::vector<int16_t>& list);
    bool CommonStocks(const Groups& groups);

    HoldingsPage page_;
    // TEMP1.WRK, read whole as the pages start, and the lot in hand,
    // decoded into one kept record.
    std::vector<unsigned char> work_;
    long work_records_ = 0;
    records::HoldingsWorkRecord w_;
    const std::vector<int16_t>& order_;
    records::Options opt_{};
    std::string program_date_ = std::string(8, ' ');
    char page_kind_ = ' ';
    records::HoldingsControlRecord control_;
    int16_t position_ = 0, count_ = 0;
    records::HoldingsWorkHeader head_;
    bool head_read_ = false;
    std::string pricing_ = std::string(8, ' ');
    std::string account_ = std::string(8, ' ');
    float pricing_number_ = 0;
    std::string coupon_code_;  // the code word of Ckdesc: a blank and option 2
    bool pair_written_ = false;

    // Account sums.
    double market_ = 0, cost_ = 0, income_ = 0;
    float change_ = 0;
    bool no_price_ = false;
    bool total_priced_ = false;  // the account total holds a market value
    double total_market_ = 0;    // as printed, accrued interest included
    Sums cash_;

    // The texts of a detail line, kept from one line to the next so that
    // a line builds them without allocating.
    struct LineTexts {
        std::string pct, unit_cost, market, gain, cost, trade, column, desc2, line;
    };
    LineTexts t_;

    // The heading's lines, made at the first page: what they are made of
    // stays the same while the pages of one account print.
    std::vector<std::string> heading_lines_;
};

void HoldingsPages::Heading() {
    const unsigned char option16 = records::OptionValue(opt_, records::Opt::kRateOrYieldToMaturity);
    const unsigned char option17 = records::OptionValue(opt_, records::Opt::kChangeFromPriorMonth);
    const unsigned char option44 = records::OptionValue(opt_, records::Opt::kYieldOnCost);
    if (!page_.writing()) {
        Wahead(page_, pricing_, head_.name, account_, program_date_, page_kind_, head_.run_kind, option16,
               option17, option44, head_.second_name, head_.second_code, control_.manager, head_.objective);
        return;
    }
    // The heading's lines are written once an account and printed on each
    // of its pages.
    if (heading_lines_.empty())
        heading_lines_ = WaheadLines(pricing_, head_.name, account_, program_date_, page_kind_,
                                     head_.run_kind, option16, option17, option44, head_.second_name,
                                     head_.second_code, control_.manager, head_.objective);
    PrintHeading(page_, heading_lines_);
}

void HoldingsPages::AccruedLines() {
    const std::string blank(records::kReportLineWidth, ' ');
    const double accrued = head_.accrued_interest;
    const double pv = head_.portfolio_value;
    if (accrued > 0) {
        std::string pct;
        if (pv == kNoValue)
            pct = WorkText("(' N/A    ')", {});
        else
            pct = Percent5(pv == 0 ? 0.0 : 100.0 / pv * accrued);
        std::string amount;
        Wamt11(accrued, amount);
        page_.Print(blank);
        page_.Print(records::Write("(7X,'TOTAL ACCRUED INTEREST',A6,37X,A12)",
                                   {Part(pct, 0, 6), Part(amount, 0, 12)}));
        page_.lines = static_cast<int16_t>(page_.lines + 2);
        pair_written_ = true;
    }
    if (records::OptionOn(opt_, records::Opt::kBondDetails) && head_.average_years != 0) {
        page_.Print(blank);
        page_.Print(records::Write("(7X,'AVERAGE YEARS TO MATURITY',F8.1)", {head_.average_years}));
        page_.lines = static_cast<int16_t>(page_.lines + 2);
        pair_written_ = true;
    }
    // The pair stands once, before the first of its types, whether or not
    // either line was written.
    pair_written_ = true;
}

// % of assets; blank for the unmanaged holdings. `pct_value` is the
// figure the group adds up, kNoRate when there is none.
void HoldingsPages::PercentOfAssets(int type, const records::HoldingsWorkRecord& w, bool unpriced, Sums& s,
                                    float& pct_value, std::string& pct) const {
    const double pv = head_.portfolio_value;
    pct_value = kNoRate;
    if (type == kUnmanagedType) {
        pct = Fixeds().blank;
        return;
    }
    if (pv == kNoValue || unpriced) {
        pct = Fixeds().percent_na;
        return;
    }
    pct_value = static_cast<float>(pv == 0 ? 0.0 : 100.0 / pv * w.market_value);
    s.percent += pct_value;
    Percent5Into(pct, pct_value);
}

// The unit cost and price columns; blank for a zero quantity. The unit
// cost is written into the text kept for it.
void UnitTexts(int type, const records::HoldingsWorkRecord& w, std::string& cost_text,
               std::string_view& unit_cost, std::string_view& unit_price) {
    unit_cost = Fixeds().blank;
    unit_price = Fixeds().blank;
    if (w.quantity == 0) return;
    double uc = w.cost / w.quantity;
    double up = w.market_value / w.quantity;
    if (w.percent_priced != 0) {
        uc *= 100;
        up *= 100;
    }
    if (type == kTimes100Type) {
        uc /= 100;
        up /= 100;
    }
    if (!records::EditedAmountInto(cost_text, uc, 7, 2, false, false)) WorkTextInto(cost_text, "(F7.2,' ')", {uc});
    unit_cost = cost_text;
    unit_price = KeptTexts().unit_price.Get(up, [](double v, std::string& text) {
        if (!records::EditedAmountInto(text, v, 8, 3, false, false)) WorkTextInto(text, "(F8.3,' ')", {v});
    });
}

// The annual income, rounded: the rate times the quantity, in hundredths
// for the per-hundred, cash, unit-priced and some unmanaged holdings.
double AnnualIncome(int type, const records::HoldingsWorkRecord& w) {
    double income = w.rate == kNoRate ? 0.0 : static_cast<double>(w.rate) * w.quantity;
    if (w.percent_priced != 0 || type == kCashType || type == kUnitPricedType ||
        (type == kUnmanagedType &&
         (records::Fixed(w.type_code, 4) == "1   " || records::Fixed(w.type_code, 4) == "S   ")))
        income /= 100;
    records::Drnd2(income);
    return income;
}

// The trade date as printed: blank when its month is not a number above 0.
void TradeDateText(const std::string& trade_date, std::string& trade) {
    trade.assign(trade_date, 0, 8);
    trade.resize(8, ' ');
    int month = 0;
    const std::string_view mm = std::string_view(trade).substr(0, 2);
    for (char c : mm)
        if (c >= '0' && c <= '9') month = month * 10 + (c - '0');
    if (mm.find_first_not_of(" 0123456789") != std::string_view::npos) month = 0;
    if (month <= 0) trade.assign(8, ' ');
}

// The market value and gain columns, the gain marked long or short term;
// N/A for an unpriced holding, which also marks the group and the account.
void HoldingsPages::MarketAndGain(const records::HoldingsWorkRecord& w, bool unpriced, Sums& s,
                                  std::string_view& unit_price, std::string& market, std::string& gain) {
    if (unpriced) {
        s.no_price = true;
        no_price_ = true;
        unit_price = Fixeds().unit_price_na;
        market = Fixeds().market_na;
        gain = Fixeds().gain_na;
        return;
    }
    Wamt11(w.market_value, market);
    s.market += w.market_value;
    double g = w.market_value - w.cost;
    records::Drnd2(g);
    if (!records::EditedAmountInto(gain, g, 9, 0, true, false)) NumberTextInto(gain, g, "(F9.0,'   ')", 9, false);
    if (g != 0) gain[11] = WorkingAppraisalLongTerm(LotDateNumber(w.trade_date), pricing_number_) ? 'L' : 'S';
    if (g < 0) records::Brackt(gain, 9);
}

// The rate column: the change from the prior month (composite runs with
// option 17), the rate, or the yield to maturity.
std::string_view HoldingsPages::RateColumn(int type, const records::HoldingsWorkRecord& w, Sums& s) {
    const bool rate_type = (type == kCashType || type == 18 || type == 20 || type == 22 || type == 24 ||
                            type == 26 || type == kTimes100Type || type == kUnitPricedType) &&
                           w.reclassified <= 0;
    if (ChangeColumn()) {
        if (w.month_change == kNoRate) return Fixeds().gain_na;
        s.change += w.month_change;
        NumberTextInto(t_.column, w.month_change, "(F10.0,'  ')", 9, true);
        return t_.column;
    }
    RunColumnTexts& kept = KeptTexts();
    const auto percent = [](double v, std::string& text) { WorkTextInto(text, "(F9.2,'%  ')", {v}); };
    if (records::OptionValue(opt_, records::Opt::kRateOrYieldToMaturity) == 1 || rate_type) {
        if (w.rate == kNoRate) return Fixeds().rate_na;
        if (type == kCashType || w.percent_priced != 0)
            return kept.percent_rate.Get(static_cast<double>(w.rate), percent);
        return kept.plain_rate.Get(static_cast<double>(w.rate),
                                   [](double v, std::string& text) { WorkTextInto(text, "(F9.2,'   ')", {v}); });
    }
    if (w.extended_yield > 0) return kept.percent_rate.Get(static_cast<double>(w.extended_yield), percent);
    return Fixeds().yield_na;
}

// A cash holding's share of the cash sums, which the "LESS CASH" line of
// the account total takes off.
void HoldingsPages::AddToCash(const records::HoldingsWorkRecord& w, float pct_value, bool unpriced,
                              double income) {
    if (pct_value == kNoRate)
        cash_.percent = static_cast<float>(kNoValue);
    else if (cash_.percent != static_cast<float>(kNoValue))
        cash_.percent += pct_value;
    cash_.cost += w.cost;
    if (!unpriced) cash_.market += w.market_value;
    if (w.month_change != kNoRate) cash_.change += w.month_change;
    cash_.income += income;
}

// The second description line, filled from the rate and maturity when
// empty, with the quantity's decimals; they print once, here or on the
// symbol line.
void HoldingsPages::DescriptionLine(const records::HoldingsWorkRecord& w, bool cash,
                                    std::string_view& digits) {
    std::string& desc2 = t_.desc2;
    desc2.assign(w.description2, 0, 32);
    desc2.resize(32, ' ');
    // Ckdesc fills only a blank description, and only from a date that
    // does not start with four blanks.
    bool blank = records::IsBlank(desc2);
    if (blank && !cash && w.type_code != "1   " && !records::OptionOn(opt_, records::Opt::kBondDetails) &&
        !records::IsBlank(std::string_view(w.maturity_date).substr(0, 4))) {
        records::Ckdesc(desc2, coupon_code_, w.rate, w.maturity_date);
        blank = records::IsBlank(desc2);
    }
    if (!blank) {
        // "(5X,A4,2X,8A4)"
        std::string& line = t_.line;
        {
            LineFields f(line, 43);
            f.X(5);
            f.A(digits, 4);
            f.X(2);
            f.A(desc2, 32);
        }
        page_.Print(line);
        ++page_.lines;
        digits = Fixeds().blank;
    }
}

// The bond lines: ratings and insurance, call and put terms, rate and
// maturity.
void HoldingsPages::BondLines(const records::HoldingsWorkRecord& w) {
    const std::string r1 = records::Fixed(w.rating1, 4), r2 = records::Fixed(w.rating2, 4);
    const std::string ins = records::Fixed(w.insurance, 5);
    if (!records::IsBlank(r1) || !records::IsBlank(r2) || static_cast<unsigned char>(ins[0]) > ' ') {
        page_.Print(records::Write("(13X,A4,2X,A4,2X,5A1)",
                                   {std::string_view(r1), std::string_view(r2), Part(ins, 0, 1),
                                    Part(ins, 1, 1), Part(ins, 2, 1), Part(ins, 3, 1), Part(ins, 4, 1)}));
        ++page_.lines;
    }
    const std::string cf = records::Fixed(w.call_feature, 4), pf = records::Fixed(w.put_feature, 4);
    const std::string cd = records::Fixed(w.call_date, 8), pd = records::Fixed(w.put_date, 8);
    if (!records::IsBlank(cf) || !records::IsBlank(pf) || !records::IsBlank(cd) || !records::IsBlank(pd) ||
        w.call_price > 0 || w.put_price > 0) {
        const std::string cp =
            w.call_price > 0 ? records::Write("(F7.2)", {w.call_price}) : std::string(7, ' ');
        const std::string pp =
            w.put_price > 0 ? records::Write("(F7.2)", {w.put_price}) : std::string(7, ' ');
        page_.Print(records::Write("(13X,A2,2A4,A7,1X,A2,2A4,A7)",
                                   {Part(cf, 0, 2), Part(cd, 0, 4), Part(cd, 4, 4), std::string_view(cp),
                                    Part(pf, 0, 2), Part(pd, 0, 4), Part(pd, 4, 4), std::string_view(pp)}));
        ++page_.lines;
    }
    const std::string md = records::Fixed(w.maturity_date, 8);
    if (w.rate > 0 || !records::IsBlank(md)) {
        if (w.rate > 0)
            page_.Print(records::Write("(12X,F7.3,'%',2X,2A4)",
                                       {static_cast<double>(w.rate), Part(md, 0, 4), Part(md, 4, 4)}));
        else
            page_.Print(records::Write("(12X,8X,2X,2A4)", {Part(md, 0, 4), Part(md, 4, 4)}));
        ++page_.lines;
    }
    CheckReached();
}

bool HoldingsPages::Line(int type, int16_t number, Sums& s) {
    if (number < 1 || number > work_records_) {
        Stop("TEMP1.WRK RECORD " + std::to_string(number) + " COULD NOT BE READ; THE PAGES END HERE.");
        return false;
    }
    records::HoldingsWorkRecord& w = w_;
    records::HoldingsWorkRecord::DecodeFrom(
        work_.data() + static_cast<std::size_t>(number - 1) * records::kHoldingsControlLength, w);
    for (std::string* text :
         {&w.symbol, &w.description, &w.trade_date, &w.description2, &w.type_code, &w.call_date, &w.rating1,
          &w.rating2, &w.insurance, &w.call_feature, &w.put_feature, &w.put_date, &w.maturity_date})
        std::replace(text->begin(), text->end(), '\0', ' ');
    records::Drnd2(w.cost);
    if (w.market_value != kNoValue) records::Drnd2(w.market_value);
    if (TypeOf(w.type_code[0]) == kTimes100Type || w.type_index == kTimes100Type) w.rate = 0;
    const bool cash = w.symbol.compare(0, 4, "CASH") == 0;
    const bool unpriced = w.market_value == kNoValue;
    const FixedTexts& fixeds = Fixeds();
    RunColumnTexts& kept = KeptTexts();

    float pct_value = kNoRate;
    LineTexts& t = t_;
    PercentOfAssets(type, w, unpriced, s, pct_value, t.pct);

    // Quantity.
    const QuantityTexts& quantity = kept.quantity.Get(w.quantity, MakeQuantityTexts);
    std::string_view whole = quantity.whole;
    std::string_view digits = quantity.digits;
    const std::string_view marker = (quantity.fraction && !cash) ? "." : " ";

    std::string_view unit_cost, unit_price;
    UnitTexts(type, w, t.unit_cost, unit_cost, unit_price);
    MarketAndGain(w, unpriced, s, unit_price, t.market, t.gain);

    // Income, cost, yield.
    const double income = AnnualIncome(type, w);
    s.income += income;
    const std::string& income_text =
        kept.income.Get(income, [](double v, std::string& text) { records::Incom8(v, text); });
    Wamt11(w.cost, t.cost);
    s.cost += w.cost;
    double y = 0;
    if (!records::OptionOn(opt_, records::Opt::kYieldOnCost) && !unpriced && w.market_value != 0)
        y = 100 * income / w.market_value;
    if (records::OptionOn(opt_, records::Opt::kYieldOnCost) && w.cost != 0) y = 100 * income / w.cost;
    const std::string& yield = kept.yield.Get(y, [](double v, std::string& text) { Yield6Into(text, v); });

    TradeDateText(w.trade_date, t.trade);
    const std::string_view column = RateColumn(type, w, s);

    if (cash) {
        whole = fixeds.blank;
        digits = fixeds.blank;
        unit_price = fixeds.blank;
        unit_cost = fixeds.blank;
        AddToCash(w, pct_value, unpriced, income);
    }

    // The detail block.
    if (page_.lines > page_.page_length - 4) Heading();
    // "(1X,A9,A1,4A4,A2,A6,2A4,A7,1X,A12,A8,1X,A12,A10,A10,A8,A7)"
    std::string& line = t.line;
    {
        LineFields f(line, 119);
        f.X(1);
        f.A(whole, 9);
        f.A(marker, 1);
        f.A(w.description, 18);
        f.A(t.pct, 6);
        f.A(t.trade, 8);
        f.A(unit_cost, 7);
        f.X(1);
        f.A(t.cost, 12);
        f.A(unit_price, 8);
        f.X(1);
        f.A(t.market, 12);
        f.A(t.gain, 10);
        f.A(column, 10);
        f.A(income_text, 8);
        f.A(yield, 7);
    }
    page_.Print(line);
    ++page_.lines;
    DescriptionLine(w, cash, digits);
    if (cash) return true;
    // "(1X,5X,A4,6X,3A4)"
    {
        LineFields f(line, 28);
        f.X(6);
        f.A(digits, 4);
        f.X(6);
        f.A(w.symbol, 12);
    }
    page_.Print(line);
    ++page_.lines;
    if (records::OptionOn(opt_, records::Opt::kBondDetails) && w.extended > 0) BondLines(w);
    return true;
}

bool HoldingsPages::Lines(int type, const std::vector<int16_t>& records, Sums& s) {
    for (int16_t n : records) {
        ++s.count;
        if (!Line(type, n, s)) return false;
    }
    return true;
}

TotalTexts HoldingsPages::Totals(const Sums& s, bool group, bool blank_percent) const {
    TotalTexts t;
    const double pv = head_.portfolio_value;
    if (blank_percent)
        t.percent = std::string(32, ' ');
    else if (pv == kNoValue)
        t.percent = WorkText("('      N/A   ')", {});
    else
        t.percent = WorkText("(F10.1,'% ')", {static_cast<double>(s.percent)});
    Wamt15(s.cost, t.cost);
    if (s.no_price) {
        t.market = WorkText("('             N/A ')", {});
        t.gain = WorkText(kTotalGainNoValue, {});
        t.column = !ChangeColumn() ? WorkText("('          ')", {})
                   : group         ? ChangeNotAvailable8()
                                   : WorkText("('      N/A ')", {});
    } else {
        Wamt15(s.market, t.market);
        double g = s.market - s.cost;
        records::Drnd2(g);
        t.gain = NumberText(g, "(F8.0,'   ')", 8, true);
        t.column = !ChangeColumn() ? WorkText("('          ')", {})
                   : group         ? Change8(s.change)
                                   : NumberText(s.change, "(F10.0,'  ')", 9, true);
    }
    if (group)
        records::Incm10(s.income, t.income);
    else
        records::Incom8(s.income, t.income);
    double y = 0;
    if (!records::OptionOn(opt_, records::Opt::kYieldOnCost) && !s.no_price && s.market > 0)
        y = 100 * s.income / s.market;
    if (records::OptionOn(opt_, records::Opt::kYieldOnCost) && s.cost > 0) y = 100 * s.income / s.cost;
    t.yield = Yield6(y);
    return t;
}

void HoldingsPages::AddToAccount(const Sums& s) {
    change_ += s.change;
    cost_ += s.cost;
    income_ += s.income;
    if (!s.no_price) market_ += s.market;
}

// The program date, the page kind and the options from COMMON.FIL; the
// value option and the account's cursor from HCONTROL.FIL.
void HoldingsPages::ReadSettings() {
    {
        const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
        Record rec;
        if (common.Read(records::kProgramDateRecord, rec)) program_date_ = rec.Text(0, 8);
        if (common.Read(kPageKindRecord, rec)) page_kind_ = static_cast<char>(rec.data()[0]);
        if (common.Read(records::kOptionsRecord, rec))
            for (std::size_t i = 0; i < opt_.size(); ++i) opt_[i] = rec.data()[i];
    }
    // HCONTROL.FIL: a record that cannot be read gives value option 0,
    // position 0 and count 0; index 0 and -99 have no cursor.
    const records::DirectFile control(records::kHoldingsControlFile, records::kHoldingsControlLength, false);
    Record rec;
    if (control.Read(1, rec)) {
        control_ = records::HoldingsControlRecord::Decode(rec);
        if (control_.index > 0 && control_.index <= records::kHoldingsSlotCount &&
            control.Read(control_.index + 1, rec)) {
            const records::AccountCursorRecord c = records::AccountCursorRecord::Decode(rec);
            position_ = c.position;
            count_ = c.count;
        }
    }
}

const std::vector<int16_t>& HoldingsPages::Groups::Select(int type, int category) const {
    static const std::vector<int16_t> kNone;
    if (category != 0)
        return type == kCommonStockType ? of_category[static_cast<std::size_t>(category)] : kNone;
    const auto at = of_type.find(type);
    return at == of_type.end() ? kNone : at->second;
}

// A group's lines: its records in file order, or, in a composite run, the
// records of the caller's order list that belong to the group, in list
// order (merged holdings, 0, and numbers outside the file are passed
// over), so that a group never prints another group's lines. The records
// are sorted into their groups once: by type, and the common stocks also
// by category, each list in the order it prints. False when a record
// cannot be read.
bool HoldingsPages::SortIntoGroups(Groups& groups) {
    const int n = std::max<int>(head_.count, 0);
    std::vector<int16_t> types(static_cast<std::size_t>(n) + 2, 0), categories(types.size(), 0);
    for (int r = 2; r <= n + 1; ++r) {
        if (r > work_records_) {
            Stop("TEMP1.WRK RECORD " + std::to_string(r) + " COULD NOT BE READ; THE PAGES END HERE.");
            return false;
        }
        const unsigned char* rec = work_.data() + static_cast<std::size_t>(r - 1) * records::kHoldingsControlLength;
        types[r] = static_cast<int16_t>(static_cast<uint16_t>(rec[0] | (rec[1] << 8)));
        int16_t c = static_cast<int16_t>(static_cast<uint16_t>(rec[2] | (rec[3] << 8)));
        if (c <= 0 || c > kCategories) c = kCategories;
        categories[r] = c;
    }
    std::vector<int16_t> sequence;
    if (Composite()) {
        for (int16_t r : order_)
            if (r >= 2 && r <= n + 1) sequence.push_back(r);
    } else {
        for (int r = 2; r <= n + 1; ++r) sequence.push_back(static_cast<int16_t>(r));
    }
    for (int16_t r : sequence) {
        groups.of_type[types[r]].push_back(r);
        if (types[r] == kCommonStockType)
            groups.of_category[static_cast<std::size_t>(categories[r])].push_back(r);
    }
    return true;
}

// The account total, after the 22 codes of the body, and with option 17
// in a composite run the account total less cash.
void HoldingsPages::AccountTotal() {
    const std::string blank(records::kReportLineWidth, ' ');
    double gain = 0;
    std::string market, gain_text, column;
    if (!no_price_) {
        gain = market_ - cost_;
        records::Drnd2(gain);
        market_ += head_.accrued_interest;
        Wamt15(market_, market);
        gain_text = NumberText(gain, "(F8.0,'   ')", 8, true);
        total_priced_ = true;
        total_market_ = market_;
        column = ChangeColumn() ? Change8(change_) : std::string(32, ' ');
    } else {
        market = WorkText("('             N/A ')", {});
        gain_text = WorkText(kTotalGainNoValue, {});
        column = ChangeColumn() ? ChangeNotAvailable8() : std::string(32, ' ');
    }
    std::string cost_text, income_text;
    Wamt15(cost_, cost_text);
    records::Incm10(income_, income_text);
    double y = 0;
    if (!records::OptionOn(opt_, records::Opt::kYieldOnCost) && !no_price_ && market_ > 0)
        y = 100 * income_ / market_;
    if (records::OptionOn(opt_, records::Opt::kYieldOnCost) && cost_ > 0) y = 100 * income_ / cost_;
    const std::string yield = Yield6(y);
    CheckReached();
    page_.Print(blank);
    page_.Print(blank);
    page_.Print(records::Write("(12X,'TOTAL ACCOUNT',4X,'100.0%',12X,A16,5X,A16,1X,A9,A8,A10,A7)",
                               {Part(cost_text, 0, 16), Part(market, 0, 16), Part(gain_text, 0, 9),
                                Part(column, 0, 8), Part(income_text, 0, 10), Part(yield, 0, 7)}));
    page_.Print(blank);
    page_.lines = static_cast<int16_t>(page_.lines + 3);
    if (ChangeColumn()) LessCashTotal(gain);
}

// The account total less cash.
void HoldingsPages::LessCashTotal(double gain) {
    std::string pct = cash_.percent == static_cast<float>(kNoValue)
                          ? WorkText("('   N/A ')", {})
                          : WorkText("(F7.1,' ')", {100.0 - cash_.percent});
    const std::string mark = no_price_ ? " " : "%";
    std::string c2, m2;
    Wamt15(cost_ - cash_.cost, c2);
    if (no_price_)
        m2 = WorkText("('             N/A ')", {});
    else
        Wamt15(market_ - cash_.market, m2);
    double g2 = gain - (cash_.market - cash_.cost);
    const std::string g2t = NumberText(g2, "(F8.0,'   ')", 9, true);
    const std::string ch2 =
        no_price_ ? WorkText("('      N/A ')", {}) : NumberText(change_ - cash_.change, "(F10.0,'  ')", 9, true);
    std::string inc2;
    const double i2 = income_ - cash_.income;
    records::Incom8(i2, inc2);
    const double mv2 = market_ - cash_.market;
    const std::string y2 = Yield6(mv2 > 0 ? 100 * i2 / mv2 : 0.0);
    page_.Print(records::Write("(12X,'TOTAL ACCOUNT  ',A7,A1,12X,A16,5X,A16,A10,A10,A8,A7)",
                               {Part(pct, 0, 7), std::string_view(mark), Part(c2, 0, 16), Part(m2, 0, 16),
                                Part(g2t, 0, 10), Part(ch2, 0, 10), Part(inc2, 0, 8), Part(y2, 0, 7)}));
    page_.Print(records::Write("(14X,'LESS CASH')"));
    page_.lines = static_cast<int16_t>(page_.lines + 1);
}

// A type other than common stock: its title, its lines and, over one
// line, its total. False when a line cannot be read.
bool HoldingsPages::TypeGroup(int type, const std::vector<int16_t>& list) {
    std::string title;
    int16_t status = 0;
    CheckReached();
    Watype(type, title, status, page_);
    page_.lines = static_cast<int16_t>(page_.lines + 2);
    CheckReached();
    Sums s;
    if (!Lines(type, list, s)) return false;
    if (s.count > 1) {
        Watot(type, title, Totals(s, true, type == kUnmanagedType), head_.run_kind,
              records::OptionValue(opt_, records::Opt::kChangeFromPriorMonth), page_);
        page_.lines = static_cast<int16_t>(page_.lines + 3);
    }
    AddToAccount(s);
    return true;
}

// Common stock, category by category: the type's title over the first
// category, each category's title, lines and total, then the type's
// total. False when a line cannot be read.
bool HoldingsPages::CommonStocks(const Groups& groups) {
    const int type = kCommonStockType;
    std::string title;
    int16_t status = 0;
    Sums code;
    bool titled = false;
    for (int c = 1; c <= kCategories; ++c) {
        const std::vector<int16_t>& list = groups.Select(type, c);
        if (list.empty()) continue;
        if (!titled) {
            CheckReached();
            Watype(type, title, status, page_);
            page_.lines = static_cast<int16_t>(page_.lines + 2);
            CheckReached();
            titled = true;
        }
        std::string cat_title;
        Wacat(c, cat_title, status, page_);
        page_.lines = static_cast<int16_t>(page_.lines + 2);
        CheckReached();
        Sums s;
        if (!Lines(type, list, s)) return false;
        code.percent += s.percent;
        code.market += s.market;
        code.cost += s.cost;
        code.income += s.income;
        code.change += s.change;
        code.count += s.count;
        code.no_price = code.no_price || s.no_price;
        if (s.count > 1 && head_.no_category_totals != 1)
            Wactot(cat_title, Totals(s, false, false), head_.run_kind,
                   records::OptionValue(opt_, records::Opt::kChangeFromPriorMonth), page_);
    }
    if (code.count > 0) {
        Watot(type, title, Totals(code, true, false), head_.run_kind,
              records::OptionValue(opt_, records::Opt::kChangeFromPriorMonth), page_);
        page_.lines = static_cast<int16_t>(page_.lines + 3);
    }
    AddToAccount(code);
    return true;
}

bool HoldingsPages::Print() {
    ReadSettings();
    {
        const records::DirectFile work(records::kAppraisalWorkFile, records::kHoldingsControlLength,
                                       /*create=*/false);
        if (!work.ReadWhole(work_)) work_.clear();
        work_records_ = static_cast<long>(work_.size() / records::kHoldingsControlLength);
    }
    if (work_records_ < 1) return false;
    Record rec(records::kHoldingsControlLength);
    std::memcpy(rec.data(), work_.data(), records::kHoldingsControlLength);
    head_ = records::HoldingsWorkHeader::Decode(rec);
    for (std::string* text : {&head_.account, &head_.pricing_date, &head_.name, &head_.second_name,
                              &head_.second_code, &head_.objective})
        *text = Clean(*text);
    head_read_ = true;
    pricing_ = records::Fixed(head_.pricing_date, 8);
    pricing_number_ = LotDateNumber(pricing_);
    coupon_code_ = std::string(" ") +
                   static_cast<char>(records::OptionValue(opt_, records::Opt::kCouponDueDescription));
    account_ = Composite() ? "COMBINED" : head_.account;
    page_.page = 1;
    page_.lines = 0;
    Heading();

    Groups groups;
    if (!SortIntoGroups(groups)) return false;

    for (std::size_t k = 0; k < kAppraisalTypeOrder.size(); ++k) {
        const int type = kAppraisalTypeOrder[k];
        if (type == kUnmanagedType) AccountTotal();
        if (!pair_written_ &&
            (type == kAccruedBeforeType || type == 26 || type == 24 || type == 18 || type == 20 ||
             type == 22 || type == kTimes100Type || type == kUnitPricedType || type == 30))
            AccruedLines();
        if (type != kUnmanagedType && head_.type_flags[type - 1] == 0) continue;
        if (type == kCommonStockType) {
            if (!CommonStocks(groups)) return false;
            continue;
        }
        const std::vector<int16_t>& list = groups.Select(type, 0);
        if (list.empty()) continue;
        if (!TypeGroup(type, list)) return false;
    }
    return true;
}

void HoldingsPages::Post() {
    // 0 and 2 post nothing; an account whose total has no market value
    // posts nothing either.
    const int16_t option = control_.value_option;
    if (option == 0 || option == 2 || !head_read_ || !total_priced_) return;
    std::string date = pricing_;
    float number = 0;
    int16_t month = 0, day = 0, year = 0;
    records::Gtdate(date, number, month, day, year);
    if (month < 1 || month > 12) return;
    const int16_t pricing_year = engine::HistoryYear(year);
    const std::string name = records::Paknam(head_.account, "HL", ".DAT");
    constexpr int kUnit = 6;
    records::Open(kUnit, name);
    records::UnitGuard guard(kUnit);
    Record rec;
    if (!records::ReadRecord(kUnit, 1, rec)) return;
    engine::ValueHistoryHeader h = engine::ValueHistoryHeader::Decode(rec);
    if (records::Fixed(h.account, 8) != records::Fixed(head_.account, 8) || pricing_year < h.first_year)
        return;
    if (h.last_year < pricing_year) {
        if (!engine::Hlapnd(head_.account, pricing_year, kUnit)) return;
        if (!records::ReadRecord(kUnit, 1, rec)) return;
        h = engine::ValueHistoryHeader::Decode(rec);
        if (h.last_year < pricing_year) return;
    }
    const long at = h.YearRecord(pricing_year);
    if (!records::ReadRecord(kUnit, at, rec)) return;
    engine::ValueHistoryYear y = engine::ValueHistoryYear::Decode(rec);
    if (y.year != pricing_year) return;
    y.values[static_cast<std::size_t>(month - 1)] = total_market_;
    y.Encode(rec);
    records::WriteRecord(kUnit, at, rec);
}

void HoldingsPages::EndState(int16_t& state) {
    if (page_.mode == 2) records::Peject();
    if (head_.run_kind == records::kHoldingsManagerRun &&
        records::OptionOn(opt_, records::Opt::kGainsAfterWorkingAppraisal) && page_.mode == 2) {
        records::Purge(records::kAppraisalWorkFile);
        state = 2;
        return;
    }
    if (count_ > 0 && position_ < count_) {
        // Another account may follow: its valuation empties TEMP1.WRK and
        // writes it anew, so the file is kept for it instead of being
        // deleted and made again for every account; the run deletes it at
        // its end.
        state = 0;
        return;
    }
    records::Purge(records::kAppraisalWorkFile);
    records::DirectFile control(records::kHoldingsControlFile, records::kHoldingsControlLength);
    Record rec;
    if (!control.Read(1, rec)) rec = Record(records::kHoldingsControlLength, 0);
    records::MarkHoldingsRunFinished(rec);
    control.Write(1, rec);
    state = 3;
}

}  // namespace

void Prhold(int16_t& state, int16_t mode, const std::vector<int16_t>& order) {
    HoldingsPages pages(mode, order);
    if (pages.Print()) pages.Post();
    pages.EndState(state);
}

}  // namespace reports

// The printing pass of the fixed income appraisal: the account's pages from
// TEMP1.WRK, grouped by fixed-income type and sorted by maturity, with the
// type totals, the accrued interest, the portfolio total and the unmanaged
// group, and the account's summary records in TEMPHSUM.FIL.

#include <algorithm>
#include <cmath>
#include <vector>

#include "records/amounts.h"
#include "records/appraisal_files.h"
#include "records/appraisal_summary.h"
#include "records/chars.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/fixed_income_files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_types.h"
#include "records/sorts.h"
#include "reports/fixed_income/fixed_income_appraisal.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

using records::FixedIncomeHolding;
using records::kNoPriceValue;

constexpr float kNoRate = -999.99f;
constexpr const char* kNotComplete = "Security type description file is not complete.";
constexpr const char* kValueNotAvailable = "         N/A    ";

// The fixed-income types in the order of the pages: 3 4 5 6 7 W B D X F Y.
constexpr std::array<int, 11> kPrintOrder = {4, 5, 6, 7, 8, 33, 12, 14, 34, 16, 35};
constexpr int kAccruedBeforeType = 34;  // X

std::string Format(std::string_view layout, records::OutItems items = {}) {
    return records::Write(layout, items);
}

// A text cut or padded to n characters.
std::string Cut(const std::string& text, std::size_t n) {
    return records::Fixed(text, n);
}

bool IsCashSecurity(const records::ValuedHolding& h) {
    return records::Fixed(h.symbol, 4) == "CASH";
}

char TypeChar(const records::ValuedHolding& h) {
    return h.type_code.empty() ? ' ' : h.type_code[0];
}

// The security's annual income: quantity x rate, per 100 for the
// percent-priced securities and types "1" and "S", none for type "R" or a
// missing rate; a negative income is lowered by 1.
double AnnualIncome(const records::ValuedHolding& h) {
    if (h.rate == kNoRate || TypeChar(h) == 'R') return 0;
    double income = h.quantity * h.rate;
    if (h.per_hundred == 1 || TypeChar(h) == '1' || TypeChar(h) == 'S') income /= 100.0;
    records::Drndn(income);
    if (income < 0) income -= 1.0;
    return income;
}

// 100 x part / base, 0 when the base is not above 0.
double Share(double part, double base) {
    return base > 0 ? 100.0 * part / base : 0.0;
}

// A yield column "(F5.1,' ')", bracketed when negative.
std::string YieldText(double yield) {
    return Cut(BracketedText(yield, "(F5.1,' ')", 5), 6);
}

// A stored yield "(F4.1)" when above 0 and below 100, else " N/A".
std::string StoredYieldText(float yield) {
    if (yield > 0 && yield < 100) return Format("(F4.1)", Items().Number(yield));
    return " N/A";
}

// The gain text of TEMPHSUM.FIL: rounded, lowered by 1 when negative,
// "(F11.0,' ')" with separators and brackets.
std::string GainText(double gain) {
    float g = static_cast<float>(gain);
    records::Round1(g);
    if (g < 0) g -= 1.0f;
    return NumberColumn(g, "(F11.0,' ')", 11, true, 12);
}

std::string PercentText(double percent) {
    return Format("(' ',F5.1,'% ')", Items().Number(percent));
}

class AccountPages {
public:
    AccountPages(FixedIncomeRun& run, const records::AppraisalHeader& head) : run_(run), head_(head) {
        option44_ = records::OptionOn(run.options, records::Opt::kYieldOnCost);
        unpriced_total_ = head.total_market_value == kNoPriceValue;
        name_ = Cut(head.name, 32);
        int16_t status = 0;
        records::Center(name_, 32, status);
        date_ = Cut(head.report_date, 8);
        float number = 0;
        int16_t m = 0, d = 0, y = 0;
        records::Gtdate(date_, number, m, d, y);
        show_address_ = head.order == records::kFixedIncomeReportKind && run.address_flag == 1;
    }

    void Print(std::vector<FixedIncomeHolding> securities, bool complete, int16_t failed_record);

private:
    void Heading();
    void Subtitle(int type_number);
    void Detail(const FixedIncomeHolding& s);
    void Group(int type_number, std::vector<FixedIncomeHolding> members);
    void AccruedLine();
    void PortfolioTotal();
    std::string Amount(double value) const;
    std::string TypeName(int type_number, bool& found) const;

    FixedIncomeRun& run_;
    const records::AppraisalHeader& head_;
    records::AppraisalSummaryWriter summary_;
    bool option44_ = false;
    bool unpriced_total_ = false;
    bool show_address_ = false;
    std::string name_;
    std::string date_;

    int16_t page_ = 0;
    int16_t lines_ = 0;
    int16_t usable_ = 0;

    // The portfolio: the printed types.
    double cost_ = 0;
    double market_ = 0;
    double income_ = 0;
    bool unpriced_ = false;
    bool accrued_printed_ = false;
    bool after_totals_ = false;
};

std::string AccountPages::Amount(double value) const {
    std::string text;
    records::Form16(value, head_.largest_value, text);
    return Cut(text, 16);
}

std::string AccountPages::TypeName(int type_number, bool& found) const {
    // TYPENAME.DAT record n + 1 holds the name of type n.
    records::Record rec;
    found = false;
    if (!records::ReadTypeNameRecord(type_number + 1, rec)) return std::string(28, ' ');
    const std::string name = rec.Widened(128).Text(0, 28);
    found = !records::TrimRight(name).empty() && name.find('\0') == std::string::npos;
    return found ? name : std::string(28, ' ');
}

void AccountPages::Heading() {
    std::string date = date_;
    const std::string long_date = records::H2000(date);
    int16_t page_length = 0;
    records::Pghead(page_, lines_, page_length);
    usable_ = static_cast<int16_t>(page_length - 7);
    ReportFrame& f = *run_.frame;
    f.Write("(56X,'FIXED INCOME APPRAISAL')");
    f.Blank();
    f.Write("(62X,3A4)", Items().Text(long_date, 4, 3));
    f.Blank();
    if (!show_address_) {
        f.Write("(51X,8A4)", Items().Text(name_, 4, 8));
    } else {
        f.Write("(17X,A4,A2,': ',8A4) ", Items()
                                             .Text(run_.account_id, 4, 1)
                                             .Text(run_.account_id.substr(4), 2, 1)
                                             .Text(run_.address[0], 4, 8));
        for (std::size_t i = 1; i < 5; ++i)
            if (!records::TrimRight(run_.address[i]).empty())
                f.Write("(17X,A32)", Items().Text(run_.address[i], 32, 1));
    }
    f.Blank();
    f.Write("(92X,'    ',A4,' ESTIMATED YIELD')", Items().Text("    ", 4, 1));
    f.Write(
        "(1X,'  PAR VALUE',25X,'   UNIT        TOTAL     MARKET ','     MARKET    ACCRUED   ',A8,' ANNUAL    "
        "TO') ",
        Items().Text("  INT   ", 8, 1));
    f.Write(
        "(1X,'  OR SHARES         DESCRIPTION ','       COST         COST      PRICE       VALUE  ','  "
        "INTEREST  "
        "  ',A4,'   INCOME   ',A4,' YTM  YTC')",
        Items().Text("RATE", 4, 1).Text(option44_ ? "COST" : "MKT ", 4, 1));
    f.Write(
        "(1X,'  ---------         ----------- ','       ----         ----      -----       -----  ','  "
        "--------  "
        "  ',A4,'   ------   ---','  ---',A1,' ---')",
        Items().Text("----", 4, 1).Text(option44_ ? "-" : " ", 1, 1));
    f.Blank();
    lines_ = static_cast<int16_t>(lines_ + 9);
}

void AccountPages::Subtitle(int type_number) {
    ReportFrame& f = *run_.frame;
    bool found = false;
    const std::string name = TypeName(type_number, found);
    if (!found) {
        f.Line(kNotComplete);
    } else {
        f.Blank();
        f.Write("(21X,7A4)", Items().Text(name, 4, 7));
        f.Write("(20X,28A1)",
                Items().Text(std::string(static_cast<std::size_t>(records::Len28(name)), '-'), 1, 28));
        f.Write("(1X)");
    }
    lines_ = static_cast<int16_t>(lines_ + 2);
}

void AccountPages::Detail(const FixedIncomeHolding& s) {
    ReportFrame& f = *run_.frame;
    if (lines_ + 5 > usable_) Heading();
    const records::ValuedHolding& h = s.holding;
    const bool cash = IsCashSecurity(h);
    const bool unpriced = h.market_value == kNoPriceValue;

    std::string whole(32, ' '), fraction_text(32, ' ');
    double fraction = 0;
    records::Trncat(h.quantity, whole, fraction, fraction_text);
    // A whole quantity prints neither the point nor the fraction.
    std::string point = fraction != 0 ? "." : " ";
    if (fraction == 0) fraction_text = "    ";
    std::string unit_cost = "        ", unit_price = "        ";
    if (cash) {
        whole = std::string(9, ' ');
        fraction_text = "    ";
        point = " ";
    } else {
        double uc = 0, up = 0;
        if (h.quantity != 0) {
            uc = h.cost / h.quantity;
            up = h.market_value / h.quantity;
            if (h.per_hundred == 1) {
                uc *= 100.0;
                up *= 100.0;
            }
            if (TypeChar(h) == 'R') {
                uc /= 100.0;
                up /= 100.0;
            }
        }
        unit_cost = Format("(F8.2)", Items().Number(uc));
        unit_price = unpriced ? "     N/A" : Format("(F8.3)", Items().Number(up));
    }
    const std::string market = unpriced ? kValueNotAvailable : Amount(h.market_value);
    const std::string accrued =
        unpriced_total_ ? "    N/A " : Format("(F8.2,' ')", Items().Number(s.accrued));
    std::string rate;
    if (h.rate == kNoRate && !cash && TypeChar(h) != '1')
        rate = "   N/A   ";
    else
        rate = Format("(F7.2,'  ')", Items().Number(h.rate));
    const double income = AnnualIncome(h);
    std::string income_text;
    records::Incom8(income, income_text);
    const double base = option44_ ? h.cost : h.market_value;
    const double yield = (!unpriced || option44_) ? Share(income, base) : 0.0;

    f.Write("(1X,A9,A1,A4,1X,5A4,A8,A16,A8,A16,A8,1X,A9,A8,A6,A4,1X,A4)",
            Items()
                .Text(whole, 9, 1)
                .Text(point, 1, 1)
                .Text(fraction_text, 4, 1)
                .Text(h.description1, 4, 5)
                .Text(unit_cost, 8, 1)
                .Text(Amount(h.cost), 16, 1)
                .Text(unit_price, 8, 1)
                .Text(market, 16, 1)
                .Text(accrued, 8, 1)
                .Text(rate, 9, 1)
                .Text(income_text, 8, 1)
                .Text(YieldText(yield), 6, 1)
                .Text(StoredYieldText(h.extension_percent), 4, 1)
                .Text(StoredYieldText(s.yield_to_call), 4, 1));
    ++lines_;

    std::string second = h.description2;
    if (cash && TypeChar(h) == '1') {
        const std::string code(reinterpret_cast<const char*>(run_.options.data()), 4);
        records::Ckdesc(second, code, h.rate, h.maturity_date);
    }
    if (!records::TrimRight(second).empty()) {
        f.Write("(17X,8A4)", Items().Text(second, 4, 8));
        ++lines_;
    }

    if (h.extension_read == 1) {
        auto word = [](const std::array<unsigned char, 4>& w, std::size_t n) {
            std::string t(reinterpret_cast<const char*>(w.data()), n);
            for (char& c : t)
                if (c == '\0') c = ' ';
            return t;
        };
        const std::string code1 = word(h.extension_word2, 4), code2 = word(h.extension_word3, 4);
        const std::string code5 = records::Fixed(h.extension_code, 5);
        auto blank = [](const std::string& t) { return records::TrimRight(t).empty(); };
        if (!blank(code1) || !blank(code2) || !blank(code5)) {
            f.Write("(18X,A4,2X,A4,2X,5A1)", Items().Text(code1, 4, 1).Text(code2, 4, 1).Text(code5, 1, 5));
            ++lines_;
        }
        const std::string call_code = word(h.extension_word4, 2), second_code = word(h.extension_word5, 2);
        const std::string call_date = records::Fixed(h.extension_date1, 8);
        const std::string second_date = records::Fixed(h.extension_date2, 8);
        if (!blank(call_code) || !blank(call_date) || h.extension_value1 != 0 || !blank(second_code) ||
            !blank(second_date) || h.extension_value2 != 0) {
            auto price = [](double p) {
                return p == 0 ? std::string(7, ' ') : Format("(F7.2)", Items().Number(p));
            };
            f.Write("(18X,A2,2A4,A7,1X,A2,2A4,A7)", Items()
                                                        .Text(call_code, 2, 1)
                                                        .Text(call_date, 4, 2)
                                                        .Text(price(h.extension_value1), 7, 1)
                                                        .Text(second_code, 2, 1)
                                                        .Text(second_date, 4, 2)
                                                        .Text(price(h.extension_value2), 7, 1));
            ++lines_;
        }
        const std::string maturity = records::Fixed(h.maturity_date, 8);
        // A missing rate (-999.99) has no rate to print: the maturity alone.
        if (h.rate != 0 && h.rate != kNoRate) {
            f.Write("(17X,F7.3,'%',2X,2A4)", Items().Number(h.rate).Text(maturity, 4, 2));
            ++lines_;
        } else if (!blank(maturity)) {
            f.Write("(27X,2A4)", Items().Text(maturity, 4, 2));
            ++lines_;
        }
    }
}

void AccountPages::Group(int type_number, std::vector<FixedIncomeHolding> members) {
    // Within a type by maturity: blank dates first, then by date.
    if (run_.order_choice == 1 && members.size() > 1) {
        std::vector<float> keys;
        std::vector<int16_t> tags;
        for (std::size_t i = 0; i < members.size(); ++i) {
            keys.push_back(LotDateNumber(members[i].holding.maturity_date));
            tags.push_back(static_cast<int16_t>(i));
        }
        records::Shell(static_cast<int>(members.size()), keys, tags);
        std::vector<FixedIncomeHolding> sorted;
        for (const int16_t t : tags) sorted.push_back(members[static_cast<std::size_t>(t)]);
        members = std::move(sorted);
    }
    if (lines_ + 5 > usable_ - 5) Heading();
    Subtitle(type_number);

    double cost = 0, market = 0, accrued = 0, income = 0;
    bool unpriced = false;
    for (const FixedIncomeHolding& s : members) {
        Detail(s);
        cost += s.holding.cost;
        if (s.holding.market_value == kNoPriceValue)
            unpriced = true;
        else
            market += s.holding.market_value;
        accrued += s.accrued;
        income += AnnualIncome(s.holding);
    }

    // The type total.
    bool found = false;
    const std::string name = TypeName(type_number, found);
    const double yield = Share(income, option44_ ? cost : market);
    std::string income_text;
    records::Incm10(income, income_text);
    const std::string accrued_text =
        unpriced_total_ ? "    N/A " : Format("(F8.2,' ')", Items().Number(accrued));
    ReportFrame& f = *run_.frame;
    f.Write("(21X,'TOTAL ',4A4,1X,A16,8X,A16,1X,A8,7X,A10,F5.1,'%')",
            Items()
                .Text(name, 4, 4)
                .Text(Amount(cost), 16, 1)
                .Text(unpriced ? kValueNotAvailable : Amount(market), 16, 1)
                .Text(accrued_text, 8, 1)
                .Text(income_text, 10, 1)
                .Number(yield));
    f.Blank();
    lines_ = static_cast<int16_t>(lines_ + 2);

    // Its summary record.
    records::AppraisalSummaryLine line;
    line.kind = static_cast<int16_t>(type_number);
    line.name = name;
    line.texts[0] = unpriced_total_ ? "  N/A   " : PercentText(Share(market, head_.total_market_value));
    line.texts[1] = Amount(cost);
    line.texts[2] = unpriced ? kValueNotAvailable : Amount(market);
    line.texts[3] = unpriced ? "   N/A  " : GainText(market - cost);
    line.texts[4] = PercentText(yield);
    line.texts[5] = Cut(income_text, 10);
    line.last_type = static_cast<int16_t>(type_number);
    if (after_totals_) {
        summary_.AddAfterHeader(line);
        return;
    }
    summary_.Add(line);
    cost_ += cost;
    market_ += market;
    income_ += income;
    if (unpriced) unpriced_ = true;
}

void AccountPages::AccruedLine() {
    accrued_printed_ = true;
    if (!(head_.total_accrued > 0)) return;
    const std::string title = Cut("TOTAL ACCRUED INTEREST", 28);
    run_.frame->Write("(16X,7A4,24X,A16,1X,A8)",
                      Items().Text(title, 4, 7).Text(Amount(head_.total_accrued), 16, 1).Text("", 8, 1));
    run_.frame->Blank();
    lines_ = static_cast<int16_t>(lines_ + 2);
    records::AppraisalSummaryLine line;
    line.kind = records::kAccruedInterestKind;
    line.name = title;
    line.texts[0] =
        unpriced_total_ ? "  N/A   " : PercentText(Share(head_.total_accrued, head_.total_market_value));
    line.texts[2] = Amount(head_.total_accrued);
    line.last_type = 2;
    summary_.Add(line);
}

void AccountPages::PortfolioTotal() {
    ReportFrame& f = *run_.frame;
    float gain = static_cast<float>(market_ - cost_);
    records::Round1(gain);
    if (gain < 0) gain -= 1.0f;
    const double gain_percent = cost_ != 0 ? 100.0 * gain / cost_ : 0.0;
    const double market = market_ + head_.total_accrued;
    const double yield = unpriced_ ? 0.0 : Share(income_, option44_ ? cost_ : market);
    std::string income_text;
    records::Incm10(income_, income_text);

    f.Write("(44X,A16,8X,'----------------',2X,'      ',12X,'------',1X,'-----',A1)",
            Items().Text(std::string(16, '-'), 16, 1).Text(" ", 1, 1));
    f.Write("(1X)");
    f.Write("(21X,'TOTAL PORTFOLIO',8X,A16,8X,A16,2X,'      ',8X,A10,F5.1,'%')",
            Items()
                .Text(Amount(cost_), 16, 1)
                .Text(unpriced_ ? kValueNotAvailable : Amount(market), 16, 1)
                .Text(income_text, 10, 1)
                .Number(yield));
    f.Write("(44X,A16,8X,'================',2X,'      ',12X,'======',1X,'=====')",
            Items().Text(std::string(16, '='), 16, 1));
    f.Blank();
    f.Blank();
    f.Write("(16X,'AVERAGE YEARS TO MATURITY',F8.1)", Items().Number(head_.average_years));
    lines_ = static_cast<int16_t>(lines_ + 7);

    records::AppraisalSummaryLine line;
    line.kind = 0;
    line.name = Cut("TOTAL PORTFOLIO", 28);
    line.texts[0] = Amount(cost_);
    line.texts[1] = unpriced_ ? kValueNotAvailable : Amount(market);
    line.texts[2] = unpriced_ ? "        N/A " : GainText(market_ - cost_);
    line.texts[3] = PercentText(yield);
    line.texts[4] = Cut(income_text, 10);
    line.texts[5] = unpriced_ ? "  N/A   " : PercentText(gain_percent);
    summary_.Add(line);

    records::AppraisalSummaryHeader header;
    header.report_date = head_.report_date;
    header.heading_name = name_;
    header.work_word = head_.account_word;
    header.name = head_.name;
    summary_.WriteHeader(header);
}

void AccountPages::Print(std::vector<FixedIncomeHolding> securities, bool complete, int16_t failed_record) {
    page_ = 1;
    Heading();
    if (complete) {
        for (const int type : kPrintOrder) {
            if (type == kAccruedBeforeType && !accrued_printed_) AccruedLine();
            std::vector<FixedIncomeHolding> members;
            for (const FixedIncomeHolding& s : securities)
                if (s.holding.type_number == type) members.push_back(s);
            if (!members.empty()) Group(type, std::move(members));
        }
        PortfolioTotal();
        after_totals_ = true;
        std::vector<FixedIncomeHolding> unmanaged;
        for (const FixedIncomeHolding& s : securities)
            if (s.holding.type_number == kFixedIncomeUnmanagedType) unmanaged.push_back(s);
        if (!unmanaged.empty()) Group(kFixedIncomeUnmanagedType, std::move(unmanaged));
    } else {
        run_.Say(UnreadableLine(records::kAppraisalWorkFile, failed_record));
    }
}

}  // namespace

void Faprprt(FixedIncomeRun& run, int16_t& status) {
    {
        records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength, /*create=*/false);
        records::Record rec;
        if (work.Read(1, rec) && run.frame) {
            const records::AppraisalHeader head = records::AppraisalHeader::Decode(rec);
            std::vector<FixedIncomeHolding> securities;
            bool complete = true;
            int16_t failed = 0;
            for (int16_t k = 1; k <= head.count; ++k) {
                if (!work.Read(k + 1, rec)) {
                    complete = false;
                    failed = static_cast<int16_t>(k + 1);
                    break;
                }
                securities.push_back(FixedIncomeHolding::Decode(rec));
            }
            AccountPages pages(run, head);
            pages.Print(std::move(securities), complete, failed);
        } else if (run.frame) {
            run.Say(UnreadableLine(records::kAppraisalWorkFile, 1));
        }
        // The work file is emptied and deleted.
        if (work.ok()) work.Write(1, records::EmptyAppraisalHeader());
    }
    records::Purge(records::kAppraisalWorkFile);

    if (run.selection == "A   " && run.next < run.walk.accounts.size()) {
        status = kFixedIncomeGather;
        return;
    }
    run.done = true;
    MarkFixedIncomeRunFree();
    status = kFixedIncomeFinished;
}

}  // namespace reports

#include "reports/performance/performance_summary.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "records/account_records.h"
#include "records/amounts.h"
#include "records/chars.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/performance_control.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "reports/kernel/amount_texts.h"
#include "reports/performance/performance_cells.h"

namespace reports {

namespace {

constexpr int kSize = kTableMonths;
const std::string kNa = "   N/A  ";
const char* const kMonthNames[12] = {"JAN ", "FEB ", "MAR ", "APR ", "MAY ", "JUN ",
                                     "JUL ", "AUG ", "SEP ", "OCT ", "NOV ", "DEC "};

using SV = std::string_view;

std::vector<records::OutItem> Join(std::vector<records::OutItem> a, const std::vector<records::OutItem>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The date as a heading prints it: 12 characters, four-digit year.
std::string DateText(const std::string& date) {
    std::string d = records::Fixed(date, 8);
    return records::Fixed(records::H2000(d), 12);
}

// An amount under "(F12.2)" with thousands separators; " UNAVAILABLE" for
// a missing amount.
std::string Amount(double amount) {
    if (amount <= kNoAmount) return " UNAVAILABLE";
    return Amount12(amount);
}

// A whole amount under "(F13.0)" with separators, in 12 characters.
std::string Whole(double amount) {
    return NumberColumn(amount, "(F13.0)", 12, false, 12);
}

// Levels held from entry 1; entries outside the block read as missing.
float At(std::span<const float> s, int k) {
    return k >= 1 && k <= static_cast<int>(s.size()) ? s[static_cast<std::size_t>(k - 1)] : kNoReturn;
}

// The change from entry s to entry e in percent; missing when the base is
// not above 0 or the end level is missing.
float Cumulative(std::span<const float> x, int s, int e) {
    const float from = At(x, s), to = At(x, e);
    if (!(from > 0) || to == kNoReturn) return kNoReturn;
    return static_cast<float>((static_cast<double>(to) - from) / from * 100.0);
}

// The change from entry s to entry e raised to 12 / m; missing when the
// base is not above 0 or the ratio is not.
float Annualized(std::span<const float> x, int s, int e, double m) {
    const float from = At(x, s), to = At(x, e);
    if (!(from > 0) || to == kNoReturn) return kNoReturn;
    const double ratio = static_cast<double>(to) / from;
    if (!(ratio > 0)) return kNoReturn;
    const double exponent = m == 0 ? 1.0 : 12.0 / m;
    return static_cast<float>((std::pow(ratio, exponent) - 1.0) * 100.0);
}

std::string Cell(float r) {
    return Fmtpct(r, r, 1.0f, 1.0f, 1).substr(0, 8);
}

bool MonthEnd(const std::string& date, double& fraction) {
    int16_t m = 0, d = 0, y = 0;
    records::Redate(date, m, d, y);
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, static_cast<int16_t>(records::WindowYear(y)));
    if (m < 1 || m > 12) {
        fraction = 1.0;
        return false;
    }
    const int days = lengths[static_cast<std::size_t>(m - 1)];
    fraction = static_cast<double>(days - d) / days;
    return d == days;
}

class Summary {
public:
    explicit Summary(const PerformanceSummaryCall& call) : c_(call), o_(call.options) {}
    void Run();

private:
    bool Printing() const { return c_.output_mode != 2; }
    void Print(const std::string& line) {
        if (Printing()) records::Prtout(line);
    }
    void ReadRun();
    void Heading();
    void Prepare();
    void Chain();
    void ColumnHeadings();
    void Item1();
    void Item2();
    void Item3();
    void Years();
    void Balances();
    void Store();
    void Lines();
    void WriteBack();
    // A row of an item: the 89-character label and up to three cells.
    void Row(const std::string& label, const std::string& a, const std::string& b, const std::string& x);
    int16_t Display() const { return c_.index_display; }

    const PerformanceSummaryCall& c_;
    const records::Options& o_;
    records::PerformanceHeader header_;
    records::PerformanceAccount entry_;
    records::PerformanceAccount entry_read_;  // as read, for the write-back
    int n_ = 0;
    int16_t account_count_ = 0;
    int16_t kind_ = 0;
    int16_t carry_month_ = 0, carry_year_ = 0;
    bool carry_set_ = false;

    std::vector<double> v_, f_, t_;
    std::vector<float> w_, x1_, x2_, i_;
    int first_month_ = 0, first_year_ = 0, last_month_ = 0, last_year_ = 0;
    int e_ = 1;
    int a_ = 0;  // the reporting-start position; 0 when not set
    double fraction_ = 1.0;
    double net_flow_ = 0;
    double ending_ = kNoAmount;
    int fiscal_start_ = 1;
    float fiscal_cumulative_ = kNoReturn;
    float inception_ = kNoReturn;
    std::string since_text_ = kNa;
    std::string fiscal_text_ = kNa;
    std::array<std::string, 2> index_fiscal_text_{kNa, kNa};
    std::array<std::string, 2> index_since_text_{kNa, kNa};
};

void Summary::ReadRun() {
    records::ReadPerformanceHeader(header_);
    n_ = header_.slot;
    if (c_.mode >= 1) {
        n_ = 1;
        account_count_ = header_.remaining;
        header_.remaining = 0;
    }
    if (n_ >= 1 && n_ <= records::kPerformanceSlotCount) records::ReadPerformanceAccount(n_, entry_);
    entry_read_ = entry_;
    kind_ = entry_.choice;
    if ((kind_ >= 1 && kind_ <= 3) || kind_ == 5) entry_.opening_date = records::Fixed(c_.start_date, 8);
    if (entry_.history <= 0) entry_.initial_value = c_.initial_value;
    // A reporting-start month outside 1-12 or a year outside 1-150 (1901 to
    // 2050) is not set.
    carry_set_ = entry_.carry_month >= 1 && entry_.carry_month <= 12 && entry_.carry_year >= 1 &&
                 entry_.carry_year <= 150;
    carry_month_ = carry_set_ ? entry_.carry_month : 0;
    carry_year_ = carry_set_ ? entry_.carry_year : 0;
}

void Summary::Heading() {
    PerformancePage& p = *c_.page;
    if (c_.output_mode == 2) {
        records::Headr2(p.page, p.lines, p.page_length);
        p.lines = 4;
        return;
    }
    records::Pghead(p.page, p.lines, p.page_length);
    const std::string blank(132, ' ');
    if (kind_ <= 0)
        Print(records::Write("(57X,'PERFORMANCE SUMMARY')"));
    else if (kind_ <= 4)
        Print(records::Write("(51X,'PERFORMANCE SUMMARY',' BY ASSET CLASS')"));
    else
        Print(records::Write("(53X,'PERFORMANCE SUMMARY',' BY SECURITY')"));
    Print(blank);
    if (kind_ != 0) {
        if (kind_ == 1) Print(records::Write("(58X,'CASH AND EQUIVALENTS')"));
        if (kind_ == 2) Print(records::Write("(58X,'      EQUITIES')"));
        if (kind_ == 3) Print(records::Write("(58X,'    FIXED INCOME')"));
        if (kind_ == 5) Print(records::Write("(52X,8A4)", Words(records::Fixed(c_.description, 32), 4)));
        Print(blank);
    }
    Print(records::Write("(53X,3A4,' - ',3A4)",
                         Join(Words(DateText(entry_.opening_date), 4), Words(DateText(entry_.end_date), 4))));
    Print(blank);
    Print(records::Write("(45X,42A1)", Words(records::Fixed(c_.title, 42), 1)));
    Print(blank);
    p.lines = 4;
}

void Summary::Prepare() {
    const MonthlySeries& s = *c_.series;
    v_.assign(s.value.begin(), s.value.end());
    f_.assign(s.flow.begin(), s.flow.end());
    w_.assign(s.income.begin(), s.income.end());
    x1_.assign(s.index1.begin(), s.index1.end());
    x2_.assign(s.index2.begin(), s.index2.end());
    t_.assign(s.t.begin(), s.t.end());
    first_month_ = s.start_month;
    first_year_ = s.start_year;
    last_month_ = s.last_month;
    last_year_ = s.last_year;

    double fraction = 1.0;
    const bool month_end = MonthEnd(records::Fixed(entry_.opening_date, 8), fraction);
    const double start_value = entry_.initial_value;
    const bool within = (start_value > 0 || kind_ > 0) && !month_end;
    e_ = std::clamp((last_year_ - first_year_) * 12 - first_month_ + last_month_ + 1, 1, kSize);
    if (month_end) {
        auto down = [](auto& x) { std::rotate(x.begin(), x.begin() + 1, x.end()); };
        down(v_);
        down(f_);
        down(w_);
        down(x1_);
        down(x2_);
        down(t_);
        fraction_ = 1.0;
    } else if (within) {
        v_[0] = start_value;
        if (kind_ <= 0) {
            f_[0] = start_value;
            if (!c_.opening_in_series && f_[1] != kNoAmount) f_[1] -= start_value;
        }
        x1_[0] = entry_.index1_base;
        x2_[0] = entry_.index2_base;
        fraction_ = fraction;
    } else {
        fraction_ = 1.0;
    }
    ending_ = v_[static_cast<std::size_t>(e_ - 1)];

    // The net capital flow from month 2 on, restarting at the
    // reporting-start month, which is the anchor position.
    net_flow_ = 0;
    int k = 0;
    for (int y = first_year_; y <= last_year_; ++y) {
        const int from = y == first_year_ ? first_month_ : 1;
        const int to = y == last_year_ ? last_month_ : 12;
        for (int m = from; m <= to && k < kSize; ++m) {
            ++k;
            const double f = f_[static_cast<std::size_t>(k - 1)];
            if (carry_set_ && m == carry_month_ && y == carry_year_) {
                net_flow_ = f;
                a_ = k;
            } else if (k >= 2) {
                net_flow_ = f == kNoAmount || net_flow_ == kNoAmount ? kNoAmount : net_flow_ + f;
            }
        }
    }
}

void Summary::Chain() {
    i_.assign(kSize, 100.0f);
    for (int k = 2; k <= e_; ++k) {
        const std::size_t j = static_cast<std::size_t>(k - 1);
        if (f_[j] == kNoAmount || v_[j - 1] <= kNoAmount || v_[j] <= kNoAmount) {
            // The chain stops at a missing flow or value: no level is known
            // from here on.
            std::fill(i_.begin() + static_cast<long>(j), i_.end(), kNoReturn);
            return;
        }
        double b = v_[j - 1], e = v_[j], f = f_[j];
        if (c_.mode >= 1) {
            if (account_count_ > 1) {
                const double t = t_[j];
                if (t > 0) b += t;
                if (t < 0) e += std::fabs(t);
                f -= t;
            }
        } else {
            if (b == 0.0 && f != 0.0) {
                b = f;
                f = 0.0;
            }
            if (e == 0.0 && f != 0.0) {
                e = std::fabs(f);
                f = 0.0;
            }
        }
        const double gain = e - f - b;
        const double divisor = b + 0.5 * (f + w_[j]);
        const double growth = divisor > 0.0 ? gain / divisor + 1.0 : 1.0;
        i_[j] = static_cast<float>(i_[j - 1] * growth);
        if (k == a_) i_[j] = 100.0f + entry_.carried_return;
    }
}

void Summary::ColumnHeadings() {
    const bool cumulative = records::OptionValue(o_, records::Opt::kCumulativeReturn) == 1;
    if (cumulative) {
        Print("");
        Print("");
        Print("");
    } else {
        Print(records::Write("(93X,'-------- ANNUALIZED --------')"));
        Print("");
    }
    const auto& h1 = c_.index_headers[0];
    const auto& h2 = c_.index_headers[1];
    auto piece = [](const std::string& t) { return records::Fixed(t, 6); };
    auto pair = [](const std::string& six) -> std::vector<records::OutItem> {
        return {SV(six).substr(0, 4), SV(six).substr(4, 2)};
    };
    const std::string blank6(6, ' ');
    for (int row = 0; row < 2; ++row) {
        const std::string a = piece(h1[static_cast<std::size_t>(row)]),
                          b = piece(h2[static_cast<std::size_t>(row)]);
        const std::string ac = cumulative ? blank6 : a, bc = cumulative ? blank6 : b;
        if (Display() == 0)
            Print(records::Write("(63X,A4,A2,5X,A4,A2,25X,A4,A2,5X,A4,A2)",
                                 Join(Join(Join(pair(ac), pair(bc)), pair(a)), pair(b))));
        else if (Display() == 1)
            Print(records::Write("(63X,A4,A2,36X,A4,A2)", Join(pair(ac), pair(a))));
        else
            Print("");
    }
    const std::string a = piece(h1[2]), b = piece(h2[2]);
    const std::string ac = cumulative ? blank6 : a, bc = cumulative ? blank6 : b;
    const std::string acct = cumulative ? "     " : "ACCT.";
    if (Display() == 0) {
        Print(records::Write("(51X,A5,'       ',A4,A2,'     ',A4,A2,13X,'ACCT.       ',A4,A2,'     ',A4,A2)",
                             Join(Join(Join(Join({SV(acct)}, pair(ac)), pair(bc)), pair(a)), pair(b))));
        Print(records::Write(
            cumulative ? "(51X,'                             ',13X,'-----       ------     ------')"
                       : "(51X,'-----       ------     ------',13X,'-----       ------     ------')"));
    } else if (Display() == 1) {
        Print(records::Write("(51X,A5,'       ',A4,A2,'     ',19X,'ACCT.       ',A4,A2)",
                             Join(Join({SV(acct)}, pair(ac)), pair(a))));
        Print(records::Write(cumulative ? "(51X,'                             ',13X,'-----       ------')"
                                        : "(51X,'-----       ------           ',13X,'-----       ------')"));
    } else {
        Print(records::Write("(51X,A5,37X,'ACCT.')", {SV(acct)}));
        Print(records::Write(cumulative ? "(51X,'                             ',13X,'-----')"
                                        : "(51X,'-----                        ',13X,'-----')"));
    }
    Print("");
}

void Summary::Row(const std::string& label, const std::string& a, const std::string& b,
                  const std::string& x) {
    const std::string l = records::Fixed(label, 89);
    if (Display() == 0)
        Print(records::Write("(1X,A89,A8,5X,A8,3X,A8)", {SV(l), SV(a), SV(b), SV(x)}));
    else if (Display() == 1)
        Print(records::Write("(1X,A89,A8,5X,A8)", {SV(l), SV(a), SV(b)}));
    else
        Print(records::Write("(1X,A89,A8)", {SV(l), SV(a)}));
}

// Item 1: the fiscal (or calendar, or reporting-start) year to date and,
// with option 70, the last 12 months, each measured on its own window.
void Summary::Item1() {
    const bool cumulative_only = records::OptionValue(o_, records::Opt::kCumulativeReturn) == 1;
    int n = last_month_ - entry_.fiscal_month;
    if (n <= 0) n += 12;
    int s = std::max(e_ - n, 1);
    fiscal_start_ = s;
    const bool carry_this_year = carry_set_ && carry_year_ == last_year_ && a_ >= 1;
    if (carry_this_year) s = a_;
    auto months = [&](int from) {
        double m = e_ - from;
        if (m == 0) m = 1;
        if (from == 1) m += fraction_ - 1.0;
        return m;
    };
    auto line = [&](const std::string& label, int from) {
        const double m = months(from);
        const float c0 = Cumulative(i_, from, e_), c1 = Cumulative(x1_, from, e_),
                    c2 = Cumulative(x2_, from, e_);
        float a0 = Annualized(i_, from, e_, m), a1 = Annualized(x1_, from, e_, m),
              a2 = Annualized(x2_, from, e_, m);
        if (cumulative_only) {
            a0 = c0;
            a1 = c1;
            a2 = c2;
        }
        const std::string blank8(8, ' ');
        const std::string k0 = cumulative_only ? blank8 : Cell(c0), k1 = cumulative_only ? blank8 : Cell(c1),
                          k2 = cumulative_only ? blank8 : Cell(c2);
        const std::string n0 = Cell(a0), n1 = Cell(a1), n2 = Cell(a2);
        const std::string l = records::Fixed(label, 47);
        if (Display() == 0)
            Print(records::Write("(1X,A47,A8,5X,A8,3X,A8,10X,A8,5X,A8,3X,A8)",
                                 {SV(l), SV(k0), SV(k1), SV(k2), SV(n0), SV(n1), SV(n2)}));
        else if (Display() == 1)
            Print(records::Write("(1X,A47,A8,5X,A8,21X,A8,5X,A8)", {SV(l), SV(k0), SV(k1), SV(n0), SV(n1)}));
        else
            Print(records::Write("(1X,A47,A8,34X,A8)", {SV(l), SV(k0), SV(n0)}));
        return std::array<float, 3>{c0, c1, c2};
    };

    std::string label;
    if (carry_this_year) {
        const int after = std::min(carry_month_ + 1, 12);
        label = records::Write(
            "(5X,'1.  PERFORMANCE,',1X,A4,I4,' - ',A4,I4,':',8X)",
            {SV(kMonthNames[after - 1]), static_cast<long long>(last_year_ + 1900),
             SV(kMonthNames[std::clamp(last_month_, 1, 12) - 1]), static_cast<long long>(last_year_ + 1900)});
    } else if (c_.mode >= 1) {
        label = "     1.  PERFORMANCE, CALENDAR YEAR TO DATE:";
    } else {
        label = "     1.  PERFORMANCE, FISCAL YEAR TO DATE:";
    }
    const double m = months(s);
    fiscal_cumulative_ = Cumulative(i_, s, e_);
    fiscal_text_ = Cell(fiscal_cumulative_);
    index_fiscal_text_ = {Cell(Cumulative(x1_, s, e_)), Cell(Cumulative(x2_, s, e_))};
    (void)m;
    if (c_.sub_kind == 0) {
        line(label, s);
        if (records::OptionOn(o_, records::Opt::kThreeFiveYearReturns)) {
            int16_t em = 0, ed = 0, ey = 0;
            records::Redate(entry_.end_date, em, ed, ey);
            int q = last_month_ - em;
            if (q <= 0) q += 12;
            int s2 = std::max(e_ - q, 1);
            if (carry_this_year) s2 = a_;
            line("                           LAST 12 MONTHS:", s2);
        }
        Print("");
    }
}

void Summary::Years() {
    Print(records::Write("('      2.  PERFORMANCE, BY CALENDAR YEAR:                 YEAR')"));
    const bool cumulative_only = records::OptionValue(o_, records::Opt::kCumulativeReturn) == 1;
    int previous_end = 1;
    bool measuring = false;
    for (int y = first_year_; y <= last_year_; ++y) {
        int end = y == first_year_ ? 13 - first_month_ : previous_end + 12;
        int start = y == first_year_ ? 1 : previous_end;
        if (y == last_year_) end = e_;
        if (carry_set_ && y == carry_year_ && y == last_year_ && a_ >= 1) start = a_;
        previous_end = end;
        // A year with no month in the block (the month-end start of the
        // first year) gives no row.
        if (end <= start && !(y == last_year_)) continue;
        if (carry_set_ && y < carry_year_) continue;
        const bool both =
            v_[static_cast<std::size_t>(start - 1)] >= 0 && v_[static_cast<std::size_t>(end - 1)] >= 0;
        if (!measuring && (both || (carry_set_ && y == carry_year_ && y == last_year_))) measuring = true;
        if (!measuring) continue;
        double m = end - start;
        if (m == 0) m = 1;
        // The window from entry 1 holds the part-month of the start: the
        // first year's, or the next year's when the first has no month of
        // its own (a start in January counted from the December before).
        if (start == 1) m += fraction_ - 1.0;
        auto r = [&](const std::vector<float>& x) {
            return Cell(cumulative_only ? Cumulative(x, start, end) : Annualized(x, start, end, m));
        };
        const std::string a = r(i_), b = r(x1_), x = r(x2_);
        const std::string to_date = y == last_year_ ? "(TO DATE)" : "         ";
        const long long year = y + 1900;
        if (Display() == 0)
            Print(records::Write("(57X,I4,3X,A9,17X,A8,5X,A8,3X,A8)",
                                 {year, SV(to_date), SV(a), SV(b), SV(x)}));
        else if (Display() == 1)
            Print(records::Write("(57X,I4,3X,A9,17X,A8,5X,A8)", {year, SV(to_date), SV(a), SV(b)}));
        else
            Print(records::Write("(57X,I4,3X,A9,17X,A8)", {year, SV(to_date), SV(a)}));
    }
    Print("");
}

void Summary::Item3() {
    const bool cumulative_only = records::OptionValue(o_, records::Opt::kCumulativeReturn) == 1;
    int i0 = 1;
    double m = e_ + fraction_ - 2.0;
    std::string from_date = entry_.opening_date;
    if (kind_ >= 1 && kind_ <= 3) {
        const std::string& inception =
            kind_ == 1 ? c_.first_cash_equivalents : (kind_ == 2 ? c_.first_equities : c_.first_fixed_income);
        from_date = records::Fixed(inception, 8);
        for (int k = 1; k <= e_; ++k)
            if (v_[static_cast<std::size_t>(k - 1)] > 0) {
                i0 = k;
                break;
            }
        double fraction = 1.0;
        if (MonthEnd(from_date, fraction)) fraction = 0.0;
        m = e_ - i0 + fraction;
    }
    auto r = [&](const std::vector<float>& x) {
        return cumulative_only ? Cumulative(x, i0, e_) : Annualized(x, i0, e_, m);
    };
    inception_ = r(i_);
    since_text_ = Cell(inception_);
    index_since_text_ = {Cell(r(x1_)), Cell(r(x2_))};
    if (c_.sub_kind != 0) return;
    const std::string from_text = DateText(from_date), end_text = DateText(entry_.end_date);
    const auto dates = Join(Words(from_text, 4), Words(end_text, 4));
    std::string label;
    if (kind_ <= 0 || kind_ == 4)
        label = records::Write(
            "(5X,'3.  PERFORMANCE, FROM INCEPTION TO DATE:',5X,'(',3A4,' TO ',3A4,')',15X)", dates);
    else if (kind_ <= 3)
        label = records::Write(
            "(5X,'3.  PERFORMANCE, FROM ASSET CLASS INCEPTION TO DATE: ','(',3A4,' TO ',3A4,')',9X)", dates);
    else
        label = records::Write(
            "(5X,'3.  PERFORMANCE, FROM SECURITY INCEPTION TO DATE: ','(',3A4,' TO ',3A4,')   ',9X)", dates);
    Row(label, since_text_, index_since_text_[0], index_since_text_[1]);
    Print("");

    if (records::OptionOn(o_, records::Opt::kThreeFiveYearReturns)) {
        // Items 4 and 5: the last 3 and 5 years, and the same windows
        // ending at the fiscal year's start.
        const int fiscal_end = [&] {
            int16_t em = 0, ed = 0, ey = 0;
            records::Redate(entry_.end_date, em, ed, ey);
            return entry_.fiscal_month == em ? e_ : fiscal_start_;
        }();
        for (int item = 4; item <= 5; ++item) {
            const int years = item == 4 ? 3 : 5;
            const long long li = item, ly = years;
            std::string l;
            if (kind_ <= 0 || kind_ == 4)
                l = records::Write(
                    "(5X,I1,'.  PERFORMANCE, LAST ',I1,' YEARS:          ',7X,' ',8X,'    ',8X,' ',15X)",
                    {li, ly});
            else if (kind_ <= 3)
                l = records::Write(
                    "(5X,I1,'.  PERFORMANCE, ASSET CLASS LAST ',I1,' YEARS:   ','         ',8X,'    "
                    "',8X,' ',9X)",
                    {li, ly});
            else
                l = records::Write(
                    "(5X,I1,'.  PERFORMANCE, SECURITY LAST ',I1,' YEARS:   ','         ',8X,'    "
                    "',8X,'    ',9X)",
                    {li, ly});
            const int span = years * 12 - 1;
            const AnnualizedTexts now = Prfann(o_, i_, x1_, x2_, e_, span);
            Row(l, now.a, now.b, now.c);
            const AnnualizedTexts fiscal = Prfann(o_, i_, x1_, x2_, fiscal_end, span);
            Row(records::Write("(28X,'FISCAL:',54X)"), fiscal.a, fiscal.b, fiscal.c);
            Print("");
        }
    }
}

void Summary::Balances() {
    const long long item = records::OptionOn(o_, records::Opt::kThreeFiveYearReturns) ? 6 : 4;
    const double start = v_[0];
    const std::string s = Amount(start), f = Amount(net_flow_);
    const std::string contribution =
        start <= kNoAmount || net_flow_ <= kNoAmount ? Amount(kNoAmount) : Amount(start + net_flow_);
    Print(records::Write("(6X,I1,'.  STARTING BALANCE                      $ ',A12)", {item, SV(s)}));
    Print(records::Write("(6X,'    NET CAPITAL FLOW                        ',A12)", {SV(f)}));
    Print(records::Write("(50X,'------------')"));
    Print(records::Write("(6X,'       NET ACCOUNT CONTRIBUTION             ',A12)", {SV(contribution)}));
    Print(records::Write("(50X,'============')"));
    const std::string e = Amount(ending_);
    Print(records::Write("(6X,'    ENDING BALANCE                        $ ',A12)", {SV(e)}));
    Print(records::Write("(50X,'============')"));
}

// The fiscal-year-to-date return into the account's fourth record, as a
// fraction to 2 decimals. An account ACCOUNT.IDX does not hold is left
// alone.
void Summary::Store() {
    if (records::Fixed(c_.store_flag, 4) != "Y   ") return;
    const long first = records::Gtacct(entry_.account);
    if (first < 1) return;
    records::DirectFile file(records::kAccountRecords, records::kAccountRecordLength);
    records::Record rec;
    if (!file.ok() || !file.Read(first + 3, rec)) return;
    float value = fiscal_cumulative_ == kNoReturn ? 0.0f : fiscal_cumulative_ * 0.01f;
    records::Srnd2(value);
    rec.SetR4(111, value);
    file.Write(first + 3, rec);
}

void Summary::Lines() {
    PerformancePage& p = *c_.page;
    const std::string name = records::Fixed(entry_.title, 32);
    const bool last_entry = entry_.index_position >= entry_.index_count || entry_.index_count <= 0;
    if (c_.sub_kind == 1 && c_.output_mode != 2) {
        const std::string contribution =
            v_[0] <= kNoAmount || net_flow_ <= kNoAmount ? Amount(kNoAmount) : Amount(v_[0] + net_flow_);
        const std::string ending = Amount(ending_);
        const std::string cumulative = records::Fixed(c_.cumulative_text, 6);
        std::vector<records::OutItem> items = Words(name, 4);
        items.insert(items.end(), {SV(contribution), SV(ending), SV(fiscal_text_), SV(cumulative)});
        records::Prtout(records::Write("(25X,8A4,A12,4X,A12,1X,A8,4X,A6,'%')", items));
        records::Prtout("");
        ++p.lines;
        if (p.lines > p.page_length - 6)
            Prfsumac(p.page, p.lines, records::ProgramDateText(), entry_.end_date, c_.output_mode,
                     p.page_length);
    }
    if (c_.sub_kind == 2 && c_.output_mode != 2) {
        const int spans[5] = {last_month_, 11, 35, 59, 119};
        auto line = [&](const std::string& name24, const std::string& value, const std::string& flow,
                        const std::string& income, const std::string& period, const std::string& fiscal,
                        const std::string(&annual)[5], const std::string& since) {
            const std::string name_text = records::Fixed(name24, 24);
            std::vector<records::OutItem> items = Words(name_text, 4);
            items.insert(items.end(), {SV(value), SV(flow), SV(income), SV(period), SV(fiscal)});
            for (const std::string& a : annual) items.emplace_back(SV(a));
            items.emplace_back(SV(since));
            records::Prtout(records::Write("(1X,6A4,A12,A12,A12,8A7)", items));
            records::Prtout("");
            ++p.lines;
            if (p.lines > p.page_length - 6)
                Prfmon(p.page, p.lines, entry_.end_date, c_.output_mode, p.page_length);
        };
        double income = 0;
        for (int k = 1; k <= e_; ++k) {
            const float w = w_[static_cast<std::size_t>(k - 1)];
            if (w > kNoAmount) income += w;  // a month without its income adds nothing
        }
        const std::string income_text = NumberText(income, "(F12.2)", 12, false);
        std::string annual[5];
        for (int k = 0; k < 5; ++k) annual[k] = Prfann(o_, i_, x1_, x2_, e_, spans[k]).a;
        const float r = c_.last_return;
        line(name, ending_ <= kNoAmount ? Amount(kNoAmount) : Whole(ending_),
             net_flow_ <= kNoAmount ? Amount(kNoAmount) : Whole(net_flow_), income_text.substr(0, 12),
             Fmtpct(r, r, 1.0f, 1.0f, 0), fiscal_text_, annual, since_text_);
        if (last_entry) {
            const int shown = Display() == 0 ? 2 : (Display() == 1 ? 1 : 0);
            for (int x = 0; x < shown; ++x) {
                const auto& h = c_.index_headers[static_cast<std::size_t>(x)];
                const std::string description =
                    records::Fixed(h[0], 8) + records::Fixed(h[1], 8) + records::Fixed(h[2], 8);
                const std::vector<float>& levels = x == 0 ? x1_ : x2_;
                std::string level(32, ' ');
                records::WriteInto(level, "(F13.0)", {static_cast<double>(At(levels, e_))});
                const float change = c_.last_index_change[static_cast<std::size_t>(x)];
                std::string period(32, ' ');
                if (change == kNoReturn)
                    period = kNa;
                else
                    records::WriteInto(period, "(F7.1)", {static_cast<double>(change)});
                std::string index_annual[5];
                for (int k = 0; k < 5; ++k) {
                    const AnnualizedTexts t = Prfann(o_, i_, x1_, x2_, e_, spans[k]);
                    index_annual[k] = x == 0 ? t.b : t.c;
                }
                line(description, level.substr(0, 12), std::string(12, ' '), std::string(12, ' '), period,
                     index_fiscal_text_[static_cast<std::size_t>(x)], index_annual,
                     index_since_text_[static_cast<std::size_t>(x)]);
            }
        }
    }
}

void Summary::WriteBack() {
    if (c_.output_mode == 2 && c_.sub_kind == 0) records::Peject();
    int n = n_;
    if (n > 0 && n <= records::kPerformanceSlotCount) {
        // The entry goes back as read: the start date and starting value
        // taken from the caller are this page's only.
        entry_read_.last_month = static_cast<int16_t>(last_month_);
        entry_read_.last_year = static_cast<int16_t>(last_year_);
        records::WritePerformanceAccount(n, entry_read_);
    }
    const bool skip = entry_.status > 0;
    if ((skip || entry_.index_position >= entry_.index_count) && n >= 1 &&
        n <= records::kPerformanceSlotCount)
        header_.slot_flags[static_cast<std::size_t>(n - 1)] = 0;
    if (skip || entry_.index_position > entry_.index_count) n = 0;
    if (entry_.index_count <= 0 || entry_.index_count <= entry_.index_position)
        n = records::kPerformanceFinished;
    header_.slot = static_cast<int16_t>(n);
    header_.written = 0;
    header_.output_mode = c_.output_mode;
    records::WritePerformanceHeader(header_);
}

void Summary::Run() {
    ReadRun();
    if (c_.sub_kind == 0) {
        c_.page->lines = 0;
        c_.page->page = 1;
        Heading();
    }
    Prepare();
    Chain();
    if (c_.sub_kind == 0) ColumnHeadings();
    Item1();
    if (c_.sub_kind == 0) Years();
    Item3();
    Store();
    if (c_.sub_kind == 0 && !records::OptionOn(o_, records::Opt::kNoSummaryItem4)) Balances();
    Lines();
    WriteBack();
}

}  // namespace

std::string Fmtpct(float value, float check1, float check2, float check3, int16_t mode) {
    std::string text(32, ' ');
    records::WriteInto(text, "('    N/A ')", {});
    if (check1 == kNoReturn || check2 == kNoReturn || check3 == kNoReturn) return text;
    records::WriteInto(text, mode == 0 ? "(F7.1,1X)" : "(F7.1,'%')", {static_cast<double>(value)});
    Mprftxt(text, 8);
    return text;
}

AnnualizedTexts Prfann(const records::Options& options, std::span<const float> a, std::span<const float> b,
                       std::span<const float> c, int end, int span) {
    AnnualizedTexts out{kNa, kNa, kNa};
    int n = end - span;
    double m = end - n + 1;
    double p = 12.0;
    if (records::OptionOn(options, records::Opt::kAnnualizeMonthlyReturns)) {
        n = end - 11;
        m = 12;
        p = span + 1;
    }
    if (n <= 0) return out;
    const std::span<const float> series[3] = {a, b, c};
    std::string* texts[3] = {&out.a, &out.b, &out.c};
    for (int k = 0; k < 3; ++k) {
        const float from = At(series[k], n), to = At(series[k], end);
        if (!(from > 0) || to == kNoReturn) continue;
        double r = 0;
        if (records::OptionValue(options, records::Opt::kCumulativeReturn) == 1) {
            r = (static_cast<double>(to) - from) / from * 100.0;
        } else {
            const double ratio = static_cast<double>(to) / from;
            if (!(ratio > 0)) continue;
            const double x = end >= 1 && m != 0 ? p / m : 1.0;
            r = (std::pow(ratio, x) - 1.0) * 100.0;
        }
        const float rf = static_cast<float>(r);
        *texts[k] = k == 0 ? Fmtpct(rf, to, 1.0f, 1.0f, 1) : Fmtpct(rf, to, from, 1.0f, 1);
        *texts[k] = texts[k]->substr(0, 8);
    }
    return out;
}

void Persumm(const PerformanceSummaryCall& call) {
    if (call.series == nullptr || call.page == nullptr) return;
    Summary(call).Run();
}

void Prfmon(int16_t& page, int16_t& lines, std::string_view ending_date, int16_t print_mode,
            int16_t& page_length) {
    if (print_mode == 2) {
        records::Headr2(page, lines, page_length);
    } else {
        const std::string end = DateText(std::string(ending_date));
        records::Pghead(page, lines, page_length);
        records::Prtout(records::Write("(53X,'MONTHLY PERFORMANCE BY ACCOUNT')"));
        records::Prtout("");
        records::Prtout(records::Write("(62X,3A4)", Words(end, 4)));
        records::Prtout("");
        records::Prtout(records::Write("(44X,'NET',44X,'TOTAL RETURN %')"));
        records::Prtout(
            records::Write("(1X,'ACCOUNT',22X,'ACCOUNT',5X,'CAPITAL',2X,'DIVIDENDS ',2X,'   %CHANGE  "
                           "',18X,'ANNUALIZED')"));
        records::Prtout(
            records::Write("(1X,' NAME ',23X,' VALUE ',5X,' FLOW  ',2X,'& INTEREST',2X,' PERIOD  "
                           "YTD',4X,'YTD',3X,'1 YR',3X,'3 YR',3X,'5 YR',2X,'10 YR',2X,'INCEP')"));
        records::Prtout(records::Write("(63X,' -----------',3X,'---------------------------------------')"));
    }
    lines = static_cast<int16_t>(lines + 8);
}

void Prfsumac(int16_t& page, int16_t& lines, std::string_view date_printed, std::string_view ending_date,
              int16_t print_mode, int16_t& page_length) {
    if (print_mode == 2) {
        records::Headr2(page, lines, page_length);
    } else {
        records::Pghead(page, lines, page_length);
        records::Prtout(records::Write("(49X,'SUMMARY OF PERFORMANCE BY ACCOUNT')"));
        records::Prtout("");
        records::Prtout("");
        records::Prtout(records::Write("(25X,'ENDING DATE: ',3A4,28X,'DATE PRINTED: ',3A4)",
                                       Join(Words(DateText(std::string(ending_date)), 4),
                                            Words(DateText(std::string(date_printed)), 4))));
        records::Prtout("");
        records::Prtout(records::Write("(58X,'NET ACCOUNT',8X,'ENDING',7X,'ROR',8X,'ROR')"));
        records::Prtout(
            records::Write("(28X,'ACCOUNT NAME',17X,'CONTRIBUTION',8X,'BALANCE',6X,'YTD',8X,'CUM')"));
        records::Prtout(
            records::Write("(28X,'------------',17X,'------------',8X,'-------',6X,'---',8X,'---')"));
        records::Prtout("");
    }
    lines = 7;
}

}  // namespace reports

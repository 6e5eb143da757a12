#include "reports/performance/asset_class_returns.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "records/chars.h"
#include "records/dates.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/performance_control.h"
#include "records/report_output.h"
#include "records/security_file.h"
#include "reports/performance/performance_cells.h"
#include "reports/performance/performance_summary.h"

namespace reports {

namespace {

constexpr int kSize = kTableMonths;
const std::string kNa = "   N/A  ";

using SV = std::string_view;

// One class's series, entry k at [k - 1].
struct ClassSeries {
    double* value;
    double* flow;
    float* income;
};

float Level(const std::vector<float>& x, int k) {
    return k >= 1 && k <= static_cast<int>(x.size()) ? x[static_cast<std::size_t>(k - 1)] : kNoReturn;
}

std::string Cell(double r) {
    return Fmtpct(static_cast<float>(r), static_cast<float>(r), 1.0f, 1.0f, 1).substr(0, 8);
}

// The change from entry s to entry e; "   N/A  " when the starting level
// is not above 0 or a level is not known.
std::string Change(const std::vector<float>& x, int s, int e) {
    const float from = Level(x, s), to = Level(x, e);
    if (!(from > 0) || to == kNoReturn) return kNa;
    return Cell(100.0 * (static_cast<double>(to) - from) / from);
}

// The change from entry s to entry e raised to the exponent; "   N/A  "
// when it cannot be computed.
std::string Annual(const std::vector<float>& x, int s, int e, double exponent, bool known) {
    const float from = Level(x, s), to = Level(x, e);
    if (!known || !(from > 0) || to == kNoReturn) return kNa;
    const double ratio = static_cast<double>(to) / from;
    if (!(ratio > 0)) return kNa;
    return Cell((std::pow(ratio, exponent) - 1.0) * 100.0);
}

}  // namespace

namespace {

// The descriptions of the two market indexes; an index whose symbol is
// blank or not on file is not found and prints no line.
struct MarketIndexes {
    std::array<bool, 2> found{false, false};
    std::array<std::string, 2> description{std::string(32, ' '), std::string(32, ' ')};
};

MarketIndexes ReadMarketIndexes(const AssetClassSummaryRequest& rq) {
    MarketIndexes indexes;
    for (std::size_t x = 0; x < 2; ++x) {
        const std::string symbol = records::Fixed(rq.index_symbols[x], 12);
        if (records::TrimRight(symbol).empty()) continue;
        const int n = records::Ccksym(symbol);
        if (n <= 0) continue;
        records::SecurityRecord security;
        if (!records::ReadSecurity(n, security)) continue;
        indexes.found[x] = true;
        indexes.description[x] = records::Fixed(security.description1, 32);
    }
    return indexes;
}

// The first period. An account opened on a month's last day starts with
// that month: every series moves down one entry. Otherwise the first entry
// holds the opening values, and the first month counts for the fraction of
// it after the opening day (the returned fraction).
double FirstPeriod(const AssetClassSummaryRequest& rq, const records::PerformanceAccount& run,
                   const std::array<ClassSeries, 4>& classes, MonthlySeries& s) {
    int16_t om = 0, od = 0, oy = 0;
    records::Redate(run.opening_date, om, od, oy);
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, static_cast<int16_t>(records::WindowYear(oy)));
    double fraction = 1.0;
    const int days = om >= 1 && om <= 12 ? lengths[static_cast<std::size_t>(om - 1)] : 0;
    if (days > 0 && od == days) {
        auto down = [](auto* x) { std::rotate(x, x + 1, x + kSize); };
        for (const ClassSeries& c : classes) {
            down(c.value);
            down(c.flow);
            down(c.income);
        }
        down(s.index1.data());
        down(s.index2.data());
    } else {
        s.value[0] = s.flow[0] = run.initial_value;
        const std::array<double, 3> starts = {rq.first.cash_equivalents_start, rq.first.equities_start,
                                              rq.first.fixed_income_start};
        const std::array<float, 4> incomes = {rq.first.cash_equivalents_income_start,
                                              rq.first.equities_income_start,
                                              rq.first.fixed_income_income_start, rq.first.income_start};
        for (std::size_t c = 0; c < 3; ++c) classes[c].value[0] = classes[c].flow[0] = starts[c];
        for (std::size_t c = 0; c < 4; ++c) classes[c].income[0] = incomes[c];
        s.index1[0] = run.index1_base;
        s.index2[0] = run.index2_base;
        if (days > 0) fraction = static_cast<double>(days - od) / days;
    }
    return fraction;
}

// The page heading: the title, the date and the account's opening date
// (a new page of the screen output).
void PrintHeading(const AssetClassSummaryRequest& rq, PerformancePage& page, const records::PerformanceAccount& run,
                  auto&& print) {
    const std::string blank(132, ' ');
    page.lines = 0;
    page.page = 1;
    if (rq.output_mode == 2) {
        records::Headr2(page.page, page.lines, page.page_length);
    } else {
        records::Pghead(page.page, page.lines, page.page_length);
        print(records::Write("(48X,'SUMMARY OF PERFORMANCE ','BY ASSET CLASS') "));
        print(blank);
        const std::string end = records::Fixed(run.end_date, 8), opened = records::Fixed(run.opening_date, 8);
        std::vector<records::OutItem> items = Words(end, 4);
        const std::string title = records::Fixed(rq.title, 42);
        const auto t = Words(title, 1);
        items.insert(items.end(), t.begin(), t.end());
        const auto o = Words(opened, 4);
        items.insert(items.end(), o.begin(), o.end());
        print(records::Write("(1X,'DATE: ',2A4,31X,42A1,9X,'ACCOUNT OPENED: ',2A4) ", items));
        print(blank);
    }
    page.lines = 6;
}

// The period (1 for the first month of the series) of the carry-in month
// and year; 0 when none is set or it falls outside the series.
int CarryPeriod(const MonthlySeries& s, const records::PerformanceAccount& run, bool carry_set) {
    int carry_period = 0;
    int k = 0;
    for (int y = s.start_year; y <= s.last_year; ++y) {
        const int from = y == s.start_year ? s.start_month : 1;
        const int to = y == s.last_year ? s.last_month : 12;
        for (int m = from; m <= to; ++m) {
            ++k;
            if (carry_set && m == run.carry_month && y == run.carry_year) carry_period = k;
        }
    }
    return carry_period;
}

// The return indexes of each class, [class][0] of the total return and
// [class][1] of the income, chained month by month from 100 over the
// first `last` periods; the carry-in period restarts at 100 plus the
// carried return.
using ClassIndexes = std::array<std::array<std::vector<float>, 2>, 4>;

ClassIndexes ReturnIndexes(const std::array<ClassSeries, 4>& classes, int last, int carry_period,
                           float carried_return) {
    ClassIndexes index;
    for (std::size_t c = 0; c < 4; ++c)
        for (int kind = 0; kind < 2; ++kind) {
            std::vector<float>& x = index[c][static_cast<std::size_t>(kind)];
            x.assign(kSize, 100.0f);
            const ClassSeries& cs = classes[c];
            for (int k = 2; k <= last; ++k) {
                const std::size_t j = static_cast<std::size_t>(k - 1);
                if (cs.flow[j] == kNoAmount || (kind == 0 && cs.value[j] <= kNoAmount)) {
                    // The chain stops: no level is known from here on.
                    std::fill(x.begin() + static_cast<long>(j), x.end(), kNoReturn);
                    break;
                }
                if (kind == 0 && cs.value[j - 1] < 0) {
                    // No base to measure from: the level carries on.
                    x[j] = x[j - 1];
                } else {
                    const double gain = kind == 0 ? cs.value[j] - cs.value[j - 1] - cs.flow[j] : cs.income[j];
                    const double base = cs.value[j - 1] + 0.5 * (cs.flow[j] + cs.income[j]);
                    const double factor = base == 0 ? 1.0 : 1.0 + gain / base;
                    x[j] = static_cast<float>(x[j - 1] * factor);
                }
                if (k == carry_period) x[j] = 100.0f + carried_return;
            }
        }
    return index;
}

// The table: its column headings, a row of total and income cells for
// each class, and a row for each market index found.
void PrintTable(const ClassIndexes& index, const std::vector<float>& levels1, const std::vector<float>& levels2,
                const MarketIndexes& indexes, auto&& cells, auto&& print) {
    const std::string blank(132, ' ');
    print(records::Write("(72X,'YEAR-TO-DATE',10X,'PAST',11X,'ANNUALIZED') "));
    print(
        records::Write("(34X,'QUARTER-TO-DATE',5X,'YEAR-TO-DATE',7X,'ANNUALIZED',2X,'    TWELVE MONTHS "
                       "',4X,'FROM INCEPTION')"));
    print(
        records::Write("(34X,'---------------',5X,'------------',7X,'----------',2X,'    ------------- "
                       "',4X,'--------------')"));
    print(
        records::Write("(35X,'% CHG    %CUM ',4X,'% CHG    %CUM ',4X,'TOTAL   INCOME',4X,'% CHG    %CUM "
                       "',4X,'% CHG    %CUM')"));
    print(records::Write(
        "(35X,'TOTAL   INCOME',4X,'TOTAL   INCOME',5X,'ANN      ANN ',4X,'TOTAL   INCOME',4X,"
        "'TOTAL   INCOME')"));
    print(blank);
    const char* rows[4] = {"(2X,'CASH EQUIVALENTS             ',10(1X,A8))",
                           "(2X,'EQUITIES                     ',10(1X,A8))",
                           "(2X,'FIXED INCOME                 ',10(1X,A8))",
                           "(2X,'TOTAL PORTFOLIO              ',10(1X,A8))"};
    for (std::size_t c = 0; c < 4; ++c) {
        const auto total = cells(index[c][0], false), income = cells(index[c][1], false);
        std::vector<records::OutItem> items;
        for (std::size_t k = 0; k < 5; ++k) {
            items.emplace_back(SV(total[k]));
            items.emplace_back(SV(income[k]));
        }
        print(records::Write(rows[c], items));
        print(blank);
    }
    for (std::size_t x = 0; x < 2; ++x) {
        if (!indexes.found[x]) continue;
        const auto c = cells(x == 0 ? levels1 : levels2, true);
        const std::string name = indexes.description[x].substr(0, 28);
        std::vector<records::OutItem> items = Words(name, 4);
        for (const std::string& cell : c) items.emplace_back(SV(cell));
        print(records::Write("(2X,7A4,2X,A8,10X,A8,10X,A8,10X,A8,10X,A8)", items));
        if (x == 0) print(blank);
    }
}

// PCONTROL.FIL: the run record as read (the initial value taken from the
// caller is this page's only), its last month and year changed, and the
// header read whole with its first fields changed.
void WriteBackRun(int slot, records::PerformanceHeader& header, const records::PerformanceAccount& as_read,
                  const records::PerformanceAccount& run, const MonthlySeries& s, int16_t output_mode) {
    if (slot >= 1 && slot <= records::kPerformanceSlotCount) {
        records::PerformanceAccount back = as_read;
        back.last_month = s.last_month;
        back.last_year = s.last_year;
        records::WritePerformanceAccount(slot, back);
        if (run.status > 0 || !(run.index_count > run.index_position))
            header.slot_flags[static_cast<std::size_t>(slot - 1)] = 0;
    }
    int16_t n = static_cast<int16_t>(slot);
    if (run.status > 0 || run.index_count < run.index_position) n = 0;
    if (run.index_count <= 0 || !(run.index_count > run.index_position)) n = records::kPerformanceFinished;
    header.slot = n;
    header.written = 0;
    header.output_mode = output_mode;
    records::WritePerformanceHeader(header);
}

}  // namespace

void Sumac(const AssetClassSummaryRequest& rq, PerformancePage& page, MonthlySeries& s) {
    // 1. The run.
    records::PerformanceHeader header;
    records::ReadPerformanceHeader(header);
    int slot = rq.mode > 0 ? 1 : header.slot;
    records::PerformanceAccount run;
    if (slot >= 1 && slot <= records::kPerformanceSlotCount) records::ReadPerformanceAccount(slot, run);

    // 2. The indexes' descriptions.
    const MarketIndexes indexes = ReadMarketIndexes(rq);

    const records::PerformanceAccount as_read = run;
    // 3. The initial value.
    if (run.history <= 0 && rq.initial_value != kNoAmount) run.initial_value = rq.initial_value;

    // 4. The first period.
    const std::array<ClassSeries, 4> classes = {
        ClassSeries{s.cash_equivalents.value.data(), s.cash_equivalents.flow.data(),
                    s.cash_equivalents.income.data()},
        ClassSeries{s.equities.value.data(), s.equities.flow.data(), s.equities.income.data()},
        ClassSeries{s.fixed_income.value.data(), s.fixed_income.flow.data(), s.fixed_income.income.data()},
        ClassSeries{s.value.data(), s.flow.data(), s.income.data()}};
    const double fraction = FirstPeriod(rq, run, classes, s);

    // 5. Heading.
    auto print = [&](const std::string& line) {
        if (rq.output_mode != 2) records::Prtout(line);
    };
    PrintHeading(rq, page, run, print);

    // 6. Periods and the carry-in period.
    const bool carry_set =
        run.carry_month >= 1 && run.carry_month <= 12 && run.carry_year >= 1 && run.carry_year <= 150;
    const int carry_period = CarryPeriod(s, run, carry_set);
    const int last =
        std::clamp((s.last_year - s.start_year) * 12 - s.start_month + s.last_month + 1, 1, kSize);

    // 7. The year-to-date start.
    int months = s.last_month - run.fiscal_month;
    if (months <= 0) months += 12;
    const int ytd = std::max(last - months, 1);
    const bool carry_this_year = carry_set && carry_period >= 1 && run.carry_year == s.last_year;
    const int ytd_from = carry_this_year ? carry_period : ytd;

    // 8. The return indexes, total and income of each class.
    const ClassIndexes index = ReturnIndexes(classes, last, carry_period, run.carried_return);
    const std::vector<float> levels1(s.index1.begin(), s.index1.end());
    const std::vector<float> levels2(s.index2.begin(), s.index2.end());

    // 10. The annualizing exponents.
    double m = last - ytd_from;
    if (m == 0) m = 1;
    if (ytd_from == 1) m += fraction - 1.0;
    const bool ytd_known = m > 0;
    const double ytd_exponent = ytd_known ? 12.0 / m : 1.0;
    const double divisor = last + fraction - 2.0;
    const bool since_known = divisor >= 0;
    const double since_exponent = last >= 1 && divisor != 0 ? 12.0 / divisor : 1.0;
    // 11, 12. The quarter-to-date and twelve-month starts.
    const int qtd = std::max((s.last_month - 1) / 3 * 3 - s.last_month + last, 1);
    const int twelve = std::max(last - 12, 1);

    // A market index measures its year to date from the year-to-date
    // start; a class from the carry-in period when it falls in the last
    // year.
    auto cells = [&](const std::vector<float>& x, bool market_index) {
        const int from = market_index ? ytd : ytd_from;
        return std::array<std::string, 5>{
            Change(x, qtd, last), Change(x, from, last), Annual(x, from, last, ytd_exponent, ytd_known),
            Change(x, twelve, last), Annual(x, 1, last, since_exponent, since_known)};
    };

    // 14. The table.
    if (rq.output_mode == 2)
        records::Peject();
    else
        PrintTable(index, levels1, levels2, indexes, cells, print);

    // 15. PCONTROL.FIL.
    WriteBackRun(slot, header, as_read, run, s, rq.output_mode);
}

}  // namespace reports

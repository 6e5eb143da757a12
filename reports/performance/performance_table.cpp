#include "reports/performance/performance_table.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "engine/value_history.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/performance/index_levels.h"
#include "reports/performance/performance_cells.h"
#include "reports/performance/performance_heading.h"
#include "reports/performance/performance_summary.h"

namespace reports {

namespace {

constexpr int kCategoryUnit = 16;
constexpr std::size_t kRecordLength = 128;

bool Blank(std::string_view s) {
    return records::TrimRight(s).empty();
}

double StoredDateNumber(int year, int month, int day) {
    return static_cast<double>(year) * 10000 + month * 100 + day;
}

// The row date as the table prints it: MM/DD/YY, zero-padded.
std::string RowDateText(int16_t month, int16_t day, int16_t year) {
    const int16_t yy = static_cast<int16_t>(year > 99 ? year - 100 : year);
    std::string text = records::Write(
        "(I2,'/',I2,'/',I2)",
        {static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(yy)});
    std::replace(text.begin(), text.end(), ' ', '0');
    return text;
}

// COMMON.FIL record 14, the category of each security type; the defaults
// when it cannot be read or one of its first 22 codes is blank.
engine::CategoryTable ReadCategories() {
    records::DirectFile common(records::kCommonFile, kRecordLength, false);
    records::Record rec;
    if (!common.ok() || !common.Read(14, rec)) return engine::DefaultCategoryTable();
    for (std::size_t k = 0; k < 22; ++k)
        if (Blank(rec.Text(2 * k, 2))) return engine::DefaultCategoryTable();
    return engine::CategoryTableFromText(rec.Text(0, 46));
}

// Compounds a month's return into a running one: both must be known.
float Compound(float running, float r) {
    if (r > kNoReturn && running > kNoReturn)
        return static_cast<float>((running + 100.0) * (r + 100.0) * 0.01 - 100.0);
    return kNoReturn;
}

// The sums the table's rows carry from month to month: the flows since
// the start, the cumulative return, and the quarter's returns and sums.
struct RunningSums {
    double total_flows = 0;
    float c_prev = 0;
    float q = 0, q1 = 0, q2 = 0;
    double q_flow = 0, q_change = 0, q_income = 0;
    double gain = kNoAmount;
};

// One month's figures: its value, flow and income, its change, and its
// period (r) and cumulative (c) returns.
struct MonthFigures {
    double value = kNoAmount, flow = kNoAmount, income = 0;
    double change = kNoAmount;
    float r = kNoReturn, c = kNoReturn;
};

// Where a row stands: month i of the series (month m of year y), its date
// number and text, and the carry-in month and the month before it.
struct MonthRowPlace {
    int i = 0, y = 0, m = 0;
    double row = 0;
    std::string date;
    int carry_month = 0, before_carry_month = 0, before_carry_year = 0;
};

class Table {
public:
    Table(PerformanceTableRequest& request, PerformancePage& page, MonthlySeries& series,
          PerformanceTableResult& result)
        : rq_(request), page_(page), s_(series), result_(result) {}

    void Run();

private:
    void Say(const std::string& line) {
        if (rq_.output_mode != 2) records::Prtout(line);
        ++page_.lines;
    }
    bool Printing() const { return rq_.sub_kind <= 0 && choice_ != 4; }
    void Heading();
    bool CheckRun();
    void OutOfRange(const std::string& field, long value);
    bool ReadHistory();
    bool Replay();
    void NoHoldings();
    void TooLong();
    void MoveBack();
    void Loop();
    bool Months();
    bool StartsAMonthEarlier(int16_t day);
    void MonthReturns(int i, RunningSums& sums, MonthFigures& f) const;
    void MonthRow(const MonthRowPlace& at, const RunningSums& sums, const MonthFigures& f, std::array<float, 3> x1,
                  std::array<float, 3> x2);
    void ChartHeader();
    void ChartPoint(const std::string& cumulative, const std::string& since1, const std::string& since2);
    void InitialLine(const std::string& date, double value, float level1, float level2);
    void ShortRow(const std::string& date, double value, double flow, float level1, float level2);
    void FullRow(const std::string& date, double value, double flow, double income, double change,
                 double gain, float period, float cumulative, const std::array<float, 3>& x1,
                 const std::array<float, 3>& x2);

    PerformanceTableRequest& rq_;
    PerformancePage& page_;
    MonthlySeries& s_;
    PerformanceTableResult& result_;

    records::PerformanceHeader header_;
    records::PerformanceAccount run_;
    int slot_ = 0;
    int16_t choice_ = 0;
    bool quarterly_ = false;
    int16_t display_ = 0;  // 0 both indexes, 1 index 1, 2 none
    std::string title_ = std::string(42, ' ');
    TableDates dates_;
    std::string start_text_ = std::string(8, ' ');
    std::string opening_text_ = std::string(8, ' ');
    int16_t end_month_ = 0, end_year_ = 0, end_day_ = 0;
    int16_t history_first_month_ = 0, history_first_year_ = 0;
    bool history_read_ = false;
    bool history_damaged_ = false;
    bool too_long_ = false;
    bool moved_ = false;
    // The chart file, made anew beside the earlier one and put in its
    // place when the table ends.
    std::optional<records::TextReplacement> chart_;
    int chart_kind_ = 0;  // 1 PERF.DAT, 2 GRAPHER.OUT
    int point_ = 0;
    std::string first_eq_ = std::string(8, ' '), first_fi_ = std::string(8, ' '),
                first_ce_ = std::string(8, ' ');
    double v0_ = 0;
    float s1_ = 0, s2_ = 0;
    float cumulative_ = 0;
    float last_return_ = kNoReturn;
    std::array<float, 2> last_change_{kNoReturn, kNoReturn};
    std::string cumulative_text_ = std::string(6, ' ');
};

void Table::Heading() {
    PerformanceHeading h;
    h.page = page_.page;
    h.lines = page_.lines;
    h.page_length = page_.page_length;
    h.start_date = Blank(opening_text_) ? start_text_ : opening_text_;
    h.end_date = run_.end_date;
    h.title = title_;
    h.frequency = rq_.frequency;
    h.index1 = rq_.indexes[0].headers;
    h.index2 = rq_.indexes[1].headers;
    h.index_selector = display_;
    h.output_mode = rq_.output_mode;
    h.choice = choice_;
    h.description = rq_.description;
    Mprfhead(h);
    page_.page = h.page;
    page_.lines = h.lines;
    page_.page_length = h.page_length;
}

// The account's value history: the first month and year and the years
// it holds; on the history road its values, flows and incomes.
bool Table::ReadHistory() {
    records::DirectFile file(records::Paknam(run_.account, "HL", ".DAT"), kRecordLength, false);
    records::Record rec;
    if (!file.ok() || !file.Read(1, rec)) return false;
    const engine::ValueHistoryHeader head = engine::ValueHistoryHeader::Decode(rec);
    // The start month indexes the year's twelve values: out of range, the
    // account has no table.
    const std::string name = records::TrimRight(records::Paknam(run_.account, "HL", ".DAT"));
    if (head.start_month < 1 || head.start_month > 12) {
        OutOfRange(name + " START MONTH", head.start_month);
        history_damaged_ = true;
        return false;
    }
    if (head.years < 0 || head.years > engine::kMaxHistoryYears) {
        OutOfRange(name + " YEARS", head.years);
        history_damaged_ = true;
        return false;
    }
    history_read_ = true;
    history_first_month_ = head.start_month;
    history_first_year_ = head.first_year;
    const int last = head.first_year + head.years - 1;
    if (last < end_year_) {
        end_year_ = static_cast<int16_t>(last);
        end_month_ = 12;
    }
    s_.start_month = head.start_month;
    s_.start_year = head.first_year;
    if (run_.history < 1) return true;

    // Four records a year from record 2: values, flows, a carried series,
    // incomes. A value record of another year is tried for the next year;
    // a flow or income record of another year ends the reading.
    long group = 0;
    for (int year = head.first_year; year <= end_year_;) {
        records::Record r;
        if (!file.Read(group * 4 + 2, r)) break;
        const engine::ValueHistoryYear values = engine::ValueHistoryYear::Decode(r);
        if (values.year != year) {
            ++year;
            continue;
        }
        records::Record fr, ir;
        if (!file.Read(group * 4 + 3, fr) || !file.Read(group * 4 + 5, ir)) break;
        const engine::ValueHistoryYear flows = engine::ValueHistoryYear::Decode(fr);
        const engine::ValueHistoryYear incomes = engine::ValueHistoryYear::Decode(ir);
        if (flows.year != year || incomes.year != year) break;
        const int from = year == head.first_year ? head.start_month : 1;
        const int to = year == end_year_ ? end_month_ : 12;
        for (int m = from; m <= to; ++m) {
            const long k = (static_cast<long>(year) - head.first_year) * 12 + m - head.start_month + 2;
            if (k < 1 || k > kTableMonths) continue;
            s_.value[k - 1] = values.values[m - 1];
            s_.flow[k - 1] = flows.values[m - 1];
            s_.income[k - 1] = static_cast<float>(incomes.values[m - 1]);
        }
        ++group;
        ++year;
    }
    return true;
}

// The line that stops an account's table: a field read from a file is out
// of range.
void Table::OutOfRange(const std::string& field, long value) {
    Say(records::Write("(1X,'ACCOUNT ',A8,': ')", {std::string_view(run_.account)}) + field + " " +
        std::to_string(value) + " OUT OF RANGE, NO PERFORMANCE TABLE");
}

// The months and the end date of the run's records in PCONTROL.FIL, which
// index the month tables: false (with the line that says so) when one is
// out of range.
bool Table::CheckRun() {
    // A date number of 1YYMMDD at most (the windowed years 2000-2050).
    const double end = run_.end_date_number;
    if (!std::isfinite(end) || end < 0 || end > 1991231) {
        OutOfRange("PCONTROL.FIL END DATE", std::isfinite(end) ? std::lround(std::clamp(end, -1e9, 1e9)) : 0);
        return false;
    }
    // 0 (an end date the run refused) has no period to report, as before.
    const long end_month = records::SplitDateNumber(static_cast<long>(end)).month;
    if (end_month > 12) {
        OutOfRange("PCONTROL.FIL END MONTH", end_month);
        return false;
    }
    struct DateField {
        const char* name;
        const std::string& text;
    };
    for (const DateField& f : {DateField{"PCONTROL.FIL OPENING DATE MONTH", run_.opening_date},
                               DateField{"PCONTROL.FIL START DATE MONTH", header_.start_date}}) {
        int16_t month = 0, day = 0, year = 0;
        records::Redate(records::Fixed(f.text, 8), month, day, year);
        if (month < 0 || month > 12) {
            OutOfRange(f.name, month);
            return false;
        }
    }
    return true;
}

// The replay road: the series rebuilt from the account's transactions.
// False when the account has no holdings.
bool Table::Replay() {
    const engine::CategoryTable table = ReadCategories();
    const int16_t kind = (choice_ >= 1 && choice_ <= 3) || choice_ == 5
                             ? choice_
                             : static_cast<int16_t>(engine::kWholeAccountKind);
    engine::PeriodValues values, flows;
    engine::PeriodIncomes incomes;
    std::copy(s_.value.begin(), s_.value.end(), values.begin());
    std::copy(s_.flow.begin(), s_.flow.end(), flows.begin());
    std::copy(s_.income.begin(), s_.income.end(), incomes.begin());
    engine::AccountData account_data{};
    std::copy(rq_.options.begin(), rq_.options.end(), account_data.begin());
    engine::SeriesBlock block;
    std::string start = start_text_;
    int16_t periods = 0, selected = 0;
    if (!Blank(run_.account) &&
        !records::DirectFile(records::Paknam(run_.account, "TR", ".REC"), kRecordLength, false).ok())
        return false;
    const int16_t status =
        engine::Getmmv(run_.account, run_.end_date, start, values, flows, incomes, periods, account_data,
                       kind, table, first_eq_, first_fi_, first_ce_,
                       choice_ == 5 ? std::string_view(rq_.security) : std::string_view(), selected, block);
    if (status == engine::kSeriesTooLong) {
        too_long_ = true;
        return true;
    }
    if (selected <= 0) return false;
    const engine::PeriodSeries& own =
        kind == engine::kWholeAccountKind ? block.result : engine::PeriodSeries{values, flows, incomes};
    std::copy(own.value.begin(), own.value.end(), s_.value.begin());
    std::copy(own.flow.begin(), own.flow.end(), s_.flow.begin());
    std::copy(own.income.begin(), own.income.end(), s_.income.begin());
    s_.cash_equivalents = block.cash_equivalents;
    s_.equities = block.equities;
    s_.fixed_income = block.fixed_income;
    // The table's months are the series' own.
    s_.start_month = block.start_month;
    s_.start_year = block.start_year;

    start_text_ = records::Fixed(start, 8);
    // A class or a security begins with its own first transaction: an
    // opening date before it moves up to it.
    if (choice_ >= 1 && choice_ != 4 &&
        Mnapdat(opening_text_, "").start_number < Mnapdat(start_text_, "").start_number)
        opening_text_ = start_text_;
    dates_ = Mnapdat(start_text_, opening_text_);
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, dates_.year);
    const int first =
        dates_.month >= 1 && dates_.month <= 12 && dates_.day == lengths[dates_.month - 1] ? 1 : 0;
    run_.initial_value = s_.value[first];
    result_.cash_equivalents_start = s_.cash_equivalents.value[first];
    result_.equities_start = s_.equities.value[first];
    result_.fixed_income_start = s_.fixed_income.value[first];
    result_.income_start = s_.income[first];
    result_.cash_equivalents_income_start = s_.cash_equivalents.income[first];
    result_.equities_income_start = s_.equities.income[first];
    result_.fixed_income_income_start = s_.fixed_income.income[first];
    return true;
}

// No holdings: no table and no summary page; the run's records go back
// to PCONTROL.FIL, each read, changed and written whole.
void Table::NoHoldings() {
    result_.no_holdings = true;
    page_.lines = static_cast<int16_t>(page_.lines + 3);
    if (Printing() && rq_.output_mode != 2)
        records::Prtout(
            records::Write("(1X,'ACCOUNT ',A8,': NO HOLDINGS')", {std::string_view(run_.account)}));
    records::PerformanceHeader header;
    if (!records::ReadPerformanceHeader(header)) return;
    if (slot_ > 0) records::WritePerformanceAccount(slot_, run_);
    const int n = header.slot;
    if (n >= 1 && n <= records::kPerformanceSlotCount &&
        (run_.status > 0 || !(run_.index_count > run_.index_position)))
        header.slot_flags[static_cast<std::size_t>(n - 1)] = 0;
    if (run_.status > 0 || run_.index_count < run_.index_position) header.slot = 0;
    header.written = 0;
    header.frequency = records::Fixed(rq_.frequency, 4);
    header.output_mode = rq_.output_mode;
    records::WritePerformanceHeader(header);
}

void Table::TooLong() {
    if (rq_.output_mode != 2)
        records::Prtout(records::Write("(1X,'ACCOUNT ',A8,': MORE THAN 360 MONTHS, NO PERFORMANCE TABLE')",
                                       {std::string_view(run_.account)}));
    ++page_.lines;
}

// The table starts one month earlier, from the run's initial value and
// index levels.
void Table::MoveBack() {
    moved_ = true;
    s_.value[0] = run_.initial_value;
    s_.index1[0] = s1_ = run_.index1_base;
    s_.index2[0] = s2_ = run_.index2_base;
    v0_ = run_.initial_value;
    if (run_.history >= 1 && s_.flow[1] != kNoAmount) s_.flow[1] -= run_.initial_value;
    if (--s_.start_month == 0) {
        s_.start_month = 12;
        --s_.start_year;
    }
}

void Table::ChartHeader() {
    if (!chart_) return;
    const bool first_point = records::SameDate(start_text_, opening_text_) || Blank(opening_text_);
    if (chart_kind_ == 2) {
        const std::string id = records::Fixed(run_.account, 8);
        const std::string x1 = records::Fixed(rq_.indexes[0].symbol, 12),
                          x2 = records::Fixed(rq_.indexes[1].symbol, 12);
        const std::string_view a(id), b(x1), c(x2);
        for (const std::string& line : records::WriteRecords(
                 "(1X,I1,/,1X,2A4,'PORTFOLIO',/,1X,3A4,/,1X,3A4,/,1X,A8)",
                 {static_cast<long long>(3 - display_), a.substr(0, 4), a.substr(4, 4), b.substr(0, 4),
                  b.substr(4, 4), b.substr(8, 4), c.substr(0, 4), c.substr(4, 4), c.substr(8, 4),
                  std::string_view(quarterly_ ? "QUARTERS" : "MONTHS  ")}))
            chart_->WriteLine(line);
        point_ = 0;
        if (first_point) {
            point_ = 1;
            chart_->WriteLine(records::Write("(1X,I3,3(F6.1,1X))", {1LL, 0.0, 0.0, 0.0}));
        }
    } else {
        chart_->WriteLine(records::Write("(1X,3F7.1)", {0.0, 0.0, 0.0}));
    }
}

void Table::ChartPoint(const std::string& cumulative, const std::string& since1, const std::string& since2) {
    if (!chart_) return;
    if (chart_kind_ == 2) {
        ++point_;
        chart_->WriteLine(
            records::Write("(1X,I3,3(A6,1X))", {static_cast<long long>(point_), std::string_view(cumulative),
                                                std::string_view(since1), std::string_view(since2)}));
    } else {
        chart_->WriteLine(records::Write("(1X,3A6)", {std::string_view(cumulative), std::string_view(since1),
                                                      std::string_view(since2)}));
    }
}

void Table::InitialLine(const std::string& date, double value, float level1, float level2) {
    const std::string v = Mprfnum(value, 0).substr(0, 12);
    const std::string x1 = Mprfamt(level1).substr(0, 8), x2 = Mprfamt(level2).substr(0, 8);
    const std::string_view d(date);
    std::string line;
    if (display_ == 0)
        line = records::Write("(1X,2A4,A12,'   INITIAL VALUE',46X,A8,13X,A8)",
                              {d.substr(0, 4), d.substr(4, 4), std::string_view(v), std::string_view(x1),
                               std::string_view(x2)});
    else if (display_ == 1)
        line = records::Write("(1X,2A4,A12,'   INITIAL VALUE',46X,A8)",
                              {d.substr(0, 4), d.substr(4, 4), std::string_view(v), std::string_view(x1)});
    else
        line = records::Write("(1X,2A4,A12,'   INITIAL VALUE')",
                              {d.substr(0, 4), d.substr(4, 4), std::string_view(v)});
    Say(line);
}

void Table::ShortRow(const std::string& date, double value, double flow, float level1, float level2) {
    const std::string v = Mprfnum(value, 0).substr(0, 12), f = Mprfnum(flow, 1).substr(0, 12);
    const std::string x1 = Mprfamt(level1).substr(0, 8), x2 = Mprfamt(level2).substr(0, 8);
    std::string line;
    if (display_ == 0)
        line = records::Write("(1X,A8,A12,A12,50X,A8,14X,A8)",
                              {std::string_view(date), std::string_view(v), std::string_view(f),
                               std::string_view(x1), std::string_view(x2)});
    else if (display_ == 1)
        line = records::Write("(1X,A8,A12,A12,50X,A8)", {std::string_view(date), std::string_view(v),
                                                         std::string_view(f), std::string_view(x1)});
    else
        line = records::Write("(1X,A8,A12,A12)",
                              {std::string_view(date), std::string_view(v), std::string_view(f)});
    Say(line);
}

void Table::FullRow(const std::string& date, double value, double flow, double income, double change,
                    double gain, float period, float cumulative, const std::array<float, 3>& x1,
                    const std::array<float, 3>& x2) {
    const std::string v = Mprfnum(value, 0).substr(0, 12), f = Mprfnum(flow, 1).substr(0, 12),
                      in = Mprfnum(income, 0).substr(0, 12), ch = Mprfnum(change, 1).substr(0, 12),
                      g = Mprfnum(gain, 1).substr(0, 12);
    const std::string p = Mprfpct(period).substr(0, 6), c = Mprfpct(cumulative).substr(0, 6);
    const std::string l1 = Mprfamt(x1[0]).substr(0, 8), p1 = Mprfpct(x1[1]).substr(0, 6),
                      c1 = Mprfpct(x1[2]).substr(0, 6);
    const std::string l2 = Mprfamt(x2[0]).substr(0, 8), p2 = Mprfpct(x2[1]).substr(0, 6),
                      c2 = Mprfpct(x2[2]).substr(0, 6);
    using SV = std::string_view;
    std::string line;
    if (display_ == 0) {
        line = records::Write("(1X,A8,A12,A12,A12,A12,A12,A6,1X,A6,1X,A8,A6,A6,1X,A8,A6,A6)",
                              {SV(date), SV(v), SV(f), SV(in), SV(ch), SV(g), SV(p), SV(c), SV(l1), SV(p1),
                               SV(c1), SV(l2), SV(p2), SV(c2)});
    } else {
        // A quarterly row with one index or none sets the value apart.
        const std::string layout = std::string(quarterly_ ? "(1X,A8,A12,1X,A12,A12,A12,A12,A6,1X,A6"
                                                          : "(1X,A8,A12,A12,A12,A12,A12,A6,1X,A6") +
                                   (display_ == 1 ? ",1X,A8,A6,A6)" : ")");
        if (display_ == 1)
            line = records::Write(layout, {SV(date), SV(v), SV(f), SV(in), SV(ch), SV(g), SV(p), SV(c),
                                           SV(l1), SV(p1), SV(c1)});
        else
            line = records::Write(layout, {SV(date), SV(v), SV(f), SV(in), SV(ch), SV(g), SV(p), SV(c)});
    }
    Say(line);
}

void Table::Loop() {
    // The first month may move the start back once; the months then run
    // again from the new start.
    while (Months()) {
    }
}

// An account without an initial value whose start is not the history's
// first date starts a month earlier (true: the table moved back).
bool Table::StartsAMonthEarlier(int16_t day) {
    if (moved_ || run_.initial_value > 0 || !history_read_) return false;
    std::string history_first;
    int16_t hy = history_first_year_;
    records::Wrdate(history_first, history_first_month_, day, hy);
    // Dates from two writers ("7/31/ 0" and "7/31/00"): compared as days.
    if (records::SameDate(history_first, start_text_)) return false;
    MoveBack();
    return true;
}

// Steps a-e of month i: its flows, and its returns when it has both its
// values.
void Table::MonthReturns(int i, RunningSums& sums, MonthFigures& f) const {
    const int j = i - 1;
    f.value = s_.value[i - 1];
    f.flow = s_.flow[i - 1];
    f.income = s_.income[i - 1];
    const double v = f.value, vj = s_.value[j - 1];
    // a. Flows.
    if (f.flow == kNoAmount || sums.q_flow == kNoAmount)
        sums.q_flow = kNoAmount;
    else
        sums.q_flow += f.flow;
    if (f.flow != kNoAmount) sums.total_flows += f.flow;
    // b-e. The month's returns.
    if (v != kNoAmount && vj != kNoAmount) {
        sums.gain = v0_ != kNoAmount ? v - sums.total_flows - v0_ : kNoAmount;
        double bmv = vj, emv = v, fl = f.flow == kNoAmount ? 0.0 : f.flow;
        if (rq_.mode == 0) {
            if (bmv == 0.0 && fl != 0.0) {
                bmv = fl;
                fl = 0.0;
            }
            if (emv == 0.0 && fl != 0.0) {
                emv = std::fabs(fl);
                fl = 0.0;
            }
        }
        f.change = emv - fl - bmv;
        const double divisor = bmv + 0.5 * (fl + f.income);
        f.r = divisor > 0.0 ? static_cast<float>(100.0 * f.change / divisor) : 0.0f;
        sums.q = Compound(sums.q, f.r);
        f.c = static_cast<float>((f.r + 100.0) * (sums.c_prev + 100.0) * 0.01 - 100.0);
        sums.c_prev = f.c;
    } else {
        // A month without its values has no returns: its period,
        // quarter-to-date and cumulative returns print N/A.
        sums.gain = kNoAmount;
        sums.q = kNoReturn;
        sums.c_prev = 0;
    }
}

// Step i: the row of month m of year y, if any: the initial line at the
// opening or before the carry-in month, a short row before the carry-in
// month after the opening, and a full row (with its chart point) at each
// month or quarter end after that.
void Table::MonthRow(const MonthRowPlace& at, const RunningSums& sums, const MonthFigures& f,
                     std::array<float, 3> x1, std::array<float, 3> x2) {
    const int i = at.i, y = at.y, m = at.m;
    const double row = at.row;
    const bool carry_set = at.carry_month != 0;
    const bool before_carry = carry_set && (y < at.before_carry_year ||
                                            (y == at.before_carry_year && m < at.before_carry_month));
    if (carry_set && m == at.before_carry_month && y == at.before_carry_year) {
        if (dates_.opening_number == 0 || dates_.month_end_number <= row) {
            if (row <= dates_.month_end_number)
                InitialLine(opening_text_, f.value, s_.index1[i - 1], s_.index2[i - 1]);
            else
                ShortRow(at.date, f.value, f.flow, s_.index1[i - 1], s_.index2[i - 1]);
        }
        return;
    }
    if (before_carry || (quarterly_ && m % 3 != 0)) return;
    if (dates_.opening_number != 0 && row < dates_.month_end_number) return;  // before the opening date
    if (dates_.opening_number != 0 && row == dates_.month_end_number) {
        InitialLine(opening_text_, f.value, s_.index1[i - 1], s_.index2[i - 1]);
        return;
    }
    const std::string ct = Mprfpct(f.c).substr(0, 6);
    if (quarterly_) {
        x1[1] = sums.q1;
        x2[1] = sums.q2;
        FullRow(at.date, f.value, sums.q_flow, sums.q_income, sums.q_change, sums.gain, sums.q, f.c, x1, x2);
    } else {
        FullRow(at.date, f.value, f.flow, f.income, f.change, sums.gain, f.r, f.c, x1, x2);
    }
    ChartPoint(ct, Mprfpct(x1[2]).substr(0, 6), Mprfpct(x2[2]).substr(0, 6));
}

bool Table::Months() {
    records::MonthLengths lengths = records::MonthLengthTable;
    // The rows fall on the run's day, or on each month's last day when the
    // end date is a month end; never past a month's end.
    records::Setfeb(lengths, end_year_);
    const bool month_end_rows =
        run_.end_month >= 1 && run_.end_month <= 12 && end_day_ == lengths[run_.end_month - 1];
    MonthRowPlace at;
    const int carry_month = run_.carry_month, carry_year = run_.carry_year;
    at.carry_month = carry_month;
    at.before_carry_month = carry_month - 1;
    at.before_carry_year = carry_year;
    if (at.before_carry_month == 0) {
        at.before_carry_month = 12;
        --at.before_carry_year;
    }

    int i = moved_ ? 0 : 1;
    bool first = true;
    RunningSums sums;
    const int16_t sm = s_.start_month, sy = s_.start_year;
    for (int y = sy; y <= s_.last_year; ++y) {
        records::Setfeb(lengths, static_cast<int16_t>(y));
        const int from = y == sy ? sm : 1;
        const int to = y == s_.last_year ? s_.last_month : 12;
        for (int m = from; m <= to; ++m) {
            ++i;
            if (i > kTableMonths) return false;
            const int j = i - 1;
            const bool quarter_end = m % 3 == 0;
            if (Printing() && page_.lines > page_.page_length - 4) Heading();
            const int16_t length = lengths[m - 1];
            const int16_t day = month_end_rows || end_day_ > length || end_day_ < 1 ? length : end_day_;
            at.i = i;
            at.y = y;
            at.m = m;
            at.row = StoredDateNumber(y, m, day);
            at.date = RowDateText(static_cast<int16_t>(m), day, static_cast<int16_t>(y));

            if (first) {
                if (StartsAMonthEarlier(day)) return true;
                first = false;
                ChartHeader();
                if (dates_.opening_number == 0 && Printing()) InitialLine(start_text_, v0_, s1_, s2_);
                continue;
            }

            MonthFigures f;
            MonthReturns(i, sums, f);
            // f. Carry-in.
            if (m == carry_month && y == carry_year) {
                sums.gain = run_.carried_gain;
                f.c = run_.carried_return;
                sums.c_prev = f.c;
                if (f.value != kNoAmount) sums.total_flows = f.value - v0_ - run_.carried_gain;
            }
            // g. Quarter sums.
            if (f.change != kNoAmount && sums.q_change != kNoAmount)
                sums.q_change += f.change;
            else
                sums.q_change = kNoAmount;
            sums.q_income += f.income;
            // h. Indexes.
            auto index = [&](const std::array<float, kTableMonths>& x, float start, float& qk) {
                std::array<float, 3> out{x[i - 1], kNoReturn, kNoReturn};
                if (x[i - 1] > 0) {
                    if (start > 0) out[2] = static_cast<float>(100.0 * (x[i - 1] - start) / start);
                    if (x[j - 1] > 0) out[1] = static_cast<float>(100.0 * (x[i - 1] - x[j - 1]) / x[j - 1]);
                }
                qk = Compound(qk, out[1]);
                return out;
            };
            const std::array<float, 3> x1 = index(s_.index1, s1_, sums.q1), x2 = index(s_.index2, s2_, sums.q2);
            cumulative_ = f.c;
            last_return_ = quarterly_ ? sums.q : f.r;
            last_change_ = {quarterly_ ? sums.q1 : x1[1], quarterly_ ? sums.q2 : x2[1]};

            // i. Rows.
            if (Printing()) MonthRow(at, sums, f, x1, x2);
            if (quarter_end) {
                sums.q = sums.q1 = sums.q2 = 0;
                sums.q_flow = sums.q_change = sums.q_income = 0;
            }
        }
    }
    return false;
}

void Table::Run() {
    result_ = PerformanceTableResult{};
    s_.value.fill(kNoAmount);
    s_.flow.fill(kNoAmount);
    s_.income.fill(static_cast<float>(kNoAmount));
    s_.index1.fill(kNoReturn);
    s_.index2.fill(kNoReturn);
    s_.t.fill(0);
    choice_ = rq_.choice;
    if (rq_.sub_kind <= 0 || choice_ == 4) {
        page_.lines = 0;
        page_.page = 1;
    }

    // 1. The run.
    bool have_run = records::ReadPerformanceHeader(header_);
    if (have_run) {
        rq_.frequency = records::Fixed(header_.frequency, 4);
        slot_ = rq_.mode == 1 ? 1 : header_.slot;
        have_run = slot_ >= 1 && slot_ <= records::kPerformanceSlotCount &&
                   records::ReadPerformanceAccount(slot_, run_);
    }
    if (!have_run) {
        if (rq_.output_mode != 2) records::Prtout(" PCONTROL.FIL HOLDS NO ACCOUNT TO REPORT");
        ++page_.lines;
        return;
    }
    if (!CheckRun()) return;
    choice_ = run_.choice;
    rq_.choice = choice_;
    if (run_.carry_month < 1 || run_.carry_month > 12) run_.carry_month = 0;
    if (run_.carry_year < 1 || run_.carry_year > 150) run_.carry_year = 0;
    quarterly_ = rq_.frequency.compare(0, 1, "Q") == 0;
    auto blank3 = [](const std::array<std::string, 3>& h) { return Blank(h[0] + h[1] + h[2]); };
    display_ = 0;
    if (blank3(rq_.indexes[1].headers)) display_ = blank3(rq_.indexes[0].headers) ? 2 : 1;
    if (records::OptionOn(rq_.options, records::Opt::kNoIndexPerformance)) display_ = 2;

    // 2. The end period and the dates the rows go by.
    {
        const long yymm = static_cast<long>(run_.end_date_number / 100);
        end_year_ = static_cast<int16_t>(yymm / 100);
        end_month_ = static_cast<int16_t>(yymm - 100 * end_year_);
        int16_t mo = 0, yy = 0;
        records::Redate(run_.end_date, mo, end_day_, yy);
    }
    start_text_ = records::Fixed(run_.opening_date, 8);
    opening_text_ = Blank(header_.start_date) ? start_text_ : records::Fixed(header_.start_date, 8);
    dates_ = Mnapdat(start_text_, opening_text_);
    title_ = records::Fixed(run_.title, 42);
    int16_t status = 0;
    records::Center(title_, 42, status);
    if (Printing()) Heading();

    // Chart file.
    chart_kind_ = records::OptionValue(rq_.options, records::Opt::kPerformanceExportType);
    if (chart_kind_ == 1 || chart_kind_ == 2) chart_.emplace(chart_kind_ == 1 ? "PERF.DAT" : "GRAPHER.OUT");
    // The chart file is put in place as the table ends, on every path.
    struct ChartEnd {
        std::optional<records::TextReplacement>& chart;
        ~ChartEnd() { chart.reset(); }
    } chart_end{chart_};

    // 3-4. The series.
    ReadHistory();
    if (history_damaged_) return;
    if (run_.history < 1) {
        if (!Replay()) {
            NoHoldings();
            return;
        }
    }
    if (s_.start_month < 0 || s_.start_month > 12) {
        OutOfRange("SERIES START MONTH", s_.start_month);
        return;
    }
    s_.last_month = end_month_;
    s_.last_year = end_year_;
    const long months =
        (static_cast<long>(s_.last_year) - s_.start_year) * 12 + s_.last_month - s_.start_month + 2;
    if (too_long_ || months > kTableMonths) {
        TooLong();
        return;
    }

    // 5. Bounds.
    const bool bounded =
        !(s_.start_year > s_.last_year || (s_.start_year == s_.last_year && s_.last_month < s_.start_month) ||
          s_.last_year <= 0 || s_.last_month <= 0 || s_.start_year <= 0 || s_.start_month <= 0);
    if (bounded) {
        // 6. Index levels, from entry 2 on.
        Mnapsec(s_.start_month, end_day_, s_.start_year, s_.last_month, s_.last_year, rq_.indexes[0].symbol,
                std::span<float>(s_.index1.data(), s_.index1.size()), 1);
        Mnapsec(s_.start_month, end_day_, s_.start_year, s_.last_month, s_.last_year, rq_.indexes[1].symbol,
                std::span<float>(s_.index2.data(), s_.index2.size()), 1);
        v0_ = s_.value[1];
        s1_ = s_.index1[1];
        s2_ = s_.index2[1];
        // 7. A positive initial value and a start within its month: the
        // table starts at the month end before.
        records::MonthLengths lengths = records::MonthLengthTable;
        records::Setfeb(lengths, dates_.year);
        const bool start_month_end =
            dates_.month >= 1 && dates_.month <= 12 && dates_.day == lengths[dates_.month - 1];
        if (run_.initial_value > 0 && !start_month_end) MoveBack();
        Loop();
    } else {
        Say(records::Write("(1X,'ACCOUNT ',A8,': NO PERIOD TO REPORT')", {std::string_view(run_.account)}));
    }

    // 9. The summary page.
    result_.cumulative_return = cumulative_;
    if (choice_ != 4 && (records::OptionValue(rq_.options, records::Opt::kPerformanceSummaryType) == 1 ||
                         rq_.sub_kind >= 1)) {
        PerformanceSummaryCall call;
        call.header = &header_;
        call.account = &run_;
        call.index_display = display_;
        call.initial_value = run_.initial_value;
        call.cumulative_text = Mprfpct(cumulative_).substr(0, 6);
        call.first_equities = first_eq_;
        call.first_fixed_income = first_fi_;
        call.first_cash_equivalents = first_ce_;
        call.series = &s_;
        call.page = &page_;
        call.index_headers = {rq_.indexes[0].headers, rq_.indexes[1].headers};
        call.options = rq_.options;
        call.output_mode = rq_.output_mode;
        call.mode = rq_.mode;
        call.sub_kind = rq_.sub_kind;
        call.title = title_;
        call.start_date = start_text_;
        call.description = rq_.description;
        call.opening_in_series = moved_;
        call.last_return = last_return_;
        call.last_index_change = last_change_;
        if (rq_.summary_page)
            rq_.summary_page(call);
        else
            Persumm(call);
    }
}

}  // namespace

TableDates Mnapdat(std::string_view date1, std::string_view date2) {
    TableDates d;
    int16_t yy = 0;
    records::Redate(date1, d.month, d.day, yy);
    d.year = static_cast<int16_t>(d.month == 0 ? 0 : records::WindowYear(yy));
    d.start_number = StoredDateNumber(d.year, d.month, d.day);
    const std::string one = records::Fixed(date1, 8), two = records::Fixed(date2, 8);
    int16_t m2 = 0, d2 = 0, y2 = 0;
    records::Redate(two, m2, d2, y2);
    const int16_t year2 = static_cast<int16_t>(records::WindowYear(y2));
    if (Blank(two) || records::SameDate(two, one))
        d.opening_number = 0;
    else
        d.opening_number = StoredDateNumber(year2, m2, d2);
    int16_t mb = static_cast<int16_t>(m2 - 1), yb = year2;
    if (mb <= 0) {
        mb = 12;
        --yb;
    }
    // A month beyond December (a damaged date) has no month end.
    if (mb > 12) return d;
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, yb);
    d.month_end_number = StoredDateNumber(yb, mb, lengths[mb - 1]);
    return d;
}

void Mnappr(PerformanceTableRequest& request, PerformancePage& page, MonthlySeries& series,
            PerformanceTableResult& result) {
    Table(request, page, series, result).Run();
}

}  // namespace reports

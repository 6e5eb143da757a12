// The fixed income analyses: the account selection and holdings reading
// that the six analyses share, the class tables of the maturity, rating,
// coupon and yield analyses, and the two income flow analyses.

#include "reports/fixed_income/fixed_income_analyses.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "records/amounts.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/lookups.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "reports/fixed_income/fixed_income_measures.h"
#include "reports/fixed_income/fixed_income_reads.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::Record;

constexpr int kClasses = 12;
constexpr double kDaysToYears = 0.0027397260273972603;  // 1 / 365

// Upper bounds in years of the maturity classes.
constexpr std::array<double, kClasses> kMaturityBounds = {1, 2, 3, 4, 5, 7, 10, 15, 20, 25, 30, 999};
constexpr std::array<const char*, kClasses> kMaturityLabels = {
    "   UNDER  1 YR ", " 1 YR  -  2 YRS", " 2 YRS -  3 YRS", " 3 YRS -  4 YRS",
    " 4 YRS -  5 YRS", " 5 YRS -  7 YRS", " 7 YRS - 10 YRS", "10 YRS - 15 YRS",
    "15 YRS - 20 YRS", "20 YRS - 25 YRS", "25 YRS - 30 YRS", "    OVER 30 YRS"};
// Lower bounds in percent of the coupon and yield classes, highest first.
constexpr std::array<float, kClasses> kRateFloors = {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4};
constexpr std::array<const char*, kClasses> kRateLabels = {
    "  15.0 +       ", "  14.0 - 14.9  ", "  13.0 - 13.9  ", "  12.0 - 12.9  ",
    "  11.0 - 11.9  ", "  10.0 - 10.9  ", "   9.0 -  9.9  ", "   8.0 -  8.9  ",
    "   7.0 -  7.9  ", "   6.0 -  6.9  ", "   5.0 -  5.9  ", "LESS THAN 5.0  "};
constexpr std::array<const char*, 12> kMonthNames = {"JAN ", "FEB ", "MAR ", "APR ", "MAY ", "JUN ",
                                                     "JUL ", "AUG ", "SEP ", "OCT ", "NOV ", "DEC "};

bool IsClassAnalysis(int16_t kind) {
    return kind >= kMaturityAnalysis && kind <= kYieldAnalysis;
}

bool ByRate(int16_t kind) {
    return kind == kCouponAnalysis || kind == kYieldAnalysis;
}

// What one run shares with its accounts.
struct Run {
    int16_t kind = kMaturityAnalysis;
    std::string report_date;   // MM/DD/YY as Ckdate left it
    std::string heading_date;  // 12 characters, four-digit year
    float report_number = 0;
    float program_number = 0;
    records::Options options{};
    std::vector<double> prices;
    std::array<int, 12> months{};  // the twelve report months
    std::array<int, 12> years{};   // and their four-digit years
    FixedIncomeFiles files;
};

// One class row: the eight columns, the issue count, and how many of the
// issues have a yield, a coupon and a duration (the averages divide by
// those).
struct ClassRow {
    std::array<double, 8> col{};
    double issues = 0;
    int yields = 0;
    int coupons = 0;
    int durations = 0;
};

struct AccountFigures {
    std::array<ClassRow, kClasses> rows{};
    double par_days = 0;
    double par = 0;
    double yield_sum = 0;
    double coupon_sum = 0;
    double duration_sum = 0;
    int yields = 0;
    int coupons = 0;
    int durations = 0;
    double issues = 0;
    int rank_sum = 0;
    int rated = 0;
    int undated = 0;            // lots without a maturity date that a maturity page leaves out
    double undated_market = 0;  // their market value
    double fi_market = 0;       // the account's fixed-income market value, the shares' base
};

// The account line of the headings: identifier, "- ", title, centred in
// 42 characters.
std::string AccountLine(const std::string& id, const std::string& title) {
    std::string line = records::Write("(2A4,'- ',8A4)", Items().Text(id, 4, 2).Text(title, 4, 8));
    line = records::Fixed(line, 42);
    int16_t status = 0;
    records::Center(line, 42, status);
    return line;
}

// Fixhdr: the page heading of the class analyses; 7 lines on Pghead's.
void Fixhdr(ReportFrame& frame, const Run& run, int16_t& page, int16_t& line_count, int16_t& page_length,
            const std::string& id, const std::string& title) {
    records::Pghead(page, line_count, page_length);
    switch (run.kind) {
        case kMaturityAnalysis:
            frame.Write("(59X,'MATURITY ANALYSIS')");
            break;
        case kRatingAnalysis:
            frame.Write("(60X,'RATING ANALYSIS')");
            break;
        case kCouponAnalysis:
            frame.Write("(60X,'COUPON ANALYSIS')");
            break;
        default:
            frame.Write("(61X,'YIELD ANALYSIS')");
            break;
    }
    frame.Blank();
    frame.Write("(47X,42A1,20X,3A4)",
                Items().Text(AccountLine(id, title), 1, 42).Text(run.heading_date, 4, 3));
    frame.Blank();
    frame.Write("(48X,'MARKET',54X,'ANNUAL')");
    switch (run.kind) {
        case kMaturityAnalysis:
            frame.Write(
                "(7X,'MATURITY',6X,'PAR VALUE',2X,'    COST  ',6X,'VALUE',8X,'% MKT',7X,' YTM "
                "',6X,'COUPON',4X,"
                "'DURATION',6X,'INCOME',3X,'YTC')");
            break;
        case kRatingAnalysis:
            frame.Write(
                "(7X,' RATING ',6X,'PAR VALUE',2X,'    COST  ',6X,'VALUE',8X,'% MKT',7X,' YTM "
                "',6X,'COUPON',4X,"
                "'DURATION',6X,'INCOME',3X,'YTC')");
            break;
        case kCouponAnalysis:
            frame.Write(
                "(7X,' COUPON ',6X,'PAR VALUE',2X,'    COST  ',6X,'VALUE',8X,'% MKT',7X,'CUM %',5X,'# "
                "ISSUES',3X,"
                "'DURATION',6X,'INCOME',3X,'YTC')");
            break;
        default:
            frame.Write(
                "(7X,'  YTM   ',6X,'PAR VALUE',2X,'    COST  ',6X,'VALUE',8X,'% MKT',7X,'CUM %',5X,'# "
                "ISSUES',3X,"
                "'DURATION',6X,'INCOME',3X,'YTC')");
            break;
    }
    frame.Blank();
    line_count = static_cast<int16_t>(line_count + 7);
}

// A price as the analyses take it: none counts 0, rounded to the system's
// decimals.
double AnalysisPrice(const Run& run, long security_record) {
    double price = PriceOf(run.prices, security_record);
    if (price < 0) price = 0;
    records::Drndn(price);
    return price;
}

// Fixmkt: the market value of the account's fixed-income holdings, the
// base of the "% MKT" column.
double Fixmkt(const Run& run, const std::string& holdings) {
    double total = 0;
    LotIterator lots(holdings);
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        if (IsUnmanagedLot(lot)) continue;
        records::SecurityRecord security;
        if (run.files.ReadSecurity(LotSecurityNumber(lot), security) != SecurityRead::kRead) continue;
        if (!IsFixedIncomeType(security.type[0])) continue;
        total += AnalysisPrice(run, LotSecurityNumber(lot)) * lot.quantity / 100;
    }
    return total;
}

int ClassOf(int16_t kind, double years, int rank, float coupon, float yield) {
    switch (kind) {
        case kMaturityAnalysis:
            for (int k = 0; k < kClasses; ++k)
                if (years <= kMaturityBounds[static_cast<std::size_t>(k)]) return k;
            return kClasses - 1;
        case kRatingAnalysis:
            return rank > 0 ? rank - 1 : kClasses - 1;
        default: {
            const float value = kind == kCouponAnalysis ? coupon : yield;
            if (IsMissingRate(value)) return kClasses - 1;
            for (int k = 0; k < kClasses - 1; ++k)
                if (value >= kRateFloors[static_cast<std::size_t>(k)]) return k;
            return kClasses - 1;
        }
    }
}

// One fixed-income lot into the class table and the account totals.
void AddHolding(const Run& run, double fi_market, const records::HoldingRecord& lot,
                const records::SecurityRecord& security, const records::SecurityExtension& terms,
                AccountFigures& f) {
    const double price = AnalysisPrice(run, LotSecurityNumber(lot));
    const double market = price / 100 * lot.quantity;
    // A blank maturity date is unknown: no years to maturity, no duration.
    const auto [dated, days, coupon, yield, has_coupon, has_yield, has_duration] =
        BondFactsOf(run.report_date, security, terms);
    const double years = days / 365;
    const double duration = has_duration ? BondDuration(coupon, yield, static_cast<float>(years)) : 0;
    const double share = fi_market != 0 ? market / fi_market * 100 : 0;
    const double income = has_coupon ? coupon / 100.0 * lot.quantity : 0;
    const int rank = RatingRank(terms.sp_rating);

    // A maturity page has no class for a bond without a maturity date: it
    // is left out of the classes, the totals and every average of the page,
    // and the shares are taken of the market value of the bonds it shows.
    if (run.kind == kMaturityAnalysis && !dated) {
        ++f.undated;
        f.undated_market += market;
        return;
    }
    {
        ClassRow& row = f.rows[static_cast<std::size_t>(ClassOf(run.kind, years, rank, coupon, yield))];
        row.col[0] += lot.quantity;
        row.col[1] += lot.cost;
        row.col[2] += market;
        row.col[3] += share;
        if (ByRate(run.kind)) {
            row.col[5] += 1;
        } else {
            if (has_yield) {
                row.col[4] += yield;
                ++row.yields;
            }
            if (has_coupon) {
                row.col[5] += coupon;
                ++row.coupons;
            }
        }
        if (has_duration) {
            row.col[6] += duration;
            ++row.durations;
        }
        row.col[7] += income;
        row.issues += 1;
    }

    if (dated) {
        f.par_days += lot.quantity * days;
        f.par += lot.quantity;
    }
    if (has_yield) {
        f.yield_sum += yield;
        ++f.yields;
    }
    if (has_coupon) {
        f.coupon_sum += coupon;
        ++f.coupons;
    }
    if (has_duration) {
        f.duration_sum += duration;
        ++f.durations;
    }
    f.issues += 1;
    if (rank > 0) {
        f.rank_sum += rank;
        ++f.rated;
    }
}

double Average(double sum, int count) {
    return count > 0 ? sum / count : 0;
}

// The class rows, totals and averages of an account's page.
void PrintClassPage(ReportFrame& frame, const Run& run, AccountFigures& f) {
    double cumulative = 0;
    double total_par = 0, total_cost = 0, total_market = 0, total_income = 0, total_issues = 0;
    const double shown_market = f.fi_market - f.undated_market;
    const double share_scale = f.undated_market != 0 && shown_market != 0 ? f.fi_market / shown_market : 1;
    for (int k = 0; k < kClasses; ++k) {
        ClassRow& row = f.rows[static_cast<std::size_t>(k)];
        if (share_scale != 1) row.col[3] *= share_scale;
        if (row.issues > 0) {
            if (!ByRate(run.kind)) {
                row.col[4] = Average(row.col[4], row.yields);
                row.col[5] = Average(row.col[5], row.coupons);
            }
            row.col[6] = Average(row.col[6], row.durations);
        }
        total_par += row.col[0];
        total_cost += row.col[1];
        total_market += row.col[2];
        total_income += row.col[7];
        if (ByRate(run.kind)) {
            cumulative += row.col[3];
            row.col[4] = cumulative;
            total_issues += row.col[5];
        }
    }
    for (int k = 0; k < kClasses; ++k) {
        const ClassRow& row = f.rows[static_cast<std::size_t>(k)];
        if (row.col[0] == 0) continue;
        Items items;
        for (double v : row.col) items.Number(v);
        const std::size_t at = static_cast<std::size_t>(k);
        switch (run.kind) {
            case kMaturityAnalysis:
                frame.Write(std::string("(3X,'") + kMaturityLabels[at] + "',8F12.2)", items);
                break;
            case kRatingAnalysis:
                if (k < kClasses - 1)
                    frame.Write("(9X,A4,5X,8F12.2)", Items()
                                                         .Text(kRatingScale[at], 4, 1)
                                                         .Number(row.col[0])
                                                         .Number(row.col[1])
                                                         .Number(row.col[2])
                                                         .Number(row.col[3])
                                                         .Number(row.col[4])
                                                         .Number(row.col[5])
                                                         .Number(row.col[6])
                                                         .Number(row.col[7]));
                else
                    frame.Write("(9X,'OTHER',4X,8F12.2)", items);
                break;
            default:
                frame.Write(std::string("(3X,'") + kRateLabels[at] + "',5F12.2,F12.0,2F12.2)", items);
                break;
        }
    }
    const double average_yield = Average(f.yield_sum, f.yields);
    const double average_coupon = Average(f.coupon_sum, f.coupons);
    const double average_duration = Average(f.duration_sum, f.durations);
    const double average_years = f.par != 0 ? f.par_days / f.par * kDaysToYears : 0;
    const double to_cost = total_cost > 0 ? total_income * 100 / total_cost : 0;
    const double to_market = total_market > 0 ? total_income * 100 / total_market : 0;

    frame.Blank();
    if (ByRate(run.kind))
        frame.Write("(3X,'TOTALS/AVERAGES',5F12.2,F12.0,2F12.2)",
                    {total_par, total_cost, total_market, 100.0, 100.0, total_issues, average_duration,
                     total_income});
    else
        frame.Write("(3X,'TOTALS/AVERAGES',8F12.2)",
                    {total_par, total_cost, total_market, 100.0, average_yield, average_coupon,
                     average_duration, total_income});
    frame.Blank();
    frame.Write(
        "(3X,'AVG YRS TO MAT ',F12.2,'    AVG RATING  ',A4,7X,' YLD TO CST',F10.2,'    YLD TO MKT',F10.2) ",
        Items()
            .Number(average_years)
            .Text(AverageRating(f.rank_sum, f.rated), 4, 1)
            .Number(to_cost)
            .Number(to_market));
    if (f.undated > 0)
        frame.Write("(3X,I4,' ISSUE(S) WITHOUT A MATURITY DATE NOT IN THE CLASSES OR TOTALS')",
                    {static_cast<long long>(f.undated)});
    frame.Blank();
}

// The page of one account in a class analysis. False when the run ends:
// a security record could not be read (the warning line says which).
// Reads the security of a lot; a record that cannot be read is said in a
// warning line (the caller then ends the run).
SecurityRead ReadLotSecurity(ReportFrame& frame, const Run& run, const records::HoldingRecord& lot,
                             records::SecurityRecord& security) {
    const long number = LotSecurityNumber(lot);
    const SecurityRead read = run.files.ReadSecurity(number, security);
    if (read == SecurityRead::kFailed)
        frame.Write("(1X,'*** Warning: ERR in SECURITY.REC,',I6)", {static_cast<long long>(number)});
    return read;
}

bool ClassAnalysisAccount(ReportFrame& frame, const Run& run, const std::string& id,
                          const std::string& title) {
    const HoldingsSource source =
        PrepareHoldings(records::TrimRight(id), run.report_number, run.program_number, run.report_date);
    const double fi_market = Fixmkt(run, source.file);
    AccountFigures figures;
    figures.fi_market = fi_market;
    int16_t page = 1, line_count = 0, page_length = 0;
    // A holdings lot or an extension record that cannot be read ends the
    // account's lots: the page shows those read so far.
    LotIterator lots(source.file);
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        if (IsUnmanagedLot(lot)) continue;
        records::SecurityRecord security;
        if (ReadLotSecurity(frame, run, lot, security) == SecurityRead::kFailed) return false;
        if (!IsFixedIncomeType(security.type[0])) continue;
        records::SecurityExtension terms;
        if (!run.files.ReadTerms(LotSecurityNumber(lot), terms)) break;
        AddHolding(run, fi_market, lot, security, terms, figures);
    }
    Fixhdr(frame, run, page, line_count, page_length, id, title);
    PrintClassPage(frame, run, figures);
    return true;
}

// Flowhdr: the page heading of the income flow analyses; 7 lines on
// Pghead's.
void Flowhdr(ReportFrame& frame, const Run& run, int16_t& page, int16_t& line_count, int16_t& page_length,
             const std::string& id, const std::string& title) {
    const bool fixed = run.kind == kIncomeFlowFixed;
    records::Pghead(page, line_count, page_length);
    if (fixed)
        frame.Write("(53X,'INCOME FLOW ANALYSIS (FIXED)')");
    else
        frame.Write("(53X,'INCOME FLOW ANALYSIS (OTHER)')");
    frame.Blank();
    frame.Write("(46X,42A1,20X,3A4)",
                Items().Text(AccountLine(id, title), 1, 42).Text(run.heading_date, 4, 3));
    frame.Blank();
    frame.Write("(5X,A3,37X,A4,62X,A4,5X,'TOTAL') ",
                Items()
                    .Text(fixed ? "PAR" : "   ", 3, 1)
                    .Text(records::Write("(I4)", {static_cast<long long>(run.years[0])}), 4, 1)
                    .Text(records::Write("(I4)", {static_cast<long long>(run.years[11])}), 4, 1));
    Items heading;
    heading.Text(fixed ? " VALUE" : "SHARES", 6, 1);
    for (int m : run.months) heading.Text(kMonthNames[static_cast<std::size_t>(m - 1)], 4, 1);
    frame.Write("(4X,A6,7X,'DESCRIPTION',16X,12(2X,A4),4X,'INCOME')", heading);
    frame.Blank();
    line_count = static_cast<int16_t>(line_count + 7);
}

// A figure written under the layout with its last character (the point)
// cut off.
std::string Figure(std::string_view layout, double value, std::size_t width) {
    return records::Write(layout, {value}).substr(0, width);
}

// The income flow of one account. False when the run ends: a security
// record could not be read (the warning line says which).
bool IncomeFlowAccount(ReportFrame& frame, const Run& run, const std::string& id, const std::string& title) {
    const bool fixed = run.kind == kIncomeFlowFixed;
    const HoldingsSource source =
        PrepareHoldings(records::TrimRight(id), run.report_number, run.program_number, run.report_date);
    int16_t page = 1, line_count = 0, page_length = 0;
    Flowhdr(frame, run, page, line_count, page_length, id, title);
    std::array<double, 12> column{};
    double account_total = 0;
    const std::string_view options(reinterpret_cast<const char*>(run.options.data()), run.options.size());
    const bool fill_descriptions =
        static_cast<signed char>(records::OptionValue(run.options, records::Opt::kBondDetails)) <= 0;

    LotIterator lots(source.file);
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        if (IsUnmanagedLot(lot)) continue;
        records::SecurityRecord security;
        const SecurityRead read = ReadLotSecurity(frame, run, lot, security);
        if (read == SecurityRead::kFailed) return false;
        const char type = security.type[0];
        if (IsFixedIncomeType(type) != fixed) continue;

        const bool direct = !fixed && (read == SecurityRead::kNone || lot.holding_key <= 0 || type == '1');
        const int payments = fixed ? 2 : (type == '1' ? 1 : 4);
        const int step = 12 / payments;
        const float rate = security.rate;
        double amount = 0;
        if (!IsMissingRate(rate)) {
            if (fixed)
                amount = rate / (100.0 * payments) * lot.quantity;
            else if (direct)
                amount = rate / 100.0 * lot.quantity;
            else
                amount = rate / static_cast<double>(payments) * lot.quantity;
        }
        int16_t anchor = 0, day = 0, year = 0;
        records::Redate(fixed ? security.due_date : security.pay_date, anchor, day, year);

        std::array<double, 12> flow{};
        double total = 0;
        for (std::size_t i = 0; i < 12; ++i) {
            const int apart = ((run.months[i] - anchor) % step + step) % step;
            if (apart != 0) continue;
            flow[i] = amount;
            total += amount;
            column[i] += amount;
        }
        account_total += total;

        Items line;
        line.Text(Figure("(F9.0)", lot.quantity, 8), 8, 1).Text(security.description1, 4, 8);
        for (double v : flow) line.Text(Figure("(F7.0)", v, 6), 6, 1);
        line.Text(Figure("(F9.0)", total, 8), 8, 1);
        frame.Write("(1X,A8,2X,8A4,12(A6),2X,A8)", line);
        ++line_count;

        std::string second = records::Fixed(security.description2, 32);
        if (fill_descriptions) records::Ckdesc(second, options, rate, security.due_date);
        if (!records::IsBlank(second)) {
            frame.Write("(11X,8A4)", Items().Text(second, 4, 8));
            ++line_count;
        }
        if (line_count > page_length - 3) Flowhdr(frame, run, page, line_count, page_length, id, title);
    }
    frame.Blank();
    Items totals;
    for (double v : column) totals.Text(Figure("(F7.0)", v, 6), 6, 1);
    totals.Text(Figure("(F9.0)", account_total, 8), 8, 1);
    frame.Write("(35X,'TOTAL',3X,12(A6),2X,A8)", totals);
    return true;
}

}  // namespace

void Getfix(int16_t kind, std::string_view selection, std::string_view manager, std::string_view account,
            std::string_view report_date, std::string_view output_name) {
    ReportFrame frame(output_name, /*copy=*/true);
    Run run;
    run.kind = kind;
    {
        records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
        Record rec;
        if (!common.Read(records::kProgramDateRecord, rec)) {
            frame.Stop(UnreadableLine(records::kCommonFile, records::kProgramDateRecord));
            return;
        }
        run.program_number = rec.R4(8);
        if (common.Read(records::kOptionsRecord, rec))
            for (std::size_t i = 0; i < run.options.size(); ++i) run.options[i] = rec.data()[i];
    }

    // The report date, its months and its price file; a date that does not
    // check is used as it stands.
    run.report_date = records::Fixed(report_date, 8);
    int16_t mode = 2, error = 0;
    records::Ckdate(run.report_date, mode, error, run.report_number, 0, 1991231);
    std::string heading = run.report_date;
    run.heading_date = records::Fixed(records::H2000(heading), 12);
    int16_t month = 0, day = 0, yy = 0;
    records::Redate(run.report_date, month, day, yy);
    int m = (month >= 1 && month <= 12) ? month : 1;
    int y = records::FourDigitYear(yy);
    for (std::size_t i = 0; i < 12; ++i) {
        run.months[i] = m;
        run.years[i] = y;
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
    run.prices = records::ReadPriceFile(run.report_date);

    const bool all = records::Fixed(selection, 4) == "A   ";
    int reported = 0;
    auto report = [&](const std::string& id, const std::string& title) {
        ++reported;
        return IsClassAnalysis(kind) ? ClassAnalysisAccount(frame, run, id, title)
                                     : IncomeFlowAccount(frame, run, id, title);
    };
    if (all) {
        const AccountWalk walk = WalkAccounts();
        records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
        for (const AccountEntry& entry : walk.accounts) {
            Record rec;
            const long second = entry.first_record + 1;
            if (!accounts.Read(second, rec)) {
                const int index_record = 2 + (entry.entry - 1) / 16;
                const int keys_left = 16 - (entry.entry - 1) % 16;
                frame.Write("(1X,'*** Warning: EOF or ERR in account.idx; account.rec,',3I8)",
                            {static_cast<long long>(second), static_cast<long long>(index_record),
                             static_cast<long long>(keys_left)});
                return;
            }
            if (!ManagerMatches(manager, rec.Text(16, 4))) continue;
            if (!report(entry.id, rec.Text(52, 32))) return;
        }
        if (walk.failed_record > 0) frame.Line(UnreadableLine(records::kAccountIndex, walk.failed_record));
    } else if (!IsUnusedKey(account)) {
        const records::AccountPlace place = records::Jncltx(account);
        if (place.index_record > 0 && !report(records::Fixed(account, 8), records::Fixed(place.name, 32)))
            return;
    }
    if (reported == 0)
        frame.Write("('No accounts for manager ',A4,' to report.')", Items().Text(manager, 4, 1));
}

}  // namespace reports

// The fixed income summary: the maturity order of an account's
// fixed-income lots, their lines and the account's totals.

#include "reports/fixed_income/fixed_income_summary.h"

#include <cstdint>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/lookups.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_file.h"
#include "records/sorts.h"
#include "reports/fixed_income/fixed_income_measures.h"
#include "reports/fixed_income/fixed_income_reads.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::Record;

constexpr double kDaysToYears = 0.0027397260273972603;  // 1 / 365
constexpr const char* kNoValueText = "       N/A   ";

struct Run {
    std::string report_date;   // MM/DD/YY as Ckdate left it
    std::string heading_date;  // 12 characters, four-digit year
    float report_number = 0;
    float program_number = 0;
    std::vector<double> prices;
    FixedIncomeFiles files;
};

// The page of the account being printed.
struct Page {
    int16_t number = 1;
    int16_t line_count = 0;
    int16_t length = 0;
};

// The account's sums for its totals line.
struct Sums {
    double market = 0;
    double cost = 0;
    double face = 0;
    double face_days = 0;
    double coupon = 0;
    double yield = 0;
    double duration = 0;
    double income = 0;
    int coupons = 0;
    int yields = 0;
    int durations = 0;
    int reported = 0;
    int rank_sum = 0;
    int rated = 0;
    bool missing_price = false;
};

// A number under "(F6.1,'  ')", or "   N/A  " for a missing rate.
std::string RateText(double value, bool missing = false) {
    if (missing) return "   N/A  ";
    return records::Write("(F6.1,'  ')", {value});
}

std::string RatingText(std::string_view rating) {
    return records::Write("(' ',A4,' ')", Items().Text(rating, 4, 1));
}

// Lines 3 to 10 of a page: the date, the client and, while the page has
// room, the column headings.
void HeadingBlock(ReportFrame& frame, const Run& run, Page& page, const std::string& id,
                  const std::string& title) {
    frame.Blank();
    frame.Write("(1X,'DATE: ',3A4)", Items().Text(run.heading_date, 4, 3));
    frame.Blank();
    frame.Write("(1X,'CLIENT NAME: ',A4,A2,' - ',8A4)",
                Items().Text(id, 4, 1).Text(id.substr(4), 2, 1).Text(title, 4, 8));
    frame.Blank();
    if (page.line_count < page.length - 5) {
        frame.Write(
            "(1X,'                     ',20X,'PURCHASE',1X,'       ','        MARKET   "
            "YRS',17X,'CUR',4X,'CUR')");
        frame.Write(
            "(1X,' FACE VALUE','      DESCRIPTION',13X,'  DATE  ',1X,'     COST',3X,'   VALUE',2X,'  MAT',1X,"
            "' COUPON ','  YTM ',1X,'YLD/M',2X,'YLD/C',1X,'RATING',2X,'DUR',3X,'YTC')");
        frame.Blank();
        page.line_count = static_cast<int16_t>(page.line_count + 2);
    }
}

void ContinuationPage(ReportFrame& frame, const Run& run, Page& page, const std::string& id,
                      const std::string& title) {
    records::Pghead(page.number, page.line_count, page.length);
    page.line_count = static_cast<int16_t>(page.line_count + 6);
    HeadingBlock(frame, run, page, id, title);
}

// The first pass: the account's fixed-income lots and their maturity
// keys. False when the account has no holdings to show (no lots, or a
// security or extension record that cannot be read).
bool ListLots(const Run& run, const std::string& holdings, std::vector<double>& keys,
              std::vector<int16_t>& tags) {
    LotIterator lots(holdings);
    if (lots.end() == LotIterator::End::kReadFailed || lots.header().first_lot < 0) return false;
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        const long number = LotSecurityNumber(lot);
        records::SecurityRecord security;
        const SecurityRead read = run.files.ReadSecurity(number, security);
        if (read == SecurityRead::kFailed) return false;
        if (read == SecurityRead::kNone) continue;
        records::SecurityExtension terms;
        if (!run.files.ReadTerms(number, terms)) return false;
        if (!IsFixedIncomeType(security.type[0])) continue;
        double key = 0;
        if (!IsCashLot(lot)) {
            int16_t month = 0, day = 0, year = 0;
            records::Redate(security.due_date, month, day, year);
            key = Mtdkey((static_cast<double>(year) * 100 + month) * 100 + day);
        }
        keys.push_back(key);
        tags.push_back(record);
    }
    return true;
}

// One holding's lines. False when the run ends: its security or extension
// record could not be read (the line says which).
bool HoldingLines(ReportFrame& frame, const Run& run, Page& page, const std::string& id,
                  const std::string& title, records::HoldingRecord lot, Sums& sums) {
    const long number = LotSecurityNumber(lot);
    double price = PriceOf(run.prices, number);
    records::SecurityRecord security;
    if (run.files.ReadSecurity(number, security) == SecurityRead::kFailed) {
        frame.Line(UnreadableLine(records::kSecurityRecords, number));
        return false;
    }
    records::SecurityExtension terms;
    if (!run.files.ReadTerms(number, terms)) {
        frame.Line(UnreadableLine(records::kSecurityExtensionFile, number));
        return false;
    }
    if (security.type[0] == '4') price = 100.0;  // priced at par whatever the price file holds
    const double face = lot.quantity;
    const bool priced = price > records::kNoPriceValue;
    const double market = priced ? price / 100 * face : records::kNoPriceValue;
    if (!priced) sums.missing_price = true;
    const double cost = face < 0 ? -lot.cost : lot.cost;
    if (priced) sums.market += market;
    sums.cost += cost;

    // A blank maturity date is unknown: the lot's years to maturity and
    // duration print blank and it stays out of their averages.
    const auto [dated, days, coupon, yield, has_coupon, has_yield, has_duration] =
        BondFactsOf(run.report_date, security, terms);
    if (dated) {
        sums.face_days += face * days;
        sums.face += face;
    }
    const float years = static_cast<float>(days * kDaysToYears);

    const double on_market = has_coupon && priced && market != 0 ? coupon * face / market : 0;
    const double on_cost = has_coupon && cost != 0 ? coupon * face / cost : 0;
    const double duration = has_duration ? BondDuration(coupon, yield, years) : 0;
    if (has_coupon) {
        sums.coupon += coupon;
        ++sums.coupons;
        sums.income += coupon * face * 0.01;
    }
    if (has_yield) {
        sums.yield += yield;
        ++sums.yields;
    }
    if (has_duration) {
        sums.duration += duration;
        ++sums.durations;
    }
    const int rank = RatingRank(terms.sp_rating);
    if (rank > 0) {
        sums.rank_sum += rank;
        ++sums.rated;
    }
    ++sums.reported;

    if (page.line_count >= page.length - 5) ContinuationPage(frame, run, page, id, title);
    frame.Write("(2X,A10,1X,7A4,1X,2A4,A11,A11,A7,A7,A7,A7,A7,A5,A6,A6)",
                Items()
                    .Text(NumberColumn(face, "(F10.0)", 10, false, 10), 10, 1)
                    .Text(security.description1, 4, 7)
                    .Text(lot.open_date, 4, 2)
                    .Text(NumberColumn(cost, "(F11.0,' ')", 11, false, 11), 11, 1)
                    .Text(priced ? NumberColumn(market, "(F11.0,' ')", 11, false, 11) : kNoValueText, 11, 1)
                    .Text(dated ? RateText(years) : std::string(8, ' '), 7, 1)
                    .Text(RateText(coupon, !has_coupon), 7, 1)
                    .Text(RateText(yield, !has_yield), 7, 1)
                    .Text(RateText(on_market), 7, 1)
                    .Text(RateText(on_cost), 7, 1)
                    .Text(RatingText(terms.sp_rating), 5, 1)
                    .Text(dated ? RateText(duration) : std::string(8, ' '), 6, 1)
                    .Text(RateText(0), 6, 1));
    const std::string second = records::Fixed(security.description2, 32);
    const std::string maturity = records::Fixed(security.due_date, 8);
    bool second_line = true;
    if (!records::IsBlank(second))
        frame.Write("(14X,7A4)", Items().Text(second, 4, 7));
    else if (!records::IsBlank(maturity) && has_coupon)
        frame.Write("(13X,F7.3,'% ',2A4,1X,3A4)",
                    Items().Number(coupon).Text(maturity, 4, 2).Text(security.cusip, 4, 3));
    else if (!records::IsBlank(maturity))
        frame.Write("(26X,2A4,2X,3A4)", Items().Text(maturity, 4, 2).Text(security.cusip, 4, 3));
    else
        second_line = false;
    if (second_line) ++page.line_count;
    if (page.line_count >= page.length - 5) ContinuationPage(frame, run, page, id, title);
    ++page.line_count;
    return true;
}

void TotalsLine(ReportFrame& frame, const Sums& sums) {
    double years = 0, coupon = 0, yield = 0, duration = 0, on_market = 0, on_cost = 0;
    if (sums.reported > 0) {
        years = sums.face != 0 ? sums.face_days / sums.face * kDaysToYears : 0;
        coupon = sums.coupons > 0 ? sums.coupon / sums.coupons : 0;
        yield = sums.yields > 0 ? sums.yield / sums.yields : 0;
        duration = sums.durations > 0 ? sums.duration / sums.durations : 0;
        on_market = sums.market > 0 ? sums.income * 100 / sums.market : 0;
        on_cost = sums.cost > 0 ? sums.income * 100 / sums.cost : 0;
    }
    frame.Blank();
    frame.Write(
        "(31X,'TOTALS/AVERAGES',4X,A11,A11,5A7,A5,A6,A6)",
        Items()
            .Text(NumberColumn(sums.cost, "(F11.0,' ')", 11, false, 11), 11, 1)
            .Text(sums.missing_price ? kNoValueText : NumberColumn(sums.market, "(F11.0,' ')", 11, false, 11),
                  11, 1)
            .Text(RateText(years), 7, 1)
            .Text(RateText(coupon), 7, 1)
            .Text(RateText(yield), 7, 1)
            .Text(RateText(on_market), 7, 1)
            .Text(RateText(on_cost), 7, 1)
            .Text(RatingText(AverageRating(sums.rank_sum, sums.rated)), 5, 1)
            .Text(RateText(duration), 6, 1)
            .Text(RateText(0), 6, 1));
}

// The pages of one account. False when the run ends (a line says why).
bool AccountPages(ReportFrame& frame, const Run& run, const std::string& id, const std::string& title) {
    Page page;
    records::Pghead(page.number, page.line_count, page.length);
    page.line_count = static_cast<int16_t>(page.line_count + 6);
    const HoldingsSource source =
        PrepareHoldings(records::TrimRight(id), run.report_number, run.program_number, run.report_date);
    std::vector<double> keys;
    std::vector<int16_t> tags;
    if (!ListLots(run, source.file, keys, tags)) {
        frame.Write("(19X,'*** No transactions in account ',A4,A2,' ***')",
                    Items().Text(id, 4, 1).Text(id.substr(4), 2, 1));
        for (int i = 0; i < 3; ++i) frame.Blank();
        return true;
    }
    frame.Write("(57X,'FIXED INCOME SUMMARY')");
    HeadingBlock(frame, run, page, id, title);
    records::Sheldb(static_cast<int>(keys.size()), keys, tags);

    Sums sums;
    const records::DirectFile holdings(source.file, 128, /*create=*/false);
    for (const int16_t tag : tags) {
        Record rec;
        if (!holdings.Read(tag, rec)) continue;  // a lot that cannot be read is passed over
        const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        if (IsCashLot(lot) || IsUnmanagedLot(lot)) continue;
        if (!HoldingLines(frame, run, page, id, title, lot, sums)) return false;
    }
    TotalsLine(frame, sums);
    return true;
}

}  // namespace

double Mtdkey(double date) {
    return records::WidenDate(date);
}

void Fixsum(std::string_view selection, std::string_view manager, std::string_view account,
            std::string_view report_date, std::string_view output_name) {
    ReportFrame frame(output_name, /*copy=*/true);
    Run run;
    {
        records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
        Record rec;
        if (!common.Read(records::kProgramDateRecord, rec)) {
            frame.Stop(UnreadableLine(records::kCommonFile, records::kProgramDateRecord));
            return;
        }
        run.program_number = rec.R4(8);
    }
    // A report date that does not check is used as it stands.
    run.report_date = records::Fixed(report_date, 8);
    int16_t mode = 2, error = 0;
    records::Ckdate(run.report_date, mode, error, run.report_number, 0, 1991231);
    std::string heading = run.report_date;
    run.heading_date = records::Fixed(records::H2000(heading), 12);
    run.prices = records::ReadPriceFile(run.report_date);

    if (records::Fixed(selection, 4) != "A   ") {
        const std::string id = records::Fixed(account, 8);
        const records::AccountPlace place = IsUnusedKey(id) ? records::AccountPlace{} : records::Jncltx(id);
        if (place.index_record == 0) {
            frame.Write("(1X,'Account ',A8,' is not in ACCOUNT.IDX.')", Items().Text(id, 8, 1));
            return;
        }
        AccountPages(frame, run, id, records::Fixed(place.name, 32));
        return;
    }

    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read) {
        frame.Stop(UnreadableLine(records::kAccountIndex, 1));
        return;
    }
    const records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
    for (const AccountEntry& entry : walk.accounts) {
        Record rec;
        const long second = entry.first_record + 1;
        if (!accounts.Read(second, rec)) {
            frame.Write("(1X,'          *** Warning: EOF reached on account.rec ...',3I8)",
                        {static_cast<long long>(second), static_cast<long long>(2 + (entry.entry - 1) / 16),
                         static_cast<long long>((entry.entry - 1) % 16 + 1)});
            return;
        }
        if (!ManagerMatches(manager, rec.Text(16, 4))) continue;
        if (!AccountPages(frame, run, entry.id, rec.Text(52, 32))) return;
    }
    if (walk.failed_record > 0) frame.Stop(UnreadableLine(records::kAccountIndex, walk.failed_record));
}

}  // namespace reports

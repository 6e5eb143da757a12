// The investment history report.

#include "reports/history/investment_history.h"

#include <cstring>
#include <vector>

#include "engine/replay.h"
#include "records/account_records.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

constexpr double kNoValue = records::kNoPriceValue;

// The codes that carry an amount into the page, in category order.
constexpr const char* kCategoryCodes[16] = {"DI", "DE", "SI", "SO", "FI", "FO", "II", "IE",
                                            "IS", "IP", "MF", "BC", "MI", "ME", "AI", "AO"};

int CategoryOf(const std::string& code) {
    for (int i = 0; i < 16; ++i)
        if (code == kCategoryCodes[i]) return i + 1;
    return 0;
}

constexpr const char* kMonthNames[12] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                         "MAY",       "JUNE",     "JULY",     "AUGUST",
                                         "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};

// The period text: month names, days and four-digit years of the two
// dates, single blanks, centred in 40 characters.
std::string PeriodText(const std::string& start, const std::string& end) {
    std::string names[2];
    long long days[2] = {0, 0};
    long long years[2] = {0, 0};
    const std::string* dates[2] = {&start, &end};
    for (int i = 0; i < 2; ++i) {
        int16_t month = 0;
        int16_t day = 0;
        int16_t year = 0;
        records::Redate(*dates[i], month, day, year);
        names[i] = month >= 1 && month <= 12 ? kMonthNames[month - 1] : "";
        days[i] = day;
        years[i] = records::FourDigitYear(year);
    }
    const std::string raw =
        records::Write("(A9,1X,I2,',',1X,I4,' - ',A9,1X,I2,',',1X,I4)", Items()
                                                                            .Text(names[0], 9, 1)
                                                                            .Int(days[0])
                                                                            .Int(years[0])
                                                                            .Text(names[1], 9, 1)
                                                                            .Int(days[1])
                                                                            .Int(years[1]));
    std::string text;
    for (const char c : raw) {
        if (c == ' ' && (text.empty() || text.back() == ' ')) continue;
        text += c;
    }
    text = records::Fixed(records::TrimRight(text), 40);
    int16_t status = 0;
    records::Center(text, 40, status);
    return text;
}

// Rounds a value to whole units, as the page prints them; no value stays
// no value.
void Whole(double& value) {
    if (value != kNoValue) records::Drnd0(value);
}

// The security fields a valuation reads.
struct ValuedSecurity {
    char type = ' ';
    float rate = 0;
    std::string pay_date = std::string(8, ' ');
    std::string maturity = std::string(8, ' ');
};

}  // namespace

std::string Hstamt(double amount) {
    if (amount == kNoValue) return "       N/A      ";
    return Amount16(amount);
}

HistoryValue Hstval(std::string_view account, std::string_view date, std::string_view accrued) {
    HistoryValue value;
    const records::Options options = records::Rdopts();
    const int decimals = records::SystemDecimals(options);
    std::string date_text = records::Fixed(date, 8);
    int16_t month = 0;
    int16_t day = 0;
    int16_t year = 0;
    records::Redate(date_text, month, day, year);
    const float as_of = records::WindowedDateNumber(month, day, year);
    int16_t status = 0;
    engine::Creatt(records::Fixed(account, 8), std::string(8, ' '), as_of, 0, 0, status);

    const std::vector<double> prices = records::ReadPriceFile(date_text);
    const bool with_accrued = records::Fixed(accrued, 4) == "Y   ";
    records::DirectFile securities("SECURITY.REC", 128, /*create=*/false);
    bool unpriced = false;
    double total = 0;
    LotIterator lots(records::TrimRight(engine::HoldingsWorkName()));
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        if (records::Fixed(lot.tax_lot, 4) == "S   ") continue;
        value.cost += lot.cost;
        if (lot.holding_key == 0 && lot.symbol.compare(0, 4, "CASH") == 0) {
            total += lot.cost;
            continue;
        }
        ValuedSecurity sec;
        records::Record rec;
        if (lot.security_record >= 1 && securities.Read(lot.security_record, rec)) {
            sec.type = static_cast<char>(rec.data()[76]);
            sec.rate = rec.R4(96);
            sec.pay_date = rec.Text(116, 8);
            sec.maturity = rec.Text(88, 8);
        }
        double price = 1.0;
        if (sec.type != '1') {
            const long n = lot.security_record;
            price = n >= 1 && static_cast<std::size_t>(n) <= prices.size()
                        ? prices[static_cast<std::size_t>(n - 1)]
                        : kNoValue;
            if (price != kNoValue) records::RoundToDecimals(price, decimals);
            if (sec.type == '4') price = 100.0;
            if (sec.type == 'S') price = 1.0;
            if (price < 0) {
                price = 0;
                unpriced = true;
            }
        }
        double lot_value = lot.quantity * price;
        if (IsFixedIncomeType(sec.type)) lot_value *= 0.01;
        if (sec.type == 'R') lot_value *= 100.0;
        total += lot_value;

        // Accrued interest of the per-hundred types from the last coupon
        // date, as the appraisals add it (not type "3"; type "X" is not
        // totalled).
        if (with_accrued && IsFixedIncomeType(sec.type) && sec.type != '3' && sec.type != 'X') {
            total += records::AccruedInterest(records::LastCouponDate(as_of, sec.pay_date, sec.maturity),
                                              date_text, lot.quantity, sec.rate);
        }
    }
    value.market_value = unpriced ? kNoValue : total;
    return value;
}

void Hstcls(HistoryAmounts& a, int category, std::string_view code_word, double amount, double cost,
            double accrued_interest, bool on_start, std::string_view last_word, char security_type,
            bool capital_distribution_option) {
    const std::string code = records::TrimRight(code_word);
    const std::string word = records::Fixed(last_word, 4);
    const bool municipal = security_type == '7';
    double& interest = municipal ? a.municipal_interest : a.other_interest;
    if (category > 0) {
        if (code == "DI") a.dividends += amount;
        if (code == "DE") a.dividends -= amount;
        if (code == "II" || code == "IS") interest += amount;
        if (code == "IE" || code == "IP" || code == "ME") interest -= amount;
        if (code == "MI") {
            if (capital_distribution_option)
                a.capital_distribution += amount;
            else
                interest += amount;
        }
        if (code == "FI" || (code == "SI" && !on_start)) a.deposited += amount;
        if (code == "FO" || (code == "SO" && !on_start)) a.withdrawn -= amount;
        if (code == "MF" && word != "N   " && word != "B   ") a.advisory_fees -= amount;
        if (code == "BC" && word != "N   ") a.custodian_fees -= amount;
        if (word == "N   ") {
            if (code == "DI" || code == "II" || code == "IS") a.withdrawn -= amount;
            if (code == "DE" || code == "IE" || code == "IP") a.deposited += amount;
        }
        if (!on_start) {
            if (code == "AI") a.adjustments += amount;
            if (code == "AO") a.adjustments -= amount;
            if (code == "SI") a.unrealized_withdrawals -= amount - cost;
            if (code == "SO") a.unrealized_withdrawals += amount - cost;
        }
    }
    if (code == "B" || code == "SS" || code == "SP") interest -= accrued_interest;
    if (code == "S" || code == "CS") interest += accrued_interest;
    a.total_income = a.other_interest + a.dividends + a.municipal_interest;
    a.net_additions = a.custodian_fees + a.advisory_fees + a.withdrawn + a.deposited;
}

namespace {

// One account's page.
void HistoryPage(ReportFrame& frame, const records::Options& options, const std::string& id,
                 const std::string& name, std::string start, std::string end, std::string_view accrued) {
    HistoryAmounts a;
    int16_t month = 0;
    int16_t day = 0;
    int16_t year = 0;
    records::Redate(start, month, day, year);
    const float start_number = records::WindowedDateNumber(month, day, year);
    records::Redate(end, month, day, year);
    const float end_number = records::WindowedDateNumber(month, day, year);

    const HistoryValue beginning = Hstval(id, start, accrued);
    const HistoryValue ending = Hstval(id, end, accrued);
    a.beginning_value = beginning.market_value;
    a.ending_value = ending.market_value;
    double beginning_cost = beginning.cost;
    double ending_cost = ending.cost;

    // Realised gains of the sales after the start date up to the end date.
    {
        records::DirectFile gains(records::TrimRight(records::Paknam(id, "GL", ".REC")), 128,
                                  /*create=*/false);
        records::Record rec;
        if (gains.Read(1, rec)) {
            const int count = records::GainsHeader::Decode(rec).count;
            for (long n = 2; n <= count + 1 && gains.Read(n, rec); ++n) {
                const float sale = rec.R4(0);
                if (sale <= start_number || sale > end_number) continue;
                double gain = rec.R8(84) - rec.R8(92);
                records::Drnd2(gain);
                a.realized += gain;
            }
        }
    }

    Whole(a.ending_value);
    Whole(ending_cost);
    Whole(beginning_cost);
    Whole(a.beginning_value);
    Whole(a.realized);
    a.unrealized = a.ending_value == kNoValue || a.beginning_value == kNoValue
                       ? kNoValue
                       : a.ending_value - a.beginning_value - ending_cost + beginning_cost;

    // The period's transactions.
    {
        const bool option3 = records::OptionOn(options, records::Opt::kAutopostIncome);
        records::DirectFile transactions(records::TrimRight(records::Paknam(id, "TR", ".REC")), 128,
                                         /*create=*/false);
        records::DirectFile securities("SECURITY.REC", 128, /*create=*/false);
        std::vector<unsigned char> bytes;
        if (transactions.ReadWhole(bytes) && bytes.size() >= 128) {
            records::Record rec(128);
            std::memcpy(rec.data(), bytes.data(), 128);
            const long last = records::TransactionFileHeader::Decode(rec).last_record;
            const long available = static_cast<long>(bytes.size() / 128);
            for (long n = 2; n <= last && n <= available; ++n) {
                std::memcpy(rec.data(), bytes.data() + (n - 1) * 128, 128);
                const records::TransactionRecord t = records::TransactionRecord::Decode(rec);
                if (t.date_number < start_number || t.date_number > end_number) continue;
                if (records::Fixed(t.tax_lot, 4) == "S   ") continue;
                const std::string code = records::TrimRight(t.code);
                const int category = CategoryOf(code);
                if (category == 0 && !(t.bond_interest > 0)) continue;
                char type = ' ';
                records::Record sec;
                if (t.security_record >= 1 && securities.Read(t.security_record, sec))
                    type = static_cast<char>(sec.data()[76]);
                Hstcls(a, category, code, t.amount, t.lot_cost, t.bond_interest,
                       t.date_number == start_number, t.type, type, option3);
            }
        }
    }

    // The page.
    int16_t page = 1;
    int16_t lines = 0;
    int16_t page_length = 0;
    records::Pghead(page, lines, page_length);
    frame.Write("(58X,'INVESTMENT HISTORY')");
    frame.Write("(47X,40A1)", Items().Text(PeriodText(start, end), 1, 40));
    frame.Write("(25X,3A4,16X,8A4)", Items().Text(id, 4, 3).Text(name, 4, 8));
    const bool management_fee = records::OptionOn(options, records::Opt::kFeesAsExpense);
    if (management_fee) {
        a.advisory_fees += a.custodian_fees;
        a.net_additions -= a.advisory_fees;
    }
    if (a.beginning_value == kNoValue) {
        a.realized = kNoValue;
        a.unrealized = kNoValue;
        a.ending_value = kNoValue;
    }
    const double net_gains = a.unrealized == kNoValue || a.realized == kNoValue
                                 ? kNoValue
                                 : a.unrealized + a.realized + a.unrealized_withdrawals;
    auto amount = [&](std::string_view layout, double value) {
        frame.Write(layout, Items().Text(Hstamt(value), 16, 1));
    };
    const std::string rule = "---------------  ";
    const std::string double_rule = "===============  ";
    amount("(24X,'PORTFOLIO MARKET VALUE AT BEGINNING OF PERIOD ',20X,'$',A16)", a.beginning_value);
    frame.Write("(24X,'GAINS/LOSSES DURING PERIOD')");
    amount("(28X,'REALIZED  ',32X,'$',A16)", a.realized);
    amount("(28X,'UNREALIZED',33X,A16)", a.unrealized);
    amount("(28X,'UNREALIZED (ADDITIONS) WITHDRAWALS',9X,A16)", a.unrealized_withdrawals);
    frame.Write("(72X,4A4)", Items().Text(rule, 4, 4));
    amount("(24X,'TOTAL NET GAINS/LOSSES DURING PERIOD ',30X,A16)", net_gains);
    if (records::OptionOn(options, records::Opt::kAutopostIncome))
        amount("(24X,'CAPITAL DISTRIBUTION DURING PERIOD   ',30X,A16)", a.capital_distribution);
    frame.Write("(24X,'INCOME EARNED DURING PERIOD:  ')");
    amount("(28X,'DIVIDENDS',33X,'$',A16)", a.dividends);
    amount("(28X,'MUNICIPAL INTEREST',25X,A16)", a.municipal_interest);
    amount("(28X,'OTHER INTEREST',29X,A16)", a.other_interest);
    frame.Write("(72X,4A4)", Items().Text(rule, 4, 4));
    amount("(24X,'TOTAL INCOME EARNED DURING PERIOD   ',31X,A16) ", a.total_income);
    frame.Write("(24X,'ADDITIONS/WITHDRAWALS DURING PERIOD:') ");
    amount("(28X,'CASH OR SECURITIES DEPOSITED',14X,'$',A16) ", a.deposited);
    amount("(28X,'CASH OR SECURITIES WITHDRAWN',15X,A16) ", a.withdrawn);
    if (!management_fee) {
        amount("(28X,'INVESTMENT ADVISORY FEES',19X,A16) ", a.advisory_fees);
        amount("(28X,'CUSTODIAN FEES',29X,A16)", a.custodian_fees);
    }
    frame.Write("(72X,4A4)", Items().Text(rule, 4, 4));
    amount("(24X,'TOTAL NET ADDITIONS/WITHDRAWALS',36X,A16)", a.net_additions);
    if (management_fee) amount("(24X,'MANAGEMENT FEE                 ',36X,A16)", a.advisory_fees);
    amount("(24X,'TOTAL ADJUSTMENTS              ',36X,A16)", a.adjustments);
    amount("(24X,'PORTFOLIO MARKET VALUE AT END OF PERIOD',27X,'$',A16)", a.ending_value);
    frame.Write("(25X,67X,4A4)", Items().Text(double_rule, 4, 4));
}

}  // namespace

void Invhsty(std::string_view selection, std::string_view manager, std::string_view account,
             std::string_view start, std::string_view end, std::string_view accrued, int16_t output_mode,
             std::string_view output_name, int /*name_length*/) {
    const records::Options options = records::Rdopts();
    const bool all = records::Fixed(selection, 4) == "A   ";
    std::string start_text = records::Fixed(start, 8);
    std::string end_text = records::Fixed(end, 8);
    const bool blank_start = records::TrimRight(start_text).empty();
    float start_number = 0;
    float end_number = 0;
    int16_t mode = 0;
    int16_t error = 0;
    if (!blank_start) records::Ckdate(start_text, mode, error, start_number, 0, 1991231);
    records::Ckdate(end_text, mode, error, end_number, start_number, 1991231);

    ReportFrame frame = ReportFrame::ForOutputMode(output_name, output_mode);
    if (all && !ManagerCodeAccepted(manager)) {
        frame.Stop(" Manager code " + records::Fixed(manager, 4) + " is not in the manager code table.");
        return;
    }
    const std::string wanted = records::Fixed(account, 8);
    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read) {
        frame.Stop(UnreadableLine("ACCOUNT.IDX", 1));
        return;
    }
    records::DirectFile accounts("ACCOUNT.REC", 128, /*create=*/false);
    for (const AccountEntry& entry : walk.accounts) {
        if (!all && entry.id != wanted) continue;
        records::Record rec;
        if (!accounts.Read(entry.first_record + 1, rec)) continue;
        if (all && !ManagerMatches(manager, rec.Text(16, 4))) continue;
        // Without a start date the period starts on the day the account
        // was opened.
        std::string period_start = start_text;
        if (blank_start) {
            period_start = rec.Text(120, 8);
            float number = 0;
            records::Ckdate(period_start, mode, error, number, 0, 1991231);
        }
        HistoryPage(frame, options, entry.id, rec.Text(52, 32), period_start, end_text, accrued);
        if (!all) break;
    }
}

}  // namespace reports

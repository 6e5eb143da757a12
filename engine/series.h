#pragma once

// The market-value series: an account's transactions replayed month by
// month into a scratch lot list, the lots valued at each period end, and
// one value, flow and income figure per period handed back for the part of
// the portfolio asked for (cash equivalents, equities, fixed income, the
// whole account or one security). Time-weighted returns rest on it
// (Getmmv for the performance reports, Getmmv2 for the appraisals).
//
//   Gettrn  selects the transactions and puts them in replay order;
//   Postgl  applies one period's transactions and sums their flows;
//   Getprc  values the lots at the period end (engine/valuation.h);
//   Lotupd  applies one transaction to the lots (engine/lot_update.h).
//
// Every call purges its scratch lot file (HL.TMP for Getmmv, HL.TP1 for
// Getmmv2) and keeps the lots in memory while the periods are replayed
// (SeriesLots, engine/lot_update.h), writing the file once when the series
// ends, with the bytes a lot-by-lot replay on the file leaves; should the
// purged file not be empty, its lots are taken as they stand and updated
// on the file. The lot state carries from one period to the next, so a
// period applies only its own transactions. The periods
// come from the period calendar (engine/periods.h). A series holds at most
// 360 periods: a longer date range is refused before anything is written.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/lot_update.h"
#include "engine/periods.h"
#include "engine/valuation.h"
#include "records/files.h"

namespace engine {

inline constexpr int kMaxPeriods = 360;

// One figure a period; period n at index n - 1.
using PeriodValues = std::array<double, kMaxPeriods>;
using PeriodIncomes = std::array<float, kMaxPeriods>;

// The part of the portfolio a series follows.
enum SeriesKind : int16_t {
    kAllTransactionsKind = 0,  // no category filter (Getmmv2)
    kCashEquivalentsKind = 1,
    kEquitiesKind = 2,
    kFixedIncomeKind = 3,
    kWholeAccountKind = 4,
    kSecurityKind = 5,
};

enum SeriesStatus : int16_t {
    kSeriesDone = 0,
    // The range from the first transaction to the end date needs more than
    // 360 periods: nothing was computed and the outputs are as they were.
    kSeriesTooLong = 1,
};

// Value, flow and income by period.
struct PeriodSeries {
    PeriodValues value{};
    PeriodValues flow{};
    PeriodIncomes income{};
};

// The series a call leaves for the performance reports: the result series
// (zeroed by every call) and, for Getmmv, each category's series (written
// period by period, not zeroed), with the month and year of the series
// start.
struct SeriesBlock {
    PeriodSeries result;
    PeriodSeries cash_equivalents;
    PeriodSeries equities;
    PeriodSeries fixed_income;
    int16_t start_month = 0;
    int16_t start_year = 0;
};

// The account's ACCOUNT.REC data as the series reads it: byte 20 is the
// fee switch (1 or more: management fees and bank charges, MF and BC, are
// not flows).
using AccountData = std::array<unsigned char, 128>;
int FeeSwitch(const AccountData& account_data);

// The date of the first transaction applied in each category, MM/DD/YY;
// blank while the category has had none.
struct FirstActivity {
    std::string cash_equivalents = std::string(8, ' ');
    std::string equities = std::string(8, ' ');
    std::string fixed_income = std::string(8, ' ');
};

// ---- Gettrn

// One selected transaction.
struct SelectedTransaction {
    long record = 0;   // record number in TR<acct>.REC
    double date = 0;   // its date number, rounded to a whole number
    int16_t rank = 0;  // 1 for the trades B, SS, SI, S, CS and SO, else 0
};

struct TransactionSelection {
    // In replay order: by date, then within a day the cash and income
    // transactions before the trades, each in filing order.
    std::vector<SelectedTransaction> entries;
    std::string first_date = std::string(8, ' ');  // trade date text of the first entry
    double first_day_amount = 0;
};

// Selects the account's transactions dated from start to end (YYMMDD
// numbers, windowed; with all_dates non-zero every one up to end, whatever
// the start). A transaction qualifies when its symbol
// does not begin with four blanks; for kinds 1 to 3 when its security
// (when it has one) is of the kind asked (type "1" cash equivalents; "P",
// "N", "H", "J", "L", "R", "S", "T" equities; any other fixed income); and
// with a security filter when its symbol is the filter, or, for a symbol
// beginning with "CASH", when its text (field 18) begins with the filter.
// The first-day amount is the first entry's amount, with those of the
// following entries of the same date for kinds 1 to 3 or a filter; for
// kinds 1 to 3 the start becomes the first entry's date number.
TransactionSelection Gettrn(std::string_view account, double& start, double end, int16_t all_dates,
                            std::string_view security_filter, int16_t kind);

// ---- Postgl

// What one period's transactions add up to.
struct PeriodSums {
    double income = 0;
    double net_contribution = 0;
    double equities_income = 0;
    double equities_flow = 0;
    double fixed_income_income = 0;
    double fixed_income_flow = 0;
    double cash_equivalents_income = 0;
    double cash_equivalents_flow = 0;
};

// Unit of the transaction file during a series, and the unit to which
// short-sale warnings are written (the caller's report file, when open).
inline constexpr int kSeriesTransactionUnit = 12;
inline constexpr int kSeriesSecurityUnit = 8;
inline constexpr int kWarningUnit = 4;

// Applies the transactions (record numbers of TR<acct>.REC, in replay
// order) to the lot list and adds their income, net contribution and
// category flows to the sums (zeroed first). The period date text labels
// the lot header. A transaction with tax lot code "S" is skipped; one with
// status "N" counts in the sums but leaves the lots alone. first dates
// take the date of the first transaction of each category; last_category
// takes the category of the last transaction. With the GL switch on,
// GL.TMP is started afresh and gains are written to it. A closing
// transaction that finds no lot, or exceeds it, is reported on unit 4 as
// a short-sale warning. TR<acct>.REC is read on unit 12 (opened here when
// the caller has not).
// What a series keeps from one period to the next: the transaction file
// and the security records, each mapped once, what the periods took of
// each security, and what the valuations keep.
struct SeriesFiles {
    bool loaded = false;
    // TR<acct>.REC, record n at (n - 1) x 128: the file mapped once for
    // the selection and the periods.
    std::shared_ptr<const records::MappedRecords> transaction_file;
    std::span<const unsigned char> transactions;
    // SECURITY.REC mapped once a series, when the series maps it (the
    // records as they stood when it started: nothing writes them while it
    // runs); without it each record is read from the file.
    std::shared_ptr<const records::MappedRecords> security_file;
    struct Security {
        bool read = false;  // looked for in SECURITY.REC
        std::string type;
        std::string description1;
        std::string description2;
    };
    std::vector<Security> securities;  // by record number
    ValuationCache valuation;
};

// With files, the transactions and security records are taken from it
// (and the securities read are kept in it) instead of read for the call.
void Postgl(LotList& lots, std::string_view account, std::string_view period_date,
            std::span<const long> records, int16_t gl_switch, PeriodSums& sums,
            const AccountData& account_data, const CategoryTable& table, FirstActivity& first,
            std::string& last_category, SeriesFiles* files = nullptr);

// ---- Getmmv

// The market-value series of an account for the performance reports.
//  end_date, start_date: MM/DD/YY; start_date comes back as the date of the
//    first selected transaction (the series start) and, for kinds 1 to 3,
//    as the first date of the category asked once it has one;
//  values, flows, incomes: the caller's series by kind (1 to 3 the
//    category's, 5 the category of the last transaction applied; kind 4
//    leaves them but for element 1); element 1 is the first-day amount;
//  periods: the number of periods; a series start on the last day of its
//    month is period 2, its period 1 holding the first-day amount;
//  table: the category of each security type;
//  first_equities, first_fixed_income, first_cash_equivalents: the date of
//    each category's first transaction, or start_date when it had none;
//  security_filter: a symbol (12 characters), blank for all;
//  selected: the number of selected transactions (0: nothing else is set);
//  block: the result and category series for the performance reports.
// Returns kSeriesTooLong, with nothing set, when the series would need
// more than 360 periods.
int16_t Getmmv(std::string_view account, std::string_view end_date, std::string& start_date,
               PeriodValues& values, PeriodValues& flows, PeriodIncomes& incomes, int16_t& periods,
               const AccountData& account_data, int16_t kind, const CategoryTable& table,
               std::string& first_equities, std::string& first_fixed_income,
               std::string& first_cash_equivalents, std::string_view security_filter, int16_t& selected,
               SeriesBlock& block);

// ---- Getmmv2

// The type-to-category table of COMMON.FIL record 14 (unit 16); the
// default table when the record cannot be read or one of its 22 words
// reads 0 or less as a 16-bit integer.
CategoryTable ReadCategoryTable();

// The series for the appraisals, over every transaction of the account up
// to the end date. No security named: the whole account (its value, net
// contribution and income); element 1 is the opening value when it is
// above 0, else the account's value at the end of its first day. A
// security named: its transactions only, with the figures of the category
// of the latest transaction of each period; element 1 is the first-day
// amount. start_date is not read: it comes back as the series start (the
// first selected transaction's date). The scratch lot file is HL.TP1, so
// HL.TMP is left alone. No selected transaction gives 0 periods. Returns
// kSeriesTooLong, with nothing set, when the series would need more than
// 360 periods.
int16_t Getmmv2(std::string_view account, std::string_view end_date, std::string& start_date,
                PeriodValues& values, PeriodValues& flows, PeriodIncomes& incomes, int16_t& periods,
                const AccountData& account_data, std::string_view security_filter, double opening_value,
                SeriesBlock& block);

}  // namespace engine

#include "engine/series.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/files.h"
#include "records/prices.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using engine::PeriodIncomes;
using engine::PeriodValues;
using engine::SeriesDate;
using fixtures::TempDataDir;
using records::TransactionRecord;

constexpr const char* kAccount = "ACC1";

// ---- Dates of the series

TEST(SeriesDates, Nxtmon) {
    struct Case {
        int16_t month, day, year, sw;
        int16_t month_out, day_out, year_out;
    };
    const std::vector<Case> cases = {
        {1, 31, 97, 0, 2, 28, 97},   {1, 31, 96, 0, 2, 29, 96},   {1, 31, 100, 0, 2, 29, 100},
        {12, 15, 99, 0, 1, 15, 100}, {2, 10, 96, 1, 2, 29, 96},   {2, 10, 97, 1, 2, 28, 97},
        {4, 30, 97, 0, 5, 30, 97},   {11, 31, 97, 0, 12, 31, 97},
    };
    for (const Case& c : cases) {
        int16_t m = c.month, d = c.day, y = c.year;
        engine::Nxtmon(m, d, y, c.sw);
        EXPECT_EQ(m, c.month_out) << c.month << "/" << c.day << "/" << c.year;
        EXPECT_EQ(d, c.day_out) << c.month << "/" << c.day << "/" << c.year;
        EXPECT_EQ(y, c.year_out) << c.month << "/" << c.day << "/" << c.year;
    }
}

TEST(SeriesDates, NumbersUseTheYearWindow) {
    EXPECT_EQ(engine::SeriesDateNumber("12/31/99"), 991231);
    EXPECT_EQ(engine::SeriesDateNumber(" 1/31/00"), 1000131);
    EXPECT_EQ(engine::SeriesDateNumber("        "), 0);
    EXPECT_EQ(SeriesDate::FromText(" 2/29/00").IsMonthEnd(), true);
    EXPECT_EQ(SeriesDate::FromText(" 2/28/00").IsMonthEnd(), false);
    EXPECT_EQ(SeriesDate::FromText(" 2/28/97").IsMonthEnd(), true);
    EXPECT_EQ(SeriesDate::FromText(" 1/31/00").Text(), " 1/31/00");
}

struct PlanCase {
    std::string name;
    std::string start, end;
    bool by_category;
    int first_count;
    std::vector<std::string> texts;  // period end texts
    double last_number;              // the last period's date number
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.name;
}

class SeriesPeriodPlan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(SeriesPeriodPlan, EndsThePeriods) {
    const PlanCase& c = GetParam();
    const auto ends = engine::PeriodEnds(SeriesDate::FromText(c.start), SeriesDate::FromText(c.end),
                                         c.by_category, c.first_count, 400);
    std::vector<std::string> texts;
    for (const auto& e : ends) texts.push_back(e.text);
    EXPECT_EQ(texts, c.texts);
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.back().number, c.last_number);
    for (std::size_t i = 0; i + 1 < ends.size(); ++i)
        EXPECT_EQ(ends[i].number, engine::SeriesDateNumber(ends[i].text)) << "only the last period is cut";
}

const std::vector<PlanCase> kPlans = {
    {"MonthEndsAfterTheStart",
     " 1/10/97",
     " 6/30/97",
     false,
     0,
     {" 1/10/97", " 1/31/97", " 2/28/97", " 3/31/97", " 4/30/97", " 5/31/97", " 6/30/97"},
     970630},
    {"EndDayEachMonth",
     " 1/10/97",
     " 6/15/97",
     false,
     0,
     {" 1/10/97", " 1/15/97", " 2/15/97", " 3/15/97", " 4/15/97", " 5/15/97", " 6/15/97"},
     970615},
    {"CategorySeriesCloseTheStartMonthFirst",
     " 1/10/97",
     " 6/15/97",
     true,
     0,
     {" 1/10/97", " 1/31/97", " 2/28/97", " 3/28/97", " 4/28/97", " 5/28/97", " 6/28/97"},
     970615},
    {"EndOnThe30thStaysOnThe28thAfterFebruary",
     " 1/10/97",
     " 5/30/97",
     false,
     0,
     {" 1/10/97", " 1/30/97", " 2/28/97", " 3/28/97", " 4/28/97", " 5/28/97", " 6/28/97"},
     970530},
    {"EndDayBeforeTheStartDayMovesAMonthOn",
     " 1/20/97",
     " 4/15/97",
     false,
     0,
     {" 1/20/97", " 2/15/97", " 3/15/97", " 4/15/97"},
     970415},
    {"MonthEndStartIsPeriodTwo",
     " 2/28/97",
     " 5/31/97",
     false,
     1,
     {" 2/28/97", " 3/31/97", " 4/30/97", " 5/31/97"},
     970531},
    {"LeapDayStart", " 2/29/96", " 4/30/96", false, 1, {" 2/29/96", " 3/31/96", " 4/30/96"}, 960430},
    {"AcrossTheYear2000",
     "12/15/99",
     " 2/29/00",
     false,
     0,
     {"12/15/99", "12/31/99", " 1/31/00", " 2/29/00"},
     1000229},
    {"StartOnTheEndDate", " 3/31/97", " 3/31/97", false, 1, {" 3/31/97"}, 970331},
    {"StartAfterAMonthEndEndDate",
     " 3/31/97",
     " 5/31/97",
     false,
     0,
     {" 3/31/97", " 4/30/97", " 5/31/97"},
     970531},
};

INSTANTIATE_TEST_SUITE_P(SeriesPlans, SeriesPeriodPlan, ::testing::ValuesIn(kPlans),
                         [](const auto& info) { return info.param.name; });

// ---- A small account
//
// Securities: 1 the cash security (type "1"), 2 STK (type "P"), 3 BND
// (type "B", no coupon schedule). Prices at the month ends.

TransactionRecord Tx(const std::string& code, const std::string& symbol, const std::string& date, double qty,
                     double amount, int16_t security = 0, double key = 0, const std::string& lot = "1") {
    return fixtures::Transaction(code, symbol, lot, date, qty, amount, key, security);
}

void WriteSecurities() {
    fixtures::WriteSecurities({{"CASH", "CASH", "CASH", "", "1"},
                               {"STK", "STK", "STOCK CO", "", "P"},
                               {"BND", "BND", "BOND CO", "", "B"}});
}

void WritePrice(const std::string& date, long record, double price) {
    records::Rwpric(1, -30, date, record, price);
}

void WriteMonthPrices() {
    WritePrice(" 1/31/97", 2, 52);
    WritePrice(" 2/28/97", 2, 55);
    WritePrice(" 3/31/97", 2, 60);
    WritePrice(" 1/31/97", 3, 99);
    WritePrice(" 2/28/97", 3, 100);
    WritePrice(" 3/31/97", 3, 101);
}

std::vector<TransactionRecord> BasicAccount() {
    return {
        Tx("FI", "CASH", " 1/02/97", 0, 10000),
        Tx("B", "STK", " 1/10/97", 100, 5000, 2, 100),
        Tx("DI", "STK", " 2/14/97", 0, 50, 2, 100),
        Tx("S", "STK", " 3/05/97", 40, 2400, 2, 100),
    };
}

struct SeriesOut {
    int16_t status = -1;
    std::string start;
    PeriodValues values{};
    PeriodValues flows{};
    PeriodIncomes incomes{};
    int16_t periods = -1;
    std::string first_eq = "x", first_fi = "x", first_ce = "x";
    int16_t selected = -1;
    engine::SeriesBlock block;
};

SeriesOut RunGetmmv(int16_t kind, const std::string& start, const std::string& end,
                    const std::string& filter = "", unsigned char fee_switch = 0) {
    SeriesOut out;
    out.start = start;
    out.values.fill(-1);
    out.flows.fill(-1);
    out.incomes.fill(-1);
    engine::AccountData data{};
    data[19] = fee_switch;
    out.status = engine::Getmmv(kAccount, end, out.start, out.values, out.flows, out.incomes, out.periods,
                                data, kind, engine::DefaultCategoryTable(), out.first_eq, out.first_fi,
                                out.first_ce, filter, out.selected, out.block);
    return out;
}

void ExpectFirst(const PeriodValues& a, std::vector<double> expect, const char* what) {
    for (std::size_t i = 0; i < expect.size(); ++i)
        EXPECT_NEAR(a[i], expect[i], 1e-6) << what << " " << i + 1;
}
void ExpectFirst(const PeriodIncomes& a, std::vector<double> expect, const char* what) {
    for (std::size_t i = 0; i < expect.size(); ++i)
        EXPECT_NEAR(a[i], expect[i], 1e-3) << what << " " << i + 1;
}

struct SeriesFixture : ::testing::Test {
    TempDataDir dir;
    SeriesFixture() {
        WriteSecurities();
        WriteMonthPrices();
    }
};

TEST_F(SeriesFixture, WholeAccountSeries) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    const SeriesOut out = RunGetmmv(engine::kWholeAccountKind, " 1/01/97", " 3/31/97");
    EXPECT_EQ(out.status, engine::kSeriesDone);
    EXPECT_EQ(out.selected, 4);
    EXPECT_EQ(out.periods, 4);
    EXPECT_EQ(out.start, " 1/02/97") << "the series starts on the first transaction";
    EXPECT_EQ(out.block.start_month, 1);
    EXPECT_EQ(out.block.start_year, 97);
    // Values: cash 10000; then 100 x 52 + 5000; 100 x 55 + 5050; 60 x 60 + 7450.
    ExpectFirst(out.block.result.value, {10000, 10200, 10550, 11050, 0}, "value");
    ExpectFirst(out.block.result.flow, {10000, 0, 0, 0, 0}, "net contribution");
    ExpectFirst(out.block.result.income, {0, 0, 50, 0, 0}, "income");
    // The caller's arrays are left but for the first-day amount.
    EXPECT_EQ(out.values[0], 10000);
    EXPECT_EQ(out.values[1], -1);
    EXPECT_EQ(out.flows[0], -1);
    // Category series.
    ExpectFirst(out.block.equities.value, {0.00001, 5200, 5500, 3600}, "EQ value");
    ExpectFirst(out.block.equities.flow, {0, 5000, -50, -2400}, "EQ flow");
    ExpectFirst(out.block.equities.income, {0, 0, 50, 0}, "EQ income");
    ExpectFirst(out.block.cash_equivalents.value, {10000, 5000, 5050, 7450}, "CE value");
    ExpectFirst(out.block.cash_equivalents.flow, {10000, -5000, 50, 2400}, "CE flow");
    ExpectFirst(out.block.fixed_income.value, {0.00001, 0.00001, 0.00001, 0.00001}, "FI value");
    EXPECT_EQ(out.first_eq, " 1/10/97");
    EXPECT_EQ(out.first_ce, " 1/02/97");
    EXPECT_EQ(out.first_fi, " 1/02/97") << "no fixed income: the series start";
}

TEST_F(SeriesFixture, EquitiesSeries) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    const SeriesOut out = RunGetmmv(engine::kEquitiesKind, " 1/01/97", " 3/31/97");
    EXPECT_EQ(out.periods, 4);
    EXPECT_EQ(out.start, " 1/10/97") << "the first equity transaction";
    ExpectFirst(out.values, {10000, 5200, 5500, 3600}, "value");
    ExpectFirst(out.flows, {10000, 5000, -50, -2400}, "flow");
    ExpectFirst(out.incomes, {0, 0, 50, 0}, "income");
    ExpectFirst(out.block.result.value, {0.00001, 5200, 5500, 3600}, "result value");
    EXPECT_EQ(out.first_fi, " 1/10/97");
}

TEST_F(SeriesFixture, OneSecuritySeries) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    const SeriesOut out = RunGetmmv(engine::kSecurityKind, " 1/01/97", " 3/31/97", "STK");
    EXPECT_EQ(out.selected, 3);
    EXPECT_EQ(out.start, " 1/10/97");
    EXPECT_EQ(out.periods, 4);
    // Period 1 ends on 01/10/97, which has no prices: the value stays the
    // first-day amount and the whole account is marked as unpriced.
    ExpectFirst(out.values, {5000, 5200, 5500, 3600}, "value");
    ExpectFirst(out.flows, {5000, 0, -50, -2400}, "flow");
    ExpectFirst(out.incomes, {0, 0, 50, 0}, "income");
    EXPECT_EQ(out.block.result.value[0], 5000);
}

TEST_F(SeriesFixture, AMissingPriceMarksTheWholeAccountValue) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    std::remove("SE022897.PRC");
    const SeriesOut out = RunGetmmv(engine::kWholeAccountKind, " 1/01/97", " 3/31/97");
    ExpectFirst(out.block.result.value, {10000, 10200, -99999.99, 11050}, "value");
    EXPECT_NEAR(out.block.cash_equivalents.value[2], 5050, 1e-9) << "category values stay";
    EXPECT_NEAR(out.block.equities.value[2], 0.00001, 1e-12);
}

// A security record past the end of SECURITY.REC cannot be read: its lot
// is priced 1.0 and counts in no category, and its transaction is taken
// for a cash-type one (no flow of its own category).
TEST_F(SeriesFixture, ASecurityRecordPastTheFileIsUnreadable) {
    fixtures::WriteTransactions(
        kAccount, {Tx("FI", "CASH", " 1/02/97", 0, 10000), Tx("B", "GONE", " 1/10/97", 100, 5000, 9, 900)});
    const SeriesOut out = RunGetmmv(engine::kWholeAccountKind, " 1/01/97", " 3/31/97");
    EXPECT_EQ(out.periods, 4);
    ExpectFirst(out.block.result.value, {10000, 5100, 5100, 5100}, "value");
    ExpectFirst(out.block.cash_equivalents.value, {10000, 5000, 5000, 5000}, "CE value");
    ExpectFirst(out.block.cash_equivalents.flow, {10000, 0, 0, 0}, "CE flow");
    ExpectFirst(out.block.equities.value, {0.00001, 0.00001, 0.00001, 0.00001}, "EQ value");
}

TEST_F(SeriesFixture, MonthEndStartIsPeriodTwo) {
    std::vector<TransactionRecord> txns = BasicAccount();
    txns[0] = Tx("FI", "CASH", "12/31/96", 0, 10000);
    fixtures::WriteTransactions(kAccount, txns);
    const SeriesOut out = RunGetmmv(engine::kWholeAccountKind, "12/01/96", " 3/31/97");
    EXPECT_EQ(out.periods, 5);
    ExpectFirst(out.block.result.value, {10000, 10000, 10200, 10550, 11050}, "value");
    EXPECT_EQ(out.values[0], 10000);
}

TEST_F(SeriesFixture, SameDayTradesComeAfterIncomeInFilingOrder) {
    // Two trades and a dividend on one day: the dividend is applied first,
    // the trades in filing order (the sale finds the lot the buy opens).
    fixtures::WriteTransactions(kAccount, {
                                              Tx("FI", "CASH", " 1/02/97", 0, 10000),
                                              Tx("B", "STK", " 1/15/97", 100, 5000, 2, 100),
                                              Tx("S", "STK", " 1/15/97", 100, 5100, 2, 100),
                                              Tx("DI", "STK", " 1/15/97", 0, 30, 2, 100),
                                          });
    double start = 0;
    const auto sel = engine::Gettrn(kAccount, start, 971231, 0, "", 0);
    ASSERT_EQ(sel.entries.size(), 4u);
    EXPECT_EQ(sel.entries[1].record, 5);
    EXPECT_EQ(sel.entries[2].record, 3);
    EXPECT_EQ(sel.entries[3].record, 4);
    const SeriesOut out = RunGetmmv(engine::kWholeAccountKind, " 1/01/97", " 1/31/97");
    ExpectFirst(out.block.result.value, {10000, 10130}, "value");
}

TEST_F(SeriesFixture, SameDayOrderHoldsBeyondAThousandRecords) {
    // A dividend filed more than a thousand records after a trade of its
    // day is still applied before it.
    std::vector<TransactionRecord> txns;
    txns.push_back(Tx("B", "STK", " 6/02/97", 10, 500, 2, 100));
    for (int i = 0; i < 1100; ++i) txns.push_back(Tx("FI", "CASH", " 1/02/97", 0, 1));
    txns.push_back(Tx("DI", "STK", " 6/02/97", 0, 7, 2, 100));
    fixtures::WriteTransactions(kAccount, txns);
    double start = 0;
    const auto sel = engine::Gettrn(kAccount, start, 971231, 0, "", 0);
    ASSERT_EQ(sel.entries.size(), 1102u);
    EXPECT_EQ(sel.entries[1100].record, 1103) << "the dividend";
    EXPECT_EQ(sel.entries[1101].record, 2) << "then the buy";
}

TEST_F(SeriesFixture, GettrnSelection) {
    std::vector<TransactionRecord> txns = {
        Tx("FI", "CASH", " 1/02/97", 0, 10000),            // 2
        Tx("B", "STK", " 1/10/97", 100, 5000, 2, 100),     // 3
        Tx("B", "BND", " 1/10/97", 1000, 990, 3, 200),     // 4
        Tx("B", "STK", " 1/10/97", 10, 600, 2, 100, "2"),  // 5
        Tx("DI", "CASH", " 2/14/97", 0, 50),               // 6: dividend of STK, filed on cash
        Tx("MF", "CASH", " 3/31/97", 0, 20),               // 7
        Tx("B", "STK", " 4/01/97", 1, 50, 2, 100),         // 8: after the end
        Tx("B", "STK", "12/31/96", 1, 50, 2, 100),         // 9: before the start
        Tx("B", "CASH", " 1/20/97", 1, 1, 1),              // 10: a cash-type security
    };
    txns[4].SetCashText("STK");
    txns.push_back(TransactionRecord{});  // 11: deleted (blank symbol)
    txns.back().code = "FI  ";
    txns.back().date_number = 970201;
    fixtures::WriteTransactions(kAccount, txns);

    struct Case {
        int16_t kind;
        std::string filter;
        std::vector<long> records;
        double first_day_amount;
        double start_after;
    };
    const std::vector<Case> cases = {
        {0, "", {2, 3, 4, 5, 10, 6, 7}, 10000, 970101},
        {4, "", {2, 3, 4, 5, 10, 6, 7}, 10000, 970101},
        {1, "", {2, 10, 6, 7}, 10000, 970102},
        {2, "", {2, 3, 5, 6, 7}, 10000, 970102},
        {3, "", {2, 4, 6, 7}, 10000, 970102},
        {5, "STK", {3, 5, 6}, 5600, 970101},
        {5, "BND", {4}, 990, 970101},
    };
    for (const Case& c : cases) {
        double start = 970101;
        const auto sel = engine::Gettrn(kAccount, start, 970331, 0, c.filter, c.kind);
        std::vector<long> got;
        for (const auto& e : sel.entries) got.push_back(e.record);
        EXPECT_EQ(got, c.records) << "kind " << c.kind << " " << c.filter;
        EXPECT_NEAR(sel.first_day_amount, c.first_day_amount, 1e-9) << "kind " << c.kind << " " << c.filter;
        EXPECT_EQ(start, c.start_after) << "kind " << c.kind;
    }
    double start = 970301;
    const auto all = engine::Gettrn(kAccount, start, 970331, 1, "", 0);
    EXPECT_EQ(all.entries.size(), 8u) << "every date up to the end";
    EXPECT_EQ(all.first_date, "12/31/96");
}

TEST_F(SeriesFixture, NoTransactionsLeavesTheOutputs) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    const SeriesOut out = RunGetmmv(engine::kWholeAccountKind, " 4/01/97", " 5/31/97");
    EXPECT_EQ(out.status, engine::kSeriesDone);
    EXPECT_EQ(out.selected, 0);
    EXPECT_EQ(out.periods, -1);
    EXPECT_EQ(out.start, " 4/01/97");
    EXPECT_EQ(out.values[0], -1);
    EXPECT_EQ(out.block.result.value[0], 0);
    EXPECT_EQ(out.first_eq, "x");
}

TEST_F(SeriesFixture, ThreeHundredSixtyPeriodsAtMost) {
    fixtures::WriteTransactions(kAccount, {Tx("FI", "CASH", " 1/31/70", 0, 100)});
    // A start on a month end is period 2: to 11/30/99 is 359 more months.
    SeriesOut out = RunGetmmv(engine::kWholeAccountKind, " 1/01/70", "11/30/99");
    EXPECT_EQ(out.status, engine::kSeriesDone);
    EXPECT_EQ(out.periods, 360);
    EXPECT_NEAR(out.block.result.value[359], 100, 1e-9);

    out = RunGetmmv(engine::kWholeAccountKind, " 1/01/70", "12/31/99");
    EXPECT_EQ(out.status, engine::kSeriesTooLong);
    EXPECT_EQ(out.periods, -1);
    EXPECT_EQ(out.selected, -1);
    EXPECT_EQ(out.start, " 1/01/70");
    EXPECT_EQ(out.values[0], -1);

    out = RunGetmmv(engine::kWholeAccountKind, " 1/01/70", "12/31/05");
    EXPECT_EQ(out.status, engine::kSeriesTooLong);
}

// ---- Postgl

struct SeriesPostgl : SeriesFixture {
    engine::PeriodSums sums;
    engine::FirstActivity first;
    std::string last = "  ";
    engine::AccountData data{};

    void Post(const std::vector<TransactionRecord>& txns) {
        fixtures::WriteTransactions(kAccount, txns);
        records::Open(engine::kLotUnit, "HL.TMP");
        {
            engine::LotList lots;
            std::vector<long> numbers;
            for (std::size_t i = 0; i < txns.size(); ++i) numbers.push_back(static_cast<long>(i + 2));
            engine::Postgl(lots, kAccount, " 3/31/97", numbers, 0, sums, data, engine::DefaultCategoryTable(),
                           first, last);
        }
        records::Close(engine::kLotUnit);
    }
};

TEST_F(SeriesPostgl, FeesAreNoFlowsWhenTheSwitchIsSet) {
    data[19] = 1;
    Post({Tx("MF", "CASH", " 3/01/97", 0, 100), Tx("BC", "CASH", " 3/02/97", 0, 10)});
    EXPECT_EQ(sums.net_contribution, 0);
    EXPECT_EQ(sums.cash_equivalents_flow, 0);
    EXPECT_EQ(first.cash_equivalents, "        ");
    EXPECT_NEAR(fixtures::ReadHoldings("HL.TMP").lots.at(0).second.cost, -110, 1e-9)
        << "the cash still moves";
}

TEST_F(SeriesPostgl, FeesAreWithdrawalsWithoutTheSwitch) {
    Post({Tx("MF", "CASH", " 3/01/97", 0, 100), Tx("BC", "CASH", " 3/02/97", 0, 10)});
    EXPECT_EQ(sums.net_contribution, -110);
    EXPECT_EQ(sums.cash_equivalents_flow, -110);
    EXPECT_EQ(first.cash_equivalents, " 3/01/97");
}

TEST_F(SeriesPostgl, StatusNCountsButLeavesTheLots) {
    TransactionRecord di = Tx("DI", "STK", " 3/01/97", 0, 40, 2, 100);
    di.type = "N   ";
    TransactionRecord b = Tx("B", "STK", " 3/02/97", 10, 500, 2, 100);
    b.type = "N   ";
    b.bond_interest = 3;
    Post({di, b});
    EXPECT_EQ(sums.income, -3) << "a dividend with status N is no income; bought interest is";
    EXPECT_EQ(sums.net_contribution, -40) << "it is taken out of the account";
    EXPECT_EQ(sums.equities_flow, -40 + 503);
    EXPECT_EQ(sums.cash_equivalents_flow, 40 - 503);
    EXPECT_TRUE(fixtures::ReadHoldings("HL.TMP").lots.empty());
    EXPECT_EQ(last, "EQ");
}

TEST_F(SeriesPostgl, LotCodeSIsSkipped) {
    Post({Tx("FI", "CASH", " 3/01/97", 0, 100, 0, 0, "S")});
    EXPECT_EQ(sums.net_contribution, 0);
    EXPECT_EQ(sums.cash_equivalents_flow, 0);
    EXPECT_TRUE(fixtures::ReadHoldings("HL.TMP").lots.empty());
    EXPECT_EQ(last, "  ");
}

TEST_F(SeriesPostgl, IncomeAndContributionCodes) {
    TransactionRecord mi = Tx("MI", "CASH", " 3/05/97", 0, 25);
    mi.SetCashText("STK");  // MI finds its security by the text
    Post({Tx("FI", "CASH", " 3/01/97", 0, 1000), Tx("FO", "CASH", " 3/02/97", 0, 100),
          Tx("II", "CASH", " 3/03/97", 0, 7), Tx("IE", "CASH", " 3/04/97", 0, 2), mi,
          Tx("SI", "BND", " 3/06/97", 100, 95, 3, 200), Tx("SO", "BND", " 3/07/97", 50, 0, 3, 200),
          Tx("IP", "BND", " 3/08/97", 0, 4, 3, 200), Tx("IS", "BND", " 3/09/97", 0, 1, 3, 200)});
    EXPECT_NEAR(sums.income, 7 - 2 + 25 + 4 - 1, 1e-9);
    EXPECT_NEAR(sums.net_contribution, 1000 - 100 + 95 - 0, 1e-9);
    EXPECT_NEAR(sums.equities_income, 25, 1e-9) << "MI counts for the security named in its text";
    EXPECT_NEAR(sums.equities_flow, -25, 1e-9);
    EXPECT_NEAR(sums.fixed_income_income, 4 - 1, 1e-9);
    EXPECT_NEAR(sums.fixed_income_flow, 95 - 0 + 4 - 1, 1e-9);
    // Income of a cash-equivalents security is no flow of its own category
    // (m1 and m2 cancel): only the deposits and the other categories'
    // income move the cash-equivalents flow.
    EXPECT_NEAR(sums.cash_equivalents_flow, 1000 - 100 + 25 - 4 + 1, 1e-9);
    EXPECT_NEAR(sums.cash_equivalents_income, 7 - 2, 1e-9);
    EXPECT_EQ(first.fixed_income, " 3/06/97");
    EXPECT_EQ(first.equities, " 3/05/97");
    EXPECT_EQ(last, "FI");
}

TEST_F(SeriesPostgl, ShortSaleConditionsAreReportedOnUnitFour) {
    records::Openaw(engine::kWarningUnit, "WARN.TXT");
    Post({Tx("S", "STK", " 3/01/97", 10, 500, 2, 100), Tx("FI", "CASH", " 3/02/97", 0, 5)});
    records::Close(engine::kWarningUnit);
    records::TextFile f("WARN.TXT", false);
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, " Warning: short sale condition 2 found in account: ACC1  , transaction no.    1");
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "");
    EXPECT_NEAR(sums.cash_equivalents_flow, 500 + 5, 1e-9) << "flows count even so";
}

// ---- Getmmv2

struct Getmmv2Out {
    int16_t status = -1;
    std::string start;
    PeriodValues values{};
    PeriodValues flows{};
    PeriodIncomes incomes{};
    int16_t periods = -1;
    engine::SeriesBlock block;
};

Getmmv2Out RunGetmmv2(const std::string& start, const std::string& end, const std::string& filter,
                      double opening) {
    Getmmv2Out out;
    out.start = start;
    out.values.fill(-1);
    engine::AccountData data{};
    out.status = engine::Getmmv2(kAccount, end, out.start, out.values, out.flows, out.incomes, out.periods,
                                 data, filter, opening, out.block);
    return out;
}

TEST_F(SeriesFixture, Getmmv2WholeAccountReplaysEveryTransaction) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    // The start asked for does not narrow the replay: the stock bought on
    // 1/10 is valued in every month after it.
    for (const std::string start : {"        ", " 2/01/97"}) {
        const Getmmv2Out out = RunGetmmv2(start, " 3/31/97", "", 777);
        EXPECT_EQ(out.status, engine::kSeriesDone);
        EXPECT_EQ(out.periods, 4);
        EXPECT_EQ(out.start, " 1/02/97") << "the series starts on the first transaction";
        // Whole-account values (cash plus the stock at its month-end price),
        // net contributions and incomes, as Getmmv's whole-account series.
        ExpectFirst(out.values, {777, 10200, 10550, 11050}, "value");
        ExpectFirst(out.flows, {10000, 0, 0, 0}, "flow");
        ExpectFirst(out.incomes, {0, 0, 50, 0}, "income");
        ExpectFirst(out.block.result.value, {777, 10200, 10550, 11050}, "result value");
    }
}

TEST_F(SeriesFixture, Getmmv2WholeAccountWithoutOpeningValueOpensWithTheFirstDay) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    const Getmmv2Out out = RunGetmmv2("        ", " 3/31/97", "", 0);
    ExpectFirst(out.values, {10000, 10200, 10550, 11050}, "value");
}

TEST_F(SeriesFixture, Getmmv2NamedSecurityStartsWithItsFirstDayAmount) {
    fixtures::WriteTransactions(kAccount, BasicAccount());
    const Getmmv2Out out = RunGetmmv2("        ", " 3/31/97", "STK", 777);
    EXPECT_EQ(out.values[0], 5000);
    EXPECT_EQ(out.start, " 1/10/97");
    ExpectFirst(out.values, {5000, 5200, 5500, 3600}, "value");
}

TEST_F(SeriesFixture, Getmmv2WithoutTransactionsHasNoPeriods) {
    fixtures::WriteTransactions(kAccount, {});
    const Getmmv2Out out = RunGetmmv2("        ", " 3/31/97", "", 777);
    EXPECT_EQ(out.periods, 0);
    EXPECT_EQ(out.values[0], -1);
}

TEST(SeriesCategoryTable, ReadFromCommonFileOrTheDefault) {
    TempDataDir dir;
    EXPECT_EQ(engine::ReadCategoryTable(), engine::DefaultCategoryTable()) << "no record";
    records::Record rec(128, 0);
    rec.SetText(0, 46, "EQEQEQEQEQEQEQEQEQEQEQEQEQEQEQEQEQEQEQEQEQEQ  ");
    fixtures::WriteCommonRecord(14, rec);
    engine::CategoryTable eq;
    eq.fill("EQ");
    EXPECT_EQ(engine::ReadCategoryTable(), eq);
    rec.SetI16(2 * 21, 0);  // the 22nd word
    fixtures::WriteCommonRecord(14, rec);
    EXPECT_EQ(engine::ReadCategoryTable(), engine::DefaultCategoryTable());
}

}  // namespace

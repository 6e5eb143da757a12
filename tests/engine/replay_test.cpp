#include "engine/replay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/rebuild.h"
#include "engine/replay_cash.h"
#include "engine/replay_steps.h"
#include "records/codes.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/lookups.h"
#include "records/options.h"
#include "records/record.h"
#include "records/rounding.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::TransactionRecord;

const std::string kAccount = "ACC1";

// Holding keys of the test securities: AAA < BBB < CCC in the list order.
double KeyOf(const std::string& symbol) {
    static const std::map<std::string, double> keys = {{"AAA", 100}, {"BBB", 200}, {"CCC", 300}};
    return keys.at(symbol);
}
int16_t RecordOf(const std::string& symbol) {
    static const std::map<std::string, int16_t> recs = {{"AAA", 1}, {"BBB", 2}, {"CCC", 3}};
    return recs.at(symbol);
}

void WriteTestSecurities() {
    fixtures::WriteSecurities({
        {.symbol = "AAA",
         .cusip = "AAA",
         .description1 = "ALPHA CORP",
         .description2 = "COMMON",
         .type = "H"},
        {.symbol = "BBB", .cusip = "BBB", .description1 = "BETA INC", .description2 = "COMMON", .type = "H"},
        {.symbol = "CCC",
         .cusip = "CCC",
         .description1 = "GAMMA BOND",
         .description2 = "6% 2010",
         .type = "B"},
    });
}

// A trade of a test security.
TransactionRecord T(const std::string& code, const std::string& symbol, const std::string& lot,
                    const std::string& date, double quantity, double amount) {
    return fixtures::Transaction(code, symbol, lot, date, quantity, amount, KeyOf(symbol), RecordOf(symbol));
}
// A cash-only transaction.
TransactionRecord Cash(const std::string& code, const std::string& date, double amount, double interest = 0) {
    TransactionRecord t = fixtures::Transaction(code, "CASH", "", date, 0, amount, 0, 0);
    t.bond_interest = interest;
    return t;
}
TransactionRecord With(TransactionRecord t, auto change) {
    change(t);
    return t;
}

// An expected lot, in list order. record 0: not checked.
struct Lot {
    std::string symbol;
    std::string tax_lot;
    double quantity;
    double cost;
    int16_t record = 0;
};
bool IsCash(const Lot& lot) {
    return lot.symbol == "CASH";
}

struct Gain {
    std::string symbol;
    double quantity;
    double proceeds;
    double cost;
    double gain;
    int16_t short_cover = 0;
};

struct Scenario {
    std::string name;
    std::vector<TransactionRecord> transactions;
    int16_t status = 0;
    std::vector<Lot> lots;
    std::vector<Gain> gains = {};
    float as_of = engine::kEveryTransaction;
    int16_t exclude_day = 0;
    // Field 17 of each transaction after the replay (empty: not checked).
    std::vector<int16_t> gain_links = {};
    // The last record that record 1 names (0: that of the last transaction).
    int16_t last_record = 0;
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

class ReplayScenario : public ::testing::TestWithParam<Scenario> {
protected:
    TempDataDir dir;
};

TEST_P(ReplayScenario, BuildsLotsGainsAndStatus) {
    const Scenario& s = GetParam();
    WriteTestSecurities();
    fixtures::WriteTransactions(kAccount, s.transactions);
    if (s.last_record != 0) fixtures::WriteLastRecord(kAccount, s.last_record);
    int16_t status = -1;
    engine::Creatt(kAccount, "LABEL", s.as_of, 1, s.exclude_day, status);
    EXPECT_EQ(status, s.status);

    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_TRUE(h.readable);
    EXPECT_EQ(h.header.account, records::Fixed(kAccount, 8));
    EXPECT_EQ(h.header.label, "LABEL   ");
    ASSERT_EQ(h.lots.size(), s.lots.size());
    for (std::size_t i = 0; i < s.lots.size(); ++i) {
        SCOPED_TRACE("lot " + std::to_string(i + 1));
        const Lot& want = s.lots[i];
        const records::HoldingRecord& got = h.lots[i].second;
        EXPECT_EQ(got.symbol, records::Fixed(want.symbol, 12));
        EXPECT_EQ(got.tax_lot, records::Fixed(want.tax_lot, 4));
        EXPECT_NEAR(got.quantity, want.quantity, 1e-9);
        EXPECT_NEAR(got.cost, want.cost, 1e-9);
        if (IsCash(want)) {
            EXPECT_EQ(got.holding_key, 0);
            EXPECT_EQ(got.security_record, 2);
        } else {
            EXPECT_EQ(got.holding_key, KeyOf(want.symbol));
        }
        if (want.record != 0) {
            EXPECT_EQ(h.lots[i].first, want.record);
        }
    }

    const fixtures::Gains g = fixtures::ReadGains("GL.TMP");
    ASSERT_EQ(g.gains.size(), s.gains.size());
    for (std::size_t i = 0; i < s.gains.size(); ++i) {
        SCOPED_TRACE("gain " + std::to_string(i + 1));
        const Gain& want = s.gains[i];
        const records::GainRecord& got = g.gains[i];
        EXPECT_EQ(got.symbol, records::Fixed(want.symbol, 12));
        EXPECT_NEAR(got.quantity, want.quantity, 1e-9);
        EXPECT_NEAR(got.proceeds, want.proceeds, 1e-6);
        EXPECT_NEAR(got.cost, want.cost, 1e-6);
        EXPECT_NEAR(got.gain, want.gain, 1e-6);
        EXPECT_EQ(got.short_cover, want.short_cover);
        EXPECT_EQ(got.security_record, RecordOf(want.symbol));
    }

    if (!s.gain_links.empty()) {
        const std::vector<TransactionRecord> after = fixtures::ReadTransactions(kAccount);
        ASSERT_EQ(after.size(), s.gain_links.size());
        for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].gain_record, s.gain_links[i]) << i;
    }
}

std::vector<Scenario> Scenarios() {
    return {
        {.name = "BuyOpensLotAndPaysCash",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000)},
         .lots = {{"CASH", "", -1000, -1000, 3}, {"AAA", "1", 100, 1000, 2}}},
        {.name = "SameDaySaleFiledBeforeItsBuy",
         .transactions = {T("S", "AAA", "1", "01/05/98", 100, 1200),
                          T("B", "AAA", "1", "01/05/98", 100, 1000)},
         .lots = {{"CASH", "", 200, 200}},
         .gains = {{"AAA", 100, 1200, 1000, 200}},
         .gain_links = {2, 0}},
        {.name = "CashCodesComeFirstOnTheirDay",
         .transactions = {T("B", "AAA", "1", "01/05/98", 10, 100), Cash("DI", "01/05/98", 5)},
         .lots = {{"CASH", "", -95, -95, 2}, {"AAA", "1", 10, 100, 3}}},
        {.name = "EarlierDayFirstWhateverTheFilingOrder",
         .transactions = {T("S", "AAA", "1", "01/06/98", 40, 500), T("B", "AAA", "1", "01/05/98", 100, 1000)},
         .lots = {{"CASH", "", -500, -500}, {"AAA", "1", 60, 600}},
         .gains = {{"AAA", 40, 500, 400, 100}}},
        {.name = "ExcludeDayLeavesTheAsOfDayOut",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000), T("B", "BBB", "1", "01/06/98", 10, 50)},
         .lots = {{"CASH", "", -1000, -1000}, {"AAA", "1", 100, 1000}},
         .as_of = 980106,
         .exclude_day = 1},
        {.name = "ExcludeDayZeroKeepsTheAsOfDay",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000), T("B", "BBB", "1", "01/06/98", 10, 50)},
         .lots = {{"CASH", "", -1050, -1050}, {"AAA", "1", 100, 1000}, {"BBB", "1", 10, 50}},
         .as_of = 980106},
        {.name = "YearsFrom2000SortAfter1999",
         .transactions = {T("S", "AAA", "1", "01/03/00", 100, 900),
                          T("B", "AAA", "1", "12/30/99", 100, 1000)},
         .lots = {{"CASH", "", -100, -100}},
         .gains = {{"AAA", 100, 900, 1000, -100}}},
        {.name = "SaleBeyondItsLotStopsWithStatus1",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000),
                          T("S", "AAA", "1", "01/06/98", 101, 1200), T("B", "BBB", "1", "01/07/98", 1, 1)},
         .status = 1,
         .lots = {{"CASH", "", -1000, -1000}, {"AAA", "1", 100, 1000}},
         .gain_links = {0, 0, 0}},
        {.name = "SaleOfAnotherLotCodeStopsWithStatus2",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000), T("S", "AAA", "2", "01/06/98", 10, 120)},
         .status = 2,
         .lots = {{"CASH", "", -1000, -1000}, {"AAA", "1", 100, 1000}}},
        {.name = "SaleOfAnotherKeyStopsWithStatus2",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000),
                          With(T("S", "AAA", "1", "01/06/98", 10, 120),
                               [](auto& t) { t.holding_key = 101; })},
         .status = 2,
         .lots = {{"CASH", "", -1000, -1000}, {"AAA", "1", 100, 1000}}},
        {.name = "SaleOfTheWholeLotFreesItsRecordForTheNextLot",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000),
                          T("S", "AAA", "1", "01/06/98", 100, 1100), T("B", "CCC", "1", "01/07/98", 10, 100),
                          T("B", "BBB", "1", "01/08/98", 5, 50)},
         .lots = {{"CASH", "", -50, -50, 3}, {"BBB", "1", 5, 50, 4}, {"CCC", "1", 10, 100, 2}},
         .gains = {{"AAA", 100, 1100, 1000, 100}},
         .gain_links = {0, 2, 0, 0}},
        {.name = "SecondBuyOfTheLotAddsToIt",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000), T("B", "AAA", "1", "01/06/98", 50, 600)},
         .lots = {{"CASH", "", -1600, -1600}, {"AAA", "1", 150, 1600, 2}}},
        {.name = "PartialSaleKeepsTheUnitCost",
         .transactions = {T("B", "AAA", "1", "01/05/98", 300, 1000),
                          T("S", "AAA", "1", "01/06/98", 100, 400)},
         .lots = {{"CASH", "", -600, -600}, {"AAA", "1", 200, 666.67}},
         .gains = {{"AAA", 100, 400, 1000.0 / 300 * 100, (400.0 / 100 - 1000.0 / 300) * 100}}},
        {.name = "LotsOfOneSymbolOrderedByLotCode",
         .transactions = {T("B", "AAA", "B", "01/05/98", 1, 10), T("B", "AAA", "A", "01/05/98", 2, 20),
                          T("B", "AAA", "AB", "01/05/98", 3, 30)},
         .lots = {{"CASH", "", -60, -60}, {"AAA", "A", 2, 20}, {"AAA", "AB", 3, 30}, {"AAA", "B", 1, 10}}},
        {.name = "ShortSaleThenCoverOfTheWholeQuantity",
         .transactions = {T("SS", "AAA", "a", "01/05/98", 100, 5000),
                          T("CS", "AAA", "a", "02/05/98", 100, 4000)},
         .lots = {{"CASH", "", 1000, 1000}},
         .gains = {{"AAA", 100, 5000, 4000, 1000, 1}},
         .gain_links = {0, 2}},
        {.name = "ShortSaleOpensANegativeLot",
         .transactions = {T("SS", "AAA", "a", "01/05/98", 100, 5000)},
         .lots = {{"CASH", "", 5000, 5000}, {"AAA", "a", -100, 5000}}},
        {.name = "SecondShortSaleAddsItsProceeds",
         .transactions = {T("SS", "AAA", "a", "01/05/98", 100, 5000),
                          T("SS", "AAA", "a", "01/06/98", 100, 6000),
                          T("CS", "AAA", "a", "02/05/98", 150, 6000)},
         .lots = {{"CASH", "", 5000, 5000}, {"AAA", "a", -50, 2750}},
         .gains = {{"AAA", 150, 8250, 6000, 2250, 1}}},
        {.name = "CoverBeyondTheShortLotStopsWithStatus1",
         .transactions = {T("SS", "AAA", "a", "01/05/98", 100, 5000),
                          T("CS", "AAA", "a", "02/05/98", 101, 4000)},
         .status = 1,
         .lots = {{"CASH", "", 5000, 5000}, {"AAA", "a", -100, 5000}}},
        {.name = "DividendCreatesTheCashLotAtTheHead",
         .transactions = {With(T("SI", "AAA", "1", "01/05/98", 100, 0), [](auto& t) { t.lot_cost = 900; }),
                          Cash("DI", "01/06/98", 25)},
         .lots = {{"CASH", "", 25, 25, 3}, {"AAA", "1", 100, 900, 2}}},
        {.name = "TransfersMoveLotsWithoutCashOrGain",
         .transactions = {With(T("SI", "AAA", "1", "01/05/98", 100, 7), [](auto& t) { t.lot_cost = 900; }),
                          T("SO", "AAA", "1", "01/06/98", 40, 999), T("SO", "BBB", "1", "01/06/98", 1, 1)},
         .status = 2,
         .lots = {{"AAA", "1", 60, 540}}},
        {.name = "SplitSharesAddToTheLot",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000), T("SP", "AAA", "1", "02/05/98", 100, 0)},
         .lots = {{"CASH", "", -1000, -1000}, {"AAA", "1", 200, 1000}}},
        {.name = "SplitOnTheDayOfTheBuyComesFirst",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000), T("SP", "AAA", "1", "01/05/98", 100, 0)},
         .lots = {{"CASH", "", -1000, -1000, 3}, {"AAA", "1", 200, 1000, 2}}},
        {.name = "BondInterestGoesWithTheCash",
         .transactions = {With(T("B", "CCC", "1", "01/05/98", 10000, 9850),
                               [](auto& t) { t.bond_interest = 25; }),
                          With(T("S", "CCC", "1", "03/05/98", 10000, 9900),
                               [](auto& t) { t.bond_interest = 40; })},
         .lots = {{"CASH", "", 65, 65}},
         .gains = {{"CCC", 10000, 9900, 9850, 50}}},
        {.name = "CashAmountsAreRoundedToCents",
         .transactions = {Cash("FI", "01/05/98", 100.004), Cash("FI", "01/06/98", 0.006)},
         .lots = {{"CASH", "", 100.01, 100.01}}},
        {.name = "UnknownCodeChangesNothing",
         .transactions = {T("B", "AAA", "1", "01/05/98", 1, 10), T("XX", "AAA", "1", "01/06/98", 1, 10),
                          T("b", "AAA", "1", "01/06/98", 1, 10)},
         .lots = {{"CASH", "", -10, -10}, {"AAA", "1", 1, 10}}},
        {.name = "DeletedAndNotReplayedTransactionsAreSkipped",
         .transactions = {T("B", "AAA", "1", "01/05/98", 1, 10),
                          With(T("B", "BBB", "1", "01/05/98", 1, 10), [](auto& t) { t.type = "N   "; }),
                          With(T("S", "AAA", "1", "01/06/98", 1, 10),
                               [](auto& t) {
                                   t.symbol = std::string(12, ' ');
                                   t.gain_record = 9;
                               }),
                          With(T("S", "AAA", "1", "01/06/98", 1, 10),
                               [](auto& t) {
                                   t.type = "N   ";
                                   t.gain_record = 8;
                               })},
         .lots = {{"CASH", "", -10, -10}, {"AAA", "1", 1, 10}},
         .gain_links = {0, 0, 9, 8}},
        {.name = "NothingQualifiesLeavesAnEmptyList",
         .transactions = {T("B", "AAA", "1", "01/05/98", 1, 10)},
         .lots = {},
         .as_of = 980104},
        {.name = "NoTransactionsLeavesAnEmptyList", .transactions = {}, .lots = {}},
        // Record 1 names record 2 as the last: the sale in record 3 is no
        // transaction, so it relieves no lot and makes no gain.
        {.name = "TradesPastTheLastRecordAreNotReplayed",
         .transactions = {T("B", "AAA", "1", "01/05/98", 100, 1000), T("S", "AAA", "1", "01/06/98", 100, 1200)},
         .lots = {{"CASH", "", -1000, -1000}, {"AAA", "1", 100, 1000}},
         .last_record = 2},
    };
}

INSTANTIATE_TEST_SUITE_P(Replay, ReplayScenario, ::testing::ValuesIn(Scenarios()),
                         [](const auto& info) { return info.param.name; });

// Each class-3 code moves only cash, by its sign times amount plus bond
// interest.
struct CashCode {
    const char* code;
    int sign;
};
void PrintTo(const CashCode& c, std::ostream* os) {
    *os << c.code;
}
class ReplayCashCode : public ::testing::TestWithParam<CashCode> {
protected:
    TempDataDir dir;
};

TEST_P(ReplayCashCode, MovesCashBySign) {
    fixtures::WriteTransactions(kAccount, {Cash(GetParam().code, "01/05/98", 100, 5)});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    EXPECT_EQ(status, 0);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 1u);
    EXPECT_EQ(h.lots[0].second.symbol, "CASH        ");
    EXPECT_EQ(h.lots[0].second.quantity, GetParam().sign * 105.0);
    EXPECT_EQ(h.lots[0].second.cost, GetParam().sign * 105.0);
    EXPECT_FALSE(TempDataDir::Exists("GL.TMP"));  // not in write mode
}

INSTANTIATE_TEST_SUITE_P(Replay, ReplayCashCode,
                         ::testing::Values(CashCode{"FI", 1}, CashCode{"FO", -1}, CashCode{"DI", 1},
                                           CashCode{"DE", -1}, CashCode{"II", 1}, CashCode{"IE", -1},
                                           CashCode{"MF", -1}, CashCode{"BC", -1}, CashCode{"MI", 1},
                                           CashCode{"ME", -1}, CashCode{"AI", 1}, CashCode{"AO", -1},
                                           CashCode{"IP", -1}, CashCode{"IS", 1}),
                         [](const auto& info) { return std::string(info.param.code); });

// The lot a transfer opens carries its trade date as the reference and
// its lot date as the open date; a purchase's lot has no reference.
TEST(ReplayTransfers, TransferInLotKeepsItsDates) {
    TempDataDir dir;
    fixtures::WriteTransactions(kAccount, {With(T("SI", "AAA", "1", "03/01/98", 100, 0),
                                                [](auto& t) {
                                                    t.lot_date = "06/15/90";
                                                    t.lot_cost = 900;
                                                    t.broker = "XFER    ";
                                                }),
                                           T("B", "BBB", "1", "03/01/98", 1, 10)});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    ASSERT_EQ(status, 0);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 3u);
    const records::HoldingRecord& in = h.lots[1].second;
    EXPECT_EQ(in.open_date, "06/15/90");
    EXPECT_EQ(in.reference, "03/01/98");
    EXPECT_EQ(in.broker, "XFER    ");
    EXPECT_EQ(in.cost, 900);
    EXPECT_EQ(h.lots[2].second.reference, "        ");
    EXPECT_DOUBLE_EQ(h.lots[0].second.cost, -10);  // only the purchase moved cash
}

// ---- Write mode: gains and field 17

TEST(ReplayWriteMode, GainsCarryTheLotAndSecurityAndField17PointsAtThem) {
    TempDataDir dir;
    WriteTestSecurities();
    fixtures::WriteTransactions(
        kAccount, {With(T("B", "AAA", "1", "01/05/98", 100, 1000), [](auto& t) { t.lot_date = "12/15/97"; }),
                   T("S", "AAA", "1", "02/05/98", 30, 450),
                   With(T("S", "AAA", "1", "03/05/98", 70, 700), [](auto& t) { t.gain_record = 5; })});
    int16_t status = -1;
    engine::Creatt(kAccount, "LBL", engine::kEveryTransaction, 1, 0, status);
    ASSERT_EQ(status, 0);
    const fixtures::Gains g = fixtures::ReadGains("GL.TMP");
    EXPECT_EQ(g.header.account, "ACC1    ");
    EXPECT_EQ(g.header.label, "LBL     ");
    ASSERT_EQ(g.header.count, 2);
    EXPECT_EQ(g.gains[0].sale_date, 980205.0f);
    EXPECT_EQ(g.gains[0].open_date, "12/15/97");
    EXPECT_EQ(g.gains[0].description1, records::Fixed("ALPHA CORP", 32));
    EXPECT_EQ(g.gains[0].description2, records::Fixed("COMMON", 32));
    EXPECT_EQ(g.gains[1].sale_date, 980305.0f);
    const std::vector<TransactionRecord> after = fixtures::ReadTransactions(kAccount);
    EXPECT_EQ(after[0].gain_record, 0);
    EXPECT_EQ(after[1].gain_record, 2);
    EXPECT_EQ(after[2].gain_record, 3);
    // Nothing else of the records changes.
    EXPECT_EQ(after[2].amount, 700);
    EXPECT_EQ(after[2].lot_date, "03/05/98");
}

TEST(ReplayWriteMode, WithoutWriteModeNoGainsAndField17Untouched) {
    TempDataDir dir;
    fixtures::WriteTransactions(
        kAccount, {T("B", "AAA", "1", "01/05/98", 100, 1000),
                   With(T("S", "AAA", "1", "02/05/98", 30, 450), [](auto& t) { t.gain_record = 7; })});
    const auto before = 
                TempDataDir::ReadBytes(records::TrimRight(records::Paknam(kAccount, "TR", ".REC")));
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(TempDataDir::Exists("GL.TMP"));
    EXPECT_EQ(TempDataDir::ReadBytes("TRACC1.REC"), before);
}

TEST(ReplayWriteMode, FailedReplayLeavesEveryField17AsItWas) {
    TempDataDir dir;
    WriteTestSecurities();
    fixtures::WriteTransactions(
        kAccount, {T("B", "AAA", "1", "01/05/98", 100, 1000),
                   With(T("S", "AAA", "1", "02/05/98", 30, 450), [](auto& t) { t.gain_record = 9; }),
                   T("S", "AAA", "1", "03/05/98", 80, 800)});
    const auto before = 
                TempDataDir::ReadBytes(records::TrimRight(records::Paknam(kAccount, "TR", ".REC")));
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 1, 0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(TempDataDir::ReadBytes("TRACC1.REC"), before);
    // The replay got as far as the second sale's gain.
    EXPECT_EQ(fixtures::ReadGains("GL.TMP").header.count, 1);
}

TEST(ReplayWriteMode, ShortCoverGainIsProceedsLessCost) {
    TempDataDir dir;
    WriteTestSecurities();
    fixtures::WriteTransactions(
        kAccount, {T("SS", "AAA", "a", "01/05/98", 300, 9000), T("CS", "AAA", "a", "02/05/98", 100, 3500)});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 1, 0, status);
    ASSERT_EQ(status, 0);
    const fixtures::Gains g = fixtures::ReadGains("GL.TMP");
    ASSERT_EQ(g.gains.size(), 1u);
    EXPECT_EQ(g.gains[0].short_cover, 1);
    EXPECT_EQ(g.gains[0].open_date, "01/05/98");  // the short lot's open date is its trade date
    EXPECT_DOUBLE_EQ(g.gains[0].proceeds, 3000);
    EXPECT_DOUBLE_EQ(g.gains[0].cost, 3500);
    EXPECT_DOUBLE_EQ(g.gains[0].gain, -500);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_DOUBLE_EQ(h.lots[1].second.quantity, -200);
    EXPECT_DOUBLE_EQ(h.lots[1].second.cost, 6000);
}

// ---- Order of same-day transactions filed past record 10,000

TEST(ReplayOrder, RecordNumbersPast10000KeepTheDayOrder) {
    TempDataDir dir;
    WriteTestSecurities();
    // Record 2: a buy on 01/06; record 3: a buy on 01/05; records 4 to
    // 24,999 deleted; record 25,000: the sale of 01/05's lot on 01/05. With
    // the record number as a fraction of the day, that sale would sort after
    // the next day's buy and relieve a lot of 150 shares.
    std::vector<TransactionRecord> ts(24999);
    for (auto& t : ts) t = With(TransactionRecord{}, [](auto& r) { r.symbol = std::string(12, ' '); });
    ts[0] = T("B", "AAA", "1", "01/06/98", 50, 1000);
    ts[1] = T("B", "AAA", "1", "01/05/98", 100, 1000);
    ts[24998] = T("S", "AAA", "1", "01/05/98", 100, 1500);
    fixtures::WriteTransactions(kAccount, ts);
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 1, 0, status);
    ASSERT_EQ(status, 0);
    const fixtures::Gains g = fixtures::ReadGains("GL.TMP");
    ASSERT_EQ(g.gains.size(), 1u);
    EXPECT_DOUBLE_EQ(g.gains[0].cost, 1000);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_DOUBLE_EQ(h.lots[1].second.quantity, 50);
    EXPECT_DOUBLE_EQ(h.lots[1].second.cost, 1000);
    EXPECT_EQ(h.lots[1].second.open_date, "01/06/98");
    EXPECT_EQ(fixtures::ReadTransactions(kAccount)[24998].gain_record, 2);
}

TEST(ReplayOrder, MoreThan5000TransactionsAreAllReplayed) {
    TempDataDir dir;
    std::vector<TransactionRecord> ts;
    for (int i = 0; i < 6000; ++i) ts.push_back(Cash("FI", "01/05/98", 1));
    fixtures::WriteTransactions(kAccount, ts);
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    ASSERT_EQ(status, 0);
    EXPECT_DOUBLE_EQ(fixtures::ReadHoldings("HL.TMP").lots.at(0).second.cost, 6000);
}

// Record 1 names the last transaction: records past it (left from a longer
// file) are no transactions, neither for the replay in either mode nor for
// the cash pass that stands for it; a last record past the file's end
// takes the records the file holds.
TEST(ReplayOrder, StopsAtTheLastRecordThatRecord1Names) {
    const struct Case {
        int16_t last_record;
        bool cash_lot;
        double cash;
    } cases[] = {{2, true, 100}, {3, true, 150}, {9, true, 150}, {1, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("last record " + std::to_string(c.last_record));
        TempDataDir dir;
        fixtures::WriteTransactions(kAccount, {Cash("FI", "01/05/98", 100), Cash("FI", "01/06/98", 50)});
        fixtures::WriteLastRecord(kAccount, c.last_record);
        const std::vector<unsigned char> bytes =
            TempDataDir::ReadBytes(records::TrimRight(records::Paknam(kAccount, "TR", ".REC")));
        const engine::ReplayedCash pass =
            engine::CashBeforeDate(bytes.data(), bytes.size(), 990101, records::Rdopts());
        EXPECT_TRUE(pass.decided);
        EXPECT_EQ(pass.cash_lot, c.cash_lot);
        EXPECT_EQ(pass.balance, c.cash);
        for (const int16_t write_mode : {0, 1}) {
            SCOPED_TRACE("write mode " + std::to_string(write_mode));
            int16_t status = -1;
            engine::Creatt(kAccount, "", engine::kEveryTransaction, write_mode, 0, status);
            EXPECT_EQ(status, 0);
            const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
            ASSERT_EQ(h.lots.size(), c.cash_lot ? 1u : 0u);
            if (c.cash_lot) {
                EXPECT_EQ(h.lots[0].second.cost, c.cash);
            }
        }
    }
}

// ---- Quantities round to the system's decimals (option 81)

TEST(ReplayRounding, SaleQuantityIsComparedAtTheSystemDecimals) {
    for (const auto& [decimals, want_status] :
         std::vector<std::pair<unsigned char, int16_t>>{{0, 0}, {6, 1}}) {
        TempDataDir dir;
        if (decimals != 0) fixtures::SetOptions({{records::Opt::kSystemDecimals, decimals}});
        fixtures::WriteTransactions(kAccount, {T("B", "AAA", "1", "01/05/98", 100, 1000),
                                               T("S", "AAA", "1", "01/06/98", 100.00004, 1000)});
        int16_t status = -1;
        engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
        EXPECT_EQ(status, want_status) << int(decimals);
    }
}

// A lot whose remaining quantity lies within 0.0005 of zero is closed;
// one just beyond stays open with what remains.
TEST(ReplayRounding, ClosingTolerance) {
    for (const auto& [bought, lots] :
         std::vector<std::pair<double, std::size_t>>{{100.0003, 1}, {100.0007, 2}}) {
        TempDataDir dir;
        fixtures::WriteTransactions(kAccount, {T("B", "AAA", "1", "01/05/98", bought, 1000),
                                               T("S", "AAA", "1", "01/06/98", 100, 1000)});
        int16_t status = -1;
        engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
        ASSERT_EQ(status, 0) << bought;
        const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
        ASSERT_EQ(h.lots.size(), lots) << bought;
        if (lots == 2) {
            EXPECT_NEAR(h.lots[1].second.quantity, 0.0007, 1e-9);
        }
    }
}

TEST(ReplayRounding, AgreesWithDrndn) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kSystemDecimals, 5}});
    // A lot of q1 sold q2 closes exactly when the two agree after Drndn.
    for (const auto& [q1, q2] : std::vector<std::pair<double, double>>{
             {1.000005, 1.00001}, {2.675, 2.67500000001}, {0.1234549, 0.123455}, {3, 3.0000049}}) {
        fixtures::WriteTransactions(
            kAccount, {T("B", "AAA", "1", "01/05/98", q1, 10), T("S", "AAA", "1", "01/06/98", q2, 10)});
        double r1 = q1, r2 = q2;
        records::Drndn(r1);
        records::Drndn(r2);
        int16_t status = -1;
        engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
        EXPECT_EQ(status, r1 < r2 ? 1 : 0) << q1 << " " << q2;
    }
}

// ---- Texts: memos from TR<acct>.EXT, HL.EXT, Ftele2 and Ftele

records::TransactionExtension Texts(const std::string& memo, const std::string& date,
                                    const std::string& text) {
    records::TransactionExtension e;
    e.memo = records::Fixed(memo, 20);
    e.settlement_date = records::Fixed(date, 8);
    e.text = records::Fixed(text, 32);
    return e;
}

records::HoldingExtension LotTexts(long record) {
    records::DirectFile file("HL.EXT", 128, false);
    records::Record rec;
    EXPECT_TRUE(file.Read(record, rec)) << record;
    return records::HoldingExtension::Decode(rec);
}

TEST(ReplayTexts, LotTakesTheMemoAndTextsOfItsOpeningTransaction) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kLotTexts, 1}});
    fixtures::WriteTransactions(kAccount, {T("B", "AAA", "1", "01/05/98", 100, 1000)});
    fixtures::WriteTransactionExtensions(kAccount, {{2, Texts("GROWTH", "01/08/98", "FIRST PURCHASE")}});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    ASSERT_EQ(status, 0);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_EQ(h.lots[1].second.memo, records::Fixed("GROWTH", 20));
    const records::HoldingExtension lot = LotTexts(h.lots[1].first);
    EXPECT_EQ(lot.settlement_date, "01/08/98");
    EXPECT_EQ(lot.text, records::Fixed("FIRST PURCHASE", 32));
    // The cash lot carries no texts.
    EXPECT_EQ(h.lots[0].second.memo, std::string(20, ' '));
    EXPECT_EQ(LotTexts(h.lots[0].first).text, std::string(32, ' '));
}

TEST(ReplayTexts, OptionsOffReadNoTextsAndLeaveNoHlExt) {
    TempDataDir dir;
    TempDataDir::WriteBytes("HL.EXT", std::vector<unsigned char>(256, 'x'));  // an earlier replay's
    fixtures::WriteTransactions(kAccount, {T("B", "AAA", "1", "01/05/98", 100, 1000)});
    fixtures::WriteTransactionExtensions(kAccount, {{2, Texts("GROWTH", "01/08/98", "X")}});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    EXPECT_EQ(fixtures::ReadHoldings("HL.TMP").lots[1].second.memo, std::string(20, ' '));
    EXPECT_FALSE(TempDataDir::Exists("HL.EXT"));
}

// A partial sale or an addition whose memo is empty (blank, or the zero
// bytes that posting files) keeps the lot's memo and texts; one with its
// own replaces them.
struct KeepTextsCase {
    const char* name;
    std::string memo;
    std::string date;
    std::string text;
    const char* code;
    std::string want_memo;
    std::string want_date;
    std::string want_text;
};
void PrintTo(const KeepTextsCase& c, std::ostream* os) {
    *os << c.name;
}
class ReplayKeepTexts : public ::testing::TestWithParam<KeepTextsCase> {
protected:
    TempDataDir dir;
};

TEST_P(ReplayKeepTexts, OnPartialSaleOrAddition) {
    const KeepTextsCase& c = GetParam();
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}, {records::Opt::kLotTexts, 1}});
    fixtures::WriteTransactions(
        kAccount, {T("B", "AAA", "1", "01/05/98", 100, 1000), T(c.code, "AAA", "1", "01/06/98", 10, 100)});
    records::TransactionExtension second;
    second.memo = c.memo;
    second.settlement_date = c.date;
    second.text = c.text;
    fixtures::WriteTransactionExtensions(kAccount, {{2, Texts("GROWTH", "01/08/98", "FIRST")}, {3, second}});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    ASSERT_EQ(status, 0);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_EQ(h.lots[1].second.memo, records::Fixed(c.want_memo, 20));
    const records::HoldingExtension lot = LotTexts(h.lots[1].first);
    EXPECT_EQ(lot.settlement_date, records::Fixed(c.want_date, 8));
    EXPECT_EQ(lot.text, records::Fixed(c.want_text, 32));
}

INSTANTIATE_TEST_SUITE_P(Replay, ReplayKeepTexts,
                         ::testing::Values(
                             // Blank memo: Ftele2 fills the transaction's texts from the lot.
                             KeepTextsCase{"BlankSale", std::string(20, ' '), std::string(8, ' '),
                                           std::string(32, ' '), "S", "GROWTH", "01/08/98", "FIRST"},
                             // Posted sale: zero-byte memo and texts, settlement date given.
                             KeepTextsCase{"PostedSale", std::string(20, '\0'), "01/09/98",
                                           std::string(32, '\0'), "S", "GROWTH", "01/09/98", "FIRST"},
                             KeepTextsCase{"PostedAddition", std::string(20, '\0'), std::string(8, '\0'),
                                           std::string(32, '\0'), "B", "GROWTH", "01/08/98", "FIRST"},
                             KeepTextsCase{"OwnMemo", records::Fixed("INCOME", 20), "01/09/98",
                                           records::Fixed("SECOND", 32), "S", "INCOME", "01/09/98",
                                           "SECOND"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplayTexts, Ftele2FillsANewLotFromAnEarlierLotOfTheSameCode) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kLotTexts, 1}});
    // Same symbol and lot code under another holding key.
    fixtures::WriteTransactions(
        kAccount, {T("B", "AAA", "1", "01/05/98", 100, 1000),
                   With(T("B", "AAA", "1", "01/06/98", 5, 50), [](auto& t) { t.holding_key = 150; })});
    fixtures::WriteTransactionExtensions(kAccount, {{2, Texts("GROWTH", "01/08/98", "FIRST")}});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 3u);
    EXPECT_EQ(h.lots[2].second.memo, records::Fixed("GROWTH", 20));
    EXPECT_EQ(LotTexts(h.lots[2].first).text, records::Fixed("FIRST", 32));

    // The same through the routine that works on the files.
    std::string memo(20, ' '), date(8, ' '), text(32, ' ');
    engine::Ftele2("AAA", "1", memo, date, text, records::Rdopts());
    EXPECT_EQ(memo, records::Fixed("GROWTH", 20));
    EXPECT_EQ(date, "01/08/98");
    std::string other_memo(20, ' '), other_date = "XX", other_text = "YY";
    engine::Ftele2("AAA", "2", other_memo, other_date, other_text, records::Rdopts());
    EXPECT_EQ(other_memo, std::string(20, ' '));
    EXPECT_EQ(other_date, "XX");
}

// The stored holdings (HL<acct>.REC and .EXT) as a previous rebuild left
// them: lots of AAA 1 (memo STORED) and BBB 1 (memo OTHER).
void WriteStoredHoldings() {
    records::DirectFile hl("HLACC1.REC", 128);
    records::DirectFile ext("HLACC1.EXT", 128);
    records::Record rec(128, 0);
    records::HoldingsHeader header;
    header.first_lot = 2;
    header.records_in_use = 3;
    header.next_free = 4;
    header.Encode(rec);
    hl.Write(1, rec);
    const std::vector<std::tuple<std::string, std::string, std::string>> lots = {
        {"AAA", "STORED", "STORED TEXT"}, {"BBB", "OTHER", "OTHER TEXT"}};
    for (std::size_t i = 0; i < lots.size(); ++i) {
        records::HoldingRecord lot;
        lot.next = i + 1 < lots.size() ? static_cast<int16_t>(i + 3) : -1;
        lot.symbol = records::Fixed(std::get<0>(lots[i]), 12);
        lot.tax_lot = "1   ";
        lot.memo = records::Fixed(std::get<1>(lots[i]), 20);
        records::Record r(128, 0);
        lot.Encode(r);
        hl.Write(static_cast<long>(i + 2), r);
        records::HoldingExtension e;
        e.settlement_date = "02/02/97";
        e.text = records::Fixed(std::get<2>(lots[i]), 32);
        records::Record er(128, 0);
        e.Encode(er);
        ext.Write(static_cast<long>(i + 2), er);
    }
}

TEST(ReplayTexts, StoredLotsFillBlankTextsAndAnUnmatchedLotGetsNone) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kLotTexts, 1}});
    WriteStoredHoldings();
    fixtures::WriteTransactions(
        kAccount, {T("B", "AAA", "1", "01/05/98", 1, 10), T("B", "CCC", "1", "01/05/98", 1, 10)});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 3u);
    EXPECT_EQ(h.lots[1].second.memo, records::Fixed("STORED", 20));
    EXPECT_EQ(LotTexts(h.lots[1].first).text, records::Fixed("STORED TEXT", 32));
    // CCC has no stored lot: no texts of the last stored lot walked (BBB).
    EXPECT_EQ(h.lots[2].second.memo, std::string(20, ' '));
    EXPECT_EQ(LotTexts(h.lots[2].first).text, std::string(32, ' '));

    // The replay's reading of the stored lots gives what records::Ftele gives.
    for (const char* symbol : {"AAA", "BBB", "CCC"}) {
        std::string memo(20, ' '), date(8, ' '), text(32, ' ');
        records::Ftele(kAccount, symbol, "1", memo, date, text, records::Rdopts());
        fixtures::WriteTransactions(kAccount, {T("B", symbol, "1", "01/05/98", 1, 10)});
        engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
        const fixtures::Holdings one = fixtures::ReadHoldings("HL.TMP");
        ASSERT_EQ(one.lots.size(), 2u);
        EXPECT_EQ(one.lots[1].second.memo, memo) << symbol;
        EXPECT_EQ(LotTexts(one.lots[1].first).settlement_date, date) << symbol;
        EXPECT_EQ(LotTexts(one.lots[1].first).text, text) << symbol;
    }
}

// A memo that only begins with blanks is the transaction's own: the
// stored lot's texts fill only a wholly blank memo (Ftele2, which looks at
// the first five characters, finds no lot in HL.TMP for a first purchase).
TEST(ReplayTexts, StoredLotsLeaveAMemoThatBeginsWithBlanks) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}});
    WriteStoredHoldings();
    fixtures::WriteTransactions(kAccount, {T("B", "AAA", "1", "01/05/98", 1, 10)});
    fixtures::WriteTransactionExtensions(kAccount, {{2, Texts("     OWN MEMO", "", "")}});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    ASSERT_EQ(status, 0);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_EQ(h.lots[1].second.memo, records::Fixed("     OWN MEMO", 20));
}

// ---- Byte layout of the work files

std::vector<unsigned char> Slice(const std::vector<unsigned char>& bytes, std::size_t from, std::size_t n) {
    return {bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + n)};
}
std::vector<unsigned char> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}
std::vector<unsigned char> I16(int16_t v) {
    return {static_cast<unsigned char>(v & 0xff), static_cast<unsigned char>((v >> 8) & 0xff)};
}
std::vector<unsigned char> R8(double v) {
    records::Record r(8);
    r.SetR8(0, v);
    return r.bytes();
}

TEST(ReplayBytes, HoldingsAndGainsFilesOfABuyAndASale) {
    TempDataDir dir;
    WriteTestSecurities();
    fixtures::WriteTransactions(
        kAccount, {With(T("B", "AAA", "1", "01/05/98", 100, 1000), [](auto& t) { t.broker = "MERRIL  "; }),
                   T("B", "BBB", "2", "01/05/98", 10, 100), T("S", "AAA", "1", "02/05/98", 100, 1250)});
    int16_t status = -1;
    engine::Creatt(kAccount, std::string("LB\0\0\0\0\0\0", 8), engine::kEveryTransaction, 1, 0, status);
    ASSERT_EQ(status, 0);
    const auto hl = TempDataDir::ReadBytes("HL.TMP");
    // Header, lot AAA (record 2, freed by the sale), cash (3), BBB (4).
    ASSERT_EQ(hl.size(), 4u * 128);
    EXPECT_EQ(Slice(hl, 0, 2), I16(3));             // first lot: the cash lot
    EXPECT_EQ(Slice(hl, 2, 8), Bytes("ACC1    "));  // account
    EXPECT_EQ(Slice(hl, 10, 2), I16(4));            // highest record used
    EXPECT_EQ(Slice(hl, 12, 2), I16(2));            // next free: the freed record
    EXPECT_EQ(Slice(hl, 14, 8), Bytes(std::string("LB\0\0\0\0\0\0", 8)));
    EXPECT_EQ(Slice(hl, 22, 2), I16(0));
    // Record 2: free, pointing at the never-used record 5, "$$$$"; the
    // rest keeps the sold lot's bytes.
    EXPECT_EQ(Slice(hl, 128, 2), I16(5));
    EXPECT_EQ(Slice(hl, 130, 4), Bytes("$$$$"));
    EXPECT_EQ(Slice(hl, 128 + 10, 12), Bytes("AAA         "));
    EXPECT_EQ(Slice(hl, 128 + 24, 8), Bytes("MERRIL  "));
    // Record 3: the cash lot, next 4.
    const std::size_t cash = 2 * 128;
    EXPECT_EQ(Slice(hl, cash, 2), I16(4));
    EXPECT_EQ(Slice(hl, cash + 2, 8), R8(0));
    EXPECT_EQ(Slice(hl, cash + 10, 12), Bytes("CASH        "));
    EXPECT_EQ(Slice(hl, cash + 22, 2), I16(2));
    EXPECT_EQ(Slice(hl, cash + 32, 4), Bytes("    "));
    EXPECT_EQ(Slice(hl, cash + 36, 8), R8(150));
    EXPECT_EQ(Slice(hl, cash + 44, 8), R8(150));
    EXPECT_EQ(Slice(hl, cash + 52, 8), Bytes("        "));
    // Record 4: BBB lot 2, the end of the list.
    const std::size_t bbb = 3 * 128;
    EXPECT_EQ(Slice(hl, bbb, 2), I16(-1));
    EXPECT_EQ(Slice(hl, bbb + 2, 8), R8(200));
    EXPECT_EQ(Slice(hl, bbb + 10, 12), Bytes("BBB         "));
    EXPECT_EQ(Slice(hl, bbb + 22, 2), I16(2));
    EXPECT_EQ(Slice(hl, bbb + 32, 4), Bytes("2   "));
    EXPECT_EQ(Slice(hl, bbb + 36, 8), R8(10));
    EXPECT_EQ(Slice(hl, bbb + 44, 8), R8(100));
    EXPECT_EQ(Slice(hl, bbb + 52, 8), Bytes("01/05/98"));
    EXPECT_EQ(Slice(hl, bbb + 60, 8), R8(0));
    EXPECT_EQ(Slice(hl, bbb + 68, 8), Bytes("        "));
    EXPECT_EQ(Slice(hl, bbb + 96, 32), std::vector<unsigned char>(32, 0));

    const auto gl = TempDataDir::ReadBytes("GL.TMP");
    ASSERT_EQ(gl.size(), 2u * 128);
    EXPECT_EQ(Slice(gl, 0, 8), Bytes("ACC1    "));
    EXPECT_EQ(Slice(gl, 8, 8), Bytes(std::string("LB\0\0\0\0\0\0", 8)));
    EXPECT_EQ(Slice(gl, 16, 2), I16(1));
    const std::size_t g = 128;
    records::Record date(4);
    date.SetR4(0, 980205.0f);
    EXPECT_EQ(Slice(gl, g, 4), date.bytes());
    EXPECT_EQ(Slice(gl, g + 4, 8), Bytes("01/05/98"));
    EXPECT_EQ(Slice(gl, g + 12, 32), Bytes(records::Fixed("ALPHA CORP", 32)));
    EXPECT_EQ(Slice(gl, g + 44, 32), Bytes(records::Fixed("COMMON", 32)));
    EXPECT_EQ(Slice(gl, g + 76, 8), R8(250));
    EXPECT_EQ(Slice(gl, g + 84, 8), R8(1250));
    EXPECT_EQ(Slice(gl, g + 92, 8), R8(1000));
    EXPECT_EQ(Slice(gl, g + 100, 8), R8(100));
    EXPECT_EQ(Slice(gl, g + 108, 12), Bytes("AAA         "));
    EXPECT_EQ(Slice(gl, g + 120, 2), I16(0));
    EXPECT_EQ(Slice(gl, g + 122, 2), I16(1));
    // Field 17 of the sale at bytes 107-108 of its record.
    const auto tr = 
                TempDataDir::ReadBytes(records::TrimRight(records::Paknam(kAccount, "TR", ".REC")));
    EXPECT_EQ(Slice(tr, 3 * 128 + 106, 2), I16(2));
}

// ---- The lot index against the list walk

// Applies the same transactions through the ordered index and through the
// list walk alone: the work files must come out byte for byte the same.
TEST(ReplayIndex, GivesTheBytesOfTheListWalk) {
    std::mt19937 random(7);
    std::vector<TransactionRecord> ts;
    const char* symbols[] = {"AAA", "AAB", "ZZZ", "MMM"};
    // Codes that differ only past their first two characters sort as equals.
    const char* codes[] = {"1   ", "2   ", "12  ", "13  ", "1  X", "1  Y", "a   "};
    const double keys[] = {0, 50, 100, 100, 300};
    std::map<std::string, double> open;
    for (int i = 0; i < 3000; ++i) {
        const std::string symbol = symbols[random() % 4];
        const std::string code = codes[random() % 7];
        const double key = keys[random() % 5];
        const std::string id = symbol + code + std::to_string(key);
        const int pick = static_cast<int>(random() % 10);
        TransactionRecord t;
        if (pick < 5 || open[id] <= 0) {
            t = fixtures::Transaction(code[0] == 'a' ? "SS" : "B", symbol, code, "01/05/98", 10, 100, key, 1);
            if (code[0] != 'a') open[id] += 10;
        } else if (pick < 8) {
            const double q = (random() % 2) ? open[id] : 5;
            t = fixtures::Transaction("S", symbol, code, "01/05/98", q, 60, key, 1);
            open[id] -= q;
        } else {
            t = fixtures::Transaction("DI", "CASH", "", "01/05/98", 0, 3, 0, 0);
        }
        ts.push_back(t);
    }
    records::Options options{};
    records::SetOption(options, records::Opt::kLotTexts, 1);
    std::vector<unsigned char> files[2][3];
    for (int walk = 0; walk < 2; ++walk) {
        TempDataDir dir;
        engine::HoldingsWork work(kAccount, "L", options, true);
        work.Start();
        if (walk == 1) work.lots().DropIndex();
        for (TransactionRecord t : ts) {
            int16_t cls = 0, sign = 0, transfer = 0, nf = 0, status = 0;
            records::Code(t.code, cls, sign, transfer, 1, nf);
            std::string memo(20, ' '), date(8, ' '), text(32, ' ');
            work.Ftele2(t.symbol, t.tax_lot, memo, date, text);
            if (memo == std::string(20, ' ')) memo = records::Fixed(t.symbol + t.tax_lot, 20);
            work.Updhlt(t, 0, {cls, sign, transfer}, status, memo, "D", "E");
        }
        EXPECT_EQ(work.lots().indexed(), walk == 0);
        files[walk][0] = TempDataDir::ReadBytes("HL.TMP");
        files[walk][1] = TempDataDir::ReadBytes("GL.TMP");
        files[walk][2] = TempDataDir::ReadBytes("HL.EXT");
    }
    EXPECT_GT(files[0][0].size(), 10u * 128);
    EXPECT_GT(files[0][1].size(), 10u * 128);
    for (int f = 0; f < 3; ++f) EXPECT_TRUE(files[0][f] == files[1][f]) << f;
}

TEST(ReplayIndex, NaNKeyFallsBackToTheWalk) {
    TempDataDir dir;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    fixtures::WriteTransactions(
        kAccount, {T("B", "BBB", "1", "01/05/98", 1, 10),
                   With(T("B", "AAA", "1", "01/06/98", 1, 10), [nan](auto& t) { t.holding_key = nan; }),
                   T("B", "AAA", "1", "01/07/98", 1, 10),
                   With(T("S", "AAA", "1", "01/08/98", 1, 10), [nan](auto& t) { t.holding_key = nan; })});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 0, 0, status);
    // The NaN lot never matches: the sale finds no lot.
    EXPECT_EQ(status, 2);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 4u);
    EXPECT_EQ(h.lots[1].second.symbol, "AAA         ");
    EXPECT_EQ(h.lots[1].second.holding_key, 100);
    EXPECT_EQ(h.lots[2].second.symbol, "BBB         ");
    EXPECT_TRUE(std::isnan(h.lots[3].second.holding_key));
}

// ---- Updhlt on a work file as it stands

TEST(ReplayUpdhlt, FreeChainHeadWithoutMarkEndsTheUpdateWithoutChange) {
    TempDataDir dir;
    {
        records::DirectFile hl("HL.TMP", 128);
        records::Record rec(128, 0);
        records::HoldingsHeader header;
        header.first_lot = -1;
        header.records_in_use = 3;
        header.next_free = 2;  // record 2 is not a free record
        header.Encode(rec);
        hl.Write(1, rec);
        hl.Write(2, records::Record(128, 'x'));
        hl.Write(3, records::Record(128, 'y'));
    }
    const auto before = TempDataDir::ReadBytes("HL.TMP");
    engine::HoldingsWork work(kAccount, "", records::Options{}, false);
    work.Resume();
    TransactionRecord t = T("B", "AAA", "1", "01/05/98", 1, 10);
    int16_t status = -1;
    work.Updhlt(t, 0, {4, -1, 0}, status, "", "", "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(TempDataDir::ReadBytes("HL.TMP"), before);
}

TEST(ReplayUpdhlt, HeaderWithZeroFieldsIsAnEmptyList) {
    TempDataDir dir;
    {
        records::DirectFile hl("HL.TMP", 128);
        records::Record rec(128, 0);
        rec.SetI16(0, 2);  // a first lot, but records in use 0
        hl.Write(1, rec);
        hl.Write(2, records::Record(128, 'x'));
    }
    engine::HoldingsWork work(kAccount, "LB", records::Options{}, false);
    work.Resume();
    TransactionRecord t = Cash("DI", "01/05/98", 10);
    int16_t status = -1;
    work.Updhlt(t, 7, {3, 1, 0}, status, "", "", "");
    EXPECT_EQ(status, 0);
    const fixtures::Holdings h = fixtures::ReadHoldings("HL.TMP");
    ASSERT_EQ(h.lots.size(), 1u);
    EXPECT_EQ(h.lots[0].first, 2);
    EXPECT_EQ(h.header.records_in_use, 2);
    EXPECT_EQ(h.header.next_free, 3);
    EXPECT_EQ(h.header.spare, 7);
    EXPECT_EQ(h.header.label, "LB      ");
}

TEST(ReplayUpdhlt, RunsOutOfRecordNumbersWithAStatus) {
    TempDataDir dir;
    {
        records::DirectFile hl("HL.TMP", 128);
        records::Record rec(128, 0);
        records::HoldingsHeader header;
        header.first_lot = -1;
        header.records_in_use = 32766;
        header.next_free = 32767;
        header.Encode(rec);
        hl.Write(1, rec);
    }
    engine::HoldingsWork work(kAccount, "", records::Options{}, false);
    work.Resume();
    TransactionRecord t = Cash("DI", "01/05/98", 10);
    int16_t status = -1;
    work.Updhlt(t, 0, {3, 1, 0}, status, "", "", "");
    EXPECT_EQ(status, engine::kWorkFilesFailed);
}

TEST(ReplayWorkFiles, UnwritableWorkFileGivesAFailureStatus) {
    TempDataDir dir;
    // A directory that is not empty: no file can take its name.
    std::filesystem::create_directories("HL.TMP/keep");
    fixtures::WriteTransactions(
        kAccount, {T("B", "AAA", "1", "01/05/98", 1, 10), T("S", "AAA", "1", "01/06/98", 1, 10)});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 1, 0, status);
    EXPECT_EQ(status, engine::kWorkFilesFailed);
    EXPECT_EQ(fixtures::ReadTransactions(kAccount)[1].gain_record, 0);
}

// Work files left in other cases (a data directory copied from a disk
// that ignores case) are the work files: each is replaced under its own
// spelling, and the lot texts of an earlier replay go.
TEST(ReplayWorkFiles, WorkFilesSpeltInAnotherCaseAreReplaced) {
    TempDataDir dir;
    TempDataDir::WriteBytes("hl.tmp", std::vector<unsigned char>(384, 'x'));
    TempDataDir::WriteBytes("Gl.Tmp", std::vector<unsigned char>(640, 'x'));
    TempDataDir::WriteBytes("hl.ext", std::vector<unsigned char>(256, 'x'));
    fixtures::WriteTransactions(
        kAccount, {T("B", "AAA", "1", "01/05/98", 2, 10), T("S", "AAA", "1", "01/06/98", 1, 10)});
    int16_t status = -1;
    engine::Creatt(kAccount, "", engine::kEveryTransaction, 1, 0, status);
    ASSERT_EQ(status, engine::kReplayDone);
    EXPECT_FALSE(TempDataDir::Exists("HL.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("GL.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("hl.ext"));
    EXPECT_EQ(fixtures::ReadHoldings("hl.tmp").lots.size(), 2u);    // the lot and the cash
    EXPECT_EQ(TempDataDir::ReadBytes("Gl.Tmp").size(), 2u * 128u);  // header and one gain

    int16_t flag = -1;
    engine::Rbldhl(kAccount, flag);
    ASSERT_EQ(flag, engine::kReplayDone);
    EXPECT_FALSE(TempDataDir::Exists("hl.tmp"));
    EXPECT_EQ(fixtures::ReadHoldings(records::Paknam(kAccount, "HL", ".REC")).lots.size(), 2u);
}

}  // namespace

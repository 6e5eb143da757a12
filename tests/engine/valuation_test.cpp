#include "engine/valuation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/codes.h"
#include "records/files.h"
#include "records/prices.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::HoldingRecord;
using records::Record;

constexpr const char* kDate = " 3/31/97";

struct Security {
    std::string symbol;
    std::string type;
    float rate = -999.99f;
    std::string coupon_date = "        ";
};

// Writes SECURITY.IDX and SECURITY.REC (entry n = record n) with the
// coupon date at bytes 117-124.
void WriteSecurities(const std::vector<Security>& list) {
    std::vector<fixtures::SecurityFields> fields;
    for (const Security& s : list)
        fields.push_back({s.symbol, s.symbol, "DESC " + s.symbol, "", s.type, "", "", s.rate});
    fixtures::WriteSecurities(fields);
    records::DirectFile f("SECURITY.REC", 128);
    for (std::size_t i = 0; i < list.size(); ++i) {
        Record rec;
        ASSERT_TRUE(f.Read(static_cast<long>(i + 1), rec));
        rec.SetText(116, 8, list[i].coupon_date);
        f.Write(static_cast<long>(i + 1), rec);
    }
}

struct Lot {
    std::string symbol;
    int16_t security;
    double quantity;
    double cost;
    double key = 100;
    std::string tax_lot = "1";
};

// Writes HL.TMP with the lots linked in the given order, records 2 on.
void WriteLots(const std::vector<Lot>& lots) {
    records::DirectFile f("HL.TMP", 128);
    records::HoldingsHeader h;
    h.first_lot = lots.empty() ? -1 : 2;
    h.records_in_use = static_cast<int16_t>(lots.size() + 1);
    h.next_free = static_cast<int16_t>(lots.size() + 2);
    Record head(128, 0);
    h.Encode(head);
    f.Write(1, head);
    for (std::size_t i = 0; i < lots.size(); ++i) {
        HoldingRecord lot;
        lot.next = i + 1 < lots.size() ? static_cast<int16_t>(i + 3) : int16_t{-1};
        lot.holding_key = lots[i].key;
        lot.symbol = records::Fixed(lots[i].symbol, 12);
        lot.security_record = lots[i].security;
        lot.tax_lot = records::Fixed(lots[i].tax_lot, 4);
        lot.quantity = lots[i].quantity;
        lot.cost = lots[i].cost;
        Record rec(128, 0);
        lot.Encode(rec);
        f.Write(static_cast<long>(i + 2), rec);
    }
}

void WritePrice(long record, double price) {
    records::Rwpric(1, -30, kDate, record, price);
}

engine::Valuation Value() {
    records::Open(engine::kLotUnit, "HL.TMP");
    const engine::Valuation v = engine::Getprc(kDate, engine::DefaultCategoryTable());
    records::Close(engine::kLotUnit);
    return v;
}

// Securities of every scenario: record n is entry n.
const std::vector<Security> kSecurities = {
    {"CASHSEC", "1"},                  // 1: a cash-type security
    {"STOCK", "P", 1.2f},              // 2
    {"BOND", "B", 6.0f, " 7/15/97"},   // 3: last coupon 01/15/97
    {"TBILL", "3", 5.0f, " 7/15/97"},  // 4: no accrued interest
    {"CD", "4", -999.99f},             // 5: priced 100
    {"SPECIAL", "S"},                  // 6: priced 1
    {"RIGHT", "R"},                    // 7: value x 100
    {"YBOND", "Y", 6.0f, " 7/15/97"},  // 8: no accrued interest
    {"FUND", "N"},                     // 9: no price written
    {"NEGATIVE", "H"},                 // 10: a negative price
};

struct Scenario {
    std::string name;
    std::vector<Lot> lots;
    double whole, cost, cash, eq, fi, ce;
    int16_t missing;
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

class ValuationScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(ValuationScenario, SumsTheLots) {
    const Scenario& sc = GetParam();
    TempDataDir dir;
    WriteSecurities(kSecurities);
    WritePrice(1, 55.0);  // never read: cash type
    WritePrice(2, 25.5);
    WritePrice(3, 98.5);
    WritePrice(4, 99.0);
    WritePrice(5, 50.0);
    WritePrice(6, 7.0);
    WritePrice(7, 0.25);
    WritePrice(8, 90.0);
    WritePrice(10, -3.0);
    WriteLots(sc.lots);
    const engine::Valuation v = Value();
    EXPECT_NEAR(v.whole, sc.whole, 1e-6);
    EXPECT_NEAR(v.total_cost, sc.cost, 1e-6);
    EXPECT_NEAR(v.cash, sc.cash, 1e-6);
    EXPECT_NEAR(v.equities, sc.eq, 1e-6);
    EXPECT_NEAR(v.fixed_income, sc.fi, 1e-6);
    EXPECT_NEAR(v.cash_equivalents, sc.ce, 1e-6);
    EXPECT_EQ(v.missing_price, sc.missing);
}

// Accrued interest of the bond: 30/360 days from 01/15/97 to 03/31/97
// counted inclusively are 76; 76 / 180 x 0.06 / 2 x 10000 = 126.6667.
constexpr double kBondInterest = 126.6667;

const std::vector<Scenario> kScenarios = {
    {"Stock", {{"STOCK", 2, 100, 2000}}, 2550, 2000, 0, 2550, 0, 0, 0},
    {"BondPerHundredWithAccruedInterest",
     {{"BOND", 3, 10000, 9700}},
     9850 + kBondInterest,
     9700,
     0,
     0,
     9850 + kBondInterest,
     0,
     0},
    {"TypesThreeAndYCarryNoInterest",
     {{"TBILL", 4, 10000, 9800}, {"YBOND", 8, 1000, 900, 101}},
     9900 + 900,
     10700,
     0,
     0,
     10800,
     0,
     0},
    {"TypeFourIsWorthItsFace", {{"CD", 5, 5000, 5000}}, 5000, 5000, 0, 0, 5000, 0, 0},
    {"TypeSIsWorthItsQuantityInNoCategory", {{"SPECIAL", 6, 300, 250}}, 300, 250, 0, 0, 0, 0, 0},
    {"TypeRIsScaledUp", {{"RIGHT", 7, 10, 5}}, 250, 5, 0, 250, 0, 0, 0},
    {"CashLotIsWorthItsBalance",
     {{"CASH", 2, 1234.56, 1234.56, 0, ""}},
     1234.56,
     1234.56,
     1234.56,
     0,
     0,
     1234.56,
     0},
    {"CashTypeSecurityUnderAKeyIsNotCash", {{"CASHSEC", 1, 700, 700, 50}}, 700, 700, 0, 0, 0, 700, 0},
    {"MissingPriceIsWorthNothingAndFlagged", {{"FUND", 9, 10, 100}}, 0, 100, 0, 0, 0, 0, 1},
    {"NegativePriceIsWorthNothingAndFlagged", {{"NEGATIVE", 10, 10, 100}}, 0, 100, 0, 0, 0, 0, 1},
    {"UnreadableSecurityIsPricedOneInNoCategory", {{"GHOST", 40, 12, 100}}, 12, 100, 0, 0, 0, 0, 0},
    {"LotCodeSIsPassedOver", {{"STOCK", 2, 100, 2000, 100, "S"}}, 0, 0, 0, 0, 0, 0, 0},
    {"ShortLotIsWorthLess", {{"STOCK", 2, -100, 3000, 100, "a"}}, -2550, 3000, 0, -2550, 0, 0, 0},
    // A short bond lot is worth its negative quantity at the price; its
    // accrued interest is negative and only a positive one is added.
    {"ShortBondAccruesNothing", {{"BOND", 3, -10000, 9700, 100, "a"}}, -9850, 9700, 0, 0, -9850, 0, 0},
    {"ShortBondBesideALongOneTakesNothingFromItsInterest",
     {{"BOND", 3, 10000, 9700}, {"BOND", 3, -4000, 3900, 100, "a"}},
     9850 - 3940 + kBondInterest,
     13600,
     0,
     0,
     9850 - 3940 + kBondInterest,
     0,
     0},
    {"EverythingTogether",
     {{"CASH", 2, -500, -500, 0, ""}, {"STOCK", 2, 100, 2000}, {"BOND", 3, 10000, 9700, 200}},
     -500 + 2550 + 9850 + kBondInterest,
     11200,
     -500,
     2550,
     9850 + kBondInterest,
     -500,
     0},
    {"EmptyList", {}, 0, 0, 0, 0, 0, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(ValuationTable, ValuationScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return info.param.name; });

TEST(Valuation, NoPriceFileFlagsEveryPricedLotAndCreatesNoFile) {
    TempDataDir dir;
    WriteSecurities(kSecurities);
    WriteLots({{"CASH", 2, 100, 100, 0, ""}, {"STOCK", 2, 100, 2000}, {"CD", 5, 1000, 1000, 200}});
    const engine::Valuation v = Value();
    EXPECT_EQ(v.missing_price, 1);
    EXPECT_NEAR(v.whole, 100 + 1000, 1e-9) << "cash at its balance, the CD at its face";
    EXPECT_FALSE(TempDataDir::Exists(records::PriceFileName(kDate)));
}

TEST(Valuation, BondCouponDateIsSteppedBackToTheLastCouponBeforeTheDate) {
    TempDataDir dir;
    // The coupon date lies years after the valuation date: it steps back
    // to 03/15/97, and 30/360 from 03/15/97 to 03/31/97 inclusively is 16
    // days: 16 / 180 x 0.04 x 1000 = 3.5556.
    WriteSecurities({{"BOND", "B", 8.0f, " 9/15/99"}});
    WritePrice(1, 100.0);
    WriteLots({{"BOND", 1, 1000, 1000}});
    const engine::Valuation v = Value();
    EXPECT_NEAR(v.fixed_income - 1000, 3.5556, 1e-9);
}

TEST(Valuation, CategoriesComeFromTheTable) {
    TempDataDir dir;
    WriteSecurities(kSecurities);
    WritePrice(2, 25.5);
    WriteLots({{"STOCK", 2, 100, 2000}});
    engine::CategoryTable table = engine::DefaultCategoryTable();
    table[engine::kCategoryTypeOrder.find('P')] = "FI";
    records::Open(engine::kLotUnit, "HL.TMP");
    const engine::Valuation v = engine::Getprc(kDate, table);
    records::Close(engine::kLotUnit);
    EXPECT_EQ(v.fixed_income, 2550);
    EXPECT_EQ(v.equities, 0);
    EXPECT_EQ(engine::CategoryOf(table, "Q   "), "O ");
    EXPECT_EQ(engine::CategoryOf(engine::DefaultCategoryTable(), "T"), "O ");
    EXPECT_EQ(engine::CategoryOf(engine::DefaultCategoryTable(), "Y"), "FI");
    EXPECT_EQ(engine::CategoryOf(engine::DefaultCategoryTable(), "1"), "CE");
}

}  // namespace

namespace {

TEST(Valuation, TheListInMemoryValuesAsItsFile) {
    TempDataDir dir;
    WriteSecurities(kSecurities);
    WritePrice(2, 25.5);
    WritePrice(3, 98.5);
    records::Open(engine::kLotUnit, "HL.TMP");
    engine::LotList lots;
    auto apply = [&](const char* code, const char* symbol, int16_t security, double quantity, double amount,
                     double key) {
        records::TransactionRecord t;
        t.code = records::Fixed(code, 4);
        t.symbol = records::Fixed(symbol, 12);
        t.tax_lot = "1   ";
        t.quantity = quantity;
        t.amount = amount;
        t.holding_key = key;
        t.security_record = security;
        int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
        records::Code(t.code, cls, sign, transfer, 1, not_found);
        engine::Lotupd(lots, "ACC1", kDate, 0, cls, sign, transfer, 0, t);
    };
    apply("FI", "CASH", 0, 0, 20000, 0);
    apply("B", "STOCK", 2, 100, 2000, 100);
    apply("B", "BOND", 3, 10000, 9700, 200);
    apply("S", "STOCK", 2, 30, 900, 100);
    const engine::Valuation from_file = engine::Getprc(kDate, engine::DefaultCategoryTable());
    const engine::Valuation from_list = engine::Getprc(kDate, engine::DefaultCategoryTable(), lots);
    records::Close(engine::kLotUnit);
    EXPECT_NEAR(from_file.whole, 20000 - 2000 - 9700 + 900 + 70 * 25.5 + 9850 + kBondInterest, 1e-6);
    EXPECT_EQ(from_list.whole, from_file.whole);
    EXPECT_EQ(from_list.total_cost, from_file.total_cost);
    EXPECT_EQ(from_list.cash, from_file.cash);
    EXPECT_EQ(from_list.equities, from_file.equities);
    EXPECT_EQ(from_list.fixed_income, from_file.fixed_income);
    EXPECT_EQ(from_list.cash_equivalents, from_file.cash_equivalents);
    EXPECT_EQ(from_list.missing_price, from_file.missing_price);
}

}  // namespace

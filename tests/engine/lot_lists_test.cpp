#include "engine/lot_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

const std::string kAccount = "ACC1";

struct StoredLot {
    double key;
    std::string symbol;
    std::string tax_lot;
    double quantity;
    double cost;
    std::string open_date = "01/05/98";
};

// Writes HLACC1.REC with the lots linked in the given order (records 2 on).
void WriteHoldings(const std::vector<StoredLot>& lots) {
    records::DirectFile file("HLACC1.REC", 128);
    records::Record rec(128, 0);
    records::HoldingsHeader header;
    header.first_lot = lots.empty() ? -1 : 2;
    header.records_in_use = static_cast<int16_t>(lots.size() + 1);
    header.next_free = static_cast<int16_t>(lots.size() + 2);
    header.Encode(rec);
    file.Write(1, rec);
    for (std::size_t i = 0; i < lots.size(); ++i) {
        records::HoldingRecord lot;
        lot.next = i + 1 < lots.size() ? static_cast<int16_t>(i + 3) : -1;
        lot.holding_key = lots[i].key;
        lot.symbol = records::Fixed(lots[i].symbol, 12);
        lot.tax_lot = records::Fixed(lots[i].tax_lot, 4);
        lot.quantity = lots[i].quantity;
        lot.cost = lots[i].cost;
        lot.open_date = lots[i].open_date;
        records::Record r(128, 0);
        lot.Encode(r);
        file.Write(static_cast<long>(i + 2), r);
    }
}

void WriteSecurity(const std::string& symbol, const std::string& type) {
    fixtures::WriteSecurities({{.symbol = "OTHER", .description1 = "OTHER", .type = "H"},
                               {.symbol = symbol, .description1 = symbol + " DESCRIPTION", .type = type}});
}

TEST(LotLists, PushListsTheLotsOfTheSymbolInListOrderWithTheCash) {
    TempDataDir dir;
    WriteSecurity("AAA", "H");
    WriteHoldings({{0, "CASH", "", 250, 250, "        "},
                   {100, "AAA", "2", 10, 150, "02/01/98"},
                   {100, "AAA", "1", 20, 200, "01/01/98"},
                   {200, "AAAA", "1", 5, 50},
                   {300, "BBB", "1", 1, 1}});
    double cash = -1;
    int16_t count = -1;
    std::vector<engine::LotListEntry> lots;
    engine::Push(kAccount, "AAA", cash, count, lots);
    EXPECT_EQ(cash, 250);
    ASSERT_EQ(count, 2);
    ASSERT_EQ(lots.size(), 2u);
    EXPECT_EQ(lots[0].tax_lot, "2   ");
    EXPECT_EQ(lots[0].quantity, 10);
    EXPECT_FLOAT_EQ(lots[0].unit_cost, 15);
    EXPECT_EQ(lots[0].open_date, "02/01/98");
    EXPECT_EQ(lots[1].tax_lot, "1   ");
    EXPECT_FLOAT_EQ(lots[1].unit_cost, 10);
    // The list stays for the lot dates of trade posting.
    ASSERT_EQ(engine::LastLotList().size(), 2u);
    EXPECT_EQ(engine::LastLotList()[1].open_date, "01/01/98");
}

// The unit cost shown for each kind of security.
struct UnitCostCase {
    const char* type;
    double quantity;
    double cost;
    float unit_cost;
};
void PrintTo(const UnitCostCase& c, std::ostream* os) {
    *os << c.type << " " << c.quantity << " " << c.cost;
}

class LotListsUnitCost : public ::testing::TestWithParam<UnitCostCase> {
protected:
    TempDataDir dir;
};

TEST_P(LotListsUnitCost, ScaledByType) {
    const UnitCostCase& c = GetParam();
    WriteSecurity("XYZ", c.type);
    WriteHoldings({{100, "XYZ", "1", c.quantity, c.cost}});
    double cash = -1;
    int16_t count = 0;
    std::vector<engine::LotListEntry> lots;
    engine::Push(kAccount, "XYZ", cash, count, lots);
    EXPECT_EQ(cash, 0);  // the first lot is a security
    ASSERT_EQ(count, 1);
    EXPECT_FLOAT_EQ(lots[0].unit_cost, c.unit_cost);
}

INSTANTIATE_TEST_SUITE_P(
    LotLists, LotListsUnitCost,
    ::testing::Values(UnitCostCase{"B", 10000, 9850, 98.5f}, UnitCostCase{"3", 5000, 5100, 102},
                      UnitCostCase{"Y", 200, 190, 95}, UnitCostCase{"H", 100, 1234, 12.34f},
                      UnitCostCase{"4", 300, 1, 100}, UnitCostCase{"1", 7, 70, 1},
                      UnitCostCase{"S", 7, 70, 1}, UnitCostCase{"R", 100, 1000, 0.1f},
                      UnitCostCase{"B", 0, 10, 0}, UnitCostCase{"4", 0, 10, 100}, UnitCostCase{"1", 0, 10, 1},
                      UnitCostCase{"H", 0, 10, 0}, UnitCostCase{"H", -50, 1000, -20},
                      UnitCostCase{"H", 10, 2e10, 0}, UnitCostCase{"H", 10, -2e10, 0}));

TEST(LotLists, UnknownSymbolListsAtTheUnscaledUnitCost) {
    TempDataDir dir;
    WriteSecurity("AAA", "B");
    WriteHoldings({{100, "ZZZ", "1", 10, 50}});
    double cash = 0;
    int16_t count = 0;
    std::vector<engine::LotListEntry> lots;
    engine::Push(kAccount, "ZZZ", cash, count, lots);
    ASSERT_EQ(count, 1);
    EXPECT_FLOAT_EQ(lots[0].unit_cost, 5);
}

TEST(LotLists, AccountWithoutHoldingsFileListsNothing) {
    TempDataDir dir;
    double cash = -1;
    int16_t count = -1;
    std::vector<engine::LotListEntry> lots(3);
    engine::Push(kAccount, "AAA", cash, count, lots);
    EXPECT_EQ(cash, 0);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(lots.empty());
    EXPECT_TRUE(engine::LastLotList().empty());
    EXPECT_FALSE(TempDataDir::Exists("HLACC1.REC"));
}

TEST(LotLists, AtMostAThousandLotsAreListed) {
    TempDataDir dir;
    std::vector<StoredLot> stored;
    for (int i = 0; i < 1005; ++i) stored.push_back({100, "AAA", std::to_string(i % 100), 1, 1});
    WriteHoldings(stored);
    double cash = 0;
    int16_t count = 0;
    std::vector<engine::LotListEntry> lots;
    engine::Push(kAccount, "AAA", cash, count, lots);
    EXPECT_EQ(count, engine::kMaxListedLots);
    EXPECT_EQ(lots.size(), 1000u);
    EXPECT_EQ(engine::LastLotList().size(), 1000u);
}

TEST(LotLists, ListThatLoopsBackEnds) {
    TempDataDir dir;
    WriteHoldings({{100, "AAA", "1", 1, 1}, {100, "AAA", "2", 1, 1}});
    // Point the second lot back at the first.
    records::DirectFile file("HLACC1.REC", 128);
    records::Record rec;
    ASSERT_TRUE(file.Read(3, rec));
    rec.SetI16(0, 2);
    file.Write(3, rec);
    double cash = 0;
    int16_t count = 0;
    std::vector<engine::LotListEntry> lots;
    engine::Push(kAccount, "AAA", cash, count, lots);
    EXPECT_LE(count, 3);
}

// Cashbal adds the cash lots at the head of the list (holding key 0) and
// stops at the first lot that is not cash.
struct CashCase {
    const char* name;
    std::vector<StoredLot> lots;
    double cash;
};
void PrintTo(const CashCase& c, std::ostream* os) {
    *os << c.name;
}

class LotListsCash : public ::testing::TestWithParam<CashCase> {
protected:
    TempDataDir dir;
};

TEST_P(LotListsCash, Balance) {
    WriteHoldings(GetParam().lots);
    double cash = -1;
    engine::Cashbal(kAccount, cash);
    EXPECT_DOUBLE_EQ(cash, GetParam().cash);
}

INSTANTIATE_TEST_SUITE_P(
    LotLists, LotListsCash,
    ::testing::Values(CashCase{"OneCashLot", {{0, "CASH", "", 12.5, 12.5}, {100, "AAA", "1", 1, 1}}, 12.5},
                      CashCase{"TwoCashLots", {{0, "CASH", "", 10, 10}, {0, "CASH", "", -3, -3}}, 7},
                      CashCase{
                          "CashAfterASecurityIsNotSeen", {{100, "AAA", "1", 1, 1}, {0, "CASH", "", 9, 9}}, 0},
                      CashCase{"EmptyList", {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LotLists, CashbalOfAHeaderWithAZeroFieldIsZero) {
    TempDataDir dir;
    WriteHoldings({{0, "CASH", "", 10, 10}});
    records::DirectFile file("HLACC1.REC", 128);
    records::Record rec;
    ASSERT_TRUE(file.Read(1, rec));
    rec.SetI16(12, 0);  // next free
    file.Write(1, rec);
    double cash = -1;
    engine::Cashbal(kAccount, cash);
    EXPECT_EQ(cash, 0);
}

TEST(LotLists, UpdnavReturnsDescriptionTypeAndRecordOrLeavesThem) {
    TempDataDir dir;
    WriteSecurity("AAA", "B");
    std::string description = "unchanged", type = "u";
    int16_t record = -5;
    engine::Updnav("AAA", description, type, record);
    EXPECT_EQ(description, records::Fixed("AAA DESCRIPTION", 32));
    EXPECT_EQ(type, "B   ");
    EXPECT_EQ(record, 2);

    description = "unchanged";
    type = "u";
    record = -5;
    for (const char* symbol : {"aaa", "ZZZ", "AAA  X"}) {
        engine::Updnav(symbol, description, type, record);
        EXPECT_EQ(description, "unchanged") << symbol;
        EXPECT_EQ(type, "u");
        EXPECT_EQ(record, -5);
    }
}

}  // namespace

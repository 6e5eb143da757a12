#include "engine/lot_update.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/replay.h"
#include "records/account_records.h"
#include "records/codes.h"
#include "records/files.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using engine::LotList;
using fixtures::TempDataDir;
using records::HoldingRecord;
using records::Record;
using records::TransactionRecord;

struct Txn {
    std::string code;
    std::string symbol;
    std::string lot;
    double quantity;
    double amount;
    double key = 100;
    double bond_interest = 0;
    std::string trade_date = " 2/14/97";
    std::string lot_date = " 1/10/97";
};

TransactionRecord Make(const Txn& x) {
    TransactionRecord t;
    t.code = records::Fixed(x.code, 4);
    t.symbol = records::Fixed(x.symbol, 12);
    t.tax_lot = records::Fixed(x.lot, 4);
    t.quantity = x.quantity;
    t.amount = x.amount;
    t.holding_key = x.key;
    t.bond_interest = x.bond_interest;
    t.trade_date = x.trade_date;
    t.lot_date = x.lot_date;
    t.broker = "BRK1    ";
    t.security_record = 7;
    t.date_number = 970214;
    t.lot_cost = 12345;  // never the cost of a lot in this replay
    return t;
}

// Looks the code up in the code table and applies the transaction.
int16_t Apply(LotList& lots, TransactionRecord& t, int16_t gl = 0) {
    int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
    records::Code(t.code, cls, sign, transfer, 1, not_found);
    return engine::Lotupd(lots, "ACC1", "02/28/97", 0, cls, sign, transfer, gl, t, "DESCRIPTION ONE",
                          "LINE TWO");
}

// The lots as the file holds them, walked from its header.
std::vector<HoldingRecord> FileLots() {
    std::vector<HoldingRecord> out;
    const records::HoldingsHeader h = records::ReadHoldingsHeader(engine::kLotUnit);
    for (int16_t r = h.first_lot; r > 0 && out.size() < 1000;) {
        Record rec;
        if (!records::ReadRecord(engine::kLotUnit, r, rec)) break;
        out.push_back(HoldingRecord::Decode(rec));
        r = out.back().next;
    }
    return out;
}

struct LotUpdateFile : ::testing::Test {
    TempDataDir dir;
    LotUpdateFile() {
        records::Open(engine::kLotUnit, "HL.TMP");
        records::Open(engine::kGainUnit, "GL.TMP");
    }
    ~LotUpdateFile() override {
        records::Close(engine::kLotUnit);
        records::Close(engine::kGainUnit);
    }
};

// ---- Scenarios: transactions in, lots out.

struct Lot {
    std::string symbol;
    std::string lot;
    double quantity;
    double cost;
};

struct Scenario {
    std::string name;
    std::vector<Txn> txns;
    std::vector<int16_t> conditions;  // one per transaction
    std::vector<Lot> lots;            // expected, in list order
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

class LotUpdateScenario : public LotUpdateFile, public ::testing::WithParamInterface<Scenario> {};

TEST_P(LotUpdateScenario, LeavesTheLots) {
    const Scenario& sc = GetParam();
    LotList lots;
    for (std::size_t i = 0; i < sc.txns.size(); ++i) {
        TransactionRecord t = Make(sc.txns[i]);
        EXPECT_EQ(Apply(lots, t), sc.conditions[i]) << "transaction " << i;
    }
    const std::vector<HoldingRecord> got = FileLots();
    ASSERT_EQ(got.size(), sc.lots.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].symbol, records::Fixed(sc.lots[i].symbol, 12)) << i;
        EXPECT_EQ(got[i].tax_lot, records::Fixed(sc.lots[i].lot, 4)) << i;
        EXPECT_NEAR(got[i].quantity, sc.lots[i].quantity, 1e-9) << i;
        EXPECT_NEAR(got[i].cost, sc.lots[i].cost, 1e-9) << i;
    }
    // The image in memory and a fresh reading of the file agree.
    const auto image = LotList().Lots();
    ASSERT_EQ(image.size(), got.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(image[i].second.symbol, got[i].symbol);
}

const std::vector<Scenario> kScenarios = {
    {"BuyOpensLotAndCashLotFirst",
     {{"B", "AAA", "1", 100, 5000}},
     {0},
     {{"CASH", "", -5000, -5000}, {"AAA", "1", 100, 5000}}},
    {"SecondBuyOfTheLotAddsToIt",
     {{"B", "AAA", "1", 100, 5000}, {"B", "AAA", "1", 50, 2600.004}},
     {0, 0},
     {{"CASH", "", -7600, -7600}, {"AAA", "1", 150, 7600}}},
    {"PartSaleKeepsUnitCost",
     {{"B", "AAA", "1", 100, 5000}, {"S", "AAA", "1", 40, 2400}},
     {0, 0},
     {{"CASH", "", -2600, -2600}, {"AAA", "1", 60, 3000}}},
    {"SaleWithinHalfAThousandthClosesTheLot",
     {{"B", "AAA", "1", 100, 5000}, {"S", "AAA", "1", 100.0004, 6000}},
     {0, 0},
     {{"CASH", "", 1000, 1000}}},
    {"SaleWithinACentOfTheLotIsAcceptedAndLeavesARemainder",
     {{"B", "AAA", "1", 100, 5000}, {"S", "AAA", "1", 100.005, 6000}},
     {0, 0},
     {{"CASH", "", 1000, 1000}, {"AAA", "1", -0.005, -0.25}}},
    {"SaleBeyondTheLotIsRefused",
     {{"B", "AAA", "1", 100, 5000}, {"S", "AAA", "1", 101, 6000}},
     {0, engine::kExceedsLot},
     {{"CASH", "", -5000, -5000}, {"AAA", "1", 100, 5000}}},
    {"SaleOfAnotherLotCodeFindsNoLot",
     {{"B", "AAA", "1", 100, 5000}, {"S", "AAA", "2", 10, 600}, {"S", "AAA", "1", 10, 600, 101}},
     {0, engine::kNoMatchingLot, engine::kNoMatchingLot},
     {{"CASH", "", -5000, -5000}, {"AAA", "1", 100, 5000}}},
    {"ShortSaleAndWholeCover",
     {{"SS", "BBB", "a", 100, 4000}, {"CS", "BBB", "a", 100, 3000}},
     {0, 0},
     {{"CASH", "", 1000, 1000}}},
    {"PartCoverKeepsUnitProceeds",
     {{"SS", "BBB", "a", 100, 4000}, {"CS", "BBB", "a", 25, 900}},
     {0, 0},
     {{"CASH", "", 3100, 3100}, {"BBB", "a", -75, 3000}}},
    {"SecondShortSaleAddsItsProceeds",
     {{"SS", "BBB", "a", 100, 4000}, {"SS", "BBB", "a", 50, 2500}},
     {0, 0},
     {{"CASH", "", 6500, 6500}, {"BBB", "a", -150, 6500}}},
    {"CoverBeyondTheShortLotIsRefused",
     {{"SS", "BBB", "a", 100, 4000}, {"CS", "BBB", "a", 120, 5000}},
     {0, engine::kExceedsLot},
     {{"CASH", "", 4000, 4000}, {"BBB", "a", -100, 4000}}},
    {"DividendOnAnEmptyListCreatesTheCashLot",
     {{"DI", "AAA", "", 0, 12.344, 100, 0.006}},
     {0},
     {{"CASH", "", 12.35, 12.35}}},
    {"CashCodesMoveCashBySign",
     {{"FI", "CASH", "", 0, 1000, 0}, {"FO", "CASH", "", 0, 300, 0}, {"IE", "AAA", "", 0, 20}},
     {0, 0, 0},
     {{"CASH", "", 680, 680}}},
    {"TransferInOpensAtItsAmountWithoutCash",
     {{"SI", "AAA", "1", 100, 4500}, {"SO", "AAA", "1", 40, 0}},
     {0, 0},
     {{"AAA", "1", 60, 2700}}},
    {"BuyWithBondInterestPaysBoth",
     {{"B", "BND", "1", 10000, 9850, 200, 45.5}},
     {0},
     {{"CASH", "", -9895.5, -9895.5}, {"BND", "1", 10000, 9850}}},
    {"LotsStandInKeySymbolAndCodeOrder",
     {{"B", "AAA", "2", 1, 1, 300},
      {"B", "AAA", "1", 1, 1, 300},
      {"B", "ZZZ", "1", 1, 1, 200},
      {"B", "ABCE", "1", 1, 1, 100},
      {"B", "ABCD", "1", 1, 1, 100}},
     {0, 0, 0, 0, 0},
     {{"CASH", "", -5, -5},
      {"ABCD", "1", 1, 1},
      {"ABCE", "1", 1, 1},
      {"ZZZ", "1", 1, 1},
      {"AAA", "1", 1, 1},
      {"AAA", "2", 1, 1}}},
    // Symbols compare as text, byte by byte, as the holdings replay
    // places them: "AZ" comes before "BA" whichever was bought first.
    {"SymbolsCompareAsText",
     {{"B", "BA", "1", 1, 1}, {"B", "AZ", "1", 1, 1}},
     {0, 0},
     {{"CASH", "", -2, -2}, {"AZ", "1", 1, 1}, {"BA", "1", 1, 1}}},
};

INSTANTIATE_TEST_SUITE_P(LotUpdateTable, LotUpdateScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return info.param.name; });

// ---- The file itself

TEST_F(LotUpdateFile, LotUpdateWritesTheHoldingsLayout) {
    LotList lots;
    TransactionRecord t = Make({"SS", "BBB", "a", 100, 4000, 150, 12.5, " 2/14/97", " 1/01/97"});
    Apply(lots, t);
    TransactionRecord s = Make({"SI", "CCC", "1", 5, 50, 160, 0, " 3/01/97", " 2/01/96"});
    Apply(lots, s);

    Record head;
    ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, 1, head));
    EXPECT_EQ(head.I16(0), 3) << "first lot: the cash lot, opened second";
    EXPECT_EQ(head.Text(2, 8), "ACC1    ");
    EXPECT_EQ(head.I16(10), 4) << "records in use, header included";
    EXPECT_EQ(head.I16(12), 5) << "next free";
    EXPECT_EQ(head.Text(14, 8), "02/28/97");
    EXPECT_EQ(head.I16(22), 0);

    Record cash, shortlot, transfer;
    ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, 3, cash));
    EXPECT_EQ(cash.I16(0), 2);
    EXPECT_EQ(cash.R8(2), 0.0);
    EXPECT_EQ(cash.Text(10, 12), "CASH        ");
    EXPECT_EQ(cash.I16(22), 2) << "the cash lot's security record";
    EXPECT_EQ(cash.Text(32, 4), "    ");
    EXPECT_EQ(cash.R8(36), 4012.5);
    EXPECT_EQ(cash.R8(44), 4012.5);
    EXPECT_EQ(cash.Text(52, 8), "        ");

    ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, 2, shortlot));
    EXPECT_EQ(shortlot.I16(0), 4);
    EXPECT_EQ(shortlot.R8(2), 150.0);
    EXPECT_EQ(shortlot.I16(22), 7);
    EXPECT_EQ(shortlot.Text(24, 8), "BRK1    ");
    EXPECT_EQ(shortlot.Text(32, 4), "a   ");
    EXPECT_EQ(shortlot.R8(36), -100.0);
    EXPECT_EQ(shortlot.R8(44), 4000.0);
    EXPECT_EQ(shortlot.Text(52, 8), " 2/14/97") << "a short lot is dated by its trade date";
    EXPECT_EQ(shortlot.R8(60), 12.5);
    EXPECT_EQ(shortlot.Text(68, 8), "        ");
    EXPECT_EQ(std::string(20, '\0'), shortlot.Text(76, 20)) << "no memo is written";

    ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, 4, transfer));
    EXPECT_EQ(transfer.I16(0), -1);
    EXPECT_EQ(transfer.Text(52, 8), " 2/01/96") << "the lot date";
    EXPECT_EQ(transfer.Text(68, 8), " 3/01/97") << "a transfer's reference is its trade date";
    EXPECT_EQ(transfer.R8(44), 50.0) << "opened at the amount, not the lot cost";
}

TEST_F(LotUpdateFile, AClosedLotsRecordIsReusedByTheNextOpening) {
    LotList lots;
    TransactionRecord b1 = Make({"B", "AAA", "1", 100, 5000});
    TransactionRecord b2 = Make({"B", "BBB", "1", 10, 500, 200});
    TransactionRecord s1 = Make({"S", "AAA", "1", 100, 5500});
    Apply(lots, b1);  // AAA in record 2, cash in 3
    Apply(lots, b2);  // BBB in 4
    Apply(lots, s1);  // frees 2
    Record rec;
    ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, 2, rec));
    EXPECT_EQ(rec.Text(2, 4), "$$$$");
    EXPECT_EQ(rec.I16(0), 5) << "the free record links to the old next free";
    EXPECT_EQ(records::ReadHoldingsHeader(engine::kLotUnit).next_free, 2);

    TransactionRecord b3 = Make({"B", "CCC", "1", 1, 10, 300});
    Apply(lots, b3);
    ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, 2, rec));
    EXPECT_EQ(HoldingRecord::Decode(rec).symbol, "CCC         ");
    const auto h = records::ReadHoldingsHeader(engine::kLotUnit);
    EXPECT_EQ(h.next_free, 5);
    EXPECT_EQ(h.records_in_use, 4);
}

TEST_F(LotUpdateFile, ABrokenFreeChainOpensNothing) {
    LotList lots;
    TransactionRecord b1 = Make({"B", "AAA", "1", 100, 5000});
    Apply(lots, b1);
    // Damage the free chain: next free points at the cash lot's record.
    Record head;
    ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, 1, head));
    head.SetI16(12, 3);
    records::WriteRecord(engine::kLotUnit, 1, head);
    LotList reread;
    const auto before = TempDataDir::ReadBytes("HL.TMP");
    TransactionRecord b2 = Make({"B", "BBB", "1", 10, 500, 200});
    EXPECT_EQ(Apply(reread, b2), 0);
    EXPECT_EQ(TempDataDir::ReadBytes("HL.TMP"), before);
}

TEST_F(LotUpdateFile, GainRecordsOfSalesAndCovers) {
    LotList lots;
    std::vector<TransactionRecord> ts = {
        Make({"B", "AAA", "1", 100, 5000}),  Make({"S", "AAA", "1", 40, 2400}),
        Make({"SS", "BBB", "a", 100, 4000}), Make({"CS", "BBB", "a", 100, 3000}),
        Make({"SI", "CCC", "1", 10, 100}),   Make({"SO", "CCC", "1", 10, 0}),
    };
    for (auto& t : ts) Apply(lots, t, 1);
    EXPECT_EQ(ts[1].gain_record, 2);
    EXPECT_EQ(ts[3].gain_record, 3);
    EXPECT_EQ(ts[5].gain_record, 0) << "a transfer out writes no gain";

    Record head;
    ASSERT_TRUE(records::ReadRecord(engine::kGainUnit, 1, head));
    const auto gh = records::GainsHeader::Decode(head);
    EXPECT_EQ(gh.count, 2);
    EXPECT_EQ(gh.account, "ACC1    ");
    EXPECT_EQ(gh.label, "02/28/97");

    Record rec;
    ASSERT_TRUE(records::ReadRecord(engine::kGainUnit, 2, rec));
    auto g = records::GainRecord::Decode(rec);
    EXPECT_EQ(g.proceeds, 2400);
    EXPECT_EQ(g.cost, 2000);
    EXPECT_EQ(g.gain, 400);
    EXPECT_EQ(g.quantity, 40);
    EXPECT_EQ(g.short_cover, 0);
    EXPECT_EQ(g.open_date, " 1/10/97");
    EXPECT_EQ(g.sale_date, 970214.0f);
    EXPECT_EQ(g.description1, records::Fixed("DESCRIPTION ONE", 32));
    EXPECT_EQ(g.symbol, "AAA         ");
    EXPECT_EQ(g.security_record, 7);

    ASSERT_TRUE(records::ReadRecord(engine::kGainUnit, 3, rec));
    g = records::GainRecord::Decode(rec);
    EXPECT_EQ(g.short_cover, 1);
    EXPECT_EQ(g.proceeds, 4000) << "from the short lot";
    EXPECT_EQ(g.cost, 3000) << "the cover's amount";
    EXPECT_EQ(g.gain, 1000) << "proceeds minus cost";
    EXPECT_EQ(g.open_date, " 2/14/97");
}

TEST_F(LotUpdateFile, AGainGoesToTheTransactionsOwnGainRecord) {
    LotList lots;
    TransactionRecord b = Make({"B", "AAA", "1", 100, 5000});
    TransactionRecord s = Make({"S", "AAA", "1", 50, 3000});
    s.gain_record = 6;
    Apply(lots, b, 1);
    Apply(lots, s, 1);
    Record rec;
    ASSERT_TRUE(records::ReadRecord(engine::kGainUnit, 6, rec));
    EXPECT_EQ(records::GainRecord::Decode(rec).gain, 500);
    ASSERT_TRUE(records::ReadRecord(engine::kGainUnit, 1, rec));
    EXPECT_EQ(records::GainsHeader::Decode(rec).count, 0) << "the count is not raised";
}

TEST_F(LotUpdateFile, ClosingTransactionsLeaveTheFileAsItWasWhenRefused) {
    LotList lots;
    TransactionRecord b = Make({"B", "AAA", "1", 100, 5000});
    Apply(lots, b, 1);
    const auto before = TempDataDir::ReadBytes("HL.TMP");
    TransactionRecord s = Make({"S", "AAA", "1", 101, 6000});
    TransactionRecord o = Make({"SO", "AAA", "9", 1, 0});
    EXPECT_EQ(Apply(lots, s, 1), engine::kExceedsLot);
    EXPECT_EQ(Apply(lots, o, 1), engine::kNoMatchingLot);
    EXPECT_EQ(TempDataDir::ReadBytes("HL.TMP"), before);
    EXPECT_EQ(s.gain_record, 0);
}

TEST_F(LotUpdateFile, UnknownClassChangesNothing) {
    LotList lots;
    TransactionRecord t = Make({"XX", "AAA", "1", 100, 5000});
    EXPECT_EQ(engine::Lotupd(lots, "ACC1", "02/28/97", 0, 0, 0, 0, 0, t), 0);
    EXPECT_TRUE(TempDataDir::ReadBytes("HL.TMP").empty());
}

// The holdings replay and the lot update place lots by one comparison:
// one account's lots built through each give the same file. The history
// keeps to what both do alike (no transfers, whole quantities, amounts
// exact in binary); the lot update writes no memo, so the memo bytes are
// left out of the comparison. Symbols whose bytes order differently as
// text and as 32-bit words ("AZ", "BA", "ZA") share one holding key, and
// lot codes differ in their first two characters.
TEST(LotUpdateAndReplay, BuildTheSameHoldingsFile) {
    TempDataDir dir;
    const std::vector<Txn> history = {
        {"B", "ZA", "2", 10, 1000}, {"B", "BA", "1", 5, 500},     {"B", "AZ", "b", 7, 700},
        {"B", "AZ", "a1", 3, 300},  {"B", "ZA", "1", 2, 250},     {"DI", "BA", "", 0, 12.5},
        {"S", "ZA", "2", 4, 480},   {"B", "CASHLIKE", "1", 1, 1}, {"B", "AZ", "1", 1, 10, 50},
        {"SS", "ZB", "1", 8, 640},  {"S", "BA", "1", 5, 550},     {"B", "BA", "2", 9, 900},
    };
    std::vector<TransactionRecord> transactions;
    for (const Txn& x : history) {
        transactions.push_back(Make(x));
        transactions.back().date_number += static_cast<float>(transactions.size());  // one a day
    }
    fixtures::WriteTransactions("ACC1", transactions);
    int16_t status = -1;
    engine::Creatt("ACC1", "02/28/97", engine::kEveryTransaction, 0, 0, status);
    ASSERT_EQ(status, 0);
    const std::vector<unsigned char> replayed = TempDataDir::ReadBytes("HL.TMP");

    records::Open(engine::kLotUnit, "LOTS.TMP");
    {
        LotList lots;
        for (TransactionRecord& t : transactions) ASSERT_EQ(Apply(lots, t), 0);
    }
    records::Close(engine::kLotUnit);
    std::vector<unsigned char> updated = TempDataDir::ReadBytes("LOTS.TMP");

    ASSERT_EQ(updated.size(), replayed.size());
    std::vector<unsigned char> masked = replayed;
    for (std::size_t r = 128; r < masked.size(); r += 128)
        for (std::size_t b = 76; b < 96; ++b) masked[r + b] = updated[r + b] = 0;
    EXPECT_EQ(updated, masked);
    const std::vector<std::string> order = {"CASH",       "AZ 1", "AZ a1", "AZ b", "BA 2",
                                            "CASHLIKE 1", "ZA 1", "ZA 2",  "ZB 1"};
    std::vector<std::string> got;
    for (const auto& [record, lot] : fixtures::ReadHoldings("HL.TMP").lots) {
        std::string name = records::Trim(lot.symbol);
        if (!records::IsBlank(lot.tax_lot)) name += " " + records::Trim(lot.tax_lot);
        got.push_back(name);
    }
    EXPECT_EQ(got, order);
}

// A long random run: the file, walked from its header, always holds the
// image's lots in list order, and the free chain holds every other record.
TEST_F(LotUpdateFile, FileAndImageStayTogether) {
    LotList lots;
    std::mt19937 rng(7);
    const char* codes[] = {"B", "B", "S", "SS", "CS", "DI", "SI", "SO"};
    const char* symbols[] = {"AAA", "BBB", "CCC", "AZ", "BA"};
    for (int i = 0; i < 3000; ++i) {
        Txn x{codes[rng() % 8],
              symbols[rng() % 5],
              std::string(1, "12ab"[rng() % 4]),
              static_cast<double>(1 + rng() % 20),
              static_cast<double>(10 + rng() % 500),
              static_cast<double>(100 * (1 + rng() % 4))};
        TransactionRecord t = Make(x);
        Apply(lots, t);
    }
    const auto file = FileLots();
    const auto image = lots.Lots();
    ASSERT_EQ(file.size(), image.size());
    for (std::size_t i = 0; i < file.size(); ++i) {
        EXPECT_EQ(file[i].symbol, image[i].second.symbol);
        EXPECT_EQ(file[i].quantity, image[i].second.quantity);
        if (i > 0) {
            EXPECT_FALSE(
                engine::LotOrder::Of(file[i].holding_key, file[i].symbol, file[i].tax_lot) <
                engine::LotOrder::Of(file[i - 1].holding_key, file[i - 1].symbol, file[i - 1].tax_lot));
        }
    }
    const auto h = records::ReadHoldingsHeader(engine::kLotUnit);
    int free_records = 0;
    for (int16_t r = h.next_free; r <= h.records_in_use && free_records < 10000; ++free_records) {
        Record rec;
        ASSERT_TRUE(records::ReadRecord(engine::kLotUnit, r, rec));
        ASSERT_TRUE(records::DeletedLot::Is(rec));
        r = records::DeletedLot::Decode(rec).next_free;
    }
    EXPECT_EQ(static_cast<std::size_t>(free_records) + file.size() + 1,
              static_cast<std::size_t>(h.records_in_use));
}

// The valuation walks the lots through a flat copy of the order that is
// brought up to date at each walk, and Find looks lots up by their exact
// key. Walked and searched at random intervals (nothing, one
// or many lots linked and unlinked in between, records reused, lots of
// equal place whose codes differ past their first two characters), it
// meets the lots in list order.
TEST_F(LotUpdateFile, TheValuationWalkAndFindFollowTheListOrder) {
    LotList lots;
    std::mt19937 rng(11);
    const char* codes[] = {"B", "B", "B", "S", "S", "SS", "CS", "SI", "SO"};
    const char* symbols[] = {"AAA", "BBB", "AZ"};
    const char* lot_codes[] = {"1", "2A", "2A1", "2A2", "2A3"};
    int walks = 0, finds = 0;
    for (int i = 0; i < 4000; ++i) {
        Txn x{codes[rng() % 9],
              symbols[rng() % 3],
              lot_codes[rng() % 5],
              static_cast<double>(1 + rng() % 4),
              static_cast<double>(10 + rng() % 500),
              static_cast<double>(100 * (1 + rng() % 3))};
        TransactionRecord t = Make(x);
        Apply(lots, t);
        if (i == 1500) lots.DeferWrites();
        if (rng() % (i < 2000 ? 3 : 40) != 0) continue;
        ++walks;
        // Find gives the first lot in list order with the exact key,
        // symbol and lot code, or 0.
        const auto listed = lots.Lots();
        for (double key : {100.0, 200.0, 300.0, 400.0})
            for (const char* symbol : symbols)
                for (const char* code : lot_codes) {
                    const std::string sym = records::Fixed(symbol, 12), lot = records::Fixed(code, 4);
                    int16_t want = 0;
                    for (const auto& [record, l] : listed)
                        if (l.holding_key == key && l.symbol == sym && l.tax_lot == lot) {
                            want = record;
                            break;
                        }
                    ASSERT_EQ(lots.Find(key, symbol, code), want) << "after transaction " << i;
                    ++finds;
                }
        std::vector<engine::LotFigures> walked;
        lots.ForEachLotFigures([&](const engine::LotFigures& f) { walked.push_back(f); });
        const auto image = lots.Lots();
        ASSERT_EQ(walked.size(), image.size()) << "after transaction " << i;
        for (std::size_t k = 0; k < image.size(); ++k) {
            const engine::LotFigures want = engine::LotFigures::Of(image[k].second);
            ASSERT_EQ(walked[k].holding_key, want.holding_key) << "after transaction " << i << ", lot " << k;
            ASSERT_EQ(walked[k].quantity, want.quantity) << "after transaction " << i << ", lot " << k;
            ASSERT_EQ(walked[k].cost, want.cost) << "after transaction " << i << ", lot " << k;
            ASSERT_EQ(walked[k].short_marker, want.short_marker)
                << "after transaction " << i << ", lot " << k;
            ASSERT_EQ(walked[k].cash_symbol, want.cash_symbol) << "after transaction " << i << ", lot " << k;
        }
    }
    EXPECT_GT(walks, 500);
    EXPECT_GT(finds, 20000);
    lots.Flush();
    const auto file = FileLots();
    const auto image = lots.Lots();
    ASSERT_EQ(file.size(), image.size());
    for (std::size_t k = 0; k < file.size(); ++k) EXPECT_EQ(file[k].quantity, image[k].second.quantity);
}

}  // namespace

namespace {

// A series' lot list keeps no links while it runs and links its lots when
// it writes the file. Driven by the lot update beside a list written at
// every change, through the same random history (lots of holding key 0
// before and after the cash lot and of one place, the lot that takes the
// cash sold off, NaN keys, records reused, and late in the run texts short
// of their widths, which
// stop the exact-key table), it finds, walks and writes what that list
// does: the files are byte for byte the same after each Flush.
TEST(SeriesLots, LeaveTheFileOfAListWrittenAtEveryChange) {
    TempDataDir dir;
    constexpr int kListUnit = 11, kSeriesUnit = 13;
    records::Open(kListUnit, "LIST.TMP");
    records::Open(kSeriesUnit, "SERIES.TMP");
    {
        LotList list(kListUnit);
        engine::SeriesLots series(kSeriesUnit);
        std::mt19937 rng(5);
        const char* codes[] = {"B", "B", "B", "S", "S", "SS", "CS", "SI", "SO", "DI", "FI", "FO"};
        const char* symbols[] = {"AAA", "CASH", "AZ", "ZZZ"};
        const char* lot_codes[] = {"2A", "2A1", "2A2", ""};
        const double keys[] = {0.0, 100.0, -0.0, 200.0, std::nan("")};
        auto apply = [](auto& lots, TransactionRecord t) {
            int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
            records::Code(t.code, cls, sign, transfer, 1, not_found);
            return engine::Lotupd(lots, "ACC1", "02/28/97", 0, cls, sign, transfer, 0, t);
        };
        int flushes = 0;
        for (int i = 0; i < 5000; ++i) {
            Txn x{codes[rng() % 12],
                  symbols[rng() % 4],
                  lot_codes[rng() % 4],
                  static_cast<double>(1 + rng() % 4),
                  static_cast<double>(10 + rng() % 500),
                  keys[rng() % 20 == 0 ? 4 : rng() % 4]};
            TransactionRecord t = Make(x);
            if (i > 3500 && rng() % 10 == 0) t.symbol = x.symbol;  // short of its width
            if (const int16_t c = list.FindCash(); c != 0 && rng() % 10 == 0 && list.Quantity(c) > 0) {
                // The lot that takes the cash sold off: the next one takes it.
                const HoldingRecord& lot = list.Lot(c);
                t = Make({"S", lot.symbol, lot.tax_lot, lot.quantity, 1, lot.holding_key});
            }
            ASSERT_EQ(apply(list, t), apply(series, t)) << "transaction " << i;
            if (rng() % 25 != 0) continue;
            for (double key : keys)
                for (const char* symbol : symbols)
                    for (const char* code : lot_codes) {
                        ASSERT_EQ(list.Find(key, symbol, code), series.Find(key, symbol, code))
                            << "transaction " << i;
                        ASSERT_EQ(list.Find(key, records::Fixed(symbol, 12), records::Fixed(code, 4)),
                                  series.Find(key, records::Fixed(symbol, 12), records::Fixed(code, 4)))
                            << "transaction " << i;
                    }
            ASSERT_EQ(list.FindCash(), series.FindCash()) << "transaction " << i;
            std::vector<engine::LotFigures> a, b;
            list.ForEachLotFigures([&](const engine::LotFigures& f) { a.push_back(f); });
            series.ForEachLotFigures([&](const engine::LotFigures& f) { b.push_back(f); });
            ASSERT_EQ(a.size(), b.size()) << "transaction " << i;
            for (std::size_t k = 0; k < a.size(); ++k) {
                ASSERT_EQ(std::memcmp(&a[k].holding_key, &b[k].holding_key, 8), 0) << "transaction " << i;
                ASSERT_EQ(a[k].quantity, b[k].quantity) << "transaction " << i;
                ASSERT_EQ(a[k].cost, b[k].cost) << "transaction " << i;
                ASSERT_EQ(a[k].security_record, b[k].security_record) << "transaction " << i;
                ASSERT_EQ(a[k].short_marker, b[k].short_marker) << "transaction " << i;
                ASSERT_EQ(a[k].cash_symbol, b[k].cash_symbol) << "transaction " << i;
            }
            if (rng() % 8 == 0) {
                series.Flush();
                ++flushes;
                ASSERT_EQ(TempDataDir::ReadBytes("LIST.TMP"), TempDataDir::ReadBytes("SERIES.TMP"))
                    << "transaction " << i;
            }
        }
        EXPECT_GT(flushes, 10);
        series.Flush();
    }
    records::Close(kListUnit);
    records::Close(kSeriesUnit);
    const std::vector<unsigned char> list = TempDataDir::ReadBytes("LIST.TMP");
    EXPECT_GT(list.size(), 20u * records::kAccountRecordLength);
    EXPECT_EQ(list, TempDataDir::ReadBytes("SERIES.TMP"));
}

}  // namespace

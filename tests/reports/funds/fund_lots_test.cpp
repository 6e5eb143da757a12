// The fund lot replay, byte for byte: each case is a transaction history
// rebuilt with Mfhold and the HL.TMP records it must leave, built by hand
// from the fund lot layout. Damaged files are replayed into directly.

#include "reports/funds/fund_lots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/replay.h"
#include "records/account_records.h"
#include "records/codes.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/funds/fund_rebuild.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using records::Record;
using records::TransactionRecord;

constexpr const char* kAccount = "FUND01";
constexpr const char* kAsOf = "12/31/99";

// A lot as the table gives its fields; texts are blank padded.
struct Lot {
    int16_t next = -1;
    double key = 0;
    std::string symbol = "CASH";
    int16_t security = 2;
    std::string date_text{};  // field 5, the transaction's field 8
    std::string tax_lot{};
    double quantity = 0;
    double amount = 0;
    std::string purchase{};
    double added = 0;
    std::string transfer{};
    std::string memo{};
    double total = 0;
};

Record LotBytes(const Lot& l) {
    records::FundLotRecord f;
    f.lot.next = l.next;
    f.lot.holding_key = l.key;
    f.lot.symbol = records::Fixed(l.symbol, 12);
    f.lot.security_record = l.security;
    f.lot.broker = records::Fixed(l.date_text, 8);
    f.lot.tax_lot = records::Fixed(l.tax_lot, 4);
    f.lot.quantity = l.quantity;
    f.lot.cost = l.amount;
    f.lot.open_date = records::Fixed(l.purchase, 8);
    f.lot.bond_interest = l.added;
    f.lot.reference = records::Fixed(l.transfer, 8);
    f.lot.memo = records::Fixed(l.memo, 20);
    f.total_cost = l.total;
    Record rec(128, 0);
    f.Encode(rec);
    return rec;
}

// A freed lot: the free link and "$$$$" over the lot's old bytes.
Record FreedBytes(const Lot& old, int16_t next_free) {
    Record rec = LotBytes(old);
    records::DeletedLot{next_free}.Encode(rec);
    return rec;
}

Record HeaderBytes(int16_t first, int16_t in_use, int16_t next_free) {
    records::HoldingsHeader h;
    h.first_lot = first;
    h.account = records::Fixed(kAccount, 8);
    h.records_in_use = in_use;
    h.next_free = next_free;
    h.label = kAsOf;
    h.spare = 0;
    Record rec(128, 0);
    h.Encode(rec);
    return rec;
}

// HL.TMP record by record.
std::vector<Record> WorkFileRecords() {
    std::vector<Record> out;
    const auto bytes = fixtures::TempDataDir::ReadBytes(records::ResolveName(engine::HoldingsWorkName()));
    for (std::size_t at = 0; at + 128 <= bytes.size(); at += 128) {
        Record rec(128, 0);
        std::copy_n(bytes.begin() + static_cast<long>(at), 128, rec.bytes().begin());
        out.push_back(rec);
    }
    return out;
}

TransactionRecord T(const std::string& code, const std::string& symbol, const std::string& lot,
                    const std::string& date, double quantity, double amount, double key) {
    return fixtures::Transaction(code, symbol, lot, date, quantity, amount, key, 5);
}

TransactionRecord Reinvested(TransactionRecord t) {
    t.type = "R   ";
    return t;
}

TransactionRecord WithAdded(TransactionRecord t, double added) {
    t.bond_interest = added;
    return t;
}

TransactionRecord Transfer(const std::string& code, const std::string& date, double quantity, double value,
                           const std::string& lot_date) {
    TransactionRecord t = T(code, "FUNDA", "A", date, quantity, 0, 1.0);
    t.lot_cost = value;
    t.lot_date = lot_date;
    return t;
}

struct Case {
    const char* name;
    std::vector<TransactionRecord> history;
    std::vector<Record> expected;  // HL.TMP records 1, 2, ...
};

const Lot kFundA{.key = 1.0, .symbol = "FUNDA", .security = 5, .tax_lot = "A", .purchase = "01/05/99"};

Lot With(Lot l, int16_t next, double quantity, double amount, double total) {
    l.next = next;
    l.quantity = quantity;
    l.amount = amount;
    l.total = total;
    return l;
}

Lot Cash(int16_t next, double balance, double total) {
    return {.next = next, .quantity = balance, .amount = balance, .total = total};
}

std::vector<Case> Cases() {
    const TransactionRecord buy = T("B", "FUNDA", "A", "01/05/99", 100, 1000, 1.0);
    return {
        {"FirstPurchaseOpensTheLotThenTheCashElement",
         {buy},
         {HeaderBytes(3, 3, 4), LotBytes(With(kFundA, -1, 100, 1000, 1000)),
          LotBytes(Cash(2, -1000, -1000))}},
        {"PartSaleKeepsTheLotsShareAndRaisesCashByAmountAndAddedAmount",
         {buy, WithAdded(T("S", "FUNDA", "A", "02/01/99", 40, 480, 1.0), 2.5)},
         {HeaderBytes(3, 3, 4), LotBytes(With(kFundA, -1, 60, 600, 600)), LotBytes(Cash(2, -517.5, -517.5))}},
        {"WholeSaleFreesTheLotsRecord",
         {buy, T("S", "FUNDA", "A", "02/01/99", 100, 1100, 1.0)},
         {HeaderBytes(3, 3, 2), FreedBytes(With(kFundA, -1, 100, 1000, 1000), 4),
          LotBytes(Cash(-1, 100, 100))}},
        {"NextLotReusesTheFreedRecord",
         {buy, T("S", "FUNDA", "A", "02/01/99", 100, 1100, 1.0),
          T("B", "FUNDB", "", "03/01/99", 50, 500, 2.0)},
         {HeaderBytes(3, 3, 4),
          LotBytes({.key = 2.0,
                    .symbol = "FUNDB",
                    .security = 5,
                    .quantity = 50,
                    .amount = 500,
                    .purchase = "03/01/99",
                    .total = 500}),
          LotBytes(Cash(2, -400, -400))}},
        {"SecondPurchaseOfTheSameLotAddsToIt",
         {buy, T("B", "FUNDA", "A", "02/01/99", 50, 600, 1.0)},
         {HeaderBytes(3, 3, 4), LotBytes(With(kFundA, -1, 150, 1600, 1600)),
          LotBytes(Cash(2, -1600, -1600))}},
        {"ShortSaleWithoutLotOpensNegativeLotDatedByTheTrade",
         {T("SS", "XYZ", "a", "03/01/99", 100, 2000, 3.0)},
         {HeaderBytes(3, 3, 4),
          LotBytes({.key = 3.0,
                    .symbol = "XYZ",
                    .security = 5,
                    .tax_lot = "a",
                    .quantity = -100,
                    .amount = 2000,
                    .purchase = "03/01/99",
                    .total = 2000}),
          LotBytes(Cash(2, 2000, 2000))}},
        {"CoverRaisesTheShortLotToZeroAndFreesIt",
         {T("SS", "XYZ", "a", "03/01/99", 100, 2000, 3.0), T("CS", "XYZ", "a", "04/01/99", 100, 1500, 3.0)},
         {HeaderBytes(3, 3, 2),
          FreedBytes({.key = 3.0,
                      .symbol = "XYZ",
                      .security = 5,
                      .tax_lot = "a",
                      .quantity = -100,
                      .amount = 2000,
                      .purchase = "03/01/99",
                      .total = 2000},
                     4),
          LotBytes(Cash(-1, 500, 500))}},
        {"SecondShortSaleAddsItsProceeds",
         {T("SS", "XYZ", "a", "03/01/99", 100, 2000, 3.0), T("SS", "XYZ", "a", "04/01/99", 50, 1100, 3.0)},
         {HeaderBytes(3, 3, 4),
          LotBytes({.key = 3.0,
                    .symbol = "XYZ",
                    .security = 5,
                    .tax_lot = "a",
                    .quantity = -150,
                    .amount = 3100,
                    .purchase = "03/01/99",
                    .total = 3100}),
          LotBytes(Cash(2, 3100, 3100))}},
        {"TransfersMoveTheLotAtTheTransferCostAndLeaveNoCash",
         {Transfer("SI", "01/05/99", 100, 900, "06/01/90"), Transfer("SO", "02/01/99", 30, 0, "06/01/90")},
         {HeaderBytes(2, 2, 3), LotBytes(With(Lot{.key = 1.0,
                                                  .symbol = "FUNDA",
                                                  .security = 5,
                                                  .tax_lot = "A",
                                                  .purchase = "06/01/90",
                                                  .transfer = "01/05/99"},
                                              -1, 70, 630, 630))}},
        {"FirstDividendMakesTheCashElement",
         {T("DI", "FUNDA", "", "01/05/99", 0, 25.5, 1.0)},
         {HeaderBytes(2, 2, 3), LotBytes(Cash(-1, 25.5, 25.5))}},
        // The reinvested purchase pays nothing out of cash during the
        // replay ((0 + 0) x -1 is -0), and Mfcash then takes its amount.
        {"ReinvestedPurchaseCostsNothingInvestedAndLowersCashAtTheEnd",
         {Reinvested(buy)},
         {HeaderBytes(3, 3, 4), LotBytes(With(kFundA, -1, 100, 0, 1000)), LotBytes(Cash(2, -1000, -0.0))}},
        {"ReinvestmentsLowerCashQuantityAndAmountButNotItsTotalCost",
         {T("DI", "FUNDA", "", "01/04/99", 0, 5000, 1.0), buy,
          Reinvested(T("B", "FUNDA", "A", "03/01/99", 10, 150.004, 1.0)),
          Reinvested(T("B", "FUNDA", "A", "06/01/99", 8, 100, 1.0))},
         {HeaderBytes(2, 3, 4), LotBytes(Cash(3, 3750, 4000)),
          LotBytes(With(kFundA, -1, 118, 1000, 1250.004))}},
    };
}

class MflotuTable : public ::testing::TestWithParam<Case> {};

TEST_P(MflotuTable, LeavesTheRecordsOfTheLayout) {
    fixtures::TempDataDir dir;
    fixtures::SetOptions({});
    fixtures::WriteTransactions(kAccount, GetParam().history);
    reports::Mfhold(kAccount, kAsOf, fixtures::DateNumber(kAsOf), 1);
    const std::vector<Record> got = WorkFileRecords();
    const std::vector<Record>& want = GetParam().expected;
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i].bytes(), want[i].bytes()) << "record " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(History, MflotuTable, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Files the replay did not build: it is resumed on them directly.

void WriteWorkFile(const std::vector<Record>& records) {
    std::vector<unsigned char> bytes;
    for (const Record& rec : records) bytes.insert(bytes.end(), rec.bytes().begin(), rec.bytes().end());
    fixtures::TempDataDir::WriteBytes(records::TrimRight(engine::HoldingsWorkName()), bytes);
}

std::vector<unsigned char> WorkFileBytes() {
    return fixtures::TempDataDir::ReadBytes(records::ResolveName(engine::HoldingsWorkName()));
}

reports::FundLotOutcome Apply(reports::FundLots& lots, const TransactionRecord& t, int16_t& condition) {
    int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
    records::Code(t.code, cls, sign, transfer, 1, not_found);
    return lots.Mflotu(t, cls, sign, transfer, condition, std::string(20, ' '), std::string(8, ' '),
                       std::string(32, ' '), t.amount);
}

TEST(MflotuDamagedFile, BrokenChainDropsTheTransactionAndMfcashLeavesItAlone) {
    const Lot lot{.key = 1.0, .symbol = "FUNDA", .security = 5, .quantity = 10, .amount = 100, .total = 100};
    Lot looping = lot;
    looping.next = 3;
    Lot back = lot;
    back.key = 2.0;
    back.next = 2;
    Lot past_end = lot;
    past_end.next = 9;
    const std::vector<std::pair<const char*, std::vector<Record>>> files = {
        {"loop", {HeaderBytes(2, 3, 4), LotBytes(looping), LotBytes(back)}},
        {"link past the end", {HeaderBytes(2, 2, 3), LotBytes(past_end)}},
    };
    for (const auto& [name, records] : files) {
        fixtures::TempDataDir dir;
        WriteWorkFile(records);
        const std::vector<unsigned char> before = WorkFileBytes();
        reports::FundLots lots(kAccount, kAsOf, records::Options{});
        lots.Resume();
        int16_t condition = -1;
        EXPECT_EQ(Apply(lots, T("DI", "FUNDA", "", "01/05/99", 0, 5, 1.0), condition),
                  reports::FundLotOutcome::kChainDamaged)
            << name;
        EXPECT_EQ(Apply(lots, T("B", "FUNDB", "", "01/05/99", 1, 5, 5.0), condition),
                  reports::FundLotOutcome::kChainDamaged)
            << name;
        EXPECT_EQ(condition, 0) << name;
        lots.Mfcash(100);
        EXPECT_TRUE(lots.Flush());
        EXPECT_EQ(WorkFileBytes(), before) << name;
    }
}

TEST(MflotuDamagedFile, FreeChainHeadInUseSendsTheNewLotAfterTheLastRecord) {
    fixtures::TempDataDir dir;
    // The next free record is the cash element itself.
    WriteWorkFile({HeaderBytes(2, 2, 2), LotBytes(Cash(-1, 500, 500))});
    reports::FundLots lots(kAccount, kAsOf, records::Options{});
    lots.Resume();
    int16_t condition = -1;
    EXPECT_EQ(Apply(lots, T("B", "FUNDA", "A", "01/05/99", 10, 100, 1.0), condition),
              reports::FundLotOutcome::kApplied);
    ASSERT_TRUE(lots.Flush());
    const std::vector<Record> got = WorkFileRecords();
    const std::vector<Record> want = {HeaderBytes(2, 3, 2), LotBytes(Cash(3, 400, 400)),
                                      LotBytes(With(kFundA, -1, 10, 100, 100))};
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i].bytes(), want[i].bytes()) << "record " << i + 1;
}

TEST(MflotuMfcash, ChangesNothingWithoutAHeaderOrACashElement) {
    const std::vector<std::pair<const char*, std::vector<Record>>> files = {
        {"no header", {}},
        {"zero counters", {Record(128, 0), LotBytes(Cash(-1, 500, 500))}},
        {"no cash element", {HeaderBytes(2, 2, 3), LotBytes(With(kFundA, -1, 10, 100, 100))}},
    };
    for (const auto& [name, records] : files) {
        fixtures::TempDataDir dir;
        WriteWorkFile(records);
        const std::vector<unsigned char> before = WorkFileBytes();
        reports::FundLots lots(kAccount, kAsOf, records::Options{});
        lots.Resume();
        lots.Mfcash(250);
        EXPECT_TRUE(lots.Flush());
        EXPECT_EQ(WorkFileBytes(), before) << name;
    }
}

}  // namespace

namespace {

// Random histories over a few securities, lot codes and keys (NaN and 0
// among them), every code of the table and an unknown one, reinvested and
// excluded flags: whatever the history, the rebuild leaves one chain in
// lot order ending at -1 through records in use, and a free chain of freed
// records beside it.
TEST(MflotuRandomHistory, LeavesASoundChainAndFreeChain) {
    // Trades weigh more than the cash-only codes, so that lots open, close
    // and reopen in freed records.
    const std::vector<std::string> codes = {"B",  "B",  "B",  "S",  "S",  "S",  "SS", "SS", "CS", "CS",
                                            "SI", "SO", "SP", "DI", "DE", "II", "IE", "MF", "BC", "MI",
                                            "ME", "AI", "AO", "FI", "FO", "IP", "IS", "ZZ"};
    const std::vector<std::string> symbols = {"FUNDA", "FUNDB", "CASH"};
    const std::vector<double> keys = {0.0, 1.0, 2.0, -1.0, std::numeric_limits<double>::quiet_NaN()};
    std::mt19937 random(37);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 60; ++round) {
        fixtures::TempDataDir dir;
        fixtures::SetOptions({{records::Opt::kLotTexts, static_cast<unsigned char>(round % 2)},
                              {records::Opt::kSystemDecimals, static_cast<unsigned char>(round % 9)}});
        std::vector<TransactionRecord> history;
        const int count = 1 + static_cast<int>(pick(200));
        for (int i = 0; i < count; ++i) {
            const std::string day = std::to_string(10 + pick(18));
            TransactionRecord t = T(
                codes[pick(codes.size())], symbols[pick(symbols.size())], std::string(1, "Aa"[pick(2)]),
                "0" + std::to_string(1 + pick(9)) + "/" + day + "/99", static_cast<double>(1 + pick(3)) * 25,
                static_cast<double>(pick(1000)) / 4, keys[pick(4) == 0 ? pick(keys.size()) : 1]);
            if (pick(5) == 0) t.type = pick(2) == 0 ? "R   " : "N   ";
            t.bond_interest = pick(4) == 0 ? 1.25 : 0;
            history.push_back(t);
        }
        fixtures::WriteTransactions(kAccount, history);
        std::string name;
        records::Prtout("", "START", name);
        reports::Mfhold(kAccount, kAsOf, fixtures::DateNumber(kAsOf), 1);
        records::Prtout("", "END", name);

        const std::vector<Record> file = WorkFileRecords();
        if (file.empty()) continue;
        const records::HoldingsHeader header = records::HoldingsHeader::Decode(file[0]);
        ASSERT_LE(static_cast<std::size_t>(header.records_in_use), file.size()) << "round " << round;
        std::vector<int> seen(file.size() + 1, 0);
        records::LotOrder last{};
        bool first = true;
        for (long link = header.first_lot; link != -1;
             link = file[static_cast<std::size_t>(link - 1)].I16(0)) {
            ASSERT_GE(link, 2) << "round " << round;
            ASSERT_LE(link, header.records_in_use) << "round " << round;
            ASSERT_EQ(seen[static_cast<std::size_t>(link)]++, 0) << "round " << round;
            const Record& lot = file[static_cast<std::size_t>(link - 1)];
            // A NaN key compares with nothing: the lots about it are
            // checked against the last lot with a key.
            if (std::isnan(lot.R8(2))) continue;
            const records::LotOrder place = records::LotOrder::OfRecord(lot);
            if (!first) {
                EXPECT_FALSE(place < last) << "round " << round << " record " << link;
            }
            last = place;
            first = false;
        }
        for (long link = header.next_free; link <= header.records_in_use;
             link = file[static_cast<std::size_t>(link - 1)].I16(0)) {
            ASSERT_GE(link, 2) << "round " << round;
            ASSERT_EQ(seen[static_cast<std::size_t>(link)]++, 0) << "round " << round;
            EXPECT_TRUE(records::DeletedLot::Is(file[static_cast<std::size_t>(link - 1)]))
                << "round " << round;
        }
        // Every record in use is a lot or a freed record.
        for (long n = 2; n <= header.records_in_use; ++n)
            EXPECT_EQ(seen[static_cast<std::size_t>(n)], 1) << "round " << round << " record " << n;
    }
}

}  // namespace

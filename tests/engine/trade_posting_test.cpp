#include "engine/trade_posting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/lot_lists.h"
#include "records/account_records.h"
#include "records/dates.h"
#include "tests/engine/posting_fixture.h"

namespace {

using engine::EntryForm;
using engine::PostingMode;
using posting_fixture::AccountFiles;
using posting_fixture::CheckCase;
using posting_fixture::ExpectRejections;
using posting_fixture::kAccount;
using posting_fixture::kHl;
using posting_fixture::kTr;
using posting_fixture::kTrExt;
using posting_fixture::ReadRecordOf;

const std::string kGl = "GLACC1.REC";

// The single-precision "no lot cost" marker as a double holds it.
const double kNoLotCost = static_cast<double>(-99999.99f);

struct Trade {
    std::string code = "B";
    std::string symbol = "IBM";
    std::string lot = "1";
    std::string date = "1/15/98";
    std::string shares = "1000.00";
    std::string price = "45.50";
    std::string per_share = "";
    std::string commission = "";
    std::string fee = "";
    std::string settlement = "";
    std::string broker = "BRK1";
};

EntryForm TradeForm(const Trade& t) {
    return posting_fixture::Form({{1, kAccount},
                                  {2, t.symbol},
                                  {3, t.code},
                                  {4, t.lot},
                                  {5, t.date},
                                  {6, t.settlement},
                                  {8, t.broker},
                                  {10, t.shares},
                                  {11, t.price},
                                  {15, t.per_share},
                                  {16, t.commission},
                                  {17, t.fee}});
}

class TradePosting : public ::testing::Test {
protected:
    void SetUp() override { posting_fixture::WriteDataDirectory(); }

    // Posts a trade that must pass; returns its record number.
    int32_t Post(const Trade& t, PostingMode mode = PostingMode::kAdd, int32_t record = 0) {
        return posting_fixture::PostValid(engine::Fbuysell, TradeForm(t), mode, record);
    }

    fixtures::TempDataDir dir_;
};

// ---- Checks

TEST_F(TradePosting, ChecksRejectFieldsAndWriteNothing) {
    Post({});  // record 2, so that changes have a transaction to name
    const std::vector<CheckCase> cases = {
        {"unknown account", {{1, "NOPE"}}, {{1, "Invalid account identifier."}}},
        {"unknown security", {{2, "XYZ"}}, {{2, "Invalid security identifier."}}},
        {"symbol differs in case", {{2, "ibm"}}, {{2, "Invalid security identifier."}}},
        {"cash code", {{3, "FI"}}, {{3, "Invalid transaction code."}}},
        {"transfer code", {{3, "SI"}}, {{3, "Invalid transaction code."}}},
        {"unknown code", {{3, "XX"}}, {{3, "Invalid transaction code."}}},
        {"lower-case lot on a buy",
         {{4, "ab"}},
         {{4, "Buy/sell tax lot requires a letter, number or combination."}}},
        {"upper-case lot on a short sale",
         {{3, "SS"}, {4, "AB"}},
         {{4, "Short/cover tax lot requires lower case letter(s)."}}},
        {"blank lot on a cover",
         {{3, "CS"}, {4, ""}},
         {{4, "Short/cover tax lot requires lower case letter(s)."}}},
        {"before the opening", {{5, "01/01/95"}}, {{5, "Date must be no earlier than  1/ 2/95."}}},
        {"no such day", {{5, "2/30/98"}}, {{5, "Date 2/30/98  not valid."}}},
        {"hyphens", {{5, "12-31-98"}}, {{5, "Invalid form, enter date in form MO/DA/YR."}}},
        {"blank trade date", {{5, ""}}, {{5, "Invalid form, enter date in form MO/DA/YR."}}},
        {"bad settlement date", {{6, "13/01/98"}}, {{6, "Date 13/01/98 not valid."}}},
        {"unknown money-market fund", {{7, "NOPE"}}, {{7, "Invalid money market identifier."}}},
        {"every number",
         {{10, "a"},
          {11, "b"},
          {12, "c"},
          {13, "d"},
          {14, "e"},
          {15, "f"},
          {16, "g"},
          {17, "h"},
          {18, "1e5"}},
         {{10, "Value must be numeric."},
          {11, "Value must be numeric."},
          {12, "Value must be numeric."},
          {13, "Value must be numeric."},
          {14, "Value must be numeric."},
          {15, "Value must be numeric."},
          {16, "Value must be numeric."},
          {17, "Value must be numeric."},
          {18, "Value must be numeric."}}},
        {"price too wide for a single", {{11, "99999999999999999999"}}, {{11, "Value must be numeric."}}},
        {"both commissions",
         {{15, "0.05"}, {16, "10.00"}},
         {{15, "Enter either total or per share commission."}}},
        {"several at once",
         {{1, "NOPE"}, {2, "XYZ"}, {3, "SO"}, {10, "x"}},
         {{1, "Invalid account identifier."},
          {2, "Invalid security identifier."},
          {3, "Invalid transaction code."},
          {10, "Value must be numeric."}}},
        {"change of a record not in use",
         {},
         {{9, "No transaction in this record."}},
         PostingMode::kChange,
         3},
        {"deletion of the header", {}, {{9, "No transaction in this record."}}, PostingMode::kDelete, 1},
    };
    // Each row changes a valid buy.
    posting_fixture::ExpectChecksRejectAndWriteNothing(engine::Fbuysell, TradeForm({}), cases);
}

TEST(TradePostingCodes, CkcodeAcceptsTradesOnlyAtModeZero) {
    struct Case {
        std::string typed;
        int16_t mode;
        int16_t flag, sign, direction;
    };
    const std::vector<Case> cases = {
        {"B", 0, 0, -1, 0},  {"S", 0, 0, 1, 0},  {"SS", 0, 0, 1, 0},  {"CS", 0, 0, -1, 0},
        {"SP", 0, 0, -1, 0}, {"FI", 0, 1, 1, 1}, {"FI", 1, 0, 1, 1},  {"FO", 1, 0, -1, -1},
        {"MF", 1, 0, -1, 0}, {"SI", 1, 1, 0, 1}, {"SO", 5, 1, 0, -1}, {"XX", 1, 1, 9, 9},
        {"b", 0, 1, 9, 9},   {" B", 0, 1, 9, 9},
    };
    for (const Case& c : cases) {
        std::string code = records::Fixed(c.typed, 4);
        int16_t direction = 9, sign = 9, flag = 0;
        engine::Ckcode(code, c.mode, direction, sign, flag);
        EXPECT_EQ(flag, c.flag) << c.typed;
        EXPECT_EQ(sign, c.sign) << c.typed;
        EXPECT_EQ(direction, c.direction) << c.typed;
        if (c.sign != 9) {
            EXPECT_EQ(code, records::Fixed(c.typed, 2) + "  ");
        }
    }
}

// ---- Filing

TEST_F(TradePosting, BuyFilesTheRecordExtensionHoldingsAndGainsByteExact) {
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}});
    Trade buy;
    buy.per_share = "0.05";
    buy.settlement = "1/20/98";
    const int32_t record = Post(buy);
    EXPECT_EQ(record, 2);

    EXPECT_EQ(ReadRecordOf(kTr, 1).I16(0), 2);
    const records::Record tr = ReadRecordOf(kTr, 2);
    EXPECT_EQ(tr.Text(0, 12), "IBM         ");
    EXPECT_EQ(tr.Text(12, 4), "1   ");
    EXPECT_EQ(tr.Text(16, 8), " 1/15/98");
    EXPECT_EQ(tr.Text(24, 4), "B   ");
    EXPECT_EQ(tr.R8(28), 1000.0);
    EXPECT_EQ(tr.R4(36), 45.5f);
    EXPECT_EQ(tr.R8(40), 45550.0);  // cost: 1,000 x 45.50 plus 1,000 x 0.05 commission
    EXPECT_EQ(tr.Text(48, 8), "BRK1    ");
    EXPECT_EQ(tr.R8(56), 50.0);
    EXPECT_EQ(tr.R8(64), 0.0);
    EXPECT_EQ(tr.Text(72, 8), " 1/15/98");
    EXPECT_EQ(tr.R8(80), 45550.0);
    EXPECT_EQ(tr.R4(88), 980115.0f);
    EXPECT_EQ(tr.R8(92), records::Gtprcd('H', "12  ", 0.0f, "459200101   "));
    EXPECT_EQ(tr.I16(100), 2);
    EXPECT_EQ(tr.Text(102, 4), "    ");
    EXPECT_EQ(tr.I16(106), 0);
    EXPECT_EQ(tr.Text(108, 8), " 1/20/98");
    EXPECT_EQ(tr.R8(116), 0.0);
    EXPECT_EQ(tr.U32(124), 0u);

    posting_fixture::ExpectExtensionWithOnlyTheDate(ReadRecordOf(kTrExt, 2), " 1/20/98");

    // The rebuild: the lot opened in record 2, the cash lot in record 3 at
    // the head of the list.
    const records::Record head = ReadRecordOf(kHl, 1);
    EXPECT_EQ(head.I16(0), 3);
    EXPECT_EQ(head.Text(2, 8), "ACC1    ");
    EXPECT_EQ(head.I16(10), 3);
    EXPECT_EQ(head.I16(12), 4);
    const records::Record cash = ReadRecordOf(kHl, 3);
    EXPECT_EQ(cash.I16(0), 2);
    EXPECT_EQ(cash.R8(2), 0.0);
    EXPECT_EQ(cash.Text(10, 12), "CASH        ");
    EXPECT_EQ(cash.R8(36), -45550.0);
    EXPECT_EQ(cash.R8(44), -45550.0);
    const records::Record lot = ReadRecordOf(kHl, 2);
    EXPECT_EQ(lot.I16(0), -1);
    EXPECT_EQ(lot.Text(10, 12), "IBM         ");
    EXPECT_EQ(lot.I16(22), 2);
    EXPECT_EQ(lot.Text(24, 8), "BRK1    ");
    EXPECT_EQ(lot.Text(32, 4), "1   ");
    EXPECT_EQ(lot.R8(36), 1000.0);
    EXPECT_EQ(lot.R8(44), 45550.0);
    EXPECT_EQ(lot.Text(52, 8), " 1/15/98");

    // No sale, no gain: the gains file is there and empty.
    EXPECT_TRUE(fixtures::TempDataDir::Exists(kGl));
    EXPECT_TRUE(fixtures::TempDataDir::ReadBytes(kGl).empty());
}

TEST_F(TradePosting, SaleTakesItsCommissionAndTheSecFeeWhenOneIsAskedForOffTheProceeds) {
    struct Case {
        std::string fee;
        std::string commission;
        double filed_fee;
        double proceeds;
    };
    // 10,000 x 45.50 = 455,000; 455,000 / 30,000 = 15.1667, plus 0.005,
    // to two decimals; a commission of 25.00 comes off the proceeds too.
    for (const Case& c : {Case{"1.00", "", 15.17, 454984.83}, Case{"", "", 0.0, 455000.0},
                          Case{"", "25.00", 0.0, 454975.0}, Case{"1.00", "25.00", 15.17, 454959.83}}) {
        SCOPED_TRACE(c.fee + " " + c.commission);
        fixtures::TempDataDir dir;
        posting_fixture::WriteDataDirectory();
        Trade buy;
        buy.shares = "10000.00";
        Post(buy);
        double cash = 0;
        int16_t count = 0;
        std::vector<engine::LotListEntry> lots;
        engine::Push(kAccount, "IBM", cash, count, lots);  // as the Trades dialog lists the lots
        ASSERT_EQ(count, 1);

        Trade sale = buy;
        sale.code = "S";
        sale.date = "6/1/98";
        sale.fee = c.fee;
        sale.commission = c.commission;
        const int32_t record = Post(sale);
        EXPECT_EQ(record, 3);
        const records::Record tr = ReadRecordOf(kTr, 3);
        EXPECT_EQ(tr.Text(24, 4), "S   ");
        EXPECT_NEAR(tr.R8(116), c.filed_fee, 1e-9);
        EXPECT_NEAR(tr.R8(40), c.proceeds, 1e-9);
        EXPECT_EQ(tr.Text(72, 8), " 1/15/98");  // the lot's open date from the listed lots
        EXPECT_EQ(tr.R8(80), kNoLotCost);
        EXPECT_EQ(tr.I16(106), 2);  // its gain's record in GL<acct>.REC, set by the rebuild

        const fixtures::Gains gains = fixtures::ReadGains(kGl);
        ASSERT_EQ(gains.gains.size(), 1u);
        EXPECT_NEAR(gains.gains[0].proceeds, c.proceeds, 1e-9);
        EXPECT_NEAR(gains.gains[0].cost, 455000.0, 1e-9);
        const fixtures::Holdings h = fixtures::ReadHoldings(kHl);
        ASSERT_EQ(h.lots.size(), 1u);
        EXPECT_EQ(h.lots[0].second.symbol, "CASH        ");
        EXPECT_NEAR(h.lots[0].second.cost, c.proceeds - 455000.0, 1e-9);
    }
}

TEST_F(TradePosting, BondsCountFaceValueInHundreds) {
    Trade bond;
    bond.symbol = "BOND";
    bond.shares = "10000.00";
    bond.price = "98.50";
    bond.commission = "25.00";
    Post(bond);
    const records::Record tr = ReadRecordOf(kTr, 2);
    EXPECT_EQ(tr.R8(28), 10000.0);  // the face value as entered
    EXPECT_EQ(tr.R4(36), 98.5f);
    EXPECT_EQ(tr.R8(40), 9875.0);  // 100 x 98.50 plus the commission
    EXPECT_EQ(tr.R8(92), records::Gtprcd('B', "03  ", 1100615.0f, "BOND        "));
    const fixtures::Holdings h = fixtures::ReadHoldings(kHl);
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_EQ(h.lots[1].second.quantity, 10000.0);
    EXPECT_EQ(h.lots[1].second.cost, 9875.0);
}

TEST_F(TradePosting, ChangesAndDeletionsRebuildTheHoldings) {
    Trade buy;
    buy.shares = "100.00";
    buy.price = "10.00";
    Post(buy);
    Trade sale = buy;
    sale.code = "S";
    sale.date = "3/2/98";
    sale.shares = "40.00";
    sale.price = "12.00";
    Post(sale);

    // A larger buy: 60 shares stay open.
    buy.shares = "150.00";
    EXPECT_EQ(Post(buy, PostingMode::kChange, 2), 2);
    fixtures::Holdings h = fixtures::ReadHoldings(kHl);
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_EQ(h.lots[1].second.quantity, 110.0);

    // A changed sale keeps no lot cost.
    sale.price = "13.00";
    Post(sale, PostingMode::kChange, 3);
    const records::Record tr = ReadRecordOf(kTr, 3);
    EXPECT_EQ(tr.R8(80), kNoLotCost);
    EXPECT_EQ(tr.R8(40), 520.0);

    // Deleting the sale blanks its record and gives the lot back.
    Post(sale, PostingMode::kDelete, 3);
    EXPECT_EQ(ReadRecordOf(kTr, 3).Text(0, 128), std::string(128, ' '));
    EXPECT_EQ(ReadRecordOf(kTr, 1).I16(0), 3);
    h = fixtures::ReadHoldings(kHl);
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_EQ(h.lots[1].second.quantity, 150.0);
    EXPECT_EQ(fixtures::ReadGains(kGl).gains.size(), 0u);
}

// ---- All or nothing

TEST_F(TradePosting, ARefusedRebuildPutsEveryFileBack) {
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}});
    Trade buy;
    buy.shares = "100.00";
    buy.price = "10.00";
    Post(buy);
    Trade sale = buy;
    sale.code = "S";
    sale.date = "3/2/98";
    Post(sale);

    Trade smaller_buy = buy;
    smaller_buy.shares = "50.00";
    Trade oversale = sale;
    oversale.shares = "200.00";
    Trade other_lot = sale;
    other_lot.lot = "9";
    posting_fixture::ExpectEachRefused(
        engine::Fbuysell,
        {
            {"a changed buy leaves the sale exceeding its lot", TradeForm(smaller_buy), PostingMode::kChange,
             2},
            {"a deleted buy leaves the sale without a lot", TradeForm(buy), PostingMode::kDelete, 2},
            {"an added sale exceeds its lot", TradeForm(oversale), PostingMode::kAdd, 0},
            {"an added sale names no open lot", TradeForm(other_lot), PostingMode::kAdd, 0},
        },
        {{9, "This lot has been partially or totally sold/covered."}}, AccountFiles);
}

TEST_F(TradePosting, ARebuildThatCannotPutItsFilesInPlaceIsUndone) {
    Post({});
    const auto before = AccountFiles();
    // The new gains file cannot take its place: a folder stands there. The
    // rebuild has already put the new holdings file in place by then.
    std::filesystem::remove(kGl);
    std::filesystem::create_directories(kGl + "/x");
    const auto without_gains = AccountFiles();
    Trade more;
    more.date = "2/1/98";
    EntryForm form = TradeForm(more);
    int32_t record = 0;
    engine::Fbuysell(PostingMode::kAdd, record, form);
    ExpectRejections(form, {{9, "Files could not be written; nothing was posted."}});
    EXPECT_TRUE(AccountFiles() == without_gains);
    EXPECT_EQ(fixtures::ReadHoldings(kHl).lots.size(), 2u);
    EXPECT_EQ(before.at(kHl), AccountFiles().at(kHl));
}

TEST_F(TradePosting, AFullTransactionFileTakesNoMoreTrades) {
    Post({});
    posting_fixture::FillTransactionFile();
    Trade more;
    more.date = "2/1/98";
    posting_fixture::ExpectRefused(engine::Fbuysell, TradeForm(more), PostingMode::kAdd, 0,
                                   {{9, "Files could not be written; nothing was posted."}}, AccountFiles);
}

}  // namespace

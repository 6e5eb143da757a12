#include "engine/cash_posting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/lot_lists.h"
#include "engine/rebuild.h"
#include "engine/trade_posting.h"
#include "engine/transfer_posting.h"
#include "engine/value_history.h"
#include "records/account_records.h"
#include "records/dates.h"
#include "tests/engine/posting_fixture.h"

namespace {

using engine::EntryForm;
using engine::MonthlyValues;
using engine::PostingMode;
using posting_fixture::AccountFiles;
using posting_fixture::CheckCase;
using posting_fixture::DirectoryBytes;
using posting_fixture::ExpectRejections;
using posting_fixture::kAccount;
using posting_fixture::kHl;
using posting_fixture::kTr;
using posting_fixture::kTrExt;
using posting_fixture::ReadRecordOf;

const std::string kHistory = "HLACC1.DAT";

struct Cash {
    std::string code = "FI";
    std::string date = "3/15/98";
    std::string amount = "1000.00";
    std::string text = "";
    std::string type = "";
};

EntryForm CashForm(const Cash& c) {
    return posting_fixture::Form(
        {{1, kAccount}, {3, c.code}, {4, c.date}, {6, c.amount}, {7, c.text}, {9, c.type}});
}

// One year of the value history.
struct Year {
    MonthlyValues values{}, flows{}, incomes{};
};

Year ReadYear(int16_t year) {
    Year y;
    int16_t record = 0, year_out = 0;
    engine::Rperf(kAccount, year, record, year_out, y.values, y.flows, y.incomes);
    return y;
}

// Twelve months: `before` up to the month before `from`, `after` from it on.
MonthlyValues Step(int from, double after, double before = 0) {
    MonthlyValues v{};
    for (int m = 1; m <= 12; ++m) v[static_cast<std::size_t>(m - 1)] = m < from ? before : after;
    return v;
}
MonthlyValues Only(int month, double value) {
    MonthlyValues v{};
    v[static_cast<std::size_t>(month - 1)] = value;
    return v;
}

double CashBalance() {
    double balance = 0;
    engine::Cashbal(kAccount, balance);
    return balance;
}

class CashPosting : public ::testing::Test {
protected:
    void SetUp() override {
        posting_fixture::WriteDataDirectory();
        ReadYear(98);  // starts the history with 1998, all zeros
    }

    int32_t Post(const Cash& c, PostingMode mode = PostingMode::kAdd, int32_t record = 0) {
        return posting_fixture::PostValid(engine::Fcash, CashForm(c), mode, record);
    }

    fixtures::TempDataDir dir_;
};

// The holdings file as the postings left it is what a rebuild makes.
void ExpectHoldingsAsARebuildMakesThem() {
    const auto incremental = fixtures::TempDataDir::ReadBytes(kHl);
    int16_t flag = 0;
    engine::Rbldhl(kAccount, flag);
    ASSERT_EQ(flag, 0);
    EXPECT_TRUE(fixtures::TempDataDir::ReadBytes(kHl) == incremental);
}

// ---- Checks

TEST_F(CashPosting, ChecksRejectFieldsAndWriteNothing) {
    Post({});  // record 2
    // Record 3: a trade, which cash posting may not change.
    {
        EntryForm buy = posting_fixture::Form(
            {{1, kAccount}, {2, "IBM"}, {3, "B"}, {4, "1"}, {5, "1/15/98"}, {10, "10.00"}, {11, "5.00"}});
        int32_t record = 0;
        engine::Fbuysell(PostingMode::kAdd, record, buy);
        ASSERT_EQ(record, 3);
    }
    const std::vector<CheckCase> cases = {
        {"unknown account", {{1, "NOPE"}}, {{1, "Invalid account identifier."}}},
        {"buy", {{3, "B"}}, {{3, "Invalid transaction code."}}},
        {"sale", {{3, "S"}}, {{3, "Invalid transaction code."}}},
        {"short sale", {{3, "SS"}}, {{3, "Invalid transaction code."}}},
        {"transfer in", {{3, "SI"}}, {{3, "Invalid transaction code."}}},
        {"transfer out", {{3, "SO"}}, {{3, "Invalid transaction code."}}},
        {"unknown code", {{3, "XX"}}, {{3, "Invalid transaction code."}}},
        {"lower case", {{3, "fi"}}, {{3, "Invalid transaction code."}}},
        {"after the program date", {{4, "1/1/99"}}, {{4, "Date must be no later than 12/31/98."}}},
        {"before the opening", {{4, "12/31/94"}}, {{4, "Date must be no earlier than  1/ 2/95."}}},
        {"no such day", {{4, "2/30/98"}}, {{4, "Date 2/30/98  not valid."}}},
        {"amount", {{6, "ten"}}, {{6, "Value must be numeric."}}},
        {"several",
         {{1, "NOPE"}, {3, "B"}, {6, "x"}},
         {{1, "Invalid account identifier."},
          {3, "Invalid transaction code."},
          {6, "Value must be numeric."}}},
        {"change of a record not in use",
         {},
         {{9, "No transaction in this record."}},
         PostingMode::kChange,
         4},
        {"deletion of a trade",
         {},
         {{9, "This record does not hold a cash transaction."}},
         PostingMode::kDelete,
         3},
    };
    posting_fixture::ExpectChecksRejectAndWriteNothing(engine::Fcash, CashForm({}), cases);
}

TEST(CashPostingCodes, CkcodcGivesDirectionAndSignAndRefusesTradeCodes) {
    const std::vector<posting_fixture::CodeCase> cases = {
        {"FI", 0, 1, 1},  {"FO", 0, -1, -1}, {"MF", 0, -1, -1}, {"BC", 0, -1, -1}, {"DI", 0, 1, 0},
        {"DE", 0, -1, 0}, {"IP", 0, -1, 0},  {"IS", 0, 1, 0},   {"AO", 0, -1, 0},  {"B", 1, -1, 0},
        {" S", 1, 1, 0},  {"SI", 1, 0, 1},   {"SO", 1, 0, -1},  {"XX", 1, 9, 9},
    };
    posting_fixture::ExpectCodeChecks(engine::Ckcodc, cases);
    std::string code = "XX  ";
    int16_t direction = 9, sign = 9, state = 3, flag = 0;
    engine::Ckcodc(code, direction, sign, state, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(sign, 9);
}

// ---- Filing

TEST_F(CashPosting, DepositFilesTheRecordCashLotAndHistoryByteExact) {
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}});
    Cash deposit;
    deposit.text = "IBM";
    EXPECT_EQ(Post(deposit), 2);

    EXPECT_EQ(ReadRecordOf(kTr, 1).I16(0), 2);
    const records::Record tr = ReadRecordOf(kTr, 2);
    EXPECT_EQ(tr.Text(0, 12), "CASH        ");  // a deposit is cash whatever field 7 says
    EXPECT_EQ(tr.Text(12, 4), "    ");
    EXPECT_EQ(tr.Text(16, 8), " 3/15/98");
    EXPECT_EQ(tr.Text(24, 4), "FI  ");
    EXPECT_EQ(tr.R8(28), -99999.99);
    EXPECT_EQ(tr.R4(36), -999.99f);
    EXPECT_EQ(tr.R8(40), 1000.0);
    EXPECT_EQ(tr.Text(48, 8), "        ");
    EXPECT_EQ(tr.R8(56), 0.0);
    EXPECT_EQ(tr.R8(64), 0.0);
    EXPECT_EQ(tr.Text(72, 8), "        ");
    EXPECT_EQ(tr.R8(80), 0.0);
    EXPECT_EQ(tr.R4(88), 980315.0f);
    // The key of security record 1, whose master record the deposit names.
    EXPECT_EQ(tr.R8(92), records::Gtprcd('1', "    ", 0.0f, "CASH        "));
    EXPECT_EQ(tr.I16(100), 1);
    EXPECT_EQ(tr.Text(102, 4), "    ");
    EXPECT_EQ(tr.I16(106), 0);
    EXPECT_EQ(tr.Text(108, 20), "IBM                 ");
    const records::Record ext = ReadRecordOf(kTrExt, 2);
    for (std::size_t b = 0; b < 60; ++b) EXPECT_EQ(ext.data()[b], 0) << b;

    // A cash lot in a new holdings file, as a rebuild would make it.
    const records::Record head = ReadRecordOf(kHl, 1);
    EXPECT_EQ(head.I16(0), 2);
    EXPECT_EQ(head.Text(2, 8), "ACC1    ");
    EXPECT_EQ(head.I16(10), 2);
    EXPECT_EQ(head.I16(12), 3);
    EXPECT_EQ(head.Text(14, 8), std::string(8, '\0'));
    const records::Record cash = ReadRecordOf(kHl, 2);
    EXPECT_EQ(cash.I16(0), -1);
    EXPECT_EQ(cash.R8(2), 0.0);
    EXPECT_EQ(cash.Text(10, 12), "CASH        ");
    EXPECT_EQ(cash.I16(22), 2);
    EXPECT_EQ(cash.R8(36), 1000.0);
    EXPECT_EQ(cash.R8(44), 1000.0);
    ASSERT_NO_FATAL_FAILURE(ExpectHoldingsAsARebuildMakesThem());

    // The history: a capital flow in March, the market values from March on.
    const Year y = ReadYear(98);
    EXPECT_EQ(y.flows, Only(3, 1000));
    EXPECT_EQ(y.values, Step(3, 1000));
    EXPECT_EQ(y.incomes, MonthlyValues{});
    const records::Record carried = ReadRecordOf(kHistory, 4);
    EXPECT_EQ(carried.R8(2 + 8 * 2), 1000.0);  // March of the carried series
    EXPECT_EQ(carried.R8(2 + 8 * 1), 0.0);
}

TEST_F(CashPosting, IncomeNamesThePayingSecurity) {
    struct Case {
        std::string code, text;
        std::string symbol;
        int16_t security_record;
        double income;  // in the month's income series
    };
    const std::vector<Case> cases = {
        {"DI", "IBM", "IBM         ", 2, 50},   {"DI", "NOPE", "CASH        ", 0, 50},
        {"DI", "CASH", "CASH        ", 1, 50},  // the first security counts as cash
        {"IP", "BOND", "BOND        ", 3, -50}, {"FI", "IBM", "CASH        ", 1, 0},
    };
    int32_t expected_record = 2;
    double income = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code + " " + c.text);
        Cash item;
        item.code = c.code;
        item.text = c.text;
        item.amount = "50.00";
        item.date = "4/1/98";
        EXPECT_EQ(Post(item), expected_record);
        const records::Record tr = ReadRecordOf(kTr, expected_record++);
        EXPECT_EQ(tr.Text(0, 12), c.symbol);
        EXPECT_EQ(tr.I16(100), c.security_record);
        income += c.income;
        EXPECT_EQ(ReadYear(98).incomes, Only(4, income));
    }
    EXPECT_EQ(ReadRecordOf(kTr, 2).R8(92), records::Gtprcd('H', "12  ", 0.0f, "459200101   "));
    EXPECT_EQ(CashBalance(), 50.0 + 50 + 50 - 50 + 50);
}

TEST_F(CashPosting, WithdrawalsAndFeesFlowOut) {
    Cash withdrawal;
    withdrawal.code = "FO";
    withdrawal.amount = "500.00";
    withdrawal.date = "6/10/98";
    Post(withdrawal);
    Year y = ReadYear(98);
    EXPECT_EQ(y.flows, Only(6, -500));
    EXPECT_EQ(y.values, Step(6, -500));
    EXPECT_EQ(CashBalance(), -500.0);

    // A management fee flows out too, unless option 20 counts it by type.
    Cash fee;
    fee.code = "MF";
    fee.amount = "25.00";
    fee.date = "7/1/98";
    Post(fee);
    y = ReadYear(98);
    EXPECT_EQ(y.flows[6], -25.0);
    EXPECT_EQ(y.values[6], -525.0);
    fixtures::SetOptions({{records::Opt::kFeesAsExpense, 1}});
    Post(fee);
    fee.type = "R";
    Post(fee);
    y = ReadYear(98);
    EXPECT_EQ(y.flows[6], -25.0 + 0 + 25);
    EXPECT_EQ(y.values[6], -575.0);
    EXPECT_EQ(CashBalance(), -575.0);
}

TEST_F(CashPosting, TypeNKeepsTheCashLotAndTheValuesAlone) {
    Cash deposit;
    deposit.type = "N";
    Post(deposit);
    EXPECT_EQ(ReadRecordOf(kTr, 2).Text(102, 4), "N   ");
    EXPECT_FALSE(fixtures::TempDataDir::Exists(kHl));
    Cash dividend;
    dividend.code = "DI";
    dividend.date = "4/1/98";
    dividend.text = "IBM";
    dividend.amount = "40.00";
    dividend.type = "N";
    Post(dividend);
    EXPECT_FALSE(fixtures::TempDataDir::Exists(kHl));
    const Year y = ReadYear(98);
    EXPECT_EQ(y.values, MonthlyValues{});
    // The deposit adds no flow; the dividend is income that never reached
    // the account's cash, so it leaves as a flow of its own.
    EXPECT_EQ(y.flows, Only(4, -40));
    EXPECT_EQ(y.incomes, Only(4, 40));
}

TEST_F(CashPosting, ChangesAndDeletionsTakeTheStoredTransactionOutInFull) {
    Cash deposit;
    const int32_t record = Post(deposit);

    // 1,000 to 1,200: the history and the cash lot move by 200.
    deposit.amount = "1200.00";
    EXPECT_EQ(Post(deposit, PostingMode::kChange, record), record);
    Year y = ReadYear(98);
    EXPECT_EQ(y.flows, Only(3, 1200));
    EXPECT_EQ(y.values, Step(3, 1200));
    EXPECT_EQ(CashBalance(), 1200.0);
    EXPECT_EQ(ReadRecordOf(kTr, record).R8(40), 1200.0);

    // A new date moves the flow to its month.
    deposit.date = "5/20/98";
    Post(deposit, PostingMode::kChange, record);
    y = ReadYear(98);
    EXPECT_EQ(y.flows, Only(5, 1200));
    EXPECT_EQ(y.values, Step(5, 1200));
    EXPECT_EQ(CashBalance(), 1200.0);

    // A new code turns the deposit into a withdrawal.
    deposit.code = "FO";
    Post(deposit, PostingMode::kChange, record);
    y = ReadYear(98);
    EXPECT_EQ(y.flows, Only(5, -1200));
    EXPECT_EQ(CashBalance(), -1200.0);

    // A deletion takes out what is stored, whatever amount the form holds.
    deposit.amount = "1.00";
    Post(deposit, PostingMode::kDelete, record);
    y = ReadYear(98);
    EXPECT_EQ(y.flows, MonthlyValues{});
    EXPECT_EQ(y.values, MonthlyValues{});
    EXPECT_EQ(CashBalance(), 0.0);
    EXPECT_EQ(ReadRecordOf(kTr, record).Text(0, 128), std::string(128, ' '));
}

TEST_F(CashPosting, TheCashLotAgreesWithARebuild) {
    posting_fixture::PostValid(
        engine::Fbuysell,
        posting_fixture::Form(
            {{1, kAccount}, {2, "IBM"}, {3, "B"}, {4, "1"}, {5, "1/15/98"}, {10, "100.00"}, {11, "45.50"}}),
        PostingMode::kAdd, 0);

    const int32_t deposit = Post({.amount = "10000.00"});
    const int32_t dividend = Post({.code = "DI", .date = "4/1/98", .amount = "12.345", .text = "IBM"});
    Post({.code = "AO", .date = "5/1/98", .amount = "200.00"});
    Post({.amount = "15000.00"}, PostingMode::kChange, deposit);
    Post({.code = "DI", .date = "4/1/98", .amount = "1.00"}, PostingMode::kDelete, dividend);
    Post({.code = "IS", .date = "6/1/98", .amount = "0.005"});

    EXPECT_EQ(CashBalance(), -4550.0 + 15000 - 200 + 0.01);
    ExpectHoldingsAsARebuildMakesThem();
}

// Every code that cash posting takes moves the cash lot as the replay
// does (a wrong sign of one code shows at that code): each is added, then
// changed, and the cash lot checked against a rebuild after each step.
TEST_F(CashPosting, EveryCashCodeAgreesWithARebuild) {
    posting_fixture::PostValid(
        engine::Fbuysell,
        posting_fixture::Form(
            {{1, kAccount}, {2, "IBM"}, {3, "B"}, {4, "1"}, {5, "1/15/98"}, {10, "100.00"}, {11, "45.50"}}),
        PostingMode::kAdd, 0);
    for (const char* code :
         {"FI", "FO", "DI", "DE", "II", "IE", "MF", "BC", "MI", "ME", "AI", "AO", "IP", "IS"}) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(engine::IsCashCode(code));
        const int32_t record = Post({.code = code, .date = "4/1/98", .amount = "123.456", .text = "IBM"});
        ASSERT_NO_FATAL_FAILURE(ExpectHoldingsAsARebuildMakesThem());
        Post({.code = code, .date = "4/2/98", .amount = "7.01", .text = "IBM"}, PostingMode::kChange, record);
        ASSERT_NO_FATAL_FAILURE(ExpectHoldingsAsARebuildMakesThem());
    }
}

TEST_F(CashPosting, ANewCashLotTakesAFreedRecordAsARebuildDoes) {
    // Two lots transferred in, the first withdrawn: its record heads the
    // free chain, and the account has no cash lot.
    auto transfer = [](const std::string& code, const std::string& symbol, const std::string& date) {
        posting_fixture::PostValid(engine::Fasset,
                                   posting_fixture::Form({{1, kAccount},
                                                          {2, symbol},
                                                          {3, code},
                                                          {4, date},
                                                          {6, "1"},
                                                          {8, "6/1/90"},
                                                          {10, "10.00"},
                                                          {11, "100.00"},
                                                          {12, "80.00"}}),
                                   PostingMode::kAdd, 0);
    };
    transfer("SI", "IBM", "2/1/98");
    transfer("SI", "BOND", "2/1/98");
    transfer("SO", "IBM", "2/2/98");
    ASSERT_EQ(ReadRecordOf(kHl, 1).I16(12), 2);

    Post({.amount = "700.00"});
    const fixtures::Holdings h = fixtures::ReadHoldings(kHl);
    ASSERT_EQ(h.lots.size(), 2u);
    EXPECT_EQ(h.lots[0].first, 2);
    EXPECT_EQ(h.lots[0].second.symbol, "CASH        ");
    EXPECT_EQ(h.lots[1].second.symbol, "BOND        ");
    ExpectHoldingsAsARebuildMakesThem();
}

// ---- All or nothing

TEST_F(CashPosting, ADamagedHoldingsFileRefusesThePosting) {
    Post({});
    // The list's first link points past the end of the file.
    records::Record head = ReadRecordOf(kHl, 1);
    head.SetI16(0, 7);
    records::DirectFile(kHl, 128).Write(1, head);
    const auto before = DirectoryBytes();
    EntryForm form = CashForm({.amount = "5.00"});
    int32_t record = 0;
    engine::Fcash(PostingMode::kAdd, record, form);
    ExpectRejections(form, {{9, "*** Warning, system error no.  2  3 ***"}});
    EXPECT_TRUE(DirectoryBytes() == before);
}

TEST_F(CashPosting, ADamagedHistoryHeaderRefusesThePostingAndChangesNothing) {
    const int32_t record = Post({});
    const auto sound = AccountFiles();
    for (const auto& damage : posting_fixture::DamagedHistoryYears()) {
        SCOPED_TRACE(damage.name);
        posting_fixture::DamageHistoryYear(damage);
        posting_fixture::ExpectEachRefused(
            engine::Fcash,
            {
                {"add", CashForm({.code = "FO", .date = "8/1/98", .amount = "300.00"}), PostingMode::kAdd, 0},
                {"change", CashForm({.amount = "900.00"}), PostingMode::kChange, record},
                {"delete", CashForm({}), PostingMode::kDelete, record},
            },
            {{9, "Files could not be written; nothing was posted."}}, AccountFiles);
        // The file never grew; the sound header back for the next case.
        EXPECT_EQ(std::filesystem::file_size(kHistory), sound.at(kHistory).size());
        std::ofstream(kHistory, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(sound.at(kHistory).data()),
                   static_cast<std::streamsize>(sound.at(kHistory).size()));
    }
    EXPECT_TRUE(AccountFiles() == sound);
}

TEST_F(CashPosting, AFailedWritePutsEveryFileBack) {
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}});
    const int32_t record = Post({});
    const auto before = AccountFiles();
    // The holdings file cannot be replaced: a folder stands where its new
    // copy would be written.
    std::filesystem::create_directory("HLACC1.REC.new");
    for (PostingMode mode : {PostingMode::kAdd, PostingMode::kChange, PostingMode::kDelete}) {
        EntryForm form = CashForm({.code = "FO", .date = "8/1/98", .amount = "300.00"});
        int32_t r = mode == PostingMode::kAdd ? 0 : record;
        engine::Fcash(mode, r, form);
        ExpectRejections(form, {{9, "Files could not be written; nothing was posted."}});
        EXPECT_TRUE(AccountFiles() == before) << static_cast<char>(mode);
    }
}

TEST_F(CashPosting, AFullTransactionFileTakesNoMoreCash) {
    Post({});
    posting_fixture::FillTransactionFile();
    posting_fixture::ExpectRefused(engine::Fcash, CashForm({.amount = "5.00"}), PostingMode::kAdd, 0,
                                   {{9, "Files could not be written; nothing was posted."}}, AccountFiles);
}

}  // namespace

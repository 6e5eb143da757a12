#include "engine/transfer_posting.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

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
using posting_fixture::kAccount;
using posting_fixture::kHl;
using posting_fixture::kTr;
using posting_fixture::kTrExt;
using posting_fixture::ReadRecordOf;

struct Transfer {
    std::string code = "SI";
    std::string symbol = "IBM";
    std::string date = "3/15/98";
    std::string record_date = "";
    std::string lot = "1";
    std::string purchase_date = "6/1/90";
    std::string shares = "100.00";
    std::string amount = "5000.00";
    std::string cost = "2000.00";
};

EntryForm TransferForm(const Transfer& t) {
    return posting_fixture::Form({{1, kAccount},
                                  {2, t.symbol},
                                  {3, t.code},
                                  {4, t.date},
                                  {5, t.record_date},
                                  {6, t.lot},
                                  {7, "BRK1"},
                                  {8, t.purchase_date},
                                  {10, t.shares},
                                  {11, t.amount},
                                  {12, t.cost}});
}

MonthlyValues Flows() {
    MonthlyValues values{}, flows{}, incomes{};
    int16_t record = 0, year = 0;
    engine::Rperf(kAccount, 98, record, year, values, flows, incomes);
    EXPECT_EQ(values, MonthlyValues{});  // a transfer's sign is 0: no market value moves
    return flows;
}

MonthlyValues Only(std::vector<std::pair<int, double>> months) {
    MonthlyValues v{};
    for (const auto& [m, value] : months) v[static_cast<std::size_t>(m - 1)] = value;
    return v;
}

class TransferPosting : public ::testing::Test {
protected:
    void SetUp() override {
        posting_fixture::WriteDataDirectory();
        Flows();  // starts the history with 1998
    }

    int32_t Post(const Transfer& t, PostingMode mode = PostingMode::kAdd, int32_t record = 0) {
        return posting_fixture::PostValid(engine::Fasset, TransferForm(t), mode, record);
    }

    fixtures::TempDataDir dir_;
};

// ---- Checks

TEST_F(TransferPosting, ChecksRejectFieldsAndWriteNothing) {
    Post({});  // record 2
    const std::vector<CheckCase> cases = {
        {"unknown account", {{1, "NOPE"}}, {{1, "Invalid account identifier."}}},
        {"unknown security", {{2, "XYZ"}}, {{2, "Invalid security identifier."}}},
        {"trade code", {{3, "B"}}, {{3, "Invalid transaction code."}}},
        {"cash code", {{3, "FI"}}, {{3, "Invalid transaction code."}}},
        {"unknown code", {{3, "XX"}}, {{3, "Invalid transaction code."}}},
        {"after the program date", {{4, "1/1/99"}}, {{4, "Invalid transfer date."}}},
        {"before the opening", {{4, "1/1/95"}}, {{4, "Invalid transfer date."}}},
        {"no such transfer date", {{4, "2/30/98"}}, {{4, "Invalid transfer date."}}},
        {"record date typed day first", {{5, "31/12/98"}}, {{5, "Invalid record date."}}},
        {"lower-case lot", {{6, "ab"}}, {{6, "Transfer tax lot requires a letter, number or combination."}}},
        {"transfer in without a purchase date", {{8, ""}}, {{8, "Invalid purchase date."}}},
        {"bad purchase date", {{8, "13/1/90"}}, {{8, "Invalid purchase date."}}},
        {"numbers",
         {{10, "a"}, {11, "b"}, {12, "c"}},
         {{10, "Value must be numeric."}, {11, "Value must be numeric."}, {12, "Value must be numeric."}}},
        {"changed lot that cannot be",
         {{6, "ab"}},
         {{6, "Transfer tax lot requires a letter, number or combination."},
          {9, "This tax lot has been partially or totally sold/covered."}},
         PostingMode::kChange,
         2},
        {"change of a record not in use",
         {},
         {{9, "No transaction in this record."}},
         PostingMode::kChange,
         3},
    };
    posting_fixture::ExpectChecksRejectAndWriteNothing(engine::Fasset, TransferForm({}), cases);
}

TEST(TransferPostingCodes, CkcodtTakesOnlyTransfers) {
    const std::vector<posting_fixture::CodeCase> cases = {
        {"SI", 0, 0, 1},  {"SO", 0, 0, -1}, {"B", 1, -1, 9},
        {"FO", 1, -1, 9}, {" S", 1, 1, 9},  {"IP", 1, 9, 9},
    };
    posting_fixture::ExpectCodeChecks(engine::Ckcodt, cases);
}

// ---- Filing

TEST_F(TransferPosting, TransferInFilesTheRecordLotAndFlowByteExact) {
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}});
    Transfer in;
    in.record_date = "3/20/98";
    EXPECT_EQ(Post(in), 2);

    EXPECT_EQ(ReadRecordOf(kTr, 1).I16(0), 2);
    const records::Record tr = ReadRecordOf(kTr, 2);
    EXPECT_EQ(tr.Text(0, 12), "IBM         ");
    EXPECT_EQ(tr.Text(12, 4), "1   ");
    EXPECT_EQ(tr.Text(16, 8), " 3/15/98");
    EXPECT_EQ(tr.Text(24, 4), "SI  ");
    EXPECT_EQ(tr.R8(28), 100.0);
    EXPECT_EQ(tr.R4(36), 0.0f);
    EXPECT_EQ(tr.R8(40), 5000.0);
    EXPECT_EQ(tr.Text(48, 8), "BRK1    ");
    EXPECT_EQ(tr.R8(56), 0.0);
    EXPECT_EQ(tr.R8(64), 0.0);
    EXPECT_EQ(tr.Text(72, 8), " 6/ 1/90");
    EXPECT_EQ(tr.R8(80), 2000.0);
    EXPECT_EQ(tr.R4(88), 980315.0f);
    EXPECT_EQ(tr.R8(92), records::Gtprcd('H', "12  ", 0.0f, "459200101   "));
    EXPECT_EQ(tr.I16(100), 2);
    EXPECT_EQ(tr.Text(102, 4), "    ");
    EXPECT_EQ(tr.I16(106), 0);
    for (std::size_t b = 108; b < 128; ++b) EXPECT_EQ(tr.data()[b], 0) << b;
    posting_fixture::ExpectExtensionWithOnlyTheDate(ReadRecordOf(kTrExt, 2), " 3/20/98");

    // The lot at its cost, with the transfer date as its reference; no cash.
    const records::Record head = ReadRecordOf(kHl, 1);
    EXPECT_EQ(head.I16(0), 2);
    EXPECT_EQ(head.I16(10), 2);
    const records::Record lot = ReadRecordOf(kHl, 2);
    EXPECT_EQ(lot.I16(0), -1);
    EXPECT_EQ(lot.Text(10, 12), "IBM         ");
    EXPECT_EQ(lot.R8(36), 100.0);
    EXPECT_EQ(lot.R8(44), 2000.0);
    EXPECT_EQ(lot.Text(52, 8), " 6/ 1/90");
    EXPECT_EQ(lot.Text(68, 8), " 3/15/98");

    EXPECT_EQ(Flows(), Only({{3, 5000}}));
}

TEST_F(TransferPosting, TransferOutRelievesTheStoredLotAtItsDateAndCost) {
    Post({});
    Transfer out;
    out.code = "SO";
    out.date = "6/1/98";
    out.purchase_date = "";
    out.cost = "";
    out.amount = "6000.00";
    EXPECT_EQ(Post(out), 3);
    const records::Record tr = ReadRecordOf(kTr, 3);
    EXPECT_EQ(tr.Text(24, 4), "SO  ");
    EXPECT_EQ(tr.Text(72, 8), " 6/ 1/90");
    EXPECT_EQ(tr.R8(80), 2000.0);
    EXPECT_TRUE(fixtures::ReadHoldings(kHl).lots.empty());
    EXPECT_EQ(Flows(), Only({{3, 5000}, {6, -6000}}));
}

TEST_F(TransferPosting, ChangesAndDeletionsMoveTheFlow) {
    Transfer in;
    in.amount = "10000.00";
    const int32_t record = Post(in);

    in.amount = "12000.00";
    Post(in, PostingMode::kChange, record);
    EXPECT_EQ(Flows(), Only({{3, 12000}}));

    in.date = "5/1/98";
    Post(in, PostingMode::kChange, record);
    EXPECT_EQ(Flows(), Only({{5, 12000}}));

    Transfer out;
    out.code = "SO";
    out.date = "7/1/98";
    out.amount = "3000.00";
    const int32_t withdrawal = Post(out);
    EXPECT_EQ(Flows(), Only({{5, 12000}, {7, -3000}}));

    // Deleting the withdrawal gives its flow back; deleting the transfer in
    // takes its own stored amount out.
    Post(out, PostingMode::kDelete, withdrawal);
    EXPECT_EQ(Flows(), Only({{5, 12000}}));
    in.amount = "1.00";
    Post(in, PostingMode::kDelete, record);
    EXPECT_EQ(Flows(), MonthlyValues{});
    EXPECT_TRUE(fixtures::ReadHoldings(kHl).lots.empty());
}

// ---- All or nothing

TEST_F(TransferPosting, ADamagedHistoryHeaderRefusesThePostingBeforeAnythingIsFiled) {
    Post({});
    const auto sound = AccountFiles();
    Transfer changed;
    changed.amount = "6000.00";
    for (const auto& damage : posting_fixture::DamagedHistoryYears()) {
        SCOPED_TRACE(damage.name);
        posting_fixture::DamageHistoryYear(damage);
        posting_fixture::ExpectEachRefused(engine::Fasset,
                                           {
                                               {"add", TransferForm({}), PostingMode::kAdd, 0},
                                               {"change", TransferForm(changed), PostingMode::kChange, 2},
                                               {"delete", TransferForm({}), PostingMode::kDelete, 2},
                                           },
                                           {{9, "Files could not be written; nothing was posted."}},
                                           AccountFiles);
        std::ofstream("HLACC1.DAT", std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(sound.at("HLACC1.DAT").data()),
                   static_cast<std::streamsize>(sound.at("HLACC1.DAT").size()));
    }
    EXPECT_TRUE(AccountFiles() == sound);
}

TEST_F(TransferPosting, ARefusedRebuildPutsEveryFileBackAndLeavesTheHistory) {
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}});
    Post({});
    Transfer out;
    out.code = "SO";
    out.date = "6/1/98";
    Post(out);

    Transfer smaller = Transfer{};
    smaller.shares = "50.00";
    Transfer too_many = out;
    too_many.shares = "10.00";
    posting_fixture::ExpectEachRefused(
        engine::Fasset,
        {
            {"a smaller transfer in leaves the withdrawal exceeding its lot", TransferForm(smaller),
             PostingMode::kChange, 2},
            {"a deleted transfer in leaves the withdrawal without a lot", TransferForm({}),
             PostingMode::kDelete, 2},
            {"a further withdrawal finds no lot", TransferForm(too_many), PostingMode::kAdd, 0},
        },
        {{9, "This lot has been partially or totally sold/covered."}}, AccountFiles);
}

}  // namespace

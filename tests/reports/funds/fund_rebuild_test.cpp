// The fund rebuild: which transactions it replays and in what order, the
// warning lines it writes, and what it leaves when it cannot go on.

#include "reports/funds/fund_rebuild.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/replay.h"
#include "records/account_records.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::Record;
using records::TransactionRecord;

constexpr const char* kAccount = "FUND01";
constexpr const char* kAsOf = "06/30/99";

TransactionRecord T(const std::string& code, const std::string& symbol, const std::string& date,
                    double quantity, double amount, double key = 1.0) {
    return fixtures::Transaction(code, symbol, "A", date, quantity, amount, key, 5);
}

// A deleted transaction slot: blank symbol.
TransactionRecord Blank() {
    TransactionRecord t;
    t.date_number = fixtures::DateNumber("01/01/99");
    return t;
}

struct Lot {
    int16_t record;
    std::string symbol;
    double quantity;
    double amount;
    double total;
};

struct WorkFile {
    bool exists = false;
    records::HoldingsHeader header;
    std::vector<Lot> lots;  // in chain order
};

WorkFile ReadWorkFile() {
    WorkFile out;
    const std::string name = engine::HoldingsWorkName();
    out.exists = TempDataDir::Exists(records::ResolveName(name));
    const records::DirectFile file(name, records::kAccountRecordLength, false);
    Record rec;
    if (!file.Read(1, rec)) return out;
    out.header = records::HoldingsHeader::Decode(rec);
    long link = out.header.first_lot;
    for (long steps = 0; link >= 2 && steps < file.Count() && file.Read(link, rec); ++steps) {
        const records::FundLotRecord f = records::FundLotRecord::Decode(rec);
        out.lots.push_back({static_cast<int16_t>(link), records::TrimRight(f.lot.symbol), f.lot.quantity,
                            f.lot.cost, f.total_cost});
        link = f.lot.next;
    }
    return out;
}

// Runs the rebuild inside a report work file and returns its lines.
std::vector<std::string> Rebuild(int16_t message_mode, const char* as_of = kAsOf) {
    std::string name;
    records::Prtout("", "START", name);
    reports::Mfhold(kAccount, as_of, fixtures::DateNumber(as_of), message_mode);
    records::Prtout("", "END", name);
    // OUTPUT.TMP holds 132-byte records.
    std::vector<std::string> lines;
    const records::DirectFile file("OUTPUT.TMP", records::kReportLineWidth, false);
    Record rec;
    for (long n = 1; file.Read(n, rec); ++n) lines.push_back(records::TrimRight(rec.Text(0, 132)));
    return lines;
}

class MfholdTest : public ::testing::Test {
protected:
    void SetUp() override { fixtures::SetOptions({}); }
    TempDataDir dir_;
};

TEST_F(MfholdTest, NothingToReplayLeavesNoWorkFile) {
    // An old HL.TMP is deleted first in every case.
    const std::vector<std::pair<const char*, std::vector<TransactionRecord>>> cases = {
        {"record 1 only", {}},
        {"all after the date", {T("B", "FUNDA", "07/01/99", 10, 100), T("DI", "FUNDA", "12/31/99", 0, 5)}},
        {"excluded by flag or blank symbol",
         {Blank(),
          [] {
              TransactionRecord t = T("B", "FUNDA", "01/05/99", 10, 100);
              t.type = "N   ";
              return t;
          }()}},
    };
    for (const auto& [name, history] : cases) {
        TempDataDir::WriteBytes("HL.TMP", std::vector<unsigned char>(128, 1));
        fixtures::WriteTransactions(kAccount, history);
        EXPECT_TRUE(Rebuild(1).empty()) << name;
        EXPECT_FALSE(ReadWorkFile().exists) << name;
    }
}

TEST_F(MfholdTest, AccountWithoutTransactionFileGetsNoFiles) {
    TempDataDir::WriteBytes("HL.TMP", std::vector<unsigned char>(128, 1));
    Rebuild(1);
    EXPECT_FALSE(ReadWorkFile().exists);
    EXPECT_FALSE(TempDataDir::Exists(records::Paknam(kAccount, "TR", ".REC")));
}

TEST_F(MfholdTest, UnreadableOptionsLeaveTheOldWorkFile) {
    std::filesystem::remove(records::ResolveName("COMMON.FIL"));
    fixtures::WriteTransactions(kAccount, {T("B", "FUNDA", "01/05/99", 10, 100)});
    TempDataDir::WriteBytes("HL.TMP", std::vector<unsigned char>(128, 1));
    Rebuild(1);
    EXPECT_EQ(TempDataDir::ReadBytes("HL.TMP"), std::vector<unsigned char>(128, 1));
}

TEST_F(MfholdTest, TransactionOnTheDateIsReplayedAndLaterOnesAreNot) {
    fixtures::WriteTransactions(kAccount,
                                {T("B", "FUNDA", "06/30/99", 10, 100), T("DI", "FUNDA", "07/01/99", 0, 7)});
    Rebuild(1);
    const WorkFile w = ReadWorkFile();
    ASSERT_EQ(w.lots.size(), 2u);
    EXPECT_EQ(w.lots[0].symbol, "CASH");
    EXPECT_EQ(w.lots[0].amount, -100);
    EXPECT_EQ(w.header.label, kAsOf);
}

TEST_F(MfholdTest, CashOnlyTransactionsOfADayComeBeforeItsTrades) {
    // Records 2-9: the purchase in record 5, the dividend in record 9.
    std::vector<TransactionRecord> history(8, Blank());
    history[3] = T("B", "FUNDA", "03/01/99", 10, 100);
    history[7] = T("DI", "FUNDA", "03/01/99", 0, 40);
    fixtures::WriteTransactions(kAccount, history);
    Rebuild(1);
    const WorkFile w = ReadWorkFile();
    // The dividend made the cash element first, in record 2.
    ASSERT_EQ(w.lots.size(), 2u);
    EXPECT_EQ(w.lots[0].record, 2);
    EXPECT_EQ(w.lots[0].symbol, "CASH");
    EXPECT_EQ(w.lots[0].amount, -60);
    EXPECT_EQ(w.lots[1].record, 3);
}

TEST_F(MfholdTest, ReplaysPastThreeThousandTransactionsInDayOrder) {
    // 3,100 transactions. On the last day a sale filed in record 1500 and
    // the purchase ("SP", a cash-group code that opens a lot) it relieves
    // filed in record 3000: the purchase is replayed first, however far
    // the record numbers run.
    std::vector<TransactionRecord> history;
    for (long r = 2; r <= 3101; ++r) {
        if (r == 1500)
            history.push_back(T("S", "FUNDA", "06/30/99", 40, 500));
        else if (r == 3000)
            history.push_back(T("SP", "FUNDA", "06/30/99", 100, 1000));
        else
            history.push_back(T("DI", "FUNDA", r < 2000 ? "01/04/99" : "06/30/99", 0, 1));
    }
    fixtures::WriteTransactions(kAccount, history);
    EXPECT_TRUE(Rebuild(1).empty());
    const WorkFile w = ReadWorkFile();
    ASSERT_EQ(w.lots.size(), 2u);
    EXPECT_EQ(w.lots[0].amount, 3098 - 1000 + 500);
    EXPECT_EQ(w.lots[1].quantity, 60);
    EXPECT_EQ(w.lots[1].amount, 600);
}

TEST_F(MfholdTest, ShortSaleConditionIsAWarningLineAndChangesNothing) {
    fixtures::WriteTransactions(
        kAccount, {T("B", "FUNDA", "01/05/99", 100, 1000), T("DI", "FUNDA", "01/06/99", 0, 5),
                   T("S", "FUNDA", "02/01/99", 150, 1800), T("S", "FUNDB", "02/02/99", 10, 100, 2.0)});
    const std::vector<std::string> warned = {
        " Warning: short sale condition 1 found in account: FUND01, transaction no.    3",
        "",
        " Warning: short sale condition 2 found in account: FUND01, transaction no.    4",
        "",
    };
    for (int16_t mode : {1, 3, 0, 2, -1}) {
        const std::vector<std::string> lines = Rebuild(mode);
        EXPECT_EQ(lines, mode == 2 || mode < 0 ? std::vector<std::string>{} : warned) << "mode " << mode;
        const WorkFile w = ReadWorkFile();
        ASSERT_EQ(w.lots.size(), 2u);
        EXPECT_EQ(w.lots[0].amount, -995);
        EXPECT_EQ(w.lots[1].quantity, 100);
        EXPECT_EQ(w.lots[1].amount, 1000);
    }
}

TEST_F(MfholdTest, UnknownCodeIsPassedOverWithAWarning) {
    fixtures::WriteTransactions(
        kAccount, {T("XX", "FUNDA", "01/05/99", 100, 1000), T("DI", "FUNDA", "01/06/99", 0, 5)});
    EXPECT_EQ(
        Rebuild(1),
        (std::vector<std::string>{
            " Warning: unknown transaction code XX   found in account: FUND01, transaction no.     1", ""}));
    const WorkFile w = ReadWorkFile();
    ASSERT_EQ(w.lots.size(), 1u);
    EXPECT_EQ(w.lots[0].amount, 5);
}

TEST_F(MfholdTest, ReinvestedFlagCountsOnlyOnPurchases) {
    TransactionRecord dividend = T("DI", "FUNDA", "01/05/99", 0, 40);
    dividend.type = "R   ";
    fixtures::WriteTransactions(kAccount, {dividend});
    Rebuild(1);
    const WorkFile w = ReadWorkFile();
    ASSERT_EQ(w.lots.size(), 1u);
    EXPECT_EQ(w.lots[0].quantity, 40);
    EXPECT_EQ(w.lots[0].total, 40);
}

TEST_F(MfholdTest, CountBeyondTheFileStopsWithAWarningAndNoWorkFile) {
    fixtures::WriteTransactions(kAccount, {T("B", "FUNDA", "01/05/99", 100, 1000)});
    Record header(128, 0);
    records::TransactionFileHeader{4}.Encode(header);
    records::DirectFile(records::Paknam(kAccount, "TR", ".REC"), 128).Write(1, header);
    EXPECT_EQ(Rebuild(1),
              (std::vector<std::string>{
                  " Warning: unreadable transaction found in account: FUND01, transaction no.     2, "
                  "holdings not rebuilt",
                  ""}));
    EXPECT_FALSE(ReadWorkFile().exists);
}

TEST_F(MfholdTest, FullWorkFileStopsWithTheLotsSoFar) {
    // 32,765 purchases of lots of their own: the cash element and 32,764
    // lots fill records 2 to 32,766; the last purchase finds no record.
    std::vector<TransactionRecord> history;
    for (int k = 1; k <= 32765; ++k) {
        TransactionRecord t = T("B", "FUNDA", "01/05/99", 1, 1, static_cast<double>(k));
        if (k == 1) t.type = "R   ";  // the correction is left out when the rebuild stops
        history.push_back(t);
    }
    fixtures::WriteTransactions(kAccount, history);
    EXPECT_EQ(Rebuild(1),
              (std::vector<std::string>{
                  " Warning: holdings limit of 32766 records reached in account: FUND01, transaction "
                  "no. 32765, rebuild stopped",
                  ""}));
    const WorkFile w = ReadWorkFile();
    EXPECT_EQ(w.header.records_in_use, 32766);
    EXPECT_EQ(w.header.next_free, 32767);
    ASSERT_EQ(w.lots.size(), 32765u);
    EXPECT_EQ(w.lots[0].amount, -32763);  // no reinvestment correction
    EXPECT_EQ(w.lots.back().amount, 1);
}

TEST_F(MfholdTest, LotTextsComeFromTheTransactionExtensionAndStayWithTheLot) {
    fixtures::SetOptions({{records::Opt::kTransactionTexts, 1}, {records::Opt::kLotTexts, 1}});
    fixtures::WriteTransactions(
        kAccount, {T("B", "FUNDA", "01/05/99", 100, 1000), T("S", "FUNDA", "02/01/99", 40, 500)});
    records::TransactionExtension ext;
    ext.memo = records::Fixed("TO MONEY MARKET", 20);
    ext.settlement_date = "01/07/99";
    ext.text = records::Fixed("HELD FOR IRA", 32);
    fixtures::WriteTransactionExtensions(kAccount, {{2, ext}});
    Rebuild(1);
    // The sale carries no texts: it takes the lot's, which stay. The cash
    // element took the purchase's.
    const records::DirectFile lots(engine::HoldingsWorkName(), 128, false);
    const records::DirectFile texts(engine::LotTextsWorkName(), 128, false);
    for (long n : {2, 3}) {
        Record rec;
        ASSERT_TRUE(lots.Read(n, rec));
        EXPECT_EQ(records::HoldingRecord::Decode(rec).memo, ext.memo) << n;
        ASSERT_TRUE(texts.Read(n, rec));
        const records::HoldingExtension lot_texts = records::HoldingExtension::Decode(rec);
        EXPECT_EQ(lot_texts.settlement_date, ext.settlement_date) << n;
        EXPECT_EQ(lot_texts.text, ext.text) << n;
    }
    const WorkFile w = ReadWorkFile();
    ASSERT_EQ(w.lots.size(), 2u);
    EXPECT_EQ(w.lots[1].quantity, 60);
}

}  // namespace

#include "engine/rebuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/replay.h"
#include "records/account_records.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::TransactionRecord;

const std::string kAccount = "ACC1";
const std::string kZeroLabel(8, '\0');

TransactionRecord T(const std::string& code, const std::string& lot, const std::string& date, double quantity,
                    double amount) {
    return fixtures::Transaction(code, "AAA", lot, date, quantity, amount, 100, 1);
}

void WriteSecurity() {
    fixtures::WriteSecurities({{.symbol = "AAA", .description1 = "ALPHA CORP", .description2 = "COMMON"}});
}

// Stored files of an earlier rebuild, as recognisable bytes.
const std::vector<unsigned char> kOldHoldings(3 * 128, 'h');
const std::vector<unsigned char> kOldGains(2 * 128, 'g');
const std::vector<unsigned char> kOldTexts(2 * 128, 't');

void WriteOldStoredFiles() {
    TempDataDir::WriteBytes("HLACC1.REC", kOldHoldings);
    TempDataDir::WriteBytes("GLACC1.REC", kOldGains);
    TempDataDir::WriteBytes("HLACC1.EXT", kOldTexts);
}

TEST(Rebuild, ReplacesHoldingsAndGainsByTheReplayOfEveryTransaction) {
    TempDataDir dir;
    WriteSecurity();
    WriteOldStoredFiles();
    const std::vector<TransactionRecord> ts = {T("B", "1", "01/05/98", 100, 1000),
                                               T("S", "1", "12/05/49", 40, 600),
                                               T("S", "1", "02/05/98", 10, 120)};
    fixtures::WriteTransactions(kAccount, ts);
    // What the replay gives, as of every date, with the rebuild's label.
    int16_t status = -1;
    engine::Creatt(kAccount, kZeroLabel, engine::kEveryTransaction, 1, 0, status);
    ASSERT_EQ(status, 0);
    const auto holdings = TempDataDir::ReadBytes("HL.TMP");
    const auto gains = TempDataDir::ReadBytes("GL.TMP");
    fixtures::WriteTransactions(kAccount, ts);  // field 17 back to 0

    int16_t flag = -1;
    engine::Rbldhl(kAccount, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(TempDataDir::ReadBytes("HLACC1.REC"), holdings);
    EXPECT_EQ(TempDataDir::ReadBytes("GLACC1.REC"), gains);
    EXPECT_FALSE(TempDataDir::Exists("HL.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("GL.TMP"));
    // Without option 64 there are no lot texts to move: the stored ones stay.
    EXPECT_EQ(TempDataDir::ReadBytes("HLACC1.EXT"), kOldTexts);
    EXPECT_EQ(fixtures::ReadHoldings("HLACC1.REC").header.label, kZeroLabel);

    // Field 17 points at each sale's gain in the account's gains file. The
    // sale of 2049 comes last.
    const std::vector<TransactionRecord> after = fixtures::ReadTransactions(kAccount);
    const fixtures::Gains g = fixtures::ReadGains("GLACC1.REC");
    ASSERT_EQ(g.gains.size(), 2u);
    EXPECT_EQ(after[0].gain_record, 0);
    EXPECT_EQ(after[1].gain_record, 3);
    EXPECT_EQ(after[2].gain_record, 2);
    EXPECT_EQ(g.gains[after[1].gain_record - 2].quantity, 40);
    EXPECT_EQ(g.gains[after[2].gain_record - 2].quantity, 10);
}

TEST(Rebuild, Field17FollowsTheGainsWhenASaleIsDeleted) {
    TempDataDir dir;
    WriteSecurity();
    fixtures::WriteTransactions(kAccount,
                                {T("B", "1", "01/05/98", 100, 1000), T("S", "1", "02/05/98", 40, 600),
                                 T("S", "1", "03/05/98", 10, 120)});
    int16_t flag = -1;
    engine::Rbldhl(kAccount, flag);
    ASSERT_EQ(flag, 0);
    EXPECT_EQ(fixtures::ReadTransactions(kAccount)[2].gain_record, 3);
    // Posting deletes the first sale: its record becomes blanks.
    TransactionRecord deleted;
    deleted.symbol = std::string(12, ' ');
    fixtures::WriteTransactionAt(kAccount, 3, deleted);
    engine::Rbldhl(kAccount, flag);
    ASSERT_EQ(flag, 0);
    const fixtures::Gains g = fixtures::ReadGains("GLACC1.REC");
    ASSERT_EQ(g.gains.size(), 1u);
    EXPECT_EQ(fixtures::ReadTransactions(kAccount)[2].gain_record, 2);
    EXPECT_EQ(g.gains[0].quantity, 10);
    // A second rebuild of the same transactions changes nothing.
    const auto tr = TempDataDir::ReadBytes("TRACC1.REC");
    const auto hl = TempDataDir::ReadBytes("HLACC1.REC");
    engine::Rbldhl(kAccount, flag);
    EXPECT_EQ(TempDataDir::ReadBytes("TRACC1.REC"), tr);
    EXPECT_EQ(TempDataDir::ReadBytes("HLACC1.REC"), hl);
}

// A replay that fails leaves every stored file and field 17 as they were.
struct FailingCase {
    const char* name;
    std::vector<TransactionRecord> transactions;
    int16_t flag;
};
void PrintTo(const FailingCase& c, std::ostream* os) {
    *os << c.name;
}

class RebuildFailure : public ::testing::TestWithParam<FailingCase> {
protected:
    TempDataDir dir;
};

TEST_P(RebuildFailure, KeepsTheStoredFiles) {
    WriteSecurity();
    WriteOldStoredFiles();
    fixtures::SetOptions({{records::Opt::kLotTexts, 1}});
    fixtures::WriteTransactions(kAccount, GetParam().transactions);
    const auto tr = TempDataDir::ReadBytes("TRACC1.REC");
    int16_t flag = -1;
    engine::Rbldhl(kAccount, flag);
    EXPECT_EQ(flag, GetParam().flag);
    EXPECT_EQ(TempDataDir::ReadBytes("HLACC1.REC"), kOldHoldings);
    EXPECT_EQ(TempDataDir::ReadBytes("GLACC1.REC"), kOldGains);
    EXPECT_EQ(TempDataDir::ReadBytes("HLACC1.EXT"), kOldTexts);
    EXPECT_EQ(TempDataDir::ReadBytes("TRACC1.REC"), tr);
}

INSTANTIATE_TEST_SUITE_P(
    Rebuild, RebuildFailure,
    ::testing::Values(FailingCase{"SaleBeyondItsLot",
                                  {T("B", "1", "01/05/98", 100, 1000), T("S", "1", "02/05/98", 40, 600),
                                   T("S", "1", "03/05/98", 61, 600)},
                                  1},
                      FailingCase{"SaleWithoutALot",
                                  {T("B", "1", "01/05/98", 100, 1000), T("S", "2", "02/05/98", 40, 600)},
                                  2},
                      FailingCase{"CoverWithoutAShortLot", {T("CS", "a", "02/05/98", 40, 600)}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rebuild, UnwritableWorkFilesKeepTheStoredFiles) {
    TempDataDir dir;
    WriteOldStoredFiles();
    std::filesystem::create_directories("GL.TMP/keep");
    fixtures::WriteTransactions(kAccount, {T("B", "1", "01/05/98", 100, 1000)});
    int16_t flag = -1;
    engine::Rbldhl(kAccount, flag);
    EXPECT_EQ(flag, engine::kWorkFilesFailed);
    EXPECT_EQ(TempDataDir::ReadBytes("HLACC1.REC"), kOldHoldings);
    EXPECT_EQ(TempDataDir::ReadBytes("GLACC1.REC"), kOldGains);
}

// An account whose transactions are all gone gets an empty holdings file
// and an empty gains file, not the holdings of its past.
TEST(Rebuild, AccountWithoutTransactionsGetsEmptyFiles) {
    for (const bool with_file : {true, false}) {
        TempDataDir dir;
        WriteOldStoredFiles();
        if (with_file) fixtures::WriteTransactions(kAccount, {});
        int16_t flag = -1;
        engine::Rbldhl(kAccount, flag);
        EXPECT_EQ(flag, 0);
        const fixtures::Holdings h = fixtures::ReadHoldings("HLACC1.REC");
        ASSERT_TRUE(h.readable) << with_file;
        EXPECT_EQ(h.header.first_lot, -1);
        EXPECT_EQ(h.header.records_in_use, 1);
        EXPECT_EQ(h.header.next_free, 2);
        EXPECT_EQ(h.header.account, "ACC1    ");
        EXPECT_EQ(TempDataDir::ReadBytes("HLACC1.REC").size(), 128u);
        EXPECT_TRUE(TempDataDir::ReadBytes("GLACC1.REC").empty());
        EXPECT_EQ(TempDataDir::Exists("TRACC1.REC"), with_file);
    }
}

TEST(Rebuild, LotTextsMoveWithTheirLots) {
    TempDataDir dir;
    WriteSecurity();
    WriteOldStoredFiles();
    fixtures::SetOptions({{records::Opt::kLotTexts, 1}});
    fixtures::WriteTransactions(kAccount, {T("B", "1", "01/05/98", 100, 1000)});
    records::TransactionExtension ext;
    ext.memo = records::Fixed("GROWTH", 20);
    ext.settlement_date = "01/08/98";
    ext.text = records::Fixed("FIRST PURCHASE", 32);
    fixtures::WriteTransactionExtensions(kAccount, {{2, ext}});
    int16_t flag = -1;
    engine::Rbldhl(kAccount, flag);
    ASSERT_EQ(flag, 0);
    EXPECT_FALSE(TempDataDir::Exists("HL.EXT"));
    const fixtures::Holdings h = fixtures::ReadHoldings("HLACC1.REC");
    ASSERT_EQ(h.lots.size(), 2u);
    records::DirectFile texts("HLACC1.EXT", 128, false);
    records::Record rec;
    ASSERT_TRUE(texts.Read(h.lots[1].first, rec));
    EXPECT_EQ(records::HoldingExtension::Decode(rec).text, records::Fixed("FIRST PURCHASE", 32));
    EXPECT_EQ(h.lots[1].second.memo, records::Fixed("GROWTH", 20));

    // The next rebuild finds the texts in the stored files for a
    // transaction that brings none.
    fixtures::WriteTransactions(kAccount, {T("B", "1", "01/05/98", 100, 1000)});
    fixtures::WriteTransactionExtensions(kAccount, {{2, records::TransactionExtension{}}});
    engine::Rbldhl(kAccount, flag);
    ASSERT_EQ(flag, 0);
    EXPECT_EQ(fixtures::ReadHoldings("HLACC1.REC").lots[1].second.memo, records::Fixed("GROWTH", 20));
}

TEST(Rebuild, AccountWithBlanksInItsIdentifierUsesPackedNames) {
    TempDataDir dir;
    fixtures::WriteTransactions("A B", {T("B", "1", "01/05/98", 100, 1000)});
    ASSERT_TRUE(TempDataDir::Exists("TRAB.REC"));
    int16_t flag = -1;
    engine::Rbldhl("A B", flag);
    ASSERT_EQ(flag, 0);
    EXPECT_EQ(fixtures::ReadHoldings("HLAB.REC").lots.size(), 2u);
    EXPECT_EQ(fixtures::ReadHoldings("HLAB.REC").header.account, "A B     ");
    EXPECT_TRUE(TempDataDir::Exists("GLAB.REC"));
}

TEST(Rebuild, ReplacesAStoredFileSpeltInAnotherCase) {
    TempDataDir dir;
    TempDataDir::WriteBytes("hlacc1.rec", kOldHoldings);
    fixtures::WriteTransactions(kAccount, {T("B", "1", "01/05/98", 100, 1000)});
    int16_t flag = -1;
    engine::Rbldhl(kAccount, flag);
    ASSERT_EQ(flag, 0);
    int holdings_files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.path().filename() == "hlacc1.rec" || entry.path().filename() == "HLACC1.REC")
            ++holdings_files;
    EXPECT_EQ(holdings_files, 1);
    EXPECT_EQ(fixtures::ReadHoldings("hlacc1.rec").lots.size(), 2u);
}

// Every file of the data directory with its bytes.
std::map<std::string, std::vector<unsigned char>> DirectoryFiles() {
    std::map<std::string, std::vector<unsigned char>> files;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] =
                TempDataDir::ReadBytes(entry.path().filename().string());
    return files;
}

// Rebuilds one after another within a run, where writes are buffered and
// the files each account reads again stay open, leave exactly the files
// and bytes the same rebuilds leave outside a run: an account whose
// replay fails, or whose work files cannot be written, keeps its stored
// files (never an earlier account's work files); an account without
// stored files gets new ones; no work file or anything else is left once
// the run ends.
TEST(Rebuild, ARunOverSeveralAccountsLeavesTheSameFilesAsSingleRebuilds) {
    std::vector<std::map<std::string, std::vector<unsigned char>>> results;
    for (const bool in_run : {false, true}) {
        TempDataDir dir;
        WriteSecurity();
        const std::vector<unsigned char> old4(2 * 128, '4');
        for (const char* account : {"ACC1", "ACC2", "ACC3"}) {
            const std::string a(account);
            TempDataDir::WriteBytes("HL" + a + ".REC", std::vector<unsigned char>(3 * 128, a.back()));
            TempDataDir::WriteBytes("GL" + a + ".REC", std::vector<unsigned char>(2 * 128, a.back()));
        }
        TempDataDir::WriteBytes("HLACC4.REC", old4);
        TempDataDir::WriteBytes("GLACC4.REC", old4);
        fixtures::WriteTransactions("ACC1",
                                    {T("B", "1", "01/05/98", 100, 1000), T("S", "1", "02/05/98", 40, 600)});
        fixtures::WriteTransactions("ACC2",
                                    {T("B", "1", "01/05/98", 100, 1000), T("S", "1", "02/05/98", 140, 600)});
        fixtures::WriteTransactions("ACC3", {T("B", "1", "01/05/98", 10, 100)});
        fixtures::WriteTransactions("ACC4", {T("B", "1", "01/05/98", 20, 200)});
        fixtures::WriteTransactions("ACC5",
                                    {T("B", "1", "01/05/98", 50, 500), T("S", "1", "03/05/98", 50, 700)});
        {
            std::optional<records::RunFileCache> run;
            if (in_run) run.emplace();
            struct Step {
                const char* account;
                int16_t flag;
            };
            for (const Step& step : {Step{"ACC1", 0}, Step{"ACC2", 1}, Step{"ACC3", 0},
                                     Step{"ACC4", engine::kWorkFilesFailed}, Step{"ACC5", 0}}) {
                const bool blocked = step.flag == engine::kWorkFilesFailed;
                if (blocked) std::filesystem::create_directories("GL.TMP/keep");
                int16_t flag = -1;
                engine::Rbldhl(step.account, flag);
                EXPECT_EQ(flag, step.flag) << step.account << " in a run: " << in_run;
                if (blocked) std::filesystem::remove_all("GL.TMP");
            }
            EXPECT_EQ(TempDataDir::ReadBytes("HLACC2.REC"), std::vector<unsigned char>(3 * 128, '2'));
            EXPECT_EQ(TempDataDir::ReadBytes("HLACC4.REC"), old4);
            EXPECT_EQ(TempDataDir::ReadBytes("GLACC4.REC"), old4);
            EXPECT_EQ(fixtures::ReadHoldings("HLACC3.REC").lots.size(), 2u);
            EXPECT_EQ(fixtures::ReadHoldings("HLACC5.REC").lots.size(), 1u);
        }
        // What a failed replay leaves under the work names is the same
        // either way; it is not part of the comparison.
        std::filesystem::remove("HL.TMP");
        std::filesystem::remove("GL.TMP");
        results.push_back(DirectoryFiles());
    }
    EXPECT_EQ(results[1], results[0]);
    EXPECT_TRUE(results[1].contains("HLACC5.REC"));
    EXPECT_TRUE(results[1].contains("GLACC5.REC"));
    EXPECT_EQ(std::count_if(results[1].begin(), results[1].end(),
                            [](const auto& f) { return f.first.starts_with("."); }),
              0);
}

}  // namespace

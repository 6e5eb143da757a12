#include "engine/update.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/rebuild.h"
#include "records/account_records.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/file_size_limit.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::Record;
using records::TransactionRecord;

// ---- Helpers

// The lines of OUTPUT.TMP, blanks at the end dropped.
std::vector<std::string> ReportLines() {
    std::vector<std::string> out;
    const records::DirectFile file("OUTPUT.TMP", 132, false);
    Record rec;
    for (long n = 1; file.Read(n, rec); ++n) out.push_back(records::TrimRight(rec.Text(0, 132)));
    return out;
}

// The warning lines of the report (after the heading of three lines).
std::vector<std::string> Warnings() {
    std::vector<std::string> lines = ReportLines();
    if (lines.size() <= 3) return {};
    return std::vector<std::string>(lines.begin() + 3, lines.end());
}

// Holding keys of the sample securities: type rank x 10^14 + category x
// 10^12 + the widened date or, without one, the symbol's first six
// character codes.
constexpr double kIbmKey = 2e14 + 10e12 + 736677323232.0;    // type 1, category 10, "IBM   "
constexpr double kOldcoKey = 2e14 + 12e12 + 797668677932.0;  // type 1, category 12, "OLDCO "
constexpr double kXyzKey = 2e14 + 0e12 + 888990323232.0;     // type 1, no category, "XYZ   "
constexpr double kBondKey = 6e14 + 20e12 + 20051115.0;       // type 5, category 20, 11/15/05

// Securities: 1 CASH, 2 IBM, 3 OLDCO deleted for good, 4 XYZ deleted and
// entered again as 5, 6 a bond with a maturity date.
void WriteSecurities() {
    fixtures::WriteSecurities({
        {.symbol = "CASH", .cusip = "CASH", .description1 = "CASH AND EQUIVALENTS", .type = " "},
        {.symbol = "IBM",
         .cusip = "IBM",
         .description1 = "INTL BUSINESS MACHINES",
         .description2 = "COMMON STOCK",
         .type = "1",
         .category = "10"},
        {.symbol = "$$$$", .cusip = "OLDCO", .description1 = "OLD COMPANY", .type = "1", .category = "12"},
        {.symbol = "$$$$", .cusip = "XYZ", .description1 = "XYZ CORP FORMER ENTRY", .type = "1"},
        {.symbol = "XYZ", .cusip = "XYZ", .description1 = "XYZ CORP", .type = "1"},
        {.symbol = "T6",
         .cusip = "T6",
         .description1 = "US TREASURY NOTE",
         .description2 = "6% DUE 11/15/05",
         .type = "5",
         .category = "20",
         .maturity = "11/15/05"},
    });
}

TransactionRecord Cash(const std::string& code, const std::string& date, double amount, int16_t security,
                       const std::string& text) {
    TransactionRecord t = fixtures::Transaction(code, "CASH", "", date, 0, amount, 0, security);
    t.SetCashText(text);
    return t;
}

std::vector<unsigned char> Bytes(const std::string& name) {
    return TempDataDir::ReadBytes(records::TrimRight(name));
}

// Runs Acctrn as the update does: the security files open, the warnings
// going to OUTPUT.TMP (with no heading before them).
void RunAcctrn(const std::string& account) {
    std::string name;
    records::Prtout("", "START", name);
    {
        records::Open(engine::kUpdateSecurityIndexUnit, "SECURITY.IDX");
        records::UnitGuard index(engine::kUpdateSecurityIndexUnit);
        records::Open(engine::kUpdateSecurityUnit, "SECURITY.REC");
        records::UnitGuard securities(engine::kUpdateSecurityUnit);
        engine::Acctrn(account, engine::kUpdateReportDestination);
    }
    records::Prtout("", "END", name);
}

// ---- A whole run over a sample data directory

// ACCT01 needs its keys refreshed and a renamed sale's symbol set back to
// the index before its sale finds its lot; ACCT02 holds transactions for
// deleted securities; ACCT03's sale exceeds its lot; ACCT04 has no
// transactions; entry 2 is a deleted account; a blank entry ends the index
// before ACCT05.
struct UpdateRun : ::testing::Test {
    TempDataDir dir;
    std::vector<unsigned char> acct03_holdings, acct03_gains, acct05_transactions;

    UpdateRun() {
        WriteSecurities();
        fixtures::WriteAccounts({{.id = "ACCT01", .short_name = "FIRST ACCOUNT"},
                                 {.id = "$$$$"},
                                 {.id = "ACCT02", .short_name = "SECOND ACCOUNT"},
                                 {.id = "ACCT03", .short_name = "THIRD ACCOUNT"},
                                 {.id = "ACCT04"},
                                 {.id = ""},
                                 {.id = "ACCT05"}});

        fixtures::WriteTransactions("ACCT01",
                                    {
                                        fixtures::Transaction("B", "IBM", "A", " 1/10/97", 100, 1000, 0, 2),
                                        fixtures::Transaction("B", "T6", "", " 2/01/97", 10000, 9800, 0, 6),
                                        Cash("DI", " 3/15/97", 25, 2, "IBM"),
                                        fixtures::Transaction("S", "IBMOLD", "A", " 6/02/97", 40, 600, 0, 2),
                                    });
        fixtures::WriteTransactions(
            "ACCT02", {
                          fixtures::Transaction("B", "OLDCO", "", " 1/10/97", 10, 100, kOldcoKey, 3),
                          fixtures::Transaction("B", "XYZ", "", " 1/10/97", 5, 50, kXyzKey, 4),
                          Cash("FI", " 2/01/97", 100, 3, "OLDCO"),
                          Cash("DI", " 2/01/97", 7, 4, "XYZ"),
                      });

        // ACCT03's stored files come from a rebuild before its bad sale
        // was filed.
        fixtures::WriteTransactions(
            "ACCT03", {
                          fixtures::Transaction("B", "IBM", "A", " 1/10/97", 10, 100, kIbmKey, 2),
                          fixtures::Transaction("B", "IBM", "A", " 1/11/97", 10, 110, kIbmKey, 2),
                          fixtures::Transaction("S", "IBM", "A", " 1/12/97", 5, 80, kIbmKey, 2),
                      });
        int16_t flag = -1;
        engine::Rbldhl("ACCT03", flag);
        EXPECT_EQ(flag, 0);
        std::vector<TransactionRecord> acct03 = fixtures::ReadTransactions("ACCT03");
        acct03.push_back(fixtures::Transaction("S", "IBM", "A", " 2/01/97", 50, 700, kIbmKey, 2));
        fixtures::WriteTransactions("ACCT03", acct03);
        acct03_holdings = Bytes(records::Paknam("ACCT03", "HL", ".REC"));
        acct03_gains = Bytes(records::Paknam("ACCT03", "GL", ".REC"));

        fixtures::WriteTransactions("ACCT05",
                                    {fixtures::Transaction("B", "IBM", "", " 1/10/97", 1, 10, 0, 2)});
        acct05_transactions = Bytes(records::Paknam("ACCT05", "TR", ".REC"));

        EXPECT_EQ(engine::Getacc(), 0);
    }
};

TEST_F(UpdateRun, ReportMatchesGolden) {
    // Every line is a whole 132-character record.
    EXPECT_EQ(Bytes("OUTPUT.TMP").size() % 132, 0u);
    std::string text;
    for (const std::string& line : ReportLines()) text += line + "\n";
    fixtures::CompareWithGolden("engine/update_database.txt", text);
}

TEST_F(UpdateRun, RefreshesTransactionsBeforeTheRebuild) {
    const std::vector<TransactionRecord> t = fixtures::ReadTransactions("ACCT01");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].holding_key, kIbmKey);
    EXPECT_EQ(t[1].holding_key, kBondKey);
    EXPECT_EQ(t[3].symbol, "IBM         ");  // the renamed sale follows the index
    EXPECT_EQ(t[3].holding_key, kIbmKey);
    EXPECT_EQ(t[3].gain_record, 2);  // set by the rebuild

    const fixtures::Holdings h = fixtures::ReadHoldings("HLACCT01.REC");
    ASSERT_TRUE(h.readable);
    ASSERT_EQ(h.lots.size(), 3u);
    EXPECT_EQ(h.lots[0].second.symbol, "CASH        ");
    EXPECT_DOUBLE_EQ(h.lots[0].second.quantity, -1000 - 9800 + 25 + 600);
    EXPECT_EQ(h.lots[1].second.symbol, "IBM         ");
    EXPECT_EQ(h.lots[1].second.holding_key, kIbmKey);
    EXPECT_DOUBLE_EQ(h.lots[1].second.quantity, 60);
    EXPECT_DOUBLE_EQ(h.lots[1].second.cost, 600);
    EXPECT_EQ(h.lots[2].second.holding_key, kBondKey);

    const fixtures::Gains g = fixtures::ReadGains("GLACCT01.REC");
    ASSERT_EQ(g.gains.size(), 1u);
    EXPECT_EQ(g.gains[0].symbol, "IBM         ");
    EXPECT_EQ(records::TrimRight(g.gains[0].description1), "INTL BUSINESS MACHINES");
    EXPECT_DOUBLE_EQ(g.gains[0].gain, 200);
}

TEST_F(UpdateRun, RepointsReenteredSecuritiesAndKeepsDeletedOnes) {
    const std::vector<TransactionRecord> t = fixtures::ReadTransactions("ACCT02");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].symbol, "OLDCO       ");
    EXPECT_EQ(t[0].security_record, 3);
    EXPECT_EQ(t[1].symbol, "XYZ         ");
    EXPECT_EQ(t[1].security_record, 5);
    EXPECT_EQ(t[2].security_record, 3);
    EXPECT_EQ(t[2].SourceSymbol(), "OLDCO       ");
    EXPECT_EQ(t[3].security_record, 5);
    EXPECT_EQ(t[3].SourceSymbol(), "XYZ         ");
    EXPECT_TRUE(fixtures::ReadHoldings("HLACCT02.REC").readable);
}

TEST_F(UpdateRun, FailedReplayKeepsTheStoredFiles) {
    EXPECT_EQ(Bytes("HLACCT03.REC"), acct03_holdings);
    EXPECT_EQ(Bytes("GLACCT03.REC"), acct03_gains);
    // The sale that was replayed before keeps its link into the kept gains.
    EXPECT_EQ(fixtures::ReadTransactions("ACCT03")[2].gain_record, 2);
    // The run goes on with the next account.
    const fixtures::Holdings h = fixtures::ReadHoldings("HLACCT04.REC");
    EXPECT_TRUE(h.readable);
    EXPECT_TRUE(h.lots.empty());
}

TEST_F(UpdateRun, DeletedEntriesArePassedOverAndABlankEntryEndsTheRun) {
    EXPECT_FALSE(TempDataDir::Exists("HL$$$$.REC"));
    EXPECT_FALSE(TempDataDir::Exists("HLACCT05.REC"));
    EXPECT_EQ(Bytes("TRACCT05.REC"), acct05_transactions);
}

TEST(Update, EmptyDataDirectoryGivesTheHeadingOnly) {
    TempDataDir dir;
    EXPECT_EQ(engine::Getacc(), 0);
    const std::vector<std::string> lines = ReportLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(32, ' ') + "Update Database");
    EXPECT_EQ(lines[1], std::string(32, ' ') + "---------------");
    EXPECT_EQ(lines[2], "");
}

// ---- Replays that fail

struct FailingReplay {
    const char* name;
    std::vector<TransactionRecord> before;  // the transactions the stored files were built from
    TransactionRecord added;                // filed afterwards, the replay stops on it
    const char* warning;
};

class UpdateFailedReplay : public ::testing::TestWithParam<FailingReplay> {};

TEST_P(UpdateFailedReplay, KeepsStoredFilesAndWarns) {
    TempDataDir dir;
    WriteSecurities();
    fixtures::WriteAccounts({{.id = "ACC9"}});
    const FailingReplay& c = GetParam();
    fixtures::WriteTransactions("ACC9", c.before);
    int16_t flag = -1;
    engine::Rbldhl("ACC9", flag);
    ASSERT_EQ(flag, 0);
    const std::vector<unsigned char> holdings = Bytes("HLACC9.REC");
    const std::vector<unsigned char> gains = Bytes("GLACC9.REC");
    std::vector<TransactionRecord> all = fixtures::ReadTransactions("ACC9");
    all.push_back(c.added);
    fixtures::WriteTransactions("ACC9", all);

    engine::Getacc();

    EXPECT_EQ(Bytes("HLACC9.REC"), holdings);
    EXPECT_EQ(Bytes("GLACC9.REC"), gains);
    EXPECT_EQ(Warnings(), std::vector<std::string>{c.warning});
    // The stopped replay's work files are not left behind.
    for (const char* work : {"HL.TMP", "GL.TMP"}) EXPECT_FALSE(TempDataDir::Exists(work)) << work;
}

INSTANTIATE_TEST_SUITE_P(
    Update, UpdateFailedReplay,
    ::testing::Values(
        FailingReplay{
            "SaleExceedsLot",
            {fixtures::Transaction("B", "IBM", "A", " 1/10/97", 10, 100, kIbmKey, 2)},
            fixtures::Transaction("S", "IBM", "A", " 2/10/97", 11, 120, kIbmKey, 2),
            " *** Warning: ACC9     holdings and gains not rebuilt: a closing transaction exceeds the "
            "quantity of its lot."},
        FailingReplay{
            "SaleFindsNoLot",
            {fixtures::Transaction("B", "IBM", "A", " 1/10/97", 10, 100, kIbmKey, 2),
             fixtures::Transaction("S", "IBM", "A", " 1/20/97", 4, 50, kIbmKey, 2)},
            fixtures::Transaction("S", "IBM", "B", " 2/10/97", 1, 12, kIbmKey, 2),
            " *** Warning: ACC9     holdings and gains not rebuilt: a closing transaction finds no lot "
            "with its lot code."}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Work files that lose writes

// The files of the data directory with their bytes, the update's report
// aside.
std::map<std::string, std::vector<unsigned char>> DataFiles() {
    std::map<std::string, std::vector<unsigned char>> files;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.is_regular_file() && entry.path().filename() != "OUTPUT.TMP")
            files[entry.path().filename().string()] = Bytes(entry.path().filename().string());
    return files;
}

// The last account's gains work file loses writes while its holdings and
// lot texts work files are written whole: the limit on a file's size lies
// between the few lots of HL.TMP and HL.EXT and the many gains of GL.TMP.
// The account is named as not rebuilt, with the cause its lost writes
// had, and keeps its files; the account before it is rebuilt. An update
// leaves no work file behind, whether its rebuilds went through or not.
TEST(Update, AnAccountWhoseGainsWorkFileLostWritesIsNotRebuiltAndSaysWhy) {
    constexpr rlim_t kLimit = 4096;
    TempDataDir dir;
    WriteSecurities();
    fixtures::SetOptions({{records::Opt::kLotTexts, 1}});
    fixtures::WriteAccounts({{.id = "FEW"}, {.id = "MANY"}});
    const TransactionRecord buy = fixtures::Transaction("B", "IBM", "A", " 1/10/97", 1000, 10000, kIbmKey, 2);
    fixtures::WriteTransactions("FEW", {buy});
    std::vector<TransactionRecord> sales = {buy};
    for (int n = 1; n <= 60; ++n)
        sales.push_back(fixtures::Transaction("S", "IBM", "A", " 2/10/97", 1, 12, kIbmKey, 2));
    fixtures::WriteTransactions("MANY", sales);
    // A first update makes the stored files and refreshes the
    // transactions, so that the second writes nothing but its work files
    // and its report.
    engine::UpdateOutcome outcome;
    engine::Getacc(outcome);
    ASSERT_EQ(outcome.rebuilt, 2);
    for (const char* work : {"HL.TMP", "GL.TMP", "HL.EXT"}) EXPECT_FALSE(TempDataDir::Exists(work)) << work;
    const std::map<std::string, std::vector<unsigned char>> before = DataFiles();
    ASSERT_LT(before.at("HLMANY.REC").size(), kLimit);
    ASSERT_LT(before.at("HLMANY.EXT").size(), kLimit);
    ASSERT_GT(before.at("GLMANY.REC").size(), kLimit);

    {
        const fixtures::FileSizeLimit limit(kLimit);
        ASSERT_TRUE(limit.ok());
        engine::Getacc(outcome);
    }

    EXPECT_EQ(outcome.rebuilt, 1);
    EXPECT_EQ(outcome.not_rebuilt, std::vector<std::string>{"MANY"});
    EXPECT_EQ(outcome.fault, records::FaultOfError(EFBIG));
    EXPECT_EQ(Warnings(),
              std::vector<std::string>{" *** Warning: MANY     holdings and gains not rebuilt: the "
                                       "rebuilt files could not be put in place."});
    // MANY keeps its files; FEW's rebuild gives the bytes it had.
    EXPECT_TRUE(DataFiles() == before);
    // The rebuild took GL.TMP's lost writes: the run's end has none to tell.
    EXPECT_TRUE(records::TakeFailedWrites().empty());
    for (const char* work : {"HL.TMP", "GL.TMP", "HL.EXT"}) EXPECT_FALSE(TempDataDir::Exists(work)) << work;
}

// ---- Rate restatement

constexpr double kNoFile = -1e9;

struct RateCase {
    const char* name;
    const char* code;
    double amount;
    double sec_fee;
    double bond_interest;
    const char* settlement;  // the extension's settlement date
    double trade_rate;       // in SE011097.CUR (kNoFile: no file)
    double settlement_rate;  // in SE011597.CUR (kNoFile: no file)
    bool restated;
    float price;        // expected when restated
    double new_amount;  // expected when restated
    const char* new_code;
};

class UpdateRate : public ::testing::TestWithParam<RateCase> {};

// A trade of 100 at 10 with a commission of 10, filed with the settlement
// date 01/13/97; the extension now says another date.
TEST_P(UpdateRate, RestatesPriceAndAmountAtTheSettlementRate) {
    TempDataDir dir;
    WriteSecurities();
    fixtures::WriteAccounts({{.id = "FX1"}});
    const RateCase& c = GetParam();
    TransactionRecord t = fixtures::Transaction(c.code, "IBM", "A", " 1/10/97", 100, c.amount, kIbmKey, 2);
    t.price = 10;
    t.commission = 10;
    t.bond_interest = c.bond_interest;
    t.SetTradeExtra(" 1/13/97", c.sec_fee);
    fixtures::WriteTransactions("FX1", {t});
    records::TransactionExtension ext;
    ext.settlement_date = records::Fixed(c.settlement, 8);
    fixtures::WriteTransactionExtensions("FX1", {{2, ext}});
    const auto write_rate = [](const char* name, double rate) {
        if (rate == kNoFile) return;
        records::DirectFile file(name, 8);
        Record rec(8, 0);
        rec.SetR8(0, rate);
        file.Write(2, rec);
    };
    write_rate("SE011097.CUR", c.trade_rate);
    write_rate("SE011597.CUR", c.settlement_rate);
    Record before;
    ASSERT_TRUE(records::DirectFile("TRFX1.REC", 128, false).Read(2, before));

    RunAcctrn("FX1");

    Record after;
    ASSERT_TRUE(records::DirectFile("TRFX1.REC", 128, false).Read(2, after));
    const TransactionRecord u = TransactionRecord::Decode(after);
    if (c.restated) {
        EXPECT_FLOAT_EQ(u.price, c.price);
        EXPECT_NEAR(u.amount, c.new_amount, 1e-9);
        EXPECT_EQ(u.SettlementDate(), " 1/15/97");
        EXPECT_EQ(u.code, c.new_code);
        EXPECT_EQ(u.SecFee(), c.sec_fee);
        EXPECT_EQ(u.date_number, t.date_number);
    } else {
        // Written back byte for byte.
        EXPECT_EQ(after.bytes(), before.bytes());
    }
    EXPECT_TRUE(ReportLines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Update, UpdateRate,
    ::testing::Values(
        // Price 10 x 1.50 / 1.25 = 12; the amount moves by 100 x 2.
        RateCase{"Buy", "B", 1010, 0, 0, "01/15/97", 1.25, 1.5, true, 12, 1210, "B   "},
        RateCase{"SaleWithFeeAndInterest", "S", 992.5, 0.5, 3, "1/15/97", 1.25, 1.5, true, 12, 1192.5,
                 "S   "},
        RateCase{"CodeRewritten", "SSxx", 1010, 0, 0, "01/15/97", 1.25, 1.5, true, 12, 1210, "SS  "},
        // A code the trade check does not know has no sign: only the price
        // and the fee and interest make the amount.
        RateCase{"UnknownCode", "XX", 1010, 0.5, 3, "01/15/97", 1.25, 1.5, true, 12, 1202.5, "XX  "},
        RateCase{"RateFalls", "B", 1010, 0, 0, "01/15/97", 2, 1, true, 5, 510, "B   "},
        RateCase{"SettlementRateZero", "B", 1010, 0, 0, "01/15/97", 1.25, 0, false, 0, 0, ""},
        RateCase{"SettlementRateNegative", "B", 1010, 0, 0, "01/15/97", 1.25, -1, false, 0, 0, ""},
        RateCase{"NoTradeDateRateFile", "B", 1010, 0, 0, "01/15/97", kNoFile, 1.5, false, 0, 0, ""},
        RateCase{"SameSettlementDate", "B", 1010, 0, 0, "01/13/97", 1.25, 1.5, false, 0, 0, ""},
        RateCase{"YearBelow70", "B", 1010, 0, 0, "01/15/69", 1.25, 1.5, false, 0, 0, ""},
        RateCase{"BlankSettlement", "B", 1010, 0, 0, "", 1.25, 1.5, false, 0, 0, ""},
        RateCase{"MalformedSettlement", "B", 1010, 0, 0, "01-15-97", 1.25, 1.5, false, 0, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Security check of one account

struct SecurityCase {
    const char* name;
    TransactionRecord transaction;
    const char* symbol;       // expected afterwards
    int16_t security_record;  // expected afterwards
    const char* cash_text;    // expected bytes 109-120 for a cash transaction
    double key;               // expected holding key
    const char* warning;      // "" for none
};

class UpdateSecurityCheck : public ::testing::TestWithParam<SecurityCase> {};

TEST_P(UpdateSecurityCheck, FollowsTheSecurityIndex) {
    TempDataDir dir;
    WriteSecurities();
    // A SECURITY.REC record past the end of the index.
    records::DirectFile("SECURITY.REC", 128)
        .Write(7, fixtures::SecurityRecord({.cusip = "STRAY", .type = "1"}));
    const SecurityCase& c = GetParam();
    fixtures::WriteTransactions("SC1", {c.transaction});

    RunAcctrn("SC1");

    const TransactionRecord u = fixtures::ReadTransactions("SC1").at(0);
    EXPECT_EQ(u.symbol, records::Fixed(c.symbol, 12));
    EXPECT_EQ(u.security_record, c.security_record);
    if (u.symbol.compare(0, 4, "CASH") == 0) {
        EXPECT_EQ(u.SourceSymbol(), records::Fixed(c.cash_text, 12));
    }
    EXPECT_EQ(u.holding_key, c.key);
    if (*c.warning == '\0')
        EXPECT_TRUE(ReportLines().empty());
    else
        EXPECT_EQ(ReportLines(), std::vector<std::string>{c.warning});
}

TransactionRecord Buy(const std::string& symbol, int16_t security) {
    return fixtures::Transaction("B", symbol, "", " 1/10/97", 10, 100, 12345, security);
}

INSTANTIATE_TEST_SUITE_P(
    Update, UpdateSecurityCheck,
    ::testing::Values(
        SecurityCase{"RenamedSecurity", Buy("IBMOLD", 2), "IBM", 2, "", kIbmKey, ""},
        SecurityCase{"ReenteredSecurity", Buy("XYZ", 4), "XYZ", 5, "", kXyzKey, ""},
        SecurityCase{"DeletedSecurity", Buy("OLDCO", 3), "OLDCO", 3, "", kOldcoKey,
                     " *** Warning: SC1      has a transaction for OLDCO       which has been deleted."},
        SecurityCase{"DeletedUnderAnotherSymbol", Buy("OLDER", 3), "OLDER", 3, "", kOldcoKey,
                     " *** Warning: SC1      has a transaction for OLDER       which has been deleted."},
        SecurityCase{"NoSecurityEntryKeepsItsKey", Buy("ABC", 0), "ABC", 0, "", 12345, ""},
        SecurityCase{"EntryPastTheIndex", Buy("ABC", 7), "ABC", 7, "", 2e14 + 838482658932.0, ""},
        SecurityCase{"CashFollowsTheIndex", Cash("DI", " 2/01/97", 5, 2, "IBMOLD"), "CASH", 2, "IBM", kIbmKey,
                     ""},
        SecurityCase{"CashReentered", Cash("DI", " 2/01/97", 5, 4, "XYZ"), "CASH", 5, "XYZ", kXyzKey, ""},
        SecurityCase{"CashDeleted", Cash("FI", " 2/01/97", 5, 3, "OLDCO"), "CASH", 3, "OLDCO", kOldcoKey,
                     " *** Warning: SC1      has a cash transaction for OLDCO       which may have been "
                     "deleted."},
        SecurityCase{"CashWithoutSecurity", Cash("FI", " 2/01/97", 5, 0, "DEPOSIT"), "CASH", 0, "DEPOSIT", 0,
                     ""},
        SecurityCase{"CashOfEntryOne", Cash("FI", " 2/01/97", 5, 1, "DEPOSIT"), "CASH", 1, "DEPOSIT",
                     37e14 + 676583723232.0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Update, SkipsDeletedTransactionsAndStopsAtAnUnreadableSecurity) {
    TempDataDir dir;
    WriteSecurities();
    TransactionRecord deleted;
    deleted.symbol = std::string(12, ' ');
    deleted.security_record = 2;
    fixtures::WriteTransactions("SK1", {deleted, Buy("IBM", 99), Buy("IBMOLD", 2)});
    const std::vector<unsigned char> before = Bytes("TRSK1.REC");

    RunAcctrn("SK1");

    // The blank record is left alone and the security record 99 cannot be
    // read, which ends the account's refresh before the renamed symbol.
    EXPECT_EQ(Bytes("TRSK1.REC"), before);
}

// The securities are read again for each account's refresh outside a run,
// so a security changed between two refreshes gives the second account the
// new key; within a run (nothing writes the securities) the second account
// gets what a fresh read gives.
TEST(Update, EachAccountSeesTheSecuritiesAsTheyStand) {
    TempDataDir dir;
    WriteSecurities();
    fixtures::WriteTransactions("SA1", {Buy("IBM", 2)});
    fixtures::WriteTransactions("SA2", {Buy("IBM", 2)});
    fixtures::WriteTransactions("SA3", {Buy("IBM", 2)});
    fixtures::WriteTransactions("SA4", {Buy("IBM", 2)});
    auto key_of = [](const std::string& account) {
        const std::vector<unsigned char> bytes = Bytes("TR" + account + ".REC");
        Record rec(128);
        std::copy(bytes.begin() + 128, bytes.begin() + 256, rec.bytes().begin());
        return TransactionRecord::Decode(rec).holding_key;
    };

    RunAcctrn("SA1");
    EXPECT_EQ(key_of("SA1"), kIbmKey);
    // IBM moves to category 11.
    Record ibm;
    ASSERT_TRUE(records::DirectFile("SECURITY.REC", 128).Read(2, ibm));
    ibm.SetText(80, 4, "11");
    records::DirectFile("SECURITY.REC", 128).Write(2, ibm);
    RunAcctrn("SA2");
    EXPECT_EQ(key_of("SA2"), kIbmKey + 1e12);

    {
        records::RunFileCache run;
        RunAcctrn("SA3");
        RunAcctrn("SA4");
    }
    EXPECT_EQ(key_of("SA3"), kIbmKey + 1e12);
    EXPECT_EQ(key_of("SA4"), kIbmKey + 1e12);
}

// ---- Gains refresh

// Record 2 holds stale descriptions and a stale symbol; record 3 the
// current descriptions under a stale symbol, which alone must be mended.
TEST(Update, GainRecordsTakeTheCurrentDescriptionsAndTheTransactionsSymbol) {
    TempDataDir dir;
    WriteSecurities();
    TransactionRecord sale = fixtures::Transaction("S", "IBMOLD", "A", " 1/10/97", 10, 100, kIbmKey, 2);
    sale.gain_record = 2;
    TransactionRecord header_link = sale;  // a damaged link to the header record
    header_link.gain_record = 1;
    TransactionRecord renamed = sale;
    renamed.gain_record = 3;
    fixtures::WriteTransactions("GN1", {sale, header_link, renamed});

    records::DirectFile gains("GLGN1.REC", 128);
    Record header(128, 0);
    records::GainsHeader{"GN1     ", "LABEL   ", 2}.Encode(header);
    gains.Write(1, header);
    struct Stored {
        const char* description1;
        const char* description2;
    } stored[] = {{"OLD NAME", "OLD LINE"}, {"INTL BUSINESS MACHINES", "COMMON STOCK"}};
    records::GainRecord gain;
    gain.sale_date = 970110;
    gain.gain = 12.5;
    gain.symbol = records::Fixed("IBMOLD", 12);
    gain.security_record = 2;
    std::vector<Record> before;
    for (const Stored& g : stored) {
        gain.description1 = records::Fixed(g.description1, 32);
        gain.description2 = records::Fixed(g.description2, 32);
        Record rec(128, 0xAB);  // bytes past the gain record stay as they are
        gain.Encode(rec);
        gains.Write(static_cast<long>(2 + before.size()), rec);
        before.push_back(rec);
    }

    RunAcctrn("GN1");

    records::GainRecord expected = gain;
    expected.description1 = records::Fixed("INTL BUSINESS MACHINES", 32);
    expected.description2 = records::Fixed("COMMON STOCK", 32);
    expected.symbol = records::Fixed("IBM", 12);
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(stored[i].description1);
        Record after;
        ASSERT_TRUE(gains.Read(static_cast<long>(2 + i), after));
        Record expected_rec = before[i];
        expected.Encode(expected_rec);
        EXPECT_EQ(after.bytes(), expected_rec.bytes());
    }
    Record header_after;
    ASSERT_TRUE(gains.Read(1, header_after));
    EXPECT_EQ(header_after.bytes(), header.bytes());
}

// Two transactions linked to one gain record: the second finds what the
// first wrote, so a gain the first changed is changed back by the second,
// whose symbol it keeps. A link past the end of the gains file, or to a gain
// whose security record is 0, leaves the file as it is, and the file is not
// extended.
TEST(Update, GainRecordsFollowEachLinkInTurn) {
    TempDataDir dir;
    WriteSecurities();
    TransactionRecord first = fixtures::Transaction("S", "XYZ", "A", " 1/10/97", 10, 100, kXyzKey, 5);
    first.gain_record = 2;
    TransactionRecord second = fixtures::Transaction("S", "IBM", "A", " 1/10/97", 10, 100, kIbmKey, 2);
    second.gain_record = 2;
    TransactionRecord past_end = second;
    past_end.gain_record = 4;
    TransactionRecord no_security = second;
    no_security.gain_record = 3;
    fixtures::WriteTransactions("GL2", {first, second, past_end, no_security});

    Record header(128, 0);
    records::GainsHeader{"GL2     ", "LABEL   ", 2}.Encode(header);
    // The gain holds what the second transaction gives it already.
    records::GainRecord gain;
    gain.description1 = records::Fixed("INTL BUSINESS MACHINES", 32);
    gain.description2 = records::Fixed("COMMON STOCK", 32);
    gain.symbol = records::Fixed("IBM", 12);
    gain.security_record = 2;
    Record linked(128, 0xCD);
    gain.Encode(linked);
    gain.security_record = 0;
    Record unlinked(128, 0xEF);
    gain.Encode(unlinked);
    {
        records::DirectFile gains("GLGL2.REC", 128);
        gains.Write(1, header);
        gains.Write(2, linked);
        gains.Write(3, unlinked);
    }

    RunAcctrn("GL2");

    const std::vector<unsigned char> after = Bytes("GLGL2.REC");
    ASSERT_EQ(after.size(), 3u * 128);
    EXPECT_EQ(std::vector<unsigned char>(after.begin() + 128, after.begin() + 256), linked.bytes());
    EXPECT_EQ(std::vector<unsigned char>(after.begin() + 256, after.end()), unlinked.bytes());
}

// ---- Holding keys

struct KeyCase {
    const char* name;
    const char* symbol;
    const char* type;
    const char* category;
    const char* date;
    double key;
};

class UpdateTrnkey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(UpdateTrnkey, BuildsTheKeyFromTheCurrentSecurity) {
    const KeyCase& c = GetParam();
    Record rec(128, ' ');
    rec.SetText(0, 12, c.symbol);
    rec.SetText(76, 4, c.type);
    rec.SetText(80, 4, c.category);
    rec.SetText(88, 8, c.date);
    engine::CurrentSecurityBlock() = engine::CurrentSecurity::FromRecord(rec, 1);
    double key = 0;
    engine::Trnkey(key);
    EXPECT_EQ(key, c.key);
}

INSTANTIATE_TEST_SUITE_P(
    Update, UpdateTrnkey,
    ::testing::Values(KeyCase{"SymbolWithoutDate", "IBM", "1", "10", "", kIbmKey},
                      KeyCase{"DateIn2000s", "T6", "5", "20", "11/15/05", kBondKey},
                      KeyCase{"DateIn1900s", "T6", "A", "03", " 3/ 5/97", 11e14 + 3e12 + 19970305.0},
                      KeyCase{"Year2000", "T6", "A", "  ", "01/01/00", 11e14 + 20000101.0},
                      KeyCase{"TypeSevenRanksEight", "AB", "7", "", "", 8e14 + 656632323232.0},
                      KeyCase{"BlankTypeRanks37", "AB", " ", "", "", 37e14 + 656632323232.0},
                      KeyCase{"LowerCaseTypeRanks37", "AB", "a", "", "", 37e14 + 656632323232.0},
                      KeyCase{"CategoryNotANumber", "AB", "Z", "XY", "", 36e14 + 656632323232.0},
                      KeyCase{"OnlySixCharacters", "ABCDEFGH", "0", "99", "", 1e14 + 99e12 + 656667686970.0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Settlement date check

struct DateCase {
    const char* name;
    const char* date;
    float high;
    int16_t error;
    const char* rewritten;  // the text afterwards
    float number;           // afterwards (starts at -1)
};

class UpdateCkdat2 : public ::testing::TestWithParam<DateCase> {};

TEST_P(UpdateCkdat2, ChecksAndRewritesTheDate) {
    const DateCase& c = GetParam();
    std::string date = records::Fixed(c.date, 8);
    int16_t error = -1;
    float number = -1;
    engine::Ckdat2(date, error, number, engine::kSettlementLow, c.high);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(date, c.rewritten);
    EXPECT_EQ(number, c.number);
}

constexpr float kHigh = engine::kSettlementHigh;

INSTANTIATE_TEST_SUITE_P(
    Update, UpdateCkdat2,
    ::testing::Values(DateCase{"Valid", "12/31/99", kHigh, 0, "12/31/99", 991231},
                      DateCase{"LeadingBlanks", " 3/ 5/97", kHigh, 0, " 3/ 5/97", 970305},
                      DateCase{"ShortForm", "3/5/97", kHigh, 0, " 3/ 5/97", 970305},
                      DateCase{"ZeroFilled", "03/05/97", kHigh, 0, " 3/ 5/97", 970305},
                      DateCase{"EmbeddedBlank", "1 2/1/97", kHigh, 0, "12/ 1/97", 971201},
                      DateCase{"February29", "02/29/97", kHigh, 0, " 2/29/97", 970229},
                      DateCase{"FirstOfWindow", "01/01/70", kHigh, 0, " 1/ 1/70", 700101},
                      DateCase{"YearBelow70", "01/15/69", kHigh, 1, " 1/15/69", 690115},
                      DateCase{"YearOfThe2000s", "01/15/05", kHigh, 0, " 1/15/05", 1050115},
                      DateCase{"YearBelow10", "12/31/5", kHigh, 0, "12/31/05", 1051231},
                      DateCase{"LastOfWindow", "12/31/50", kHigh, 0, "12/31/50", 1501231},
                      DateCase{"AboveHigh", "12/31/99", 991230, 2, "12/31/99", 991231},
                      DateCase{"LeftOfMonthNotRead", "1/2/3/45", kHigh, 0, " 2/ 3/45", 1450203},
                      DateCase{"February30", "02/30/97", kHigh, 3, "02/30/97", -1},
                      DateCase{"Month13", "13/01/97", kHigh, 3, "13/01/97", -1},
                      DateCase{"Month0", "00/10/97", kHigh, 3, "00/10/97", -1},
                      DateCase{"Day0", "10/00/97", kHigh, 3, "10/00/97", -1},
                      DateCase{"Blank", "", kHigh, 4, "        ", -1},
                      DateCase{"Letter", "12/1A/97", kHigh, 4, "12/1A/97", -1},
                      DateCase{"ThreeDigits", "123/1/97", kHigh, 4, "123/1/97", -1},
                      DateCase{"EmptyDay", "12//97", kHigh, 4, "12//97  ", -1},
                      DateCase{"NoMonth", "   05/97", kHigh, 4, "   05/97", -1},
                      DateCase{"Dashes", "01-15-97", kHigh, 4, "01-15-97", -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
